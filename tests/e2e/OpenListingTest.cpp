#include <gtest/gtest.h>

#include <filesystem>

#include "MarketTestServer.h"
#include "core/listings/CProductXml.h"
#include "core/listings/FileScramble.h"
#include "core/peer/CServerThread.h"
#include "gui/search/CDownloadingDlg.h"
#include "support/SampleListing.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

// Two members on one machine: the seller's listing server listens on 127.0.0.2, the buyer's
// requests leave from 127.0.0.3. The seller publishes a listing with three photos and a business
// card; the buyer opens it, and opens it again once the seller is gone.
TEST(OpenListing, TheBuyerGetsTheSellersFilesByteForByteOrTheServersCopyWhenTheSellerIsGone) {
    test::TempProgramDirectory home;
    test::MarketTestServer market;
    ScriptedUi ui;
    test::ScopedEnv bind("TRADELOOM_BIND", "127.0.0.3");
    ASSERT_EQ(test::registerMember("seller1"), "0");

    ListingValues values = test::chairListing();
    values.username = "seller1";
    values.card = "seller1_card.png";
    CProductXml listing;
    ASSERT_EQ(listing.BuildAndSave("", values), 1);
    ASSERT_EQ(listing.Publish(), 1);
    const std::string id = listing.productId();
    std::vector<std::string> attachments;
    for (int photo = 1; photo <= 3; ++photo) {
        const std::string entry = id + "/photo" + std::to_string(photo) + ".jpg";
        home.write("products/" + entry, std::string(5000 * photo, static_cast<char>(photo)));
        ASSERT_EQ(listing.AddAttachment(entry), 1);
        attachments.push_back(entry);
    }
    home.write("products/seller1_card.png", std::string(777, '\xC7'));
    ASSERT_EQ(listing.AddAttachment("seller1_card.png"), 1);
    attachments.push_back("seller1_card.png");
    ASSERT_EQ(ToggleFileScramble(home.path() + "products/" + id + ".xml"), 1);

    CServerThread::Settings sellerSettings;
    sellerSettings.port = 0;
    sellerSettings.bindAddress = "127.0.0.2";
    CServerThread seller(sellerSettings);
    ASSERT_TRUE(seller.start());
    DownloadSettings settings;
    settings.port = seller.port();
    ASSERT_EQ(settings.localAddress, "127.0.0.3");

    const auto member = [](ModalDialog& dialog) { return dialog.runModalLoop(); };
    ui.onModal(member);
    const std::string opened = downloadListing(id, "127.0.0.2", settings);
    EXPECT_EQ(opened, home.path() + "downloads/" + id + ".xml");
    EXPECT_EQ(home.read("downloads/" + id + ".xml"), home.read("products/" + id + ".xml"));
    for (const std::string& entry : attachments)
        EXPECT_EQ(home.read("downloads/" + entry), home.read("products/" + entry)) << entry;

    seller.stop();
    std::filesystem::remove_all(home.path() + "downloads");
    ui.onModal(member);
    EXPECT_EQ(downloadListing(id, "127.0.0.2", settings), opened);
    std::string copy = home.read("downloads/" + id + ".xml");
    scrambleBytes(copy);
    XmlDocument document;
    ASSERT_TRUE(document.loadXml(copy));
    EXPECT_EQ(document.selectSingleNode("/product/titlebar").text(), "Tom and Jerry number 2");
    EXPECT_EQ(document.selectSingleNode("/product/price").text(), "Make Offer");
    EXPECT_EQ(document.selectSingleNode("/product/paymentmethods").text(),
              "Money Order/Cashiers Check PayPal ");
    EXPECT_FALSE(document.selectSingleNode("//attach"));
    EXPECT_FALSE(std::filesystem::exists(home.path() + "downloads/" + id));
    EXPECT_TRUE(ui.boxes().size() == 1u);  // only the publish confirmation
}

}  // namespace
}  // namespace tl
