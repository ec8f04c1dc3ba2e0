#include "core/peer/ListingDownload.h"

#include <thread>
#include <utility>

#include "core/listings/AttachmentEntries.h"
#include "core/listings/FileScramble.h"
#include "core/listings/ListingPaths.h"
#include "core/listings/ServerCopy.h"
#include "core/peer/ListingOrigin.h"
#include "core/peer/PeerFileFetch.h"
#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"

namespace tl {
namespace {

// The marketplace server's copy, scrambled like every stored listing, written in one piece.
bool storeServerCopy(const std::string& productId) {
    std::optional<std::string> listing = fetchServerCopy(productId);
    if (!listing) return false;
    scrambleBytes(*listing);
    return writeFileAtomically(downloadedListingPath(productId), *listing);
}

int fetchAttachments(const PeerEndpoint& seller, const std::string& productId,
                     const DownloadSettings& settings) {
    const std::optional<std::string> stored = readWholeFile(downloadedListingPath(productId));
    if (!stored) return 0;
    const PeerFileLimits limits{settings.attachmentTimeout, settings.attachmentDeadline,
                                kLargestAttachment};
    int count = 0;
    for (const std::string& entry : downloadedAttachmentEntries(productId, *stored)) {
        const PeerFileResult result =
            fetchPeerFile(seller, attachmentRequestName(entry),
                          joinStoredName(downloadsDirectory(), entry), limits);
        if (result == PeerFileResult::Stored) ++count;
    }
    return count;
}

}  // namespace

DownloadOutcome downloadListing(const ListingSource& source, const DownloadSettings& settings) {
    const std::string& id = source.productId;
    if (!isProductId(id) || !createDirectories(downloadsDirectory())) return {};
    const PeerEndpoint seller{source.sellerAddress, settings.port, settings.localAddress,
                              settings.connectTimeout};
    const PeerFileResult listing =
        fetchPeerFile(seller, id + ".xml", downloadedListingPath(id),
                      {settings.listingTimeout, settings.listingDeadline, kLargestListing});
    if (listing != PeerFileResult::Stored) {
        if (!storeServerCopy(id)) return {};
        noteListingOrigin(downloadedListingPath(id), ListingOrigin::MarketplaceCopy);
        return {.listingPath = downloadedListingPath(id)};
    }
    noteListingOrigin(downloadedListingPath(id), ListingOrigin::Seller);
    return {.listingPath = downloadedListingPath(id),
            .fromSeller = true,
            .attachmentsStored = fetchAttachments(seller, id, settings)};
}

std::shared_ptr<DownloadCompletion> startListingDownload(ListingSource source,
                                                         DownloadSettings settings) {
    auto completion = std::make_shared<DownloadCompletion>();
    // Detached: a fetch the member cancelled runs to its end in the background.
    std::thread([completion, source = std::move(source), settings = std::move(settings)] {
        std::string path;
        try {
            path = downloadListing(source, settings).listingPath;
        } catch (...) {
            // Whatever went wrong, the wait for this fetch must end.
        }
        completion->finish(std::move(path));
    }).detach();
    return completion;
}

}  // namespace tl
