#pragma once

#include <chrono>
#include <string>

#include "core/platform/NonCopyable.h"

namespace tl::test {

// A raw TCP connection to a loopback port from a chosen loopback source address (any of
// 127.0.0.0/8 works without setup), for requests the client's own code would never send.
class LoopbackSocket : NonCopyable {
public:
    // Connects to 127.0.0.1:port from the address; connected() tells whether it worked.
    LoopbackSocket(const std::string& from, int port);
    ~LoopbackSocket();

    bool connected() const { return fd_ >= 0; }
    bool send(const std::string& bytes);
    // Everything received until the peer closes or the wait ends.
    std::string receiveUntilClosed(std::chrono::milliseconds wait);
    // What arrives until the bytes received end with the marker, or the wait ends.
    std::string receiveUntil(const std::string& marker, std::chrono::milliseconds wait);
    // True once the peer has closed (end of stream or reset).
    bool peerClosed(std::chrono::milliseconds wait);

private:
    int fd_ = -1;
    bool closed_ = false;
};

// One whole request of the path (a POST carries its values in the query, no body); the reply's
// status line and body, "" when none came.
struct RawReply {
    std::string statusLine, body;
};
RawReply rawRequest(const std::string& from, int port, const std::string& method,
                    const std::string& path, const std::string& extraHeaders = "");
// A POST of the path with the body (Content-Length its size unless extraHeaders carry one).
RawReply rawPost(const std::string& from, int port, const std::string& path,
                 const std::string& body, const std::string& extraHeaders = "");
RawReply rawGet(const std::string& from, int port, const std::string& path,
                const std::string& extraHeaders = "");

}  // namespace tl::test
