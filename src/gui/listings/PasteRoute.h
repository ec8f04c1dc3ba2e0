#pragma once

#include <QClipboard>

#include <functional>

class QLineEdit;
class QPlainTextEdit;

namespace tl {

// Hands every paste into a text box to paste instead of the box's own: the paste keys (Ctrl+V,
// Shift+Insert), Paste on the box's context menu and, where the system has a selection
// clipboard, the middle mouse button (which pastes the selection).
using PasteCommand = std::function<void(QClipboard::Mode)>;
void routePastes(QLineEdit* box, PasteCommand paste);
void routePastes(QPlainTextEdit* box, PasteCommand paste);

}  // namespace tl
