#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLineEdit>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/listings/ListingOperations.h"
#include "core/search/ResultQueries.h"
#include "gui/listings/CProdEditView.h"
#include "gui/listings/CViewMyProd.h"
#include "gui/search/ResultList.h"
#include "gui/session/ListSelection.h"
#include "gui/widgets/Controls.h"
#include "ids_listings.h"
#include "support/MarketplaceFixture.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;
using Rows = std::vector<std::pair<std::string, std::string>>;

// The seller and the buyer, both logged in, with one listing of the seller's published, stored
// scrambled and served from the seller's computer.
class MyListingsRoad : public test::MarketplaceTest {
protected:
    MyListingsRoad() {
        logIn(buyer);
        logIn(seller);
        id = publishSellersListing({});
        serveSellersListings();
        ui.clear();
    }

    void actAsSeller() { actAs(seller); }
    void actAsBuyer() { actAs(buyer); }

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
        const ResultList& list = view.list();
        for (int row = 0; row < list.topLevelItemCount(); ++row) {
            const QTreeWidgetItem* item = list.topLevelItem(row);
            if (item->text(CViewMyProd::ItemNumberColumn).toStdString() == id)
                return {item->text(CViewMyProd::TypeColumn).toStdString(),
                        item->text(CViewMyProd::UserColumn).toStdString()};
        }
        return {};
    }

    test::ScopedViewSwitcher frame{[](View) {}};
    std::string id;
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
    const DownloadOutcome outcome = downloadListing({id, seller.address}, downloadFromSeller());
    EXPECT_TRUE(outcome.fromSeller);
    EXPECT_EQ(outcome.attachmentsStored, 1);
    EXPECT_EQ(home.read("downloads/" + id + "/walnut.jpg"), photo);
}

// Another member's computer can neither inactivate nor remove the listing.
TEST_F(MyListingsRoad, AnotherMembersComputerChangesNothing) {
    const Rows listed = {{id, "Make Offer"}};
    ASSERT_EQ(found("Jerry"), listed);
    actAsBuyer();
    EXPECT_EQ(Inactivate(id), 0);
    EXPECT_EQ(Remove(id), 0);
    EXPECT_EQ(found("Jerry"), listed);
    const std::string notChanged =
        "Item " + id +
        " was not changed: the marketplace takes changes to a listing only from the computer its "
        "owner is logged in on.";
    EXPECT_EQ(ui.boxes(), (Boxes{{"Not Changed", notChanged}, {"Not Changed", notChanged}}));
}

TEST_F(MyListingsRoad, AnInactiveListingLeavesTheSearchUntilItIsReactivated) {
    ASSERT_EQ(Inactivate(id), 1);
    EXPECT_TRUE(found("Jerry").empty());
    EXPECT_EQ(myListingsRow(), std::make_pair(std::string("inactive"), std::string("seller1")));
    ASSERT_EQ(Reactivate(id), 1);
    EXPECT_EQ(found("Jerry"), (Rows{{id, "Make Offer"}}));
    EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(MyListingsRoad, ASaleShowsOnBothMembersLists) {
    ASSERT_EQ(Sell(id, "buyer1", "seller1", 55.0f), 1);
    EXPECT_EQ(myListingsRow(), std::make_pair(std::string("sold"), std::string("seller1")));
    actAsBuyer();
    EXPECT_EQ(myListingsRow(), std::make_pair(std::string("bought"), std::string("seller1")));
    EXPECT_TRUE(ui.boxes().empty());
}

}  // namespace
}  // namespace tl
