// A new member's account against the reference marketplace server: registration from the login
// dialog, login, profile edits with clubs, card and a new password, log-off and a login with the
// new password; the card then travels with a new listing to another member; and a forgotten
// password ends as a mail in the server's outbox.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "LoopbackListingServer.h"
#include "PeerFetch.h"
#include "core/account/CUserXml.h"
#include "core/listings/FileScramble.h"
#include "core/listings/ListingOperations.h"
#include "core/platform/XmlDocument.h"
#include "core/session/Heartbeat.h"
#include "core/session/Login.h"
#include "core/session/Session.h"
#include "gui/account/CUserLeft.h"
#include "gui/account/CView1.h"
#include "gui/listings/CView3.h"
#include "gui/login/CChangePasswordDlg.h"
#include "gui/login/CLoginDlg.h"
#include "gui/login/CRegistrationDlg.h"
#include "gui/widgets/Controls.h"
#include "ids_account.h"
#include "ids_app.h"
#include "ids_listings.h"
#include "support/MarketplaceFixture.h"

namespace tl::test {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

void type(const QWidget* form, int id, const QString& text) {
    findControl<QLineEdit>(form, id)->setText(text);
}
void press(const QWidget* form, int id) {
    findControl<QAbstractButton>(form, id)->click();
}
int endCode(const QDialog& dialog) {
    return dialog.result() == QDialog::Accepted ? kDialogOk : kDialogCancel;
}

struct AccountFlowTest : MarketplaceTest {
    ~AccountFlowTest() override { stopSessionHeartbeat(); }

    // The login dialog at start-up: the member registers with "New User", then logs in.
    void registerThenLogIn(const QString& user, const QString& password) {
        ui.onModal([=](ModalDialog& modal) {
            auto& login = dynamic_cast<CLoginDlg&>(modal);
            press(&login, res::IDC_LOGIN_NEWUSER);
            EXPECT_EQ(findControl<QLineEdit>(&login, res::IDC_LOGIN_USERNAME)->text(), user);
            type(&login, res::IDC_LOGIN_PASSWORD, password);
            press(&login, res::IDOK);
            return endCode(login);
        });
        ui.onModal([=](ModalDialog& modal) {
            auto& form = dynamic_cast<CRegistrationDlg&>(modal);
            const std::pair<int, QString> texts[] = {
                {res::IDC_USER_USERNAME, user},      {res::IDC_USER_PASSWORD, password},
                {res::IDC_USER_PASSWORD2, password}, {res::IDC_USER_FIRSTNAME, "Ann"},
                {res::IDC_USER_LASTNAME, "Lee"},     {res::IDC_USER_ADDRESS, "1 Main St"},
                {res::IDC_USER_CITY, "Springfield"}, {res::IDC_USER_ZIPCODE, "12345"},
                {res::IDC_USER_PHONE, "555-0100"},   {res::IDC_USER_EMAIL, user + "@example.org"}};
            for (const auto& [id, text] : texts) type(&form, id, text);
            findControl<QComboBox>(&form, res::IDC_USER_STATE_LIST)->setCurrentText("IL");
            press(&form, res::IDOK);
            return endCode(form);
        });
    }
};

TEST_F(AccountFlowTest, ANewMemberRegistersEditsTheProfileAndLogsInWithTheNewPassword) {
    home.write("pictures/logo.png", std::string(5000, '\x7f'));
    registerThenLogIn("annlee", "a&b#c d");
    QWidget window;
    auto* profile = new CView1(&window);
    new CUserLeft(&window);
    EXPECT_EQ(session().currentUserName, "annlee");
    EXPECT_EQ(session().currentPassword, "a&b#c d");
    EXPECT_EQ(session().connectionType, "I Don't Know");
    EXPECT_TRUE(ui.boxes().empty());

    // Two clubs, the card and a new password, then Submit.
    auto* clubs = findControl<QComboBox>(profile, res::IDC_USER_CLUB1);
    ASSERT_GE(clubs->count(), 2);
    for (int i : {0, 1}) {
        clubs->setCurrentIndex(i);
        press(profile, res::IDC_USER_ADD_CLUB);
    }
    ui.chooseFile(home.path() + "pictures/logo.png");
    press(profile, res::IDC_USER_SELECT_CARD);
    EXPECT_EQ(session().cardFileName, "logo.png");
    ui.onModal([](ModalDialog& modal) {
        auto& dialog = dynamic_cast<CChangePasswordDlg&>(modal);
        type(&dialog, res::IDC_PASSWORD_OLD, "a&b#c d");
        type(&dialog, res::IDC_PASSWORD_NEW, "n#w&pass");
        type(&dialog, res::IDC_PASSWORD_AGAIN, "n#w&pass");
        press(&dialog, res::IDOK);
        return endCode(dialog);
    });
    press(&window, res::IDC_USERLEFT_PASSWORD);
    press(&window, res::IDC_USERLEFT_SUBMIT);
    EXPECT_EQ(ui.boxes(),
              (Boxes{{"Password Change", "This change will not be made until Submit is pressed"},
                     {"Update Complete", "User Info Updated Successfully"}}));

    CUserXml stored;
    ASSERT_TRUE(stored.Load("annlee"));
    EXPECT_EQ(stored.values.club1, clubs->itemText(1).toStdString());
    EXPECT_EQ(stored.values.club2, clubs->itemText(0).toStdString());
    const std::vector<std::string> mails = market.outboxMails();
    ASSERT_FALSE(mails.empty());
    EXPECT_NE(mails.back().find("password of your Tradeloom account was changed"),
              std::string::npos);
    EXPECT_EQ(mails.back().find("n#w&pass"), std::string::npos) << "no password in a mail";

    ASSERT_EQ(LogOff("annlee"), 1);
    EXPECT_EQ(loginRequest("annlee", "a&b#c d"), kLoginMismatch);
    EXPECT_EQ(loginRequest("annlee", "n#w&pass"), kLoginOk);

    // The card box of a new listing attaches the card; another member fetches it.
    CView3 form;
    form.show();
    type(&form, res::IDC_ITEM_TITLE, "Brass lamp");
    findControl<QPlainTextEdit>(&form, res::IDC_ITEM_DESCRIPTION)->setPlainText("Works well");
    type(&form, res::IDC_ITEM_ZIPCODE, "12345");
    type(&form, res::IDC_ITEM_QUANTITY, "1");
    type(&form, res::IDC_ITEM_PRICE, "25.00");
    type(&form, res::IDC_ITEM_CATEGORY1, "Antiques; Furniture");
    press(&form, 1227);
    press(&form, res::IDC_ITEM_ESCROW_NONE);
    findControl<QAbstractButton>(&form, res::IDC_ITEM_CARD)->setChecked(true);
    const ScopedViewSwitcher frame([](View) {});
    press(&form, res::IDC_ITEM_ADD);
    const auto mine = records(endpoints::myListings("annlee"));
    ASSERT_EQ(mine.size(), 1u);
    const std::string id = field(mine[0], "productid");

    LoopbackListingServer listingServer;
    const std::optional<std::string> listing =
        fetchOverPeerProtocol(listingServer.port(), id + ".xml");
    ASSERT_TRUE(listing);
    std::string plain = *listing;
    scrambleBytes(plain);
    XmlDocument document;
    ASSERT_TRUE(document.loadXml(plain));
    EXPECT_EQ(document.selectSingleNode("/product/attachment/attach").text(), "logo.png");
    EXPECT_EQ(fetchOverPeerProtocol(listingServer.port(), "logo.png"), std::string(5000, '\x7f'));
}

TEST_F(AccountFlowTest, ALostPasswordRequestLeavesAMailInTheOutbox) {
    const std::size_t before = market.outboxMails().size();
    CLoginDlg login;
    type(&login, res::IDC_LOGIN_USERNAME, QString::fromStdString(buyer.name));
    press(&login, res::IDC_LOGIN_LOSTPASSWORD);
    const std::vector<std::string> mails = market.outboxMails();
    ASSERT_EQ(mails.size(), before + 1);
    EXPECT_NE(mails.back().find(buyer.name + "@example.org"), std::string::npos);
    EXPECT_EQ(ui.boxes(),
              (Boxes{{"Tradeloom Lost Password",
                      "Your password has been sent to your registered email address"}}));
    EXPECT_EQ(ui.icons(), (std::vector<MessageIcon>{MessageIcon::Information}));
}

}  // namespace
}  // namespace tl::test
