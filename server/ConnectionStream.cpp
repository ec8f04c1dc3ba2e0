#include "ConnectionStream.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tl::market {
namespace {

constexpr std::size_t kReadChunk = 16 * 1024;

}  // namespace

ConnectionStream::ConnectionStream(ClientConnection& connection,
                                   FrontClock::time_point readDeadline,
                                   std::chrono::milliseconds writeTimeout, std::size_t maxReadBytes)
    : connection_(connection),
      readDeadline_(readDeadline),
      writeTimeout_(writeTimeout),
      readBytesLeft_(maxReadBytes) {}

ConnectionStream::~ConnectionStream() {
    connection_.buffer.erase(0, position_);
}

bool ConnectionStream::await(short events, FrontClock::time_point deadline) const {
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - FrontClock::now()).count();
        if (left <= 0) return false;
        pollfd p{connection_.fd, events, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, 60'000)));
        if (ready > 0) return true;  // errors and hang-ups show in the read or write itself
        if (ready < 0 && errno != EINTR) return false;
    }
}

ssize_t ConnectionStream::fill() {
    std::string& buffer = connection_.buffer;
    buffer.clear();
    position_ = 0;
    const std::size_t want = std::min(kReadChunk, readBytesLeft_);
    if (want == 0) return -1;
    while (await(POLLIN, readDeadline_)) {
        buffer.resize(want);
        const ssize_t n = ::recv(connection_.fd, buffer.data(), want, 0);
        buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        if (n > 0) readBytesLeft_ -= static_cast<std::size_t>(n);
        if (n >= 0) return n;
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
    }
    return -1;
}

void ConnectionStream::endAndDrain() {
    ::shutdown(connection_.fd, SHUT_WR);
    char sink[kReadChunk];
    while (read(sink, sizeof sink) > 0) {
    }
}

bool ConnectionStream::is_readable() const {
    return position_ < connection_.buffer.size() || await(POLLIN, readDeadline_);
}

bool ConnectionStream::is_writable() const {
    return await(POLLOUT, writing_ ? writeDeadline_ : FrontClock::now() + writeTimeout_);
}

ssize_t ConnectionStream::read(char* ptr, std::size_t size) {
    if (position_ == connection_.buffer.size()) {
        const ssize_t filled = fill();
        if (filled <= 0) return filled;  // 0: the requester closed its side
    }
    const std::size_t n = std::min(size, connection_.buffer.size() - position_);
    std::memcpy(ptr, connection_.buffer.data() + position_, n);
    position_ += n;
    return static_cast<ssize_t>(n);
}

ssize_t ConnectionStream::write(const char* ptr, std::size_t size) {
    if (!writing_) {
        writing_ = true;
        writeDeadline_ = FrontClock::now() + writeTimeout_;
    }
    while (await(POLLOUT, writeDeadline_)) {
        const ssize_t n = ::send(connection_.fd, ptr, size, MSG_NOSIGNAL);
        if (n >= 0) return n;
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
    }
    return -1;
}

void ConnectionStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    ip = connection_.peerAddress;
    port = connection_.peerPort;
}

void ConnectionStream::get_local_ip_and_port(std::string& ip, int& port) const {
    ip = connection_.localAddress;
    port = connection_.localPort;
}

socket_t ConnectionStream::socket() const {
    return connection_.fd;
}

}  // namespace tl::market
