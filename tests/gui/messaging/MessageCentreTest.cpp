#include <gtest/gtest.h>

#include <QTest>
#include <algorithm>

#include "core/session/Session.h"
#include "gui/messaging/CMessageCenterDlg.h"
#include "gui/messaging/CTLMessageCenter.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"

namespace tl {
namespace {

struct MessageCentreTest : ::testing::Test {
    test::ScriptedHttpServer server;
    test::ScopedServerHost host{server.host()};
    test::ScopedSessionValues values;

    // Lets the browser run until the server has seen that many requests.
    bool waitForRequests(std::size_t requests, int timeoutMs) const {
        return QTest::qWaitFor([&] { return server.targets().size() >= requests; }, timeoutMs);
    }
    std::size_t count(const std::string& target) const {
        const std::vector<std::string> targets = server.targets();
        return static_cast<std::size_t>(std::count(targets.begin(), targets.end(), target));
    }
};

// New mail has to show up, so every showing of the pane asks the server again.
TEST_F(MessageCentreTest, ThePaneAsksForTheMessagesEachTimeItIsShown) {
    session().currentUserName = "bob smith";
    const std::string target = "/tradeloom/app/message/messagesNew.asp?username=bob%20smith";
    CTLMessageCenter pane;
    pane.resize(400, 300);
    for (std::size_t shown = 1; shown <= 3; ++shown) {
        SCOPED_TRACE(shown);
        pane.show();
        ASSERT_TRUE(waitForRequests(shown, 10000));
        EXPECT_EQ(count(target), shown);
        pane.hide();
    }
}

TEST_F(MessageCentreTest, TheMessageWindowShowsItsAddressOnce) {
    const std::string target = "/tradeloom/app/message/message.asp?senderid=bob";
    CMessageCenterDlg* window = CMessageCenterDlg::open("http://" + server.host() + target);
    EXPECT_EQ(window->windowTitle(), "Message Center");
    EXPECT_EQ(window->parentWidget(), nullptr);
    ASSERT_TRUE(waitForRequests(1, 10000));
    window->hide();
    window->show();
    EXPECT_FALSE(waitForRequests(2, 500));
    EXPECT_EQ(count(target), 1u);
    window->close();
}

}  // namespace
}  // namespace tl
