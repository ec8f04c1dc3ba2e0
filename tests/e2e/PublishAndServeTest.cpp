#include <gtest/gtest.h>

#include "LoopbackListingServer.h"
#include "PeerFetch.h"
#include "core/service/Replies.h"
#include "support/MarketplaceFixture.h"

namespace tl::test {
namespace {

// The seller publishes a listing with a photo on the reference marketplace server.
class PublishAndServe : public MarketplaceTest {
protected:
    const std::string photo = std::string(6000, '\x89');
    const std::string id = publishSellersListing({{"photo.png", photo}});
};

TEST_F(PublishAndServe, ThePublishIsConfirmedAndTheMarketplaceListsTheCleanedTitle) {
    ASSERT_FALSE(id.empty());
    EXPECT_EQ(
        ui.boxes(),
        (std::vector<ScriptedUi::Box>{
            {"Product Added", "Item #" + id + " was succefully add to your sharable directory."}}));
    const auto found = records(endpoints::search("jerry", "SELLING"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(field(found[0], "titlebar"), "Tom and Jerry number 2");
    EXPECT_EQ(field(found[0], "productid"), id);
}

// Another member's plain socket client fetches the listing and its photo from the seller's
// listing server, and nothing outside the products folder.
TEST_F(PublishAndServe, TheListingAndItsPhotoAreServedByteForByteOverThePeerPort) {
    LoopbackListingServer server;
    ASSERT_NE(server.port(), 0);
    const auto served = fetchOverPeerProtocol(server.port(), id + ".xml");
    ASSERT_TRUE(served);
    EXPECT_EQ(*served, home.read("products/" + id + ".xml"));
    std::string plain = *served;
    scrambleBytes(plain);
    XmlDocument document;
    ASSERT_TRUE(document.loadXml(plain));
    EXPECT_EQ(document.selectSingleNode("/product/price").text(), "Make Offer");
    EXPECT_EQ(document.selectSingleNode("/product/attachment/attach").text(), id + "/photo.png");

    EXPECT_EQ(fetchOverPeerProtocol(server.port(), id + "\\photo.png"), photo);
    EXPECT_FALSE(fetchOverPeerProtocol(server.port(), "..\\" + id + ".xml"));
}

}  // namespace
}  // namespace tl::test
