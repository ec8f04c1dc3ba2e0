#include "core/listings/ListingOperations.h"

#include <charconv>
#include <optional>

#include "core/listings/CProductXml.h"
#include "core/listings/ListingPaths.h"
#include "core/platform/Ui.h"
#include "core/service/Endpoints.h"
#include "core/service/MarketContract.h"
#include "core/service/ServiceRequest.h"

namespace tl {
namespace {

// "%.3f" with a point as separator, whatever the process locale says.
std::string priceWithThreeDecimals(float price) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, price, std::chars_format::fixed, 3);
    return std::string(text, result.ptr);
}

// The kind stored in the member's own listing file.
std::optional<std::string> storedKind(const std::string& productId) {
    CProductXml listing;
    if (!isProductId(productId) || !listing.OpenOwn(productId)) return std::nullopt;
    try {
        std::string kind = listing.GetStatus();
        if (kind == contract::kSelling || kind == contract::kBuying) return kind;
    } catch (const MissingListingField&) {
    }
    return std::nullopt;
}

// Sends a change to one of the member's listings. The reply is read for a refusal only: the
// marketplace answers "-1" when the change does not come from the computer its owner is logged in
// on; any other reply, an empty one included, counts as done.
int sendListingChange(const Query& change, const std::string& productId) {
    try {
        if (requestText(change, Credentials::None) != "-1") return 1;
    } catch (const RequestError&) {
        showNetworkError();
        return 0;
    }
    ui().messageBox("Not Changed", "Item " + productId +
                                       " was not changed: the marketplace takes changes to a "
                                       "listing only from the computer its owner is logged in on.");
    return 0;
}

}  // namespace

// The sale goes out as a notification, without credentials, but its reply is read: the server
// answers "0" only when it marked the listing sold, and "-1" (or nothing) when it refused.
int Sell(const std::string& productId, const std::string& buyer, const std::string& seller,
         float price) {
    const Query sale = endpoints::sell(productId, buyer, seller, priceWithThreeDecimals(price));
    try {
        return requestText(sale, Credentials::None) == "0" ? 1 : 0;
    } catch (const RequestError&) {
        showNetworkError();
        return 0;
    }
}

int IsProductSold(const std::string& productId) {
    const std::optional<std::string> reply =
        requestTextOrReport(endpoints::isProductSold(productId));
    if (!reply) return 1;
    if (*reply != "-1") return 0;
    ui().messageBox("Message", "This Item cannot be Sold");
    return 1;
}

int AddFavorite(const std::string& productId, const std::string& user) {
    const std::optional<std::string> reply =
        requestTextOrReport(endpoints::addFavorite(productId, user));
    if (!reply) return 0;
    // The server answers "1" only when it stored the favourite.
    if (*reply != "1") {
        ui().messageBox("Product Not Added",
                        "Product " + productId + " could not be added to Favorites");
        return 0;
    }
    ui().messageBox("Product Added", "Product " + productId + " successfully added to Favorites");
    return 1;
}

int IsInFavorite(const std::string& productId, const std::string& user) {
    const std::optional<std::string> reply =
        requestTextOrReport(endpoints::isInFavorite(productId, user));
    if (!reply) return 0;
    if (*reply != "-1") return 1;
    const MessageResult answer = ui().messageBox(
        "Message", "This Item is already in your Favorites, Do you want to Overwrite",
        MessageButtons::YesNo);
    return answer == MessageResult::Yes ? 1 : 0;
}

int RemoveFavorite(const std::string& productId, const std::string& user) {
    return sendNotificationOrReport(endpoints::removeFavorite(productId, user));
}

int Remove(const std::string& productId) {
    return sendListingChange(endpoints::remove(productId), productId);
}

int Inactivate(const std::string& productId) {
    return sendListingChange(endpoints::inactivate(productId), productId);
}

int Reactivate(const std::string& productId) {
    const std::optional<std::string> kind = storedKind(productId);
    if (!kind) {
        const std::string text =
            "Item " + productId + " cannot be read from your listings, so it was not activated.";
        ui().messageBox(kListingNotReadCaption, text);
        return 0;
    }
    return sendListingChange(endpoints::reactivate(productId, *kind), productId);
}

int LogOff(const std::string& user) {
    return sendNotificationOrReport(endpoints::logOff(user));
}

}  // namespace tl
