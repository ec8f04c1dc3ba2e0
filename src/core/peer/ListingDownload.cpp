#include "core/peer/ListingDownload.h"

#include <algorithm>
#include <filesystem>
#include <future>
#include <system_error>
#include <thread>
#include <utility>

#include "core/listings/AttachmentEntries.h"
#include "core/listings/FileScramble.h"
#include "core/listings/KeptFilesChoice.h"
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
    return writeFileAtomically(downloadedListingPath(productId), *listing, Durability::Refetchable);
}

std::uint64_t storedSize(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<std::uint64_t>(size);
}

// One opening: its files fetched from the seller one after the other, within the opening's
// deadline and bytes, and stopped by the member's cancel.
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

    // Fetches one file of at most largest bytes (and no more than the opening has left) into
    // target within the file's own bounds and the opening's deadline.
    PeerFileResult fetch(const std::string& requestName, const std::string& target,
                         std::chrono::milliseconds idle, std::chrono::milliseconds whole,
                         std::uint32_t largest) {
        const auto allowed =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(largest, bytesLeft()));
        const PeerFileResult result = fetchPeerFile(seller_, requestName, target,
                                                    {idle, whole, allowed, deadline_, cancelled_});
        if (result == PeerFileResult::Stored) bytesTaken_ += storedSize(target);
        return result;
    }

    // Settles the file the seller sent (or did not) against the marketplace's kept copy, which
    // is taken within the same bounds as the seller's file.
    FileSource settle(const KeptFilesCheck& kept, const std::string& name,
                      const std::string& target, PeerFileResult fromSeller,
                      std::chrono::milliseconds idle, std::chrono::milliseconds whole,
                      std::uint32_t largest) {
        const FileSource source =
            settleKeptFile(kept, name, target, fromSeller == PeerFileResult::Stored,
                           {std::min<std::uint64_t>(largest, bytesLeft()), idle,
                            std::min(Clock::now() + whole, deadline_), cancelled_});
        if (source == FileSource::Marketplace) bytesTaken_ += storedSize(target);
        return source;
    }

private:
    std::uint64_t bytesLeft() const {
        return settings_.mostBytes - std::min(settings_.mostBytes, bytesTaken_);
    }

    const PeerEndpoint seller_;
    const DownloadSettings& settings_;
    const std::atomic<bool>* cancelled_;
    const Clock::time_point deadline_;
    std::uint64_t bytesTaken_ = 0;
};

// The sizes the marketplace keeps for the listing and the named attachments in all; 0 unless
// it keeps every one of them.
std::uint64_t keptBytes(const KeptFilesCheck& kept, std::vector<std::string> names) {
    if (!kept.digests) return 0;
    names.push_back(keptListingName(kept.productId));
    std::uint64_t total = 0;
    for (const std::string& name : names) {
        const auto found = name.empty() ? kept.digests->end() : kept.digests->find(name);
        if (found == kept.digests->end()) return 0;
        total += found->second.size;
    }
    return total;
}

// The attachments of the stored listing, in order: the count stored and the count skipped by
// the opening's bounds. askSeller: false when the listing itself was not the seller's, so each
// attachment can come only from the marketplace's kept copy. Once the listing's attachments
// are counted, progress knows every file, the listing's own settled.
std::pair<int, int> fetchAttachments(Opening& opening, const KeptFilesCheck& kept, bool askSeller,
                                     const DownloadSettings& settings, FetchProgress& progress) {
    const std::string& productId = kept.productId;
    const std::optional<std::string> stored = readWholeFile(downloadedListingPath(productId));
    if (!stored) return {0, 0};
    const std::vector<std::string> entries = downloadedAttachmentEntries(productId, *stored);
    const std::vector<std::string> keptNames = keptEntryNames(productId, entries);
    progress.expect(static_cast<int>(entries.size()) + 1, keptBytes(kept, keptNames));
    progress.fileSettled(stored->size());
    int count = 0;
    int skipped = 0;
    for (std::size_t i = 0; i < entries.size() && !opening.cancelled(); ++i) {
        if (i >= settings.mostEntries || opening.exhausted()) {
            ++skipped;
            progress.fileSettled(0);
            continue;
        }
        const std::string target = joinStoredName(downloadsDirectory(), entries[i]);
        const PeerFileResult result =
            askSeller ? opening.fetch(attachmentRequestName(entries[i]), target,
                                      settings.attachmentTimeout, settings.attachmentDeadline,
                                      kLargestAttachment)
                      : PeerFileResult::Unreachable;
        const FileSource source =
            opening.settle(kept, keptNames[i], target, result, settings.attachmentTimeout,
                           settings.attachmentDeadline, kLargestAttachment);
        // Too large: above what one attachment, or what is left of the opening, may bring.
        if (source != FileSource::None)
            ++count;
        else if (result == PeerFileResult::TooLarge || opening.exhausted())
            ++skipped;
        progress.fileSettled(source != FileSource::None ? storedSize(target) : 0);
    }
    return {count, skipped};
}

}  // namespace

DownloadOutcome downloadListing(const ListingSource& source, const DownloadSettings& settings,
                                const std::atomic<bool>* cancelled, FetchProgress* progress) {
    const std::string& id = source.productId;
    if (!isProductId(id) || !createDirectories(downloadsDirectory())) return {};
    Opening opening(source, settings, cancelled);
    // The digests of the files the marketplace keeps, asked once, while the seller's listing
    // comes: neither waits for the other.
    auto keptDigests = std::async(
        std::launch::async, [&] { return askKeptDigests(id, cancelled, settings.listingTimeout); });
    const PeerFileResult listing =
        opening.fetch(id + ".xml", downloadedListingPath(id), settings.listingTimeout,
                      settings.listingDeadline, kLargestListing);
    const KeptFilesCheck kept{id, keptDigests.get()};
    const FileSource listingSource =
        opening.cancelled()
            ? FileSource::None
            : opening.settle(kept, keptListingName(id), downloadedListingPath(id), listing,
                             settings.listingTimeout, settings.listingDeadline, kLargestListing);
    if (opening.cancelled()) return {};
    if (listingSource == FileSource::None) {
        if (!storeServerCopy(id)) return {};
        noteListingOrigin(downloadedListingPath(id), ListingOrigin::MarketplaceCopy);
        return {.listingPath = downloadedListingPath(id)};
    }
    const bool fromSeller = listingSource == FileSource::Seller;
    noteListingOrigin(downloadedListingPath(id),
                      fromSeller ? ListingOrigin::Seller : ListingOrigin::MarketplaceKept);
    FetchProgress unwatched;
    const auto [stored, skipped] =
        fetchAttachments(opening, kept, fromSeller, settings, progress ? *progress : unwatched);
    if (opening.cancelled()) return {};
    return {.listingPath = downloadedListingPath(id),
            .fromSeller = fromSeller,
            .attachmentsStored = stored,
            .entriesSkipped = skipped};
}

std::shared_ptr<DownloadCompletion> startListingDownload(ListingSource source,
                                                         DownloadSettings settings) {
    auto completion = std::make_shared<DownloadCompletion>();
    // Detached: it ends at its next read once the member cancelled.
    std::thread([completion, source = std::move(source), settings = std::move(settings)] {
        DownloadOutcome outcome;
        try {
            outcome = downloadListing(source, settings, &completion->cancelled(),
                                      &completion->progress());
        } catch (...) {
            // Whatever went wrong, the wait for this fetch must end.
        }
        completion->finish(std::move(outcome.listingPath), outcome.entriesSkipped);
    }).detach();
    return completion;
}

}  // namespace tl
