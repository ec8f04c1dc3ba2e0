#include <cstdio>
#include <filesystem>

#include "core/platform/ServerHost.h"
#include "support/ListingFixture.h"

namespace tl::test {
namespace {

// Every value different, so a value put under the wrong element shows in the bytes.
ListingValues distinctValues() {
    ListingValues v;
    v.title = "Title";
    v.description = "Desc";
    v.quantity = "Qty";
    v.shipping = "Ship";
    v.zipcode = "Zip";
    v.shippingpay = "Payer";
    v.username = "User";
    v.price = "Price";
    v.status = "Status";
    v.category1 = "Cat1";
    v.category2 = "Cat2";
    v.paymentterms = "Terms";
    v.paymentmethods = "Codes";
    v.escrow = "Escrow";
    v.readablemethods = "Readable";
    v.hyperlink = "Link";
    v.card = "Card";
    return v;
}

using BuildTest = ListingTest;

TEST_F(BuildTest, PreviewPutsQuantityLateAndCarriesThePlaceholderId) {
    CProductXml listing;
    ASSERT_EQ(listing.BuildPreview(distinctValues()), 1);
    EXPECT_EQ(storedText("products/newproduct.xml"),
              styleSheetInstruction() +
                  "<product><titlebar>Title</titlebar><description>Desc</description>"
                  "<shippingpay>Payer</shippingpay><zipcode>Zip</zipcode><username>User</username>"
                  "<price>Price</price><status>Status</status><shipping>Ship</shipping>"
                  "<category1>Cat1</category1><category2>Cat2</category2>"
                  "<paymentterms>Terms</paymentterms><paymentmethods>Codes</paymentmethods>"
                  "<escrow>Escrow</escrow><readablemethods>Readable</readablemethods>"
                  "<hyperlink>Link</hyperlink><card>Card</card><quantity>Qty</quantity>"
                  "<productid>Available when published</productid><attachment></attachment>"
                  "</product>");
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(BuildTest, ListingFileHasItsOwnOrderAndEmptyValuesGiveEmptyElements) {
    CProductXml listing;
    ASSERT_EQ(listing.BuildAndSave("42", distinctValues()), 1);
    EXPECT_EQ(storedText("products/42.xml"),
              styleSheetInstruction() +
                  "<product><titlebar>Title</titlebar><description>Desc</description>"
                  "<quantity>Qty</quantity><shippingpay>Payer</shippingpay><zipcode>Zip</zipcode>"
                  "<username>User</username><price>Price</price><status>Status</status>"
                  "<shipping>Ship</shipping><category1>Cat1</category1><category2>Cat2</category2>"
                  "<paymentterms>Terms</paymentterms><paymentmethods>Codes</paymentmethods>"
                  "<escrow>Escrow</escrow><readablemethods>Readable</readablemethods>"
                  "<hyperlink>Link</hyperlink><card>Card</card><attachment></attachment>"
                  "</product>");
    EXPECT_EQ(listing.productId(), "42");

    // Markup in a member's text is stored as text; empty values give empty elements. Without
    // an id it is the draft, which replaces the plain one earlier versions left among the
    // listings.
    home.write("products/.xml", "<product><titlebar>older draft</titlebar></product>");
    ListingValues odd;
    odd.title = "Chair <oak> & \"pine\"";
    ASSERT_EQ(listing.BuildAndSave("", odd), 1);
    EXPECT_FALSE(home.exists("products/.xml"));
    EXPECT_EQ(storedText("drafts/listing.xml"),
              styleSheetInstruction() +
                  "<product><titlebar>Chair &lt;oak&gt; &amp; \"pine\"</titlebar>"
                  "<description></description><quantity></quantity><shippingpay></shippingpay>"
                  "<zipcode></zipcode><username></username><price></price><status></status>"
                  "<shipping></shipping><category1></category1><category2></category2>"
                  "<paymentterms></paymentterms><paymentmethods></paymentmethods>"
                  "<escrow></escrow><readablemethods></readablemethods><hyperlink></hyperlink>"
                  "<card></card><attachment></attachment></product>");
    EXPECT_EQ(listing.GetTitlebar(), "Chair <oak> & \"pine\"");
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(BuildTest, AStartingTextThatDoesNotLoadFailsSilentlyOnlyForThePreview) {
    setServerHost("h\"?><broken");  // the instruction ends early and leaves an unclosed tag
    CProductXml listing;
    EXPECT_EQ(listing.BuildPreview(distinctValues()), 0);
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_EQ(listing.BuildAndSave("42", distinctValues()), 0);
    EXPECT_EQ(ui.boxes(), (Boxes{{"Error", "LoadXML failed in Add Product"}}));
    EXPECT_FALSE(home.exists("products/42.xml"));
}

TEST_F(BuildTest, AListingThatCannotBeSavedIsReported) {
    home.write("products", "a file where the folder should be");
    CProductXml listing;
    EXPECT_EQ(listing.BuildAndSave("42", distinctValues()), 0);
    EXPECT_EQ(listing.BuildPreview(distinctValues()), 0);
    // The draft itself lives elsewhere, but its listing could not be stored once published.
    EXPECT_EQ(listing.BuildAndSave("", distinctValues()), 0);
    EXPECT_EQ(ui.boxes(), Boxes(3, {"Add Product Error", "Unable to Save Product"}));
    EXPECT_FALSE(home.exists("drafts/listing.xml"));
}

TEST_F(BuildTest, AnIdThatWouldLeaveTheProductsFolderIsRefused) {
    CProductXml listing;
    for (const std::string id : {"../outside", "/tmp/abs", "C:evil", "a/../../b"}) {
        ui.clear();
        EXPECT_EQ(listing.BuildAndSave(id, distinctValues()), 0) << id;
        EXPECT_EQ(ui.boxes(), (Boxes{{"Add Product Error", "Unable to Save Product"}})) << id;
    }
    EXPECT_FALSE(home.exists("outside.xml"));
    EXPECT_FALSE(home.exists("products"));
}

TEST_F(BuildTest, ARebuiltListingReplacesTheFileWholeUnderItsReaders) {
    CProductXml listing;
    ASSERT_EQ(listing.BuildAndSave("42", distinctValues()), 1);
    const std::string before = home.read("products/42.xml");
    // A reader (the listing server) that opened the old file keeps reading the old bytes whole.
    FILE* reader = std::fopen((home.path() + "products/42.xml").c_str(), "rb");
    ASSERT_NE(reader, nullptr);
    ListingValues changed = distinctValues();
    changed.title = "Another title, a good deal longer than the one before it";
    ASSERT_EQ(listing.BuildAndSave("42", changed), 1);
    std::string seen(before.size() + 100, '\0');
    seen.resize(std::fread(seen.data(), 1, seen.size(), reader));
    std::fclose(reader);
    EXPECT_EQ(seen, before);
    EXPECT_NE(home.read("products/42.xml"), before);
    // No scratch file is left beside the listing.
    std::size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(home.path() + "products")) {
        EXPECT_EQ(entry.path().filename(), "42.xml");
        ++entries;
    }
    EXPECT_EQ(entries, 1u);
}

}  // namespace
}  // namespace tl::test
