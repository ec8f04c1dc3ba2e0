// What one member can see and do in another member's name, tried as an attacker would: the
// seller is online at one loopback address, another member at a second, nobody at a third.
#include <gtest/gtest.h>

#include <functional>

#include "LoopbackSocket.h"
#include "MarketTestServer.h"
#include "core/service/Query.h"
#include "core/session/Login.h"
#include "support/ScriptedUi.h"

namespace tl {
namespace {

constexpr char kSellerAddress[] = "127.0.0.2";
constexpr char kOtherMemberAddress[] = "127.0.0.3";
constexpr char kNobodysAddress[] = "127.0.0.4";

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

struct TrustTest : ::testing::Test {
    test::MarketTestServer market;
    ScriptedUi ui;

    TrustTest() {
        EXPECT_EQ(test::registerMember("seller1"), "0");
        EXPECT_EQ(test::registerMember("buyer01"), "0");
        EXPECT_EQ(login(kSellerAddress, "seller1", "secret1"), kLoginOk);
        EXPECT_EQ(login(kOtherMemberAddress, "buyer01", "secret1"), kLoginOk);
    }

    static int login(const char* address, const char* user, const std::string& password) {
        return test::fromAddress(address, [&] { return loginRequest(user, password); });
    }
    static std::string get(const char* address, const Query& query) {
        return test::fromAddress(address, [&] { return requestText(query, Credentials::None); });
    }
    std::string onlineAddress() { return market.server().store().onlineAddress("seller1"); }

    // The temporary password of the latest lost-password mail.
    std::string mailedTemporaryPassword() {
        const auto mails = market.outboxMails();
        const std::string marker = "temporary Tradeloom password is: ";
        const auto at = mails.empty() ? std::string::npos : mails.back().find(marker);
        return at == std::string::npos ? "" : mails.back().substr(at + marker.size(), 10);
    }
};

TEST_F(TrustTest, HeartbeatsAndLogOffsCountOnlyFromTheMembersOwnAddress) {
    const std::string id = test::publish(test::listingFields("seller1", "Mantel clock"));
    const struct {
        const char* name;
        const char* from;
        bool logOff;
        const char* onlineAfter;
    } cases[] = {
        {"heartbeat from another member's address", kOtherMemberAddress, false, kSellerAddress},
        {"heartbeat from an address nobody is at", kNobodysAddress, false, kSellerAddress},
        {"log-off from another member's address", kOtherMemberAddress, true, kSellerAddress},
        {"heartbeat from the seller's address", kSellerAddress, false, kSellerAddress},
        {"log-off from the seller's address", kSellerAddress, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string reply =
            get(c.from, c.logOff ? endpoints::logOff("seller1") : endpoints::heartBeat("seller1"));
        EXPECT_TRUE(c.logOff ? reply == "0" : has(reply, "true")) << "answered as usual";
        EXPECT_EQ(onlineAddress(), c.onlineAfter);
        // Nothing of the seller's can be changed from the other address afterwards.
        EXPECT_EQ(get(kOtherMemberAddress, endpoints::inactivate(id)), "-1");
        EXPECT_EQ(get(kOtherMemberAddress,
                      endpoints::updateUser(test::memberFields("seller1", "taken-over"))),
                  "-1");
        EXPECT_TRUE(market.server().store().passwordMatches("seller1", "secret1"));
    }
    EXPECT_EQ(test::records(endpoints::myListings("seller1")).size(), 1u);
    EXPECT_EQ(market.server().store().listing(std::stol(id))->state, "ACTIVE");
}

TEST_F(TrustTest, MessagesAndTheHomePageAnswerOnlyTheMembersOwnAddress) {
    const std::string id = test::publish(test::listingFields("buyer01", "Pine shelf"));
    auto& store = market.server().store();
    ASSERT_TRUE(store.addFavourite("seller1", std::stol(id)));
    auto message = [&](const char* body) {
        market::Message m;
        m.sender = "buyer01";
        m.recipient = "seller1";
        m.body = body;
        store.addMessage(m);
    };
    const struct {
        const char* name;
        const char* from;
        bool own;
    } requesters[] = {
        {"another member's address", kOtherMemberAddress, false},
        {"an address where nobody is online", kNobodysAddress, false},
        {"the member's own address", kSellerAddress, true},
    };
    for (const auto& r : requesters) {
        SCOPED_TRACE(r.name);
        market.sql("DELETE FROM messages");
        message("Still there?");

        const std::string list = get(r.from, endpoints::messageCentre("seller1"));
        EXPECT_EQ(has(list, "Still there?"), r.own);
        EXPECT_EQ(has(list, "from the Tradeloom program"), !r.own);
        EXPECT_EQ(store.messages("seller1").at(0).read, r.own) << "marked read";

        message("Hello?");
        const std::string home = get(r.from, endpoints::homePage("seller1"));
        EXPECT_TRUE(has(home, "welcome back"));
        EXPECT_EQ(has(home, "Your favourites"), r.own);
        EXPECT_EQ(has(home, "1 unread message"), r.own);

        const std::string compose = Query("/tradeloom/app/message/message.asp")
                                        .add("senderid", "seller1")
                                        .add("recipientid", "buyer01")
                                        .add("body", std::string("From ") + r.name)
                                        .pathAndQuery();
        const auto sent = test::rawRequest(r.from, market.port(), "POST", compose);
        EXPECT_EQ(has(sent.body, "was sent"), r.own);
        const auto inbox = store.messages("buyer01");
        EXPECT_EQ(!inbox.empty() && inbox.front().body == std::string("From ") + r.name, r.own);
    }
}

TEST_F(TrustTest, ALostPasswordRequestAddsATemporaryPasswordBesideTheOwn) {
    const struct {
        const char* name;
        bool useTemporary;
    } cases[] = {
        {"the member's own password still works and cancels the temporary one", false},
        {"the temporary password works and becomes the password", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // Anyone may ask, from anywhere.
        ASSERT_EQ(get(kOtherMemberAddress, endpoints::forgotPassword("seller1")), "1");
        const std::string temporary = mailedTemporaryPassword();
        ASSERT_EQ(temporary.size(), 10u);
        const std::string used = c.useTemporary ? temporary : "secret1";
        const std::string other = c.useTemporary ? "secret1" : temporary;
        EXPECT_EQ(login(kSellerAddress, "seller1", used), kLoginOk);
        EXPECT_EQ(login(kSellerAddress, "seller1", other), kLoginMismatch) << "settled";
        EXPECT_EQ(login(kSellerAddress, "seller1", used), kLoginOk);
        // The seller's own password again for the next case.
        auto profile = *market.server().store().member("seller1");
        market.server().store().updateMember(profile, "secret1");
    }
    // The hour's remaining request is acted on; those past it are answered alike, unmailed.
    const std::size_t mailed = market.outboxMails().size();
    EXPECT_EQ(get(kNobodysAddress, endpoints::forgotPassword("seller1")), "1");
    EXPECT_EQ(get(kNobodysAddress, endpoints::forgotPassword("seller1")), "1");
    EXPECT_EQ(market.outboxMails().size(), mailed + 1);
    EXPECT_EQ(login(kSellerAddress, "seller1", "secret1"), kLoginOk);
}

TEST_F(TrustTest, GuessingIsRefusedFromTheGuessingAddressOnly) {
    const struct {
        const char* name;
        std::function<void()> guess;  // five failed logins from the address nobody is at
        const char* member;           // whose right password is then refused there
    } cases[] = {
        {"five wrong passwords for the member",
         [] {
             for (int i = 0; i < 5; ++i)
                 EXPECT_EQ(login(kNobodysAddress, "seller1", "guess" + std::to_string(i)),
                           kLoginMismatch);
         },
         "seller1"},
        {"five wrong passwords spread over members",
         [] {
             for (const char* user : {"seller1", "buyer01", "ghost01", "ghost02", "ghost03"})
                 login(kNobodysAddress, user, "guess");
         },
         "buyer01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        market.sql("DELETE FROM login_failures");
        c.guess();
        EXPECT_EQ(login(kNobodysAddress, c.member, "secret1"), kLoginMismatch) << "refused";
        EXPECT_NE(market.server().store().onlineAddress(c.member), kNobodysAddress);
        // The member's own login from elsewhere is taken at once, also when mistyped once.
        const char* own = std::string(c.member) == "seller1" ? kSellerAddress : kOtherMemberAddress;
        EXPECT_EQ(login(own, c.member, "typo"), kLoginMismatch);
        EXPECT_EQ(login(own, c.member, "secret1"), kLoginOk);
        // Once the failures are older than the window, the guessing address is heard again.
        market.sql("UPDATE login_failures SET at = at - " +
                   std::to_string(market::MarketStore::kGuessWindowSeconds));
        EXPECT_EQ(login(kNobodysAddress, c.member, "secret1"), kLoginOk);
    }
}

}  // namespace
}  // namespace tl
