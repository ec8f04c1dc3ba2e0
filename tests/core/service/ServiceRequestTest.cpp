#include <gtest/gtest.h>

#include "core/listings/ListingOperations.h"
#include "core/platform/ServerHost.h"
#include "core/service/Endpoints.h"
#include "core/service/ServiceRequest.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

// An unreachable host and an error page are both failed requests: one "Error" box, no text.
TEST(ServiceRequest, AFailedStyleARequestShowsTheErrorBoxOnce) {
    test::ScriptedHttpServer server;
    server.reply("/tradeloom/app/isproductsold.asp", "-1", "text/plain", 500);
    for (const std::string& host : {test::deadHost(), server.host()}) {
        ScriptedUi ui;
        test::ScopedServerHost scoped(host);
        EXPECT_FALSE(requestTextOrReport(endpoints::isProductSold("1"))) << host;
        EXPECT_EQ(ui.boxes(), (Boxes{{kErrorCaption, kConnectionErrorText}})) << host;
    }
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
