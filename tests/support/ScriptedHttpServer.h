#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
}

namespace tl::test {

// An in-process HTTP server on an ephemeral loopback port that records every request line as
// it arrived (method and raw target) with its Authorization header, and answers canned replies.
// GET and POST requests are both routed by path; a POST's body is recorded with it.
class ScriptedHttpServer {
public:
    struct Request {
        std::string line;           // "GET /path?query"
        std::string target;         // "/path?query", as sent
        std::string authorization;  // the raw header, empty when absent
        std::string remoteAddress;
        std::string body;  // empty for GET
    };
    // Answers a raw target: returns the body (status 200, text/plain).
    using Handler = std::function<std::string(const Request&)>;

    ScriptedHttpServer();
    ~ScriptedHttpServer();

    // The reply for requests whose path (the target up to '?') is path.
    void reply(const std::string& path, std::string body, std::string contentType = "text/plain",
               int status = 200);
    // Answers requests for path with a redirect (status 302) to location.
    void redirect(const std::string& path, const std::string& location);
    void handle(const std::string& path, Handler handler);
    // The reply for every other path (404 with an empty body when none is set).
    void replyOtherwise(std::string body);

    int port() const { return port_; }
    std::string host() const;  // "127.0.0.1:<port>"
    std::vector<Request> requests() const;
    std::vector<std::string> targets() const;
    // Waits up to timeoutMs for at least count requests; true when they came.
    bool waitForRequests(std::size_t count, int timeoutMs) const;

private:
    struct Route {
        Handler handler;
        std::string contentType;
        int status = 200;
        std::string location;  // sent as the Location header when not empty
    };
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::string, Route> routes_;
    std::optional<std::string> fallback_;
    std::vector<Request> requests_;
};

// A loopback address (and a port on 127.0.0.1) with nothing listening: requests to it fail at
// once.
std::string deadHost();
int deadPort();

}  // namespace tl::test
