#include "LoopbackSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace tl::test {

LoopbackSocket::LoopbackSocket(const std::string& from, int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    sockaddr_in source{};
    source.sin_family = AF_INET;
    inet_pton(AF_INET, from.c_str(), &source.sin_addr);
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &target.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&source), sizeof source) != 0 ||
        ::connect(fd, reinterpret_cast<sockaddr*>(&target), sizeof target) != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
}

LoopbackSocket::~LoopbackSocket() {
    if (fd_ >= 0) ::close(fd_);
}

bool LoopbackSocket::send(const std::string& bytes) {
    std::size_t sent = 0;
    while (fd_ >= 0 && sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return fd_ >= 0;
}

std::string LoopbackSocket::receiveUntil(const std::string& marker,
                                         std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    std::string received;
    while (fd_ >= 0 && !closed_) {
        if (!marker.empty() && received.size() >= marker.size() &&
            received.compare(received.size() - marker.size(), marker.size(), marker) == 0)
            break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) break;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char chunk[4096];
        const ssize_t n = ::recv(fd_, chunk, marker.empty() ? sizeof chunk : 1, 0);
        if (n <= 0) {
            closed_ = true;
            break;
        }
        received.append(chunk, static_cast<std::size_t>(n));
    }
    return received;
}

std::string LoopbackSocket::receiveUntilClosed(std::chrono::milliseconds wait) {
    return receiveUntil("", wait);
}

bool LoopbackSocket::peerClosed(std::chrono::milliseconds wait) {
    receiveUntilClosed(wait);
    return closed_;
}

namespace {

RawReply exchange(const std::string& from, int port, const std::string& head,
                  const std::string& body) {
    LoopbackSocket socket(from, port);
    if (!socket.send(head + "Connection: close\r\n\r\n" + body)) return {};
    const std::string reply = socket.receiveUntilClosed(std::chrono::seconds(10));
    const auto lineEnd = reply.find("\r\n");
    const auto headEnd = reply.find("\r\n\r\n");
    if (lineEnd == std::string::npos || headEnd == std::string::npos) return {};
    return {reply.substr(0, lineEnd), reply.substr(headEnd + 4)};
}

std::string requestHead(const std::string& method, const std::string& path,
                        const std::string& extraHeaders) {
    return method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extraHeaders;
}

}  // namespace

RawReply rawRequest(const std::string& from, int port, const std::string& method,
                    const std::string& path, const std::string& extraHeaders) {
    const std::string length = method == "POST" ? "Content-Length: 0\r\n" : "";
    return exchange(from, port, requestHead(method, path, extraHeaders) + length, "");
}

RawReply rawPost(const std::string& from, int port, const std::string& path,
                 const std::string& body, const std::string& extraHeaders) {
    const bool ownLength = extraHeaders.find("Content-Length:") != std::string::npos;
    const std::string length =
        ownLength ? "" : "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return exchange(from, port, requestHead("POST", path, extraHeaders) + length, body);
}

RawReply rawGet(const std::string& from, int port, const std::string& path,
                const std::string& extraHeaders) {
    return rawRequest(from, port, "GET", path, extraHeaders);
}

}  // namespace tl::test
