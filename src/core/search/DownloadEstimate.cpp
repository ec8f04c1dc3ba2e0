#include "core/search/DownloadEstimate.h"

#include <limits>

namespace tl {
namespace {

// Kilobytes per second by connection type.
std::optional<long> speedDivisor(std::string_view connection) {
    if (connection == "56K" || connection == "I Don't Know") return 5;
    if (connection == "Cable" || connection == "DSL") return 30;
    if (connection == "T1") return 40;
    return std::nullopt;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

long sizeKilobytes(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isSpace(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    constexpr long kMax = std::numeric_limits<long>::max();
    long value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        const int digit = text[at] - '0';
        if (value > (kMax - digit) / 10) {
            value = kMax;
            break;
        }
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

std::optional<long> largeListingSeconds(long kilobytes, std::string_view posterSpeed,
                                        std::string_view ownSpeed) {
    if (kilobytes <= kLargeListingKilobytes) return std::nullopt;
    const long divisor = speedDivisor(ownSpeed).value_or(speedDivisor(posterSpeed).value_or(1));
    return kilobytes / divisor;
}

std::string fileSizeAlertText(long seconds) {
    return "The listing you wish to download has attachments larger than 85K.  Your Estimated "
           "Download time is " +
           std::to_string(seconds) + " seconds, it may take longer. Do you wish to proceed?";
}

}  // namespace tl
