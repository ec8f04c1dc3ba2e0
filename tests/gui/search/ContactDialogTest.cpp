#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "core/session/Session.h"
#include "gui/messaging/CMessageCenterDlg.h"
#include "gui/search/CContactDlg.h"
#include "gui/session/ListSelection.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

std::vector<CMessageCenterDlg*> messageWindows() {
    std::vector<CMessageCenterDlg*> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* messages = qobject_cast<CMessageCenterDlg*>(window)) windows.push_back(messages);
    return windows;
}

struct ContactDialogTest : ::testing::Test {
    test::ScriptedHttpServer server;
    test::ScopedServerHost host{server.host()};
    test::ScopedSessionValues values;
    ScriptedUi ui;

    ~ContactDialogTest() override {
        for (CMessageCenterDlg* window : messageWindows()) delete window;
    }
};

TEST_F(ContactDialogTest, ShowsThePostersContactAndOpensAnOffer) {
    enum Press { Offer, Chat, Close };
    struct Case {
        std::string productId, reply;  // reply "": the server cannot be reached
        Press press;
        std::string title, contact;
        Boxes boxes;
        std::string offer;  // the compose page opened, "" for none
    };
    const std::string longContact(150, 'c');
    const std::string compose = "/tradeloom/app/message/message.asp?senderid=bob&recipientid=ann";
    // clang-format off
    const std::vector<Case> cases = {
        {"7", "<item><itemno>7</itemno><contact>ann@example.org, 555-0100</contact></item>", Offer,
         "Contact ann about Item #7", "ann@example.org, 555-0100", {},
         compose + "&productid=7&title=Old%20lamp%20%26%20shade&Price=100"},
        {"8", "<item/>", Chat, "Contact ann about Item #8", "",
         {{"Disabled", "Feature Not In Service at this time"}}, ""},
        {"9", "<item><contact>" + longContact + "</contact></item>", Close,
         "Contact ann about Item #9", longContact.substr(0, 100), {}, ""},
        {"10", "not a document", Close, "Contact ann about Item #10", "", {}, ""},
        {"11", "", Close, "Contact ann about Item #11", "", {}, ""},
        {"", "<item/>", Close, "Contact ann about Item #", "", {}, ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.productId);
        session().currentUserName = "bob";
        listSelection().selectedSellerName = "ann";
        listSelection().selectedProductId = c.productId;
        listSelection().selectedItemTitle = "Old lamp & shade";
        host.set(c.reply.empty() ? test::deadHost() : server.host());
        server.reply("/tradeloom/app/offline.asp", c.reply);
        ui.clear();
        CContactDlg dialog;
        dialog.show();
        EXPECT_EQ(dialog.windowTitle().toStdString(), c.title);
        EXPECT_EQ(findControl<QLineEdit>(&dialog, res::IDC_CONTACT_INFO)->text().toStdString(),
                  c.contact);
        const int button = c.press == Offer  ? res::IDC_CONTACT_OFFER
                           : c.press == Chat ? res::IDC_CONTACT_CHAT
                                             : res::IDC_CONTACT_CLOSE;
        findControl<QPushButton>(&dialog, button)->click();
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(ui.boxes(), c.boxes);
        const std::vector<CMessageCenterDlg*> windows = messageWindows();
        ASSERT_EQ(windows.size(), c.offer.empty() ? 0u : 1u);
        if (windows.empty()) continue;
        EXPECT_EQ(windows.front()->address(), "http://" + server.host() + c.offer);
        EXPECT_TRUE(windows.front()->isVisible());
        delete windows.front();
    }
}

}  // namespace
}  // namespace tl
