#pragma once

#include <optional>
#include <string>

namespace tl {

// MarketplaceKept: the files the marketplace keeps, checked against their digests, photos too.
enum class ListingOrigin { Seller, MarketplaceKept, MarketplaceCopy };

// Where the stored copy of a downloaded listing came from, so that it can be shown with the
// listing: the seller's computer (with the photos), the marketplace's kept files (with them)
// or the marketplace server's copy (without).
// Kept while the program runs; any thread may note or ask. A file not downloaded in this run
// has no origin.
void noteListingOrigin(const std::string& listingPath, ListingOrigin origin);
std::optional<ListingOrigin> listingOrigin(const std::string& listingPath);

}  // namespace tl
