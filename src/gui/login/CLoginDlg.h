#pragma once

#include "gui/widgets/TemplateDialog.h"

class QLineEdit;
class QPushButton;

namespace tl {

// The login dialog: the member logs in, asks to register, or asks for a lost password.
// Escape closes it without a login; "Exit" and the close box end the program.
class CLoginDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CLoginDlg(QWidget* parent = nullptr);

    void onLogin();
    void onNewUser();
    void onLostPassword();
    void onExit();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* userName_;
    QLineEdit* password_;
};

}  // namespace tl
