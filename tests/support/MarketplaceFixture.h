#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "MarketTestServer.h"
#include "core/listings/CProductXml.h"
#include "core/listings/FileScramble.h"
#include "core/peer/CServerThread.h"
#include "core/peer/ListingDownload.h"
#include "core/session/Login.h"
#include "core/session/Session.h"
#include "support/SampleListing.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl::test {

// The whole system on one machine: the reference marketplace server in-process, a program
// directory, scripted boxes, and two registered members (password "secret1") whose requests
// leave from their own loopback addresses: the seller (seller1 at 127.0.0.2) and the buyer
// (buyer1 at 127.0.0.3). Nobody is logged in at the start.
class MarketplaceTest : public ::testing::Test {
protected:
    struct Member {
        std::string name;
        std::string address;
    };
    inline static const Member seller{"seller1", "127.0.0.2"};
    inline static const Member buyer{"buyer1", "127.0.0.3"};

    MarketplaceTest() {
        EXPECT_EQ(registerMember(seller.name), "0");
        EXPECT_EQ(registerMember(buyer.name), "0");
    }

    // The client's requests leave from the member's address, in the member's name.
    void actAs(const Member& member) {
        bind.emplace("TRADELOOM_BIND", member.address);
        session().currentUserName = member.name;
    }
    void logIn(const Member& member) {
        actAs(member);
        EXPECT_EQ(loginRequest(member.name, "secret1"), kLoginOk) << member.name;
    }

    using Files = std::vector<std::pair<std::string, std::string>>;  // (name, bytes)

    // Publishes the seller's listing, attaches the photos (kept in the listing's own folder) and
    // then the other files (kept beside the listings); the listing is stored scrambled, as the
    // seller's computer serves it. The entries attached, in order, are in `attached`. Its number.
    std::string publishSellersListing(const Files& photos, ListingValues values = chairListing(),
                                      const Files& others = {}) {
        values.username = seller.name;
        CProductXml listing;
        EXPECT_EQ(listing.BuildAndSave("", values), 1);
        EXPECT_EQ(listing.Publish(), 1);
        const std::string id = listing.productId();
        const auto attach = [&](const std::string& entry, const std::string& bytes) {
            home.write("products/" + entry, bytes);
            EXPECT_EQ(listing.AddAttachment(entry), 1) << entry;
            attached.push_back(entry);
        };
        for (const auto& [name, bytes] : photos) attach(id + "/" + name, bytes);
        for (const auto& [name, bytes] : others) attach(name, bytes);
        return id;
    }

    // The seller's listing server on the seller's address; the buyer's downloads go to it.
    void serveSellersListings() {
        CServerThread::Settings settings;
        settings.port = 0;
        settings.bindAddress = seller.address;
        sellerServer = std::make_unique<CServerThread>(settings);
        ASSERT_TRUE(sellerServer->start());
    }
    DownloadSettings downloadFromSeller() const {
        DownloadSettings settings;
        settings.port = sellerServer ? sellerServer->port() : 0;
        return settings;
    }

    TempProgramDirectory home;
    MarketTestServer market;
    ScopedSessionValues values;
    ScriptedUi ui;
    std::optional<ScopedEnv> bind;
    std::unique_ptr<CServerThread> sellerServer;
    std::vector<std::string> attached;
};

}  // namespace tl::test
