#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/listings/FileScramble.h"
#include "core/peer/ListingDownload.h"
#include "core/peer/ListingOrigin.h"
#include "core/platform/Sha256.h"
#include "core/service/MarketContract.h"
#include "support/FakeSeller.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/TempProgramDirectory.h"

namespace tl::test {
namespace {

using namespace std::chrono_literals;
namespace page = contract::page;
using Files = std::map<std::string, std::string>;  // name -> bytes

std::string scrambledListing(const std::string& title) {
    std::string xml =
        "<product><titlebar>" + title +
        "</titlebar><attachment><attach>12345/a.jpg</attach>"
        "<attach>12345/b.jpg</attach><attach>card.gif</attach></attachment></product>";
    scrambleBytes(xml);
    return xml;
}

std::string queryValue(const std::string& target, const std::string& key) {
    const std::size_t at = target.find(key + "=");
    if (at == std::string::npos) return {};
    const std::size_t from = at + key.size() + 1;
    return target.substr(from, target.find('&', from) - from);
}

// The marketplace keeps listing 12345: digests of kept, served from served (a damaged store
// serves other bytes than its digests say).
void keep(ScriptedHttpServer& market, const Files& kept, const Files& served) {
    market.handle(page::kListingFiles, [kept](const ScriptedHttpServer::Request& request) {
        if (queryValue(request.target, "productid") != "12345") return std::string("<results/>");
        std::string records;
        for (const auto& [name, bytes] : kept)
            records += "<product><name>" + name + "</name><size>" + std::to_string(bytes.size()) +
                       "</size><sha256>" + sha256Hex(bytes) + "</sha256></product>";
        return "<results>" + records + "</results>";
    });
    market.handle(page::kGetListingFile, [served](const ScriptedHttpServer::Request& request) {
        const auto found = served.find(queryValue(request.target, "name"));
        return found == served.end() ? std::string() : found->second;
    });
}

TEST(KeptFilesDownload, EachFileIsTheSellersWhenItMatchesElseTheMarketplacesCheckedCopy) {
    const std::string listing = scrambledListing("Lamp");
    const Files kept{
        {"12345.xml", listing}, {"a.jpg", "photo a"}, {"b.jpg", "photo b"}, {"card.gif", "card"}};
    Files changedPhoto = kept;
    changedPhoto["b.jpg"] = "someone else's photo";
    Files otherListing = kept;
    otherListing["12345.xml"] = scrambledListing("Something else");
    Files damaged = kept;
    damaged["a.jpg"] = "photo A";
    struct Case {
        const char* name;
        std::optional<Files> seller;  // nothing: unreachable
        Files served;                 // what the marketplace sends for each kept name
        ListingOrigin origin;
        std::vector<std::string> fromMarketplace;
        int stored;
    };
    const Case cases[] = {
        {"the seller serves the kept files", kept, kept, ListingOrigin::Seller, {}, 3},
        {"the seller serves a changed photo",
         changedPhoto,
         kept,
         ListingOrigin::Seller,
         {"b.jpg"},
         3},
        {"the seller cannot be reached",
         std::nullopt,
         kept,
         ListingOrigin::MarketplaceKept,
         {"12345.xml", "a.jpg", "b.jpg", "card.gif"},
         3},
        {"the seller serves another listing",
         otherListing,
         kept,
         ListingOrigin::MarketplaceKept,
         {"12345.xml", "a.jpg", "b.jpg", "card.gif"},
         3},
        {"the marketplace's photo is damaged",
         std::nullopt,
         damaged,
         ListingOrigin::MarketplaceKept,
         {"12345.xml", "a.jpg", "b.jpg", "card.gif"},
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempProgramDirectory home;
        ScriptedHttpServer market;
        ScopedServerHost host(market.host());
        keep(market, kept, c.served);
        Files sellerFiles;
        if (c.seller)
            for (const auto& [name, bytes] : *c.seller)
                sellerFiles[name == "12345.xml" || name == "card.gif" ? name : "12345\\" + name] =
                    bytes;
        FakeSeller seller(serveFiles(sellerFiles));
        DownloadSettings settings;
        settings.port = c.seller ? seller.port() : deadPort();
        settings.localAddress.clear();
        settings.connectTimeout = 1s;

        FetchProgress progress;
        const DownloadOutcome outcome =
            downloadListing({"12345", "127.0.0.1"}, settings, nullptr, &progress);
        ASSERT_EQ(outcome.listingPath, home.path() + "downloads/12345.xml");
        EXPECT_EQ(listingOrigin(outcome.listingPath), c.origin);
        EXPECT_EQ(outcome.attachmentsStored, c.stored);
        EXPECT_EQ(home.read("downloads/12345.xml"), listing);
        const std::pair<const char*, const char*> stored[] = {
            {"a.jpg", "12345/a.jpg"}, {"b.jpg", "12345/b.jpg"}, {"card.gif", "card.gif"}};
        std::uint64_t bytesStored = listing.size();
        for (const auto& [name, path] : stored) {
            const bool bad = c.served.at(name) != kept.at(name) &&
                             (!c.seller || c.seller->at(name) != kept.at(name));
            if (!bad) bytesStored += kept.at(name).size();
            if (bad) {
                EXPECT_FALSE(home.exists("downloads/" + std::string(path))) << name;
            } else {
                EXPECT_EQ(home.read("downloads/" + std::string(path)), kept.at(name)) << name;
            }
        }
        // The kept sizes tell the bytes to come; a file given up is settled with none.
        const DownloadProgress done = progress.snapshot();
        EXPECT_EQ(std::pair(done.filesDone, done.filesKnown), std::pair(4, 4));
        EXPECT_EQ(done.bytesExpected, listing.size() + 7 + 7 + 4);
        EXPECT_EQ(done.bytesReceived, bytesStored);
        std::vector<std::string> taken;
        for (const std::string& target : market.targets())
            if (target.starts_with(page::kGetListingFile))
                taken.push_back(queryValue(target, "name"));
        EXPECT_EQ(taken, c.fromMarketplace);
        // A listing that was not the seller's brings nothing more from the seller.
        if (c.origin == ListingOrigin::MarketplaceKept && c.seller) {
            EXPECT_EQ(seller.requests(), std::vector<std::string>{"12345.xml"});
        }
    }
}

}  // namespace
}  // namespace tl::test
