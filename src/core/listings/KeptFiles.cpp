#include "core/listings/KeptFiles.h"

#include <algorithm>
#include <charconv>

#include "core/platform/Files.h"
#include "core/platform/HttpRequest.h"
#include "core/platform/Sha256.h"
#include "core/platform/XmlDocument.h"
#include "core/service/MarketContract.h"
#include "core/service/Query.h"
#include "core/service/Replies.h"

namespace tl {
namespace {

namespace page = contract::page;
namespace key = contract::key;

constexpr std::size_t kLongestKeptName = 255;
// A digests reply lists at most the files of one listing: a few hundred bytes each.
constexpr std::size_t kLargestDigestsReply = 64u << 10;

bool isKeptFileName(std::string_view name) {
    if (name.empty() || name.size() > kLongestKeptName || name == "." || name == "..") return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F;
    });
}

std::optional<std::uint64_t> sizeField(const std::string& text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::chrono::seconds wholeSeconds(std::chrono::milliseconds idle) {
    return std::max(std::chrono::seconds(1),
                    std::chrono::duration_cast<std::chrono::seconds>(idle));
}

}  // namespace

std::string keptListingName(const std::string& productId) {
    return productId + ".xml";
}

std::vector<std::string> keptEntryNames(const std::string& productId,
                                        const std::vector<std::string>& entries) {
    const std::string folder = productId + "/";
    std::vector<std::string> names;
    for (const std::string& entry : entries) {
        std::string name = entry.starts_with(folder) ? entry.substr(folder.size()) : entry;
        names.push_back(isKeptFileName(name) ? std::move(name) : std::string());
    }
    std::map<std::string, int> uses{{keptListingName(productId), 1}};
    for (const std::string& name : names) ++uses[name];
    for (std::string& name : names)
        if (uses[name] > 1) name.clear();
    return names;
}

KeptDigests keptDigestsFromReply(const std::string& reply) {
    KeptDigests digests;
    XmlDocument document;
    if (!document.loadXml(reply)) return digests;
    for (const XmlNode& record : resultRecords(document)) {
        if (digests.size() >= static_cast<std::size_t>(contract::kMostKeptFilesPerListing)) break;
        const std::string name = recordField(record, key::kFileName);
        const std::optional<std::uint64_t> size = sizeField(recordField(record, key::kFileBytes));
        std::string sha256 = recordField(record, key::kFileDigest);
        if (!isKeptFileName(name) || !size || *size > contract::kMostKeptFileBytes ||
            !isSha256Hex(sha256))
            continue;
        digests[name] = {*size, std::move(sha256)};
    }
    return digests;
}

std::optional<KeptDigests> askKeptDigests(const std::string& productId,
                                          const std::atomic<bool>* abandon,
                                          std::chrono::milliseconds limit) {
    try {
        const HttpReply reply = exchange(
            {.address = Query(page::kListingFiles).add(key::kProductId, productId).address(),
             .largestReply = kLargestDigestsReply,
             .abandon = abandon,
             .limit = limit});
        if (reply.status != 200) return std::nullopt;
        KeptDigests digests = keptDigestsFromReply(reply.body);
        if (digests.empty()) return std::nullopt;
        return digests;
    } catch (const RequestError&) {
        return std::nullopt;
    }
}

bool fetchKeptFile(const std::string& productId, const std::string& name, const KeptDigest& digest,
                   const std::string& target, const KeptFetchBounds& bounds) {
    using Clock = std::chrono::steady_clock;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(bounds.deadline - Clock::now());
    if (digest.size > bounds.largest || left.count() <= 0) return false;
    try {
        const HttpReply reply = exchange({.address = Query(page::kGetListingFile)
                                                         .add(key::kProductId, productId)
                                                         .add(key::kFileName, name)
                                                         .address(),
                                          .largestReply = static_cast<std::size_t>(digest.size),
                                          .abandon = bounds.cancelled,
                                          .limit = left,
                                          .idle = wholeSeconds(bounds.idle)});
        if (reply.status != 200 || reply.body.size() != digest.size ||
            sha256Hex(reply.body) != digest.sha256)
            return false;
        return writeFileAtomically(target, reply.body, Durability::Refetchable);
    } catch (const RequestError&) {
        return false;
    }
}

}  // namespace tl
