#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Text helpers of the marketplace server: escaping for HTML and XML, the stored form of member
// texts, validation of request values and the price forms of the replies.
namespace tl::market {

// Escapes & < > " ' so the text can stand in element content and in quoted attributes of HTML
// and XML alike.
std::string escapeMarkup(std::string_view text);

// The form in which a member text is stored: "&" becomes "and", "<" and ">" are dropped, and so
// are control characters other than tab, line feed and carriage return (XML cannot carry them).
std::string storedText(std::string_view text);

bool isValidUtf8(std::string_view text);

// A price as the client sends it ("5.99", "-1" make offer, "0" free; spaces around it are
// ignored): its value, or nothing when it is not a number of that kind.
std::optional<double> parsePrice(std::string_view text);

// The text without the spaces and tabs around it.
std::string_view trimSpaces(std::string_view text);

// The listing service's price: "0" for free, "-1.0000" for make offer, else four decimals.
std::string fourDecimalPrice(std::string_view storedPrice);

// The text with ASCII letters in lower case and every other byte kept, as the search folds it.
std::string asciiLower(std::string_view text);

// Number of characters (code points) of UTF-8 text.
std::size_t characterCount(std::string_view text);

// A unix time as "YYYY-MM-DD HH:MM UTC".
std::string utcTimeText(std::int64_t when);

}  // namespace tl::market
