#pragma once

#include <optional>
#include <string>

namespace tl {

// The listing choices a member makes once and finds again on the next new listing. They are
// kept as a listing document, products/<user>Remembered.xml, scrambled like the listings (one
// stored plain by an earlier version is read as it is) and never handed out by the listing
// server, with every other listing field empty.
struct RememberedDefaults {
    std::string shippingpay, shipping, paymentmethods, escrow, hyperlink, card;
};

// 1 when the document was written; a failure is reported by the listing document.
int SaveRememberedDefaults(const std::string& userName, const RememberedDefaults& defaults);
// The member's remembered choices, or nothing when none are stored or the file is no listing.
std::optional<RememberedDefaults> LoadRememberedDefaults(const std::string& userName);

}  // namespace tl
