#include <gtest/gtest.h>

#include <QLabel>

#include "core/listings/KeptFiles.h"
#include "core/listings/KeptFilesUpload.h"
#include "core/peer/ListingOrigin.h"
#include "gui/web/CWebView.h"
#include "support/MarketplaceFixture.h"

namespace tl::test {
namespace {

// The seller, logged in at 127.0.0.2, publishes a listing with three photos and a business card
// and sends its files to the marketplace; the buyer opens it from 127.0.0.3.
class KeptFiles : public MarketplaceTest {
protected:
    KeptFiles() {
        logIn(seller);
        ListingValues listing = chairListing();
        listing.card = "seller1_card.png";
        for (int photo = 1; photo <= 3; ++photo)
            photos.emplace_back("photo" + std::to_string(photo) + ".jpg",
                                "\xFF\xD8\xFF\xE0" + std::string(40000 * photo, char('0' + photo)));
        id = publishSellersListing(
            photos, listing, {{"seller1_card.png", "\x89PNG\r\n\x1A\n" + std::string(777, 'c')}});
        EXPECT_EQ(sendListingFiles(id).result, KeepResult::Kept);
        listingAsServed = home.read("products/" + id + ".xml");
        for (const std::string& entry : attached) published[entry] = home.read("products/" + entry);
        serveSellersListings();
    }

    // The buyer opens the listing; the line the web pane shows above it.
    std::string openAsBuyer(const DownloadSettings& settings) {
        actAs(buyer);
        const DownloadOutcome outcome = tl::downloadListing({id, seller.address}, settings);
        EXPECT_EQ(outcome.listingPath, home.path() + "downloads/" + id + ".xml");
        CWebView view;
        view.navigate(outcome.listingPath);
        return view.findChild<QLabel*>("listingOrigin")->text().toStdString();
    }
    void expectEveryFileAsPublished() {
        EXPECT_EQ(home.read("downloads/" + id + ".xml"), listingAsServed);
        ASSERT_EQ(attached.size(), 4u);
        for (const std::string& entry : attached)
            EXPECT_EQ(home.read("downloads/" + entry), published.at(entry)) << entry;
    }

    Files photos;
    std::string id;
    std::string listingAsServed;
    std::map<std::string, std::string> published;  // entry -> bytes
};

TEST_F(KeptFiles, TheBuyerGetsEveryFileFromTheMarketplaceOnceTheSellerHasStopped) {
    const DownloadSettings settings = downloadFromSeller();
    sellerServer.reset();
    EXPECT_EQ(openAsBuyer(settings),
              "Opened from the marketplace copy, with its photos: the seller's computer could not "
              "be reached or did not send the listing as the marketplace keeps it");
    expectEveryFileAsPublished();
    // The buyer's address cannot replace the seller's files.
    EXPECT_EQ(sendListingFiles(id).result, KeepResult::NotOwner);
    EXPECT_EQ(askKeptDigests(id, nullptr, std::chrono::seconds(5))->size(), 5u);
}

TEST_F(KeptFiles, APhotoTheSellerChangedIsTakenFromTheMarketplace) {
    home.write("products/" + id + "/photo2.jpg", "\xFF\xD8\xFF\xE0 another photo");
    EXPECT_EQ(openAsBuyer(downloadFromSeller()), "Opened from the seller's computer");
    expectEveryFileAsPublished();
}

}  // namespace
}  // namespace tl::test
