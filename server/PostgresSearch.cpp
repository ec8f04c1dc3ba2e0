// The searches of the PostgreSQL store: the quick search, steered by a sample of the newest
// listings, and the advanced search.
#include <chrono>
#include <iterator>
#include <optional>

#include "PostgresMarketStore.h"
#include "PostgresSql.h"
#include "StoreRules.h"
#include "Text.h"

namespace tl::market {
namespace {

// The search texts of this many newest listings steer the quick search, taken afresh this often.
constexpr int kSampleSize = 5000;
constexpr auto kSampleLife = std::chrono::seconds(30);

// The condition that a listing is of the kinds and meets `indexed` (conditions the trigram index
// answers, each starting with " AND "), written so that each part of the index is asked for the
// listings of its own kind.
std::string ofKinds(KindFilter kinds, const std::string& indexed) {
    const auto part = [&](const char* kind) { return std::string("(") + kind + indexed + ")"; };
    switch (kinds) {
        case KindFilter::Selling:
            return part(TL_SELLING_KIND("l."));
        case KindFilter::Buying:
            return part(TL_BUYING_KIND("l."));
        case KindFilter::Both:
            break;
    }
    if (indexed.empty()) return "TRUE";
    return "(" + part(TL_SELLING_KIND("l.")) + " OR " + part(TL_BUYING_KIND("l.")) + " OR " +
           part(TL_OTHER_KIND("l.")) + ")";
}

}  // namespace

std::shared_ptr<const SearchTextSample> PostgresMarketStore::searchSample(PgConnection& db) {
    {
        std::lock_guard lock(sampleMutex_);
        if (sample_ && std::chrono::steady_clock::now() < sampleTaken_ + kSampleLife)
            return sample_;
    }
    // One request takes the sample; the others go on with the one they have, or wait for the
    // first: without a sample a search would ask the index for the commonest pieces of its text.
    std::unique_lock taking(sampleTaking_, std::try_to_lock);
    if (!taking.owns_lock()) {
        {
            std::lock_guard lock(sampleMutex_);
            if (sample_) return sample_;
        }
        taking.lock();
        std::lock_guard lock(sampleMutex_);
        if (sample_) return sample_;
    }
    const PgResult newest = db.query(
        "SELECT search_text, kind FROM listings WHERE state = 'ACTIVE' ORDER BY productid DESC "
        "LIMIT $1",
        kSampleSize);
    std::vector<std::string> texts;
    std::vector<std::string> kinds;
    for (int row = 0; row < newest.rows(); ++row) {
        texts.push_back(newest.text(row, 0));
        kinds.push_back(newest.text(row, 1));
    }
    auto sample = std::make_shared<const SearchTextSample>(std::move(texts), std::move(kinds));
    const auto highestId = static_cast<std::size_t>(
        db.query("SELECT COALESCE(max(productid), 0) FROM listings").integer(0, 0));
    std::lock_guard lock(sampleMutex_);
    sample_ = sample;
    sampleTaken_ = std::chrono::steady_clock::now();
    marketSize_ = highestId;
    return sample_;
}

std::vector<ListingRecord> PostgresMarketStore::indexedRecords(PgConnection& db,
                                                               const std::string& needle,
                                                               KindFilter kinds,
                                                               const SearchTextSample& sample) {
    // The index names the listings that hold the text's rarest pieces (never a common trigram,
    // which would cost it a walk over nearly every listing), and those are read.
    std::vector<std::string> texts = {needle};
    std::vector<std::string> pieces = sample.rarestPieces(needle);
    if (pieces.empty()) pieces.push_back(needle);
    std::string indexed;
    for (const std::string& piece : pieces) {
        texts.push_back(containsPattern(piece));
        indexed += " AND l.search_text LIKE $" + std::to_string(texts.size()) + "::text";
    }
    // The listings the index names are gathered on their own first, so the planner cannot choose
    // to walk the listings newest first hoping to meet them; the newest of them are read, with
    // what the list shows of them, so that no listing is looked up twice.
    const auto ask = [&](const std::string& condition, std::size_t most,
                         std::optional<std::int64_t> block) {
        PgParameters values;
        for (const std::string& value : texts) values.add(value);
        if (block) values.add(*block);
        return records(db.run(
            "WITH found AS MATERIALIZED (SELECT l.productid, l.titlebar, l.owner, l.filesize, "
            "l.price, l.kind, l.state FROM listings l WHERE l.state = 'ACTIVE' "
            "AND strpos(l.search_text, $1::text) > 0 AND " +
                condition + ") " +
                recordSelect("l.price", "(SELECT * FROM found ORDER BY productid DESC LIMIT " +
                                            std::to_string(most) + ")") +
                "ORDER BY l.productid DESC",
            values));
    };
    // When at most half of the blocks, the newest, should hold a page of results of the kind
    // asked for, they are asked one by one, newest first, until the page is full; otherwise, or
    // when they fall short, the whole index is asked. A block is asked by an equality: the index
    // finds the listings of one block among a trigram's holders quickly, but those of a range of
    // blocks only by gathering every listing of the range. Each block asked still reads the
    // trigrams' holders, a good part of what asking the whole index at once costs.
    const double share = sample.share(needle, kinds == KindFilter::Both ? "" : kindName(kinds));
    const int blocks = newestBlocksToAsk(share);
    if (blocks > 0) {
        const std::int64_t highest =
            db.query("SELECT COALESCE(max(productid), 0) FROM listings").integer(0, 0);
        const std::int64_t newestBlock = highest / kBlockListings;
        const std::int64_t lastBlock = std::max<std::int64_t>(0, newestBlock - blocks + 1);
        const std::string inBlock =
            ofKinds(kinds, indexed + " AND " TL_BLOCK " = $" + std::to_string(texts.size() + 1) +
                               "::bigint");
        std::vector<ListingRecord> found;
        // The listings of the blocks asked so far.
        double asked = static_cast<double>(highest % kBlockListings + 1);
        for (std::int64_t block = newestBlock; block >= lastBlock; --block) {
            auto older = ask(inBlock, kMaxResults - found.size(), block);
            std::move(older.begin(), older.end(), std::back_inserter(found));
            if (found.size() >= kMaxResults || block == 0) return found;
            // When the blocks asked held too few for the blocks left to make up a page, the
            // sample misjudged the text, and the whole index is asked at once.
            const double perBlock = static_cast<double>(found.size()) / asked * kBlockListings;
            if (perBlock * static_cast<double>(block - lastBlock) <
                static_cast<double>(kMaxResults - found.size()))
                break;
            asked += kBlockListings;
        }
    }
    return ask(ofKinds(kinds, indexed), kMaxResults, std::nullopt);
}

int PostgresMarketStore::newestBlocksToAsk(double share) {
    const auto size = static_cast<std::int64_t>(marketSize());
    // Asked one by one, more than half of the blocks cost more than the whole index.
    const std::int64_t most = (size / kBlockListings + 1) / 2;
    // The newest block is filled only up to the highest listing number.
    double expected = share * static_cast<double>(size % kBlockListings + 1);
    for (std::int64_t blocks = 1; blocks <= most; ++blocks) {
        if (expected >= kMaxResults) return static_cast<int>(most);
        expected += share * static_cast<double>(kBlockListings);
    }
    return 0;
}

std::vector<ListingRecord> PostgresMarketStore::search(const std::string& criteria,
                                                       KindFilter kinds) {
    const std::string text = storedText(criteria);
    auto db = database_.borrow();
    // $1: the kind's name, "" for both.
    const std::string activeOfKind =
        "WHERE l.state = 'ACTIVE' AND ($1::text = '' OR l.kind = $1::text) ";
    if (text.empty()) {
        return records(
            db->query(recordSelect() + activeOfKind + "ORDER BY l.productid DESC" + kResultLimit,
                      kindName(kinds)));
    }
    const std::string needle = asciiLower(text);
    const auto sample = searchSample(*db);
    // A common text: its newest holders are near the top of the listings.
    if (sample->worthWalking(sample->share(needle), marketSize(), kMaxResults)) {
        return records(db->query(recordSelect() + activeOfKind +
                                     "AND strpos(l.search_text, $2::text) > 0 "
                                     "ORDER BY l.productid DESC" +
                                     kResultLimit,
                                 kindName(kinds), needle));
    }
    // Any other: through the index.
    return indexedRecords(*db, needle, kinds, *sample);
}

std::size_t PostgresMarketStore::marketSize() {
    std::lock_guard lock(sampleMutex_);
    return marketSize_;
}

std::vector<ListingRecord> PostgresMarketStore::advancedSearch(const AdvancedCriteria& c) {
    auto db = database_.borrow();
    const auto sample = searchSample(*db);
    std::string sql = recordSelect() + "WHERE l.state = 'ACTIVE' ";
    PgParameters values;
    const auto next = [&] { return "$" + std::to_string(values.count() + 1); };
    // A text found anywhere in the column, ASCII letters matched without regard to case. What is
    // in the title or the description is in the search text, so the index narrows by the text's
    // rarest pieces there first.
    std::string indexed;
    const auto contains = [&](const char* column, const std::string& text) {
        const std::string stored = storedText(text);
        for (const std::string& piece : sample->rarestPieces(asciiLower(stored))) {
            indexed += " AND l.search_text LIKE " + next() + "::text";
            values.add(containsPattern(piece));
        }
        sql += std::string("AND lower(") + column + " COLLATE \"C\") LIKE lower(" + next() +
               "::text COLLATE \"C\") ";
        values.add(containsPattern(stored));
    };
    if (!c.titlebar.empty()) contains("l.titlebar", c.titlebar);
    if (!c.description.empty()) contains("l.description", c.description);
    if (!c.zipcode.empty()) {
        sql += "AND l.zipcode = " + next() + " ";
        values.add(storedText(c.zipcode));
    }
    if (!c.category.empty()) {
        const std::string p = next() + "::text";
        values.add(storedText(c.category));
        const std::string q = next() + "::text";
        values.add(storedText(c.category) + "; ");
        sql += "AND (l.category1 = " + p + " OR l.category2 = " + p +
               " OR starts_with(l.category1, " + q + ") OR starts_with(l.category2, " + q + ")) ";
    }
    if (!c.club.empty()) {
        const std::string p = next() + "::text";
        values.add(storedText(c.club));
        sql += "AND (m.club1 = " + p + " OR m.club2 = " + p + ") ";
    }
    sql += "AND " + ofKinds(c.kinds, indexed) + " ";
    if (!c.user.empty()) {
        sql += "AND l.owner = " + next() + " ";
        values.add(c.user);
    }
    if (c.price) {
        // Make-offer listings have no price to compare.
        sql += std::string("AND l.price_value >= 0 AND l.price_value ") +
               (c.priceGreater ? ">" : "<") + " " + next() + "::float8 ";
        values.add(*c.price);
    }
    sql += "ORDER BY l.productid DESC" + kResultLimit;
    return records(db->run(sql, values));
}

}  // namespace tl::market
