#pragma once

#include <functional>

namespace tl {

// How screens ask the main frame to show the pane set of a view number. The main frame
// installs the switcher when it is made and removes it (with an empty function) when it goes.
using ViewSwitcher = std::function<void(int viewNumber)>;
void setViewSwitcher(ViewSwitcher switcher);

// Shows the view through the main frame; false (and nothing shown) while there is no frame.
bool switchMainView(int viewNumber);

}  // namespace tl
