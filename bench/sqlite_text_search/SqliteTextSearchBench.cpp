// The SQLite store's quick search by text: the in-memory trigram index the store rebuilds at
// every start (ListingTextIndex) against SQLite's own FTS5 trigram tokenizer, which answers a
// substring LIKE from the database file. For each number of generated listings (the listings and
// criteria of market_scale_bench), both answer every criteria for the newest 250 listings of the
// kind asked, one search at a time. Prints, per size and way: p50 and p99 latency, start-up time
// (building the index from the listings table; opening the database for FTS5, whose table is
// built once, when it is made), memory the process grew by, the database's size, and how many
// searches gave other listings than the in-memory index did.
//
//   sqlite_text_search_bench [--sizes 10000,100000,1000000]
#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Database.h"
#include "ListingTextIndex.h"
#include "Text.h"
#include "support/GeneratedMarket.h"
#include "support/Resident.h"

namespace {

using Clock = std::chrono::steady_clock;
using tl::market::Connection;
using tl::market::ListingTextIndex;

constexpr std::size_t kPage = 250;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double megabytes(const std::string& path) {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(path, error);
    return error ? 0 : static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// The listings table as the store keeps it, with count generated listings.
void seed(Connection& db, int count) {
    db.execute(
        "CREATE TABLE listings(productid INTEGER PRIMARY KEY, titlebar TEXT NOT NULL, "
        "description TEXT NOT NULL, kind TEXT NOT NULL, state TEXT NOT NULL)");
    db.transaction([&] {
        for (int i = 0; i < count; ++i) {
            std::mt19937 random(static_cast<unsigned>(i));
            const tl::market::Listing l = tl::bench::generatedListing(random, i, 100);
            db.prepare("INSERT INTO listings VALUES (?, ?, ?, ?, 'ACTIVE')")
                .bind(std::int64_t{i + 1}, l.titlebar, l.description, l.kind)
                .run();
        }
    });
}

struct Way {
    std::vector<double> latencies;
    double startSeconds = 0, grownMegabytes = 0, databaseMegabytes = 0;
    int differing = 0;
};

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values.empty()
               ? 0
               : values[std::min(values.size() - 1, static_cast<std::size_t>(p * values.size()))];
}

void row(int count, const char* way, const Way& w) {
    std::printf("| %9d | %-16s | %7.3f | %7.3f | %8.2f | %8.1f | %8.1f | %9d |\n", count, way,
                percentile(w.latencies, 0.50) * 1e3, percentile(w.latencies, 0.99) * 1e3,
                w.startSeconds, w.grownMegabytes, w.databaseMegabytes, w.differing);
    std::fflush(stdout);
}

void compare(int count) {
    char folderTemplate[] = "/tmp/sqlite_text_search.XXXXXX";
    if (!mkdtemp(folderTemplate)) return;
    const std::string folder = folderTemplate, path = folder + "/market.db";
    const auto criteria = tl::bench::searchCriteria();
    std::vector<std::vector<std::int64_t>> found(criteria.size());
    Way memory, fts;
    {
        Connection db(path);
        seed(db, count);
        db.execute("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    memory.databaseMegabytes = megabytes(path);

    // The in-memory index, built as the store builds it at start.
    {
        malloc_trim(0);
        const double before = tl::bench::residentMegabytes();
        const auto start = Clock::now();
        auto index = std::make_unique<ListingTextIndex>();
        {
            Connection db(path);
            auto rows = db.prepare("SELECT productid, titlebar, description, kind FROM listings");
            while (rows.step())
                index->put(rows.integer(0), rows.text(1), rows.text(2), true,
                           rows.text(3) == "Buying" ? ListingTextIndex::Kind::Buying
                                                    : ListingTextIndex::Kind::Selling);
        }
        memory.startSeconds = secondsSince(start);
        for (int round = 0; round < 2; ++round)
            for (std::size_t i = 0; i < criteria.size(); ++i) {
                const std::string status = criteria[i].status;
                const ListingTextIndex::Kind kind = status == "BUYING"
                                                        ? ListingTextIndex::Kind::Buying
                                                        : ListingTextIndex::Kind::Selling;
                const auto asked = Clock::now();
                found[i] = index->find(tl::market::asciiLower(criteria[i].criteria),
                                       status == "BOTH" ? nullptr : &kind, kPage);
                if (round == 1) memory.latencies.push_back(secondsSince(asked));
            }
        memory.grownMegabytes = tl::bench::residentMegabytes() - before;
    }

    // FTS5: the table is made once, beside the listings, and kept in the database file.
    {
        Connection db(path);
        const auto building = Clock::now();
        db.execute(
            "CREATE VIRTUAL TABLE listings_text USING fts5(search_text, kind UNINDEXED, "
            "tokenize = 'trigram')");
        db.execute(
            "INSERT INTO listings_text(rowid, search_text, kind) SELECT productid, "
            "titlebar || char(1) || description, kind FROM listings");
        db.execute("PRAGMA wal_checkpoint(TRUNCATE)");
        std::printf("(FTS5 table of %d listings built in %.1f s)\n", count, secondsSince(building));
    }
    fts.databaseMegabytes = megabytes(path);
    {
        malloc_trim(0);
        const double before = tl::bench::residentMegabytes();
        const auto start = Clock::now();
        Connection db(path);
        db.prepare("SELECT count(*) FROM listings_text WHERE rowid = 1").run();
        fts.startSeconds = secondsSince(start);
        for (int round = 0; round < 2; ++round)
            for (std::size_t i = 0; i < criteria.size(); ++i) {
                const std::string status = criteria[i].status;
                const std::string kind = status == "BOTH"     ? ""
                                         : status == "BUYING" ? "Buying"
                                                              : "Selling";
                const auto asked = Clock::now();
                auto rows = db.prepare(
                    "SELECT rowid FROM listings_text WHERE search_text LIKE ?1 "
                    "AND (?2 = '' OR kind = ?2) ORDER BY rowid DESC LIMIT 250");
                rows.bind("%" + criteria[i].criteria + "%", kind);
                std::vector<std::int64_t> ids;
                while (rows.step()) ids.push_back(rows.integer(0));
                if (round == 1) {
                    fts.latencies.push_back(secondsSince(asked));
                    fts.differing += ids != found[i];
                }
            }
        fts.grownMegabytes = tl::bench::residentMegabytes() - before;
    }
    row(count, "in-memory index", memory);
    row(count, "FTS5 trigram", fts);
    std::filesystem::remove_all(folder);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes = {10000, 100000, 1000000};
    if (argc == 3 && std::string(argv[1]) == "--sizes") {
        sizes.clear();
        std::stringstream in(argv[2]);
        for (std::string size; std::getline(in, size, ',');)
            sizes.push_back(std::atoi(size.c_str()));
    }
    std::printf(
        "| listings  | way              | p50 ms  | p99 ms  | start s  | grew MB  | db MB    "
        "| differing |\n");
    std::printf(
        "|-----------|------------------|---------|---------|----------|----------|----------"
        "|-----------|\n");
    for (const int size : sizes) compare(size);
    return 0;
}
