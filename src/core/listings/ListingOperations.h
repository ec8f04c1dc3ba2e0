#pragma once

#include <string>

namespace tl {

// The listing and favourite operations. Each is one request to the marketplace server; every
// message it shows goes through the UI seam. Results: 1 for done or yes, 0 for failed or no.

// Marks the seller's listing sold to buyer at price. The price goes out with three decimals and
// a point, whatever the locale. 1 when the server accepted the sale; 0 when it refused it, or
// after "Connection Error" when it could not be reached.
int Sell(const std::string& productId, const std::string& buyer, const std::string& seller,
         float price);

// 1 when the item cannot be sold ("This Item cannot be Sold" box) or the request failed
// ("Error" box); 0 when the sale may go ahead.
int IsProductSold(const std::string& productId);

// 1 when the server stored the favourite ("Product Added" box); 0 when it refused it
// ("Product Not Added" box) or the request failed ("Error" box).
int AddFavorite(const std::string& productId, const std::string& user);

// 1 to go ahead and add the favourite; when it is one already, the member is asked whether to
// overwrite it and No gives 0. A failed request gives 0 after the "Error" box.
int IsInFavorite(const std::string& productId, const std::string& user);

// A notification whose reply is not read: 1 when sent; 0 after the "Connection Error" box.
int RemoveFavorite(const std::string& productId, const std::string& user);
// Changes to one of the member's listings: 1 when done; 0 after the "Connection Error" box, or
// after a "Not Changed" box when the marketplace refused the change (it was not sent from the
// computer the owner is logged in on).
int Remove(const std::string& productId);
int Inactivate(const std::string& productId);
// Makes the listing active again with the kind ("Selling" or "Buying") stored in the member's
// own listing file. A listing that cannot be read sends nothing and gives 0 after the
// "Listing Not Read" box.
inline constexpr char kListingNotReadCaption[] = "Listing Not Read";
int Reactivate(const std::string& productId);

// Tells the server the member has left. 1 when sent; 0 after the "Connection Error" box.
int LogOff(const std::string& user);

}  // namespace tl
