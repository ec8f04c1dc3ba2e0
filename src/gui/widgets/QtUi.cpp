#include "gui/widgets/QtUi.h"
#include "core/platform/NonCopyable.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace tl {
namespace {

QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// Shows the normal pointer while a box waits for the member, also over a wait cursor.
class NormalCursor : NonCopyable {
public:
    NormalCursor() : covering_(QApplication::overrideCursor() != nullptr) {
        if (covering_) QApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~NormalCursor() {
        if (covering_) QApplication::restoreOverrideCursor();
    }

private:
    const bool covering_;
};

}  // namespace

MessageResult QtUi::messageBox(const std::string& caption, const std::string& text,
                               MessageButtons buttons, MessageIcon icon) {
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    if (buttons == MessageButtons::YesNo) shown = QMessageBox::Yes | QMessageBox::No;
    if (buttons == MessageButtons::OkCancel) shown = QMessageBox::Ok | QMessageBox::Cancel;
    QMessageBox box(qtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    shown, QApplication::activeWindow());
    const NormalCursor pointer;
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MessageResult::Yes;
        case QMessageBox::No:
            return MessageResult::No;
        case QMessageBox::Cancel:
            return MessageResult::Cancel;
        default:
            return MessageResult::Ok;
    }
}

std::string QtUi::openFileName() {
    return QFileDialog::getOpenFileName(QApplication::activeWindow()).toStdString();
}

int QtUi::runModal(ModalDialog& dialog) {
    return dialog.runModalLoop();
}

}  // namespace tl
