#pragma once

#include <optional>

#include "MarketStore.h"
#include "RouteSupport.h"

namespace tl::market {

class ReachabilityCheck;

// The pages of one listing: publishing, editing, removing, (in)activating and selling it, which
// only its owner may do, and reading it; and whether a member's listings can be fetched from
// the member's machine.
class ListingRoutes {
public:
    ListingRoutes(MarketStore& store, ReachabilityCheck& reachability)
        : store_(store), reachability_(reachability) {}
    void addTo(RouteTable& routes);

private:
    // The listing a change request names, when it comes from its owner's address. An unknown
    // listing answers as before (nothing to change); another member's listing is refused.
    enum class Owned { Unknown, Refused, Yes };
    Owned ownedListing(const Request& req, std::optional<Listing>& listing);

    void newProduct(const Request& req, Response& res);
    void editProduct(const Request& req, Response& res);
    void addFileSize(const Request& req, Response& res);
    void offlineItem(const Request& req, Response& res);
    void getItem(const Request& req, Response& res);
    void remove(const Request& req, Response& res);
    void inactivate(const Request& req, Response& res);
    void reactivate(const Request& req, Response& res);
    void isProductSold(const Request& req, Response& res);
    void sell(const Request& req, Response& res);
    void reachable(const Request& req, Response& res);

    MarketStore& store_;
    ReachabilityCheck& reachability_;
};

}  // namespace tl::market
