#include "core/platform/ConnectWithTimeout.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

namespace tl {
namespace {

using std::chrono::milliseconds;

using AddressList = std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)>;

AddressList lookUp(const std::string& host, int port, int family, int flags) {
    addrinfo hints{};
    hints.ai_family = family;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = flags | AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) found = nullptr;
    return AddressList(found, ::freeaddrinfo);
}

// Waits for a connection under way; true once it is established.
bool established(int fd, milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        // Rounded up, so the wait never ends just before its deadline.
        const auto left =
            std::chrono::ceil<milliseconds>(deadline - std::chrono::steady_clock::now()).count();
        if (left <= 0) return false;
        pollfd entry{fd, POLLOUT, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(std::min<long long>(left, 1 << 30)));
        if (ready > 0) break;
        if (ready == 0 || errno != EINTR) return false;
    }
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

int connectedSocket(const addrinfo& remote, const addrinfo* local, milliseconds timeout) {
    const int fd =
        ::socket(remote.ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, remote.ai_protocol);
    if (fd < 0) return -1;
    const bool bound = !local || ::bind(fd, local->ai_addr, local->ai_addrlen) == 0;
    const bool connected = bound && (::connect(fd, remote.ai_addr, remote.ai_addrlen) == 0 ||
                                     (errno == EINPROGRESS && established(fd, timeout)));
    const int flags = connected ? ::fcntl(fd, F_GETFL) : -1;
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

int connectWithTimeout(const std::string& host, int port, milliseconds timeout,
                       const std::string& localAddress, HostForm form) {
    if (host.empty()) return -1;
    const bool numeric = form == HostForm::NumericAddress;
    AddressList local(nullptr, ::freeaddrinfo);
    if (!localAddress.empty()) {
        local = lookUp(localAddress, 0, numeric ? AF_UNSPEC : AF_INET, AI_NUMERICHOST | AI_PASSIVE);
        if (!local) return -1;
    }
    const int family = local ? local->ai_family : numeric ? AF_UNSPEC : AF_INET;
    // A numeric address is taken as it is; only a name is looked up.
    AddressList remote = lookUp(host, port, family, AI_NUMERICHOST);
    if (!remote && !numeric) remote = lookUp(host, port, family, 0);
    if (!remote) return -1;
    return connectedSocket(*remote, local.get(), timeout);
}

}  // namespace tl
