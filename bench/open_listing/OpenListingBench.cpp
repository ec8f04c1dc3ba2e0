// Opening a listing: the download client fetches a listing with three photos of 1 MiB each from
// a listing server over loopback (the listing, then each photo on a connection of its own), and
// the same four files are fetched from the same server by plain socket reads written to plain
// files, in interleaved rounds of the same run. Prints both times and their ratio for the median
// and the best round; the target is a ratio of at most 1.2 for both.

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/listings/FileScramble.h"
#include "core/listings/ListingPaths.h"
#include "core/peer/CServerThread.h"
#include "core/peer/ListingDownload.h"
#include "core/peer/TransferProtocol.h"
#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"
#include "support/RandomBytes.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kProductId[] = "4242";
constexpr std::size_t kPhotoSize = 1u << 20;
constexpr int kPhotos = 3;
constexpr int kRounds = 21;

std::vector<std::string> entries() {
    std::vector<std::string> names;
    for (int photo = 1; photo <= kPhotos; ++photo)
        names.push_back(std::string(kProductId) + "/photo" + std::to_string(photo) + ".jpg");
    return names;
}

bool writeSellerFiles() {
    std::string listing = "<product><titlebar>Bench</titlebar><attachment>";
    for (const std::string& entry : entries()) {
        listing += "<attach>" + entry + "</attach>";
        if (!tl::createDirectories(tl::ownAttachmentFolder(kProductId)) ||
            !tl::writeFileAtomically(
                tl::productsDirectory() + entry,
                tl::bench::randomBytes(kPhotoSize, static_cast<unsigned>(entry.size()))))
            return false;
    }
    listing += "</attachment></product>";
    tl::scrambleBytes(listing);
    return tl::writeFileAtomically(tl::ownListingPath(kProductId), listing);
}

// One file by plain socket calls: request, read the announced length and that many bytes, write
// them out. Like the download client, it stops at the announced length instead of waiting for
// the server to close.
bool plainFetch(int port, const std::string& name, const std::string& target) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) return false;
    const std::string request = tl::encodeFileRequest(name);
    ::send(fd, request.data(), request.size(), MSG_NOSIGNAL);
    std::string reply;
    std::vector<char> buffer(65536);
    std::size_t wanted = 4;
    for (ssize_t got;
         reply.size() < wanted && (got = ::recv(fd, buffer.data(), buffer.size(), 0)) > 0;) {
        reply.append(buffer.data(), static_cast<std::size_t>(got));
        if (wanted == 4 && reply.size() >= 4) {
            std::uint32_t length = 0;
            for (int i = 3; i >= 0; --i)
                length = length << 8 | static_cast<unsigned char>(reply[i]);
            wanted = 4 + std::size_t{length};
        }
    }
    ::close(fd);
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written = reply.size() >= 4 && ::write(out, reply.data() + 4, reply.size() - 4) ==
                                                  static_cast<ssize_t>(reply.size() - 4);
    ::close(out);
    return written;
}

// Each round writes into a folder of its own, as the download client writes new files.
double plainRound(int port, const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    const Clock::time_point start = Clock::now();
    bool ok = plainFetch(port, std::string(kProductId) + ".xml", (folder / "listing").string());
    for (std::size_t i = 0; i < entries().size(); ++i)
        ok = ok && plainFetch(port, tl::attachmentRequestName(entries()[i]),
                              (folder / std::to_string(i)).string());
    return ok ? std::chrono::duration<double>(Clock::now() - start).count() : -1;
}

double clientRound(int port) {
    tl::DownloadSettings settings;
    settings.port = port;
    settings.localAddress = "127.0.0.1";
    const Clock::time_point start = Clock::now();
    const tl::DownloadOutcome outcome = tl::downloadListing({kProductId, "127.0.0.1"}, settings);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return outcome.fromSeller && outcome.attachmentsStored == kPhotos ? seconds : -1;
}

bool downloadsIntact() {
    bool intact = tl::readWholeFile(tl::downloadedListingPath(kProductId)) ==
                  tl::readWholeFile(tl::ownListingPath(kProductId));
    for (const std::string& entry : entries())
        intact = intact && tl::readWholeFile(tl::downloadsDirectory() + entry) ==
                               tl::readWholeFile(tl::productsDirectory() + entry);
    return intact;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("tradeloom-bench-" + std::to_string(::getpid()));
    tl::setProgramDirectory(home.string());
    const std::filesystem::path plainFolder = home / "plain";
    if (!writeSellerFiles()) {
        std::fprintf(stderr, "cannot write the seller's files under %s\n", home.c_str());
        return 1;
    }
    tl::CServerThread server(tl::CServerThread::Settings{
        0, "127.0.0.1", tl::CServerThread::kRequestTimeout, std::nullopt});
    if (!server.start()) return 1;

    std::vector<double> client, plain;
    // One round of each first to warm the page cache, not counted.
    clientRound(server.port());
    plainRound(server.port(), plainFolder / "warm-up");
    // Each round starts with nothing waiting to be written back, so neither pays for the
    // other's writes, and both write new files: the client's of the round before are removed.
    for (int round = 0; round < kRounds; ++round) {
        std::filesystem::remove_all(tl::downloadsDirectory());
        ::sync();
        client.push_back(clientRound(server.port()));
        ::sync();
        plain.push_back(plainRound(server.port(), plainFolder / std::to_string(round)));
    }
    const bool intact = downloadsIntact();
    server.stop();
    std::filesystem::remove_all(home);

    if (!intact || *std::min_element(client.begin(), client.end()) < 0 ||
        *std::min_element(plain.begin(), plain.end()) < 0) {
        std::fprintf(stderr, "a fetch failed or delivered different bytes\n");
        return 1;
    }
    const double clientBest = *std::min_element(client.begin(), client.end());
    const double plainBest = *std::min_element(plain.begin(), plain.end());
    std::printf("listing with %d photos of 1 MiB over loopback, %d interleaved rounds\n", kPhotos,
                kRounds);
    std::printf("                     median      best\n");
    std::printf("download client: %8.2f ms %8.2f ms\n", median(client) * 1e3, clientBest * 1e3);
    std::printf("plain sockets:   %8.2f ms %8.2f ms\n", median(plain) * 1e3, plainBest * 1e3);
    std::printf("ratio:           %8.2f    %8.2f       (target <= 1.20)\n",
                median(client) / median(plain), clientBest / plainBest);
    return 0;
}
