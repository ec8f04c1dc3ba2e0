#include <gtest/gtest.h>

#include "LoopbackListingServer.h"
#include "MarketTestServer.h"
#include "PeerFetch.h"
#include "core/listings/CProductXml.h"
#include "core/listings/FileScramble.h"
#include "core/service/Replies.h"
#include "support/SampleListing.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

// A member publishes a listing on the reference marketplace server; another member's plain
// socket client then fetches the listing and its photo from the member's listing server.
TEST(PublishAndServe, APublishedListingIsServedByteForByteOverThePeerPort) {
    test::TempProgramDirectory home;
    test::MarketTestServer market;
    ScriptedUi ui;
    ASSERT_EQ(test::registerMember("seller1"), "0");

    ListingValues values = test::chairListing();
    values.username = "seller1";

    CProductXml listing;
    ASSERT_EQ(listing.BuildAndSave("", values), 1);
    ASSERT_EQ(listing.Publish(), 1);
    const std::string id = listing.productId();
    ASSERT_FALSE(id.empty());
    EXPECT_EQ(
        ui.boxes(),
        (std::vector<ScriptedUi::Box>{{"Product Added", "Item #" + id +
                                                            " was succefully add to your sharable "
                                                            "directory."}}));

    const std::string photo(6000, '\x89');
    home.write("products/" + id + "/photo.png", photo);
    ASSERT_EQ(listing.AddAttachment(id + "/photo.png"), 1);
    const std::string listingPath = home.path() + "products/" + id + ".xml";
    ASSERT_EQ(ToggleFileScramble(listingPath), 1);

    // The marketplace lists it under the cleaned title.
    const auto found = test::records(endpoints::search("jerry", "SELLING"));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(test::field(found[0], "titlebar"), "Tom and Jerry number 2");
    EXPECT_EQ(test::field(found[0], "productid"), id);

    test::LoopbackListingServer server;
    ASSERT_NE(server.port(), 0);
    const auto served = test::fetchOverPeerProtocol(server.port(), id + ".xml");
    ASSERT_TRUE(served);
    EXPECT_EQ(*served, home.read("products/" + id + ".xml"));
    std::string plain = *served;
    scrambleBytes(plain);
    XmlDocument document;
    ASSERT_TRUE(document.loadXml(plain));
    EXPECT_EQ(document.selectSingleNode("/product/price").text(), "Make Offer");
    EXPECT_EQ(document.selectSingleNode("/product/attachment/attach").text(), id + "/photo.png");

    EXPECT_EQ(test::fetchOverPeerProtocol(server.port(), id + "\\photo.png"), photo);
    EXPECT_FALSE(test::fetchOverPeerProtocol(server.port(), "..\\" + id + ".xml"));
}

}  // namespace
}  // namespace tl
