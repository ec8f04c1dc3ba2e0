#include "core/session/ViewSwitch.h"

namespace tl {
namespace {

class SwitcherNavigator final : public Navigator {
public:
    ViewSwitcher switcher;

    void SwitchView(View view) override { switcher(static_cast<int>(view)); }
    void Back() override {}
    void setNavigationTab(Tab) override {}
    void showPane(Pane) override {}
    void printWebPages() override {}
};

SwitcherNavigator& switcherNavigator() {
    static SwitcherNavigator navigator;
    return navigator;
}

}  // namespace

void setViewSwitcher(ViewSwitcher switcher) {
    SwitcherNavigator& installed = switcherNavigator();
    installed.switcher = std::move(switcher);
    setNavigator(installed.switcher ? &installed : nullptr);
}

bool switchMainView(View view) {
    Navigator* shown = navigator();
    if (shown == nullptr) return false;
    shown->SwitchView(view);
    return true;
}

bool switchMainView(int viewNumber) {
    return switchMainView(static_cast<View>(viewNumber));
}

}  // namespace tl
