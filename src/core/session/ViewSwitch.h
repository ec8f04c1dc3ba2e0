#pragma once

#include <functional>

#include "core/session/Navigation.h"

namespace tl {

// Shows the view through the main window; false (and nothing shown) while there is none.
bool switchMainView(View view);
bool switchMainView(int viewNumber);

// Installs a navigator that hands every view switch to the function as its view number and
// ignores the other requests; an empty function removes the installed navigator. For screens
// that run without a main window.
using ViewSwitcher = std::function<void(int viewNumber)>;
void setViewSwitcher(ViewSwitcher switcher);

}  // namespace tl
