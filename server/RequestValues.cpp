#include "RequestValues.h"

#include <charconv>

#include "Text.h"

namespace tl::market {

std::optional<std::string> refusedValues(const std::multimap<std::string, std::string>& values) {
    for (const auto& [key, value] : values) {
        if (key.size() > kMaxValueBytes || value.size() > kMaxValueBytes)
            return "A request value is longer than " + std::to_string(kMaxValueBytes) + " bytes.";
        if (!isValidUtf8(key) || !isValidUtf8(value)) return "A request value is not UTF-8 text.";
    }
    return std::nullopt;
}

std::optional<std::int64_t> wholeNumber(std::string_view text) {
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return number;
}

std::int64_t productIdValue(std::string_view text) {
    const std::optional<std::int64_t> id = wholeNumber(text);
    return id && *id >= 0 ? *id : 0;
}

}  // namespace tl::market
