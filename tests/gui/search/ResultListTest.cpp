#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>
#include <functional>

#include "SearchReplies.h"
#include "core/search/ResultQueries.h"
#include "gui/listings/CViewMyProd.h"
#include "gui/search/ResultList.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"
#include "support/WaitForEvents.h"

namespace tl {
namespace {

// Each row as its column texts joined by "|", then its kind image ("S" or "B"); the hidden
// columns as their indexes.
std::vector<std::string> shown(const ResultList& list, std::string* hidden) {
    static const QImage selling = bitmapResource(res::IDB_KIND_SELLING).toImage();
    std::vector<std::string> rows;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list.topLevelItem(row);
        std::string text;
        for (int column = 0; column < list.columnCount(); ++column)
            text += item->text(column).toStdString() + "|";
        const QImage image = item->icon(0).pixmap(16, 16).toImage();
        rows.push_back(text + (image.convertToFormat(selling.format()) == selling ? "S" : "B"));
    }
    for (int column = 0; column < list.columnCount(); ++column)
        if (list.isColumnHidden(column)) *hidden += std::to_string(column) + " ";
    return rows;
}

std::vector<std::string> column(const ResultList& list, int index) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.topLevelItemCount(); ++row)
        texts.push_back(list.topLevelItem(row)->text(index).toStdString());
    return texts;
}

struct ResultListTest : ::testing::Test {
    test::ScriptedHttpServer server;
    test::ScopedServerHost host{server.host()};
    ResultListTest() {
        for (const char* page : {"search.asp", "advancedsearch.asp", "favorites.asp"})
            server.reply(std::string("/tradeloom/app/") + page, kThreeRowsReply);
    }
};

// Each list takes the records for sale and wanted, skips one of another kind without upsetting
// the rows after it, and sorts by item number as numbers; an empty reply empties the list.
TEST_F(ResultListTest, EachListShowsItsColumnsOfTheRecordsSortedByItemNumber) {
    struct Case {
        const ResultListLayout& layout;
        std::function<bool(ResultList&)> fill;
        std::string hidden;
        std::vector<std::string> rows;
    };
    auto run = [](auto query) {
        return [query](ResultList& list) mutable { return fillResultList(list, *query); };
    };
    // clang-format off
    const std::vector<Case> cases = {
        {quickSearchLayout(), run(std::make_shared<QuickSearchQuery>("oak", "BOTH")), "5 8 10 ",
         {"|Brass lamp|12.50|bob|9||3|56K|bob@example.org||buying|B",
          "|Oak table|Make Offer|ann|12|10.0.0.7|120|DSL|ann@example.org|On|selling|S",
          "|Pine chair|Free|cy|100|10.0.0.9|0|T1|cy@example.org|On|buying|B"}},
        {advancedSearchLayout(), run(std::make_shared<AdvancedSearchQuery>(endpoints::AdvancedCriteria{})), "5 9 ",
         {"|Brass lamp|12.50|bob|9||3|56K||buying|B",
          "|Oak table|Make Offer|ann|12|10.0.0.7|120|DSL|On|selling|S",
          "|Pine chair|Free|cy|100|10.0.0.9|0|T1|Online|buying|B"}},
        {favoritesLayout(), run(std::make_shared<FavoritesQuery>("ann")), "7 8 ",
         {"|Brass lamp|12.50|bob|9|3|56K|buying||B",
          "|Oak table|Make Offer|ann|12|120|DSL|On||S",
          "|Pine chair|Free|cy|100|0|T1|Online||B"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hidden);
        ResultList list(c.layout, nullptr);
        ASSERT_TRUE(c.fill(list));
        list.sortByItemNumber();
        std::string hidden;
        EXPECT_EQ(shown(list, &hidden), c.rows);
        EXPECT_EQ(hidden, c.hidden);

        server.reply("/tradeloom/app/search.asp", "<results/>");
        QuickSearchQuery empty("", "BOTH");
        EXPECT_FALSE(fillResultList(list, empty));
        EXPECT_EQ(list.topLevelItemCount(), 0);
        server.reply("/tradeloom/app/search.asp", kThreeRowsReply);
    }
}

// Header clicks sort in the clicked column's own direction and flip it; the first header sorts
// by the hidden kind column, hidden columns do nothing, and a new fill sorts by item number in
// the direction the clicks left it.
TEST_F(ResultListTest, HeaderClicksSortByTheirColumnAndFlipItsDirection) {
    ResultList list(quickSearchLayout(), nullptr);
    list.resize(900, 300);
    list.show();
    auto fill = [&] {
        QuickSearchQuery query("", "BOTH");
        ASSERT_TRUE(fillResultList(list, query));
        list.sortByItemNumber();
    };
    auto click = [&](int index) {
        return [&list, index] {
            QHeaderView* header = list.header();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              {header->sectionViewportPosition(index) + 5, header->height() / 2});
        };
    };
    struct Step {
        std::function<void()> act;
        int column;  // read after the step
        std::vector<std::string> texts;
    };
    // clang-format off
    const std::vector<Step> steps = {
        {fill,                               4,  {"9", "12", "100"}},
        {click(2),                           2,  {"Make Offer", "Free", "12.50"}},
        {click(2),                           2,  {"12.50", "Free", "Make Offer"}},
        {click(0),                           10, {"buying", "buying", "selling"}},
        {click(0),                           10, {"selling", "buying", "buying"}},
        {[&] { list.onHeaderClicked(5); },   10, {"selling", "buying", "buying"}},
        {click(4),                           4,  {"9", "12", "100"}},
        {fill,                               4,  {"100", "12", "9"}},
        {click(4),                           4,  {"100", "12", "9"}},
        {fill,                               4,  {"9", "12", "100"}},
    };
    // clang-format on
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        steps[i].act();
        EXPECT_EQ(column(list, steps[i].column), steps[i].texts);
    }
}

// The columns of price, speed, status and type are wide enough for their longest values before
// any row arrives and stay so once the rows are in; the title takes what the others leave and
// alone grows with the list.
TEST(ResultListColumns, FixedColumnsFitTheirLongestValuesAndTheTitleTakesTheRest) {
    using K = ListingKind;
    ResultRecord widest;
    widest.productid = "123456";
    widest.titlebar = "A title";
    widest.ipaddress = "10.0.0.7";
    widest.connection = "I Don't Know";
    widest.price = "-1";
    widest.status = "Buying";
    struct Case {
        const char* name;
        const ResultListLayout& layout;
        std::vector<int> fitted;  // price, speed, status and type columns
        std::vector<K> kinds;
    };
    const std::vector<Case> cases = {
        {"quick", quickSearchLayout(), {0, 2, 7, 9}, {K::Buying, K::Selling}},
        {"advanced", advancedSearchLayout(), {0, 2, 7, 8}, {K::Buying, K::Selling}},
        {"favourites", favoritesLayout(), {0, 2, 6}, {K::Buying, K::Selling}},
        {"my listings",
         myListingsLayout(),
         {0, 2},
         {K::Buying, K::Selling, K::Sold, K::Bought, K::Inactive}},
    };
    const auto settle = [] {
        test::waitForEvents([] { return false; }, std::chrono::milliseconds(20));
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResultList empty(c.layout, nullptr);
        ResultList filled(c.layout, nullptr);
        std::vector<ListedRecord> rows;
        for (K kind : c.kinds) rows.push_back({widest, kind});
        filled.addRows(rows);
        for (ResultList* list : {&empty, &filled}) {
            list->resize(700, 300);
            list->show();
        }
        settle();
        for (int column : c.fitted) {
            SCOPED_TRACE(column);
            const int needed =
                static_cast<const QAbstractItemView&>(filled).sizeHintForColumn(column);
            EXPECT_GE(empty.columnWidth(column), needed);
            EXPECT_GE(filled.columnWidth(column), needed);
        }
        const int title = filled.columnWidth(kTitleColumn);
        EXPECT_EQ(filled.header()->length(), filled.viewport()->width());
        filled.resize(900, 300);
        settle();
        EXPECT_EQ(filled.columnWidth(kTitleColumn), title + 200);
        EXPECT_EQ(filled.header()->length(), filled.viewport()->width());
    }
}

}  // namespace
}  // namespace tl
