#include "gui/login/CLoginDlg.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "core/account/AccountRequests.h"
#include "core/account/UserNames.h"
#include "core/platform/Files.h"
#include "core/platform/ProcessExit.h"
#include "core/service/Endpoints.h"
#include "core/service/ServiceRequest.h"
#include "core/session/Heartbeat.h"
#include "core/session/Login.h"
#include "core/session/Session.h"
#include "gui/login/CRegistrationDlg.h"
#include "gui/widgets/Controls.h"
#include "ids_app.h"

namespace tl {
namespace {

constexpr int kFieldLimit = 50;
const QColor kBackground(237, 219, 151);

// The member's user document: users/<name>.xml in the program directory. A name that would
// reach outside that folder has no document.
bool userDocumentExists(const std::string& user) {
    const std::string path = userDocumentPath(user);
    return !path.empty() && fileExists(path);
}

}  // namespace

CLoginDlg::CLoginDlg(QWidget* parent) : TemplateDialog(res::IDD_LOGIN, "Login", parent) {
    userName_ = new QLineEdit(this);
    setControlId(userName_, res::IDC_LOGIN_USERNAME);
    userName_->setMaxLength(kFieldLimit);
    password_ = new QLineEdit(this);
    setControlId(password_, res::IDC_LOGIN_PASSWORD);
    password_->setMaxLength(kFieldLimit);
    password_->setEchoMode(QLineEdit::Password);

    const QLabel* loginBitmap = hiddenBitmap(this, res::IDC_LOGIN_BITMAP_LOGIN, res::IDB_LOGIN);
    const QLabel* newUserBitmap =
        hiddenBitmap(this, res::IDC_LOGIN_BITMAP_NEWUSER, res::IDB_NEWUSER);
    const QLabel* lostBitmap =
        hiddenBitmap(this, res::IDC_LOGIN_BITMAP_LOST, res::IDB_LOSTPASSWORD);

    auto* login = pictureButton(this, res::IDOK, "Login", loginBitmap);
    login->setDefault(true);
    auto* newUser = pictureButton(this, res::IDC_LOGIN_NEWUSER, "New User", newUserBitmap);
    auto* lostPassword = pictureButton(this, res::IDC_LOGIN_LOSTPASSWORD, "", lostBitmap);
    lostPassword->setToolTip("Lost password");
    auto* exitButton = new QPushButton("Exit", this);
    setControlId(exitButton, res::IDC_LOGIN_EXIT);
    exitButton->hide();

    auto* picture = new QLabel(this);
    picture->setPixmap(bitmapResource(res::IDB_LOGIN_PICTURE));

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("User Name", this), 0, 0);
    fields->addWidget(userName_, 0, 1);
    fields->addWidget(new QLabel("Password", this), 1, 0);
    fields->addWidget(password_, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(login);
    buttons->addWidget(newUser);
    buttons->addWidget(lostPassword);
    fields->addLayout(buttons, 2, 0, 1, 2);
    fields->setRowStretch(3, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addWidget(picture);

    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::black);
    colours.setColor(QPalette::ButtonText, Qt::black);
    setPalette(colours);

    connect(login, &QPushButton::clicked, this, &CLoginDlg::onLogin);
    connect(newUser, &QPushButton::clicked, this, &CLoginDlg::onNewUser);
    connect(lostPassword, &QPushButton::clicked, this, &CLoginDlg::onLostPassword);
    connect(exitButton, &QPushButton::clicked, this, &CLoginDlg::onExit);
}

void CLoginDlg::onLogin() {
    WaitCursor wait;
    const std::string user = userName_->text().toStdString();
    const std::string password = password_->text().toStdString();
    switch (loginRequest(user, password)) {
        case kLoginUnknownUser:
            ui().messageBox("Failed Login", "Invalid UserName");
            break;
        case kLoginMismatch:
            ui().messageBox("User Warning",
                            std::string("The UserName and Password did not match.  The UserName "
                                        "you have selected may be in use already.  If you have "
                                        "forgotten your password please email ") +
                                kSupportEmail);
            break;
        case kLoginOk:
            session().currentUserName = user;
            if (userDocumentExists(user)) {
                session().currentPassword = password;
                startSessionHeartbeat(user);
                password_->clear();
                accept();
                return;
            }
            ui().messageBox("Authentication Error", "Unauthorized Access");
            break;
        default:
            break;
    }
    password_->clear();
}

void CLoginDlg::onNewUser() {
    if (!probeServer(endpoints::kProbe)) {
        showNetworkError();
        return;
    }
    CRegistrationDlg registration(this);
    if (ui().runModal(registration) == kDialogOk)
        userName_->setText(QString::fromStdString(registration.registeredUserName()));
}

void CLoginDlg::onLostPassword() {
    WaitCursor wait;
    requestLostPassword(userName_->text().toStdString());
}

void CLoginDlg::onExit() {
    endProcess(0);
}

void CLoginDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    endProcess(0);
}

void CLoginDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
}

}  // namespace tl
