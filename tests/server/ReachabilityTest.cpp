// The reachability page dials back to the requester's own address on the listing-server port:
// "1" when the connection is accepted, "0" when refused or unanswered within 3 s.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <future>
#include <vector>

#include "LoopbackSocket.h"
#include "MarketTestServer.h"

namespace tl {
namespace {

using Clock = std::chrono::steady_clock;
constexpr char kPage[] = "/tradeloom/app/reachable.asp";

// A TCP socket bound to address:port (0: a free port), listening with the backlog unless it
// is negative.
struct Socket {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    Socket(const char* address, int port, int backlog) {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(static_cast<std::uint16_t>(port));
        inet_pton(AF_INET, address, &a.sin_addr);
        if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
            (backlog >= 0 && ::listen(fd, backlog) != 0)) {
            ::close(fd);
            fd = -1;
        }
    }
    ~Socket() {
        if (fd >= 0) ::close(fd);
    }
    int port() const {
        sockaddr_in a{};
        socklen_t length = sizeof a;
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
        return ntohs(a.sin_port);
    }
};

// Fills the listener's accept queue until a connection is no longer completed: from then on
// the listener drops every new connection attempt without an answer.
std::vector<std::unique_ptr<Socket>> fillAcceptQueue(int port) {
    std::vector<std::unique_ptr<Socket>> fillers;
    for (int i = 0; i < 16; ++i) {
        auto filler = std::make_unique<Socket>("127.0.0.5", 0, -1);
        ::fcntl(filler->fd, F_SETFL, O_NONBLOCK);
        sockaddr_in target{};
        target.sin_family = AF_INET;
        target.sin_port = htons(static_cast<std::uint16_t>(port));
        inet_pton(AF_INET, "127.0.0.4", &target.sin_addr);
        ::connect(filler->fd, reinterpret_cast<sockaddr*>(&target), sizeof target);
        pollfd p{filler->fd, POLLOUT, 0};
        const bool completed = ::poll(&p, 1, 200) > 0;
        fillers.push_back(std::move(filler));
        if (!completed) break;
    }
    return fillers;
}

TEST(ReachabilityTest, AnswersWhetherTheRequestersOwnAddressAcceptsWithinThreeSeconds) {
    Socket accepting("127.0.0.2", 0, 16);
    ASSERT_GE(accepting.fd, 0);
    const int port = accepting.port();
    Socket refusing("127.0.0.3", port, -1);  // bound, not listening: connections are refused
    Socket silent("127.0.0.4", port, 0);
    ASSERT_GE(refusing.fd, 0);
    ASSERT_GE(silent.fd, 0);
    const auto fillers = fillAcceptQueue(port);
    test::MarketTestServer market(
        [port](market::MarketServerOptions& o) { o.reachabilityPort = port; });

    auto ask = [&](const char* from) { return test::rawGet(from, market.port(), kPage); };
    auto askTimed = [&](const char* from, double& seconds) {
        const auto start = Clock::now();
        const auto reply = ask(from);
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
        return reply;
    };

    double seconds = 0;
    EXPECT_EQ(askTimed("127.0.0.2", seconds).body, "1");
    EXPECT_LT(seconds, 1.0);
    // The check connected and closed without a byte.
    const int checked = ::accept(accepting.fd, nullptr, nullptr);
    ASSERT_GE(checked, 0);
    char byte = 0;
    EXPECT_EQ(::recv(checked, &byte, 1, 0), 0);
    ::close(checked);

    EXPECT_EQ(askTimed("127.0.0.3", seconds).body, "0");
    EXPECT_LT(seconds, 1.0);

    // The silent listener: while its check waits, a second one of that address is turned away
    // and other addresses are still checked.
    auto slow = std::async(std::launch::async, [&] { return askTimed("127.0.0.4", seconds); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto again = ask("127.0.0.4");
    EXPECT_EQ(again.statusLine, "HTTP/1.1 503 Service Unavailable");
    EXPECT_EQ(ask("127.0.0.2").body, "1");
    const auto unanswered = slow.get();
    EXPECT_EQ(unanswered.statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(unanswered.body, "0");
    EXPECT_GE(seconds, 2.5);
    EXPECT_LT(seconds, 5.0);
}

}  // namespace
}  // namespace tl
