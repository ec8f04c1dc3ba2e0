#pragma once

#include <QDialog>
#include <QString>

class QFormLayout;
class QPushButton;

#include "core/platform/Ui.h"

namespace tl {

// Ends a dialog's modal loop with the end code the Ui seam reports: OK when accepted.
int modalEndCode(QDialog& dialog);

// A dialog built on a dialog template and run modally through the Ui seam: it carries the
// template id and its caption.
class TemplateDialog : public QDialog, public ModalDialog {
    Q_OBJECT
public:
    TemplateDialog(int templateId, const QString& caption, QWidget* parent);

    int runModalLoop() override { return modalEndCode(*this); }

protected:
    // Adds a row with OK (the default button, under the caption given) and Cancel, both with
    // their control ids; Cancel rejects the dialog. Returns OK for the caller to connect.
    QPushButton* addOkCancelRow(QFormLayout* form, const QString& okCaption);
};

}  // namespace tl
