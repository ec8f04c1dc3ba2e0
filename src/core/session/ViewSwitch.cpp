#include "core/session/ViewSwitch.h"

namespace tl {
namespace {
ViewSwitcher& installed() {
    static ViewSwitcher switcher;
    return switcher;
}
}  // namespace

void setViewSwitcher(ViewSwitcher switcher) {
    installed() = std::move(switcher);
}

bool switchMainView(int viewNumber) {
    if (!installed()) return false;
    installed()(viewNumber);
    return true;
}

}  // namespace tl
