#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

// The checks and number readings the dispatcher applies to request values (query and form
// values, as the HTTP layer decoded them) before any handler sees them.
namespace tl::market {

inline constexpr std::size_t kMaxValueBytes = 4096;

// Why a request's values are refused, as the reply says it; nothing when every key and value is
// UTF-8 text of at most kMaxValueBytes bytes.
std::optional<std::string> refusedValues(const std::multimap<std::string, std::string>& values);

// A whole decimal number (an optional '-' and digits, nothing else); nothing otherwise.
std::optional<std::int64_t> wholeNumber(std::string_view text);

// A product id as the client sends it (decimal text); 0, which no listing has, otherwise.
std::int64_t productIdValue(std::string_view text);

}  // namespace tl::market
