#pragma once

#include <QDialog>

#include "core/platform/Ui.h"

class QLineEdit;
class QPushButton;

namespace tl {

// The login dialog: the member logs in, asks to register, or asks for a lost password.
// Escape closes it without a login; "Exit" and the close box end the program.
class CLoginDlg : public QDialog, public ModalDialog {
    Q_OBJECT
public:
    explicit CLoginDlg(QWidget* parent = nullptr);

    int runModalLoop() override { return exec() == QDialog::Accepted ? kDialogOk : kDialogCancel; }

    void onLogin();
    void onNewUser();
    void onExit();

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLineEdit* userName_;
    QLineEdit* password_;
};

}  // namespace tl
