#include <QTest>

#include <filesystem>

#include "NewListingFixture.h"
#include "core/listings/CProductXml.h"
#include "gui/listings/CProdEditView.h"
#include "gui/session/ListSelection.h"

namespace tl::test {
namespace {

constexpr char kEditProductPath[] = "/tradeloom/app/editproduct.asp";
const ScriptedUi::Box kUpdated17{"Operation Complete", "Product 17 succesfully Updated"};
const ScriptedUi::Box kUpdateFailed{"Error", "Product Update was Unsucessful"};

// A wanted make-offer listing 17 of "ann" stored as the forms leave it: scrambled, with her
// card (2048 bytes) and a photo (1000 bytes).
ListingValues wantedChair() {
    ListingValues v;
    v.title = "Oak chair";
    v.description = "Sturdy";
    v.quantity = "2";
    v.shipping = "WORLD";
    v.zipcode = "12345";
    v.shippingpay = "Seller";
    v.username = "ann";
    v.price = "Make Offer";
    v.status = "Buying";
    v.category1 = "Furniture";
    v.category2 = "Chairs";
    v.paymentmethods = "ME";
    v.escrow = "Option C";
    v.readablemethods = "Money Order/Cashiers Check PayPal ";
    v.hyperlink = "http://example.org";
    v.card = "ann_card";
    return v;
}

class EditListingTest : public NewListingTest {
protected:
    EditListingTest() {
        server.reply(kEditProductPath, "0");
        home.write("products/ann_card", std::string(2048, 'c'));
        home.write("products/17/front.jpg", std::string(1000, 'f'));
        storeListing(wantedChair());
        listSelection().selectedListingId = "17";
    }

    void storeListing(const ListingValues& values, const std::string& id = "17") {
        CProductXml listing;
        ASSERT_EQ(listing.BuildAndSave(id, values), 1);
        if (!values.card.empty()) listing.AddAttachment(values.card);
        listing.AddAttachment(id + "/front.jpg");
        stored_ = home.read("products/" + id + ".xml");
    }
    std::unique_ptr<CProdEditView> shownEditForm() {
        auto form = std::make_unique<CProdEditView>();
        form->show();
        return form;
    }
    static std::vector<std::string> listEntries(const QWidget& form) {
        std::vector<std::string> texts;
        auto* list = control<QListWidget>(form, res::IDC_ITEM_ATTACHMENTS);
        for (int row = 0; row < list->count(); ++row)
            texts.push_back(list->item(row)->text().toStdString());
        return texts;
    }
    // The stored listing's bytes are the ones it had before the form touched it.
    void expectStoredListingUntouched() const { EXPECT_EQ(home.read("products/17.xml"), stored_); }

    std::string stored_;
};

TEST_F(EditListingTest, LoadShowsTheStoredListingAndLeavesItScrambled) {
    auto form = shownEditForm();
    EXPECT_EQ(form->objectName(), "dlg_147");
    const std::pair<int, const char*> texts[] = {{res::IDC_ITEM_TITLE, "Oak chair"},
                                                 {res::IDC_ITEM_ZIPCODE, "12345"},
                                                 {res::IDC_ITEM_QUANTITY, "2"},
                                                 {res::IDC_ITEM_PRICE, "Make Offer"},
                                                 {res::IDC_ITEM_CATEGORY1, "Furniture"},
                                                 {res::IDC_ITEM_CATEGORY2, "Chairs"},
                                                 {res::IDC_ITEM_HYPERLINK, "http://example.org"}};
    for (const auto& [id, text] : texts)
        EXPECT_EQ(control<QLineEdit>(*form, id)->text().toStdString(), text) << id;
    EXPECT_EQ(control<QPlainTextEdit>(*form, res::IDC_EDIT_DESCRIPTION)->toPlainText(), "Sturdy");
    for (int id :
         {res::IDC_ITEM_WANTED, res::IDC_ITEM_SELLER_PAYS, res::IDC_ITEM_SHIP_WORLD,
          res::IDC_ITEM_ESCROW_C, res::IDC_ITEM_MAKE_OFFER, res::IDC_ITEM_CARD, 1162, 1227})
        EXPECT_TRUE(checked(*form, id)) << id;
    for (int id : {res::IDC_ITEM_FORSALE, res::IDC_ITEM_FREE, 1163, 1164, 1165, 1166, 1167, 1168})
        EXPECT_FALSE(checked(*form, id)) << id;
    EXPECT_EQ(listEntries(*form), (std::vector<std::string>{"ann_card", "17/front.jpg"}));
    EXPECT_TRUE(ui.boxes().empty());
    expectStoredListingUntouched();
    EXPECT_TRUE(control(*form, res::IDC_EDIT_REACTIVATE_ITEM)->isHidden());
    EXPECT_TRUE(control(*form, res::IDC_EDIT_ESCROW_PAYPAL)->isHidden());
    EXPECT_FALSE(control(*form, res::IDC_EDIT_REACTIVATE)->isEnabled());
    click(*form, res::IDC_EDIT_CLEAR_CATEGORY2);
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_CATEGORY2)->text(), "");

    // The listing goes away while the member edits it.
    std::filesystem::remove(home.path() + "products/17.xml");
    form->Preview();
    EXPECT_EQ(ui.boxes(), (Boxes{{"Tradeloom", "LoadList Failed"}}));
    EXPECT_TRUE(shownViews.empty());
    ui.clear();

    listSelection().selectedListingId = "99";
    form->Load();
    form->Submit();
    form->Preview();
    EXPECT_EQ(ui.boxes(), (Boxes{{"ERROR", "LoadList Failed To Load:99"},
                                 {"Tradeloom", "No Item Currently Selected"},
                                 {"Tradeloom", "No Item Currently Selected"}}));
    EXPECT_TRUE(server.targets().empty());
}

TEST_F(EditListingTest, SubmitSendsTheEditThenReplacesTheListingWithItsPhotos) {
    // No word list is there: the title goes unchecked, as on the new-listing form.
    home.write("pictures/back.jpg", std::string(600, 'b'));
    auto form = shownEditForm();
    attach(*form, {home.path() + "pictures/back.jpg"});
    form->Submit();

    EXPECT_EQ(ui.boxes(), Boxes{kUpdated17});
    std::vector<std::string> lines;
    for (const ScriptedHttpServer::Request& request : server.requests())
        lines.push_back(request.line);
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "GET /tradeloom/app/editproduct.asp?titlebar=Oak%20chair&description=Sturdy"
                  "&shipping=WORLD&zipcode=12345&quantity=2&shipping=WORLD&shippingpay=Seller"
                  "&username=ann&category1=Furniture&category2=Chairs&productid=17&price=-1"
                  "&status=Buying",
                  // 2048 + 1000 + 600 bytes
                  "GET /tradeloom/app/addfilesize.asp?productid=17&filesize=3"}));

    const auto listing = storedListing("products/17.xml");
    std::vector<std::string> order;
    for (const XmlNode& child : listing->documentElement().childNodes())
        order.push_back(child.name());
    EXPECT_EQ(order, (std::vector<std::string>{
                         "titlebar", "description", "quantity", "shippingpay", "zipcode",
                         "username", "status", "shipping", "category1", "category2", "paymentterms",
                         "paymentmethods", "escrow", "readablemethods", "hyperlink", "card",
                         "attachment", "productid", "price"}));
    EXPECT_EQ(field(*listing, "price"), "Make Offer");
    EXPECT_EQ(field(*listing, "readablemethods"), "Money Order/Cashiers Check PayPal ");
    EXPECT_EQ(entries(*listing),
              (std::vector<std::string>{"ann_card", "17/front.jpg", "17/back.jpg"}));
    EXPECT_EQ(home.read("products/17/back.jpg"), std::string(600, 'b'));
    EXPECT_EQ(session().webAddress, home.path() + "products/17.xml");
    EXPECT_EQ(shownViews, std::vector<View>{View::WebPane});
}

TEST_F(EditListingTest, AFailedOrRefusedUpdateLeavesTheStoredListingAsItWas) {
    home.write("pictures/back.jpg", "back");
    const struct {
        const char* reply;  // nullptr: the server cannot be reached
    } cases[] = {{"-1"}, {""}, {"<html>Server Error</html>"}, {nullptr}};
    for (const auto& c : cases) {
        const std::string why = c.reply ? c.reply : "unreachable";
        if (c.reply)
            server.reply(kEditProductPath, c.reply);
        else
            setServerHost(deadHost());
        ui.clear();
        auto form = shownEditForm();
        type(*form, res::IDC_ITEM_TITLE, "Oak table");
        attach(*form, {home.path() + "pictures/back.jpg"});
        form->Submit();
        EXPECT_EQ(ui.boxes(), Boxes{kUpdateFailed}) << why;
        expectStoredListingUntouched();
        EXPECT_FALSE(home.exists("products/17/back.jpg")) << why;
        EXPECT_TRUE(targetsOf("/tradeloom/app/addfilesize.asp").empty()) << why;
        EXPECT_TRUE(shownViews.empty()) << why;
        EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_TITLE)->text(), "Oak table") << why;
    }
}

TEST_F(EditListingTest, EmptyFieldsAreNamedInOrderAndPaymentIsJudgedByTheBoxesTicked) {
    ListingValues blank;
    blank.escrow = "no such escrow";
    storeListing(blank, "18");
    listSelection().selectedListingId = "18";
    auto form = shownEditForm();
    form->Submit();
    EXPECT_EQ(ui.boxes(), (Boxes{
                              {"Error: Blank Item Title Bar", "Please Enter an Item Title"},
                              {"Error: Blank Item Description", "Please Enter an Item Desctiption"},
                              {"Error: Blank Zip Code", "Please Enter your Zip Code"},
                              {"Error: Blank Payment Method", "Please Enter a Payment Method"},
                              {"Error: Blank Quantity", "Please Enter a Quantity"},
                              {"Error: Blank Category", "Please Select a Category"},
                              {"Error: No Escrow Data", "Please Enter Escrow Informations"},
                              {"Error: Blank Price", "Please Enter Price"},
                          }));

    // Listing 17 was stored with money order and PayPal; the member unticks both.
    listSelection().selectedListingId = "17";
    form->Load();
    click(*form, 1162);
    click(*form, 1227);
    ui.clear();
    form->Submit();
    EXPECT_EQ(ui.boxes(),
              (Boxes{{"Error: Blank Payment Method", "Please Enter a Payment Method"}}));
    EXPECT_TRUE(server.targets().empty());
    click(*form, 1164);
    ui.clear();
    form->Submit();
    EXPECT_EQ(ui.boxes(), Boxes{kUpdated17});
    EXPECT_EQ(field(*storedListing("products/17.xml"), "paymentmethods"), "V");

    home.write("words.xml", "<words><list><w>junk</w></list></words>");
    type(*form, res::IDC_ITEM_TITLE, "Old junk chair");
    ui.clear();
    form->Submit();
    EXPECT_EQ(ui.boxes(), (Boxes{{"Error", "This word is not allowed in Title Bar"}}));
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_TITLE)->text(), "censored");
}

TEST_F(EditListingTest, TheBoxDecidesTheCardWhateverTheListingBefore) {
    home.write("products/ann_card2", "new card");
    const struct {
        const char *storedCard, *memberCard;
        bool ticked;
        std::vector<std::string> entries;
        const char* why;
    } cases[] = {
        // Loaded after a listing with a card: no stale "had no card" makes a second entry.
        {"", "ann_card", true, {"ann_card", "17/front.jpg"}, "card added"},
        {"ann_card", "ann_card", true, {"ann_card", "17/front.jpg"}, "card kept once"},
        {"", "ann_card", false, {"17/front.jpg"}, "no card"},
        {"ann_card", "ann_card2", true, {"ann_card2", "17/front.jpg"}, "card changed"},
        {"ann_card", "ann_card2", false, {"17/front.jpg"}, "card taken off"},
    };
    auto form = shownEditForm();
    for (const auto& c : cases) {
        ListingValues values = wantedChair();
        values.card = c.storedCard;
        storeListing(values);
        session().cardFileName = c.memberCard;
        form->Load();
        control<QAbstractButton>(*form, res::IDC_ITEM_CARD)->setChecked(c.ticked);
        ui.clear();
        form->Submit();
        ASSERT_EQ(ui.boxes(), Boxes{kUpdated17}) << c.why;
        const auto listing = storedListing("products/17.xml");
        EXPECT_EQ(entries(*listing), c.entries) << c.why;
        EXPECT_EQ(field(*listing, "card"), c.ticked ? c.memberCard : "") << c.why;
    }
}

TEST_F(EditListingTest, BackFromPreviewKeepsTheEditsAndANewEditLoadsAfresh) {
    home.write("pictures/back.jpg", "back");
    auto form = shownEditForm();
    type(*form, res::IDC_ITEM_TITLE, "Oak table");
    attach(*form, {home.path() + "pictures/back.jpg"});
    form->Preview();

    EXPECT_EQ(shownViews, std::vector<View>{View::WebPane});
    EXPECT_EQ(session().webAddress, home.path() + "products/newproduct.xml");
    const auto preview = storedListing("products/newproduct.xml");
    EXPECT_EQ(field(*preview, "titlebar"), "Oak table");
    EXPECT_EQ(field(*preview, "status"), "Buying");
    EXPECT_EQ(entries(*preview),
              (std::vector<std::string>{"ann_card", "17/front.jpg", "temp/back.jpg"}));
    expectStoredListingUntouched();

    form->hide();  // the preview is shown, then Back
    form->show();
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_TITLE)->text(), "Oak table");
    EXPECT_EQ(listEntries(*form).size(), 3u);
    form->hide();  // another screen, then Edit again
    form->show();
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_TITLE)->text(), "Oak chair");
    EXPECT_EQ(listEntries(*form).size(), 2u);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(EditListingTest, StoredTextsLongerThanTheirBoxesAreKeptWhole) {
    ListingValues values = wantedChair();
    values.quantity = "1234567890";  // the new-listing form takes ten characters, this one five
    values.description = std::string(1100, 'd');
    storeListing(values);
    auto form = shownEditForm();
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_QUANTITY)->text(), "1234567890");
    EXPECT_EQ(control<QPlainTextEdit>(*form, res::IDC_EDIT_DESCRIPTION)->toPlainText().size(),
              1100);
    form->Submit();
    ASSERT_EQ(targetsOf(kEditProductPath).size(), 1u);
    EXPECT_NE(targetsOf(kEditProductPath)[0].find("&quantity=1234567890&"), std::string::npos);

    // A listing within the limits brings them back.
    storeListing(wantedChair());
    form->Load();
    auto* quantity = control<QLineEdit>(*form, res::IDC_ITEM_QUANTITY);
    quantity->clear();
    QTest::keyClicks(quantity, "123456");
    EXPECT_EQ(quantity->text(), "12345");
}

TEST_F(EditListingTest, ANewPhotoNeverReplacesAStoredAttachment) {
    home.write("pictures/front.jpg", "another front");
    auto form = shownEditForm();
    attach(*form, {home.path() + "pictures/front.jpg"});
    form->Submit();
    EXPECT_EQ(ui.boxes(), (Boxes{{"Attach Photos",
                                  "More than one photo is named front.jpg. "
                                  "Please rename one of them."}}));
    EXPECT_TRUE(server.targets().empty());
    EXPECT_EQ(home.read("products/17/front.jpg"), std::string(1000, 'f'));
    expectStoredListingUntouched();
}

TEST_F(EditListingTest, FilesOfFourGibibytesOrMoreAreRefusedOnBothForms) {
    const std::string huge = home.path() + "pictures/huge.bin";
    const std::string largest = home.path() + "pictures/largest.bin";
    home.write("pictures/huge.bin", "");
    home.write("pictures/largest.bin", "");
    std::filesystem::resize_file(huge, 1ull << 32);  // sparse: no disk is used
    std::filesystem::resize_file(largest, (1ull << 32) - 1);
    auto newForm = shownForm();
    auto editForm = shownEditForm();
    for (const QWidget* form :
         {static_cast<QWidget*>(newForm.get()), static_cast<QWidget*>(editForm.get())}) {
        const int before = control<QListWidget>(*form, res::IDC_ITEM_ATTACHMENTS)->count();
        ui.clear();
        attach(*form, {huge, largest});
        EXPECT_EQ(ui.boxes(),
                  (Boxes{{"Attach Photos",
                          "The file " + huge + " is 4 GB or larger and cannot be attached."}}))
            << form->objectName().toStdString();
        EXPECT_EQ(control<QListWidget>(*form, res::IDC_ITEM_ATTACHMENTS)->count(), before + 1)
            << form->objectName().toStdString();
    }
}

}  // namespace
}  // namespace tl::test
