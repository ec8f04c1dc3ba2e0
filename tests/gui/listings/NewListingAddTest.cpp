#include <filesystem>
#include <map>
#include <optional>

#include "NewListingFixture.h"
#include "core/listings/RememberedDefaults.h"

namespace tl::test {
namespace {

using NewListingAddTest = NewListingTest;

const Boxes kEightMessages{
    {"Error: Blank Item Title Bar", "Please Enter an Item Title"},
    {"Error: Blank Item Description", "Please Enter an Item Desctiption"},
    {"Error: Blank Zip Code", "Please Enter your Zip Code"},
    {"Error: Blank Payment Method", "Please Enter a Payment Method"},
    {"Error: Blank Quantity", "Please Enter a Quantity"},
    {"Error: Blank Category", "Please Select a Category"},
    {"Error: Blank Escrow Field", "Please Enter Escrow Informations"},
    {"Error: Blank Price", "Please Enter Price"},
};

const ScriptedUi::Box kAdded17{"Product Added",
                               "Item #17 was succefully add to your sharable directory."};

TEST_F(NewListingAddTest, EmptyFormShowsEveryMissingFieldInOrderAndSavesNothing) {
    // Remembered defaults without an escrow choice leave the escrow empty as well.
    SaveRememberedDefaults("ann", {});
    auto form = shownForm();
    form->Add();
    EXPECT_EQ(ui.boxes(), kEightMessages);

    // A fresh member's form starts with escrow "none": the escrow message is not shown.
    std::filesystem::remove(home.path() + "products/annRemembered.xml");
    ui.clear();
    auto fresh = shownForm();
    fresh->Add();
    Boxes withoutEscrow = kEightMessages;
    withoutEscrow.erase(withoutEscrow.begin() + 6);
    EXPECT_EQ(ui.boxes(), withoutEscrow);

    EXPECT_TRUE(server.targets().empty());
    EXPECT_TRUE(shownViews.empty());
    EXPECT_FALSE(home.exists("drafts/listing.xml"));
}

TEST_F(NewListingAddTest, OfferChoicesAreSentAsNumbersAndStoredAsWords) {
    auto form = shownForm();
    fillItem(*form);
    click(*form, res::IDC_ITEM_FREE);
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_PRICE)->text(), "Free");
    form->Add();
    fillItem(*form);
    click(*form, res::IDC_ITEM_MAKE_OFFER);
    form->Add();

    const std::vector<std::string> sent = targetsOf(kNewProductPath);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_TRUE(sent[0].ends_with("&price=0")) << sent[0];
    EXPECT_TRUE(sent[1].ends_with("&price=-1")) << sent[1];
    EXPECT_EQ(field(*storedListing("products/17.xml"), "price"), "Free");
    EXPECT_EQ(field(*storedListing("products/18.xml"), "price"), "Make Offer");
    EXPECT_EQ(
        ui.boxes(),
        (Boxes{kAdded17,
               {"Product Added", "Item #18 was succefully add to your sharable directory."}}));
}

TEST_F(NewListingAddTest, PaymentMethodsFollowTableOrderWhateverTheTickingOrder) {
    auto form = shownForm();
    fillItem(*form);
    click(*form, 1162);  // untick money order again
    click(*form, 1227);  // PayPal first
    click(*form, 1164);  // then Visa/Master Card
    form->Add();

    ASSERT_EQ(targetsOf(kNewProductPath).size(), 1u);
    EXPECT_NE(targetsOf(kNewProductPath)[0].find("&paymentmethods=VE&"), std::string::npos);
    const auto listing = storedListing("products/17.xml");
    EXPECT_EQ(field(*listing, "paymentmethods"), "VE");
    EXPECT_EQ(field(*listing, "readablemethods"), "Visa/Master Card PayPal ");
}

TEST_F(NewListingAddTest, HyperlinkAlwaysStartsWithTheScheme) {
    auto form = shownForm();
    for (const char* link : {"", "example.org", "http://x"}) {
        fillItem(*form);
        type(*form, res::IDC_ITEM_HYPERLINK, link);
        form->Add();
    }
    EXPECT_EQ(field(*storedListing("products/17.xml"), "hyperlink"), "http://");
    EXPECT_EQ(field(*storedListing("products/18.xml"), "hyperlink"), "http://example.org");
    EXPECT_EQ(field(*storedListing("products/19.xml"), "hyperlink"), "http://x");
}

TEST_F(NewListingAddTest, PhotosAreCopiedBesideTheListingWhichIsNeverPlainOnDisk) {
    const std::string big(1500, '\x89'), small = std::string(599, 'p') + '\0';
    home.write("pictures/front.jpg", big);
    home.write("pictures/back.jpg", small);
    home.write("products/ann_card", "card");
    auto form = shownForm();
    fillItem(*form);
    click(*form, res::IDC_ITEM_CARD);
    attach(*form, {home.path() + "pictures/front.jpg", home.path() + "pictures/back.jpg"});
    // What a crash while the first box is up would leave behind; the photos are copied after.
    std::optional<std::vector<std::string>> plainAtBox;
    std::unique_ptr<XmlDocument> storedAtBox;
    bool photoAtBox = false;
    ui.onEveryBox([&](const ScriptedUi::Box&) {
        if (plainAtBox) return;
        plainAtBox = plainDocuments();
        storedAtBox = storedListing("products/17.xml");
        photoAtBox = home.exists("products/17/front.jpg");
    });
    form->Add();
    ASSERT_TRUE(plainAtBox);
    EXPECT_EQ(*plainAtBox, std::vector<std::string>{});
    EXPECT_EQ(field(*storedAtBox, "productid"), "17");
    EXPECT_TRUE(entries(*storedAtBox).empty());
    EXPECT_FALSE(photoAtBox);

    EXPECT_EQ(ui.boxes(), Boxes{kAdded17});
    EXPECT_EQ(targetsOf(kFileSizePath),
              std::vector<std::string>{std::string(kFileSizePath) + "?productid=17&filesize=2"});
    EXPECT_EQ(home.read("products/17/front.jpg"), big);
    EXPECT_EQ(home.read("products/17/back.jpg"), small);

    // Scrambled at rest, the draft and the remembered choices too: unscrambled it is the whole
    // listing.
    EXPECT_EQ(plainDocuments(), std::vector<std::string>{});
    EXPECT_TRUE(home.exists("drafts/listing.xml"));
    const auto listing = storedListing("products/17.xml");
    EXPECT_EQ(entries(*listing),
              (std::vector<std::string>{"ann_card", "17/front.jpg", "17/back.jpg"}));
    EXPECT_EQ(field(*listing, "card"), "ann_card");
    EXPECT_EQ(field(*listing, "username"), "ann");
    EXPECT_EQ(field(*listing, "description"), "Sturdy & old");
    EXPECT_EQ(field(*listing, "productid"), "17");

    EXPECT_EQ(session().webAddress, home.path() + "products/17.xml");
    EXPECT_EQ(shownViews, std::vector<View>{View::WebPane});
    // The item is gone from the form; the choices stay.
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_TITLE)->text(), "");
    EXPECT_EQ(control<QListWidget>(*form, res::IDC_ITEM_ATTACHMENTS)->count(), 0);
    EXPECT_TRUE(control<QAbstractButton>(*form, 1162)->isChecked());
}

TEST_F(NewListingAddTest, EntriesNameOnlyFilesThatAreThere) {
    // A name holding a backslash is stored under its last part: other members ask for
    // attachments with backslashes as folder separators.
    home.write("pictures/side\\view.jpg", "view");
    auto form = shownForm();
    fillItem(*form);
    click(*form, res::IDC_ITEM_CARD);  // the member has no card file yet
    attach(*form, {home.path() + "pictures/side\\view.jpg"});
    form->Add();

    const auto listing = storedListing("products/17.xml");
    EXPECT_EQ(entries(*listing), std::vector<std::string>{"17/view.jpg"});
    EXPECT_EQ(field(*listing, "card"), "ann_card");
    EXPECT_EQ(home.read("products/17/view.jpg"), "view");
}

TEST_F(NewListingAddTest, ListingThatCannotBeSavedIsNotSent) {
    home.write("products", "not a folder");
    auto form = shownForm();
    fillItem(*form);
    form->Add();
    EXPECT_EQ(ui.boxes(), (Boxes{{"Add Product Error", "Unable to Save Product"}}));
    EXPECT_TRUE(server.targets().empty());
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_TITLE)->text(), "Oak chair");
}

TEST_F(NewListingAddTest, RememberedChoicesComeBackOnTheNextForm) {
    {
        auto form = shownForm();
        fillItem(*form);
        click(*form, res::IDC_ITEM_SELLER_PAYS);
        click(*form, res::IDC_ITEM_SHIP_WORLD);
        click(*form, res::IDC_ITEM_ESCROW_C);
        click(*form, 1227);
        click(*form, res::IDC_ITEM_CARD);
        type(*form, res::IDC_ITEM_HYPERLINK, "example.org");
        form->Add();
        ASSERT_EQ(ui.boxes(), Boxes{kAdded17});
    }
    // Stored scrambled, with only the choices.
    EXPECT_EQ(field(*storedListing("products/annRemembered.xml"), "titlebar"), "");

    auto next = shownForm();
    EXPECT_TRUE(control<QAbstractButton>(*next, res::IDC_ITEM_SELLER_PAYS)->isChecked());
    EXPECT_TRUE(control<QAbstractButton>(*next, res::IDC_ITEM_SHIP_WORLD)->isChecked());
    EXPECT_TRUE(control<QAbstractButton>(*next, res::IDC_ITEM_ESCROW_C)->isChecked());
    EXPECT_TRUE(control<QAbstractButton>(*next, res::IDC_ITEM_CARD)->isChecked());
    for (int box : {1162, 1227})
        EXPECT_TRUE(control<QAbstractButton>(*next, box)->isChecked()) << box;
    for (int box : {1163, 1164, 1165, 1166, 1167, 1168})
        EXPECT_FALSE(control<QAbstractButton>(*next, box)->isChecked()) << box;
    EXPECT_EQ(control<QLineEdit>(*next, res::IDC_ITEM_HYPERLINK)->text(), "http://example.org");

    // The restored choices are what the next listing is sent with.
    fillItem(*next);
    click(*next, 1162);  // unticks the money order, leaves PayPal
    next->Add();
    const std::vector<std::string> sent = targetsOf(kNewProductPath);
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_NE(sent[1].find("&shipping=WORLD&"), std::string::npos) << sent[1];
    EXPECT_NE(sent[1].find("&shippingpay=Seller&"), std::string::npos) << sent[1];
    EXPECT_NE(sent[1].find("&paymentmethods=E&escrow=Option%20C&"), std::string::npos) << sent[1];
}

TEST_F(NewListingAddTest, RememberedChoicesShowWhatAddSends) {
    const struct {
        const char *shippingpay, *shipping, *escrow;   // remembered
        int shownShippay, shownShipping, shownEscrow;  // escrow 0: none shown
        const char* why;
    } cases[] = {
        {"", "", "", res::IDC_ITEM_BUYER_PAYS, res::IDC_ITEM_SHIP_US, 0,
         "nothing remembered, as the profile writes before a first listing"},
        {"Seller", "WORLD", "Option B", res::IDC_ITEM_SELLER_PAYS, res::IDC_ITEM_SHIP_WORLD,
         res::IDC_ITEM_ESCROW_B, "all three"},
        {"someone", "MARS", "Option Z", res::IDC_ITEM_BUYER_PAYS, res::IDC_ITEM_SHIP_US, 0,
         "values no radio stands for"},
    };
    const std::map<int, std::string> sentAs{
        {res::IDC_ITEM_BUYER_PAYS, "&shippingpay=Buyer&"},
        {res::IDC_ITEM_SELLER_PAYS, "&shippingpay=Seller&"},
        {res::IDC_ITEM_SHIP_US, "&shipping=US&"},
        {res::IDC_ITEM_SHIP_WORLD, "&shipping=WORLD&"},
        {res::IDC_ITEM_ESCROW_B, "&escrow=Option%20B&"},
        {res::IDC_ITEM_ESCROW_NONE, "&escrow=none&"},
    };
    for (const auto& c : cases) {
        RememberedDefaults remembered;
        remembered.shippingpay = c.shippingpay;
        remembered.shipping = c.shipping;
        remembered.escrow = c.escrow;
        SaveRememberedDefaults("ann", remembered);
        auto form = shownForm();
        for (const auto& [id, sent] : sentAs)
            EXPECT_EQ(checked(*form, id),
                      id == c.shownShippay || id == c.shownShipping || id == c.shownEscrow)
                << c.why << ": " << id;
        fillItem(*form);
        ui.clear();
        form->Add();
        int escrow = c.shownEscrow;
        if (!escrow) {
            EXPECT_EQ(ui.boxes(),
                      (Boxes{{"Error: Blank Escrow Field", "Please Enter Escrow Informations"}}))
                << c.why;
            escrow = res::IDC_ITEM_ESCROW_NONE;
            click(*form, escrow);
            form->Add();
        }
        ASSERT_FALSE(targetsOf(kNewProductPath).empty()) << c.why;
        const std::string sent = targetsOf(kNewProductPath).back();
        for (int id : {c.shownShippay, c.shownShipping, escrow})
            EXPECT_NE(sent.find(sentAs.at(id)), std::string::npos) << c.why << ": " << sent;
    }
}

TEST_F(NewListingAddTest, AfterAddTheFormShowsWhatTheNextAddSends) {
    const struct {
        int kind, offer;  // offer 0: the price typed
        const char* why;
    } cases[] = {
        {res::IDC_ITEM_WANTED, res::IDC_ITEM_MAKE_OFFER, "wanted, make offer"},
        {res::IDC_ITEM_WANTED, res::IDC_ITEM_FREE, "wanted, free"},
        {res::IDC_ITEM_FORSALE, 0, "for sale, typed price"},
    };
    auto form = shownForm();
    for (const auto& c : cases) {
        fillItem(*form);
        click(*form, c.kind);
        if (c.offer) click(*form, c.offer);
        form->Add();
        ASSERT_EQ(ui.boxes().back().first, "Product Added") << c.why;
        // The item's kind and price go with it: For Sale is shown and no price is chosen.
        EXPECT_TRUE(checked(*form, res::IDC_ITEM_FORSALE)) << c.why;
        for (int id : {res::IDC_ITEM_WANTED, res::IDC_ITEM_MAKE_OFFER, res::IDC_ITEM_FREE})
            EXPECT_FALSE(checked(*form, id)) << c.why << ": " << id;

        ui.clear();
        fillItem(*form, "");
        form->Add();
        EXPECT_EQ(ui.boxes(), (Boxes{{"Error: Blank Price", "Please Enter Price"}})) << c.why;
        type(*form, res::IDC_ITEM_PRICE, "3");
        form->Add();
        const std::string sent = targetsOf(kNewProductPath).back();
        EXPECT_NE(sent.find("&status=Selling&"), std::string::npos) << c.why << ": " << sent;
    }
}

TEST_F(NewListingAddTest, TwoAddsInARowSendEachItsOwnKindAndPrice) {
    auto form = shownForm();
    fillItem(*form);
    click(*form, res::IDC_ITEM_WANTED);
    click(*form, res::IDC_ITEM_MAKE_OFFER);
    form->Add();
    EXPECT_TRUE(checked(*form, res::IDC_ITEM_FORSALE));  // and the member leaves it so
    fillItem(*form, "12.50");
    form->Add();

    std::vector<std::string> lines;
    for (const ScriptedHttpServer::Request& request : server.requests())
        if (request.target.starts_with(kNewProductPath)) lines.push_back(request.line);
    const std::string common =
        "GET /tradeloom/app/newproduct.asp?titlebar=Oak%20chair&description=Sturdy%20and%20old"
        "&shipping=US&zipcode=12345&quantity=1&shipping=US&shippingpay=Buyer&username=ann"
        "&category1=Furniture%3B%20Chairs&category2=";
    EXPECT_EQ(
        lines,
        (std::vector<std::string>{
            common + "&status=Buying&paymentterms=&paymentmethods=M&escrow=none&price=-1",
            common + "&status=Selling&paymentterms=&paymentmethods=M&escrow=none&price=12.50"}));
}

TEST_F(NewListingAddTest, ForbiddenTitleIsCensoredAndNothingIsSent) {
    home.write("words.xml", "<words><list><w>Fake</w><w>junk</w></list></words>");
    auto form = shownForm();
    fillItem(*form);
    type(*form, res::IDC_ITEM_TITLE, "Old junk chair");
    form->Add();
    EXPECT_EQ(ui.boxes(), (Boxes{{"Error", "This word is not allowed in Title Bar"}}));
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_TITLE)->text(), "censored");
    EXPECT_TRUE(server.targets().empty());

    // Matching is case-sensitive: "Junk" passes.
    ui.clear();
    type(*form, res::IDC_ITEM_TITLE, "Old Junk chair");
    form->Add();
    EXPECT_EQ(ui.boxes(), Boxes{kAdded17});
}

TEST_F(NewListingAddTest, UnusablePhotoStopsTheAddBeforeAnythingIsSent) {
    home.write("pictures/front.jpg", "jpeg");
    const std::string missing = home.path() + "pictures/gone.jpg";
    auto form = shownForm();
    fillItem(*form);
    attach(*form, {home.path() + "pictures/front.jpg", missing, home.path() + "pictures"});
    form->Add();

    EXPECT_EQ(ui.boxes(),
              (Boxes{{"Attach Photos", "The file " + missing + " could not be read."}}));
    EXPECT_TRUE(server.targets().empty());
    EXPECT_TRUE(shownViews.empty());
    EXPECT_FALSE(home.exists("products/17"));
    // Nothing the member gave is lost.
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_TITLE)->text(), "Oak chair");
    EXPECT_EQ(control<QListWidget>(*form, res::IDC_ITEM_ATTACHMENTS)->count(), 3);

    // A folder is no photo either.
    delete control<QListWidget>(*form, res::IDC_ITEM_ATTACHMENTS)->takeItem(1);
    ui.clear();
    form->Add();
    EXPECT_EQ(
        ui.boxes(),
        (Boxes{{"Attach Photos", "The file " + home.path() + "pictures could not be read."}}));

    // Two photos of one name would be stored as one file.
    home.write("other/front.jpg", "another front");
    delete control<QListWidget>(*form, res::IDC_ITEM_ATTACHMENTS)->takeItem(1);
    attach(*form, {home.path() + "other/front.jpg"});
    ui.clear();
    form->Add();
    EXPECT_EQ(ui.boxes(), (Boxes{{"Attach Photos",
                                  "More than one photo is named front.jpg. "
                                  "Please rename one of them."}}));
    EXPECT_TRUE(server.targets().empty());
}

TEST_F(NewListingAddTest, ListingTheServerRefusedIsNeitherAttachedNorShown) {
    server.reply(kNewProductPath, "");
    home.write("pictures/front.jpg", "jpeg");
    auto form = shownForm();
    fillItem(*form);
    attach(*form, {home.path() + "pictures/front.jpg"});
    form->Add();

    EXPECT_EQ(ui.boxes(), (Boxes{{"Product Error", "The Product Did not Succesfully Add"}}));
    EXPECT_TRUE(targetsOf(kFileSizePath).empty());
    EXPECT_TRUE(shownViews.empty());
    EXPECT_FALSE(std::filesystem::exists(home.path() + "products/front.jpg"));
    EXPECT_FALSE(home.exists("products/annRemembered.xml"));
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_TITLE)->text(), "Oak chair");
    EXPECT_EQ(control<QListWidget>(*form, res::IDC_ITEM_ATTACHMENTS)->count(), 1);
}

}  // namespace
}  // namespace tl::test
