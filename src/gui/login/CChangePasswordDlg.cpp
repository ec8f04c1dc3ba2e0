#include "gui/login/CChangePasswordDlg.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "core/account/PasswordChange.h"
#include "gui/login/AccountForm.h"
#include "gui/widgets/Controls.h"
#include "ids_account.h"
#include "ids_app.h"

namespace tl {

CChangePasswordDlg::CChangePasswordDlg(std::string currentPassword, QWidget* parent)
    : TemplateDialog(res::IDD_CHANGE_PASSWORD, "Change Password", parent),
      current_(std::move(currentPassword)) {
    old_ = passwordEdit(this, res::IDC_PASSWORD_OLD);
    new_ = passwordEdit(this, res::IDC_PASSWORD_NEW);
    again_ = passwordEdit(this, res::IDC_PASSWORD_AGAIN);
    auto* form = new QFormLayout(this);
    form->addRow("Old Password (5-10 chars)", old_);
    form->addRow("New Password (5-10 chars)", new_);
    form->addRow("Re-enter New Password", again_);
    QPushButton* ok = addOkCancelRow(form, "OK");
    connect(ok, &QPushButton::clicked, this, &CChangePasswordDlg::onOk);
}

std::string CChangePasswordDlg::newPassword() const {
    return textOf(new_);
}

void CChangePasswordDlg::onOk() {
    switch (checkPasswordChange(current_, textOf(old_), textOf(new_), textOf(again_))) {
        case PasswordChange::Accepted:
            accept();
            break;
        case PasswordChange::WrongOld:
            old_->clear();
            break;
        case PasswordChange::BadLength:
            break;
        case PasswordChange::Mismatch:
            new_->clear();
            again_->clear();
            break;
    }
}

}  // namespace tl
