#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tl::market {

// The bytes as lowercase hexadecimal text, two digits a byte.
std::string hexText(const unsigned char* bytes, std::size_t count);

// The SHA-256 digest of the bytes as 64 lowercase hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

}  // namespace tl::market
