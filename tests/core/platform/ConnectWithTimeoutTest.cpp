#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include "core/platform/ConnectWithTimeout.h"

namespace tl {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A socket listening on an ephemeral port of a loopback address; closed with the object.
struct Listener {
    explicit Listener(int family, int backlog = 4) {
        fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_storage address{};
        socklen_t length = 0;
        if (family == AF_INET) {
            auto& v4 = reinterpret_cast<sockaddr_in&>(address);
            v4.sin_family = AF_INET;
            v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            length = sizeof v4;
        } else {
            auto& v6 = reinterpret_cast<sockaddr_in6&>(address);
            v6.sin6_family = AF_INET6;
            v6.sin6_addr = in6addr_loopback;
            length = sizeof v6;
        }
        if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(fd, backlog) != 0 ||
            ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port = ntohs(family == AF_INET ? reinterpret_cast<sockaddr_in&>(address).sin_port
                                       : reinterpret_cast<sockaddr_in6&>(address).sin6_port);
    }
    ~Listener() { ::close(fd); }
    int fd = -1;
    int port = 0;
};

TEST(ConnectWithTimeout, ConnectsByTheHostsFormAndGivesUpInTime) {
    const Listener v4(AF_INET);
    const Listener v6(AF_INET6);
    ASSERT_NE(v4.port, 0);
    const int closedPort = [] {
        const Listener gone(AF_INET);
        return gone.port;
    }();
    const struct {
        const char* what;
        std::string host;
        int port;
        std::string local;
        HostForm form;
        bool connects;
    } cases[] = {
        {"dotted address", "127.0.0.1", v4.port, "", HostForm::Ipv4OrName, true},
        {"a name", "localhost", v4.port, "", HostForm::Ipv4OrName, true},
        {"from a local address", "127.0.0.1", v4.port, "127.0.0.1", HostForm::Ipv4OrName, true},
        {"numeric IPv6", "::1", v6.port, "", HostForm::NumericAddress, v6.port != 0},
        {"numeric IPv4", "127.0.0.1", v4.port, "", HostForm::NumericAddress, true},
        // An address a peer gave is never looked up, even when it would resolve.
        {"a name where a number is due", "localhost", v4.port, "", HostForm::NumericAddress, false},
        {"an IPv6 address where IPv4 is due", "::1", v6.port, "", HostForm::Ipv4OrName, false},
        {"nobody listening", "127.0.0.1", closedPort, "", HostForm::Ipv4OrName, false},
        {"a local address not ours", "127.0.0.1", v4.port, "192.0.2.7", HostForm::Ipv4OrName,
         false},
        {"a local address of no form", "127.0.0.1", v4.port, "here", HostForm::Ipv4OrName, false},
        {"no host", "", v4.port, "", HostForm::Ipv4OrName, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const int fd = connectWithTimeout(c.host, c.port, 2s, c.local, c.form);
        EXPECT_EQ(fd >= 0, c.connects);
        if (fd < 0) continue;
        EXPECT_EQ(::fcntl(fd, F_GETFL) & O_NONBLOCK, 0) << "left non-blocking";
        EXPECT_NE(::fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
        ::close(fd);
    }
    // A listener whose queue is full drops the handshake: the attempt costs the time-out.
    const Listener full(AF_INET, 0);
    const int queued = connectWithTimeout("127.0.0.1", full.port, 1s);  // fills the queue
    const Clock::time_point start = Clock::now();
    const int fd = connectWithTimeout("127.0.0.1", full.port, 300ms);
    const auto waited = Clock::now() - start;
    EXPECT_LT(fd, 0);
    EXPECT_GE(waited, 290ms);
    EXPECT_LT(waited, 2s);
    for (const int open : {fd, queued})
        if (open >= 0) ::close(open);
}

}  // namespace
}  // namespace tl
