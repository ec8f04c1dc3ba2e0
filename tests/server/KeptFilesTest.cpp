// The files the marketplace keeps of a listing, sent by its owner over raw requests from chosen
// loopback addresses: what is refused leaves every stored file as it was; what is kept is served
// byte for byte until the listing changes, and released when no longer named.
#include <gtest/gtest.h>

#include <cctype>

#include "Digest.h"
#include "LoopbackSocket.h"
#include "MarketTestServer.h"
#include "core/service/MarketContract.h"
#include "core/service/Query.h"
#include "core/session/Login.h"
#include "support/ScriptedUi.h"

namespace tl {
namespace {

namespace page = contract::page;
namespace key = contract::key;

constexpr char kSellerAddress[] = "127.0.0.2";
constexpr char kOtherMemberAddress[] = "127.0.0.3";
constexpr char kNobodysAddress[] = "127.0.0.4";
constexpr char kFullMemberAddress[] = "127.0.0.5";

const std::string kJpeg = std::string("\xff\xd8\xff\xe0", 4) + "JFIF front view";
const std::string kPng = std::string("\x89PNG\r\n\x1a\n", 8) + "side view";
const std::string kGif = "GIF89a business card";
const std::string kWebp = std::string("RIFF\x10\0\0\0WEBP", 12) + "VP8 back view";

struct Upload {
    Upload(std::string n, std::string b, std::string s = "", std::string d = "")
        : name(std::move(n)), bytes(std::move(b)), size(std::move(s)), digest(std::move(d)) {}
    std::string name, bytes;
    std::string size;    // "" the bytes' size
    std::string digest;  // "" the bytes' digest
};

struct KeptFilesTest : ::testing::Test {
    test::MarketTestServer market;
    ScriptedUi ui;

    KeptFilesTest() {
        for (const auto& [user, address] :
             {std::pair{"seller1", kSellerAddress}, std::pair{"buyer01", kOtherMemberAddress},
              std::pair{"seller2", kFullMemberAddress}}) {
            EXPECT_EQ(test::registerMember(user), "0");
            EXPECT_EQ(test::fromAddress(address, [&] { return loginRequest(user, "secret1"); }),
                      kLoginOk);
        }
    }

    std::string publish(const char* owner, const char* title) {
        return test::publish(test::listingFields(owner, title));
    }
    std::string put(const char* from, const std::string& id, const Upload& file,
                    const std::string& headers = "") {
        const std::string path =
            Query(page::kPutListingFile)
                .add(key::kProductId, id)
                .add(key::kFileName, file.name)
                .add(key::kFileBytes,
                     file.size.empty() ? std::to_string(file.bytes.size()) : file.size)
                .add(key::kFileDigest,
                     file.digest.empty() ? market::sha256Hex(file.bytes) : file.digest)
                .pathAndQuery();
        return test::rawPost(from, market.port(), path, file.bytes,
                             "Content-Type: application/octet-stream\r\n" + headers)
            .body;
    }
    std::string keep(const char* from, const std::string& id,
                     const std::vector<std::string>& names) {
        std::string body;
        for (const std::string& name : names) body += name + "\n";
        const std::string path =
            Query(page::kKeepListingFiles).add(key::kProductId, id).pathAndQuery();
        return test::rawPost(from, market.port(), path, body).body;
    }
    // Puts each file from the seller's address and keeps them all.
    void keepAll(const char* from, const std::string& id, const std::vector<Upload>& files) {
        std::vector<std::string> names;
        for (const Upload& file : files) {
            ASSERT_EQ(put(from, id, file), "0") << file.name;
            names.push_back(file.name);
        }
        ASSERT_EQ(keep(from, id, names), "0");
    }
    // The kept files' (name, size, sha256), by name.
    std::vector<test::Record> listed(const std::string& id) {
        return test::records(Query(page::kListingFiles).add(key::kProductId, id),
                             Credentials::None);
    }
    test::RawReply fetch(const std::string& id, const std::string& name) {
        return test::rawGet(kNobodysAddress, market.port(),
                            Query(page::kGetListingFile)
                                .add(key::kProductId, id)
                                .add(key::kFileName, name)
                                .pathAndQuery());
    }
    std::string filesKept(const std::string& id) {
        for (const auto& record : test::records(endpoints::myListings("seller1")))
            if (test::field(record, "productid") == id) return test::field(record, "fileskept");
        return "no such listing";
    }
    // Every stored file row, blob and kept listing.
    std::vector<std::string> stored() {
        auto rows = market.sql(
            "SELECT productid || '/' || name || '/' || owner || '/' || sha256 || '/' || size "
            "FROM listing_files ORDER BY 1");
        for (const auto& blob : market.sql("SELECT sha256 FROM file_blobs ORDER BY 1"))
            rows.push_back("blob " + blob);
        for (const auto& kept : market.sql("SELECT productid FROM kept_listings ORDER BY 1"))
            rows.push_back("kept " + kept);
        return rows;
    }
    std::vector<std::string> blobs() { return market.sql("SELECT sha256 FROM file_blobs"); }
};

TEST_F(KeptFilesTest, RefusedUploadsLeaveTheStoredFilesAsTheyWere) {
    const std::string id = publish("seller1", "Mantel clock");
    const std::string full = publish("seller1", "Ten photos");
    const std::string other = publish("seller2", "Rocking chair");
    const std::string unknown = "999999";
    keepAll(kSellerAddress, id, {{id + ".xml", "<listing/>"}, {"front.jpg", kJpeg}});
    std::vector<Upload> ten = {{full + ".xml", "<listing/>"}};
    for (int i = 1; i < 10; ++i) ten.push_back({"photo" + std::to_string(i) + ".png", kPng});
    keepAll(kSellerAddress, full, ten);
    keepAll(kFullMemberAddress, other, {{"front.jpg", kJpeg}});
    // seller2's files are recorded at all but 10 bytes of the member total.
    market.sql("UPDATE listing_files SET size = " +
               std::to_string(contract::kMostKeptMemberBytes - 10) + " WHERE owner = 'seller2'");
    const std::string overCap = std::to_string(contract::kMostKeptFileBytes + 1);
    const std::string largest =
        kJpeg + std::string(contract::kMostKeptFileBytes - kJpeg.size(), 'x');
    std::string capitals = market::sha256Hex(kJpeg);
    for (char& c : capitals) c = static_cast<char>(std::toupper(c));
    // Uploads with their own Content-Length send no body: the reply must come from the query
    // and headers alone.
    const Upload big{"big.jpg", "", overCap, std::string(64, 'a')};
    const Upload small{"big.jpg", "", "100", std::string(64, 'a')};
    const std::string overCapLength = "Content-Length: " + overCap + "\r\n";

    const struct {
        const char* name;
        const char* from;
        const std::string& listing;
        Upload file;
        std::string headers;
        const char* reply;
    } cases[] = {
        {"a whole 8 MiB file from another member's address",
         kOtherMemberAddress,
         id,
         {"new.jpg", largest},
         "",
         "-1"},
        {"a replacement from an address nobody is online at",
         kNobodysAddress,
         id,
         {"front.jpg", kPng},
         "",
         "-1"},
        {"for an unknown listing", kSellerAddress, unknown, {"a.jpg", kJpeg}, "", "-1"},
        {"over 8 MiB by its size", kSellerAddress, id, big, overCapLength, "-2"},
        {"over 8 MiB by its length alone", kSellerAddress, id, small, overCapLength, "-2"},
        {"an eleventh file", kSellerAddress, full, {"eleven.png", kPng}, "", "-3"},
        {"over the member's total", kFullMemberAddress, other, {"side.png", kPng}, "", "-4"},
        {"text as an attachment", kSellerAddress, id, {"notes.jpg", "just words"}, "", "-5"},
        {"a sound file of the same container as WebP",
         kSellerAddress,
         id,
         {"ring.webp", std::string("RIFF\x10\0\0\0WAVEfmt ", 16)},
         "",
         "-5"},
        {"another listing's listing file name",
         kSellerAddress,
         id,
         {full + ".xml", "<listing/>"},
         "",
         "-5"},
        {"a size that differs from the body",
         kSellerAddress,
         id,
         {"new.jpg", kJpeg, "100"},
         "",
         "-6"},
        {"a size that is no number", kSellerAddress, id, {"new.jpg", kJpeg, "20x"}, "", "-6"},
        {"a digest of other bytes",
         kSellerAddress,
         id,
         {"front.jpg", kJpeg, "", market::sha256Hex(kPng)},
         "",
         "-6"},
        {"a digest in capitals", kSellerAddress, id, {"new.jpg", kJpeg, "", capitals}, "", "-6"},
        {"an empty name", kSellerAddress, id, {"", kJpeg}, "", "-7"},
        {"a name with a slash", kSellerAddress, id, {"../a.jpg", kJpeg}, "", "-7"},
        {"a name with a backslash", kSellerAddress, id, {"a\\b.jpg", kJpeg}, "", "-7"},
        {"the name ..", kSellerAddress, id, {"..", kJpeg}, "", "-7"},
        {"the name .", kSellerAddress, id, {".", kJpeg}, "", "-7"},
        {"a name with a control character", kSellerAddress, id, {"a\tb.jpg", kJpeg}, "", "-7"},
        {"a name of 256 bytes",
         kSellerAddress,
         id,
         {std::string(252, 'n') + ".jpg", kJpeg},
         "",
         "-7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto before = stored();
        EXPECT_EQ(put(c.from, c.listing, c.file, c.headers), c.reply);
        EXPECT_EQ(stored(), before);
        EXPECT_EQ(listed(id).size(), 2u) << "still kept";
    }
    // The boundaries themselves are taken.
    EXPECT_EQ(put(kSellerAddress, id, {std::string(251, 'n') + ".jpg", largest}), "0");
    EXPECT_EQ(put(kFullMemberAddress, other, {"tiny.gif", "GIF87a"}), "0");
}

TEST_F(KeptFilesTest, KeptFilesAreServedUntilChangedAndReleasedWhenNoLongerNamed) {
    const std::string id = publish("seller1", "Mantel clock");
    const std::string sibling = publish("seller1", "Wall clock");
    // sha256("abc"), a published test vector.
    const std::string abcDigest =
        "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
    ASSERT_EQ(put(kSellerAddress, id, {id + ".xml", "abc", "3", abcDigest}), "0");
    EXPECT_EQ(filesKept(id), "0") << "not kept before the owner names the set";
    EXPECT_TRUE(listed(id).empty());
    EXPECT_EQ(fetch(id, id + ".xml").statusLine, "HTTP/1.1 404 Not Found");
    keepAll(kSellerAddress, id, {{id + ".xml", "abc"}, {"front.jpg", kJpeg}, {"card.gif", kGif}});
    keepAll(kSellerAddress, sibling, {{"front.jpg", kJpeg}, {"back.webp", kWebp}});

    const auto files = listed(id);
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(test::fieldNames(files[0]), (std::vector<std::string>{"name", "size", "sha256"}));
    EXPECT_EQ(files[0],
              (test::Record{{"name", id + ".xml"}, {"size", "3"}, {"sha256", abcDigest}}));
    EXPECT_EQ(test::field(files[1], "name"), "card.gif");
    EXPECT_EQ(test::field(files[2], "sha256"), market::sha256Hex(kJpeg));
    for (const auto& [name, bytes] : {std::pair{"card.gif", kGif}, std::pair{"front.jpg", kJpeg}}) {
        const auto reply = fetch(id, name);
        EXPECT_EQ(reply.statusLine, "HTTP/1.1 200 OK");
        EXPECT_EQ(reply.body, bytes);
    }
    EXPECT_EQ(filesKept(id), "1");
    EXPECT_EQ(blobs().size(), 4u) << "the shared photo is kept once";

    // An update makes the listing not kept, and keeps its files until the owner names them.
    ASSERT_EQ(test::fromAddress(kSellerAddress,
                                [&] {
                                    return requestText(endpoints::editProduct(
                                        test::listingFields("seller1", "Mantel clock, oak"), id));
                                }),
              "0");
    EXPECT_EQ(filesKept(id), "0");
    EXPECT_TRUE(listed(id).empty());
    EXPECT_EQ(fetch(id, "front.jpg").statusLine, "HTTP/1.1 404 Not Found");
    EXPECT_EQ(blobs().size(), 4u);
    // A named file that is not stored leaves it not kept; naming fewer releases the rest.
    EXPECT_EQ(put(kSellerAddress, id, {"card.gif", "GIF87a new card"}), "0");
    EXPECT_EQ(keep(kSellerAddress, id, {id + ".xml", "front.jpg", "card.gif", "side.png"}), "-8");
    EXPECT_TRUE(listed(id).empty());
    EXPECT_EQ(keep(kOtherMemberAddress, id, {id + ".xml", "front.jpg"}), "-1");
    EXPECT_EQ(keep(kSellerAddress, id, {id + ".xml", "front.jpg"}), "0");
    EXPECT_EQ(listed(id).size(), 2u);
    EXPECT_EQ(fetch(id, "card.gif").statusLine, "HTTP/1.1 404 Not Found");
    EXPECT_EQ(blobs().size(), 3u) << "both cards' bytes are gone";

    // Inactivating, selling and a restart keep them.
    EXPECT_EQ(
        test::fromAddress(kSellerAddress, [&] { return requestText(endpoints::inactivate(id)); }),
        "0");
    EXPECT_EQ(test::fromAddress(
                  kSellerAddress,
                  [&] { return requestText(endpoints::sell(sibling, "buyer01", "seller1", "5")); }),
              "0");
    market.restart();
    EXPECT_EQ(listed(id).size(), 2u);
    EXPECT_EQ(fetch(sibling, "back.webp").body, kWebp);
    EXPECT_EQ(filesKept(id), "1");

    // Removing the listing releases its files; the photo the sibling names stays.
    EXPECT_EQ(test::fromAddress(kSellerAddress, [&] { return requestText(endpoints::remove(id)); }),
              "0");
    EXPECT_TRUE(market.sql("SELECT name FROM listing_files WHERE productid = " + id).empty());
    EXPECT_EQ(blobs().size(), 2u);
    EXPECT_EQ(fetch(sibling, "front.jpg").body, kJpeg);
    const std::string largest = kPng + std::string(contract::kMostKeptFileBytes - kPng.size(), 'y');
    keepAll(kSellerAddress, sibling,
            {{"front.jpg", kJpeg}, {"back.webp", kWebp}, {"big.png", largest}, {"map.bmp", "BM6"}});
    EXPECT_EQ(fetch(sibling, "big.png").body, largest);
}

}  // namespace
}  // namespace tl
