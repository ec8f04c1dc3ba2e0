#include "ListingRoutes.h"

#include "MarketPages.h"
#include "MarketReplies.h"
#include "ReachabilityCheck.h"
#include "RequestValues.h"

namespace tl::market {
namespace {

Listing listingFromRequest(const Request& req) {
    Listing l;
    // The shipping key is sent twice with the same value; either serves.
    readParams(req,
               {&l.titlebar, &l.description, &l.shipping, &l.zipcode, &l.quantity, &l.shippingpay,
                &l.owner, &l.category1, &l.category2, &l.kind, &l.paymentterms, &l.paymentmethods,
                &l.escrow, &l.price},
               {key::kTitle, key::kDescription, key::kShipping, key::kZipCode, key::kQuantity,
                key::kShippingPay, key::kUsername, key::kCategory1, key::kCategory2, key::kStatus,
                key::kPaymentTerms, key::kPaymentMethods, key::kEscrow, key::kPrice});
    return l;
}

}  // namespace

void ListingRoutes::addTo(RouteTable& routes) {
    addRoute(routes, page::kNewProduct, this, &ListingRoutes::newProduct);
    addRoute(routes, page::kEditProduct, this, &ListingRoutes::editProduct);
    addRoute(routes, page::kAddFileSize, this, &ListingRoutes::addFileSize);
    addRoute(routes, page::kOfflineItem, this, &ListingRoutes::offlineItem);
    addRoute(routes, page::kGetItem, this, &ListingRoutes::getItem);
    addRoute(routes, page::kRemove, this, &ListingRoutes::remove);
    addRoute(routes, page::kInactivate, this, &ListingRoutes::inactivate);
    addRoute(routes, page::kReactivate, this, &ListingRoutes::reactivate);
    addRoute(routes, page::kIsProductSold, this, &ListingRoutes::isProductSold);
    addRoute(routes, page::kSell, this, &ListingRoutes::sell);
    addRoute(routes, page::kReachable, this, &ListingRoutes::reachable);
}

ListingRoutes::Owned ListingRoutes::ownedListing(const Request& req,
                                                 std::optional<Listing>& listing) {
    listing = store_.listing(productId(req));
    if (!listing) return Owned::Unknown;
    return fromMember(store_, req, listing->owner) ? Owned::Yes : Owned::Refused;
}

void ListingRoutes::newProduct(const Request& req, Response& res) {
    const auto id = store_.addListing(listingFromRequest(req));
    plain(res, id ? std::to_string(*id) : "-1");
}

void ListingRoutes::editProduct(const Request& req, Response& res) {
    std::optional<Listing> stored;
    if (ownedListing(req, stored) != Owned::Yes) return plain(res, "-1");
    Listing l = listingFromRequest(req);
    l.productid = stored->productid;
    plain(res, store_.editListing(l) ? "0" : "-1");
}

void ListingRoutes::addFileSize(const Request& req, Response& res) {
    const auto kilobytes = wholeNumber(param(req, key::kFileSize));
    std::optional<Listing> listing;
    if (!kilobytes || ownedListing(req, listing) == Owned::Refused) return plain(res, "-1");
    store_.setFileSize(productId(req), *kilobytes);
    plain(res, "0");
}

void ListingRoutes::offlineItem(const Request& req, Response& res) {
    const auto listing = store_.listing(productId(req));
    const auto owner = listing ? store_.member(listing->owner) : std::nullopt;
    if (!listing || !owner) return xml(res, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<item/>");
    xml(res, offlineItemDocument(*listing, *owner));
}

void ListingRoutes::getItem(const Request& req, Response& res) {
    const auto listing = store_.listing(productId(req, key::kItemNumber));
    xml(res, wrappedReply(requestHost(req), listing ? itemPayload(*listing) : ""));
}

void ListingRoutes::remove(const Request& req, Response& res) {
    std::optional<Listing> listing;
    const Owned owned = ownedListing(req, listing);
    if (owned == Owned::Yes) store_.removeListing(listing->productid);
    plain(res, owned == Owned::Refused ? "-1" : "0");
}

void ListingRoutes::inactivate(const Request& req, Response& res) {
    std::optional<Listing> listing;
    const Owned owned = ownedListing(req, listing);
    if (owned == Owned::Yes) store_.inactivate(listing->productid);
    plain(res, owned == Owned::Refused ? "-1" : "0");
}

void ListingRoutes::reactivate(const Request& req, Response& res) {
    std::optional<Listing> listing;
    const Owned owned = ownedListing(req, listing);
    if (owned == Owned::Yes) store_.reactivate(listing->productid, param(req, key::kStatus));
    plain(res, owned == Owned::Refused ? "-1" : "0");
}

void ListingRoutes::isProductSold(const Request& req, Response& res) {
    const auto listing = store_.listing(productId(req));
    plain(res, listing && listing->state == "ACTIVE" ? "0" : "-1");
}

void ListingRoutes::sell(const Request& req, Response& res) {
    std::optional<Listing> listing;
    if (ownedListing(req, listing) != Owned::Yes) return plain(res, "-1");
    const std::int64_t id = listing->productid;
    const std::string buyer = param(req, key::kUserBought);
    if (!store_.sell(id, buyer, param(req, key::kPrice))) return plain(res, "-1");
    Message note;
    // The owner was proven by the address; the sender value sent along could name anyone.
    note.sender = listing->owner;
    note.recipient = buyer;
    note.productid = std::to_string(id);
    note.title = "Sold: " + listing->titlebar;
    note.price = param(req, key::kPrice);
    note.body = "Item #" + note.productid + " (" + listing->titlebar + ") was sold to you.";
    store_.addMessage(note);
    plain(res, "0");
}

// "1" when the requester's listing server accepts a connection from here, else "0".
void ListingRoutes::reachable(const Request& req, Response& res) {
    switch (reachability_.check(req.remote_addr)) {
        case ReachabilityCheck::Answer::Reachable:
            return plain(res, "1");
        case ReachabilityCheck::Answer::Unreachable:
            return plain(res, "0");
        case ReachabilityCheck::Answer::Busy:
            res.set_header("Retry-After", "5");
            return html(res,
                        pages::failure(503,
                                       "Your address is being checked already, or too many "
                                       "addresses are. Please try again shortly."),
                        503);
    }
}

}  // namespace tl::market
