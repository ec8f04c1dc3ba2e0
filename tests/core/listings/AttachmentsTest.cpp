#include <filesystem>

#include "support/ListingFixture.h"

namespace tl::test {
namespace {

using AttachmentsTest = ListingTest;

// A listing document with three entries.
std::string listingWithEntries(const std::string& instruction) {
    return instruction +
           "<product><titlebar>Lamp</titlebar><price>Make Offer</price><card>ann_card</card>"
           "<attachment><attach>7/front.jpg</attach><attach>7/back.jpg</attach>"
           "<attach>ann_card</attach></attachment><productid>7</productid></product>";
}

std::vector<std::string> walk(CProductXml& listing) {
    std::vector<std::string> entries;
    while (listing.NextAttachment()) entries.push_back(listing.AttachmentText());
    return entries;
}

TEST_F(AttachmentsTest, OwnListingEntriesAreWalkedInDocumentOrderScrambledOrLeftPlain) {
    std::string scrambled = listingWithEntries(styleSheetInstruction());
    scrambleBytes(scrambled);
    for (const std::string& stored : {scrambled, listingWithEntries(styleSheetInstruction())}) {
        home.write("products/7.xml", stored);
        CProductXml listing;
        ASSERT_EQ(listing.OpenOwn("7"), 1);
        EXPECT_EQ(walk(listing),
                  (std::vector<std::string>{"7/front.jpg", "7/back.jpg", "ann_card"}));
        EXPECT_EQ(listing.NextAttachment(), 0);  // stays at the end
        EXPECT_EQ(listing.GetTitlebar(), "Lamp");
        EXPECT_EQ(listing.GetPrice(), "Make Offer");
        EXPECT_EQ(listing.GetCard(), "ann_card");

        // Opening again starts the walk from the first entry; the file is only read.
        ASSERT_EQ(listing.OpenOwn("7"), 1);
        EXPECT_EQ(walk(listing).size(), 3u);
        EXPECT_EQ(home.read("products/7.xml"), stored);
    }
}

TEST_F(AttachmentsTest, DownloadedListingGetsAFolderForItsAttachments) {
    CProductXml listing;
    ASSERT_EQ(listing.OpenDownloadedText("7", listingWithEntries(styleSheetInstruction())), 1);
    EXPECT_TRUE(std::filesystem::is_directory(home.path() + "downloads/7"));
    EXPECT_EQ(listing.productId(), "7");
    EXPECT_EQ(walk(listing).size(), 3u);
}

TEST_F(AttachmentsTest, MissingUnreadableOrOutsideListingsDoNotOpen) {
    home.write("products/bad.xml", "<product><titlebar>never closed");
    home.write("outside.xml", listingWithEntries(styleSheetInstruction()));
    home.write("downloads/x", "");
    CProductXml listing;
    EXPECT_EQ(listing.OpenOwn("404"), 0);
    EXPECT_EQ(listing.OpenOwn("bad"), 0);
    EXPECT_EQ(listing.OpenOwn("../outside"), 0);
    EXPECT_EQ(listing.OpenOwn(""), 0);
    EXPECT_EQ(listing.OpenDownloadedText("../outside", listingWithEntries("")), 0);
    EXPECT_EQ(listing.OpenDownloadedText("404", "not a listing"), 0);
    EXPECT_FALSE(home.exists("downloads/404"));
    EXPECT_EQ(listing.NextAttachment(), 0);
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(AttachmentsTest, AFieldTheListingLacksIsAnErrorForTheCaller) {
    home.write("products/9.xml", "<product><titlebar>Only a title</titlebar></product>");
    CProductXml listing;
    EXPECT_THROW(listing.GetTitlebar(), MissingListingField);  // nothing opened yet
    ASSERT_EQ(listing.OpenOwn("9"), 1);
    EXPECT_EQ(listing.GetTitlebar(), "Only a title");
    EXPECT_THROW(listing.GetDescription(), MissingListingField);
    EXPECT_THROW(listing.GetPaymentmethods(), MissingListingField);
}

TEST_F(AttachmentsTest, EntriesAreAppendedAndSavedToTheListingOrThePreview) {
    server.reply("/tradeloom/app/newproduct.asp", "21");
    CProductXml listing;
    ASSERT_EQ(listing.BuildAndSave("", chairListing()), 1);
    ASSERT_EQ(listing.Publish(), 1);
    EXPECT_EQ(listing.AddAttachment("ann_card"), 1);
    EXPECT_EQ(listing.AddAttachment("21/photo one.jpg"), 1);
    CProductXml stored;
    ASSERT_EQ(stored.OpenOwn("21"), 1);
    EXPECT_EQ(walk(stored), (std::vector<std::string>{"ann_card", "21/photo one.jpg"}));

    CProductXml preview;
    ASSERT_EQ(preview.BuildPreview(chairListing()), 1);
    EXPECT_EQ(preview.AddPreviewAttachment("temp/photo.jpg"), 1);
    const std::string text = storedText("products/newproduct.xml");
    EXPECT_NE(text.find("<productid>Available when published</productid>"
                        "<attachment><attach>temp/photo.jpg</attach></attachment></product>"),
              std::string::npos);
}

TEST_F(AttachmentsTest, AnEntryThatWouldLeadOutOfTheFolderIsNotAdded) {
    CProductXml listing;
    EXPECT_EQ(listing.AddAttachment("21/a.jpg"), 0);  // nothing built
    ASSERT_EQ(listing.BuildAndSave("21", chairListing()), 1);
    for (const std::string entry : {"../../etc/passwd", "/etc/passwd", "21/../../x", "", "C:x"})
        EXPECT_EQ(listing.AddAttachment(entry), 0) << entry;
    CProductXml stored;
    ASSERT_EQ(stored.OpenOwn("21"), 1);
    EXPECT_EQ(stored.NextAttachment(), 0);
}

TEST_F(AttachmentsTest, AFailedAttachmentSaveReturnsZero) {
    CProductXml listing;
    ASSERT_EQ(listing.BuildPreview(chairListing()), 1);
    std::filesystem::remove(home.path() + "products/newproduct.xml");
    std::filesystem::create_directory(home.path() + "products/newproduct.xml");
    EXPECT_EQ(listing.AddPreviewAttachment("temp/a.jpg"), 0);
}

}  // namespace
}  // namespace tl::test
