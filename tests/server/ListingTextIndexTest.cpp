#include "ListingTextIndex.h"

#include <gtest/gtest.h>

namespace tl::market {
namespace {

using Ids = std::vector<std::int64_t>;
using Kind = ListingTextIndex::Kind;

struct ListingTextIndexTest : ::testing::Test {
    ListingTextIndex index;
    ListingTextIndexTest() {
        index.put(1, "Oak table", "Solid wood", true, Kind::Selling);
        index.put(2, "Pine shelf", "Three boards of OAK", true, Kind::Buying);
        index.put(3, "Oak chest", "Old", false, Kind::Selling);
        index.put(4, "Lamp", "Brass", true, Kind::Selling);
    }
};

TEST_F(ListingTextIndexTest, FindsTitleOrDescriptionIgnoringCaseNewestFirst) {
    EXPECT_EQ(index.find("oak", nullptr, 10), (Ids{2, 1})) << "inactive 3 left out";
    EXPECT_EQ(index.find("OAK TA", nullptr, 10), (Ids{1}));
    EXPECT_EQ(index.find("walnut", nullptr, 10), Ids{});
    EXPECT_EQ(index.find("table solid", nullptr, 10), Ids{}) << "never across the fields";
}

TEST_F(ListingTextIndexTest, FiltersByKindAndStopsAtTheLimit) {
    const Kind selling = Kind::Selling, buying = Kind::Buying;
    EXPECT_EQ(index.find("oak", &selling, 10), (Ids{1}));
    EXPECT_EQ(index.find("oak", &buying, 10), (Ids{2}));
    EXPECT_EQ(index.find("a", nullptr, 2), (Ids{4, 2})) << "short texts scan every listing";
}

TEST_F(ListingTextIndexTest, ReplacedTextAndRemovedListingsAreFoundNoMore) {
    index.put(1, "Elm table", "Solid wood", true, Kind::Selling);
    EXPECT_EQ(index.find("oak", nullptr, 10), (Ids{2}));
    EXPECT_EQ(index.find("elm", nullptr, 10), (Ids{1}));
    index.put(3, "Oak chest", "Old", true, Kind::Selling);  // reactivated, same text
    EXPECT_EQ(index.find("oak", nullptr, 10), (Ids{3, 2}));
    index.remove(2);
    index.remove(2);
    EXPECT_EQ(index.find("oak", nullptr, 10), (Ids{3}));
    EXPECT_EQ(index.size(), 3u);
}

TEST_F(ListingTextIndexTest, FindsTextBeyondAscii) {
    index.put(5, "Crème brûlée dish", "", true, Kind::Selling);
    EXPECT_EQ(index.find("brûlée", nullptr, 10), (Ids{5}));
    EXPECT_EQ(index.find("é", nullptr, 10), (Ids{5}));
}

}  // namespace
}  // namespace tl::market
