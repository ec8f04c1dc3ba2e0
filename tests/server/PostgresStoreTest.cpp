// What PostgreSQL adds: the same search results as the embedded store on the same data, and
// several server processes serving one marketplace from one database.
#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "Digest.h"
#include "MarketTestServer.h"
#include "PostgresDatabase.h"
#include "TestDatabase.h"
#include "core/platform/ServerHost.h"
#include "core/service/MarketContract.h"
#include "core/service/ServiceRequest.h"
#include "core/session/Login.h"
#include "support/WaitFor.h"

namespace tl {
namespace {

using market::AdvancedCriteria;
using market::KindFilter;
using market::MarketStore;

struct TempFolder {
    std::string path;
    TempFolder() {
        char name[] = "/tmp/tradeloom-store-test.XXXXXX";
        path = mkdtemp(name);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
};

// The same members and listings in a store, in the same order.
void seed(MarketStore& store) {
    market::Member seller{
        "seller1",         "Ann", "Lee",         "", "",  "12345", "", "Cable", "Email",
        "ann@example.org", "",    "Book Lovers", "", "US"};
    ASSERT_TRUE(store.createMember(seller, "secret1"));
    seller.username = "seller2";
    seller.club1 = "Garden Swap";
    ASSERT_TRUE(store.createMember(seller, "secret1"));
    struct Row {
        const char *owner, *title, *description, *price, *kind, *category, *zipcode;
    };
    const Row rows[] = {
        {"seller1", "Oak TABLE", "Solid oak, 100% wood", "120", "Selling", "Antiques; Clocks",
         "12345"},
        {"seller1", "Brass clock", "Runs fast_ish", "5", "Buying", "Antiques", "12345"},
        {"seller1", "Café chair", "ÉCLAIR pattern", "-1", "Selling", "Furniture", "54321"},
        {"seller1", "Back\\slash lamp", "table lamp", "0", "Selling", "Antiques2", "12345"},
        {"seller1", "Old radio", "works", "9", "Selling", "Audio", "12345"},
        {"seller1", "Radio tube", "spare", "8", "Selling", "Audio", "12345"},
        {"seller2", "Title end", "start of description", "30", "Selling", "Books", "12345"},
        {"seller2", "Radio alarm", "wakes you", "15", "Buying", "Audio", "12345"},
    };
    for (const Row& r : rows) {
        market::Listing l;
        l.owner = r.owner;
        l.titlebar = r.title;
        l.description = r.description;
        l.price = r.price;
        l.kind = r.kind;
        l.category1 = r.category;
        l.zipcode = r.zipcode;
        ASSERT_TRUE(store.addListing(l));
    }
    store.inactivate(5);
    ASSERT_TRUE(store.sell(6, "seller2", "7"));
}

std::vector<std::string> titles(const std::vector<market::ListingRecord>& records) {
    std::vector<std::string> out;
    for (const auto& r : records) out.push_back(r.titlebar);
    return out;
}

TEST(PostgresStoreTest, BothStoresFindTheSameListings) {
    TempFolder folder;
    test::TestDatabase database;
    const auto sqlite = market::openMarketStore("sqlite:" + folder.path + "/market.db");
    const auto postgres = market::openMarketStore(database.uri());
    seed(*sqlite);
    seed(*postgres);

    using Titles = std::vector<std::string>;
    const Titles allActive = {"Radio alarm", "Title end",   "Back\\slash lamp",
                              "Café chair",  "Brass clock", "Oak TABLE"};
    const struct {
        const char* criteria;
        KindFilter kinds;
        Titles expected;
    } quick[] = {
        {"table", KindFilter::Both, {"Back\\slash lamp", "Oak TABLE"}},
        {"TABLE", KindFilter::Selling, {"Back\\slash lamp", "Oak TABLE"}},
        {"table", KindFilter::Buying, {}},
        {"ab", KindFilter::Both, {"Back\\slash lamp", "Oak TABLE"}},  // shorter than a trigram
        {"0% w", KindFilter::Both, {"Oak TABLE"}},
        {"%", KindFilter::Both, {"Oak TABLE"}},
        {"_", KindFilter::Both, {"Brass clock"}},
        {"\\", KindFilter::Both, {"Back\\slash lamp"}},
        {"café", KindFilter::Both, {"Café chair"}},
        {"CAFÉ", KindFilter::Both, {}},  // only ASCII letters are matched regardless of case
        {"Éclair", KindFilter::Both, {"Café chair"}},
        {"éclair", KindFilter::Both, {}},
        {"radio", KindFilter::Both, {"Radio alarm"}},  // neither the inactive nor the sold one
        {"radio", KindFilter::Selling, {}},
        {"end", KindFilter::Both, {"Title end"}},
        {"end start", KindFilter::Both, {}},  // title and description are searched apart
        {"  ", KindFilter::Both, {}},
        {"", KindFilter::Both, allActive},
        {"", KindFilter::Buying, {"Radio alarm", "Brass clock"}},
    };
    for (const auto& q : quick) {
        SCOPED_TRACE(std::string("quick search \"") + q.criteria + "\"");
        EXPECT_EQ(titles(sqlite->search(q.criteria, q.kinds)), q.expected);
        EXPECT_EQ(titles(postgres->search(q.criteria, q.kinds)), q.expected);
    }

    const auto criteria = [](auto change) {
        AdvancedCriteria c;
        change(c);
        return c;
    };
    const struct {
        const char* what;
        AdvancedCriteria criteria;
        Titles expected;
    } advanced[] = {
        {"title", criteria([](auto& c) { c.titlebar = "TABLE"; }), {"Oak TABLE"}},
        {"description", criteria([](auto& c) { c.description = "Table"; }), {"Back\\slash lamp"}},
        {"literal %", criteria([](auto& c) { c.description = "%"; }), {"Oak TABLE"}},
        {"non-ASCII case", criteria([](auto& c) { c.description = "éclair"; }), {}},
        {"price below",
         criteria([](auto& c) {
             c.price = 20;
             c.priceGreater = false;
         }),
         {"Radio alarm", "Back\\slash lamp", "Brass clock"}},
        {"price above", criteria([](auto& c) { c.price = 20; }), {"Title end", "Oak TABLE"}},
        {"category and its subcategories",
         criteria([](auto& c) { c.category = "Antiques"; }),
         {"Brass clock", "Oak TABLE"}},
        {"club", criteria([](auto& c) { c.club = "Garden Swap"; }), {"Radio alarm", "Title end"}},
        {"kind",
         criteria([](auto& c) { c.kinds = KindFilter::Buying; }),
         {"Radio alarm", "Brass clock"}},
        {"zip code", criteria([](auto& c) { c.zipcode = "54321"; }), {"Café chair"}},
        {"member and title",
         criteria([](auto& c) {
             c.user = "seller2";
             c.titlebar = "radio";
         }),
         {"Radio alarm"}},
        {"nothing", AdvancedCriteria{}, allActive},
    };
    for (const auto& a : advanced) {
        SCOPED_TRACE(std::string("advanced search by ") + a.what);
        EXPECT_EQ(titles(sqlite->advancedSearch(a.criteria)), a.expected);
        EXPECT_EQ(titles(postgres->advancedSearch(a.criteria)), a.expected);
    }
    EXPECT_EQ(sqlite->clubs(), postgres->clubs());
    EXPECT_EQ(titles(postgres->bought("seller2")), Titles{"Radio tube"});
}

// A market large enough that a common text is found by walking the newest listings and a rarer
// one through the index's rarest pieces: both stores give the same newest listings either way.
TEST(PostgresStoreTest, CommonAndRareTextsAreFoundAlikeInALargerMarket) {
    TempFolder folder;
    test::TestDatabase database;
    const auto sqlite = market::openMarketStore("sqlite:" + folder.path + "/market.db");
    const auto postgres = market::openMarketStore(database.uri());
    std::vector<market::Listing> listings;
    for (int i = 0; i < 1500; ++i) {
        market::Listing l;
        l.owner = "nobody";
        l.titlebar = std::string(i % 5 < 2 ? "Common" : "Plain") + " lamp " + std::to_string(i);
        l.description = i % 50 == 0 ? "a Scarce shade" : "shade";
        l.price = "10";
        l.kind = i % 3 ? "Selling" : "Buying";
        listings.push_back(l);
    }
    for (const auto* store : {&sqlite, &postgres}) (*store)->addListings(listings);
    for (const char* criteria :
         {"common lamp", "COMMON", "scarce", "lamp 14", "lamp 1499", "mp 7", "ain la", "nowhere"}) {
        for (const KindFilter kinds : {KindFilter::Both, KindFilter::Buying}) {
            SCOPED_TRACE(std::string("quick search \"") + criteria + "\"");
            const auto expected = titles(sqlite->search(criteria, kinds));
            EXPECT_EQ(titles(postgres->search(criteria, kinds)), expected);
            AdvancedCriteria byTitle;
            byTitle.titlebar = criteria;
            EXPECT_EQ(titles(postgres->advancedSearch(byTitle)),
                      titles(sqlite->advancedSearch(byTitle)));
        }
    }
    EXPECT_EQ(postgres->search("common", KindFilter::Both).size(), MarketStore::kMaxResults);

    // A listing numbered far beyond the others: the newest blocks hold too few, so a search (of a
    // store whose sample sees that listing) asks the whole index and still finds the older ones.
    market::PgConnection(database.uri())
        .execute(
            "INSERT INTO listings(productid, owner, titlebar, description, price, "
            "price_value, kind) VALUES (400000, 'nobody', 'Far lamp', 'scarce', '1', 1, "
            "'Selling')");
    auto scarce = titles(sqlite->search("scarce", KindFilter::Both));
    scarce.insert(scarce.begin(), "Far lamp");
    const auto sampling = market::openMarketStore(database.uri());
    EXPECT_EQ(titles(sampling->search("scarce", KindFilter::Both)), scarce);
    EXPECT_EQ(titles(sampling->search("lamp 149", KindFilter::Both)),
              titles(sqlite->search("lamp 149", KindFilter::Both)));
}

// Listings numbered in three blocks far apart, the newest block's 5,000 (which the sample sees)
// holding "needle" 15 times: too few to walk for, enough that the newest blocks are asked one
// by one. With enough holders in the next block the page ends there; with too few the whole
// index is asked. Either way the page is the newest holders, newest first.
TEST(PostgresStoreTest, NewestBlocksAskedOneByOneGiveTheNewestHolders) {
    for (const int inNextBlock : {300, 100}) {
        SCOPED_TRACE(std::to_string(inNextBlock) + " holders in the next block");
        test::TestDatabase database;
        market::openMarketStore(database.uri());
        market::PgConnection db(database.uri());
        const auto add = [&](std::int64_t first, int count, const char* title) {
            db.execute(
                "INSERT INTO listings(productid, owner, titlebar, description, price, "
                "price_value, kind) SELECT " +
                std::to_string(first) + " + g, 'nobody', " + title +
                " || g, 'plain', '1', 1, 'Selling' FROM generate_series(1, " +
                std::to_string(count) + ") g");
        };
        add(2 * 131072, 100, "'Needle '");
        add(4 * 131072, inNextBlock, "'Needle '");
        add(5 * 131072, 5000, "CASE WHEN g % 350 = 1 THEN 'Needle ' ELSE 'Filler ' END");
        const market::PgResult truth = db.query(
            "SELECT titlebar FROM listings WHERE strpos(search_text, 'needle') > 0 "
            "ORDER BY productid DESC LIMIT 250");
        std::vector<std::string> newest;
        for (int row = 0; row < truth.rows(); ++row) newest.push_back(truth.text(row, 0));
        const auto store = market::openMarketStore(database.uri());
        EXPECT_EQ(titles(store->search("needle", KindFilter::Both)), newest);
        EXPECT_EQ(titles(store->search("NEEDLE", KindFilter::Selling)), newest);
    }
}

TEST(PostgresStoreTest, ANewerSchemaIsRefusedAndAStoreOpensTwice) {
    test::TestDatabase database;
    market::openMarketStore(database.uri());
    EXPECT_EQ(market::openMarketStore(database.uri())->clubs().size(), 6u) << "seeded once";
    market::PgConnection(database.uri()).execute("UPDATE schema_version SET version = 99");
    EXPECT_THROW(market::openMarketStore(database.uri()), market::DatabaseError);
}

TEST(PostgresStoreTest, AFirstVersionDatabaseIsUpgradedWithItsListingsFound) {
    test::TestDatabase database;
    market::openMarketStore(database.uri());
    // Back to the first version's listings table and index, with a listing in it.
    market::PgConnection(database.uri())
        .execute(
            "DROP INDEX listings_search_selling, listings_search_buying, listings_search_other; "
            "ALTER TABLE listings DROP COLUMN search_text; "
            "CREATE INDEX listings_text ON listings USING gin ((lower(titlebar COLLATE "
            "\"C\") || E'\\x01' || lower(description COLLATE \"C\")) gin_trgm_ops); "
            "INSERT INTO listings(owner, titlebar, price, price_value, kind) VALUES "
            "('nobody', 'Old Brass lamp', '1', 1, 'Selling'); "
            "UPDATE schema_version SET version = 1");
    const auto store = market::openMarketStore(database.uri());
    EXPECT_EQ(titles(store->search("brass", KindFilter::Both)),
              std::vector<std::string>{"Old Brass lamp"});
    EXPECT_EQ(market::PgConnection(database.uri())
                  .query("SELECT count(*) FROM pg_indexes WHERE indexname IN "
                         "('listings_search_selling', 'listings_search_buying', "
                         "'listings_search_other')")
                  .integer(0, 0),
              3);
}

TEST(PostgresStoreTest, ConcurrentUploadsOfTwoProcessesKeepTheMemberCap) {
    test::TestDatabase database;
    const auto first = market::openMarketStore(database.uri());
    const auto second = market::openMarketStore(database.uri());
    seed(*first);
    // seller1's files fill all but 100 bytes of the cap: only one more 60-byte photo fits.
    const std::string stored = "GIF89a";
    ASSERT_EQ(
        first->putListingFile(1, "seller1", {"old.gif", 6, market::sha256Hex(stored)}, stored),
        market::FilePut::Stored);
    market::PgConnection blocker(database.uri());
    blocker.query("UPDATE listing_files SET size = $1",
                  static_cast<std::int64_t>(contract::kMostKeptMemberBytes - 100));
    const auto photo = [](char c) { return "GIF89a" + std::string(54, c); };
    market::PgConnection observer(database.uri());
    const auto ungranted = [&] {
        return observer
            .query(
                "SELECT count(*) FROM pg_locks l JOIN pg_stat_activity a ON a.pid = l.pid "
                "WHERE NOT l.granted AND a.datname = current_database()")
            .integer(0, 0);
    };
    // An unfinished transaction holding the first photo's blob stops the first upload after
    // it has judged the cap; the second upload comes meanwhile, from the other process.
    blocker.execute("BEGIN");
    blocker.query("INSERT INTO file_blobs(sha256, bytes) VALUES ($1, $2)",
                  market::sha256Hex(photo('a')), photo('a'));
    std::atomic<int> taken{0}, done{0};
    const auto upload = [&](MarketStore& store, char c) {
        const market::KeptFile file{std::string(1, c) + ".gif", 60, market::sha256Hex(photo(c))};
        if (store.putListingFile(2, "seller1", file, photo(c)) == market::FilePut::Stored) ++taken;
        ++done;
    };
    std::thread a(upload, std::ref(*first), 'a');
    EXPECT_TRUE(test::waitFor([&] { return ungranted() == 1; }, std::chrono::seconds(5)));
    std::thread b(upload, std::ref(*second), 'b');
    test::waitFor([&] { return done == 1 || ungranted() == 2; }, std::chrono::seconds(5));
    blocker.execute("ROLLBACK");
    a.join();
    b.join();
    EXPECT_EQ(taken, 1);
}

// Two tradeloom-market processes on one database.
struct TwoServersTest : ::testing::Test {
    TempFolder folder;
    test::TestDatabase database;
    int ports[2] = {0, 0};
    pid_t pids[2] = {-1, -1};

    ~TwoServersTest() override {
        for (const pid_t pid : pids) {
            if (pid <= 0) continue;
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        setServerHost("");
    }

    // Starts server i (again) and waits, bounded, until it answers.
    bool start(int i) {
        for (ports[i] = 20000 + (getpid() * 2 + i) % 20000;; ++ports[i]) {
            httplib::Client probe("127.0.0.1", ports[i]);
            probe.set_connection_timeout(0, 100000);
            if (!probe.Get("/")) break;  // nothing listens there
        }
        pids[i] = fork();
        if (pids[i] == 0) {
            const std::string listen = "127.0.0.1:" + std::to_string(ports[i]);
            const std::string data = folder.path + "/data" + std::to_string(i);
            const std::string log = folder.path + "/server" + std::to_string(i) + ".log";
            if (!freopen(log.c_str(), "a", stderr)) _exit(126);
            execl(TRADELOOM_MARKET_BINARY, TRADELOOM_MARKET_BINARY, "--listen", listen.c_str(),
                  "--data", data.c_str(), "--database", database.uri().c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        httplib::Client probe("127.0.0.1", ports[i]);
        return test::waitFor(
            [&] {
                const auto reply = probe.Get("/");
                return reply && reply->status == 200;
            },
            std::chrono::seconds(10), std::chrono::milliseconds(25));
    }

    void killHard(int i) {
        kill(pids[i], SIGKILL);
        waitpid(pids[i], nullptr, 0);
        pids[i] = -1;
    }

    // Makes requests go to server i.
    void use(int i) { setServerHost("127.0.0.1:" + std::to_string(ports[i])); }

    std::string addressIn(const std::vector<test::Record>& found) {
        return found.empty() ? "(nothing found)" : test::field(found[0], "ipaddress");
    }
};

TEST_F(TwoServersTest, WhatOneServerTakesTheOtherServesAndAKillLosesNothing) {
    ASSERT_TRUE(start(0));
    ASSERT_TRUE(start(1));

    use(0);
    ASSERT_EQ(test::registerMember("annlee", "secret1"), "0");
    ASSERT_EQ(test::registerMember("bobby1", "secret1"), "0");
    const std::string id = test::publish(test::listingFields("annlee", "Walnut desk"));
    ASSERT_GT(std::atol(id.c_str()), 0);
    ASSERT_EQ(loginRequest("annlee", "secret1"), kLoginOk);
    ASSERT_EQ(requestText(endpoints::addFavorite(id, "bobby1")), "1");
    killHard(0);  // everything above was answered, so it is committed

    use(1);
    auto found = test::records(endpoints::search("walnut", "BOTH"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(test::field(found[0], "productid"), id);
    EXPECT_EQ(addressIn(found), "127.0.0.1") << "online through the other server";
    EXPECT_EQ(requestText(endpoints::isInFavorite(id, "bobby1")), "-1");

    // The login grows old; a heartbeat to server 1 brings annlee online again for server 0.
    market::PgConnection(database.uri())
        .execute("UPDATE members SET last_seen = last_seen - 3600 WHERE username = 'annlee'");
    ASSERT_TRUE(start(0));
    use(0);
    EXPECT_EQ(addressIn(test::records(endpoints::search("walnut", "BOTH"))), "");
    use(1);
    ASSERT_NE(requestText(endpoints::heartBeat("annlee")).find("true"), std::string::npos);
    use(0);
    EXPECT_EQ(addressIn(test::records(endpoints::search("walnut", "BOTH"))), "127.0.0.1");

    // Killed while the other one serves: a listing it stored is still there.
    use(1);
    const std::string second = test::publish(test::listingFields("annlee", "Walnut chair"));
    ASSERT_GT(std::atol(second.c_str()), std::atol(id.c_str()));
    killHard(1);
    use(0);
    EXPECT_EQ(test::records(endpoints::search("walnut", "BOTH")).size(), 2u);
}

}  // namespace
}  // namespace tl
