#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "core/peer/DownloadCompletion.h"
#include "core/peer/TransferProtocol.h"
#include "core/platform/ServerHost.h"

namespace tl {

// The listing a member opens, as a search result row gives it.
struct ListingSource {
    std::string productId;
    std::string sellerAddress;
};

struct DownloadSettings {
    int port = kTransferPort;
    std::string localAddress = bindAddress();
    std::chrono::milliseconds connectTimeout{4000};
    // Longest wait for the seller in one receive or send.
    std::chrono::milliseconds listingTimeout{10000};
    std::chrono::milliseconds attachmentTimeout{30000};
    // Longest time for a whole file, so a seller cannot trickle for ever.
    std::chrono::milliseconds listingDeadline{std::chrono::minutes(2)};
    std::chrono::milliseconds attachmentDeadline{std::chrono::minutes(10)};
    // Bounds on one opening, the listing included: attachment entries beyond them are skipped.
    std::size_t mostEntries = 32;
    std::uint64_t mostBytes = 256ull << 20;
    std::chrono::milliseconds openingDeadline{std::chrono::minutes(15)};
};

inline constexpr std::uint32_t kLargestListing = 16u << 20;
inline constexpr std::uint32_t kLargestAttachment = 64u << 20;

struct DownloadOutcome {
    std::string listingPath;  // downloads/<id>.xml when a listing was stored, else empty
    bool fromSeller = false;  // false: the marketplace server's copy
    int attachmentsStored = 0;
    int entriesSkipped = 0;  // left out by the bounds on one opening
};

// Fetches the listing from the seller's listing server into downloads/<id>.xml, stored
// scrambled as the seller keeps it, then each accepted attachment entry on a connection of its
// own, one after the other. When the listing does not arrive whole from the seller (unreachable,
// nothing served, broken, too large), the marketplace server's copy is stored instead, scrambled,
// without attachments. A product id that is not digits fetches nothing. Entries beyond the
// most entries, beyond the most bytes in all, or left when the opening's deadline passes are
// skipped. When cancelled (if given) is raised the fetch stops at its next read, keeping nothing
// of the file under way, and returns nothing (no marketplace copy is fetched instead). Progress
// (if given) learns the files once the listing is in, then each file as it is settled.
DownloadOutcome downloadListing(const ListingSource& source, const DownloadSettings& settings,
                                const std::atomic<bool>* cancelled = nullptr,
                                FetchProgress* progress = nullptr);

// Runs downloadListing on a worker thread of its own. The worker catches everything and always
// finishes the completion it returns; nothing of it touches the user interface. The
// completion's cancel() stops it.
std::shared_ptr<DownloadCompletion> startListingDownload(ListingSource source,
                                                         DownloadSettings settings);

}  // namespace tl
