#include "core/listings/RememberedDefaults.h"
#include "support/ListingFixture.h"

namespace tl::test {
namespace {

using RememberedDefaultsTest = ListingTest;

TEST_F(RememberedDefaultsTest, ChoicesComeBackAndNothingElseIsStored) {
    const RememberedDefaults chosen{.shippingpay = "Seller",
                                    .shipping = "WORLD",
                                    .paymentmethods = "VE",
                                    .escrow = "Option B",
                                    .hyperlink = "http://ann.example",
                                    .card = "ann_card"};
    ASSERT_EQ(SaveRememberedDefaults("ann", chosen), 1);
    // Stored scrambled as a listing document named after the member.
    EXPECT_EQ(storedText("products/annRemembered.xml"),
              styleSheetInstruction() +
                  "<product><titlebar></titlebar><description></description><quantity></quantity>"
                  "<shippingpay>Seller</shippingpay><zipcode></zipcode><username></username>"
                  "<price></price><status></status><shipping>WORLD</shipping>"
                  "<category1></category1><category2></category2><paymentterms></paymentterms>"
                  "<paymentmethods>VE</paymentmethods><escrow>Option B</escrow>"
                  "<readablemethods></readablemethods><hyperlink>http://ann.example</hyperlink>"
                  "<card>ann_card</card><attachment></attachment></product>");

    const auto loaded = LoadRememberedDefaults("ann");
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->shippingpay, "Seller");
    EXPECT_EQ(loaded->shipping, "WORLD");
    EXPECT_EQ(loaded->paymentmethods, "VE");
    EXPECT_EQ(loaded->escrow, "Option B");
    EXPECT_EQ(loaded->hyperlink, "http://ann.example");
    EXPECT_EQ(loaded->card, "ann_card");
    EXPECT_FALSE(LoadRememberedDefaults("bob"));
}

TEST_F(RememberedDefaultsTest, PlainChoicesOfEarlierVersionsAreReadAndNoListingIsNone) {
    const struct {
        const char* stored;          // left plain on disk
        const char* paymentmethods;  // nullptr: no defaults
    } cases[] = {
        {"<product><shippingpay>Buyer</shippingpay><shipping>US</shipping>"
         "<paymentmethods>M</paymentmethods><escrow>none</escrow><hyperlink></hyperlink>"
         "<card></card></product>",
         "M"},
        {"<product><shipping>US</shipping></product>", nullptr},
    };
    for (const auto& c : cases) {
        home.write("products/annRemembered.xml", c.stored);
        const auto loaded = LoadRememberedDefaults("ann");
        ASSERT_EQ(loaded.has_value(), c.paymentmethods != nullptr) << c.stored;
        if (loaded) {
            EXPECT_EQ(loaded->paymentmethods, c.paymentmethods);
        }
    }
    EXPECT_TRUE(ui.boxes().empty());
}

}  // namespace
}  // namespace tl::test
