#include "FileRoutes.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "Digest.h"
#include "KeptFileRules.h"
#include "MarketPages.h"
#include "MarketReplies.h"
#include "RequestValues.h"

namespace tl::market {
namespace {

namespace kept = contract::kept;

// The names of a keep request's body, one a line ("\r\n" taken too), each once.
std::vector<std::string> namedFiles(std::string_view body) {
    std::vector<std::string> names;
    while (!body.empty()) {
        const std::size_t end = std::min(body.find('\n'), body.size());
        std::string_view line = body.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && std::find(names.begin(), names.end(), line) == names.end())
            names.emplace_back(line);
        body.remove_prefix(std::min(end + 1, body.size()));
    }
    return names;
}

// The upload's announced body length: Content-Length when sent, else the size the query names.
std::optional<std::int64_t> announcedLength(const Request& req, std::optional<std::int64_t> size) {
    if (!req.has_header("Content-Length")) return size;
    return wholeNumber(req.get_header_value("Content-Length"));
}

const char* putReply(FilePut outcome) {
    switch (outcome) {
        case FilePut::Stored:
            return kept::kStored;
        case FilePut::NoListing:
            return kept::kNotOwner;
        case FilePut::TooManyFiles:
            return kept::kTooManyFiles;
        case FilePut::MemberFull:
            return kept::kMemberFull;
    }
    return kept::kNotOwner;
}

}  // namespace

void FileRoutes::addTo(RouteTable& routes) {
    addRoute(routes, page::kKeepListingFiles, this, &FileRoutes::keepListingFiles);
    addRoute(routes, page::kListingFiles, this, &FileRoutes::listingFiles);
    addRoute(routes, page::kGetListingFile, this, &FileRoutes::getListingFile);
}

std::optional<Listing> FileRoutes::ownedListing(const Request& req) {
    auto listing = store_.listing(productId(req));
    if (!listing || !fromMember(store_, req, listing->owner)) return std::nullopt;
    return listing;
}

void FileRoutes::putListingFile(const Request& req, Response& res,
                                const httplib::ContentReader& body) {
    const auto listing = ownedListing(req);
    if (!listing) return plain(res, kept::kNotOwner);
    KeptFile file{param(req, key::kFileName), 0, param(req, key::kFileDigest)};
    if (!isKeptFileName(file.name)) return plain(res, kept::kBadName);
    const auto size = wholeNumber(param(req, key::kFileBytes));
    const auto length = announcedLength(req, size);
    const auto overCap = [](std::optional<std::int64_t> bytes) {
        return bytes && static_cast<unsigned long long>(std::max<std::int64_t>(*bytes, 0)) >
                            contract::kMostKeptFileBytes;
    };
    if (overCap(size) || overCap(length)) return plain(res, kept::kFileTooLarge);
    if (!size || *size < 0 || length != size || !isDigestText(file.sha256))
        return plain(res, kept::kDamaged);
    file.size = *size;

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(file.size));
    const bool whole = body([&](const char* data, std::size_t n) {
        if (bytes.size() + n > static_cast<std::size_t>(file.size)) return false;
        bytes.append(data, n);
        return true;
    });
    // A body that broke off or ran long leaves the library's own refusal status behind.
    res.status = 200;
    if (!whole || bytes.size() != static_cast<std::size_t>(file.size) ||
        sha256Hex(bytes) != file.sha256)
        return plain(res, kept::kDamaged);
    if (file.name != listingFileName(listing->productid) && !looksLikeImage(bytes))
        return plain(res, kept::kNotAnImage);
    plain(res, putReply(store_.putListingFile(listing->productid, listing->owner, file, bytes)));
}

void FileRoutes::keepListingFiles(const Request& req, Response& res) {
    const auto listing = ownedListing(req);
    if (!listing) return plain(res, kept::kNotOwner);
    const bool complete =
        store_.keepListingFiles(listing->productid, listing->owner, namedFiles(req.body));
    plain(res, complete ? kept::kStored : kept::kSomeMissing);
}

void FileRoutes::listingFiles(const Request& req, Response& res) {
    xml(res, keptFilesDocument(store_.keptFiles(productId(req))));
}

void FileRoutes::getListingFile(const Request& req, Response& res) {
    const auto bytes = store_.keptFileBytes(productId(req), param(req, key::kFileName));
    if (!bytes) return html(res, pages::notFound(req.path), 404);
    res.set_content(*bytes, "application/octet-stream");
}

}  // namespace tl::market
