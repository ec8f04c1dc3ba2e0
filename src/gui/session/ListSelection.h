#pragma once

#include <string>

namespace tl {

// The row last chosen in a result list, read by the buttons beside the lists. The quick-search
// and favourites lists write the "selected" values, the advanced search form the "advanced"
// ones; they keep their values until another row is chosen. Written and read on the
// user-interface thread only.
struct ListSelection {
    std::string selectedProductId;
    std::string selectedSellerAddress;  // the poster's address, empty while offline
    std::string selectedSellerName;
    std::string selectedItemTitle;
    std::string selectedFavoriteId;  // the favourite the favourites pane removes
    std::string advancedProductId;
    std::string advancedSellerAddress;
    // The member's own listing chosen on the my-listings screen; its buttons and the edit form
    // read it. Empty when nothing is chosen.
    std::string selectedListingId;
};

// Defined here, so that the test guards of session values can reset it without the GUI library.
inline ListSelection& listSelection() {
    static ListSelection selection;
    return selection;
}

}  // namespace tl
