#include "gui/search/ListingOpening.h"

#include <utility>

#include "core/platform/ProgramDirectory.h"
#include "core/session/Navigation.h"
#include "core/session/Session.h"

namespace tl {
namespace {

ListingDownload& download() {
    static ListingDownload installed;
    return installed;
}

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

void showDownloadedListing(const std::string& productId) {
    session().webAddress = downloadsDirectory() + productId + ".xml";
    switchMainView(View::WebPane);
}

bool fetchListing(const std::string& productId, const std::string& sellerAddress) {
    if (!canDownloadListings()) return false;
    session().webAddress = downloadsDirectory() + productId + ".xml";
    const bool downloaded = download()(productId, sellerAddress);
    switchMainView(View::WebPane);
    return downloaded;
}

}  // namespace tl
