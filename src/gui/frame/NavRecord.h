#pragma once

#include <string>

#include "gui/session/Navigation.h"

namespace tl {

// One entry of the main window's navigation history.
struct NavRecord {
    Tab tab = Tab::Home;  // navigation tab to select when the entry is revisited
    View view = View::WebPane;
    std::string address;  // for the web pane: the web address it showed
    int spare = 0;        // copied with the record, otherwise unused

    bool operator==(const NavRecord&) const = default;
};

}  // namespace tl
