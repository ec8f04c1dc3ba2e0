#include "SearchTextSample.h"

#include <gtest/gtest.h>

namespace tl::market {
namespace {

// 1,000 sampled texts: "common" in 300 of them, "uncommon" in 30, "rarity" in 2, and "lamp"
// in 500, half of those with "common".
SearchTextSample sample() {
    std::vector<std::string> texts;
    for (int i = 0; i < 1000; ++i) {
        std::string text = "listing " + std::to_string(i) + "\x01" + "plain words";
        if (i % 10 < 3) text += " common";
        if (i % 100 < 3) text += " uncommon";
        if (i < 2) text += " rarity";
        if (i % 2) text += " lamp";
        texts.push_back(text);
    }
    return SearchTextSample(std::move(texts));
}

TEST(SearchTextSampleTest, WalksOnlyWhenTheNewestHoldersAreNearTheTop) {
    const SearchTextSample s = sample();
    const struct {
        const char* needle;
        std::size_t marketSize;
        bool walk;
    } cases[] = {
        {"common", 1000000, true},     // 250 newest within about 830 listings
        {"common", 1000, true},        // still cheaper than fetching 300 found ones
        {"uncommon", 1000000, true},   // about 8,300 walked against 30,000 fetched
        {"uncommon", 20000, false},    // 8,300 walked against 600 fetched
        {"rarity", 100000000, false},  // two holders say too little
        {"absent", 1000000, false},   {"", 1000000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.needle) + " in " + std::to_string(c.marketSize));
        EXPECT_EQ(s.worthWalking(s.share(c.needle), c.marketSize, 250), c.walk);
    }
    EXPECT_EQ(SearchTextSample().share("common"), 0.0) << "no sample yet";
}

TEST(SearchTextSampleTest, PicksThePiecesTheFewestTextsHoldTogether) {
    const SearchTextSample s = sample();
    using Pieces = std::vector<std::string>;
    // Ties go by the bytes.
    EXPECT_EQ(s.rarestPieces("plain rarity"), (Pieces{"ari", "ity"}));
    // The index pads every word's end alike, so "on " is as common as "com". Along "com", half
    // the texts hold " la" and "amp", but " la" also reads "  l", which all of them hold.
    EXPECT_EQ(s.rarestPieces("common lamp"), (Pieces{"com", "amp"}));
    EXPECT_EQ(s.rarestPieces("words common"), (Pieces{"com", "mmo"})) << "fewer holders first";
    // A word's start is worth its first letter when it names few texts: 11 hold " 12", 111 "  1".
    EXPECT_EQ(s.rarestPieces("listing 12"), (Pieces{" 12", "ing"}));
    EXPECT_EQ(s.rarestPieces("x-y z!"), Pieces{}) << "no three letters in a row";
    EXPECT_EQ(s.rarestPieces("ab"), Pieces{});
}

}  // namespace
}  // namespace tl::market
