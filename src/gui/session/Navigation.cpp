#include "gui/session/Navigation.h"

namespace tl {
namespace {
Navigator* installed = nullptr;
}

void setNavigator(Navigator* navigator) {
    installed = navigator;
}

Navigator* navigator() {
    return installed;
}

void printShownPages() {
    if (installed != nullptr) installed->printWebPages();
}

bool switchMainView(View view) {
    if (installed == nullptr) return false;
    installed->SwitchView(view);
    return true;
}

}  // namespace tl
