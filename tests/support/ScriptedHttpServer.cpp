#include "support/ScriptedHttpServer.h"

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "support/WaitFor.h"

namespace tl::test {

ScriptedHttpServer::ScriptedHttpServer() : server_(std::make_unique<httplib::Server>()) {
    auto answer = [this](const httplib::Request& req, httplib::Response& res) {
        Request seen{req.method + " " + req.target, req.target,
                     req.get_header_value("Authorization"), req.remote_addr, req.body};
        const std::string path = req.target.substr(0, req.target.find('?'));
        std::optional<Route> route;
        std::optional<std::string> fallback;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(seen);
            if (auto it = routes_.find(path); it != routes_.end()) route = it->second;
            fallback = fallback_;
        }
        if (route) {
            res.set_content(route->handler(seen), route->contentType.c_str());
            res.status = route->status;
            if (!route->location.empty()) res.set_header("Location", route->location);
        } else if (fallback) {
            res.set_content(*fallback, "text/plain");
        } else {
            res.status = 404;
        }
    };
    // Any path, doubled slashes included.
    server_->Get(R"(.*)", answer);
    server_->Post(R"(.*)", answer);
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    waitFor([this] { return server_->is_running(); }, std::chrono::seconds(10),
            std::chrono::milliseconds(1));
}

ScriptedHttpServer::~ScriptedHttpServer() {
    server_->stop();
    thread_.join();
}

void ScriptedHttpServer::reply(const std::string& path, std::string body, std::string contentType,
                               int status) {
    std::lock_guard lock(mutex_);
    routes_[path] = Route{[body = std::move(body)](const Request&) { return body; },
                          std::move(contentType),
                          status,
                          {}};
}

void ScriptedHttpServer::redirect(const std::string& path, const std::string& location) {
    std::lock_guard lock(mutex_);
    routes_[path] =
        Route{[](const Request&) { return std::string(); }, "text/plain", 302, location};
}

void ScriptedHttpServer::handle(const std::string& path, Handler handler) {
    std::lock_guard lock(mutex_);
    routes_[path] = Route{std::move(handler), "text/plain", 200, {}};
}

void ScriptedHttpServer::replyOtherwise(std::string body) {
    std::lock_guard lock(mutex_);
    fallback_ = std::move(body);
}

std::string ScriptedHttpServer::host() const {
    return "127.0.0.1:" + std::to_string(port_);
}

std::vector<ScriptedHttpServer::Request> ScriptedHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<std::string> ScriptedHttpServer::targets() const {
    std::vector<std::string> out;
    for (const Request& r : requests()) out.push_back(r.target);
    return out;
}

bool ScriptedHttpServer::waitForRequests(std::size_t count, int timeoutMs) const {
    return waitFor([&] { return requests().size() >= count; },
                   std::chrono::milliseconds(timeoutMs));
}

int deadPort() {
    // Bind a port, then close it: nothing listens there afterwards.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

std::string deadHost() {
    return "127.0.0.1:" + std::to_string(deadPort());
}

}  // namespace tl::test
