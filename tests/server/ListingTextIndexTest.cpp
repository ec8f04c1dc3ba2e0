#include "ListingTextIndex.h"

#include <gtest/gtest.h>
#include <string.h>

#include <random>

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

// Many listings over a few syllables, so trigram lists overlap, nest and leave gaps of every
// size: each search finds exactly what reading every listing finds.
TEST(ListingTextIndexWalkTest, FindsWhatReadingEveryListingFinds) {
    const char* const syllables[] = {"ab", "ba", "ca", "da", "abc", " ", "Ab", "cab"};
    std::mt19937 random(11);
    const auto words = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += syllables[random() % 8];
        return text;
    };
    struct Listing {
        std::string title, description;
        bool active;
        Kind kind;
    };
    std::vector<Listing> listings;
    ListingTextIndex index;
    for (int id = 1; id <= 3000; ++id) {
        listings.push_back({words(1 + static_cast<int>(random() % 6)),
                            words(static_cast<int>(random() % 8)), random() % 5 != 0,
                            random() % 3 ? Kind::Selling : Kind::Buying});
        const Listing& l = listings.back();
        index.put(id, l.title, l.description, l.active, l.kind);
    }
    const auto lower = [](std::string text) {
        for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        return text;
    };
    const Kind buying = Kind::Buying;
    for (const char* needle : {"abc", "cabab", "abcab", "da ca", "bacada", "ab ab", "cabcab",
                               "dadada", "abcabcab", "b c", "ABC"}) {
        for (const Kind* kind : {static_cast<const Kind*>(nullptr), &buying}) {
            for (const std::size_t limit : {std::size_t{5}, std::size_t{10000}}) {
                Ids expected;
                for (auto id = static_cast<std::int64_t>(listings.size());
                     id >= 1 && expected.size() < limit; --id) {
                    const Listing& l = listings[static_cast<std::size_t>(id - 1)];
                    const std::string n = lower(needle);
                    const bool holds = lower(l.title).find(n) != std::string::npos ||
                                       lower(l.description).find(n) != std::string::npos;
                    if (holds && l.active && (!kind || l.kind == *kind)) expected.push_back(id);
                }
                SCOPED_TRACE(std::string(needle) + (kind ? " buying" : "") + " limit " +
                             std::to_string(limit));
                EXPECT_EQ(index.find(needle, kind, limit), expected);
            }
        }
    }
}

}  // namespace
}  // namespace tl::market
