#include "core/listings/ListingOperations.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "core/listings/CProductXml.h"
#include "core/listings/FileScramble.h"
#include "core/service/ServiceRequest.h"
#include "support/SampleListing.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

// Stores one of the member's own listings in its at-rest (scrambled) form.
void storeOwnListing(const std::string& id, const std::string& kind) {
    ListingValues values = test::chairListing();
    values.status = kind;
    CProductXml listing;
    ASSERT_EQ(listing.BuildAndSave(id, values), 1);
}

constexpr char kServiceAuth[] = "Basic emV5YW46dmV4aWwmcW8=";

TEST(ListingOperations, SendExactlyTheirRequestInTheirStyle) {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    test::ScopedServerHost host(server.host());
    ScriptedUi ui;
    server.reply("/tradeloom/app/isproductsold.asp", "0");
    server.reply("/tradeloom/app/sell.asp", "0");
    server.reply("/tradeloom/app/addfavorite.asp", "1");
    server.reply("/tradeloom/app/isinfavorite.asp", "0");
    for (const char* change : {"remove", "inactivate", "reactivate"})
        server.reply(std::string("/tradeloom/app/") + change + ".asp", "0");
    storeOwnListing("77", "Buying");
    const std::string storedBytes = home.read("products/77.xml");

    struct Case {
        std::function<int()> operation;
        std::string line;
        bool styleA;
        int result = 1;
    };
    const std::vector<Case> cases = {
        {[] { return Sell("41", "bob & co", "sel ler", 0.0f); },
         "GET /tradeloom/app/sell.asp?productid=41&userbought=bob%20%26%20co&SenderID=sel%20ler"
         "&price=0.000",
         false},
        {[] { return Sell("41", "bob", "sel ler", -1.0f); },
         "GET /tradeloom/app/sell.asp?productid=41&userbought=bob&SenderID=sel%20ler&price=-1.000",
         false},
        {[] { return Sell("41", "bob", "sel ler", 12.5f); },
         "GET /tradeloom/app/sell.asp?productid=41&userbought=bob&SenderID=sel%20ler&price=12.500",
         false},
        {[] { return LogOff(""); }, "GET /tradeloom/app/logoff.asp?username=", false},
        {[] { return RemoveFavorite("42", "ann"); },
         "GET /tradeloom/app/removefavs.asp?productid=42&username=ann", false},
        {[] { return Remove("43"); }, "GET /tradeloom/app/remove.asp?productid=43", false},
        {[] { return Inactivate("44"); }, "GET /tradeloom/app/inactivate.asp?productid=44", false},
        {[] { return Reactivate("77"); },
         "GET /tradeloom/app/reactivate.asp?productid=77&status=Buying", false},
        {[] { return IsProductSold("45"); }, "GET /tradeloom/app/isproductsold.asp?productid=45",
         true, 0},
        {[] { return AddFavorite("46", "ann#1"); },
         "GET /tradeloom/app/addfavorite.asp?productid=46&username=ann%231", true},
        {[] { return IsInFavorite("47", "ann"); },
         "GET /tradeloom/app/isinfavorite.asp?productid=47&username=ann", true},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].line);
        EXPECT_EQ(cases[i].operation(), cases[i].result);
        ASSERT_EQ(server.requests().size(), i + 1);
        EXPECT_EQ(server.requests()[i].line, cases[i].line);
        EXPECT_EQ(server.requests()[i].authorization, cases[i].styleA ? kServiceAuth : "");
    }
    EXPECT_EQ(ui.boxes(), (Boxes{{"Product Added", "Product 46 successfully added to Favorites"}}));
    EXPECT_EQ(home.read("products/77.xml"), storedBytes) << "left scrambled, as it was";
}

TEST(ListingOperations, JudgeTheirRepliesExactlyAndShowTheirBoxesInOrder) {
    test::ScriptedHttpServer server;
    test::ScopedServerHost host(server.host());
    const Boxes connectionError{{kErrorCaption, kConnectionErrorText}};
    const Boxes cannotBeSold{{"Message", "This Item cannot be Sold"}};
    const Boxes overwrite{
        {"Message", "This Item is already in your Favorites, Do you want to Overwrite"}};
    const Boxes added{{"Product Added", "Product 5 successfully added to Favorites"}};
    const Boxes notAdded{{"Product Not Added", "Product 5 could not be added to Favorites"}};
    const Boxes networkError{{kNetworkErrorCaption, kNetworkErrorText}};

    struct Case {
        int (*operation)();
        std::optional<std::string> reply;  // nullopt: the request fails
        MessageResult answer;
        int result;
        Boxes boxes;
    };
    auto sold = [] { return IsProductSold("5"); };
    auto inFavorites = [] { return IsInFavorite("5", "ann"); };
    auto add = [] { return AddFavorite("5", "ann"); };
    auto sell = [] { return Sell("5", "bob", "ann", 20.0f); };
    auto remove = [] { return Remove("5"); };
    auto inactivate = [] { return Inactivate("5"); };
    const Boxes notChanged{{"Not Changed",
                            "Item 5 was not changed: the marketplace takes changes to a listing "
                            "only from the computer its owner is logged in on."}};
    const std::vector<Case> cases = {
        {sold, "-1", MessageResult::Ok, 1, cannotBeSold},
        {sold, "0", MessageResult::Ok, 0, {}},
        {sold, "-1 ", MessageResult::Ok, 0, {}},
        {sold, "", MessageResult::Ok, 0, {}},
        {sold, std::nullopt, MessageResult::Ok, 1, connectionError},
        {inFavorites, "-1", MessageResult::Yes, 1, overwrite},
        {inFavorites, "-1", MessageResult::No, 0, overwrite},
        {inFavorites, "0", MessageResult::No, 1, {}},
        {inFavorites, "-10", MessageResult::No, 1, {}},
        {inFavorites, std::nullopt, MessageResult::Yes, 0, connectionError},
        {add, "1", MessageResult::Ok, 1, added},
        {add, "-1", MessageResult::Ok, 0, notAdded},
        {add, "", MessageResult::Ok, 0, notAdded},
        {add, std::nullopt, MessageResult::Ok, 0, connectionError},
        // A sale counts only when the server says it marked the listing sold.
        {sell, "0", MessageResult::Ok, 1, {}},
        {sell, "-1", MessageResult::Ok, 0, {}},
        {sell, "", MessageResult::Ok, 0, {}},
        {sell, std::nullopt, MessageResult::Ok, 0, networkError},
        // A change to a listing is done unless the marketplace refuses it.
        {remove, "0", MessageResult::Ok, 1, {}},
        {remove, "", MessageResult::Ok, 1, {}},
        {remove, "-1", MessageResult::Ok, 0, notChanged},
        {remove, std::nullopt, MessageResult::Ok, 0, networkError},
        {inactivate, "-1", MessageResult::Ok, 0, notChanged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.boxes.empty() ? "no box" : c.boxes[0].second);
        SCOPED_TRACE(c.reply.value_or("(failed)"));
        ScriptedUi ui;
        ui.answer(c.answer);
        if (c.reply) server.replyOtherwise(*c.reply);
        host.set(c.reply ? server.host() : test::deadHost());
        EXPECT_EQ(c.operation(), c.result);
        EXPECT_EQ(ui.boxes(), c.boxes);
    }
}

TEST(ListingOperations, ReactivateSendsNothingForAListingItCannotRead) {
    test::TempProgramDirectory home;
    test::ScriptedHttpServer server;
    server.reply("/tradeloom/app/reactivate.asp", "0");
    test::ScopedServerHost host(server.host());
    storeOwnListing("10", "Selling");
    home.write("products/11.xml", "not a listing");
    storeOwnListing("12", "SOLD");
    storeOwnListing("13", "Selling");
    std::string plain = home.read("products/13.xml");
    scrambleBytes(plain);
    home.write("products/13.xml", plain);  // left plain

    struct Case {
        std::string id;
        std::string sentStatus;  // empty: nothing is sent
    };
    const std::vector<Case> cases = {
        {"10", "Selling"}, {"13", "Selling"}, {"11", ""}, {"12", ""},
        {"99", ""},        {"../10", ""},     {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        ScriptedUi ui;
        const std::size_t before = server.requests().size();
        const std::string stored =
            home.exists("products/10.xml") ? home.read("products/10.xml") : "";
        EXPECT_EQ(Reactivate(c.id), c.sentStatus.empty() ? 0 : 1);
        EXPECT_EQ(home.read("products/10.xml"), stored);
        if (c.sentStatus.empty()) {
            EXPECT_EQ(server.requests().size(), before);
            EXPECT_EQ(
                ui.boxes(),
                (Boxes{{kListingNotReadCaption,
                        "Item " + c.id +
                            " cannot be read from your listings, so it was not activated."}}));
        } else {
            ASSERT_EQ(server.requests().size(), before + 1);
            EXPECT_EQ(
                server.requests().back().line,
                "GET /tradeloom/app/reactivate.asp?productid=" + c.id + "&status=" + c.sentStatus);
            EXPECT_TRUE(ui.boxes().empty());
        }
    }

    ScriptedUi ui;
    host.set(test::deadHost());
    EXPECT_EQ(Reactivate("10"), 0);
    EXPECT_EQ(ui.boxes(), (Boxes{{kNetworkErrorCaption, kNetworkErrorText}}));
}

}  // namespace
}  // namespace tl
