// Listings over real HTTP: publish and edit, every list reply with its field set, favourites,
// sales, inactivation and removal, and the wrapped listing and club replies as the client
// unwraps them.
#include <gtest/gtest.h>

#include "MarketTestServer.h"
#include "core/service/Replies.h"
#include "core/session/Login.h"
#include "support/ScriptedUi.h"

namespace tl {
namespace {

using Names = std::vector<std::string>;

struct ListingServiceTest : ::testing::Test {
    test::MarketTestServer market;
    ScriptedUi ui;

    ListingServiceTest() {
        EXPECT_EQ(test::registerMember("seller1"), "0");
        EXPECT_EQ(test::registerMember("buyer01"), "0");
        // Changes to a listing are taken from the address at which its owner is online.
        EXPECT_EQ(loginRequest("seller1", "secret1"), kLoginOk);
    }

    std::string publish(const std::string& title, const std::string& price = "5.99",
                        const std::string& kind = "Selling") {
        const std::string id = test::publish(test::listingFields("seller1", title, price, kind));
        EXPECT_GT(std::atol(id.c_str()), 0) << id;
        return id;
    }

    std::vector<std::string> ids(const std::vector<test::Record>& records) {
        std::vector<std::string> out;
        for (const auto& r : records) out.push_back(test::field(r, "productid"));
        return out;
    }

    // The GetItem payload as the client turns it into a document.
    XmlDocument item(const std::string& id) {
        const std::string reply = requestText(endpoints::getItem(id));
        XmlDocument document;
        EXPECT_TRUE(document.loadXml(unwrapStringDocument(reply, market.host()))) << reply;
        return document;
    }
};

TEST_F(ListingServiceTest, PublishAssignsIncreasingIdsAndRefusesWhatCannotBeStored) {
    const std::string first = publish("Oak table");
    const std::string second = publish("Pine table");
    EXPECT_LT(std::stol(first), std::stol(second));
    EXPECT_EQ(test::publish(test::listingFields("nobody1", "Ghost table")), "-1");
    EXPECT_EQ(test::publish(test::listingFields("seller1", "")), "-1");
    EXPECT_EQ(test::publish(test::listingFields("seller1", "Table", "cheap")), "-1");
    EXPECT_EQ(test::publish(test::listingFields("seller1", "Table", "5.99", "Lending")), "-1");

    const std::string spaced = publish("Elm stool", " 12.50 ");
    const auto found = test::records(endpoints::search("elm stool", "BOTH"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(test::field(found[0], "price"), "12.50") << "as entered, without the spaces";
}

TEST_F(ListingServiceTest, GetItemUnwrapsIntoTheListingWithTheServersPriceForms) {
    auto fields = test::listingFields("seller1", "Mantel clock", "5.99");
    fields.description = "Keeps \"good\" time, O'Brien's";
    fields.category2 = "Collectibles; Coins";
    const std::string id = test::publish(fields);
    const XmlDocument document = item(id);
    const XmlNode root = document.documentElement();
    ASSERT_TRUE(root);
    EXPECT_EQ(root.name(), "Product");
    Names names;
    for (const XmlNode& child : root.childNodes()) names.push_back(child.name());
    EXPECT_EQ(names, (Names{"titlebar", "description", "quantity", "shippingpay", "zipcode",
                            "username", "price", "status", "shipping", "category1", "category2",
                            "paymentterms", "paymentmethods", "escrow", "hyperlink", "productid"}));
    auto text = [&](const char* name) { return root.selectSingleNode(name).text(); };
    EXPECT_EQ(text("titlebar"), "Mantel clock");
    EXPECT_EQ(text("description"), "Keeps \"good\" time, O'Brien's");
    EXPECT_EQ(text("price"), "5.9900");
    EXPECT_EQ(text("status"), "Selling");
    EXPECT_EQ(text("paymentmethods"), "MVE");
    EXPECT_EQ(text("category2"), "Collectibles; Coins");
    EXPECT_EQ(text("productid"), id);

    EXPECT_EQ(item(publish("Free clock", "0")).selectSingleNode("/Product/price").text(), "0");
    EXPECT_EQ(item(publish("Offer clock", "-1")).selectSingleNode("/Product/price").text(),
              "-1.0000");
}

TEST_F(ListingServiceTest, GetItemOfAnUnknownIdHasAnEmptyPayload) {
    const std::string reply = requestText(endpoints::getItem("999"));
    EXPECT_EQ(reply, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<string xmlns=\"http://" +
                         market.host() + "/\"></string>");
    EXPECT_EQ(requestText(endpoints::getItem("x'; --")), reply);
}

TEST_F(ListingServiceTest, EditChangesOnlyTheOwnersListingAndMakesItActive) {
    const std::string id = publish("Oak table");
    requestText(endpoints::inactivate(id));
    auto fields = test::listingFields("seller1", "Oak dining table", "-1", "Buying");
    EXPECT_EQ(requestText(endpoints::editProduct(fields, id)), "0");
    const XmlDocument document = item(id);
    EXPECT_EQ(document.selectSingleNode("/Product/titlebar").text(), "Oak dining table");
    EXPECT_EQ(document.selectSingleNode("/Product/status").text(), "Buying");
    EXPECT_EQ(requestText(endpoints::isProductSold(id)), "0") << "active again";
    EXPECT_EQ(ids(test::records(endpoints::search("dining", "BUYING"))), Names{id});
    EXPECT_TRUE(test::records(endpoints::search("Oak table", "BOTH")).empty())
        << "the old title is no longer found";

    auto foreign = test::listingFields("buyer01", "Mine now", "1", "Selling");
    EXPECT_EQ(requestText(endpoints::editProduct(foreign, id)), "-1");
    EXPECT_EQ(item(id).selectSingleNode("/Product/titlebar").text(), "Oak dining table");
}

TEST_F(ListingServiceTest, ListRepliesCarryTheirOwnFieldSets) {
    const std::string id = publish("Oak table");
    requestText(endpoints::addFileSize(id, 120));
    ASSERT_EQ(requestText(endpoints::addFavorite(id, "buyer01")), "1");

    const auto search = test::records(endpoints::search("oak", "BOTH"));
    ASSERT_EQ(search.size(), 1u);
    EXPECT_EQ(test::fieldNames(search[0]),
              (Names{"productid", "titlebar", "username", "ipaddress", "connection", "filesize",
                     "email", "price", "status"}));
    EXPECT_EQ(test::field(search[0], "filesize"), "120");
    EXPECT_EQ(test::field(search[0], "email"), "seller1@example.org");
    EXPECT_EQ(test::field(search[0], "connection"), "Cable");
    EXPECT_EQ(test::field(search[0], "price"), "5.99");

    endpoints::AdvancedCriteria criteria;
    criteria.titlebar = "OAK";
    const auto advanced = test::records(endpoints::advancedSearch(criteria));
    ASSERT_EQ(advanced.size(), 1u);
    EXPECT_EQ(test::fieldNames(advanced[0]), test::fieldNames(search[0]));

    const auto favourites = test::records(endpoints::favorites("buyer01"));
    ASSERT_EQ(favourites.size(), 1u);
    EXPECT_EQ(test::fieldNames(favourites[0]),
              (Names{"productid", "titlebar", "username", "ipaddress", "connection", "status",
                     "price", "filesize"}));

    const auto mine = test::records(endpoints::myListings("seller1"));
    ASSERT_EQ(mine.size(), 1u);
    EXPECT_EQ(test::fieldNames(mine[0]),
              (Names{"productid", "titlebar", "status", "filesize", "price", "fileskept"}));
    EXPECT_EQ(test::field(mine[0], "fileskept"), "0");

    requestText(endpoints::sell(id, "buyer01", "seller1", "4.500"));
    const auto bought = test::records(endpoints::boughtProducts("buyer01"), Credentials::Zero);
    ASSERT_EQ(bought.size(), 1u);
    EXPECT_EQ(test::fieldNames(bought[0]), (Names{"productid", "titlebar", "username", "ipaddress",
                                                  "connection", "filesize", "price"}));
    EXPECT_EQ(test::field(bought[0], "username"), "seller1");
    EXPECT_EQ(test::field(bought[0], "price"), "4.500");
}

TEST_F(ListingServiceTest, QuickSearchMatchesTitleOrDescriptionByKindNewestFirst) {
    const std::string a = publish("Oak table");
    const std::string b = publish("Pine shelf");  // description mentions the title only
    const std::string c = publish("Old oak chest", "0", "Buying");
    const std::string d = publish("Ok");
    EXPECT_EQ(ids(test::records(endpoints::search("OAK", "BOTH"))), (Names{c, a}));
    EXPECT_EQ(ids(test::records(endpoints::search("oak", "SELLING"))), Names{a});
    EXPECT_EQ(ids(test::records(endpoints::search("oak", "BUYING"))), Names{c});
    EXPECT_EQ(ids(test::records(endpoints::search("condition, pine", "BOTH"))), Names{b});
    EXPECT_EQ(ids(test::records(endpoints::search("", "BOTH"))), (Names{d, c, b, a}));
    EXPECT_EQ(ids(test::records(endpoints::search("k", "SELLING"))), (Names{d, a}));
    EXPECT_TRUE(test::records(endpoints::search("walnut", "BOTH")).empty());
    EXPECT_TRUE(test::records(endpoints::search("%", "BOTH")).empty()) << "no wildcards";
    EXPECT_TRUE(test::records(endpoints::search("_", "BOTH")).empty());
}

TEST_F(ListingServiceTest, AdvancedSearchNarrowsByEveryGivenValue) {
    auto clock = test::listingFields("seller1", "Wall clock", "20");
    clock.zipcode = "90210";
    const std::string a = test::publish(clock);
    auto coin = test::listingFields("seller1", "Silver coin", "150");
    coin.category1 = "Collectibles; Coins";
    const std::string b = test::publish(coin);
    const std::string c = publish("Any offer clock", "-1", "Buying");
    auto ask = [&](auto fill) {
        endpoints::AdvancedCriteria criteria;
        fill(criteria);
        return ids(test::records(endpoints::advancedSearch(criteria)));
    };
    EXPECT_EQ(ask([](auto& q) { q.zipcode = "90210"; }), Names{a});
    EXPECT_EQ(ask([](auto& q) { q.category = "Collectibles"; }), Names{b});
    EXPECT_EQ(ask([](auto& q) { q.category = "Antiques; Clocks"; }), (Names{c, a}));
    EXPECT_EQ(ask([](auto& q) { q.category = "Antique"; }), Names{}) << "whole names only";
    EXPECT_EQ(ask([](auto& q) {
                  q.price = "100";
                  q.priceswitch = "Greater";
              }),
              Names{b});
    EXPECT_EQ(ask([](auto& q) {
                  q.price = "100";
                  q.priceswitch = "Less";
              }),
              Names{a})
        << "make-offer listings have no price to compare";
    EXPECT_EQ(ask([](auto& q) { q.price = "lots"; }), Names{});
    EXPECT_EQ(ask([](auto& q) { q.status = "Buying"; }), Names{c});
    EXPECT_EQ(ask([](auto& q) { q.status = "Both"; }), (Names{c, b, a}));
    EXPECT_EQ(ask([](auto& q) { q.club = "Book Lovers"; }), (Names{c, b, a}));
    EXPECT_EQ(ask([](auto& q) { q.club = "Garden Swap"; }), Names{});
    EXPECT_EQ(ask([](auto& q) { q.user = "buyer01"; }), Names{});
    EXPECT_EQ(ask([](auto& q) {
                  q.description = "condition, wall";
                  q.user = "seller1";
              }),
              Names{a});
}

TEST_F(ListingServiceTest, FavouritesAreAddedOnceCheckedAndRemoved) {
    const std::string id = publish("Oak table");
    EXPECT_EQ(requestText(endpoints::isInFavorite(id, "buyer01")), "0");
    EXPECT_EQ(requestText(endpoints::addFavorite(id, "buyer01")), "1");
    EXPECT_EQ(requestText(endpoints::addFavorite(id, "buyer01")), "1");
    EXPECT_EQ(requestText(endpoints::isInFavorite(id, "buyer01")), "-1");
    EXPECT_EQ(ids(test::records(endpoints::favorites("buyer01"))), Names{id});
    EXPECT_EQ(requestText(endpoints::isInFavorite(id, "seller1")), "0") << "per member";

    EXPECT_EQ(requestText(endpoints::addFavorite("999", "buyer01")), "-1") << "no such listing";
    EXPECT_EQ(ids(test::records(endpoints::favorites("buyer01"))), Names{id});

    EXPECT_EQ(requestText(endpoints::removeFavorite(id, "buyer01")), "0");
    EXPECT_EQ(requestText(endpoints::isInFavorite(id, "buyer01")), "0");
    EXPECT_TRUE(test::records(endpoints::favorites("buyer01")).empty());
}

TEST_F(ListingServiceTest, SellMarksTheListingSoldAndLeavesTheBuyerAMessage) {
    const std::string id = publish("Oak table");
    EXPECT_EQ(requestText(endpoints::isProductSold(id)), "0");
    EXPECT_EQ(requestText(endpoints::sell(id, "nobody1", "seller1", "5.000")), "-1");
    EXPECT_EQ(requestText(endpoints::isProductSold(id)), "0") << "no such buyer: not sold";

    EXPECT_EQ(requestText(endpoints::sell(id, "buyer01", "seller1", "5.000")), "0");
    EXPECT_EQ(requestText(endpoints::isProductSold(id)), "-1");
    const auto mine = test::records(endpoints::myListings("seller1"));
    ASSERT_EQ(mine.size(), 1u);
    EXPECT_EQ(test::field(mine[0], "status"), "SOLD");
    EXPECT_TRUE(test::records(endpoints::search("oak", "BOTH")).empty());
    const auto messages = market.server().store().messages("buyer01");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].sender, "seller1");
    EXPECT_EQ(messages[0].productid, id);
    EXPECT_EQ(requestText(endpoints::isProductSold("999")), "-1") << "unknown";
}

TEST_F(ListingServiceTest, InactivateReactivateAndRemove) {
    const std::string id = publish("Oak table");
    ASSERT_EQ(requestText(endpoints::addFavorite(id, "buyer01")), "1");

    EXPECT_EQ(requestText(endpoints::inactivate(id)), "0");
    EXPECT_EQ(requestText(endpoints::isProductSold(id)), "-1");
    EXPECT_TRUE(test::records(endpoints::search("oak", "BOTH")).empty());
    EXPECT_EQ(test::field(test::records(endpoints::myListings("seller1")).at(0), "status"),
              "INACTIVE");

    EXPECT_EQ(requestText(endpoints::reactivate(id, "Buying")), "0");
    EXPECT_EQ(requestText(endpoints::isProductSold(id)), "0");
    EXPECT_EQ(ids(test::records(endpoints::search("oak", "BUYING"))), Names{id});
    EXPECT_EQ(test::field(test::records(endpoints::myListings("seller1")).at(0), "status"),
              "Buying");

    EXPECT_EQ(requestText(endpoints::remove(id)), "0");
    EXPECT_TRUE(test::records(endpoints::myListings("seller1")).empty());
    EXPECT_TRUE(test::records(endpoints::favorites("buyer01")).empty());
    EXPECT_TRUE(test::records(endpoints::search("oak", "BOTH")).empty());
    EXPECT_EQ(requestText(endpoints::getItem(id)).find("Product"), std::string::npos);
}

TEST_F(ListingServiceTest, OfflineItemGivesTheContactByTheOwnersMethod) {
    const std::string id = publish("Oak table");
    XmlDocument document;
    ASSERT_TRUE(document.loadXml(requestText(endpoints::offlineItem(id))));
    EXPECT_EQ(document.selectSingleNode("/item/itemno").text(), id);
    EXPECT_EQ(document.selectSingleNode("/item/titlebar").text(), "Oak table");
    EXPECT_EQ(document.selectSingleNode("/item/contact").text(), "seller1@example.org");

    auto byPhone = test::memberFields("seller1", "");
    byPhone.contact = "Phone";
    ASSERT_EQ(requestText(endpoints::updateUser(byPhone)), "0");
    ASSERT_TRUE(document.loadXml(requestText(endpoints::offlineItem(id))));
    EXPECT_EQ(document.selectSingleNode("/item/contact").text(), "555-0100");

    ASSERT_TRUE(document.loadXml(requestText(endpoints::offlineItem("999"))));
    EXPECT_EQ(document.documentElement().name(), "item");
    EXPECT_FALSE(document.documentElement().hasChildNodes());
}

TEST_F(ListingServiceTest, ClubListUnwrapsWithItsCountFirst) {
    const std::string reply = requestText(Query(endpoints::kClubList));
    XmlDocument document;
    ASSERT_TRUE(document.loadXml(unwrapStringDocument(reply, market.host())));
    const XmlNode clubs = document.selectSingleNode("/Clubs");
    ASSERT_TRUE(clubs);
    Names names;
    for (const XmlNode& child : clubs.childNodes()) names.push_back(child.text());
    ASSERT_GE(names.size(), 4u);
    EXPECT_EQ(document.selectSingleNode("/Clubs/*[1]").name(), "Count");
    EXPECT_EQ(names[0], std::to_string(names.size() - 1));
    EXPECT_NE(std::find(names.begin(), names.end(), "Book Lovers"), names.end());
}

}  // namespace
}  // namespace tl
