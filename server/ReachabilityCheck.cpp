#include "ReachabilityCheck.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace tl::market {
namespace {

// True when a TCP connection to the numeric address and port is accepted within the timeout.
bool connects(const std::string& address, int port, std::chrono::milliseconds timeout) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    if (getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
        return false;
    const std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> owned(found, freeaddrinfo);
    const int fd =
        ::socket(found->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, found->ai_protocol);
    if (fd < 0) return false;
    bool connected = ::connect(fd, found->ai_addr, found->ai_addrlen) == 0;
    if (!connected && errno == EINPROGRESS) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        pollfd p{fd, POLLOUT, 0};
        int ready = 0;
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0) break;
            ready = ::poll(&p, 1, static_cast<int>(left));
            if (ready >= 0 || errno != EINTR) break;
        }
        int error = 0;
        socklen_t length = sizeof error;
        connected =
            ready > 0 && ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
    }
    ::close(fd);
    return connected;
}

}  // namespace

ReachabilityCheck::ReachabilityCheck(int port, std::chrono::milliseconds timeout,
                                     std::size_t atOnce)
    : port_(port), timeout_(timeout), atOnce_(atOnce) {}

ReachabilityCheck::Answer ReachabilityCheck::check(const std::string& address) {
    {
        std::lock_guard lock(mutex_);
        if (dialling_.size() >= atOnce_ || !dialling_.insert(address).second) return Answer::Busy;
    }
    struct Done {
        ReachabilityCheck& check;
        const std::string& address;
        ~Done() {
            std::lock_guard lock(check.mutex_);
            check.dialling_.erase(address);
        }
    } done{*this, address};
    return connects(address, port_, timeout_) ? Answer::Reachable : Answer::Unreachable;
}

}  // namespace tl::market
