#include "gui/widgets/TemplateDialog.h"

#include "gui/widgets/Controls.h"

namespace tl {

int modalEndCode(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted ? kDialogOk : kDialogCancel;
}

TemplateDialog::TemplateDialog(int templateId, const QString& caption, QWidget* parent)
    : QDialog(parent) {
    setTemplateId(this, templateId);
    setWindowTitle(caption);
    setModal(true);
}

}  // namespace tl
