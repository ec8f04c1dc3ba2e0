#include "core/platform/Ui.h"

#include <atomic>

namespace tl {
namespace {

class HeadlessUi : public Ui {
public:
    MessageResult messageBox(const std::string&, const std::string&, MessageButtons buttons,
                             MessageIcon) override {
        return buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
    }
    std::string openFileName() override { return {}; }
    int runModal(ModalDialog&) override { return kDialogCancel; }
};

HeadlessUi headless;
std::atomic<Ui*> installed{nullptr};

}  // namespace

Ui& ui() {
    Ui* seam = installed.load();
    return seam ? *seam : headless;
}

void setUi(Ui* seam) {
    installed = seam;
}

}  // namespace tl
