#include "core/session/Navigation.h"

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

}  // namespace tl
