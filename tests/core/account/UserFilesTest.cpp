#include <gtest/gtest.h>

#include "core/account/BusinessCard.h"
#include "core/account/CUserXml.h"
#include "core/listings/RememberedDefaults.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

TEST(UserDocument, KeepsEveryValueInItsElementInOrderAndReadsItBack) {
    test::TempProgramDirectory home;
    CUserXml user;
    user.values = {"Ann",   "O'Lee <&>", "ann@example.org", "1 Main St", "Springfield", "IL",
                   "12345", "Phone",     "I Don't Know",    "555-0100",  "annlee",      "US",
                   "Chess", ""};
    user.password = "secret1";
    ASSERT_TRUE(user.Save());
    EXPECT_EQ(home.read("users/annlee.xml"),
              "<user><firstname>Ann</firstname><lastname>O'Lee &lt;&amp;&gt;</lastname>"
              "<email>ann@example.org</email><address>1 Main St</address>"
              "<city>Springfield</city><state>IL</state><zipcode>12345</zipcode>"
              "<contact>Phone</contact><connection>I Don't Know</connection>"
              "<phone>555-0100</phone><username>annlee</username><country>US</country>"
              "<club1>Chess</club1><club2></club2></user>");
    CUserXml read;
    ASSERT_TRUE(read.Load("annlee"));
    EXPECT_EQ(read.memberFields().lastname, "O'Lee <&>");
    EXPECT_EQ(read.memberFields().connection, "I Don't Know");
    EXPECT_EQ(read.memberFields().club1, "Chess");
    EXPECT_EQ(read.password, "");

    // Names that would leave the users folder have no document, to write or to read.
    home.write("x1.xml", "<user><city>Elsewhere</city></user>");
    for (const char* name : {"../x1", "..\\x1", "", "a/b"}) {
        CUserXml other;
        other.values.username = name;
        EXPECT_FALSE(other.Save()) << name;
        EXPECT_FALSE(other.Load(name)) << name;
        EXPECT_EQ(other.values.city, "") << name;
    }
}

TEST(BusinessCard, IsCopiedSafelyOrTheOldCardStays) {
    test::TempProgramDirectory home;
    ScriptedUi ui;
    home.write("pictures/card.png", "new card");
    home.write("products/card.png", "old card");
    home.write("products/42.xml", "a listing");
    home.write("pictures/42.xml", "not a card");

    EXPECT_EQ(importBusinessCard(home.path() + "pictures/card.png"), "card.png");
    EXPECT_EQ(home.read("products/card.png"), "new card");
    // Choosing the card already in the products folder copies nothing onto itself.
    EXPECT_EQ(importBusinessCard(home.path() + "products/card.png"), "card.png");
    EXPECT_EQ(home.read("products/card.png"), "new card");
    EXPECT_TRUE(ui.boxes().empty());

    EXPECT_EQ(importBusinessCard(home.path() + "pictures/42.xml"), std::nullopt);
    EXPECT_EQ(home.read("products/42.xml"), "a listing");
    EXPECT_EQ(importBusinessCard(home.path() + "pictures/missing.png"), std::nullopt);
    EXPECT_EQ(ui.boxes(), (Boxes{{"Card Error", "This file cannot be used as a business card."},
                                 {"Card Error", "The business card could not be copied."}}));

    // A copy that cannot be put in place (here a folder holds the name) leaves what was there.
    home.write("products/held.png/inside", "kept");
    home.write("pictures/held.png", "card");
    EXPECT_EQ(importBusinessCard(home.path() + "pictures/held.png"), std::nullopt);
    EXPECT_EQ(home.read("products/held.png/inside"), "kept");
    EXPECT_EQ(ui.boxes().size(), 3u);

    // The remembered defaults keep their other choices when the card changes.
    ASSERT_EQ(SaveRememberedDefaults("annlee", {"Buyer", "US", "MV", "none", "http://x", "a.png"}),
              1);
    rememberCard("annlee", "");
    const auto kept = LoadRememberedDefaults("annlee");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->card, "");
    EXPECT_EQ(kept->paymentmethods, "MV");
    EXPECT_EQ(kept->hyperlink, "http://x");
}

}  // namespace
}  // namespace tl
