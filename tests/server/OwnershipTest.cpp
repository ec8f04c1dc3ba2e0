// Changes to a listing or an account carry no password: the server takes them only from the
// address at which the member is online. Two members at two loopback addresses.
#include <gtest/gtest.h>

#include <functional>

#include "MarketTestServer.h"
#include "core/session/Login.h"
#include "support/ScriptedUi.h"

namespace tl {
namespace {

constexpr char kOwnerAddress[] = "127.0.0.2";
constexpr char kOtherAddress[] = "127.0.0.3";

enum class Situation { FromOwner, FromOtherMember, OwnerLoggedOff, OwnerSilentTooLong };

struct OwnershipTest : ::testing::Test {
    test::MarketTestServer market;
    ScriptedUi ui;

    OwnershipTest() {
        EXPECT_EQ(test::registerMember("seller1"), "0");
        EXPECT_EQ(test::registerMember("buyer01"), "0");
        EXPECT_EQ(
            test::fromAddress(kOtherAddress, [] { return loginRequest("buyer01", "secret1"); }),
            kLoginOk);
    }

    // Puts the seller in the situation; returns the address the request then comes from.
    const char* arrange(Situation situation) {
        EXPECT_EQ(
            test::fromAddress(kOwnerAddress, [] { return loginRequest("seller1", "secret1"); }),
            kLoginOk);
        switch (situation) {
            case Situation::FromOwner:
                return kOwnerAddress;
            case Situation::FromOtherMember:
                return kOtherAddress;
            case Situation::OwnerLoggedOff:
                test::fromAddress(kOwnerAddress,
                                  [] { return requestText(endpoints::logOff("seller1")); });
                return kOwnerAddress;
            case Situation::OwnerSilentTooLong:
                // Ages the latest login past the online window, in either kind of store.
                market.sql("UPDATE members SET last_seen = last_seen - " +
                           std::to_string(11 * 60 + 30) + " WHERE username = 'seller1'");
                return kOwnerAddress;
        }
        return "";
    }
};

TEST_F(OwnershipTest, ChangesAreTakenOnlyFromTheAddressWhereTheOwnerIsOnline) {
    using Request = std::function<std::string(const std::string& id)>;
    using Changed = std::function<bool(const std::string& id)>;
    auto soldOrInactive = [](const std::string& id) {
        return requestText(endpoints::isProductSold(id)) == "-1";
    };
    auto title = [](const std::string& id) {
        const auto mine = test::records(endpoints::myListings("seller1"));
        for (const auto& record : mine)
            if (test::field(record, "productid") == id) return test::field(record, "titlebar");
        return std::string("(removed)");
    };
    struct Page {
        const char* name;
        bool startInactive;
        Request request;
        Changed changed;
    };
    const Page pages[] = {
        {"remove", false, [](auto& id) { return requestText(endpoints::remove(id)); },
         [&](auto& id) { return title(id) == "(removed)"; }},
        {"inactivate", false, [](auto& id) { return requestText(endpoints::inactivate(id)); },
         soldOrInactive},
        {"reactivate", true,
         [](auto& id) { return requestText(endpoints::reactivate(id, "Selling")); },
         [&](auto& id) { return !soldOrInactive(id); }},
        {"edit", false,
         [](auto& id) {
             return requestText(
                 endpoints::editProduct(test::listingFields("seller1", "Renamed clock", "1"), id));
         },
         [&](auto& id) { return title(id) == "Renamed clock"; }},
        {"sell", false,
         [](auto& id) { return requestText(endpoints::sell(id, "buyer01", "seller1", "4.000")); },
         soldOrInactive},
        {"record the attachments' size", false,
         [](auto& id) { return requestText(endpoints::addFileSize(id, 777)); },
         [&](auto& id) { return market.server().store().listing(std::stol(id))->filesize == 777; }},
        {"update the profile", false,
         [](auto&) {
             auto fields = test::memberFields("seller1", "taken-over");
             fields.email = "thief@example.org";
             return requestText(endpoints::updateUser(fields));
         },
         [&](auto&) {
             auto& store = market.server().store();
             return store.member("seller1")->email != "seller1@example.org" ||
                    !store.passwordMatches("seller1", "secret1");
         }},
    };
    const struct {
        Situation situation;
        const char* name;
        bool accepted;
    } situations[] = {
        {Situation::FromOwner, "from the owner's address", true},
        {Situation::FromOtherMember, "from another member's address", false},
        {Situation::OwnerLoggedOff, "owner logged off", false},
        {Situation::OwnerSilentTooLong, "owner silent for over 11 minutes", false},
    };
    for (const Page& page : pages) {
        for (const auto& s : situations) {
            SCOPED_TRACE(std::string(page.name) + ", " + s.name);
            const std::string id = test::publish(test::listingFields("seller1", "Mantel clock"));
            ASSERT_GT(std::atol(id.c_str()), 0);
            if (page.startInactive) market.server().store().inactivate(std::stol(id));
            const char* address = arrange(s.situation);
            const std::string reply = test::fromAddress(address, [&] { return page.request(id); });
            EXPECT_EQ(reply, s.accepted ? "0" : "-1");
            EXPECT_EQ(page.changed(id), s.accepted);
            // The seller's own profile again for the next case.
            auto profile = *market.server().store().member("seller1");
            profile.email = "seller1@example.org";
            market.server().store().updateMember(profile, "secret1");
        }
    }
}

}  // namespace
}  // namespace tl
