// The server under requests it must refuse or survive: wrong credentials, oversized and badly
// encoded values, hostile values; and its data across a restart.
#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

#include "LoopbackSocket.h"
#include "MarketServer.h"
#include "MarketTestServer.h"
#include "core/session/Login.h"
#include "support/ScriptedUi.h"

namespace tl {
namespace {

struct RobustnessTest : ::testing::Test {
    test::MarketTestServer market;
    ScriptedUi ui;

    int status(const std::string& target, const std::string& user = "",
               const std::string& password = "") {
        httplib::Client http("127.0.0.1", market.port());
        if (!user.empty() || !password.empty()) http.set_basic_auth(user.c_str(), password.c_str());
        const auto reply = http.Get(target.c_str());
        return reply ? reply->status : -1;
    }
};

TEST_F(RobustnessTest, CredentialsMustBeTheServicePairWhenGiven) {
    const std::string bought = "/tradeloom/app/boughtproducts.asp?username=annlee";
    const std::string search = "/tradeloom/app/search.asp?criteria=&status=BOTH";
    EXPECT_EQ(status(search, "zeyan", "vexil&qo"), 200);
    EXPECT_EQ(status(search, "zeyan", "wrong"), 401);
    EXPECT_EQ(status(search, "0", "0"), 401) << "0/0 serves the bought-items list only";
    EXPECT_EQ(status(search), 200) << "no credentials: served";
    EXPECT_EQ(status(bought, "0", "0"), 200);
    EXPECT_EQ(status(bought, "zeyan", "vexil&qo"), 200);
    EXPECT_EQ(status(bought, "0", "1"), 401);
    // The client's own bought-items request with the pair 0/0.
    EXPECT_TRUE(test::records(endpoints::boughtProducts("annlee"), Credentials::Zero).empty());
}

TEST_F(RobustnessTest, TheLongestListingTheClientSendsIsTaken) {
    ASSERT_EQ(test::registerMember("annlee"), "0");
    const std::string fourBytes = "\xF0\x9F\x95\xB0";  // a mantelpiece clock
    auto repeat = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += fourBytes;
        return text;
    };
    auto fields = test::listingFields("annlee", repeat(100));
    fields.description = repeat(1024);
    fields.zipcode = repeat(50);
    fields.quantity = std::string(9, '9');
    fields.price = "12345678901234567890123456789012345678901234.5678";
    fields.category1 = fields.category2 = "Antiques; " + repeat(60);
    ASSERT_GT(endpoints::newProduct(fields).pathAndQuery().size(), 15000u);
    const std::string id = test::publish(fields);
    ASSERT_GT(std::atol(id.c_str()), 0) << id;
    EXPECT_EQ(market.server().store().listing(std::stol(id))->description, fields.description);

    // A long line is served as the GET it is: the compose page shows its form, storing nothing.
    const auto form = test::rawGet(
        "127.0.0.1", market.port(),
        "/tradeloom/app/message/message.asp?senderid=annlee&body=" + std::string(4000, 'x') +
            "&title=" + std::string(4000, 'y') + "&Price=" + std::string(1000, '9'));
    EXPECT_EQ(form.statusLine, "HTTP/1.1 200 OK");
    EXPECT_NE(form.body.find("method=\"post\""), std::string::npos);
    EXPECT_NE(form.body.find(std::string(4000, 'x')), std::string::npos);
    EXPECT_TRUE(market.server().store().messages("annlee").empty());
}

TEST_F(RobustnessTest, OversizedAndBadlyEncodedRequestsAreRefusedAndTheServerCarriesOn) {
    ASSERT_EQ(test::registerMember("annlee"), "0");
    EXPECT_EQ(status("/tradeloom/app/search.asp?criteria=" + std::string(33000, 'a')), 414);
    EXPECT_EQ(status("/tradeloom/app/search.asp?criteria=" + std::string(5000, 'a')), 400);
    EXPECT_EQ(status("/tradeloom/app/search.asp?criteria=" + std::string(4000, 'a')), 200);
    EXPECT_EQ(status("/tradeloom/app/newproduct.asp?titlebar=%FF%FE&username=annlee"), 400);
    EXPECT_EQ(status("/tradeloom/app/newproduct.asp?titlebar=%C0%AF&username=annlee"), 400)
        << "overlong form";
    EXPECT_EQ(status("/tradeloom/app/search.asp?criteria=%zz%&status=%"), 200);

    httplib::Client http("127.0.0.1", market.port());
    const auto tooLarge =
        http.Post("/tradeloom/app/message/message.asp", std::string(100 * 1024, 'x'), "text/plain");
    ASSERT_TRUE(tooLarge);
    EXPECT_EQ(tooLarge->status, 413);

    // Control characters are dropped from stored texts: XML cannot carry them.
    auto fields = test::listingFields("annlee", std::string("Bell\x01\x1f clock"));
    const std::string id = test::publish(fields);
    ASSERT_GT(std::atol(id.c_str()), 0);
    EXPECT_EQ(test::field(test::records(endpoints::myListings("annlee")).at(0), "titlebar"),
              "Bell clock");
    EXPECT_EQ(loginRequest("annlee", "secret1"), kLoginOk) << "still serving";
}

TEST_F(RobustnessTest, ProductIdsThatAreNoNumbersMatchNothing) {
    ASSERT_EQ(test::registerMember("annlee"), "0");
    const std::string id = test::publish(test::listingFields("annlee", "Oak table"));
    const std::vector<std::string> bad = {id + " OR 1=1",        "-" + id, "1e3", "", "0x1",
                                          "99999999999999999999"};
    for (const std::string& value : bad) {
        EXPECT_EQ(requestText(endpoints::remove(value)), "0");
        EXPECT_EQ(requestText(endpoints::isProductSold(value)), "-1") << value;
    }
    EXPECT_EQ(requestText(endpoints::isProductSold(id)), "0") << "still there";
}

// A second server on a taken port must fail to start: sharing the port would split the
// members' requests between two databases.
TEST_F(RobustnessTest, ASecondServerCannotTakeThePortOfARunningOne) {
    // A folder of its own: a fixed one could hold a database another build left there.
    std::string folder = ::testing::TempDir() + "second-market-XXXXXX";
    ASSERT_NE(::mkdtemp(folder.data()), nullptr);
    market::MarketServerOptions options;
    options.dataFolder = folder;
    options.logRequests = false;
    {
        market::MarketServer second(options);
        EXPECT_EQ(second.start("127.0.0.1", market.port()), -1);
    }
    std::filesystem::remove_all(folder);
    EXPECT_EQ(status("/tradeloom/app/login.asp?username=x&password=y"), 200);
}

TEST_F(RobustnessTest, DataSurvivesARestartOnTheSameFolder) {
    ASSERT_EQ(test::registerMember("annlee", "secret1"), "0");
    ASSERT_EQ(test::registerMember("bobby1", "secret2"), "0");
    const std::string id = test::publish(test::listingFields("annlee", "Oak table"));
    ASSERT_EQ(requestText(endpoints::addFavorite(id, "bobby1")), "1");
    const std::string sold = test::publish(test::listingFields("annlee", "Pine shelf"));
    ASSERT_EQ(loginRequest("annlee", "secret1"), kLoginOk);
    ASSERT_EQ(requestText(endpoints::sell(sold, "bobby1", "annlee", "3.000")), "0");
    ASSERT_EQ(requestText(endpoints::forgotPassword("bobby1")), "1");

    market.restart();

    EXPECT_EQ(loginRequest("annlee", "secret1"), kLoginOk);
    EXPECT_EQ(test::records(endpoints::search("oak", "BOTH")).size(), 1u) << "index rebuilt";
    EXPECT_EQ(requestText(endpoints::isInFavorite(id, "bobby1")), "-1");
    EXPECT_EQ(test::records(endpoints::boughtProducts("bobby1"), Credentials::Zero).size(), 1u);
    EXPECT_EQ(market.outboxMails().size(), 1u);
    const std::string next = test::publish(test::listingFields("annlee", "Elm chair"));
    EXPECT_GT(std::stol(next), std::stol(sold)) << "ids are never reused";
}

TEST_F(RobustnessTest, ConcurrentPublishersAndSearchersAllGetTheirAnswers) {
    for (int m = 0; m < 4; ++m) ASSERT_EQ(test::registerMember("member" + std::to_string(m)), "0");
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int m = 0; m < 4; ++m) {
        threads.emplace_back([&, m] {
            for (int i = 0; i < 25; ++i) {
                const std::string owner = "member" + std::to_string(m);
                const std::string id = test::publish(
                    test::listingFields(owner, "Lamp " + owner + " " + std::to_string(i)));
                if (std::atol(id.c_str()) <= 0) ++failures;
                if (test::records(endpoints::search("lamp " + owner, "BOTH")).empty()) ++failures;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(test::records(endpoints::search("lamp", "BOTH")).size(), 100u);
}

}  // namespace
}  // namespace tl
