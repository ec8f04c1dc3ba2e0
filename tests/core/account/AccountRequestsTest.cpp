#include <gtest/gtest.h>

#include "core/account/AccountRequests.h"
#include "core/account/Registration.h"
#include "core/service/ServiceRequest.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

// Every field carries characters that would split a query or that the cleaner rewrites.
constexpr char kHostile[] = "a&b#c d=e?f/g";
constexpr char kHostileCleaned[] = "aandbnumber%20c%20d%3De%3Ff%2Fg";
constexpr char kHostileExact[] = "a%26b%23c%20d%3De%3Ff%2Fg";

endpoints::MemberFields hostileMember() {
    endpoints::MemberFields m;
    for (std::string* field : {&m.username, &m.firstname, &m.lastname, &m.address, &m.city,
                               &m.zipcode, &m.state, &m.connection, &m.contact, &m.email, &m.phone,
                               &m.club1, &m.club2, &m.country, &m.password})
        *field = kHostile;
    return m;
}

std::string memberQuery(const std::string& page) {
    std::string line = "GET /tradeloom/app/" + page + "?";
    const char* keys[] = {"username", "firstname", "lastname",   "address", "city",
                          "zipcode",  "state",     "connection", "contact", "email",
                          "phone",    "club1",     "club2",      "country"};
    for (const char* key : keys) line += std::string(key) + "=" + kHostileCleaned + "&";
    return line + "password=" + kHostileExact;  // the password goes out exactly as typed
}

struct AccountRequestsTest : ::testing::Test {
    test::ScriptedHttpServer server;
    ScriptedUi ui;
    test::ScopedServerHost host{server.host()};
};

TEST_F(AccountRequestsTest, RequestLinesCarryEveryFieldAndOnlyTheFreeTextsAreCleaned) {
    server.replyOtherwise("0");
    server.reply("/tradeloom/app/ForgotPass.asp", "1");
    requestNewUser(hostileMember());
    requestUpdateUser(hostileMember());
    sendPasswordMail(kHostile, kHostile);
    requestLostPassword(kHostile);
    EXPECT_EQ(server.targets(),
              (std::vector<std::string>{
                  "//tradeLoom//index.html", memberQuery("newuser.asp").substr(4),
                  memberQuery("updateuser.asp").substr(4),
                  std::string("/tradeloom/app/sendpassword.asp?password=") + kHostileExact +
                      "&username=" + kHostileExact,
                  "/", std::string("/tradeloom/app/ForgotPass.asp?UserID=") + kHostileExact}));
    EXPECT_EQ(ui.boxes(), (Boxes{{"Tradeloom Lost Password",
                                  "Your password has been sent to your registered email "
                                  "address"}}));
}

TEST_F(AccountRequestsTest, EachReplyAndFailureEndsInItsOwnBoxes) {
    const Boxes notUpdated{{"Error", "User Information Not Update"}};
    const Boxes addUserError{{"Add User Error", "There was a problem adding new user."}};
    struct Case {
        const char* reply;
        int status;
        NewUserReply created;
        Boxes newUserBoxes;
        bool updated;
        Boxes lostBoxes;
    };
    const Case cases[] = {
        {"0", 200, NewUserReply::Created, {}, true, {}},
        {"-1",
         200,
         NewUserReply::Taken,
         {},
         false,
         {{"Error",
           "Enter your valid User Name, Password will be mailed to your registered "
           "Email."}}},
        {"0",
         500,
         NewUserReply::Failed,
         addUserError,
         false,
         {{kErrorCaption, kConnectionErrorText}}},
    };
    for (const Case& c : cases) {
        server.replyOtherwise("");
        for (const char* page : {"newuser.asp", "updateuser.asp", "ForgotPass.asp"})
            server.reply(std::string("/tradeloom/app/") + page, c.reply, "text/plain", c.status);
        ui.clear();
        EXPECT_EQ(requestNewUser({}), c.created) << c.reply << c.status;
        EXPECT_EQ(ui.boxes(), c.newUserBoxes);
        ui.clear();
        EXPECT_EQ(requestUpdateUser({}), c.updated);
        EXPECT_EQ(ui.boxes(), c.updated ? Boxes{} : notUpdated);
        ui.clear();
        requestLostPassword("");
        EXPECT_EQ(ui.boxes(), c.lostBoxes);
    }
    host.set(test::deadHost());
    ui.clear();
    EXPECT_EQ(requestNewUser({}), NewUserReply::Failed);
    requestLostPassword("annlee");
    EXPECT_EQ(ui.boxes(), (Boxes(2, {kNetworkErrorCaption, kNetworkErrorText})));
}

// The user document is written only once the server has created the account.
TEST_F(AccountRequestsTest, RegistrationWritesTheUserDocumentOnlyForACreatedAccount) {
    test::TempProgramDirectory home;
    home.write("users/annlee.xml", "<user>mine</user>");
    RegistrationForm form;
    form.username = "annlee";
    form.password = "p&ss #1";
    server.replyOtherwise("");
    server.reply("/tradeloom/app/newuser.asp", "-1");
    EXPECT_EQ(registerMember(form), NewUserReply::Taken);
    server.reply("/tradeloom/app/newuser.asp", "0", "text/plain", 500);
    EXPECT_EQ(registerMember(form), NewUserReply::Failed);
    EXPECT_EQ(home.read("users/annlee.xml"), "<user>mine</user>");
    EXPECT_EQ(ui.boxes(), (Boxes{{"Password Error",
                                  "This username is already taken.  Please choose another "
                                  "name."},
                                 {"Add User Error", "There was a problem adding new user."}}));

    form.username = "bobby1";
    server.reply("/tradeloom/app/newuser.asp", "0");
    EXPECT_EQ(registerMember(form), NewUserReply::Created);
    EXPECT_TRUE(home.exists("users/bobby1.xml"));
    EXPECT_EQ(server.targets().back(),
              "/tradeloom/app/sendpassword.asp?password=p%26ss%20%231&username=bobby1");
}

}  // namespace
}  // namespace tl
