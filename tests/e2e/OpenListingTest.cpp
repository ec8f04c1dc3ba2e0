#include <gtest/gtest.h>

#include <filesystem>

#include "gui/search/CDownloadingDlg.h"
#include "support/MarketplaceFixture.h"

namespace tl::test {
namespace {

// The seller publishes a listing with three photos and a business card and serves it from
// 127.0.0.2; the buyer, whose requests leave from 127.0.0.3, opens it.
class OpenListing : public MarketplaceTest {
protected:
    OpenListing() {
        actAs(buyer);
        ListingValues listing = chairListing();
        listing.card = "seller1_card.png";
        Files photos;
        for (int photo = 1; photo <= 3; ++photo)
            photos.emplace_back("photo" + std::to_string(photo) + ".jpg",
                                std::string(5000 * photo, static_cast<char>(photo)));
        id = publishSellersListing(photos, listing,
                                   {{"seller1_card.png", std::string(777, '\xC7')}});
        serveSellersListings();
        ui.onModal([](ModalDialog& dialog) { return dialog.runModalLoop(); });
    }

    std::string id;
};

TEST_F(OpenListing, TheBuyerGetsTheSellersFilesByteForByte) {
    const DownloadSettings settings = downloadFromSeller();
    ASSERT_EQ(settings.localAddress, buyer.address);
    EXPECT_EQ(downloadListing(id, seller.address, settings),
              home.path() + "downloads/" + id + ".xml");
    EXPECT_EQ(home.read("downloads/" + id + ".xml"), home.read("products/" + id + ".xml"));
    ASSERT_EQ(attached.size(), 4u);
    for (const std::string& entry : attached)
        EXPECT_EQ(home.read("downloads/" + entry), home.read("products/" + entry)) << entry;
}

TEST_F(OpenListing, TheBuyerGetsTheServersCopyWithoutPhotosWhenTheSellerIsGone) {
    const DownloadSettings settings = downloadFromSeller();
    sellerServer.reset();
    EXPECT_EQ(downloadListing(id, seller.address, settings),
              home.path() + "downloads/" + id + ".xml");
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
}  // namespace tl::test
