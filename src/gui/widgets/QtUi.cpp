#include "gui/widgets/QtUi.h"
#include "core/platform/NonCopyable.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace tl {
namespace {

// The box icons in the order of MessageIcon.
constexpr QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                        QMessageBox::Warning, QMessageBox::Critical,
                                        QMessageBox::Question};

MessageResult resultOf(int button) {
    if (button == QMessageBox::Yes) return MessageResult::Yes;
    if (button == QMessageBox::No) return MessageResult::No;
    if (button == QMessageBox::Cancel) return MessageResult::Cancel;
    return MessageResult::Ok;
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
    QMessageBox box(kIcons[static_cast<int>(icon)], QString::fromStdString(caption),
                    QString::fromStdString(text), shown, QApplication::activeWindow());
    const NormalCursor pointer;
    return resultOf(box.exec());
}

std::string QtUi::openFileName() {
    return QFileDialog::getOpenFileName(QApplication::activeWindow()).toStdString();
}

int QtUi::runModal(ModalDialog& dialog) {
    return dialog.runModalLoop();
}

}  // namespace tl
