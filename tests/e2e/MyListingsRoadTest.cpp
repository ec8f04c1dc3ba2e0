#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "MarketTestServer.h"
#include "core/listings/CProductXml.h"
#include "core/listings/FileScramble.h"
#include "core/listings/ListingOperations.h"
#include "core/peer/CServerThread.h"
#include "core/peer/ListingDownload.h"
#include "core/search/ResultQueries.h"
#include "core/session/Login.h"
#include "gui/listings/CProdEditView.h"
#include "gui/listings/CViewMyProd.h"
#include "gui/session/ListSelection.h"
#include "gui/widgets/CSortListCtrl.h"
#include "gui/widgets/Controls.h"
#include "ids_listings.h"
#include "support/SampleListing.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;
using Rows = std::vector<std::pair<std::string, std::string>>;

constexpr char kSellerAddress[] = "127.0.0.2";
constexpr char kBuyerAddress[] = "127.0.0.3";

// The seller (seller1 at 127.0.0.2) and the buyer (buyer1 at 127.0.0.3), both logged in, with
// one listing of the seller's published, stored scrambled and served from the seller's computer.
class MyListingsRoad : public ::testing::Test {
protected:
    MyListingsRoad() {
        EXPECT_EQ(test::registerMember("seller1"), "0");
        EXPECT_EQ(test::registerMember("buyer1"), "0");
        actAsBuyer();
        EXPECT_EQ(loginRequest("buyer1", "secret1"), kLoginOk);
        actAsSeller();
        EXPECT_EQ(loginRequest("seller1", "secret1"), kLoginOk);
        ListingValues values = test::chairListing();
        values.username = "seller1";
        CProductXml listing;
        EXPECT_EQ(listing.BuildAndSave("", values), 1);
        EXPECT_EQ(listing.Publish(), 1);
        id = listing.productId();
        EXPECT_EQ(ToggleFileScramble(home.path() + "products/" + id + ".xml"), 1);
        CServerThread::Settings settings;
        settings.port = 0;
        settings.bindAddress = kSellerAddress;
        seller = std::make_unique<CServerThread>(settings);
        EXPECT_TRUE(seller->start());
        ui.clear();
    }

    void actAsSeller() {
        bind.emplace("TRADELOOM_BIND", kSellerAddress);
        session().currentUserName = "seller1";
    }
    void actAsBuyer() {
        bind.emplace("TRADELOOM_BIND", kBuyerAddress);
        session().currentUserName = "buyer1";
    }

    // The item numbers and prices a quick search for the text lists.
    static Rows found(const std::string& text) {
        Rows rows;
        QuickSearchQuery query(text, "BOTH");
        if (!query.Run()) return rows;
        do rows.emplace_back(query.GetProductid(), query.GetPrice());
        while (query.Next());
        return rows;
    }

    // The type and user columns of the list row with the item number, as the member sees them.
    std::pair<std::string, std::string> myListingsRow() const {
        CViewMyProd view;
        view.show();
        const CSortListCtrl& list = view.list();
        for (int row = 0; row < list.topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = list.topLevelItem(row);
            if (item->text(CViewMyProd::ItemNumberColumn).toStdString() == id)
                return {item->text(CViewMyProd::TypeColumn).toStdString(),
                        item->text(CViewMyProd::UserColumn).toStdString()};
        }
        return {};
    }

    test::TempProgramDirectory home;
    test::MarketTestServer market;
    test::ScopedSessionValues values;
    ScriptedUi ui;
    test::ScopedViewSwitcher frame{[](int) {}};
    std::optional<test::ScopedEnv> bind;
    std::string id;
    std::unique_ptr<CServerThread> seller;
};

// The seller changes the title and the price and adds a photo on the edit form; the buyer's
// search finds the new title at the new price and opens the listing with the new photo.
TEST_F(MyListingsRoad, AnEditedListingIsFoundByItsNewTextAndOpensWithItsNewPhoto) {
    const std::string photo(5000, 'w');
    home.write("pictures/walnut.jpg", photo);
    listSelection().selectedListingId = id;
    CProdEditView form;
    form.show();
    findControl<QLineEdit>(&form, res::IDC_ITEM_TITLE)->setText("Walnut rocking chair");
    findControl<QLineEdit>(&form, res::IDC_ITEM_PRICE)->setText("45");
    ui.chooseFile(home.path() + "pictures/walnut.jpg");
    findControl<QAbstractButton>(&form, res::IDC_ITEM_ATTACH)->click();
    form.Submit();
    ASSERT_EQ(ui.boxes(),
              (Boxes{{"Operation Complete", "Product " + id + " succesfully Updated"}}));

    actAsBuyer();
    EXPECT_TRUE(found("Tom").empty());
    EXPECT_EQ(found("walnut"), (Rows{{id, "45"}}));
    DownloadSettings settings;
    settings.port = seller->port();
    const DownloadOutcome outcome = downloadListing({id, kSellerAddress}, settings);
    EXPECT_TRUE(outcome.fromSeller);
    EXPECT_EQ(outcome.attachmentsStored, 1);
    EXPECT_EQ(home.read("downloads/" + id + "/walnut.jpg"), photo);
}

// A sale shows on both members' lists; an inactive listing leaves the search until it is
// reactivated; another member's computer can change none of it.
TEST_F(MyListingsRoad, SaleInactivationAndReactivationShowWhereMembersLook) {
    const Rows listed = {{id, "Make Offer"}};
    ASSERT_EQ(found("Jerry"), listed);

    actAsBuyer();
    EXPECT_EQ(Inactivate(id), 0);
    EXPECT_EQ(Remove(id), 0);
    EXPECT_EQ(found("Jerry"), listed);

    actAsSeller();
    ASSERT_EQ(Inactivate(id), 1);
    EXPECT_TRUE(found("Jerry").empty());
    EXPECT_EQ(myListingsRow(), std::make_pair(std::string("inactive"), std::string("seller1")));
    ASSERT_EQ(Reactivate(id), 1);
    EXPECT_EQ(found("Jerry"), listed);

    ASSERT_EQ(Sell(id, "buyer1", 55.0f), 1);
    EXPECT_EQ(myListingsRow(), std::make_pair(std::string("sold"), std::string("seller1")));
    actAsBuyer();
    EXPECT_EQ(myListingsRow(), std::make_pair(std::string("bought"), std::string("seller1")));

    const std::string notChanged =
        "Item " + id +
        " was not changed: the marketplace takes changes to a listing only from the computer its "
        "owner is logged in on.";
    EXPECT_EQ(ui.boxes(), (Boxes{{"Not Changed", notChanged}, {"Not Changed", notChanged}}));
}

}  // namespace
}  // namespace tl
