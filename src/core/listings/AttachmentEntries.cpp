#include "core/listings/AttachmentEntries.h"

#include <algorithm>
#include <cctype>

#include "core/listings/CProductXml.h"
#include "core/listings/FileScramble.h"
#include "core/listings/ListingPaths.h"
#include "core/platform/ProgramDirectory.h"

namespace tl {
namespace {

bool endsWithXml(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return name.size() >= 4 && name.compare(name.size() - 4, 4, ".xml") == 0;
}

}  // namespace

bool isAcceptedAttachmentEntry(const std::string& productId, const std::string& entry) {
    const std::size_t slash = entry.find('/');
    // The card is stored in the downloads folder itself, a photo in the listing's folder.
    if (slash == std::string::npos)
        return !plainFileIn(downloadsDirectory(), entry).empty() && !endsWithXml(entry);
    return isProductId(productId) && entry.substr(0, slash) == productId &&
           !plainFileIn(downloadedAttachmentFolder(productId), entry.substr(slash + 1)).empty();
}

std::vector<std::string> downloadedAttachmentEntries(const std::string& productId,
                                                     std::string scrambledListing) {
    scrambleBytes(scrambledListing);
    std::vector<std::string> entries;
    CProductXml listing;
    if (!listing.OpenDownloadedText(productId, scrambledListing)) return entries;
    while (listing.NextAttachment()) {
        std::string entry = listing.AttachmentText();
        if (isAcceptedAttachmentEntry(productId, entry)) entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace tl
