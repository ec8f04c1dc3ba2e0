#include "Text.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "core/platform/ReplaceCharacters.h"

namespace tl::market {

std::string escapeMarkup(std::string_view text) {
    return replaceCharacters(
        text, {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}, {'\'', "&#39;"}});
}

std::string storedText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&')
            out += "and";
        else if (c == '<' || c == '>')
            continue;
        else if (byte < 0x20 && c != '\t' && c != '\n' && c != '\r')
            continue;
        else if (byte == 0x7f)
            continue;
        else
            out += c;
    }
    return out;
}

bool isValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length;
        std::uint32_t code;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xe0) == 0xc0) {
            length = 2;
            code = lead & 0x1f;
        } else if ((lead & 0xf0) == 0xe0) {
            length = 3;
            code = lead & 0x0f;
        } else if ((lead & 0xf8) == 0xf0) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xc0) != 0x80) return false;
            code = (code << 6) | (next & 0x3f);
        }
        // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
        const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
            return false;
        i += length;
    }
    return true;
}

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::optional<double> parsePrice(std::string_view text) {
    text = trimSpaces(text);
    if (text.empty() || text.size() > 50) return std::nullopt;
    const std::string copy(text);
    char* end = nullptr;
    const double value = std::strtod(copy.c_str(), &end);
    if (end != copy.c_str() + copy.size() || !std::isfinite(value)) return std::nullopt;
    // Only plain decimals: no exponents, hexadecimal or infinities.
    for (const char c : copy)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-'))
            return std::nullopt;
    if (value < 0 && value != -1.0) return std::nullopt;
    return value;
}

std::string fourDecimalPrice(std::string_view storedPrice) {
    const auto value = parsePrice(storedPrice);
    if (!value) return std::string(storedPrice);
    if (*value == 0) return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4f", *value);
    return buffer;
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xc0) != 0x80) ++count;
    return count;
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string utcTimeText(std::int64_t when) {
    const std::time_t t = static_cast<std::time_t>(when);
    std::tm utc{};
    gmtime_r(&t, &utc);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M UTC", &utc);
    return buffer;
}

}  // namespace tl::market
