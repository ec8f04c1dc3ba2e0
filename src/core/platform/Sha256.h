#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tl {

// SHA-256 digests as the marketplace names kept files by: 64 lowercase hexadecimal digits.
std::string sha256Hex(std::string_view bytes);
// The digest of a whole file, read in blocks; nothing when it cannot be read.
std::optional<std::string> fileSha256Hex(const std::string& path);
// True for text of the form sha256Hex gives.
bool isSha256Hex(std::string_view text);

}  // namespace tl
