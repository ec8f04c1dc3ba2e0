#pragma once

#include "RouteSupport.h"

namespace tl::market {

class ReferenceLists;

// The lists: the reference lists and the listing style sheet, search, a member's listings,
// favourites and bought items, and the favourites' changes.
class ListRoutes {
public:
    ListRoutes(MarketStore& store, ReferenceLists& lists) : store_(store), lists_(lists) {}
    void addTo(RouteTable& routes);
    // Serves a GET of a published reference-list file; false when the request names none.
    bool listFile(const Request& req, Response& res);

private:
    void currentWordList(const Request& req, Response& res);
    void currentCategoryList(const Request& req, Response& res);
    void styleSheet(const Request& req, Response& res);
    void myListings(const Request& req, Response& res);
    void search(const Request& req, Response& res);
    void advancedSearch(const Request& req, Response& res);
    void favourites(const Request& req, Response& res);
    void bought(const Request& req, Response& res);
    void addFavourite(const Request& req, Response& res);
    void isInFavourite(const Request& req, Response& res);
    void removeFavourite(const Request& req, Response& res);

    MarketStore& store_;
    ReferenceLists& lists_;
};

}  // namespace tl::market
