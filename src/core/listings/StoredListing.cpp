#include "core/listings/StoredListing.h"

#include <fstream>

#include "core/listings/FileScramble.h"
#include "core/platform/Files.h"

namespace tl {
namespace {

// Plain markup starts with "<" or a byte-order mark, after white space; scrambled bytes never
// do, since the scrambled forms of "<", the mark and white space are none of these.
bool looksPlain(const std::string& bytes) {
    const std::size_t first = bytes.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return false;
    return bytes[first] == '<' || bytes.compare(first, 3, "\xEF\xBB\xBF") == 0;
}

}  // namespace

std::string plainListingText(std::string stored) {
    if (!looksPlain(stored)) scrambleBytes(stored);
    return stored;
}

std::optional<std::string> readStoredListing(const std::string& path) {
    // Only a regular file is opened, so a pipe in its place cannot hold the reader.
    if (!fileExists(path)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string stored;
    char block[65536];
    while (in.read(block, sizeof block) || in.gcount() > 0) {
        stored.append(block, static_cast<std::size_t>(in.gcount()));
        if (stored.size() > kLargestStoredListing) return std::nullopt;
    }
    if (in.bad()) return std::nullopt;
    return plainListingText(std::move(stored));
}

bool writeStoredListing(const std::string& path, std::string plainXml) {
    scrambleBytes(plainXml);
    return writeFileAtomically(path, plainXml);
}

}  // namespace tl
