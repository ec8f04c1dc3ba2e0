// The web pages and reference lists over real HTTP: home pages, messages with the compose
// form's POST, category suggestions, club creation, and escaping of hostile member text.
#include <gtest/gtest.h>
#include <httplib.h>

#include "MarketStore.h"
#include "MarketTestServer.h"
#include "core/platform/Files.h"
#include "core/service/Replies.h"
#include "core/session/Login.h"
#include "core/session/ReferenceLists.h"
#include "core/session/Session.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

struct PagesTest : ::testing::Test {
    test::MarketTestServer market;
    ScriptedUi ui;
    httplib::Client http{"127.0.0.1", market.port()};

    PagesTest() {
        EXPECT_EQ(test::registerMember("annlee"), "0");
        EXPECT_EQ(test::registerMember("bobby1"), "0");
        // A member's own view and messages are served at the member's online address.
        EXPECT_EQ(loginRequest("annlee", "secret1"), kLoginOk);
        EXPECT_EQ(loginRequest("bobby1", "secret1"), kLoginOk);
    }

    std::string page(const Query& query) { return requestText(query, Credentials::None); }

    std::string post(const std::string& path, const httplib::Params& form) {
        const auto reply = http.Post(path.c_str(), form);
        EXPECT_TRUE(reply);
        if (!reply) return {};
        EXPECT_EQ(reply->status, 200);
        return reply->body;
    }
};

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(PagesTest, HomePagesShowListingsAndTheMembersOwnView) {
    ASSERT_NE(test::publish(test::listingFields("annlee", "Oak table")), "-1");
    const std::string id = test::publish(test::listingFields("bobby1", "Pine shelf", "0"));
    ASSERT_EQ(requestText(endpoints::addFavorite(id, "annlee")), "1");

    const std::string publicHome = page(Query("/"));
    EXPECT_TRUE(has(publicHome, "<!DOCTYPE html>"));
    EXPECT_TRUE(has(publicHome, "Oak table"));
    EXPECT_EQ(page(Query("/tradeloom")), publicHome);

    const std::string home = page(endpoints::homePage("annlee"));
    EXPECT_TRUE(has(home, "Hello Ann"));
    EXPECT_TRUE(has(home, "Your listings"));
    EXPECT_TRUE(has(home, "Pine shelf")) << "favourite";
    EXPECT_TRUE(has(home, "Free"));
    EXPECT_TRUE(has(home, "0 unread messages"));
    EXPECT_TRUE(has(page(endpoints::homePage("nobody1")), "no member named"));
    EXPECT_TRUE(has(page(Query(endpoints::kRegistrationProbe)), "taking registrations"));
}

TEST_F(PagesTest, ComposedMessageIsStoredAndListedWithAReplyLink) {
    const std::string form = page(endpoints::composeMessage("annlee", "bobby1", "7", "Oak table"));
    EXPECT_TRUE(has(form, "method=\"post\""));
    EXPECT_TRUE(has(form, "name=\"recipientid\" value=\"bobby1\""));
    EXPECT_TRUE(has(form, "name=\"title\" value=\"Oak table\""));

    const std::string sent =
        post("/tradeloom/app/message/message.asp", {{"senderid", "annlee"},
                                                    {"recipientid", "bobby1"},
                                                    {"productid", "7"},
                                                    {"title", "Oak table"},
                                                    {"Price", "12.50"},
                                                    {"body", "Is it still for sale?"}});
    EXPECT_TRUE(has(sent, "Your message to bobby1"));
    EXPECT_TRUE(has(page(endpoints::homePage("bobby1")), "1 unread message"));

    const std::string list = page(endpoints::messageCentre("bobby1"));
    EXPECT_TRUE(has(list, "Is it still for sale?"));
    EXPECT_TRUE(has(list, "class=\"unread\""));
    EXPECT_TRUE(has(list,
                    "message.asp?senderid=bobby1&amp;recipientid=annlee&amp;productid=7&amp;"
                    "title=Re%3A%20Oak%20table"));
    EXPECT_EQ(page(endpoints::messageCentreLowerCase("bobby1")).find("class=\"unread\""),
              std::string::npos)
        << "read once shown";
    EXPECT_TRUE(page(endpoints::messageCentre("annlee")).find("Is it still") == std::string::npos);
}

TEST_F(PagesTest, ComposeRefusesUnknownMembersAndEmptyMessages) {
    const std::string unknown =
        post("/tradeloom/app/message/message.asp",
             {{"senderid", "annlee"}, {"recipientid", "ghost"}, {"body", "hello"}});
    EXPECT_TRUE(has(unknown, "There is no member named &quot;ghost&quot;"));
    const std::string empty = post("/tradeloom/app/message/message.asp",
                                   {{"senderid", "annlee"}, {"recipientid", "bobby1"}});
    EXPECT_TRUE(has(empty, "Please write a title or a message."));
    EXPECT_TRUE(market.server().store().messages("bobby1").empty());
}

TEST_F(PagesTest, CategorySuggestionAndClubCreationAreStored) {
    EXPECT_TRUE(has(page(endpoints::categorySuggestion("annlee")), "name=\"category\""));
    const std::string stored =
        post("/tradeloom/app/catSuggestions.asp", {{"senderid", "annlee"},
                                                   {"category", "Typewriters"},
                                                   {"parent", "Antiques"},
                                                   {"note", "Many of them around"}});
    EXPECT_TRUE(has(stored, "&quot;Typewriters&quot; was recorded"));
    EXPECT_EQ(market.server().store().categorySuggestionCount(), 1);

    EXPECT_TRUE(has(page(endpoints::createClub("annlee")), "name=\"clubname\""));
    EXPECT_TRUE(has(post("/RUViviride/createclub.aspx",
                         {{"username", "annlee"}, {"clubname", "Clock Menders"}}),
                    "was created"));
    EXPECT_TRUE(has(post("/RUViviride/createclub.aspx",
                         {{"username", "annlee"}, {"clubname", "Clock Menders"}}),
                    "exists already"));
    const std::string clubs =
        unwrapStringDocument(requestText(Query(endpoints::kClubList)), market.host());
    EXPECT_TRUE(has(clubs, "<Club>Clock Menders</Club>"));
}

TEST_F(PagesTest, HostileMemberTextComesBackEscapedInHtmlAndXml) {
    const std::string hostile = "<script>alert('x')</script> \"Bob\" & '; DROP TABLE listings;--";
    auto fields = test::listingFields("annlee", hostile);
    fields.description = hostile;
    const std::string id = test::publish(fields);
    ASSERT_GT(std::atol(id.c_str()), 0) << id;

    // Stored with "&" as "and" and without "<" ">"; quotes stay, escaped where they appear.
    const std::string stored = "scriptalert('x')/script \"Bob\" and '; DROP TABLE listings;--";
    const auto found = test::records(endpoints::search("DROP TABLE", "BOTH"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(test::field(found[0], "titlebar"), stored);
    const std::string xml = requestText(endpoints::search("DROP TABLE", "BOTH"));
    EXPECT_TRUE(has(xml, "&quot;Bob&quot;"));
    EXPECT_FALSE(has(xml, "<script"));

    XmlDocument item;
    ASSERT_TRUE(
        item.loadXml(unwrapStringDocument(requestText(endpoints::getItem(id)), market.host())));
    EXPECT_EQ(item.selectSingleNode("/Product/description").text(), stored);

    const std::string home = page(endpoints::homePage("annlee"));
    EXPECT_FALSE(has(home, "<script"));
    EXPECT_TRUE(has(home, "alert(&#39;x&#39;)/script &quot;Bob&quot; and"));

    // Messages keep the member's text as written and show it escaped.
    post(
        "/tradeloom/app/message/message.asp",
        {{"senderid", "annlee"}, {"recipientid", "bobby1"}, {"title", hostile}, {"body", hostile}});
    const std::string list = page(endpoints::messageCentre("bobby1"));
    EXPECT_FALSE(has(list, "<script"));
    EXPECT_TRUE(has(list, "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &quot;Bob&quot; &amp;"));
    const std::string form = page(endpoints::composeMessage("annlee", "\"><b>x", "1", hostile));
    EXPECT_FALSE(has(form, "<b>x"));
    EXPECT_FALSE(has(form, "<script"));

    EXPECT_EQ(market.server().store().messages("bobby1").at(0).body, hostile);
    EXPECT_EQ(test::records(endpoints::myListings("annlee")).size(), 1u) << "tables intact";
}

TEST_F(PagesTest, ReferenceListsReachTheClientsProgramDirectory) {
    test::TempProgramDirectory home;
    refreshReferenceLists();
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_EQ(session().wordListFileName, "wordlist-1.xml");
    EXPECT_EQ(session().categoryFileName, "NewTLTree.xml");
    XmlDocument categories;
    ASSERT_TRUE(categories.load(home.path() + "NewTLTree.xml"));
    const auto top = categories.documentElement().childNodes();
    EXPECT_GE(top.size(), 8u);
    for (const XmlNode& category : top) {
        const auto children = category.childNodes();
        EXPECT_GE(children.size(), 2u) << category.name();
        EXPECT_LE(children.size(), 5u) << category.name();
    }
    XmlDocument words;
    ASSERT_TRUE(words.load(home.path() + "wordlist-1.xml"));
    const auto all = words.elementsByTagName("word");
    EXPECT_GE(all.size(), 3u);
    for (const XmlNode& word : all) EXPECT_FALSE(word.text().empty());
}

TEST_F(PagesTest, NewerWordListBecomesCurrentAndOnlyListFilesAreServed) {
    ASSERT_TRUE(writeFileAtomically(market.dataFolder() + "/wordlist-2.xml",
                                    "<wordlist><words><word>fake</word></words></wordlist>"));
    EXPECT_EQ(page(Query(endpoints::kCurrentWordList)), "wordlist-2.xml");
    EXPECT_TRUE(has(page(Query("/tradeloom/wordlist-2.xml")), "<word>fake</word>"));
    EXPECT_EQ(http.Get("/tradeloom/market.db")->status, 404);
    EXPECT_EQ(http.Get("/tradeloom/..%2Fmarket.db")->status, 404);
    EXPECT_EQ(http.Get("/tradeloom/missing.xml")->status, 404);
    const auto missing = http.Get("/no/such/page");
    EXPECT_EQ(missing->status, 404);
    EXPECT_TRUE(has(missing->body, "Page not found"));
}

}  // namespace
}  // namespace tl
