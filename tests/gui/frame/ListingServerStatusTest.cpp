#include <gtest/gtest.h>

#include <QTest>

#include "core/peer/ListingServerStart.h"
#include "gui/frame/ListingServerStatusText.h"
#include "support/FakeGateway.h"
#include "support/FakeNatPmpGateway.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

constexpr char kReachable[] = "/tradeloom/app/reachable.asp";
constexpr char kCannotReach[] =
    "Others cannot reach your computer: your listings open from the marketplace copy, without "
    "photos";

// The status line once the server, the router and the reachability check have all answered.
QString settledText(const ListingServerState& state, const QString& expected) {
    [[maybe_unused]] const bool settled = QTest::qWaitFor(
        [&] { return listingServerStatusText(state.status()) == expected; }, 10000);
    return listingServerStatusText(state.status());
}

TEST(ListingServerStatus, TellsEachListeningMappingAndReachabilityOutcome) {
    test::TempProgramDirectory home;
    ScriptedUi ui;
    test::ScriptedHttpServer market;
    test::ScopedServerHost host(market.host());
    test::FakeGateway upnp;
    upnp.externalAddress = "203.0.113.7";
    test::FakeGateway refusingUpnp;
    refusingUpnp.refuseMapping = true;
    using NatPmp = test::FakeNatPmpGateway;
    NatPmp natPmp(NatPmp::Mode::Grant, "198.51.100.4");
    NatPmp refusingNatPmp(NatPmp::Mode::Refuse, "198.51.100.4");
    const std::string noUpnp = "http://" + test::deadHost() + test::FakeGateway::kDescriptionPath;
    using Gateway = RouterPortMapping::Gateway;

    struct Case {
        const char* name;
        std::string bindAddress;
        std::optional<Gateway> router;
        int reachableStatus;
        const char* reachableReply;
        QString expected;  // %1: the port
    };
    const Case cases[] = {
        {"loopback only",
         "127.0.0.1",
         {},
         200,
         "1",
         "Listening on port %1 | Loopback only (127.0.0.1): no router forwards to it | Others can "
         "open your listings"},
        {"UPnP", "", Gateway{upnp.descriptionUrl(), ""}, 200, "1",
         "Listening on port %1 | Router forwards the port (UPnP), external address 203.0.113.7 | "
         "Others can open your listings"},
        {"UPnP refused", "", Gateway{refusingUpnp.descriptionUrl(), ""}, 200, "0",
         QString("Listening on port %1 | The router refused to forward the port | ") +
             kCannotReach},
        {"NAT-PMP, server without the page", "",
         Gateway{noUpnp, "", NatPmpGateway{natPmp.address()}}, 404, "1",
         "Listening on port %1 | Router forwards the port (NAT-PMP), external address "
         "198.51.100.4 | Reachability unknown"},
        {"NAT-PMP refused", "", Gateway{noUpnp, "", NatPmpGateway{refusingNatPmp.address()}}, 200,
         "0",
         QString("Listening on port %1 | The router refused to forward the port | ") +
             kCannotReach},
        {"no router", "", Gateway{noUpnp, "", NatPmpGateway{test::silentNatPmpAddress()}}, 200, "0",
         QString("Listening on port %1 | No router found to forward the port | ") + kCannotReach},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        market.reply(kReachable, c.reachableReply, "text/plain", c.reachableStatus);
        test::ScopedListingServerSetup setup({0, c.bindAddress, true, true, c.router});
        ListingServerState state;
        const auto server = startListingServer(state);
        ASSERT_NE(server, nullptr);
        const QString expected = c.expected.arg(server->port());
        EXPECT_EQ(settledText(state, expected), expected);
    }
    EXPECT_TRUE(ui.boxes().empty());

    // A port another program holds: the member is told once, and the status line keeps saying so.
    test::ScopedListingServerSetup setup({0, "127.0.0.1", false, false});
    ListingServerState state;
    const auto holder = startListingServer(state);
    ASSERT_NE(holder, nullptr);
    test::ScopedListingServerSetup busy({holder->port(), "127.0.0.1", true, true});
    EXPECT_EQ(startListingServer(state), nullptr);
    EXPECT_EQ(listingServerStatusText(state.status()),
              QString("Listing server not started: port %1 busy").arg(holder->port()));
    EXPECT_EQ(ui.boxes(), (std::vector<ScriptedUi::Box>{{"", "SERVER PORT NOT STARTED"}}));
}

}  // namespace
}  // namespace tl
