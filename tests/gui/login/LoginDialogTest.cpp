#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/platform/ProcessExit.h"
#include "core/platform/ServerHost.h"
#include "core/service/ServiceRequest.h"
#include "core/session/Heartbeat.h"
#include "core/session/Login.h"
#include "core/session/Session.h"
#include "gui/frame/CMainFrame.h"
#include "gui/frame/TradeloomApp.h"
#include "gui/login/CLoginDlg.h"
#include "gui/widgets/Controls.h"
#include "gui/widgets/QtUi.h"
#include "ids_app.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

const ScriptedUi::Box kUserWarning{
    "User Warning", std::string("The UserName and Password did not match.  The UserName you have "
                                "selected may be in use already.  If you have forgotten your "
                                "password please email ") +
                        kSupportEmail};

struct LoginDialogTest : ::testing::Test {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    ScriptedUi ui;
    test::ScopedServerHost host{server.host()};
    CLoginDlg dialog;
    std::vector<int> exits;

    LoginDialogTest() {
        session() = Session{};
        setProcessExitHandler([this](int code) { exits.push_back(code); });
    }
    ~LoginDialogTest() override {
        stopSessionHeartbeat();
        setProcessExitHandler({});
    }

    QLineEdit* field(int id) { return findControl<QLineEdit>(&dialog, id); }
    void logIn(const QString& user, const QString& password, const std::string& reply,
               int status = 200) {
        server.reply("/tradeloom/app/login.asp", reply, "text/plain", status);
        field(res::IDC_LOGIN_USERNAME)->setText(user);
        field(res::IDC_LOGIN_PASSWORD)->setText(password);
        findControl<QPushButton>(&dialog, res::IDOK)->click();
    }
};

TEST_F(LoginDialogTest, ControlsCarryTheirIdsAndLimits) {
    EXPECT_EQ(dialog.windowTitle(), "Login");
    EXPECT_EQ(dialog.objectName(), "dlg_158");
    EXPECT_EQ(field(res::IDC_LOGIN_USERNAME)->maxLength(), 50);
    EXPECT_EQ(field(res::IDC_LOGIN_PASSWORD)->echoMode(), QLineEdit::Password);
    ASSERT_NE(findControl<QPushButton>(&dialog, res::IDC_LOGIN_NEWUSER), nullptr);
    ASSERT_NE(findControl<QPushButton>(&dialog, res::IDC_LOGIN_LOSTPASSWORD), nullptr);
    EXPECT_TRUE(findControl<QPushButton>(&dialog, res::IDOK)->isDefault());
    EXPECT_TRUE(findControl<QPushButton>(&dialog, res::IDC_LOGIN_EXIT)->isHidden());
    EXPECT_FALSE(findControl<QPushButton>(&dialog, res::IDOK)->icon().isNull());
}

TEST_F(LoginDialogTest, UnknownUserAndMismatchShowTheirBoxesAndClearThePassword) {
    logIn("ann", "pw", "-1");
    logIn("ann", "pw", "-2");
    logIn("ann", "pw", "whatever");
    EXPECT_EQ(ui.boxes(), (Boxes{{"Failed Login", "Invalid UserName"}, kUserWarning}));
    EXPECT_EQ(field(res::IDC_LOGIN_PASSWORD)->text(), "");
    EXPECT_EQ(field(res::IDC_LOGIN_USERNAME)->text(), "ann");
    EXPECT_EQ(session().currentUserName, "");
    EXPECT_FALSE(sessionHeartbeatRunning());
}

TEST_F(LoginDialogTest, ALoginRequestThatFailsAfterTheProbeShowsTheErrorThenTheUserWarning) {
    home.write("users/ann.xml", "<user/>");
    logIn("ann", "pw", "0", 500);  // the probe is answered, the login request fails
    EXPECT_EQ(server.targets().size(), 2u);
    EXPECT_EQ(ui.boxes(), (Boxes{{kErrorCaption, kConnectionErrorText}, kUserWarning}));
    EXPECT_EQ(session().currentUserName, "");
    EXPECT_FALSE(sessionHeartbeatRunning());
    EXPECT_EQ(field(res::IDC_LOGIN_PASSWORD)->text(), "");
}

TEST_F(LoginDialogTest, SuccessWithoutAUserDocumentIsUnauthorized) {
    logIn("ann", "pw", "0");
    EXPECT_EQ(ui.boxes(), (Boxes{{"Authentication Error", "Unauthorized Access"}}));
    EXPECT_EQ(session().currentUserName, "ann");
    EXPECT_EQ(session().currentPassword, "");
    EXPECT_FALSE(sessionHeartbeatRunning());
    EXPECT_EQ(dialog.result(), 0);
}

TEST_F(LoginDialogTest, SuccessWithAUserDocumentLogsInAndStartsTheHeartbeat) {
    home.write("users/ann.xml", "<user/>");
    logIn("ann", "pw", "0");
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_EQ(session().currentUserName, "ann");
    EXPECT_EQ(session().currentPassword, "pw");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(sessionHeartbeatRunning());
    EXPECT_TRUE(server.waitForRequests(3, 5000));  // probe, login, first heartbeat
    EXPECT_EQ(server.requests()[2].line, "GET /RUViviride/RUViviride.asmx/HearBeat?Username=ann");
}

TEST_F(LoginDialogTest, AUserNameThatLeavesTheUsersFolderHasNoDocument) {
    home.write("secret.xml", "<user/>");
    logIn("../secret", "pw", "0");
    EXPECT_EQ(ui.boxes(), (Boxes{{"Authentication Error", "Unauthorized Access"}}));
}

TEST_F(LoginDialogTest, UnreachableServerShowsOneConnectionError) {
    host.set(test::deadHost());
    logIn("ann", "pw", "0");
    EXPECT_EQ(ui.boxes(), (Boxes{{kNetworkErrorCaption, kNetworkErrorText}}));
    EXPECT_EQ(field(res::IDC_LOGIN_PASSWORD)->text(), "");
}

TEST_F(LoginDialogTest, NewUserProbesTheServerFirst) {
    host.set(test::deadHost());
    findControl<QPushButton>(&dialog, res::IDC_LOGIN_NEWUSER)->click();
    EXPECT_EQ(ui.boxes(), (Boxes{{kNetworkErrorCaption, kNetworkErrorText}}));
}

TEST_F(LoginDialogTest, CloseBoxAndExitEndTheProcessWithCodeZeroEscapeDoesNot) {
    dialog.show();
    dialog.close();
    findControl<QPushButton>(&dialog, res::IDC_LOGIN_EXIT)->click();
    EXPECT_EQ(exits, (std::vector<int>{0, 0}));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(exits.size(), 2u);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(LoginDialogTest, EscapeAtStartUpOpensTheMainWindowWithNobodyLoggedIn) {
    server.reply("/tradeloom/currentwordlist.xml", "wordlist-1.xml");
    server.reply("/tradeloom/currentcategorylist.xml", "NewTLTree.xml");
    server.replyOtherwise("<x/>");
    ui.onModal([](ModalDialog& modal) {
        auto& login = dynamic_cast<CLoginDlg&>(modal);
        QTest::keyClick(&login, Qt::Key_Escape);
        return login.result() == QDialog::Accepted ? kDialogOk : kDialogCancel;
    });
    {
        TradeloomApp app;
        ASSERT_TRUE(app.initInstance());
        auto* frame = dynamic_cast<CMainFrame*>(app.mainWindow());
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(navigator(), frame);
        EXPECT_EQ(frame->windowTitle(), "Tradeloom v1.4 Build 0502");
        EXPECT_TRUE(frame->isVisible());
        EXPECT_TRUE(frame->pane(Pane::WebView)->isVisible());
        EXPECT_EQ(session().currentUserName, "");
        EXPECT_EQ(session().categoryFileName, "NewTLTree.xml");
        EXPECT_FALSE(sessionHeartbeatRunning());
    }
    // Closing sends the log-off with the empty user name. (The web pane may still be asking
    // for the home page, so the log-off need not be the last request.)
    const std::vector<std::string> targets = server.targets();
    EXPECT_NE(std::find(targets.begin(), targets.end(), "/tradeloom/app/logoff.asp?username="),
              targets.end());
    EXPECT_TRUE(ui.boxes().empty());
}

TEST(LoginDialogBoxes, ShowTheNormalCursorNotTheWaitCursor) {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    test::ScopedServerHost host(server.host());
    QtUi desktop;
    test::ScopedUi seam(desktop);
    CLoginDlg dialog;
    std::vector<Qt::CursorShape> shapes;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        const QCursor* cursor = QApplication::overrideCursor();
        shapes.push_back(cursor ? cursor->shape() : Qt::ArrowCursor);
        box->accept();
    });
    answerer.start(10);
    for (const char* reply : {"-1", "-2", "0"}) {  // Failed Login, User Warning, Unauthorized
        server.reply("/tradeloom/app/login.asp", reply);
        findControl<QPushButton>(&dialog, res::IDOK)->click();
    }
    EXPECT_EQ(shapes, std::vector<Qt::CursorShape>(3, Qt::ArrowCursor));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace tl
