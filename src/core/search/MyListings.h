#pragma once

#include <optional>
#include <string>

#include "core/search/ResultQuery.h"

namespace tl {

// The member's own listings in every state: "Selling", "Buying", "SOLD" and "INACTIVE".
class MyListingsQuery : public ResultQuery {
public:
    explicit MyListingsQuery(const std::string& user);

    using ResultQuery::GetFilesize;
    using ResultQuery::GetFileskept;
    using ResultQuery::GetPrice;
    using ResultQuery::GetProductid;
    using ResultQuery::GetStatus;
    using ResultQuery::GetTitlebar;
};

// Whether the marketplace keeps a listing's files, by the record's fileskept field: "Kept",
// "Not kept", or "" when the record has no such field (a marketplace that keeps none).
const char* filesKeptText(const std::string& fileskept);

// The kinds of row of the my-listings list, in the order of the list's images.
enum class MyListingKind { Buying, Selling, Sold, Bought, Inactive };

// The kind as the list shows it: "buying", "selling", "sold", "bought" or "inactive".
const char* kindText(MyListingKind kind);

// The row kind of one of the member's own listings by its state; none for a state the list
// does not show (the server spells sold "SOLD", older replies "Sold"; any other case is not
// listed).
std::optional<MyListingKind> ownListingKind(const std::string& status);

}  // namespace tl
