#pragma once

#include <optional>
#include <string>

namespace tl {

// The marketplace server's copy of a listing turned into a listing document for the downloads
// folder: the XML declaration, the style-sheet instruction, then the root "product" with the
// server's elements in the server's order, followed by readablemethods, an empty card and an
// empty attachment. paymentmethods then holds the readable text, and a price of "0" or "-1.0000"
// reads "Free" or "Make Offer". Nothing when the reply does not carry a listing with payment
// methods and a price (the server sends an empty payload for an unknown id).
std::optional<std::string> listingFromServerReply(const std::string& reply);

// Asks the marketplace server for its copy of the listing: the plain document as above, or
// nothing when the request failed or the reply carries no listing.
std::optional<std::string> fetchServerCopy(const std::string& productId);

}  // namespace tl
