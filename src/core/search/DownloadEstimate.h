#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tl {

// Listings up to this many kilobytes open without asking.
inline constexpr long kLargeListingKilobytes = 85;

// The leading decimal number of a size text, as the lists show it: text that is not a number
// counts as 0, and a number too large for a long stays at the largest long.
long sizeKilobytes(std::string_view text);

// The estimated seconds to download a listing of that many kilobytes, or nothing when it is
// small enough to open without asking. The divisor comes from the member's own connection when that
// is a known type, else from the poster's, else it is 1.
std::optional<long> largeListingSeconds(long kilobytes, std::string_view posterSpeed,
                                        std::string_view ownSpeed);

// The question asked before a large listing is downloaded.
inline constexpr char kFileSizeAlertCaption[] = "File Size Alert";
std::string fileSizeAlertText(long seconds);

}  // namespace tl
