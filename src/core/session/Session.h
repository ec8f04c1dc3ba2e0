#pragma once

#include <string>

namespace tl {

// The process-wide values of the logged-in member. They are written on the user-interface
// thread only; worker threads are handed their own copies.
struct Session {
    std::string currentUserName;
    std::string currentPassword;
    std::string wordListFileName;
    std::string categoryFileName;
    std::string webAddress;      // what the web pane shows next
    std::string cardFileName;    // the member's business-card file in the products folder
    std::string connectionType;  // the member's own connection type, from the user document

    // The row last chosen in a result list, read by the buttons beside the lists. The
    // quick-search and favourites lists write the "selected" values, the advanced search form
    // the "advanced" ones; they keep their values until another row is chosen.
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

Session& session();

}  // namespace tl
