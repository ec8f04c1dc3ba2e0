// Soak of the listing server: 32 well-behaved requesters fetch listings and photos in a loop
// for a minute (or the seconds given as the first argument) while 200 idle connections and 10
// slow readers are held open against the same server. The server runs in a child process of its
// own, so that its thread count and memory are its own. Prints the requests served, the p50/p99
// latency of the well-behaved requests, failures, and the server's threads and resident memory
// along the run. Targets: p99 under 1 s, no request lost, memory flat.

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ServerProcess.h"
#include "core/peer/SocketIo.h"
#include "core/peer/TransferProtocol.h"
#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kRequesters = 32;
constexpr int kIdleConnections = 200;
constexpr int kSlowReaders = 10;
constexpr int kListings = 20;
constexpr std::size_t kListingSize = 8 * 1024;
constexpr std::size_t kPhotoSize = 300 * 1024;
constexpr std::size_t kSlowReadPiece = 256 * 1024;
constexpr milliseconds kSlowReadPause{2000};
constexpr milliseconds kWait{10000};

// Keeps kIdleConnections silent connections open from addresses of their own, opening a new one
// whenever the server has closed one.
void holdIdleConnections(int port, const std::atomic<bool>& running, std::atomic<long>& opened) {
    std::vector<tl::Socket> idle(kIdleConnections);
    while (running) {
        for (int i = 0; i < kIdleConnections; ++i) {
            char byte;
            if (idle[i].valid() && tl::receiveSome(idle[i].fd(), &byte, 1, Clock::now()) < 0 &&
                errno == EAGAIN)
                continue;  // still open and silent
            idle[i] =
                tl::connectTo("127.0.0.1", port, kWait, "127.0.1." + std::to_string(1 + i % 100));
            ++opened;
        }
        std::this_thread::sleep_for(milliseconds(200));
    }
}

// Ten readers, each from an address of its own, asking for a large file and taking 256 KiB of
// it every two seconds.
void readSlowly(int port, const std::atomic<bool>& running) {
    std::vector<tl::Socket> slow;
    for (int i = 0; i < kSlowReaders; ++i) {
        slow.push_back(tl::connectTo("127.0.0.1", port, kWait, "127.0.2." + std::to_string(i + 1)));
        tl::sendAll(slow.back().fd(), tl::encodeFileRequest("huge.bin"), kWait);
    }
    std::vector<char> piece(kSlowReadPiece);
    while (running) {
        for (const tl::Socket& reader : slow)
            tl::receiveSome(reader.fd(), piece.data(), piece.size(), Clock::now());
        std::this_thread::sleep_for(kSlowReadPause);
    }
}

double percentile(std::vector<double>& values, double fraction) {
    if (values.empty()) return 0;
    const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + at, values.end());
    return values[at];
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("tradeloom-soak-" + std::to_string(::getpid()));
    tl::setProgramDirectory(home.string());
    tl::createDirectories(tl::productsDirectory());
    std::vector<std::string> listings, photos;
    for (int i = 0; i < kListings; ++i) {
        const std::string id = std::to_string(10000 + i);
        listings.push_back(soak::patterned(kListingSize, i));
        photos.push_back(soak::patterned(kPhotoSize, 100 + i));
        tl::createDirectories(tl::productsDirectory() + id);
        tl::writeFileAtomically(tl::productsDirectory() + id + ".xml", listings.back());
        tl::writeFileAtomically(tl::productsDirectory() + id + "/photo.jpg", photos.back());
    }
    // Sparse: takes no room on disk.
    std::ofstream(tl::productsDirectory() + "huge.bin").close();
    std::filesystem::resize_file(tl::productsDirectory() + "huge.bin", 1ull << 30);

    auto server = std::make_unique<soak::ServerProcess>();
    const int port = server->port();
    if (port == 0) {
        std::fprintf(stderr, "the listing server did not start\n");
        return 1;
    }
    const long threadsAtStart = server->statusField("Threads");
    const long memoryAtStart = server->statusField("VmRSS");

    std::atomic<bool> running{true};
    std::atomic<long> idleOpened{0};
    std::thread idle(holdIdleConnections, port, std::cref(running), std::ref(idleOpened));
    std::thread slow(readSlowly, port, std::cref(running));
    std::this_thread::sleep_for(milliseconds(500));  // the attackers in place first

    std::mutex resultMutex;
    std::vector<double> latencies;
    long failures = 0;
    std::vector<std::thread> requesters;
    const Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
    for (int r = 0; r < kRequesters; ++r) {
        requesters.emplace_back([&, r] {
            std::vector<double> mine;
            long failed = 0;
            for (int n = r; Clock::now() < end; ++n) {
                const int i = n % kListings;
                const bool photo = n % 2 == 1;
                const std::string id = std::to_string(10000 + i);
                const Clock::time_point start = Clock::now();
                const bool whole = photo ? soak::fetchWhole(port, id + "\\photo.jpg", photos[i])
                                         : soak::fetchWhole(port, id + ".xml", listings[i]);
                mine.push_back(std::chrono::duration<double>(Clock::now() - start).count());
                if (!whole) ++failed;
            }
            std::lock_guard lock(resultMutex);
            latencies.insert(latencies.end(), mine.begin(), mine.end());
            failures += failed;
        });
    }
    std::vector<long> memory;
    while (Clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::seconds(std::min(10, seconds)));
        memory.push_back(server->statusField("VmRSS"));
    }
    for (std::thread& requester : requesters) requester.join();
    const long threadsAtEnd = server->statusField("Threads");
    const long memoryAtEnd = server->statusField("VmRSS");
    running = false;
    idle.join();
    slow.join();
    server.reset();
    std::filesystem::remove_all(home);

    const std::size_t served = latencies.size();
    const double p50 = percentile(latencies, 0.50) * 1000;
    const double p99 = percentile(latencies, 0.99) * 1000;
    std::printf("%d s, %d requesters, %d idle connections (%ld opened in all), %d slow readers\n",
                seconds, kRequesters, kIdleConnections, idleOpened.load(), kSlowReaders);
    std::printf("requests served: %zu (%.0f/s), failed or incomplete: %ld\n", served,
                static_cast<double>(served) / seconds, failures);
    std::printf("latency: p50 %.1f ms, p99 %.1f ms (target p99 < 1000 ms)\n", p50, p99);
    std::printf("server threads: %ld at start, %ld at the end\n", threadsAtStart, threadsAtEnd);
    std::printf("server resident memory: %ld KiB at start, then", memoryAtStart);
    for (const long kib : memory) std::printf(" %ld", kib);
    std::printf(", %ld KiB at the end\n", memoryAtEnd);
    return failures == 0 ? 0 : 1;
}
