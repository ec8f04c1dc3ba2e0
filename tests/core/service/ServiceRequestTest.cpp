#include <gtest/gtest.h>

#include "core/platform/ServerHost.h"
#include "core/service/Endpoints.h"
#include "core/service/ListingOperations.h"
#include "core/service/ServiceRequest.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

TEST(ServiceRequest, StyleAFailureShowsTheErrorBoxOnce) {
    ScriptedUi ui;
    setServerHost(test::deadHost());
    EXPECT_FALSE(requestTextOrReport(endpoints::isProductSold("1")));
    EXPECT_EQ(ui.boxes(), (Boxes{{kErrorCaption, kConnectionErrorText}}));
    setServerHost("");
}

TEST(ServiceRequest, AnErrorPageIsJudgedByItsTextOnly) {
    test::ScriptedHttpServer server;
    setServerHost(server.host());
    EXPECT_EQ(requestText(endpoints::isProductSold("1")), "");
    server.replyOtherwise("-1");  // served with status 200, but it is the text that counts
    EXPECT_EQ(requestText(endpoints::isProductSold("1")), "-1");
    setServerHost("");
}

TEST(ServiceRequest, LogOffIsStyleBAndReportsAnUnreachableHostOnce) {
    ScriptedUi ui;
    test::ScriptedHttpServer server;
    setServerHost(server.host());
    EXPECT_EQ(LogOff(""), 1);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0].line, "GET /tradeloom/app/logoff.asp?username=");
    EXPECT_EQ(server.requests()[0].authorization, "");

    setServerHost(test::deadHost());
    EXPECT_EQ(LogOff("ann"), 0);
    EXPECT_EQ(ui.boxes(), (Boxes{{kNetworkErrorCaption, kNetworkErrorText}}));
    setServerHost("");
}

TEST(ServiceRequest, BoughtItemsAuthenticateWithZeroZero) {
    test::ScriptedHttpServer server;
    setServerHost(server.host());
    requestText(endpoints::boughtProducts("ann"), Credentials::Zero);
    requestText(Query(endpoints::kCurrentWordList), Credentials::None);
    EXPECT_EQ(server.requests()[0].authorization, "Basic MDow");
    EXPECT_EQ(server.requests()[1].authorization, "");
    setServerHost("");
}

}  // namespace
}  // namespace tl
