// Quick search of the marketplace server as the market grows, on each kind of store: for each
// number of generated listings (the same words on both stores), 8 client connections on
// loopback ask search.asp for a bounded time. Prints one table row per store and size: requests
// per second, p50 and p99 latency, the database's size, how long seeding took, how long the
// store took to open on the seeded database and how much the server process grew from before
// that opening to the end of the load; then p50 and p99 for each kind of criteria.
//
//   market_scale_bench [--sizes 10000,100000,1000000] [--seconds 10] [--connections 8]
//                      [--stores sqlite,postgresql]
//
// PostgreSQL runs on a throwaway cluster the benchmark starts (tests/server/postgres-cluster.sh).
#include <httplib.h>
#include <malloc.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "MarketServer.h"
#include "MarketStore.h"
#include "PostgresDatabase.h"
#include "support/GeneratedMarket.h"
#include "support/Resident.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMembers = 100;
constexpr int kChunk = 20000;

// Listings first .. first+count-1; listing i is the same whichever store it goes to.
std::vector<tl::market::Listing> listings(int first, int count) {
    std::vector<tl::market::Listing> out;
    out.reserve(static_cast<std::size_t>(count));
    for (int i = first; i < first + count; ++i) {
        std::mt19937 random(static_cast<unsigned>(i));
        out.push_back(tl::bench::generatedListing(random, i, kMembers));
    }
    return out;
}

// The kinds of criteria searchTargets() makes, by target number modulo 3.
constexpr const char* kCriteriaKinds[] = {
    "adjective and noun, both kinds", "noun, model, number, selling", "model and number, buying"};

double percentile(const std::vector<double>& sorted, double p) {
    return sorted.empty()
               ? 0.0
               : sorted[std::min(sorted.size() - 1,
                                 static_cast<std::size_t>(p * static_cast<double>(sorted.size())))];
}

struct Load {
    std::vector<double> latencies;  // ms, sorted
    std::vector<double> byKind[3];  // ms, sorted, by kind of criteria
    double seconds = 0;
    bool failed = false;
};

Load measure(int port, int connections, int seconds) {
    const auto targets = tl::bench::searchTargets();
    std::atomic<bool> failed{false};
    // Per connection: the latency of each request and the kind of its criteria.
    std::vector<std::vector<std::pair<int, double>>> latencies(
        static_cast<std::size_t>(connections));
    const auto started = Clock::now();
    const auto until = started + std::chrono::seconds(seconds);
    std::vector<std::thread> clients;
    for (int c = 0; c < connections; ++c) {
        clients.emplace_back([&, c] {
            httplib::Client client("127.0.0.1", port);
            client.set_keep_alive(true);
            client.set_tcp_nodelay(true);
            client.set_read_timeout(30, 0);
            client.set_basic_auth("zeyan", "vexil&qo");
            auto& mine = latencies[static_cast<std::size_t>(c)];
            for (std::size_t i = static_cast<std::size_t>(c) * 37; Clock::now() < until; ++i) {
                const auto begin = Clock::now();
                const auto reply = client.Get(targets[i % targets.size()].c_str());
                if (!reply || reply->status != 200) {
                    failed = true;
                    return;
                }
                mine.emplace_back(
                    static_cast<int>(i % 3),
                    std::chrono::duration<double, std::milli>(Clock::now() - begin).count());
            }
        });
    }
    for (auto& t : clients) t.join();
    Load load;
    load.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    load.failed = failed;
    for (const auto& mine : latencies)
        for (const auto& [kind, ms] : mine) {
            load.latencies.push_back(ms);
            load.byKind[kind].push_back(ms);
        }
    std::sort(load.latencies.begin(), load.latencies.end());
    for (auto& kind : load.byKind) std::sort(kind.begin(), kind.end());
    return load;
}

std::uintmax_t folderBytes(const std::string& folder) {
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) bytes += entry.file_size();
    return bytes;
}

std::vector<std::string> split(const std::string& text) {
    std::vector<std::string> out;
    std::stringstream in(text);
    for (std::string item; std::getline(in, item, ',');)
        if (!item.empty()) out.push_back(item);
    return out;
}

// One row of the table: a fresh store of the kind with count listings, opened again, then the
// load. byKind gets the row's figures for each kind of criteria.
bool run(const std::string& kind, const std::string& clusterFolder, int count, int seconds,
         int connections, std::vector<std::string>& byKind) {
    char folderTemplate[] = "/tmp/market_scale_bench.XXXXXX";
    if (!mkdtemp(folderTemplate)) return false;
    const std::string folder = folderTemplate;
    const std::string database = "scale_" + std::to_string(count);
    const std::string uri =
        "postgresql:///" + database + "?host=" + clusterFolder + "&user=tradeloom";
    const bool postgres = kind == "postgresql";
    if (postgres)
        tl::market::PgConnection("postgresql:///postgres?host=" + clusterFolder + "&user=tradeloom")
            .execute("CREATE DATABASE " + database);
    tl::market::MarketServerOptions options;
    options.dataFolder = folder;
    options.database = postgres ? uri : "";
    options.logRequests = false;
    const auto seeding = Clock::now();
    {
        tl::market::MarketServer seeder(options);
        auto& store = seeder.store();
        for (int m = 0; m < kMembers; ++m) {
            tl::market::Member member;
            member.username = "member" + std::to_string(1000 + m);
            member.connection = m % 2 ? "Cable" : "DSL";
            member.email = member.username + "@example.org";
            store.createMember(member, "secret");
            // Half of the members are online, so records carry addresses.
            if (m % 2) store.login(member.username, "secret", "127.0.0." + std::to_string(m + 1));
        }
        for (int first = 0; first < count; first += kChunk)
            store.addListings(listings(first, std::min(kChunk, count - first)));
    }
    // A freshly loaded database gets its statistics (and its index's pending entries merged) as
    // autovacuum would give them after a while.
    if (postgres) tl::market::PgConnection(uri).execute("VACUUM ANALYZE");
    const double seedSeconds = std::chrono::duration<double>(Clock::now() - seeding).count();

    bool ok = true;
    {
        malloc_trim(0);
        const double residentBefore = tl::bench::residentMegabytes();
        const auto opening = Clock::now();
        tl::market::MarketServer server(options);
        const int port = server.start("127.0.0.1", 0);
        const double openSeconds = std::chrono::duration<double>(Clock::now() - opening).count();
        if (port < 0) return false;
        // A first round brings the database's pages into memory, as serving does.
        measure(port, connections, std::min(seconds, 5));
        const Load load = measure(port, connections, seconds);
        server.stop();
        const double grown = tl::bench::residentMegabytes() - residentBefore;
        const double megabytes =
            static_cast<double>(postgres
                                    ? static_cast<std::uintmax_t>(
                                          tl::market::PgConnection(uri)
                                              .query("SELECT pg_database_size(current_database())")
                                              .integer(0, 0))
                                    : folderBytes(folder)) /
            (1024.0 * 1024.0);
        std::printf("| %-10s | %9d | %8.0f | %7.2f | %7.2f | %8.1f | %7.1f | %7.2f | %7.1f |%s\n",
                    kind.c_str(), count, static_cast<double>(load.latencies.size()) / load.seconds,
                    percentile(load.latencies, 0.50), percentile(load.latencies, 0.99), megabytes,
                    seedSeconds, openSeconds, grown,
                    load.failed ? " FAILED: a request got no reply or an error status" : "");
        std::fflush(stdout);
        for (int k = 0; k < 3; ++k) {
            char line[200];
            std::snprintf(line, sizeof line, "| %-10s | %9d | %-30s | %7.2f | %7.2f |",
                          kind.c_str(), count, kCriteriaKinds[k], percentile(load.byKind[k], 0.50),
                          percentile(load.byKind[k], 0.99));
            byKind.push_back(line);
        }
        ok = !load.failed;
    }
    std::filesystem::remove_all(folder);
    if (postgres)
        tl::market::PgConnection("postgresql:///postgres?host=" + clusterFolder + "&user=tradeloom")
            .execute("DROP DATABASE " + database);
    return ok;
}

std::string clusterCommand(const char* action, const std::string& folder) {
    return std::string("'") + TRADELOOM_POSTGRES_CLUSTER_SCRIPT + "' " + action + " '" + folder +
           "'";
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> sizes = {"10000"}, stores = {"sqlite", "postgresql"};
    int seconds = 10, connections = 8;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--sizes")
            sizes = split(value);
        else if (option == "--stores")
            stores = split(value);
        else if (option == "--seconds")
            seconds = std::max(1, std::atoi(value.c_str()));
        else if (option == "--connections")
            connections = std::max(1, std::atoi(value.c_str()));
    }

    std::string cluster;
    if (std::find(stores.begin(), stores.end(), "postgresql") != stores.end()) {
        char folder[] = "/tmp/market_scale_pg.XXXXXX";
        if (!mkdtemp(folder)) return 1;
        cluster = folder;
        // Shared buffers as a database server for a market this size would have them (a
        // quarter of a small server's memory), not the default 128 MB; the environment may say
        // otherwise.
        setenv("POSTGRES_CLUSTER_OPTIONS", "-c shared_buffers=1GB", 0);
        if (std::system(clusterCommand("start", cluster).c_str()) != 0) return 1;
    }
    std::printf("quick search, %d connections, %d s per row\n\n", connections, seconds);
    std::printf(
        "| store      |  listings |    req/s | p50 ms  | p99 ms  | size MB  | seed s  | open s  "
        "| grew MB |\n");
    std::printf(
        "|------------|-----------|----------|---------|---------|----------|---------|---------"
        "|---------|\n");
    bool ok = true;
    std::vector<std::string> byKind;
    for (const auto& size : sizes)
        for (const auto& store : stores) {
            try {
                ok = run(store, cluster, std::atoi(size.c_str()), seconds, connections, byKind) &&
                     ok;
            } catch (const std::exception& error) {
                std::printf("| %-10s | %9s | failed: %s\n", store.c_str(), size.c_str(),
                            error.what());
                ok = false;
            }
        }
    std::printf(
        "\n| store      |  listings | criteria                       | p50 ms  | p99 ms  |\n");
    std::printf(
        "|------------|-----------|--------------------------------|---------|---------|\n");
    for (const std::string& line : byKind) std::printf("%s\n", line.c_str());
    if (!cluster.empty()) {
        [[maybe_unused]] const int stopped = std::system(clusterCommand("stop", cluster).c_str());
    }
    return ok ? 0 : 1;
}
