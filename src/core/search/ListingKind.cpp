#include "core/search/ListingKind.h"

#include "core/service/MarketContract.h"

namespace tl {

const char* kindText(ListingKind kind) {
    switch (kind) {
        case ListingKind::Buying:
            return "buying";
        case ListingKind::Selling:
            return "selling";
        case ListingKind::Sold:
            return "sold";
        case ListingKind::Bought:
            return "bought";
        case ListingKind::Inactive:
            return "inactive";
    }
    return "";
}

std::optional<ListingKind> offeredKind(const std::string& status) {
    if (status == contract::kSelling) return ListingKind::Selling;
    if (status == contract::kBuying) return ListingKind::Buying;
    return std::nullopt;
}

std::optional<ListingKind> ownListingKind(const std::string& status) {
    if (const std::optional<ListingKind> offered = offeredKind(status)) return offered;
    if (status == contract::kSold || status == "Sold") return ListingKind::Sold;
    if (status == contract::kInactive) return ListingKind::Inactive;
    return std::nullopt;
}

}  // namespace tl
