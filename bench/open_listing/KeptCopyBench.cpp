// Opening a listing from the marketplace's kept copy against opening it from the seller: the
// same listing with three photos of 1 MiB each, kept by the reference marketplace server run
// in-process, is opened by the download client in interleaved rounds of the same run, once
// from the seller's listing server over loopback and once with the seller gone, so that every
// file comes from the marketplace. Both ask the marketplace for the digests first. Prints both
// times and their ratio for the median and the best round; the target is a ratio <= 1.5.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "MarketServer.h"
#include "MarketStore.h"
#include "core/listings/FileScramble.h"
#include "core/listings/KeptFilesUpload.h"
#include "core/listings/ListingPaths.h"
#include "core/peer/CServerThread.h"
#include "core/peer/ListingDownload.h"
#include "core/peer/ListingOrigin.h"
#include "core/peer/SocketIo.h"
#include "core/platform/Files.h"
#include "core/platform/ProgramDirectory.h"
#include "core/platform/ServerHost.h"
#include "core/service/Endpoints.h"
#include "core/service/ServiceRequest.h"
#include "support/RandomBytes.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr char kSeller[] = "seller1";
constexpr std::size_t kPhotoSize = 1u << 20;
constexpr int kPhotos = 3;
constexpr int kRounds = 21;

// A photo's bytes: a JPEG start, as the marketplace keeps only pictures, then random bytes.
std::string photoBytes(unsigned seed) {
    return tl::bench::randomBytes(kPhotoSize, seed).replace(0, 4, "\xFF\xD8\xFF\xE0");
}

// Publishes the seller's listing and stores it with its photos as the seller's computer serves
// it; its number, or empty.
std::string publishListing() {
    tl::endpoints::ListingFields fields;
    fields.titlebar = "Bench";
    fields.description = "Three photos";
    fields.shipping = "US";
    fields.zipcode = "12345";
    fields.quantity = "1";
    fields.shippingpay = "Buyer";
    fields.username = kSeller;
    fields.category1 = "Furniture";
    fields.status = "Selling";
    fields.paymentmethods = "ME";
    fields.escrow = "none";
    fields.price = "5";
    const std::string id = tl::requestText(tl::endpoints::newProduct(fields));
    if (!tl::isProductId(id) || !tl::createDirectories(tl::ownAttachmentFolder(id))) return {};
    std::string listing = "<product><titlebar>Bench</titlebar><attachment>";
    for (int photo = 1; photo <= kPhotos; ++photo) {
        const std::string entry = id + "/photo" + std::to_string(photo) + ".jpg";
        listing += "<attach>" + entry + "</attach>";
        if (!tl::writeFileAtomically(tl::productsDirectory() + entry,
                                     photoBytes(static_cast<unsigned>(photo))))
            return {};
    }
    listing += "</attachment></product>";
    tl::scrambleBytes(listing);
    return tl::writeFileAtomically(tl::ownListingPath(id), listing) ? id : std::string();
}

// One opening's time, or -1 when it did not bring every file from the expected place.
double openingRound(const std::string& id, int port, tl::ListingOrigin expected) {
    std::filesystem::remove_all(tl::downloadsDirectory());
    tl::DownloadSettings settings;
    settings.port = port;
    settings.localAddress = "127.0.0.1";
    const Clock::time_point start = Clock::now();
    const tl::DownloadOutcome outcome = tl::downloadListing({id, "127.0.0.1"}, settings);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    const bool whole =
        outcome.attachmentsStored == kPhotos &&
        tl::listingOrigin(outcome.listingPath) == expected &&
        tl::readWholeFile(outcome.listingPath) == tl::readWholeFile(tl::ownListingPath(id));
    return whole ? seconds : -1;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const std::filesystem::path home = std::filesystem::temp_directory_path() /
                                       ("tradeloom-kept-bench-" + std::to_string(::getpid()));
    tl::setProgramDirectory((home / "client").string());
    int status = 1;
    {
        tl::market::MarketServerOptions options;
        options.dataFolder = (home / "market").string();
        options.logRequests = false;
        std::filesystem::create_directories(options.dataFolder);
        tl::market::MarketServer market(options);
        const int marketPort = market.start("127.0.0.1", 0);
        tl::setServerHost("127.0.0.1:" + std::to_string(marketPort));
        tl::market::Member member;
        member.username = kSeller;
        member.email = "seller1@example.org";
        market.store().createMember(member, "secret");
        market.store().login(kSeller, "secret", "127.0.0.1");
        const std::string id = marketPort < 0 ? std::string() : publishListing();
        const tl::KeepOutcome kept = id.empty() ? tl::KeepOutcome{} : tl::sendListingFiles(id);
        tl::CServerThread seller(tl::CServerThread::Settings{
            0, "127.0.0.1", tl::CServerThread::kRequestTimeout, std::nullopt});
        const int nobody = [] {
            const tl::Socket closed = tl::listenOn("127.0.0.1", 0, 1);
            return tl::localPort(closed);  // nothing listens there once this returns
        }();
        if (kept.result != tl::KeepResult::Kept || !seller.start()) {
            std::fprintf(stderr, "the listing could not be published and kept\n");
        } else {
            std::vector<double> fromSeller, fromMarket;
            openingRound(id, seller.port(), tl::ListingOrigin::Seller);  // warm-up, not counted
            openingRound(id, nobody, tl::ListingOrigin::MarketplaceKept);
            for (int round = 0; round < kRounds; ++round) {
                ::sync();
                fromSeller.push_back(openingRound(id, seller.port(), tl::ListingOrigin::Seller));
                ::sync();
                fromMarket.push_back(openingRound(id, nobody, tl::ListingOrigin::MarketplaceKept));
            }
            seller.stop();
            if (*std::min_element(fromSeller.begin(), fromSeller.end()) < 0 ||
                *std::min_element(fromMarket.begin(), fromMarket.end()) < 0) {
                std::fprintf(stderr, "an opening failed or delivered different bytes\n");
            } else {
                const double sellerBest = *std::min_element(fromSeller.begin(), fromSeller.end());
                const double marketBest = *std::min_element(fromMarket.begin(), fromMarket.end());
                std::printf(
                    "listing with %d photos of 1 MiB over loopback, %d interleaved rounds\n",
                    kPhotos, kRounds);
                std::printf("                       median      best\n");
                std::printf("from the seller:   %8.2f ms %8.2f ms\n", median(fromSeller) * 1e3,
                            sellerBest * 1e3);
                std::printf("marketplace copy:  %8.2f ms %8.2f ms\n", median(fromMarket) * 1e3,
                            marketBest * 1e3);
                std::printf("ratio:             %8.2f    %8.2f       (target <= 1.50)\n",
                            median(fromMarket) / median(fromSeller), marketBest / sellerBest);
                status = 0;
            }
        }
    }
    std::filesystem::remove_all(home);
    return status;
}
