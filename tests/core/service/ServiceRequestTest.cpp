#include <gtest/gtest.h>

#include "core/platform/ServerHost.h"
#include "core/service/Endpoints.h"
#include "core/service/ListingOperations.h"
#include "core/service/ServiceRequest.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

TEST(ServiceRequest, StyleAFailureShowsTheErrorBoxOnce) {
    ScriptedUi ui;
    test::ScopedServerHost host(test::deadHost());
    EXPECT_FALSE(requestTextOrReport(endpoints::isProductSold("1")));
    EXPECT_EQ(ui.boxes(), (Boxes{{kErrorCaption, kConnectionErrorText}}));
}

TEST(ServiceRequest, AnErrorPageIsAFailedRequestEndingInTheErrorBox) {
    ScriptedUi ui;
    test::ScriptedHttpServer server;
    test::ScopedServerHost host(server.host());
    server.reply("/tradeloom/app/isproductsold.asp", "-1", "text/plain", 500);
    EXPECT_FALSE(requestTextOrReport(endpoints::isProductSold("1")));
    EXPECT_EQ(ui.boxes(), (Boxes{{kErrorCaption, kConnectionErrorText}}));
}

TEST(ServiceRequest, LogOffIsStyleBAndReportsAnUnreachableHostOnce) {
    ScriptedUi ui;
    test::ScriptedHttpServer server;
    test::ScopedServerHost host(server.host());
    EXPECT_EQ(LogOff(""), 1);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].line, "GET /tradeloom/app/logoff.asp?username=");
    EXPECT_EQ(server.requests()[0].authorization, "");

    host.set(test::deadHost());
    EXPECT_EQ(LogOff("ann"), 0);
    EXPECT_EQ(ui.boxes(), (Boxes{{kNetworkErrorCaption, kNetworkErrorText}}));
}

TEST(ServiceRequest, BoughtItemsAuthenticateWithZeroZero) {
    test::ScriptedHttpServer server;
    server.replyOtherwise("<results/>");
    test::ScopedServerHost host(server.host());
    requestText(endpoints::boughtProducts("ann"), Credentials::Zero);
    requestText(Query(endpoints::kCurrentWordList), Credentials::None);
    EXPECT_EQ(server.requests()[0].authorization, "Basic MDow");
    EXPECT_EQ(server.requests()[1].authorization, "");
}

}  // namespace
}  // namespace tl
