#include "gui/search/ListingOpening.h"

#include <utility>

#include "core/listings/ListingOperations.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/Ui.h"
#include "core/session/Session.h"
#include "gui/session/Navigation.h"

namespace tl {
namespace {

ListingDownload& download() {
    static ListingDownload installed;
    return installed;
}

bool& fetching() {
    static bool running = false;
    return running;
}

struct FetchRunning {
    FetchRunning() { fetching() = true; }
    ~FetchRunning() { fetching() = false; }
};

ContactDialog& contactDialog() {
    static ContactDialog installed;
    return installed;
}

}  // namespace

void setListingDownload(ListingDownload installed) {
    download() = std::move(installed);
}

bool canDownloadListings() {
    return static_cast<bool>(download());
}

void setContactDialog(ContactDialog dialog) {
    contactDialog() = std::move(dialog);
}

void showContactDialog() {
    if (contactDialog()) contactDialog()();
}

void tellListingNotOpened() {
    ui().messageBox("Listing Not Opened",
                    "The listing could not be opened: the seller's computer did not send it, and "
                    "the marketplace has no copy of it. The seller may be offline, or the listing "
                    "may have been removed.",
                    MessageButtons::Ok, MessageIcon::Exclamation);
}

void showDownloadedListing(const std::string& productId) {
    session().webAddress = downloadsDirectory() + productId + ".xml";
    switchMainView(View::WebPane);
}

bool isFetchingListing() {
    return fetching();
}

bool fetchListing(const std::string& productId, const std::string& sellerAddress) {
    // The download dialog keeps events flowing: a second request meanwhile starts nothing.
    if (!canDownloadListings() || fetching()) return false;
    std::string shown =
        std::exchange(session().webAddress, downloadsDirectory() + productId + ".xml");
    bool downloaded = false;
    {
        FetchRunning running;
        downloaded = download()(productId, sellerAddress);
    }
    // Without a new file the web pane would show an older copy as if it had just arrived.
    if (!downloaded) {
        session().webAddress = std::move(shown);
        return false;
    }
    switchMainView(View::WebPane);
    return true;
}

void fetchAndAddFavorite(std::string productId, std::string sellerAddress) {
    if (!canDownloadListings()) return;
    const std::string user = session().currentUserName;
    if (IsInFavorite(productId, user) == 0) return;
    if (fetchListing(productId, sellerAddress))
        AddFavorite(productId, user);
    else
        ui().messageBox("User Not Accessable", "Cannot Add to Favorites");
}

}  // namespace tl
