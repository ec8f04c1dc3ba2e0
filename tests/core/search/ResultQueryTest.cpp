#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "MarketTestServer.h"
#include "core/search/ResultQueries.h"
#include "core/session/Login.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"

namespace tl {
namespace {

// A record as the quick-search list reads it: productid, titlebar, username, ipaddress,
// connection, filesize, status, price (as shown), email.
using Row = std::vector<std::string>;

std::vector<Row> rowsOf(QuickSearchQuery& query) {
    std::vector<Row> rows;
    if (!query.Run() || query.IsEmpty()) return rows;
    do {
        rows.push_back({query.GetProductid(), query.GetTitlebar(), query.GetUsername(),
                        query.GetIpaddress(), query.GetConnection(), query.GetFilesize(),
                        query.GetStatus(), query.GetPrice(), query.GetEmail()});
    } while (query.Next());
    return rows;
}

TEST(ResultQuery, EachQuerySendsItsRequestWithItsCredentials) {
    test::ScriptedHttpServer server;
    test::ScopedServerHost host(server.host());
    const std::string service = "Basic emV5YW46dmV4aWwmcW8=";
    endpoints::AdvancedCriteria criteria{"oak & pine", "#1 table",         "",
                                         "5.5",        "Antiques; Clocks", "Book Lovers",
                                         "Both",       "Greater",          "ann01"};
    struct Case {
        std::shared_ptr<ResultQuery> query;
        std::string line;
        std::string authorization;
    };
    const std::vector<Case> cases = {
        {std::make_shared<QuickSearchQuery>("oak & pine", "BOTH"),
         "GET /tradeloom/app/search.asp?criteria=oak%20%26%20pine&status=BOTH", service},
        {std::make_shared<AdvancedSearchQuery>(criteria),
         "GET /tradeloom/app/advancedsearch.asp?titlebar=oak%20%26%20pine&description=%231%20table"
         "&zipcode=&price=5.5&category=Antiques%3B%20Clocks&club=Book%20Lovers&status=Both"
         "&priceswitch=Greater&user=ann01",
         service},
        {std::make_shared<FavoritesQuery>("ann 01"),
         "GET /tradeloom/app/favorites.asp?username=ann%2001", service},
        {std::make_shared<BoughtQuery>("ann01"),
         "GET /tradeloom/app/boughtproducts.asp?username=ann01", "Basic MDow"},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].line);
        EXPECT_FALSE(cases[i].query->Run()) << "404 with an empty body";
        ASSERT_EQ(server.requests().size(), i + 1);
        EXPECT_EQ(server.requests()[i].line, cases[i].line);
        EXPECT_EQ(server.requests()[i].authorization, cases[i].authorization);
    }
}

TEST(ResultQuery, ReadsOnlyRecordsWithAProductIdAndOnlyDottedAddresses) {
    test::ScriptedHttpServer server;
    test::ScopedServerHost host(server.host());
    server.reply("/tradeloom/app/search.asp", R"(<results>
  <product><productid>7</productid><titlebar>Oak table</titlebar><username>ann01</username>
    <ipaddress>10.0.0.7</ipaddress><connection>DSL</connection><filesize>120</filesize>
    <status>Selling</status><price>-1</price><email>ann@example.org</email></product>
  <product><productid>8</productid><status>Buying</status><price>0</price></product>
  loose text
  <product><note>n</note><productid>9</productid><extra><productid>666</productid></extra>
    <status>selling</status><price>12.50</price><ipaddress>999.1.2.3</ipaddress></product>
  <product><productid>12a</productid><titlebar>Bad id</titlebar></product>
  <product><productid>../5</productid></product>
  <product><productid></productid></product>
  <product><titlebar>No id</titlebar></product>
  <item><productid>10</productid><ipaddress>01.2.3.4</ipaddress><price>0.00</price></item>
  <product><productid>11</productid><ipaddress>1.2.3</ipaddress><price>-1.0000</price></product>
  <product><productid>12</productid><ipaddress>host.example</ipaddress></product>
  <product><productid>13</productid><ipaddress> 1.2.3.4</ipaddress></product>
  <product><productid>14</productid><ipaddress>255.255.255.0</ipaddress></product>
  <product><productid>15</productid><ipaddress>1.2.3.4.5</ipaddress></product>
</results>)");
    QuickSearchQuery query("", "BOTH");
    EXPECT_EQ(rowsOf(query), (std::vector<Row>{
                                 {"7", "Oak table", "ann01", "10.0.0.7", "DSL", "120", "Selling",
                                  "Make Offer", "ann@example.org"},
                                 {"8", "", "", "", "", "", "Buying", "Free", ""},
                                 {"9", "", "", "", "", "", "selling", "12.50", ""},
                                 {"10", "", "", "", "", "", "", "0.00", ""},
                                 {"11", "", "", "", "", "", "", "-1.0000", ""},
                                 {"12", "", "", "", "", "", "", "", ""},
                                 {"13", "", "", "", "", "", "", "", ""},
                                 {"14", "", "", "255.255.255.0", "", "", "", "", ""},
                                 {"15", "", "", "", "", "", "", "", ""},
                             }));
}

TEST(ResultQuery, RunIsFalseWithoutARecordToShow) {
    test::ScriptedHttpServer server;
    test::ScopedServerHost host(server.host());
    const std::vector<std::optional<std::string>> replies = {
        "<results></results>",
        "<results/>",
        "<results>\n</results>",
        "not a document",
        "<results><product><productid>x</productid></product>",
        "<results><product><productid>x</productid></product></results>",
        "<other><product><productid>1</productid></product></other>",
        std::nullopt,  // the request fails
    };
    ScriptedUi ui;
    for (const auto& reply : replies) {
        SCOPED_TRACE(reply.value_or("(failed)"));
        if (reply) server.reply("/tradeloom/app/favorites.asp", *reply);
        host.set(reply ? server.host() : test::deadHost());
        FavoritesQuery query("ann01");
        EXPECT_FALSE(query.Run());
        EXPECT_TRUE(query.IsEmpty());
        EXPECT_FALSE(query.Next());
        EXPECT_EQ(query.GetProductid(), "");
    }
    EXPECT_TRUE(ui.boxes().empty());
}

TEST(ResultQuery, ReadsNoMoreThanTheRecordLimit) {
    test::ScriptedHttpServer server;
    test::ScopedServerHost host(server.host());
    std::string reply = "<results>";
    for (std::size_t i = 1; i <= kMaxResultRecords + 5; ++i)
        reply += "<p><productid>" + std::to_string(i) + "</productid></p>";
    server.reply("/tradeloom/app/boughtproducts.asp", reply + "</results>");
    BoughtQuery query("ann01");
    ASSERT_TRUE(query.Run());
    std::size_t count = 1;
    while (query.Next()) ++count;
    EXPECT_EQ(count, kMaxResultRecords);
    EXPECT_EQ(query.GetProductid(), std::to_string(kMaxResultRecords));
}

TEST(ResultQuery, QuickSearchFindsEachKindOnTheReferenceServer) {
    test::MarketTestServer market;
    ScriptedUi ui;
    ASSERT_EQ(test::registerMember("seller1"), "0");
    ASSERT_EQ(test::registerMember("seller2"), "0");
    ASSERT_EQ(loginRequest("seller1", "secret1"), kLoginOk);  // seller2 stays offline
    auto publish = [](const std::string& owner, const std::string& title, const std::string& price,
                      const std::string& kind) {
        const std::string id = test::publish(test::listingFields(owner, title, price, kind));
        EXPECT_GT(std::atol(id.c_str()), 0) << id;
        return id;
    };
    const std::string oak = publish("seller1", "Oak table", "-1", "Selling");
    const std::string pine = publish("seller2", "Pine chair", "0", "Selling");
    const std::string lamp = publish("seller1", "Brass lamp", "12.50", "Buying");
    const std::string key = publish("seller2", "Clock key", "5.99", "Buying");
    sendNotification(endpoints::addFileSize(oak, 120));

    const Row oakRow{oak,   "Oak table", "seller1",    "127.0.0.1",          "Cable",
                     "120", "Selling",   "Make Offer", "seller1@example.org"};
    const Row pineRow{pine,   "Pine chair",         "seller2", "", "Cable", "0", "Selling",
                      "Free", "seller2@example.org"};
    const Row lampRow{lamp, "Brass lamp", "seller1", "127.0.0.1",          "Cable",
                      "0",  "Buying",     "12.50",   "seller1@example.org"};
    const Row keyRow{key,    "Clock key",          "seller2", "", "Cable", "0", "Buying",
                     "5.99", "seller2@example.org"};
    struct Case {
        std::string status;
        std::vector<Row> rows;  // newest first
    };
    const std::vector<Case> cases = {
        {"SELLING", {pineRow, oakRow}},
        {"BUYING", {keyRow, lampRow}},
        {"BOTH", {keyRow, lampRow, pineRow, oakRow}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        QuickSearchQuery query("", c.status);
        EXPECT_EQ(rowsOf(query), c.rows);
    }
    EXPECT_TRUE(ui.boxes().empty());
}

}  // namespace
}  // namespace tl
