#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/listings/RememberedDefaults.h"
#include "core/session/Session.h"
#include "gui/account/CUserLeft.h"
#include "gui/account/CView1.h"
#include "gui/login/CChangePasswordDlg.h"
#include "gui/messaging/CMessageCenterDlg.h"
#include "gui/widgets/Controls.h"
#include "ids_account.h"
#include "ids_app.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;
const ScriptedUi::Box kUpdated{"Update Complete", "User Info Updated Successfully"};

// The profile pane built for a member whose login the scripted login dialog accepts.
struct ProfileTest : ::testing::Test {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    test::ScopedServerHost host{server.host()};
    test::ScopedSessionValues values;
    ScriptedUi ui;
    QWidget window;
    CView1* profile = nullptr;

    ProfileTest() {
        home.write("users/annlee.xml",
                   "<user><firstname>Ann</firstname><city>Springfield</city><state>IL</state>"
                   "<contact>Email</contact><connection>DSL</connection>"
                   "<club1>Chess</club1><club2>Quilters</club2></user>");
        SaveRememberedDefaults("annlee", {"Buyer", "US", "MV", "none", "", "card.png"});
        server.reply("/tradeloom/currentwordlist.xml", "wordlist-1.xml");
        server.reply("/tradeloom/currentcategorylist.xml", "NewTLTree.xml");
        server.reply("/RUViviride/clubs.asmx/ListClubs",
                     "<string xmlns=\"http://" + server.host() +
                         "/\">&lt;Clubs&gt;&lt;Count&gt;3&lt;/Count&gt;&lt;Club&gt;Chess&lt;/"
                         "Club&gt;&lt;Club&gt;Radios&lt;/Club&gt;&lt;Club&gt;Quilters&lt;/"
                         "Club&gt;&lt;/Clubs&gt;</string>");
        server.replyOtherwise("0");
    }

    void build(const std::string& user) {
        ui.onModal([user](ModalDialog&) {
            session().currentUserName = user;
            session().currentPassword = "secret1";
            return kDialogOk;
        });
        profile = new CView1(&window);
        new CUserLeft(&window);
        ui.clear();
    }
    void click(int id) { findControl<QPushButton>(&window, id)->click(); }
    QLineEdit* field(int id) { return findControl<QLineEdit>(profile, id); }
    // Answers the next change-password dialog with these three fields.
    void changePassword(const char* old, const char* fresh) {
        ui.onModal([=](ModalDialog& modal) {
            auto& dialog = dynamic_cast<CChangePasswordDlg&>(modal);
            findControl<QLineEdit>(&dialog, res::IDC_PASSWORD_OLD)->setText(old);
            findControl<QLineEdit>(&dialog, res::IDC_PASSWORD_NEW)->setText(fresh);
            findControl<QLineEdit>(&dialog, res::IDC_PASSWORD_AGAIN)->setText(fresh);
            findControl<QPushButton>(&dialog, res::IDOK)->click();
            return dialog.result() == QDialog::Accepted ? kDialogOk : kDialogCancel;
        });
        click(res::IDC_USERLEFT_PASSWORD);
    }
};

TEST_F(ProfileTest, TheLoggedInMembersDocumentAndCardFillTheFormAndTheSession) {
    build("annlee");
    EXPECT_EQ(session().connectionType, "DSL");
    EXPECT_EQ(session().cardFileName, "card.png");
    EXPECT_EQ(field(res::IDC_USER_USERNAME)->text(), "annlee");
    EXPECT_EQ(field(res::IDC_USER_CITY)->text(), "Springfield");
    EXPECT_EQ(field(res::IDC_USER_STATE)->maxLength(), 2);
    EXPECT_EQ(field(res::IDC_USER_CONTACT)->text(), "Email");
    EXPECT_TRUE(findControl<QRadioButton>(profile, res::IDC_USER_CONTACT_EMAIL)->isChecked());
    EXPECT_EQ(field(res::IDC_USER_CARD)->text(), "card.png");
    auto* yours = findControl<QComboBox>(profile, res::IDC_USER_YOUR_CLUBS);
    EXPECT_EQ(yours->itemText(0), "Chess");
    EXPECT_EQ(yours->itemText(1), "Quilters");

    // Adding clubs in turn keeps the last two, newest first.
    auto* all = findControl<QComboBox>(profile, res::IDC_USER_CLUB1);
    ASSERT_EQ(all->count(), 3);
    for (int i : {1, 2, 1}) {
        all->setCurrentIndex(i);
        click(res::IDC_USER_ADD_CLUB);
    }
    ASSERT_EQ(yours->count(), 2);
    EXPECT_EQ(yours->itemText(0), "Radios");
    EXPECT_EQ(yours->itemText(1), "Quilters");

    click(res::IDC_USER_REMOVE_CARD);
    EXPECT_EQ(session().cardFileName, "");
    EXPECT_EQ(LoadRememberedDefaults("annlee")->card, "");
    EXPECT_EQ(LoadRememberedDefaults("annlee")->paymentmethods, "MV");
}

TEST_F(ProfileTest, TheSecondAddClubOpensTheClubPageInAMessageCenterWindow) {
    build("annlee");
    click(res::IDC_USER_CREATE_CLUB);
    CMessageCenterDlg* opened = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* message = qobject_cast<CMessageCenterDlg*>(window)) opened = message;
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->windowTitle(), "Message Center");
    EXPECT_EQ(opened->address(),
              "http://" + server.host() + "/RUViviride/createclub.aspx?username=annlee");
    EXPECT_TRUE(ui.boxes().empty());
    delete opened;
}

TEST_F(ProfileTest, ARememberedCardOutsideTheProductsFolderIsNoCard) {
    SaveRememberedDefaults("annlee", {"Buyer", "US", "MV", "none", "", "../users/annlee.xml"});
    build("annlee");
    EXPECT_EQ(session().cardFileName, "");
    EXPECT_EQ(field(res::IDC_USER_CARD)->text(), "");
}

TEST_F(ProfileTest, SubmitSucceedsOnlyWhenTheServerTakesTheUpdate) {
    build("annlee");
    field(res::IDC_USER_CITY)->setText("Shelby & Co #2");
    server.reply("/tradeloom/app/updateuser.asp", "-1");
    click(res::IDC_USERLEFT_SUBMIT);
    EXPECT_EQ(ui.boxes(), (Boxes{{"Error", "User Information Not Update"}}));
    server.reply("/tradeloom/app/updateuser.asp", "0");
    click(res::IDC_USERLEFT_SUBMIT);
    EXPECT_EQ(ui.boxes().back(), kUpdated);
    const std::vector<std::string> targets = server.targets();
    EXPECT_EQ(targets.back(), "/tradeloom/app/sendpassword.asp?password=secret1&username=annlee");
    EXPECT_EQ(targets[targets.size() - 2],
              "/tradeloom/app/updateuser.asp?username=annlee&firstname=Ann&lastname=&address="
              "&city=Shelby%20and%20Co%20number%202&zipcode=&state=IL&connection=DSL&contact=Email"
              "&email=&phone=&club1=Chess&club2=Quilters&country=&password=secret1");
    EXPECT_EQ(std::count_if(targets.begin(), targets.end(),
                            [](const std::string& t) { return t.find("sendpassword") != t.npos; }),
              1);
    EXPECT_NE(home.read("users/annlee.xml").find("<city>Shelby &amp; Co #2</city>"),
              std::string::npos);
}

TEST_F(ProfileTest, ANewPasswordGoesOutWithTheNextSubmitAndAllowsASecondChange) {
    build("annlee");
    changePassword("wrong", "newpass1");
    EXPECT_EQ(ui.boxes(), (Boxes{{"Password Error", "Incorret Old Password"}}));
    changePassword("secret1", "newpass1");
    click(res::IDC_USERLEFT_SUBMIT);
    EXPECT_EQ(session().currentPassword, "newpass1");
    changePassword("newpass1", "newpass2");
    click(res::IDC_USERLEFT_SUBMIT);
    const ScriptedUi::Box later{"Password Change",
                                "This change will not be made until Submit is pressed"};
    EXPECT_EQ(
        ui.boxes(),
        (Boxes{{"Password Error", "Incorret Old Password"}, later, kUpdated, later, kUpdated}));
    EXPECT_EQ(server.targets().back(),
              "/tradeloom/app/sendpassword.asp?password=newpass2&username=annlee");
}

TEST_F(ProfileTest, NobodyLoggedInSubmitsAndWritesNothing) {
    build("");
    const std::size_t before = server.targets().size();
    for (int id : {res::IDC_USERLEFT_SUBMIT, res::IDC_USERLEFT_PASSWORD}) click(id);
    click(res::IDC_USER_REMOVE_CARD);
    EXPECT_EQ(server.targets().size(), before);
    EXPECT_FALSE(home.exists("users/.xml"));
    EXPECT_FALSE(home.exists("products/Remembered.xml"));
    EXPECT_TRUE(ui.boxes().empty());
}

}  // namespace
}  // namespace tl
