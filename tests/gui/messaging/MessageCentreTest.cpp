#include <gtest/gtest.h>

#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <memory>
#include <optional>

#include "MarketTestServer.h"
#include "core/session/Session.h"
#include "gui/messaging/CMessageCenterDlg.h"
#include "gui/messaging/CTLMessageCenter.h"
#include "gui/session/ListSelection.h"
#include "gui/web/CExplorer1.h"
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

// The window is free-standing: it must come up where the member can see and drag it (room kept
// for the title bar the window manager adds), large enough that the compose form needs no
// scrolling, also when the marketplace sends it back with a note saying why it was not sent.
TEST_F(MessageCentreTest, TheComposeWindowOpensInsideTheScreenWithItsWholeFormShown) {
    constexpr int kTitleBarRoom = 24;
    test::MarketTestServer market;
    session().currentUserName = "bob";
    listSelection().selectedItemTitle = "Oak rocking chair";
    std::unique_ptr<CMessageCenterDlg> window(CMessageCenterDlg::openCompose("ann", "7"));
    const QRect area = window->screen()->availableGeometry();
    EXPECT_TRUE(area.contains(window->frameGeometry().adjusted(0, -kTitleBarRoom, 0, 0)))
        << window->frameGeometry().x() << "," << window->frameGeometry().y();

    QWebEngineView* browser = window->explorer().browser();
    QSignalSpy loads(browser, &QWebEngineView::loadFinished);
    const auto evaluate = [browser](const QString& script) {
        std::optional<QVariant> result;
        browser->page()->runJavaScript(script,
                                       [&result](const QVariant& value) { result = value; });
        return QTest::qWaitFor([&] { return result.has_value(); }, 30000) ? *result : QVariant();
    };
    const QString wholeForm =
        "const form = document.querySelector('form').getBoundingClientRect();"
        "!!document.querySelector('textarea') && form.bottom <= innerHeight && "
        "form.right <= innerWidth && document.documentElement.scrollWidth <= innerWidth";
    // Bob is not logged in: the marketplace refuses to send in his name.
    const QString refusedSend = "document.querySelector('form').submit();";
    // The form as opened, then as the marketplace sends it back after the refused send.
    for (const bool sentBack : {false, true}) {
        SCOPED_TRACE(sentBack);
        ASSERT_TRUE(loads.wait(30000));
        ASSERT_TRUE(loads.last().at(0).toBool());
        EXPECT_TRUE(evaluate(wholeForm).toBool()) << browser->width() << "x" << browser->height();
        if (!sentBack) evaluate(refusedSend);
    }
    EXPECT_TRUE(evaluate("!!document.querySelector('.note')").toBool());
}

}  // namespace
}  // namespace tl
