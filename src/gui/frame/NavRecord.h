#pragma once

#include <string>

namespace tl {

// One entry of the main window's navigation history.
struct NavRecord {
    int tab = 0;          // navigation tab to select when the entry is revisited
    int view = 0;         // view number
    std::string address;  // for view number 4: the web address the web pane showed
    int spare = 0;        // copied with the record, otherwise unused

    bool operator==(const NavRecord&) const = default;
};

}  // namespace tl
