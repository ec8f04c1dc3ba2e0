#include "core/peer/ListingOrigin.h"

#include <filesystem>
#include <map>
#include <mutex>

namespace tl {
namespace {

std::mutex originsMutex;

std::map<std::string, ListingOrigin>& origins() {
    static std::map<std::string, ListingOrigin> byPath;
    return byPath;
}

// One key for the spellings of a path ("a//b.xml", "a/./b.xml").
std::string key(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

}  // namespace

void noteListingOrigin(const std::string& listingPath, ListingOrigin origin) {
    std::lock_guard lock(originsMutex);
    origins()[key(listingPath)] = origin;
}

std::optional<ListingOrigin> listingOrigin(const std::string& listingPath) {
    std::lock_guard lock(originsMutex);
    const auto found = origins().find(key(listingPath));
    if (found == origins().end()) return std::nullopt;
    return found->second;
}

}  // namespace tl
