// The network front: callers that trickle a request head, keep a connection open without a
// request or hold many connections from one address cannot take the server from others.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "LoopbackSocket.h"
#include "MarketTestServer.h"
#include "core/session/Login.h"
#include "support/ScriptedUi.h"

namespace tl {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::LoopbackSocket;

constexpr char kPage[] = "GET /tradeloom/currentcategorylist.xml HTTP/1.1\r\nHost: market\r\n";

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(SlowCallerTest, AConnectionWithoutAWholeRequestHeadInTimeIsDropped) {
    test::MarketTestServer market([](market::MarketServerOptions& o) {
        o.front.idleTimeout = 500ms;
        o.front.headTimeout = 1500ms;
    });
    const struct {
        const char* what;
        bool answeredFirst;  // one whole request, then the rest on the kept connection
        bool trickle;        // a header byte every 100 ms, each well within any single wait
        double earliest, latest;
    } cases[] = {
        {"silent", false, false, 0.4, 1.3},
        {"trickling its head", false, true, 1.4, 2.5},
        {"silent after a reply", true, false, 0.4, 1.3},
        {"trickling after a reply", true, true, 1.4, 2.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        LoopbackSocket caller("127.0.0.2", market.port());
        ASSERT_TRUE(caller.connected());
        if (c.answeredFirst) {
            ASSERT_TRUE(caller.send(std::string(kPage) + "\r\n"));
            ASSERT_NE(caller.receiveUntil("NewTLTree.xml", 2s).find("200 OK"), std::string::npos);
        }
        const auto start = Clock::now();
        bool closed = false;
        if (c.trickle) caller.send("GET / HTTP/1.1\r\n");
        while (!closed && secondsSince(start) < 4) {
            if (c.trickle) caller.send("X");
            closed = caller.peerClosed(100ms);
        }
        EXPECT_TRUE(closed);
        EXPECT_GE(secondsSince(start), c.earliest);
        EXPECT_LE(secondsSince(start), c.latest);
    }
}

TEST(SlowCallerTest, HeadsThatNeverEndHoldNoWorker) {
    test::MarketTestServer market([](market::MarketServerOptions& o) { o.workerThreads = 2; });
    std::vector<std::unique_ptr<LoopbackSocket>> slow;
    for (int i = 0; i < 40; ++i) {
        slow.push_back(std::make_unique<LoopbackSocket>("127.0.0.2", market.port()));
        ASSERT_TRUE(slow.back()->send(kPage));
    }
    for (int i = 0; i < 10; ++i) {
        const auto start = Clock::now();
        const auto reply =
            test::rawGet("127.0.0.3", market.port(), "/tradeloom/currentcategorylist.xml");
        EXPECT_EQ(reply.statusLine, "HTTP/1.1 200 OK");
        EXPECT_EQ(reply.body, "NewTLTree.xml");
        EXPECT_LT(secondsSince(start), 1.0);
    }
}

// Eight requests of one address stall in their bodies: a ninth of that address waits for one
// of them, another address is served at once.
TEST(SlowCallerTest, OneAddressIsServedAtMostEightAtOnce) {
    test::MarketTestServer market([](market::MarketServerOptions& o) { o.workerThreads = 12; });
    std::vector<std::unique_ptr<LoopbackSocket>> stalled;
    for (int i = 0; i < 8; ++i) {
        stalled.push_back(std::make_unique<LoopbackSocket>("127.0.0.2", market.port()));
        ASSERT_TRUE(stalled.back()->send(
            "POST /tradeloom/app/catSuggestions.asp HTTP/1.1\r\nHost: market\r\n"
            "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: 50\r\n\r\n"));
    }
    std::this_thread::sleep_for(300ms);  // all eight reach their workers
    LoopbackSocket ninth("127.0.0.2", market.port());
    ASSERT_TRUE(ninth.send(std::string(kPage) + "\r\n"));
    EXPECT_EQ(ninth.receiveUntil("NewTLTree.xml", 1s), "") << "waits for its address's turn";

    const auto start = Clock::now();
    EXPECT_EQ(test::rawGet("127.0.0.3", market.port(), "/tradeloom/currentcategorylist.xml").body,
              "NewTLTree.xml");
    EXPECT_LT(secondsSince(start), 1.0);

    stalled.front().reset();  // one of the eight gives up
    EXPECT_NE(ninth.receiveUntil("NewTLTree.xml", 2s).find("200 OK"), std::string::npos);
}

TEST(SlowCallerTest, KeptConnectionsAnswerPipelinedAndPiecewiseRequestsInOrder) {
    test::MarketTestServer market;
    LoopbackSocket caller("127.0.0.2", market.port());
    ASSERT_TRUE(caller.send(std::string(kPage) + "\r\n" +
                            "GET /tradeloom/currentwordlist.xml HTTP/1.1\r\nHost: market\r\n\r\n"));
    const std::string first = caller.receiveUntil("NewTLTree.xml", 2s);
    EXPECT_NE(first.find("Keep-Alive: timeout=5, max=1000\r\n"), std::string::npos) << first;
    EXPECT_NE(caller.receiveUntil(".xml", 2s).find("\r\n\r\nwordlist-"), std::string::npos);

    for (const char* piece : {"GET /tradeloom/currentcate", "gorylist.xml HTTP/1.1\r\nHo",
                              "st: market\r\nConnection: close\r", "\n\r\n"}) {
        ASSERT_TRUE(caller.send(piece));
        std::this_thread::sleep_for(50ms);
    }
    const std::string last = caller.receiveUntilClosed(2s);
    EXPECT_NE(last.find("Connection: close\r\n"), std::string::npos) << last;
    EXPECT_NE(last.find("\r\n\r\nNewTLTree.xml"), std::string::npos) << last;
}

// Behind a reverse proxy every request comes from the proxy: the member's own address is the
// one the proxy names, and only the trusted proxy may name one.
TEST(SlowCallerTest, OnlyTheTrustedProxyNamesTheRequestersAddress) {
    test::MarketTestServer market(
        [](market::MarketServerOptions& o) { o.trustedProxy = "127.0.0.2"; });
    ScriptedUi ui;
    ASSERT_EQ(test::registerMember("annlee"), "0");
    ASSERT_GT(std::atol(test::publish(test::listingFields("annlee", "Cuckoo clock")).c_str()), 0);
    const struct {
        const char* from;
        const char* header;
        const char* seen;
    } cases[] = {
        {"127.0.0.2", "X-Real-IP: 198.51.100.7\r\n", "198.51.100.7"},
        {"127.0.0.2", "X-Real-IP: 2001:db8::7\r\n", "2001:db8::7"},
        {"127.0.0.2", "X-Real-IP: not-an-address\r\n", "127.0.0.2"},
        {"127.0.0.2", "", "127.0.0.2"},
        {"127.0.0.3", "X-Real-IP: 198.51.100.7\r\n", "127.0.0.3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " " + c.header);
        ASSERT_EQ(
            test::rawGet(c.from, market.port(),
                         "/tradeloom/app/login.asp?username=annlee&password=secret1", c.header)
                .body,
            "0");
        EXPECT_EQ(market.server().store().onlineAddress("annlee"), c.seen);
    }
}

}  // namespace
}  // namespace tl
