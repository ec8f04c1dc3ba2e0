#include "gui/widgets/CPriceEdit.h"

#include <QKeyEvent>

namespace tl {
namespace {
constexpr char kRefusedSymbols[] = "`~!@#$%^&*()_+-|=\\[];',/{}:<>?";
}

CPriceEdit::CPriceEdit(QWidget* parent) : QLineEdit(parent) {}

bool CPriceEdit::isRefusedCharacter(QChar typed) {
    const char16_t code = typed.unicode();
    if ((code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z')) return true;
    for (const char* symbol = kRefusedSymbols; *symbol != '\0'; ++symbol)
        if (code == static_cast<char16_t>(*symbol)) return true;
    return false;
}

void CPriceEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (typed.size() == 1 && typed[0].isPrint()) {
        if (isRefusedCharacter(typed[0])) return event->accept();
        if (typed[0] == '.') {
            QString outside = text();
            if (hasSelectedText()) outside.remove(selectionStart(), selectedText().size());
            if (outside.contains('.')) return event->accept();
        }
    }
    QLineEdit::keyPressEvent(event);
}

}  // namespace tl
