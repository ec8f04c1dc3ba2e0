#pragma once

#include "core/platform/Ui.h"

namespace tl {

// The Ui seam on Qt: message boxes, the file-open dialog and modal runs on the desktop.
class QtUi : public Ui {
public:
    MessageResult messageBox(const std::string& caption, const std::string& text,
                             MessageButtons buttons, MessageIcon icon) override;
    std::string openFileName() override;
    int runModal(ModalDialog& dialog) override;
};

}  // namespace tl
