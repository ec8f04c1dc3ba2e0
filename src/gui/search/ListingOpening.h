#pragma once

#include <functional>
#include <string>

namespace tl {

// What the search screens need from screens and services that plug in from elsewhere: the
// download of a listing from its poster and the contact dialog. Until one is plugged in, the
// actions that need it do nothing at all.

// Downloads the listing from the poster's address (the server's copy when the poster cannot be
// reached) into the downloads folder; returns when it is done or the member cancelled it.
// False when it failed.
using ListingDownload =
    std::function<bool(const std::string& productId, const std::string& sellerAddress)>;
void setListingDownload(ListingDownload download);
bool canDownloadListings();

// Shows the contact dialog for the selected product modally.
using ContactDialog = std::function<void()>;
void setContactDialog(ContactDialog dialog);
// Shows it when there is one.
void showContactDialog();

// Tells the member that a listing could not be opened because neither the seller's computer nor
// the marketplace copy gave it.
void tellListingNotOpened();

// Shows the copy of the listing in the downloads folder in the web pane.
void showDownloadedListing(const std::string& productId);

// Downloads the listing and shows it in the web pane. False, showing nothing, when the download
// failed or was cancelled, there is no download to run or another one is running.
bool fetchListing(const std::string& productId, const std::string& sellerAddress);
bool isFetchingListing();

// Adds the listing to the member's favourites once it has been fetched from its poster: asks
// first when it is a favourite already, and tells the member when the poster cannot be reached.
// Nothing happens while there is no download to run. The values are copied: the selection they
// come from may change while the listing is fetched.
void fetchAndAddFavorite(std::string productId, std::string sellerAddress);

}  // namespace tl
