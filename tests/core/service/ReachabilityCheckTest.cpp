#include <gtest/gtest.h>

#include <chrono>

#include "core/peer/SocketIo.h"
#include "core/service/ReachabilityCheck.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"

namespace tl {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr char kReachable[] = "/tradeloom/app/reachable.asp";

TEST(ReachabilityCheck, TakesOnlyAOneOrAZeroAsAnAnswerAndNeverWaitsPastItsLimit) {
    test::ScriptedHttpServer market;
    // A server that takes the connection and the request but never answers.
    const Socket mute = listenOn("127.0.0.1", 0, 5);
    struct Case {
        const char* name;
        int status;  // 0: the mute server
        const char* reply;
        std::optional<bool> answer;
    };
    const Case cases[] = {
        {"reachable", 200, "1", true},
        {"unreachable", 200, "0", false},
        {"a server without the page", 404, "1", std::nullopt},
        {"an unexpected reply", 200, "1\n", std::nullopt},
        {"no answer", 0, "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScopedServerHost host(c.status == 0 ? "127.0.0.1:" + std::to_string(localPort(mute))
                                                  : market.host());
        market.reply(kReachable, c.reply, "text/plain", c.status);
        const std::size_t before = market.requests().size();
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(askReachable(1s), c.answer);
        EXPECT_LT(Clock::now() - start, 5s);
        if (c.status == 0) continue;
        const auto requests = market.requests();
        ASSERT_EQ(requests.size(), before + 1);
        EXPECT_EQ(requests.back().line, std::string("GET ") + kReachable);
    }
}

}  // namespace
}  // namespace tl
