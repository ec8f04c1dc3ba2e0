#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tl {

// A listing document as it is kept at rest: scrambled, and made plain in memory only. Every
// place that reads a stored listing (the member's own, a downloaded one, one a peer sent)
// reads it through these, and every own listing is written through writeStoredListing, so no
// listing document ever lies plain on disk.

// A listing is a few kilobytes; a file far larger is no listing of ours and is not read.
inline constexpr std::size_t kLargestStoredListing = 16u * 1024u * 1024u;

// The plain text of stored listing bytes. Scrambled bytes are unscrambled; bytes that are
// already plain (they start with markup, as a listing written before listings were kept
// scrambled does) are taken as they are.
std::string plainListingText(std::string stored);

// The plain text of the listing file at path; nothing when it is no regular file, cannot be
// read or is larger than kLargestStoredListing.
std::optional<std::string> readStoredListing(const std::string& path);

// Writes the plain listing text to path scrambled, in one step through a temporary name: the
// file is never plain, never half written, and a failure leaves the old file as it was.
bool writeStoredListing(const std::string& path, std::string plainXml);

}  // namespace tl
