#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// What the marketplace accepts as a kept file of a listing, judged before anything is stored.
namespace tl::market {

// A name a file may be kept under: 1 to 255 bytes of UTF-8 without "/", "\" or control
// characters, and neither "." nor "..".
bool isKeptFileName(std::string_view name);

// The name of the listing file itself, "<productid>.xml", which need not be an image.
std::string listingFileName(std::int64_t productid);

// Whether the bytes begin as a JPEG, PNG, GIF, BMP or WebP image does.
bool looksLikeImage(std::string_view bytes);

// Whether the text has the form of a SHA-256 digest: 64 lowercase hexadecimal digits.
bool isDigestText(std::string_view text);

}  // namespace tl::market
