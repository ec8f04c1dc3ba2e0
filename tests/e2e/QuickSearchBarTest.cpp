#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/frame/CLowerRight.h"
#include "gui/search/CQSearch.h"
#include "gui/search/ResultList.h"
#include "gui/widgets/Controls.h"
#include "ids_frame.h"
#include "support/MarketplaceFixture.h"

namespace tl {
namespace {

// Title, price, username, item #, size, speed, online mark and kind of a result row.
using Row = std::vector<std::string>;

std::vector<Row> shownRows(const ResultList& list) {
    std::vector<Row> rows;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        rows.emplace_back();
        for (int column : {1, 2, 3, 4, 6, 7, 9, 10})
            rows.back().push_back(list.topLevelItem(row)->text(column).toStdString());
    }
    return rows;
}

// Members publish listings of each kind through the listing document the new-listing form
// builds; the search bar's Search then fills the result view with what the marketplace holds,
// for each kind the member picks.
using QuickSearchBar = test::MarketplaceTest;

TEST_F(QuickSearchBar, EachKindListsTheMatchingListingsWithTheirPostersState) {
    logIn(seller);  // the buyer stays offline

    auto publish = [](const std::string& owner, const std::string& title, const std::string& price,
                      const std::string& kind) {
        ListingValues v = test::chairListing();
        v.username = owner;
        v.title = title;
        v.price = price;
        v.status = kind;
        CProductXml listing;
        EXPECT_EQ(listing.BuildAndSave("", v), 1);
        EXPECT_EQ(listing.Publish(), 1);
        return listing.productId();
    };
    const std::string table = publish("seller1", "Oak table", "-1", "Selling");
    const std::string chair = publish("buyer1", "Oak chair", "0", "Selling");
    const std::string lamp = publish("seller1", "Oak lamp", "12.50", "Buying");
    const std::string clock = publish("buyer1", "Oak clock", "5.99", "Buying");
    publish("seller1", "Pine box", "3", "Selling");
    {
        CProductXml listing;
        ASSERT_EQ(listing.OpenOwn(table), 1);
        ASSERT_EQ(listing.ReportFileSize(120 * 1024), 1);
    }
    ui.clear();

    QWidget window;
    auto* bar = new CLowerRight(&window);
    auto* results = new CQSearch(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(results);
    layout->addWidget(bar);
    test::ScopedViewSwitcher frame([results](View view) {
        if (view != View::SearchResults) return;
        results->hide();
        results->show();
    });
    window.show();

    const Row tableRow{"Oak table", "Make Offer", "seller1", table,
                       "120",       "Cable",      "On",      "selling"};
    const Row chairRow{"Oak chair", "Free", "buyer1", chair, "0", "Cable", "", "selling"};
    const Row lampRow{"Oak lamp", "12.50", "seller1", lamp, "0", "Cable", "On", "buying"};
    const Row clockRow{"Oak clock", "5.99", "buyer1", clock, "0", "Cable", "", "buying"};
    struct Case {
        int kind;
        std::vector<Row> rows;  // by item number
    };
    const std::vector<Case> cases = {
        {res::IDC_QS_WANTED, {lampRow, clockRow}},
        {res::IDC_QS_BOTH, {tableRow, chairRow, lampRow, clockRow}},
        {res::IDC_QS_FORSALE, {tableRow, chairRow}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        findControl<QRadioButton>(bar, c.kind)->click();
        findControl<QLineEdit>(bar, res::IDC_QS_CRITERIA)->setText("oak");
        findControl<QPushButton>(bar, res::IDC_QS_SEARCH)->click();
        EXPECT_EQ(shownRows(results->list()), c.rows);
    }
    EXPECT_TRUE(ui.boxes().empty());
}

}  // namespace
}  // namespace tl
