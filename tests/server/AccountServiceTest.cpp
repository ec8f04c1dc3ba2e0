// Members over real HTTP: registration, the login codes, online state and address, profile
// updates and the password mails, with the client's own request code on the other side.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <ctime>

#include "MarketTestServer.h"
#include "core/listings/ListingOperations.h"
#include "core/platform/Files.h"
#include "core/session/Login.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedUi.h"

namespace tl {
namespace {

struct AccountServiceTest : ::testing::Test {
    test::MarketTestServer market;
    ScriptedUi ui;

    // The ipaddress of the member's listing in the quick-search records.
    std::string addressInSearch(const std::string& title) {
        const auto found = test::records(endpoints::search(title, "BOTH"));
        if (found.size() != 1) {
            ADD_FAILURE() << found.size() << " records for " << title;
            return "?";
        }
        return test::field(found[0], "ipaddress");
    }
};

TEST_F(AccountServiceTest, RegistrationTakesEachFreeValidNameOnce) {
    EXPECT_EQ(test::registerMember("annlee"), "0");
    EXPECT_EQ(test::registerMember("annlee"), "-1") << "taken";
    EXPECT_EQ(test::registerMember("abcd"), "-1") << "shorter than 5";
    EXPECT_EQ(test::registerMember(std::string(51, 'x')), "-1") << "longer than 50";
    EXPECT_EQ(test::registerMember(std::string(50, 'x')), "0");
    EXPECT_EQ(test::registerMember("Ann <b>"), "-1") << "would change when stored";
    // Names that leave a folder or that a query text would change, sent exactly as written.
    for (const char* name : {"../../x1", "ann/lee", "ann\\lee", "ann..lee", "ann#lee", "ann&lee"})
        EXPECT_EQ(requestText(Query("/tradeloom/app/newuser.asp")
                                  .add("username", name)
                                  .add("password", "secret1")),
                  "-1")
            << name;
}

TEST_F(AccountServiceTest, LoginAnswersEachCodeTheClientKnows) {
    ASSERT_EQ(test::registerMember("annlee", "p&ss #1"), "0");
    // The password is registered exactly as typed, so the member logs in with it.
    EXPECT_EQ(loginRequest("annlee", "p&ss #1"), kLoginOk);
    EXPECT_EQ(loginRequest("annlee", "pandss number 1"), kLoginMismatch);
    EXPECT_EQ(loginRequest("annlee", ""), kLoginMismatch);
    EXPECT_EQ(loginRequest("nobody1", "p&ss #1"), kLoginUnknownUser);
    EXPECT_EQ(loginRequest("", ""), kLoginUnknownUser);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(AccountServiceTest, PasswordsAreStoredAsSaltedHashes) {
    ASSERT_EQ(test::registerMember("annlee", "PlainTextSecret"), "0");
    ASSERT_EQ(test::registerMember("bobby1", "PlainTextSecret"), "0");
    const auto hashes = market.sql("SELECT password FROM members ORDER BY username");
    ASSERT_EQ(hashes.size(), 2u);
    EXPECT_NE(hashes[0], hashes[1]) << "salted";
    for (const auto& hash : hashes) EXPECT_EQ(hash.find("PlainTextSecret"), std::string::npos);
    market.restart();
    if (!test::onPostgres()) {  // the restart folded the WAL into the SQLite file
        const auto bytes = readWholeFile(market.dataFolder() + "/market.db");
        ASSERT_TRUE(bytes);
        EXPECT_EQ(bytes->find("PlainTextSecret"), std::string::npos);
    }
    EXPECT_EQ(loginRequest("annlee", "PlainTextSecret"), kLoginOk);
    EXPECT_EQ(loginRequest("bobby1", "PlainTextSecret"), kLoginOk);
}

TEST_F(AccountServiceTest, SearchRecordsCarryTheAddressOnlyWhileThePosterIsOnline) {
    ASSERT_EQ(test::registerMember("annlee"), "0");
    ASSERT_NE(test::publish(test::listingFields("annlee", "Walnut mantel clock")), "-1");
    EXPECT_EQ(addressInSearch("Walnut mantel"), "") << "never logged in";

    ASSERT_EQ(loginRequest("annlee", "secret1"), kLoginOk);
    EXPECT_EQ(addressInSearch("Walnut mantel"), "127.0.0.1");

    ASSERT_EQ(LogOff("annlee"), 1);
    EXPECT_EQ(addressInSearch("Walnut mantel"), "");

    // A heartbeat after log-off refreshes nothing back to online.
    EXPECT_EQ(requestText(endpoints::heartBeat("annlee")),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<boolean>true</boolean>");
    EXPECT_EQ(addressInSearch("Walnut mantel"), "");
    EXPECT_EQ(requestText(endpoints::heartBeat("nobody1")),
              "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<boolean>false</boolean>");
}

TEST_F(AccountServiceTest, AMemberSilentForElevenMinutesCountsAsOfflineUntilTheNextHeartbeat) {
    ASSERT_EQ(test::registerMember("annlee"), "0");
    ASSERT_NE(test::publish(test::listingFields("annlee", "Cuckoo clock")), "-1");
    ASSERT_EQ(loginRequest("annlee", "secret1"), kLoginOk);
    auto lastSeenAgo = [&](int seconds) {
        market.sql("UPDATE members SET last_seen = " +
                   std::to_string(std::time(nullptr) - seconds) + " WHERE username = 'annlee'");
    };
    lastSeenAgo(10 * 60);
    EXPECT_EQ(addressInSearch("Cuckoo"), "127.0.0.1");
    lastSeenAgo(11 * 60 + 30);
    EXPECT_EQ(addressInSearch("Cuckoo"), "");
    requestText(endpoints::heartBeat("annlee"));
    EXPECT_EQ(addressInSearch("Cuckoo"), "127.0.0.1") << "still logged in, heard from again";
}

TEST_F(AccountServiceTest, UpdateKeepsThePasswordWhenNoneIsGiven) {
    ASSERT_EQ(test::registerMember("annlee", "first1"), "0");
    ASSERT_EQ(loginRequest("annlee", "first1"), kLoginOk);
    auto fields = test::memberFields("annlee", "");
    fields.email = "new@example.org";
    fields.contact = "Phone";
    EXPECT_EQ(requestText(endpoints::updateUser(fields)), "0");
    EXPECT_EQ(loginRequest("annlee", "first1"), kLoginOk);
    const auto member = market.server().store().member("annlee");
    ASSERT_TRUE(member);
    EXPECT_EQ(member->email, "new@example.org");
    EXPECT_EQ(member->contact, "Phone");

    fields.password = "second2";
    EXPECT_EQ(requestText(endpoints::updateUser(fields)), "0");
    EXPECT_EQ(loginRequest("annlee", "first1"), kLoginMismatch);
    EXPECT_EQ(loginRequest("annlee", "second2"), kLoginOk);

    EXPECT_EQ(requestText(endpoints::updateUser(test::memberFields("nobody1", "x"))), "-1");
}

TEST_F(AccountServiceTest, ForgottenPasswordAddsATemporaryOneMailedToTheMember) {
    ASSERT_EQ(test::registerMember("annlee", "old-password"), "0");
    EXPECT_EQ(requestText(endpoints::forgotPassword("nobody1")), "-1");
    EXPECT_TRUE(market.outboxMails().empty());

    EXPECT_EQ(requestText(endpoints::forgotPassword("annlee")), "1");
    const auto mails = market.outboxMails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_NE(mails[0].find("To: annlee@example.org\r\n"), std::string::npos);
    const std::string marker = "temporary Tradeloom password is: ";
    const auto at = mails[0].find(marker);
    ASSERT_NE(at, std::string::npos);
    const std::string temporary = mails[0].substr(at + marker.size(), 10);

    EXPECT_EQ(loginRequest("annlee", temporary), kLoginOk);
    EXPECT_EQ(loginRequest("annlee", "old-password"), kLoginMismatch)
        << "the temporary one took over";
}

TEST_F(AccountServiceTest, ForgottenPasswordOfAMemberWithoutAddressChangesNothing) {
    auto fields = test::memberFields("annlee", "old-password");
    fields.email = "";
    ASSERT_EQ(requestText(endpoints::newUser(fields)), "0");
    EXPECT_EQ(requestText(endpoints::forgotPassword("annlee")), "-1");
    EXPECT_EQ(loginRequest("annlee", "old-password"), kLoginOk);
}

TEST_F(AccountServiceTest, PasswordMailGoesOutOnlyWithTheMembersOwnPassword) {
    ASSERT_EQ(test::registerMember("annlee", "secret1"), "0");
    EXPECT_EQ(requestText(endpoints::sendPassword("not-hers", "annlee")), "-1");
    EXPECT_TRUE(market.outboxMails().empty());
    EXPECT_EQ(requestText(endpoints::sendPassword("secret1", "annlee")), "0");
    const auto mails = market.outboxMails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_NE(mails[0].find("To: annlee@example.org"), std::string::npos);
    EXPECT_NE(mails[0].find("Your user name is annlee"), std::string::npos);
    EXPECT_EQ(mails[0].find("secret1"), std::string::npos) << "no password in a mail";

    // After a change the mail says that and when, again without the password.
    ASSERT_EQ(loginRequest("annlee", "secret1"), kLoginOk);
    EXPECT_EQ(requestText(endpoints::updateUser(test::memberFields("annlee", "second2"))), "0");
    EXPECT_EQ(requestText(endpoints::sendPassword("second2", "annlee")), "0");
    const auto notices = market.outboxMails();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_NE(notices[1].find("was changed on "), std::string::npos);
    EXPECT_EQ(notices[1].find("second2"), std::string::npos);
}

TEST_F(AccountServiceTest, MailHeadersCannotBeInjectedThroughTheAddress) {
    auto fields = test::memberFields("annlee", "secret1");
    fields.email = "ann@example.org\r\nBcc: everyone@example.org";
    ASSERT_EQ(requestText(endpoints::newUser(fields)), "0");
    ASSERT_EQ(requestText(endpoints::forgotPassword("annlee")), "1");
    const auto mails = market.outboxMails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].find("\r\nBcc:"), std::string::npos);
}

}  // namespace
}  // namespace tl
