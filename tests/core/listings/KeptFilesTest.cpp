#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <thread>

#include "core/listings/FileScramble.h"
#include "core/listings/KeptFilesChoice.h"
#include "core/listings/KeptFilesUpload.h"
#include "core/platform/Files.h"
#include "core/platform/Sha256.h"
#include "core/service/MarketContract.h"
#include "core/service/Query.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/TempProgramDirectory.h"

namespace tl::test {
namespace {

using namespace std::chrono_literals;
namespace page = contract::page;

std::string digestRecord(const std::string& name, const std::string& bytes) {
    return "<product><name>" + name + "</name><size>" + std::to_string(bytes.size()) +
           "</size><sha256>" + sha256Hex(bytes) + "</sha256></product>";
}

KeptFetchBounds roomy() {
    return {.largest = 1 << 20, .idle = 2s, .deadline = std::chrono::steady_clock::now() + 5s};
}

class KeptFileFetch : public ::testing::Test {
protected:
    TempProgramDirectory home;
    ScriptedHttpServer market;
    ScopedServerHost host{market.host()};
};

TEST(KeptFileNames, PhotosGoByTheirFileNameAndASharedOrUnkeepableNameIsLeftOut) {
    struct Case {
        const char* name;
        std::vector<std::string> entries;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"photos and card",
         {"12/a.jpg", "12/b.png", "ann_card.gif"},
         {"a.jpg", "b.png", "ann_card.gif"}},
        {"card named as a photo", {"12/x.jpg", "x.jpg", "12/y.jpg"}, {"", "", "y.jpg"}},
        {"photo named as the listing file", {"12/12.xml", "12/a.jpg"}, {"", "a.jpg"}},
        {"names the marketplace refuses",
         {"12/a\\b.jpg", std::string("12/a\x01.jpg"), "12/.."},
         {"", "", ""}},
        {"another listing's folder stays whole", {"13/a.jpg"}, {""}},
    };
    for (const Case& c : cases) EXPECT_EQ(keptEntryNames("12", c.entries), c.names) << c.name;
}

TEST(KeptFileNames, ADigestsReplyKeepsOnlyWellFormedRecordsOfOneListing) {
    const std::string good = digestRecord("a.jpg", "abc");
    std::string many;
    for (int i = 0; i < 12; ++i) many += digestRecord(std::to_string(i) + ".jpg", "x");
    struct Case {
        const char* name;
        std::string records;
        std::size_t kept;
    };
    const Case cases[] = {
        {"one good", good, 1},
        {"upper-case digest",
         "<product><name>b</name><size>3</size><sha256>" + std::string(64, 'A') +
             "</sha256></product>" + good,
         1},
        {"size not a number",
         "<product><name>b</name><size>3x</size><sha256>" + std::string(64, 'a') +
             "</sha256></product>",
         0},
        {"over the cap",
         "<product><name>b</name><size>9000000</size><sha256>" + std::string(64, 'a') +
             "</sha256></product>",
         0},
        {"name with a folder", digestRecord("../a.jpg", "abc"), 0},
        {"more than one listing keeps", many, 10},
    };
    for (const Case& c : cases)
        EXPECT_EQ(keptDigestsFromReply("<results>" + c.records + "</results>").size(), c.kept)
            << c.name;
    EXPECT_EQ(keptDigestsFromReply(good).size(), 0u);  // not a results document
    EXPECT_EQ(keptDigestsFromReply("<results>" + good + "</results>").at("a.jpg").size, 3u);
}

TEST(KeptFileChoice, TheSellersFileStandsOnlyWhenItMatchesOrNothingIsKept) {
    const KeptDigest kept{3, sha256Hex("abc")};
    struct Case {
        const char* name;
        const KeptDigest* digest;
        std::optional<std::string> seller;
        KeptChoice choice;
    };
    const Case cases[] = {
        {"nothing kept, seller sent", nullptr, sha256Hex("abc"), KeptChoice::Seller},
        {"nothing kept, seller silent", nullptr, std::nullopt, KeptChoice::Neither},
        {"seller sent the kept file", &kept, sha256Hex("abc"), KeptChoice::Seller},
        {"seller sent another file", &kept, sha256Hex("abd"), KeptChoice::Marketplace},
        {"seller silent", &kept, std::nullopt, KeptChoice::Marketplace},
    };
    for (const Case& c : cases) EXPECT_EQ(chooseKeptCopy(c.digest, c.seller), c.choice) << c.name;
}

TEST_F(KeptFileFetch, AFileSettlesOnTheCopyThatMatchesItsDigestAndNeverOnABadOne) {
    const std::string keptBytes = "kept photo";
    market.reply(page::kGetListingFile, keptBytes, "application/octet-stream");
    const KeptFilesCheck kept{"12",
                              KeptDigests{{"a.jpg", {keptBytes.size(), sha256Hex(keptBytes)}}}};
    const KeptFilesCheck lying{"12",
                               KeptDigests{{"a.jpg", {keptBytes.size(), sha256Hex("other")}}}};
    struct Case {
        const char* name;
        const KeptFilesCheck* check;
        std::optional<std::string> fromSeller;  // the seller's bytes at the target
        std::uint64_t largest;
        FileSource source;
        std::optional<std::string> stored;
    };
    const KeptFilesCheck none{"12", std::nullopt};
    const Case cases[] = {
        {"not kept: as the seller sent it", &none, "changed", 1 << 20, FileSource::Seller,
         "changed"},
        {"not kept, nothing sent", &none, std::nullopt, 1 << 20, FileSource::None, std::nullopt},
        {"seller's file matches", &kept, keptBytes, 1 << 20, FileSource::Seller, keptBytes},
        {"seller's file changed", &kept, "changed", 1 << 20, FileSource::Marketplace, keptBytes},
        {"seller silent", &kept, std::nullopt, 1 << 20, FileSource::Marketplace, keptBytes},
        {"kept copy over the bounds", &kept, "changed", 4, FileSource::None, std::nullopt},
        {"marketplace sends other bytes", &lying, "changed", 1 << 20, FileSource::None,
         std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = home.path() + "a.jpg";
        std::filesystem::remove(target);
        if (c.fromSeller) home.write("a.jpg", *c.fromSeller);
        KeptFetchBounds bounds = roomy();
        bounds.largest = c.largest;
        EXPECT_EQ(settleKeptFile(*c.check, "a.jpg", target, c.fromSeller.has_value(), bounds),
                  c.source);
        EXPECT_EQ(readWholeFile(target), c.stored);
    }
    // Unknown name: the marketplace is not asked.
    const std::size_t asked = market.requests().size();
    home.write("b.jpg", "seller's");
    EXPECT_EQ(settleKeptFile(kept, "b.jpg", home.path() + "b.jpg", true, roomy()),
              FileSource::Seller);
    EXPECT_EQ(market.requests().size(), asked);
}

TEST_F(KeptFileFetch, CancelEndsATakeFromTheMarketplaceAtOnceLeavingNothing) {
    market.handle(page::kGetListingFile, [](const ScriptedHttpServer::Request&) {
        std::this_thread::sleep_for(2s);
        return std::string("late");
    });
    std::atomic<bool> cancelled{false};
    KeptFetchBounds bounds = roomy();
    bounds.cancelled = &cancelled;
    std::thread cancel([&] {
        std::this_thread::sleep_for(200ms);
        cancelled = true;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(
        fetchKeptFile("12", "a.jpg", {4, sha256Hex("late")}, home.path() + "a.jpg", bounds));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1200ms);
    cancel.join();
    EXPECT_FALSE(home.exists("a.jpg"));
}

// The seller's listing 12 with two photos and a card, stored scrambled as it is served.
class SendListingFiles : public KeptFileFetch {
protected:
    SendListingFiles() {
        std::string listing =
            "<product><card>ann_card.gif</card><attachment><attach>12/a.jpg</attach>"
            "<attach>12/b.png</attach><attach>ann_card.gif</attach></attachment></product>";
        scrambleBytes(listing);
        home.write("products/12.xml", listing);
        home.write("products/12/a.jpg", "photo a");
        home.write("products/12/b.png", "photo b");
        home.write("products/ann_card.gif", "the card");
    }

    // The replies: to the file puts by name ("0" to the others), then to the set.
    static void answer(ScriptedHttpServer& server, std::map<std::string, std::string> puts,
                       std::string keep, int status = 200) {
        server.handle(page::kPutListingFile, [puts](const ScriptedHttpServer::Request& request) {
            for (const auto& [name, word] : puts)
                if (request.target.find("name=" + name) != std::string::npos) return word;
            return std::string(contract::kept::kStored);
        });
        server.reply(page::kKeepListingFiles, std::move(keep), "text/plain", status);
    }
    static std::vector<std::string> paths(const ScriptedHttpServer& server) {
        std::vector<std::string> seen;
        for (const auto& request : server.requests())
            seen.push_back(request.target.substr(0, request.target.find('?')));
        return seen;
    }
};

TEST_F(SendListingFiles, EachFileGoesAsServedWithItsSizeAndDigestThenTheWholeSet) {
    answer(market, {}, contract::kept::kStored);
    const KeepOutcome outcome = sendListingFiles("12");
    EXPECT_EQ(outcome.result, KeepResult::Kept);
    EXPECT_FALSE(keepOutcomeBox("12", outcome));
    const auto requests = market.requests();
    ASSERT_EQ(requests.size(), 5u);
    const std::string names[] = {"12.xml", "a.jpg", "b.png", "ann_card.gif"};
    const std::string bodies[] = {home.read("products/12.xml"), "photo a", "photo b", "the card"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(requests[i].line.substr(0, 5), "POST ");
        EXPECT_EQ(requests[i].target, std::string(page::kPutListingFile) +
                                          "?productid=12&name=" + percentEncode(names[i]) +
                                          "&size=" + std::to_string(bodies[i].size()) +
                                          "&sha256=" + sha256Hex(bodies[i]));
        EXPECT_EQ(requests[i].body, bodies[i]);
    }
    EXPECT_EQ(requests[4].target, std::string(page::kKeepListingFiles) + "?productid=12");
    EXPECT_EQ(requests[4].body, "12.xml\na.jpg\nb.png\nann_card.gif\n");
}

TEST_F(SendListingFiles, EveryReplyIsActedOnAndAnOlderMarketplaceShowsNothing) {
    const std::string put = page::kPutListingFile;
    const std::string keep = page::kKeepListingFiles;
    struct Case {
        const char* name;
        std::map<std::string, std::string> puts;
        std::string keepReply;
        int keepStatus;
        KeepResult result;
        std::vector<std::string> paths;
        const char* boxPart;  // in the text shown; empty: no box
    };
    const Case cases[] = {
        {"older server", {}, "", 404, KeepResult::NoService, {put}, ""},
        {"not an image",
         {{"b.png", "-5"}},
         "-8",
         200,
         KeepResult::Refused,
         {put, put, put, keep},
         "\"b.png\" of listing 12: it is not a picture"},
        {"too many files",
         {{"a.jpg", "-3"}},
         "-8",
         200,
         KeepResult::Refused,
         {put, put, keep},
         "at most 10 files"},
        {"member full",
         {{"a.jpg", "-4"}},
         "-8",
         200,
         KeepResult::Refused,
         {put, put, keep},
         "at most 200 MB"},
        {"damaged",
         {{"12.xml", "-6"}},
         "-8",
         200,
         KeepResult::Refused,
         {put, keep},
         "it arrived damaged"},
        {"not the owner's address",
         {{"12.xml", "-1"}},
         "",
         200,
         KeepResult::NotOwner,
         {put},
         "only from the computer where you are logged in"},
        {"set not whole",
         {},
         "-8",
         200,
         KeepResult::NotKept,
         {put, put, put, put, keep},
         "Not every file of listing 12"},
        {"set refused",
         {},
         "-1",
         200,
         KeepResult::NotOwner,
         {put, put, put, put, keep},
         "only from the computer"},
        {"server error",
         {},
         "oops",
         500,
         KeepResult::Failed,
         {put, put, put, put, keep},
         "could not be sent"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedHttpServer server;  // without any route: a marketplace without these pages
        host.set(server.host());
        if (c.keepStatus != 404) answer(server, c.puts, c.keepReply, c.keepStatus);
        const KeepOutcome outcome = sendListingFiles("12");
        EXPECT_EQ(outcome.result, c.result);
        const std::optional<KeepOutcomeBox> box = keepOutcomeBox("12", outcome);
        EXPECT_EQ(box.has_value(), *c.boxPart != '\0');
        if (box) {
            EXPECT_EQ(box->caption, "Listing Files");
            EXPECT_NE(box->text.find(c.boxPart), std::string::npos) << box->text;
        }
        EXPECT_EQ(paths(server), c.paths);
    }
}

TEST_F(SendListingFiles, AFileOverTheCapIsRefusedWithoutSendingItsBytes) {
    answer(market, {}, "-8");
    home.write("products/12/b.png", std::string(contract::kMostKeptFileBytes + 1, 'b'));
    const KeepOutcome outcome = sendListingFiles("12");
    EXPECT_EQ(outcome.result, KeepResult::Refused);
    EXPECT_EQ(outcome.file, "b.png");
    EXPECT_NE(keepOutcomeBox("12", outcome)->text.find("at most 8 MB"), std::string::npos);
    for (const auto& request : market.requests())
        EXPECT_EQ(request.target.find("name=b.png"), std::string::npos);
}

}  // namespace
}  // namespace tl::test
