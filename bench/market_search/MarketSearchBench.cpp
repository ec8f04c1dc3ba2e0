// Quick search throughput of the marketplace server: 10,000 seeded listings, 8 client
// connections on loopback asking search.asp with criteria and status for a bounded time.
// Prints requests per second and latency percentiles.
//
//   market_search_bench [seconds (default 10)] [connections (default 8)]
#include <httplib.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "MarketServer.h"
#include "MarketStore.h"
#include "support/GeneratedMarket.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<tl::market::Listing> seedListings(int count, int members) {
    std::mt19937 random(42);
    std::vector<tl::market::Listing> listings;
    for (int i = 0; i < count; ++i) {
        listings.push_back(tl::bench::generatedListing(random, i, members));
    }
    return listings;
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const int connections = argc > 2 ? std::max(1, std::atoi(argv[2])) : 8;
    constexpr int kListings = 10000;
    constexpr int kMembers = 100;

    char folderTemplate[] = "/tmp/market_search_bench.XXXXXX";
    if (!mkdtemp(folderTemplate)) return 1;
    const std::string folder = folderTemplate;
    int status = 0;
    {
        tl::market::MarketServerOptions options;
        options.dataFolder = folder;
        options.logRequests = false;
        tl::market::MarketServer server(options);
        const int port = server.start("127.0.0.1", 0);
        if (port < 0) return 1;
        auto& store = server.store();
        for (int m = 0; m < kMembers; ++m) {
            tl::market::Member member;
            member.username = "member" + std::to_string(1000 + m);
            member.connection = m % 2 ? "Cable" : "DSL";
            member.email = member.username + "@example.org";
            store.createMember(member, "secret");
            // Half of the members are online, so records carry addresses.
            if (m % 2) store.login(member.username, "secret", "127.0.0." + std::to_string(m + 1));
        }
        store.addListings(seedListings(kListings, kMembers));
        const auto targets = tl::bench::searchTargets();

        std::atomic<bool> failed{false};
        std::vector<std::vector<double>> latencies(static_cast<std::size_t>(connections));
        std::vector<std::size_t> records(static_cast<std::size_t>(connections));
        const auto until = Clock::now() + std::chrono::seconds(seconds);
        const auto started = Clock::now();
        std::vector<std::thread> clients;
        for (int c = 0; c < connections; ++c) {
            clients.emplace_back([&, c] {
                httplib::Client client("127.0.0.1", port);
                client.set_keep_alive(true);
                client.set_tcp_nodelay(true);
                client.set_basic_auth("zeyan", "vexil&qo");
                auto& mine = latencies[static_cast<std::size_t>(c)];
                for (std::size_t i = static_cast<std::size_t>(c) * 37; Clock::now() < until; ++i) {
                    const auto begin = Clock::now();
                    const auto reply = client.Get(targets[i % targets.size()].c_str());
                    const auto end = Clock::now();
                    if (!reply || reply->status != 200) {
                        failed = true;
                        return;
                    }
                    std::size_t at = 0;
                    while ((at = reply->body.find("<product>", at)) != std::string::npos) {
                        ++records[static_cast<std::size_t>(c)];
                        ++at;
                    }
                    mine.push_back(std::chrono::duration<double, std::milli>(end - begin).count());
                }
            });
        }
        for (auto& t : clients) t.join();
        const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();
        server.stop();

        std::vector<double> all;
        std::size_t recordCount = 0;
        for (std::size_t c = 0; c < latencies.size(); ++c) {
            all.insert(all.end(), latencies[c].begin(), latencies[c].end());
            recordCount += records[c];
        }
        std::sort(all.begin(), all.end());
        auto percentile = [&](double p) {
            return all.empty()
                       ? 0.0
                       : all[std::min(all.size() - 1, static_cast<std::size_t>(p * all.size()))];
        };
        std::printf("market_search: %d listings, %d connections, %.1f s\n", kListings, connections,
                    elapsed);
        std::printf(
            "  requests:     %zu (%.1f records per reply)\n", all.size(),
            all.empty() ? 0.0 : static_cast<double>(recordCount) / static_cast<double>(all.size()));
        std::printf("  requests/s:   %.0f\n", static_cast<double>(all.size()) / elapsed);
        std::printf("  latency ms:   p50 %.2f  p90 %.2f  p99 %.2f  max %.2f\n", percentile(0.50),
                    percentile(0.90), percentile(0.99), all.empty() ? 0.0 : all.back());
        if (failed) {
            std::printf("  FAILED: a request got no reply or an error status\n");
            status = 1;
        }
    }
    std::filesystem::remove_all(folder);
    return status;
}
