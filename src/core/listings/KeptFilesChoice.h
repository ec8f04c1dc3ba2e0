#pragma once

#include <optional>
#include <string>

#include "core/listings/KeptFiles.h"

namespace tl {

// Which copy of one file of an opened listing the buyer keeps.
enum class KeptChoice {
    Seller,       // the seller's file stands: it matches its digest, or none is kept
    Marketplace,  // the marketplace's copy replaces it: it differs, or none came from the seller
    Neither,      // no file came from the seller and the marketplace keeps none
};
// digest: what the marketplace keeps under the file's name (null: nothing); sellerDigest: the
// digest of the seller's file (nothing: none came).
KeptChoice chooseKeptCopy(const KeptDigest* digest, const std::optional<std::string>& sellerDigest);

enum class FileSource { None, Seller, Marketplace };

// What the marketplace said of one listing's kept files before the seller was asked: nothing
// when they are not kept (or the marketplace lacks the pages).
struct KeptFilesCheck {
    std::string productId;
    std::optional<KeptDigests> digests{};
};

// Settles one file of an opening after the seller's try (fromSeller: the file at target came
// whole from the seller). Without digests the seller's file stands as it came. Otherwise a
// file that differs from its digest is thrown away, and the marketplace's copy is taken into
// target in its place, within bounds, whenever one is kept under name (an empty name has none).
FileSource settleKeptFile(const KeptFilesCheck& kept, const std::string& name,
                          const std::string& target, bool fromSeller,
                          const KeptFetchBounds& bounds);

}  // namespace tl
