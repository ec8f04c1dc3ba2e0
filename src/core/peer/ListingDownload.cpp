#include "core/peer/ListingDownload.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <set>
#include <thread>
#include <utility>
#include <vector>

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

using Clock = std::chrono::steady_clock;

// The marketplace server's copy, scrambled like every stored listing, written in one piece.
bool storeServerCopy(const std::string& productId) {
    std::optional<std::string> listing = fetchServerCopy(productId);
    if (!listing) return false;
    scrambleBytes(*listing);
    return writeFileAtomically(downloadedListingPath(productId), *listing);
}

// One opening: its files fetched from the seller one after the other, within the opening's
// deadline and bytes, and stopped by the member's cancel. The files that arrive whole wait in
// their temporaries until putInPlace() commits them together, so that the opening waits for
// the disk about once rather than twice per file.
class Opening {
public:
    Opening(const ListingSource& source, const DownloadSettings& settings,
            const std::atomic<bool>* cancelled)
        : seller_{source.sellerAddress, settings.port, settings.localAddress,
                  settings.connectTimeout},
          settings_(settings),
          cancelled_(cancelled),
          deadline_(Clock::now() + settings.openingDeadline) {}

    bool cancelled() const { return cancelled_ && *cancelled_; }
    // True once the opening has no bytes or time left, or was cancelled.
    bool exhausted() const { return bytesLeft() == 0 || Clock::now() >= deadline_ || cancelled(); }

    // Fetches one file of at most largest bytes (and no more than the opening has left) for
    // target within the file's own bounds and the opening's deadline; its bytes are copied to
    // bytes when given.
    PeerFileResult fetch(const std::string& requestName, const std::string& target,
                         std::chrono::milliseconds idle, std::chrono::milliseconds whole,
                         std::uint32_t largest, std::string* bytes = nullptr) {
        const auto allowed =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(largest, bytesLeft()));
        ArrivedFile file;
        const PeerFileResult result = fetchUncommittedPeerFile(
            seller_, requestName, target, {idle, whole, allowed, deadline_, cancelled_}, file,
            bytes != nullptr);
        if (result != PeerFileResult::Stored) return result;
        bytesTaken_ += file.length;
        if (bytes) *bytes = std::move(file.bytes);
        arrived_.push_back({std::move(file.file), target});
        return result;
    }

    // Commits the files that arrived, the first (the listing) before the others, which are
    // dropped when it fails. All are synced before any is renamed, and each folder once after,
    // so that the disk is waited for about twice in all. Whether each is in place, in the order
    // they arrived.
    std::vector<bool> putInPlace() {
        for (Arrived& arrived : arrived_) arrived.file->sync();
        std::vector<bool> inPlace;
        std::set<std::string> folders;
        for (Arrived& arrived : arrived_) {
            const bool first = inPlace.empty();
            inPlace.push_back((first || inPlace.front()) &&
                              arrived.file->commit(AtomicFileWriter::FolderSync::ByCaller));
            if (inPlace.back())
                folders.insert(std::filesystem::path(arrived.target).parent_path().string());
        }
        arrived_.clear();
        for (const std::string& folder : folders) syncFolder(folder);
        return inPlace;
    }

private:
    struct Arrived {
        std::unique_ptr<AtomicFileWriter> file;
        std::string target;
    };

    std::uint64_t bytesLeft() const {
        return settings_.mostBytes - std::min(settings_.mostBytes, bytesTaken_);
    }

    const PeerEndpoint seller_;
    const DownloadSettings& settings_;
    const std::atomic<bool>* cancelled_;
    const Clock::time_point deadline_;
    std::uint64_t bytesTaken_ = 0;
    std::vector<Arrived> arrived_;
};

// The attachments of the listing (its bytes as stored), in order: the count skipped by the
// opening's bounds.
int fetchAttachments(Opening& opening, const std::string& productId, const std::string& listing,
                     const DownloadSettings& settings) {
    const std::vector<std::string> entries = downloadedAttachmentEntries(productId, listing);
    int skipped = 0;
    for (std::size_t i = 0; i < entries.size() && !opening.cancelled(); ++i) {
        if (i >= settings.mostEntries || opening.exhausted()) {
            ++skipped;
            continue;
        }
        const PeerFileResult result = opening.fetch(
            attachmentRequestName(entries[i]), joinStoredName(downloadsDirectory(), entries[i]),
            settings.attachmentTimeout, settings.attachmentDeadline, kLargestAttachment);
        // Too large: above what one attachment, or what is left of the opening, may bring.
        if (result != PeerFileResult::Stored &&
            (result == PeerFileResult::TooLarge || opening.exhausted()))
            ++skipped;
    }
    return skipped;
}

}  // namespace

DownloadOutcome downloadListing(const ListingSource& source, const DownloadSettings& settings,
                                const std::atomic<bool>* cancelled) {
    const std::string& id = source.productId;
    if (!isProductId(id) || !createDirectories(downloadsDirectory())) return {};
    Opening opening(source, settings, cancelled);
    std::string listing;
    int skipped = 0;
    if (opening.fetch(id + ".xml", downloadedListingPath(id), settings.listingTimeout,
                      settings.listingDeadline, kLargestListing,
                      &listing) == PeerFileResult::Stored)
        skipped = fetchAttachments(opening, id, listing, settings);
    // A cancel keeps what had come whole.
    const std::vector<bool> inPlace = opening.putInPlace();
    if (opening.cancelled()) return {};
    if (inPlace.empty() || !inPlace.front()) {
        if (!storeServerCopy(id)) return {};
        noteListingOrigin(downloadedListingPath(id), ListingOrigin::MarketplaceCopy);
        return {.listingPath = downloadedListingPath(id)};
    }
    noteListingOrigin(downloadedListingPath(id), ListingOrigin::Seller);
    return {
        .listingPath = downloadedListingPath(id),
        .fromSeller = true,
        .attachmentsStored = static_cast<int>(std::count(inPlace.begin() + 1, inPlace.end(), true)),
        .entriesSkipped = skipped};
}

std::shared_ptr<DownloadCompletion> startListingDownload(ListingSource source,
                                                         DownloadSettings settings) {
    auto completion = std::make_shared<DownloadCompletion>();
    // Detached: it ends at its next read once the member cancelled.
    std::thread([completion, source = std::move(source), settings = std::move(settings)] {
        DownloadOutcome outcome;
        try {
            outcome = downloadListing(source, settings, &completion->cancelled());
        } catch (...) {
            // Whatever went wrong, the wait for this fetch must end.
        }
        completion->finish(std::move(outcome.listingPath), outcome.entriesSkipped);
    }).detach();
    return completion;
}

}  // namespace tl
