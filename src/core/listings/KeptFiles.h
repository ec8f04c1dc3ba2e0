#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tl {

// The marketplace's kept copy of a listing's files: the listing file as its seller serves it
// and each attachment, with their sizes and SHA-256 digests.

// The name the marketplace keeps a listing's file under.
std::string keptListingName(const std::string& productId);
// The kept names of a listing's attachment entries, in order: a photo ("<id>/a.jpg") by its
// file name, the card by its own. A name that two entries (or an entry and the listing file)
// would share is empty: such a file is neither sent nor checked.
std::vector<std::string> keptEntryNames(const std::string& productId,
                                        const std::vector<std::string>& entries);

struct KeptDigest {
    std::uint64_t size = 0;
    std::string sha256{};
};
using KeptDigests = std::map<std::string, KeptDigest>;  // by kept name

// The files of a listings-files reply; a record with a bad name, size or digest and records
// beyond the most one listing keeps are left out.
KeptDigests keptDigestsFromReply(const std::string& reply);

// Asks the marketplace for the digests of the listing's kept files within limit. Nothing when
// they are not kept, the marketplace lacks the page, or the request failed.
std::optional<KeptDigests> askKeptDigests(const std::string& productId,
                                          const std::atomic<bool>* abandon,
                                          std::chrono::milliseconds limit);

// Bounds on one file taken from the marketplace, like those on a file from the seller.
struct KeptFetchBounds {
    std::uint64_t largest = 0;
    std::chrono::milliseconds idle{10000};
    std::chrono::steady_clock::time_point deadline{};
    const std::atomic<bool>* cancelled = nullptr;
};

// Takes the kept file from the marketplace into target (replaced whole, or left as it was):
// true once exactly its size in bytes arrived and match its digest.
bool fetchKeptFile(const std::string& productId, const std::string& name, const KeptDigest& digest,
                   const std::string& target, const KeptFetchBounds& bounds);

}  // namespace tl
