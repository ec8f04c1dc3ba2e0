#pragma once

#include <string>

namespace tl {

enum class MessageButtons { Ok, YesNo, OkCancel };
// The desktop side maps these by their order.
enum class MessageIcon { None, Information, Exclamation, Error, Question };
enum class MessageResult { Ok, Cancel, Yes, No };

// A dialog run modally through the Ui seam. Its modal loop returns the dialog's end code.
class ModalDialog {
public:
    virtual ~ModalDialog() = default;
    virtual int runModalLoop() = 0;
};

// Dialog end codes, as the dialogs report them.
inline constexpr int kDialogOk = 1;
inline constexpr int kDialogCancel = 2;

// The one seam through which the program shows message boxes, asks questions, picks files and
// runs dialogs modally. The program installs the desktop implementation; tests script one.
class Ui {
public:
    virtual ~Ui() = default;
    virtual MessageResult messageBox(const std::string& caption, const std::string& text,
                                     MessageButtons buttons = MessageButtons::Ok,
                                     MessageIcon icon = MessageIcon::None) = 0;
    // The chosen file's full path, or empty when the member cancelled.
    virtual std::string openFileName() = 0;
    virtual int runModal(ModalDialog& dialog) = 0;
};

Ui& ui();
// Installs the seam; the caller keeps ownership. nullptr restores the built-in one, which
// answers every box with its first button and every dialog with cancel.
void setUi(Ui* seam);

}  // namespace tl
