#include "gui/widgets/TemplateDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

#include "gui/widgets/Controls.h"
#include "ids_app.h"

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

QPushButton* TemplateDialog::addOkCancelRow(QFormLayout* form, const QString& okCaption) {
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = idButton(this, res::IDOK, okCaption);
    ok->setDefault(true);
    buttons->addButton(ok, QDialogButtonBox::AcceptRole);
    buttons->addButton(idButton(this, res::IDCANCEL, "Cancel"), QDialogButtonBox::RejectRole);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return ok;
}

}  // namespace tl
