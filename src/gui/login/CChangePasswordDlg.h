#pragma once

#include <string>

#include "gui/widgets/TemplateDialog.h"

class QLineEdit;

namespace tl {

// Asks for the old password and a new one twice. It ends with OK once the old password is the
// member's current one and the new one is accepted.
class CChangePasswordDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CChangePasswordDlg(std::string currentPassword, QWidget* parent = nullptr);

    std::string newPassword() const;

    void onOk();

private:
    std::string current_;
    QLineEdit *old_, *new_, *again_;
};

}  // namespace tl
