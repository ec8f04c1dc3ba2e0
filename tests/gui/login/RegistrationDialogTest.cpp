#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/session/Session.h"
#include "gui/login/CLoginDlg.h"
#include "gui/login/CRegistrationDlg.h"
#include "gui/widgets/Controls.h"
#include "ids_account.h"
#include "ids_app.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

// Fills the registration form as a member would and presses Submit; the dialog's end code.
int fillAndSubmit(CRegistrationDlg& dialog, const QString& user) {
    const std::pair<int, QString> texts[] = {
        {res::IDC_USER_USERNAME, user},          {res::IDC_USER_PASSWORD, "a&b#c d"},
        {res::IDC_USER_PASSWORD2, "a&b#c d"},    {res::IDC_USER_FIRSTNAME, "Ann"},
        {res::IDC_USER_LASTNAME, "Lee"},         {res::IDC_USER_ADDRESS, "1 Main St"},
        {res::IDC_USER_CITY, "Springfield"},     {res::IDC_USER_ZIPCODE, "12345"},
        {res::IDC_USER_COUNTRY, "US"},           {res::IDC_USER_PHONE, "555-0100"},
        {res::IDC_USER_EMAIL, "ann@example.org"}};
    for (const auto& [id, text] : texts) findControl<QLineEdit>(&dialog, id)->setText(text);
    findControl<QComboBox>(&dialog, res::IDC_USER_STATE_LIST)->setCurrentText("IL");
    findControl<QRadioButton>(&dialog, res::IDC_USER_CONTACT_PHONE)->click();
    findControl<QPushButton>(&dialog, res::IDOK)->click();
    return dialog.result() == QDialog::Accepted ? kDialogOk : kDialogCancel;
}

struct RegistrationDialogTest : ::testing::Test {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    test::ScopedServerHost host{server.host()};
    test::ScopedSessionValues values;
    ScriptedUi ui;
    CLoginDlg login;

    RegistrationDialogTest() { server.replyOtherwise(""); }
    QLineEdit* loginName() { return findControl<QLineEdit>(&login, res::IDC_LOGIN_USERNAME); }
    void newUser(const QString& user) {
        ui.onModal([user](ModalDialog& modal) {
            return fillAndSubmit(dynamic_cast<CRegistrationDlg&>(modal), user);
        });
        findControl<QPushButton>(&login, res::IDC_LOGIN_NEWUSER)->click();
    }
};

TEST_F(RegistrationDialogTest, NewUserRegistersAndCopiesTheNameIntoTheLoginDialog) {
    server.reply("/tradeloom/app/newuser.asp", "0");
    newUser("annlee");
    EXPECT_EQ(loginName()->text(), "annlee");
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_EQ(server.targets(),
              (std::vector<std::string>{
                  "/", "/RUViviride/clubs.asmx/ListClubs", "//tradeLoom//index.html",
                  "/tradeloom/app/newuser.asp?username=annlee&firstname=Ann&lastname=Lee"
                  "&address=1%20Main%20St&city=Springfield&zipcode=12345&state=IL"
                  "&connection=I%20Don%27t%20Know&contact=Phone&email=ann%40example.org"
                  "&phone=555-0100&club1=&club2=&country=US&password=a%26b%23c%20d",
                  "/tradeloom/app/sendpassword.asp?password=a%26b%23c%20d&username=annlee"}));
    EXPECT_NE(home.read("users/annlee.xml").find("<contact>Phone</contact>"), std::string::npos);
}

}  // namespace
}  // namespace tl
