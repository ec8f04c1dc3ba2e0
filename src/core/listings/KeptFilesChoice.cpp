#include "core/listings/KeptFilesChoice.h"

#include <filesystem>
#include <system_error>

#include "core/platform/Sha256.h"

namespace tl {

KeptChoice chooseKeptCopy(const KeptDigest* digest,
                          const std::optional<std::string>& sellerDigest) {
    if (!digest) return sellerDigest ? KeptChoice::Seller : KeptChoice::Neither;
    return sellerDigest == digest->sha256 ? KeptChoice::Seller : KeptChoice::Marketplace;
}

FileSource settleKeptFile(const KeptFilesCheck& kept, const std::string& name,
                          const std::string& target, bool fromSeller,
                          const KeptFetchBounds& bounds) {
    if (!kept.digests) return fromSeller ? FileSource::Seller : FileSource::None;
    const auto found = name.empty() ? kept.digests->end() : kept.digests->find(name);
    const KeptDigest* digest = found == kept.digests->end() ? nullptr : &found->second;
    const std::optional<std::string> sellerDigest =
        fromSeller ? fileSha256Hex(target) : std::nullopt;
    switch (chooseKeptCopy(digest, sellerDigest)) {
        case KeptChoice::Seller:
            return FileSource::Seller;
        case KeptChoice::Neither:
            return FileSource::None;
        case KeptChoice::Marketplace:
            break;
    }
    // A file that is not the seller's listing as kept is never left to be shown.
    if (fromSeller) {
        std::error_code ignored;
        std::filesystem::remove(target, ignored);
    }
    return fetchKeptFile(kept.productId, name, *digest, target, bounds) ? FileSource::Marketplace
                                                                        : FileSource::None;
}

}  // namespace tl
