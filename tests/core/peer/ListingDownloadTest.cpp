#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "core/listings/FileScramble.h"
#include "core/listings/ServerCopy.h"
#include "core/peer/ListingDownload.h"
#include "core/peer/PeerFileFetch.h"
#include "support/FakeSeller.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/TempProgramDirectory.h"

namespace tl::test {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

constexpr char kGetItem[] = "/RUViviride/RUViviride.asmx/GetItem";

std::string scrambled(std::string bytes) {
    scrambleBytes(bytes);
    return bytes;
}

// A listing as its seller stores it: scrambled, with these attachment entries.
std::string storedListing(const std::vector<std::string>& entries) {
    std::string xml = "<product><titlebar>Lamp</titlebar><attachment>";
    for (const std::string& entry : entries) xml += "<attach>" + entry + "</attach>";
    return scrambled(xml + "</attachment></product>");
}

std::vector<std::string> folderNames(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
        names.push_back(std::filesystem::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

DownloadSettings quickSettings(int port) {
    DownloadSettings settings;
    settings.port = port;
    settings.localAddress.clear();
    settings.connectTimeout = 1s;
    settings.listingTimeout = settings.attachmentTimeout = 2s;
    settings.listingDeadline = settings.attachmentDeadline = 4s;
    return settings;
}

class ListingDownloadTest : public ::testing::Test {
protected:
    TempProgramDirectory home;
    ScriptedHttpServer market;
    ScopedServerHost host{market.host()};
};

TEST_F(ListingDownloadTest, FetchesTheListingThenEachAcceptedEntryOnAConnectionOfItsOwn) {
    struct Case {
        const char* name;
        std::vector<std::string> entries;
        std::vector<std::string> requests;
        std::vector<std::string> stored;  // under downloads/, besides the listing
    };
    const Case cases[] = {
        {"no attachment", {}, {"12345.xml"}, {"12345"}},
        {"three attachments",
         {"12345/a.jpg", "12345/b.png", "card.gif"},
         {"12345.xml", "12345\\a.jpg", "12345\\b.png", "card.gif"},
         {"12345", "12345/a.jpg", "12345/b.png", "card.gif"}},
        {"hostile entries",
         {"../up.jpg", "/etc/passwd", "C:card.gif", "12345/../up.jpg", "777/other.jpg",
          "12345//a.jpg", "12345\\a.jpg", "12345/", "12345/sub/a.jpg", "card.xml", "CARD.XML", "",
          "12345/ok.jpg"},
         {"12345.xml", "12345\\ok.jpg"},
         {"12345", "12345/ok.jpg"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(home.path() + "downloads");
        std::map<std::string, std::string> files{{"12345.xml", storedListing(c.entries)}};
        for (const std::string& entry : c.entries)
            files[attachmentRequestName(entry)] = "bytes of " + entry;
        FakeSeller seller(serveFiles(files));

        const DownloadOutcome outcome =
            downloadListing({"12345", "127.0.0.1"}, quickSettings(seller.port()));
        EXPECT_EQ(outcome.listingPath, home.path() + "downloads/12345.xml");
        EXPECT_TRUE(outcome.fromSeller);
        EXPECT_EQ(seller.requests(), c.requests);
        // The listing is kept scrambled, exactly as the seller sent it.
        EXPECT_EQ(home.read("downloads/12345.xml"), files["12345.xml"]);
        std::vector<std::string> expected = c.stored;
        expected.push_back("12345.xml");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(folderNames(home.path() + "downloads"), expected);
        for (const std::string& name : c.stored)
            if (name.find('.') != std::string::npos) {
                EXPECT_EQ(home.read("downloads/" + name), "bytes of " + name);
            }
    }
    for (const std::string& target : market.targets())  // only the kept files' digests
        EXPECT_EQ(target.rfind("/tradeloom/app/listingfiles.asp?productid=12345", 0), 0u);
}

TEST_F(ListingDownloadTest, AListingNotHadFromTheSellerIsTheServersCopyWithoutAttachments) {
    const std::string reply =
        R"(<?xml version="1.0" encoding="utf-8"?><string xmlns="http://x/">&lt;Product&gt;)"
        "&lt;price&gt;0&lt;/price&gt;&lt;paymentmethods&gt;M&lt;/paymentmethods&gt;"
        "&lt;/Product&gt;</string>";
    market.reply(kGetItem, reply, "text/xml");
    const std::string serverCopy = scrambled(*listingFromServerReply(reply));
    const int nobody = [] {
        const Socket closed = listenOn("127.0.0.1", 0, 1);
        return localPort(closed);  // nothing listens there once this returns
    }();
    struct Case {
        const char* name;
        FakeSeller::Act act;
        bool unreachable;
    };
    const Case cases[] = {
        {"unreachable", serveFiles({}), true},
        {"serves nothing", serveFiles({}), false},
        {"announces more than it sends", announce(100, storedListing({"12345/a.jpg"})), false},
        {"silent", silent(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        home.write("downloads/12345.xml", "older listing");
        FakeSeller seller(c.act);
        DownloadSettings settings = quickSettings(c.unreachable ? nobody : seller.port());
        settings.listingTimeout = 300ms;
        const Clock::time_point start = Clock::now();
        const DownloadOutcome outcome = downloadListing({"12345", "127.0.0.1"}, settings);
        const milliseconds took = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
        EXPECT_EQ(outcome.listingPath, home.path() + "downloads/12345.xml");
        EXPECT_FALSE(outcome.fromSeller);
        EXPECT_EQ(home.read("downloads/12345.xml"), serverCopy);
        EXPECT_EQ(folderNames(home.path() + "downloads"), std::vector<std::string>{"12345.xml"});
        EXPECT_LE(seller.requests().size(), 1u);
        EXPECT_LT(took, 3s);
        if (std::string(c.name) == "silent") {
            EXPECT_GE(took, 300ms);
        }
    }

    // Neither seller nor server: nothing new, and the older file is left as it was.
    market.reply(kGetItem, "<string xmlns=\"http://x/\"></string>", "text/xml");
    home.write("downloads/12345.xml", "older listing");
    EXPECT_EQ(downloadListing({"12345", "127.0.0.1"}, quickSettings(nobody)).listingPath, "");
    EXPECT_EQ(home.read("downloads/12345.xml"), "older listing");
    // A listing that arrives but cannot be put in place (a folder holds its name) asks for no
    // attachment and leaves no temporary.
    std::filesystem::remove_all(home.path() + "downloads");
    home.write("downloads/12345.xml/kept", "");
    FakeSeller seller(
        serveFiles({{"12345.xml", storedListing({"12345/a.jpg"})}, {"12345\\a.jpg", "photo"}}));
    EXPECT_EQ(downloadListing({"12345", "127.0.0.1"}, quickSettings(seller.port())).listingPath,
              "");
    EXPECT_EQ(seller.requests(), (std::vector<std::string>{"12345.xml"}));
    EXPECT_EQ(folderNames(home.path() + "downloads"),
              (std::vector<std::string>{"12345.xml", "12345.xml/kept"}));
    // An id that is not digits names no file and dials nobody.
    EXPECT_EQ(downloadListing({"../12345", "127.0.0.1"}, quickSettings(nobody)).listingPath, "");
}

TEST_F(ListingDownloadTest, ASilentSellerIsLeftAfterTheAttachmentTimeout) {
    FakeSeller seller([](int fd, const std::string& name) {
        if (name == "12345.xml")
            serveFiles({{name, storedListing({"12345/a.jpg"})}})(fd, name);
        else
            silent()(fd, name);
    });
    DownloadSettings settings = quickSettings(seller.port());
    settings.attachmentTimeout = 500ms;
    const Clock::time_point start = Clock::now();
    const DownloadOutcome outcome = downloadListing({"12345", "127.0.0.1"}, settings);
    const milliseconds took = std::chrono::duration_cast<milliseconds>(Clock::now() - start);
    EXPECT_GE(took, 500ms);
    EXPECT_LT(took, 2s);
    EXPECT_EQ(outcome.attachmentsStored, 0);
    EXPECT_EQ(folderNames(home.path() + "downloads"),
              (std::vector<std::string>{"12345", "12345.xml"}));
}

TEST_F(ListingDownloadTest, AnOpeningIsBoundedInEntriesBytesAndTime) {
    const auto entries = [](int count) {
        std::vector<std::string> names;
        for (int i = 0; i < count; ++i) names.push_back("12345/" + std::to_string(i) + ".jpg");
        return names;
    };
    struct Case {
        const char* name;
        int entries;
        bool trickles;  // the attachments come one byte every 20 ms
        std::size_t mostEntries;
        std::uint64_t mostBytesBeyondTheListing;
        milliseconds deadline;
        int stored;
        int skipped;
    };
    const Case cases[] = {
        {"within every bound", 3, false, 32, 1 << 20, 10s, 3, 0},
        {"more entries than one listing brings", 40, false, 32, 1 << 20, 10s, 32, 8},
        {"more bytes than one opening brings", 3, false, 32, 2500, 10s, 2, 1},
        {"a seller slower than the opening's deadline", 3, true, 32, 1 << 20, 600ms, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(home.path() + "downloads");
        const std::string listing = storedListing(entries(c.entries));
        std::map<std::string, std::string> files{{"12345.xml", listing}};
        for (const std::string& entry : entries(c.entries))
            files[attachmentRequestName(entry)] = std::string(1000, 'p');
        FakeSeller seller([&](int fd, const std::string& name) {
            if (c.trickles && name != "12345.xml")
                trickle(1000, 20ms)(fd, name);
            else
                serveFiles(files)(fd, name);
        });
        DownloadSettings settings = quickSettings(seller.port());
        settings.mostEntries = c.mostEntries;
        settings.mostBytes = listing.size() + c.mostBytesBeyondTheListing;
        settings.openingDeadline = c.deadline;
        const Clock::time_point start = Clock::now();
        FetchProgress progress;
        const DownloadOutcome outcome =
            downloadListing({"12345", "127.0.0.1"}, settings, nullptr, &progress);
        EXPECT_LT(Clock::now() - start, c.deadline + 1s);
        EXPECT_EQ(outcome.attachmentsStored, c.stored);
        EXPECT_EQ(outcome.entriesSkipped, c.skipped);
        // Skipped files are settled too, so the progress ends whole.
        EXPECT_EQ(progressDone(progress.snapshot()), kProgressWhole);
        EXPECT_EQ(folderNames(home.path() + "downloads/12345").size(),
                  static_cast<std::size_t>(c.stored));
    }
}

TEST_F(ListingDownloadTest, CancelStopsTheWorkerAtItsNextReadAndRemovesTheUnfinishedFile) {
    const std::string listing = storedListing({"12345/a.jpg"});
    FakeSeller seller([&](int fd, const std::string& name) {
        if (name == "12345.xml")
            serveFiles({{name, listing}})(fd, name);
        else
            trickle(100000, 10ms)(fd, name);
    });
    const std::shared_ptr<DownloadCompletion> completion =
        startListingDownload({"12345", "127.0.0.1"}, quickSettings(seller.port()));
    std::this_thread::sleep_for(500ms);  // well into the trickling attachment
    EXPECT_FALSE(completion->finished());
    EXPECT_EQ(progressDone(completion->progress().snapshot()), kProgressWhole / 2);
    completion->cancel();
    EXPECT_TRUE(completion->waitFor(1s));
    EXPECT_EQ(completion->listingPath(), "");
    // The listing had come whole; nothing is left of the attachment under way.
    EXPECT_EQ(folderNames(home.path() + "downloads"),
              (std::vector<std::string>{"12345", "12345.xml"}));
}

TEST_F(ListingDownloadTest, ProgressCountsEveryFileAndItsBytesUntilAllAreDone) {
    const std::string listing = storedListing({"12345/a.jpg", "card.gif"});
    FakeSeller seller(serveFiles(
        {{"12345.xml", listing}, {"12345\\a.jpg", "photo a"}, {"card.gif", "the card"}}));
    const std::shared_ptr<DownloadCompletion> completion =
        startListingDownload({"12345", "127.0.0.1"}, quickSettings(seller.port()));
    ASSERT_TRUE(completion->waitFor(4s));
    const DownloadProgress progress = completion->progress().snapshot();
    EXPECT_EQ(progress.filesKnown, 3);
    EXPECT_EQ(progress.filesDone, 3);
    EXPECT_EQ(progress.bytesReceived, listing.size() + 15);
    EXPECT_EQ(progress.bytesExpected, 0u);  // the marketplace keeps no sizes
    EXPECT_EQ(progressDone(progress), kProgressWhole);
}

// What one file from a hostile seller leaves in place of an older file of that name.
TEST_F(ListingDownloadTest, AHostileSellerNeverLeavesAPartialOrOversizedFile) {
    struct Case {
        const char* name;
        FakeSeller::Act act;
        PeerFileResult result;
        std::string stored;  // the target's bytes afterwards
    };
    const Case cases[] = {
        {"length larger than sent", announce(10, "abc"), PeerFileResult::Broken, "older"},
        {"more than announced", announce(3, "abcdef"), PeerFileResult::Stored, "abc"},
        {"endless stream", endlessStream(1000), PeerFileResult::Stored, std::string(1000, 'x')},
        {"trickle", trickle(1000, 20ms), PeerFileResult::Broken, "older"},
        {"above the limit", announce(4097, std::string(4097, 'y')), PeerFileResult::TooLarge,
         "older"},
        {"nothing served", serveFiles({}), PeerFileResult::NotServed, "older"},
        {"empty file", announce(0, ""), PeerFileResult::Stored, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        home.write("downloads/file.bin", "older");
        FakeSeller seller(c.act);
        const Clock::time_point start = Clock::now();
        const PeerFileResult result =
            fetchPeerFile({"127.0.0.1", seller.port(), "", 1s}, "file.bin",
                          home.path() + "downloads/file.bin", {200ms, 400ms, 4096});
        EXPECT_EQ(result, c.result);
        EXPECT_LT(Clock::now() - start, 2s);
        EXPECT_EQ(home.read("downloads/file.bin"), c.stored);
        EXPECT_EQ(folderNames(home.path() + "downloads"), std::vector<std::string>{"file.bin"});
    }
}

}  // namespace
}  // namespace tl::test
