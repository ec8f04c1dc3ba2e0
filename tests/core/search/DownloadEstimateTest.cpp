#include "core/search/DownloadEstimate.h"

#include <gtest/gtest.h>

#include <limits>

namespace tl {
namespace {

TEST(DownloadEstimateTest, LargeListingsGetAnEstimateFromTheKnownConnection) {
    constexpr long kMax = std::numeric_limits<long>::max();
    struct Case {
        std::string size, poster, own;
        std::optional<long> seconds;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {"85", "56K", "56K", std::nullopt},
        {"86", "Cable", "T3", 2},
        {"500", "T1", "56K", 100},
        {"500", "T1", "", 12},
        {"200", "T3", "T3", 200},
        {"150", "I Don't Know", "dsl", 30},
        {"abc", "56K", "56K", std::nullopt},
        {"", "56K", "56K", std::nullopt},
        {"-900", "56K", "56K", std::nullopt},
        {" 120K", "DSL", "", 4},
        {"99999999999999999999999999", "T3", "", kMax},
        {"99999999999999999999999999", "T1", "", kMax / 40},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size + " " + c.poster + " " + c.own);
        EXPECT_EQ(largeListingSeconds(sizeKilobytes(c.size), c.poster, c.own), c.seconds);
    }
}

}  // namespace
}  // namespace tl
