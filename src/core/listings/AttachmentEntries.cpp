#include "core/listings/AttachmentEntries.h"

#include "core/listings/CProductXml.h"
#include "core/listings/ListingPaths.h"
#include "core/listings/StoredListing.h"
#include "core/platform/ProgramDirectory.h"

namespace tl {

bool isAcceptedAttachmentEntry(const std::string& productId, const std::string& entry) {
    const std::size_t slash = entry.find('/');
    // The card is stored in the downloads folder itself, a photo in the listing's folder.
    if (slash == std::string::npos)
        return !plainFileIn(downloadsDirectory(), entry).empty() && !isXmlFileName(entry);
    return isProductId(productId) && entry.substr(0, slash) == productId &&
           !plainFileIn(downloadedAttachmentFolder(productId), entry.substr(slash + 1)).empty();
}

std::vector<std::string> downloadedAttachmentEntries(const std::string& productId,
                                                     const std::string& storedListing) {
    std::vector<std::string> entries;
    CProductXml listing;
    if (!listing.OpenDownloadedText(productId, plainListingText(storedListing))) return entries;
    while (listing.NextAttachment()) {
        std::string entry = listing.AttachmentText();
        if (isAcceptedAttachmentEntry(productId, entry)) entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace tl
