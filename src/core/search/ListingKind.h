#pragma once

#include <optional>
#include <string>

namespace tl {

// What a listed record is to the member, in the order of the my-listings images: wanted,
// offered for sale, sold, bought by the member, or taken off the market.
enum class ListingKind { Buying, Selling, Sold, Bought, Inactive };

// The kind as the lists show it: "buying", "selling", "sold", "bought" or "inactive".
const char* kindText(ListingKind kind);

// The kind of a listing that is on offer by its status word, compared exactly; none for any
// other status, which no result list shows.
std::optional<ListingKind> offeredKind(const std::string& status);

// The kind of one of the member's own listings by its status word: the two offered kinds,
// sold (the server spells it in capitals, older replies with only the first one) and
// inactive; none for any other spelling.
std::optional<ListingKind> ownListingKind(const std::string& status);

}  // namespace tl
