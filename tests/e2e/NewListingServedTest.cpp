// A member adds a listing with two photos through the new-listing form; another member's
// client, played by a plain socket, then fetches the listing and both photos from the member's
// listing server, byte for byte.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <random>
#include <string>
#include <vector>

#include "LoopbackListingServer.h"
#include "PeerFetch.h"
#include "core/listings/FileScramble.h"
#include "core/platform/XmlDocument.h"
#include "gui/listings/CView3.h"
#include "gui/widgets/Controls.h"
#include "ids_listings.h"
#include "support/MarketplaceFixture.h"

namespace tl::test {
namespace {

std::string randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(generator());
    return bytes;
}

using NewListingServed = MarketplaceTest;

TEST_F(NewListingServed, AddedListingAndItsPhotosReachAnotherMember) {
    // Logged in, so that the marketplace takes the listing's changes from this computer.
    logIn(seller);
    std::vector<View> shownViews;
    const ScopedViewSwitcher frame([&](View view) { shownViews.push_back(view); });

    const std::string front = randomBytes(70000, 1), back = randomBytes(3000, 2);
    home.write("camera/front.jpg", front);
    home.write("camera/back.jpg", back);

    CView3 form;
    form.show();
    auto edit = [&](int id, const char* text) { findControl<QLineEdit>(&form, id)->setText(text); };
    edit(res::IDC_ITEM_TITLE, "Brass lamp");
    findControl<QPlainTextEdit>(&form, res::IDC_ITEM_DESCRIPTION)->setPlainText("Works well");
    edit(res::IDC_ITEM_ZIPCODE, "12345");
    edit(res::IDC_ITEM_QUANTITY, "1");
    edit(res::IDC_ITEM_PRICE, "25.00");
    edit(res::IDC_ITEM_CATEGORY1, "Antiques; Furniture");
    findControl<QAbstractButton>(&form, 1227)->click();
    for (const char* photo : {"camera/front.jpg", "camera/back.jpg"}) {
        ui.chooseFile(home.path() + photo);
        findControl<QAbstractButton>(&form, res::IDC_ITEM_ATTACH)->click();
    }
    findControl<QAbstractButton>(&form, res::IDC_ITEM_ADD)->click();

    // The marketplace stored it, with the photos' size in kilobytes.
    const auto mine = records(endpoints::myListings(seller.name));
    ASSERT_EQ(mine.size(), 1u);
    const std::string id = field(mine[0], "productid");
    EXPECT_EQ(field(mine[0], "titlebar"), "Brass lamp");
    EXPECT_EQ(field(mine[0], "filesize"), "71");
    ASSERT_EQ(
        ui.boxes(),
        (std::vector<ScriptedUi::Box>{
            {"Product Added", "Item #" + id + " was succefully add to your sharable directory."}}));
    EXPECT_EQ(shownViews, std::vector<View>{View::WebPane});

    LoopbackListingServer listingServer;
    ASSERT_NE(listingServer.port(), 0);

    // The listing travels as stored: scrambled.
    const std::optional<std::string> listing =
        fetchOverPeerProtocol(listingServer.port(), id + ".xml");
    ASSERT_TRUE(listing.has_value());
    EXPECT_EQ(*listing, home.read("products/" + id + ".xml"));
    std::string plain = *listing;
    scrambleBytes(plain);
    XmlDocument document;
    ASSERT_TRUE(document.loadXml(plain));
    std::vector<std::string> entries;
    for (const XmlNode& entry : document.elementsByTagName("attach"))
        entries.push_back(entry.text());
    ASSERT_EQ(entries, (std::vector<std::string>{id + "/front.jpg", id + "/back.jpg"}));

    // Attachments are asked for with "\" as the folder separator.
    EXPECT_EQ(fetchOverPeerProtocol(listingServer.port(), id + "\\front.jpg"), front);
    EXPECT_EQ(fetchOverPeerProtocol(listingServer.port(), id + "\\back.jpg"), back);
}

}  // namespace
}  // namespace tl::test
