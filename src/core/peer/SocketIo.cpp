#include "core/peer/SocketIo.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "core/platform/ConnectWithTimeout.h"

namespace tl {
namespace {

using std::chrono::milliseconds;

int pollMilliseconds(milliseconds wait) {
    return static_cast<int>(std::clamp<milliseconds::rep>(wait.count(), 0, 1 << 30));
}

milliseconds timeLeft(SteadyTime deadline) {
    // Rounded up, so a wait never ends just before its deadline.
    return std::chrono::ceil<milliseconds>(deadline - std::chrono::steady_clock::now());
}

sockaddr_in socketAddress(in_addr address, int port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_addr = address;
    socketAddress.sin_port = htons(static_cast<std::uint16_t>(port));
    return socketAddress;
}

bool bindTo(int fd, in_addr address, int port) {
    const sockaddr_in local = socketAddress(address, port);
    return ::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
}

// How often a receive that waits looks at its stop flag.
constexpr milliseconds kStopCheck{200};

}  // namespace

Socket::~Socket() {
    close();
}

Socket::Socket(Socket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void Socket::close() {
    if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

Socket listenOn(const std::string& address, int port, int backlog) {
    in_addr local{};
    local.s_addr = htonl(INADDR_ANY);
    if (!address.empty() && ::inet_pton(AF_INET, address.c_str(), &local) != 1) return Socket();
    Socket listening(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!listening.valid()) return Socket();
    // A restarted program gets its port back while old connections linger; a port that another
    // socket listens on is still refused.
    const int reuse = 1;
    ::setsockopt(listening.fd(), SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    if (!bindTo(listening.fd(), local, port) || ::listen(listening.fd(), backlog) != 0)
        return Socket();
    return listening;
}

int localPort(const Socket& socket) {
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    if (::getsockname(socket.fd(), reinterpret_cast<sockaddr*>(&bound), &length) != 0) return 0;
    return ntohs(bound.sin_port);
}

Socket acceptConnection(const Socket& listening) {
    return Socket(::accept4(listening.fd(), nullptr, nullptr, SOCK_CLOEXEC));
}

std::uint32_t peerAddress(const Socket& connection) {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    if (::getpeername(connection.fd(), reinterpret_cast<sockaddr*>(&peer), &length) != 0) return 0;
    return peer.sin_addr.s_addr;
}

bool setBlocking(int fd, bool blocking) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0) return false;
    return ::fcntl(fd, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK)) == 0;
}

void resetOnClose(const Socket& connection) {
    const linger reset{1, 0};
    ::setsockopt(connection.fd(), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
}

Socket connectTo(const std::string& address, int port, milliseconds timeout,
                 const std::string& localAddress) {
    return Socket(connectWithTimeout(address, port, timeout, localAddress));
}

bool waitReady(int fd, short events, milliseconds wait) {
    const SteadyTime until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        pollfd entry{fd, events, 0};
        const auto left =
            std::chrono::duration_cast<milliseconds>(until - std::chrono::steady_clock::now());
        const int ready = ::poll(&entry, 1, pollMilliseconds(left));
        if (ready > 0) return true;
        if (ready == 0 || errno != EINTR) return false;
    }
}

void limitSendBuffer(int fd, int bytes) {
    ::setsockopt(fd, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes);
}

std::optional<std::size_t> unacknowledgedBytes(int fd) {
    int queued = 0;
    if (::ioctl(fd, SIOCOUTQ, &queued) != 0 || queued < 0) return std::nullopt;
    return static_cast<std::size_t>(queued);
}

TakeMeter::TakeMeter(TakeRate rate)
    : rate_(rate), stretchEnd_(std::chrono::steady_clock::now() + rate.within) {}

void TakeMeter::takenInAll(std::uint64_t bytes) {
    if (bytes < stretchStart_ + rate_.bytes) return;
    stretchStart_ = bytes;
    stretchEnd_ = std::chrono::steady_clock::now() + rate_.within;
}

bool sendAll(int fd, std::string_view bytes, milliseconds idle) {
    SteadyTime idleEnd = std::chrono::steady_clock::now() + idle;
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            idleEnd = std::chrono::steady_clock::now() + idle;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            const milliseconds left = timeLeft(idleEnd);
            if (left <= milliseconds(0) || !waitReady(fd, POLLOUT, left)) return false;
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

long receiveSome(int fd, char* buffer, std::size_t size, SteadyTime deadline) {
    for (;;) {
        const ssize_t got = ::recv(fd, buffer, size, MSG_DONTWAIT);
        if (got >= 0) return static_cast<long>(got);
        if (errno == EINTR) continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK) return -1;
        const milliseconds left = timeLeft(deadline);
        if (left <= milliseconds(0) || !waitReady(fd, POLLIN, left)) return -1;
    }
}

std::optional<std::string> receiveExactly(int fd, std::size_t size, SteadyTime deadline) {
    std::string bytes(size, '\0');
    std::size_t filled = 0;
    while (filled < size) {
        const long got = receiveSome(fd, bytes.data() + filled, size - filled, deadline);
        if (got <= 0) return std::nullopt;
        filled += static_cast<std::size_t>(got);
    }
    return bytes;
}

milliseconds SocketChannel::waitLimit() const {
    if (!deadline_) return idle_;
    return std::clamp(timeLeft(*deadline_), milliseconds(0), idle_);
}

bool SocketChannel::sendAll(std::string_view bytes) {
    return tl::sendAll(fd_, bytes, waitLimit());
}

long SocketChannel::receiveSome(char* buffer, std::size_t size) {
    const milliseconds limit = waitLimit();
    if (limit <= milliseconds(0)) return -1;  // past the deadline, whatever has arrived
    const SteadyTime until = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (stop_ && *stop_) return -1;
        // What has arrived is taken at once; a wait comes only when nothing has.
        const ssize_t got = ::recv(fd_, buffer, size, MSG_DONTWAIT);
        if (got >= 0) return static_cast<long>(got);
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
        const milliseconds left = timeLeft(until);
        if (left <= milliseconds(0)) return -1;
        waitReady(fd_, POLLIN, std::min(left, kStopCheck));
    }
}

}  // namespace tl
