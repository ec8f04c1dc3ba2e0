#pragma once

#include <QDialog>

#include "core/platform/Ui.h"

namespace tl {

// The About box: the program's name and build, and OK.
class CAboutDlg : public QDialog, public ModalDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    int runModalLoop() override { return exec() == QDialog::Accepted ? kDialogOk : kDialogCancel; }
};

}  // namespace tl
