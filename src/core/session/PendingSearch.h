#pragma once

#include <string>

namespace tl {

// The search the quick-search bar hands to the result view, which runs it the next time it is
// shown. Written and read on the user-interface thread only.
struct PendingSearch {
    int flag = 0;        // 1 while a search waits to be run
    std::string text;    // the criteria typed
    std::string status;  // "SELLING", "BUYING" or "BOTH"
};

PendingSearch& pendingSearch();

}  // namespace tl
