// The quick search of the SQLite store: what reading every listing finds, through the changes
// that keep its text table in step, and on a database from before that table.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <random>

#include "Database.h"
#include "MarketStore.h"

namespace tl::market {
namespace {

struct TempFolder {
    std::string path;
    TempFolder() {
        char name[] = "/tmp/tradeloom-sqlite-search.XXXXXX";
        path = mkdtemp(name);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
};

std::vector<std::int64_t> ids(const std::vector<ListingRecord>& records) {
    std::vector<std::int64_t> out;
    for (const auto& r : records) out.push_back(r.productid);
    return out;
}

std::string asciiFolded(std::string text) {
    for (char& c : text) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return text;
}

// Many listings over a few syllables (pattern characters among them), so trigrams overlap and
// searches reach the result limit; then listings are edited, taken off, put back and removed.
TEST(SqliteSearchTest, FindsWhatReadingEveryListingFinds) {
    TempFolder folder;
    const auto store = openMarketStore("sqlite:" + folder.path + "/market.db");
    const char* const syllables[] = {"ab", "ba", "ca",  "Ab", "cab", " ",
                                     "*",  "?",  "[a]", "%_", "é"};
    std::mt19937 random(11);
    const auto words = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += syllables[random() % std::size(syllables)];
        return text;
    };
    struct Model {
        Listing listing;
        bool active = true;
        bool present = true;
    };
    std::vector<Model> model;
    for (int id = 1; id <= 3000; ++id) {
        Listing l;
        l.owner = "nobody";
        l.titlebar = "t" + words(1 + static_cast<int>(random() % 5));
        l.description = words(static_cast<int>(random() % 7));
        l.price = "1";
        l.kind = random() % 3 ? "Selling" : "Buying";
        l.productid = id;
        model.push_back({l});
    }
    std::vector<Listing> listings;
    for (const Model& m : model) listings.push_back(m.listing);
    store->addListings(listings);
    for (Model& m : model) {
        const std::int64_t id = m.listing.productid;
        switch (random() % 8) {
            case 0:
                store->inactivate(id);
                m.active = false;
                break;
            case 1:
                m.listing.titlebar = "e" + words(2);
                m.listing.description = words(3);
                ASSERT_TRUE(store->editListing(m.listing));
                break;
            case 2:
                store->removeListing(id);
                m.present = false;
                break;
            case 3:
                store->inactivate(id);
                store->reactivate(id, "Buying");
                m.listing.kind = "Buying";
                break;
        }
    }
    for (const char* needle : {"abc", "cabab", "ab ab", "b c", "ABC", "a*b", "*", "?c", "[a]",
                               "a]%_", "_é", "éé", "ab", "e", "tcab", "nowhere"}) {
        for (const KindFilter kinds : {KindFilter::Both, KindFilter::Buying}) {
            std::vector<std::int64_t> expected;
            const std::string folded = asciiFolded(needle);
            for (auto m = model.rbegin(); m != model.rend(); ++m) {
                const Listing& l = m->listing;
                const bool holds = asciiFolded(l.titlebar).find(folded) != std::string::npos ||
                                   asciiFolded(l.description).find(folded) != std::string::npos;
                if (holds && m->present && m->active &&
                    (kinds == KindFilter::Both || l.kind == "Buying") &&
                    expected.size() < MarketStore::kMaxResults)
                    expected.push_back(l.productid);
            }
            SCOPED_TRACE(std::string("\"") + needle +
                         (kinds == KindFilter::Both ? "\"" : "\" buying"));
            EXPECT_EQ(ids(store->search(needle, kinds)), expected);
        }
    }
}

// A database from before the text table: its listings are found once it is upgraded, and the
// listings taken off before are not.
TEST(SqliteSearchTest, AnEarlierDatabaseIsUpgradedWithItsListingsFound) {
    TempFolder folder;
    const std::string path = folder.path + "/market.db";
    openMarketStore("sqlite:" + path);
    Connection(path).execute(
        "DROP TRIGGER listing_text_added; DROP TRIGGER listing_text_changed; "
        "DROP TRIGGER listing_text_removed; DROP TABLE listing_text; "
        "ALTER TABLE listings DROP COLUMN search_text; UPDATE schema_version SET version = 2; "
        "INSERT INTO listings(owner, titlebar, description, price, price_value, kind, state) "
        "VALUES ('nobody', 'Old Brass lamp', '', '1', 1, 'Selling', 'ACTIVE'), "
        "('nobody', 'Lamp', 'brass foot', '1', 1, 'Buying', 'ACTIVE'), "
        "('nobody', 'Brass bed', '', '1', 1, 'Selling', 'INACTIVE')");
    const auto store = openMarketStore("sqlite:" + path);
    EXPECT_EQ(ids(store->search("brass", KindFilter::Both)), (std::vector<std::int64_t>{2, 1}));
    store->reactivate(3, "");
    EXPECT_EQ(ids(store->search("BRASS b", KindFilter::Selling)), std::vector<std::int64_t>{3});
}

}  // namespace
}  // namespace tl::market
