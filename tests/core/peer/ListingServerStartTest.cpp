#include <gtest/gtest.h>

#include <cstdlib>

#include "core/peer/ListingServerStart.h"
#include "core/peer/SocketIo.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

class ListingServerStartTest : public ::testing::Test {
protected:
    void TearDown() override {
        ::unsetenv("TRADELOOM_BIND");
        setListingServerSetup({});
    }
    test::TempProgramDirectory directory;
    ScriptedUi ui;
};

TEST_F(ListingServerStartTest, ListensOnTheBindAddressAndLeavesTheRouterAloneForLoopback) {
    ::setenv("TRADELOOM_BIND", "127.0.0.1", 1);
    setListingServerSetup({0, "", true, false});
    const auto server = startListingServer();
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(server->routerMapping(), nullptr);  // no router forwards to a loopback address
    directory.write("products/12345.xml", "listing");
    Socket requester = connectTo("127.0.0.1", server->port(), std::chrono::seconds(5));
    ASSERT_TRUE(sendAll(requester.fd(), encodeFileRequest("12345.xml"), std::chrono::seconds(5)));
    EXPECT_EQ(receiveExactly(requester.fd(), 11,
                             std::chrono::steady_clock::now() + std::chrono::seconds(5)),
              encodeLength(7) + "listing");
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(ListingServerStartTest, ABusyPortLeavesTheProgramWithoutAServerAfterTellingTheMember) {
    setListingServerSetup({0, "127.0.0.1", false, false});
    const auto first = startListingServer();
    ASSERT_NE(first, nullptr);
    setListingServerSetup({first->port(), "127.0.0.1", false, false});
    EXPECT_EQ(startListingServer(), nullptr);
    EXPECT_EQ(ui.boxes(), (std::vector<ScriptedUi::Box>{{"", "SERVER PORT NOT STARTED"}}));
}

}  // namespace
}  // namespace tl
