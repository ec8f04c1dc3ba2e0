#include "KeptFileRules.h"

#include <algorithm>

#include "Text.h"

namespace tl::market {
namespace {

constexpr std::size_t kMostNameBytes = 255;
constexpr std::size_t kDigestDigits = 64;

bool startsWith(std::string_view bytes, std::string_view prefix) {
    return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

bool isKeptFileName(std::string_view name) {
    if (name.empty() || name.size() > kMostNameBytes || name == "." || name == "..") return false;
    const bool forbidden = std::any_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f || c == '/' || c == '\\';
    });
    return !forbidden && isValidUtf8(name);
}

std::string listingFileName(std::int64_t productid) {
    return std::to_string(productid) + ".xml";
}

bool looksLikeImage(std::string_view bytes) {
    using namespace std::literals;
    return startsWith(bytes, "\xff\xd8\xff"sv) || startsWith(bytes, "\x89PNG\r\n\x1a\n"sv) ||
           startsWith(bytes, "GIF87a"sv) || startsWith(bytes, "GIF89a"sv) ||
           startsWith(bytes, "BM"sv) ||
           (startsWith(bytes, "RIFF"sv) && bytes.size() >= 12 && bytes.substr(8, 4) == "WEBP"sv);
}

bool isDigestText(std::string_view text) {
    return text.size() == kDigestDigits && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
           });
}

}  // namespace tl::market
