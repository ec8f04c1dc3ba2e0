// Starvation cases of the listing server: hostile requesters from many loopback addresses hold
// it while an ordinary buyer from an address of its own asks for a listing, a few times in turn.
// Prints how long each of the buyer's requests took (target: under 1 s each).
//   held     482 connections from 241 addresses ask for a listing, take the reply and keep the
//            connection open; each one the server closes is opened and asks again.
//   slow1k   50 readers, each from an address of its own, take a 64 MiB file at 1 KB/s.
//   slow64k  16 readers take the same file at 64 KB/s.
// A second argument gives the seconds the attackers are in place before the buyer asks
// (default 5); each of the buyer's requests is given up after 30 s.

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
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

constexpr milliseconds kWait{10000};
constexpr milliseconds kBuyerLimit{30000};
constexpr int kBuyerRequests = 3;
constexpr milliseconds kAttackerTick{100};
constexpr std::size_t kListingSize = 8 * 1024;
constexpr std::uint64_t kLargeFile = 64ull << 20;

struct Attack {
    int connections;
    std::size_t perAddress;  // connections from one address
    std::string file;        // what each asks for
    std::size_t perTick;     // bytes read of the reply every tick; 0: all of it, then held
};

// One attacker connection from local asking for file; invalid when the server did not take it.
tl::Socket ask(int port, const std::string& local, const std::string& file) {
    tl::Socket connection = tl::connectTo("127.0.0.1", port, kWait, local);
    if (!connection.valid()) return connection;
    // A small receive buffer, so that what the reader takes is what the server must send.
    const int buffer = 16 * 1024;
    ::setsockopt(connection.fd(), SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    if (!tl::sendAll(connection.fd(), tl::encodeFileRequest(file), kWait)) return tl::Socket();
    return connection;
}

// Whether the server has ended a connection whose reply came whole: a byte sent to it is
// refused once the server has closed its end.
bool endedByServer(const tl::Socket& connection) {
    const char probe = 0;
    if (::send(connection.fd(), &probe, 1, MSG_NOSIGNAL | MSG_DONTWAIT) < 0 && errno != EAGAIN)
        return true;
    char byte;
    const ssize_t got = ::recv(connection.fd(), &byte, 1, MSG_DONTWAIT);
    return got < 0 && errno != EAGAIN && errno != EWOULDBLOCK;
}

// Keeps the attack's connections open and reading at its pace until running ends: one whose
// reply came whole stays open until the server closes it, and each connection the server ends
// is opened again. Counts the connections opened.
void attack(int port, const Attack& how, const std::atomic<bool>& running,
            std::atomic<long>& opened) {
    const auto count = static_cast<std::size_t>(how.connections);
    std::vector<tl::Socket> connections(count);
    std::vector<bool> replied(count, false);
    std::vector<char> piece(std::max<std::size_t>(how.perTick, 64 * 1024));
    for (long tick = 0; running; ++tick) {
        // Probed about once a second, so that the probes cost the server little.
        const bool probe = tick % 10 == 0;
        for (std::size_t i = 0; i < count && running; ++i) {
            tl::Socket& connection = connections[i];
            bool ended = !connection.valid() || (replied[i] && probe && endedByServer(connection));
            for (std::size_t taken = 0;
                 !ended && !replied[i] && (how.perTick == 0 || taken < how.perTick);) {
                const std::size_t want = how.perTick == 0 ? piece.size() : how.perTick - taken;
                const ssize_t got = ::recv(connection.fd(), piece.data(), want, MSG_DONTWAIT);
                if (got > 0) {
                    taken += static_cast<std::size_t>(got);
                    continue;
                }
                replied[i] = got == 0;
                ended = got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR;
                break;
            }
            if (!ended) continue;
            connection = ask(port, "127.0.5." + std::to_string(1 + i / how.perAddress), how.file);
            replied[i] = false;
            ++opened;
        }
        std::this_thread::sleep_for(kAttackerTick);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string which = argc > 1 ? argv[1] : "";
    const int settle = argc > 2 ? std::atoi(argv[2]) : 5;
    Attack how;
    if (which == "held")
        how = {482, 2, "12345.xml", 0};
    else if (which == "slow1k")
        how = {50, 1, "large.bin", 1024 * kAttackerTick.count() / 1000};
    else if (which == "slow64k")
        how = {16, 1, "large.bin", 64 * 1024 * kAttackerTick.count() / 1000};
    else {
        std::fprintf(stderr, "usage: %s held|slow1k|slow64k [seconds before the buyer asks]\n",
                     argv[0]);
        return 2;
    }
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("tradeloom-starve-" + std::to_string(::getpid()));
    tl::setProgramDirectory(home.string());
    tl::createDirectories(tl::productsDirectory());
    const std::string listing = soak::patterned(kListingSize, 7);
    tl::writeFileAtomically(tl::productsDirectory() + "12345.xml", listing);
    // Sparse: takes no room on disk.
    std::ofstream(tl::productsDirectory() + "large.bin").close();
    std::filesystem::resize_file(tl::productsDirectory() + "large.bin", kLargeFile);

    int failures = 0;
    {
        soak::ServerProcess server;
        if (server.port() == 0) {
            std::fprintf(stderr, "the listing server did not start\n");
            return 1;
        }
        std::atomic<bool> running{true};
        std::atomic<long> opened{0};
        std::thread attacker(attack, server.port(), std::cref(how), std::cref(running),
                             std::ref(opened));
        std::this_thread::sleep_for(std::chrono::seconds(settle));
        std::printf("%s: %d connections from %d addresses asking for %s", which.c_str(),
                    how.connections, how.connections / static_cast<int>(how.perAddress),
                    how.file.c_str());
        if (how.perTick > 0)
            std::printf(", each reading %zu B/s", how.perTick * 1000 / kAttackerTick.count());
        std::printf("; %ld opened after %d s; server threads %ld\n", opened.load(), settle,
                    server.statusField("Threads"));
        for (int n = 0; n < kBuyerRequests; ++n) {
            const Clock::time_point start = Clock::now();
            // Given up after the limit: the buyer's wait is then reported as over it.
            auto fetched = std::async(std::launch::async, [&] {
                return soak::fetchWhole(server.port(), "12345.xml", listing, "127.0.9.1",
                                        kBuyerLimit);
            });
            const bool inTime = fetched.wait_for(kBuyerLimit) == std::future_status::ready;
            const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
            if (inTime && fetched.get()) {
                std::printf("buyer request %d: %.3f s\n", n + 1, seconds);
            } else {
                std::printf("buyer request %d: no whole reply within %.0f s\n", n + 1, seconds);
                ++failures;
            }
            if (!inTime) break;  // the unfinished fetch ends with its own waits
        }
        std::printf("attacker connections opened in all: %ld\n", opened.load());
        running = false;
        attacker.join();
    }
    std::filesystem::remove_all(home);
    return failures == 0 ? 0 : 1;
}
