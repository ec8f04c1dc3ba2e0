// Throughput of the listing server: a requester fetches a 64 MiB file over loopback through the
// transfer protocol, and the same bytes are copied over a plain loopback socket in the same run.
// Prints both throughputs and their ratio, for the median and for the best of several
// interleaved rounds; the target is a ratio of at least 0.97.

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/peer/CServerThread.h"
#include "core/peer/SocketIo.h"
#include "core/peer/TransferProtocol.h"
#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr std::size_t kFileSize = 64u << 20;
constexpr int kRounds = 15;
constexpr milliseconds kWait{30000};

std::string randomBytes(std::size_t size) {
    std::mt19937_64 generator(20261208);
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        const std::uint64_t word = generator();
        std::memcpy(bytes.data() + i, &word, 8);
    }
    return bytes;
}

// Seconds a requester takes to fetch the file from the listing server, from connecting to the
// server's close; the bytes land in received.
double fetchFromServer(int port, std::string& received) {
    received.clear();
    const Clock::time_point start = Clock::now();
    tl::Socket connection = tl::connectTo("127.0.0.1", port, kWait);
    tl::SocketChannel channel(connection.fd(), kWait);
    if (!connection.valid() || !tl::sendFileRequest(channel, "bench.bin") ||
        !tl::receiveReplyLength(channel))
        return -1;
    const tl::ReplyEnd end = tl::receiveReplyContents(channel, [&](std::string_view block) {
        received.append(block);
        return true;
    });
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return end == tl::ReplyEnd::Closed ? seconds : -1;
}

// Seconds the same bytes take over a plain loopback connection: the sender writes them from
// memory in one go and closes; the receiver reads 64 KiB at a time until the close.
double plainCopy(const std::string& bytes, std::string& received) {
    received.clear();
    tl::Socket listening = tl::listenOn("127.0.0.1", 0, 1);
    const int port = tl::localPort(listening);
    std::thread sender([&] {
        tl::Socket connection = tl::acceptConnection(listening);
        tl::sendAll(connection.fd(), bytes, kWait);
    });
    const Clock::time_point start = Clock::now();
    tl::Socket connection = tl::connectTo("127.0.0.1", port, kWait);
    std::vector<char> buffer(65536);
    for (;;) {
        const long got =
            tl::receiveSome(connection.fd(), buffer.data(), buffer.size(), Clock::now() + kWait);
        if (got <= 0) break;
        received.append(buffer.data(), static_cast<std::size_t>(got));
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    sender.join();
    return seconds;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double mebibytesPerSecond(double seconds) {
    return static_cast<double>(kFileSize) / (1 << 20) / seconds;
}

}  // namespace

int main() {
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("tradeloom-bench-" + std::to_string(::getpid()));
    tl::setProgramDirectory(home.string());
    tl::createDirectories(tl::productsDirectory());
    const std::string bytes = randomBytes(kFileSize);
    if (!tl::writeFileAtomically(tl::productsDirectory() + "bench.bin", bytes)) {
        std::fprintf(stderr, "cannot write the bench file under %s\n", home.c_str());
        return 1;
    }

    tl::CServerThread server(tl::CServerThread::Settings{
        0, "127.0.0.1", tl::CServerThread::kRequestTimeout, std::nullopt});
    if (!server.start()) return 1;

    std::string received;
    received.reserve(kFileSize);
    std::vector<double> served, plain;
    bool intact = true;
    // One round of each first to warm the page cache and the allocator, not counted.
    fetchFromServer(server.port(), received);
    plainCopy(bytes, received);
    for (int round = 0; round < kRounds; ++round) {
        served.push_back(fetchFromServer(server.port(), received));
        intact = intact && received == bytes;
        plain.push_back(plainCopy(bytes, received));
        intact = intact && received == bytes;
    }
    server.stop();
    std::filesystem::remove_all(home);

    if (!intact || *std::min_element(served.begin(), served.end()) < 0) {
        std::fprintf(stderr, "a transfer failed or delivered different bytes\n");
        return 1;
    }
    const double servedMedian = mebibytesPerSecond(median(served));
    const double plainMedian = mebibytesPerSecond(median(plain));
    const double servedBest = mebibytesPerSecond(*std::min_element(served.begin(), served.end()));
    const double plainBest = mebibytesPerSecond(*std::min_element(plain.begin(), plain.end()));
    std::printf("file: %zu MiB over loopback, %d interleaved rounds\n", kFileSize >> 20, kRounds);
    std::printf("                        median        best\n");
    std::printf("listing server fetch: %8.1f MiB/s %8.1f MiB/s\n", servedMedian, servedBest);
    std::printf("plain socket copy:    %8.1f MiB/s %8.1f MiB/s\n", plainMedian, plainBest);
    std::printf("ratio:                %8.2f      %8.2f        (target >= 0.97)\n",
                servedMedian / plainMedian, servedBest / plainBest);
    return 0;
}
