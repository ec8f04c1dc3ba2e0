#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTest>
#include <functional>
#include <set>

#include "SearchReplies.h"
#include "core/search/ResultQueries.h"
#include "gui/search/ResultList.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedHttpServer.h"

namespace tl {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows rowTexts(const ResultList& list) {
    Rows rows;
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        rows.emplace_back();
        for (int column = 0; column < list.columnCount(); ++column)
            rows.back().push_back(list.topLevelItem(row)->text(column).toStdString());
    }
    return rows;
}

std::vector<std::string> columnTexts(const ResultList& list, int column) {
    std::vector<std::string> texts;
    for (int row = 0; row < list.topLevelItemCount(); ++row)
        texts.push_back(list.topLevelItem(row)->text(column).toStdString());
    return texts;
}

bool showsBitmap(const QTreeWidgetItem* row, int bitmap) {
    const QImage shown =
        row->icon(0).pixmap(16, 16).toImage().convertToFormat(QImage::Format_RGB32);
    return !shown.isNull() &&
           shown == bitmapResource(bitmap).toImage().convertToFormat(QImage::Format_RGB32);
}

struct ResultListTest : ::testing::Test {
    test::ScriptedHttpServer server;
    test::ScopedServerHost host{server.host()};
    ResultListTest() {
        for (const char* page : {"search.asp", "advancedsearch.asp", "favorites.asp"})
            server.reply(std::string("/tradeloom/app/") + page, kThreeRowsReply);
    }
};

// Each list takes every record for sale or wanted, skips the rest without upsetting the rows
// after it, and sorts the rows by item number as numbers.
TEST_F(ResultListTest, EachListShowsItsColumnsOfTheRecordsSortedByItemNumber) {
    struct Case {
        const char* name;
        const ResultListLayout& layout;
        std::function<bool(ResultList&)> fill;
        std::set<int> hidden;
        Rows rows;
    };
    const std::vector<Case> cases = {
        {"quick search",
         quickSearchLayout(),
         [](ResultList& list) {
             QuickSearchQuery query("oak", "BOTH");
             return fillResultList(list, query);
         },
         {5, 8, 10},
         {{"", "Brass lamp", "12.50", "bob", "9", "", "3", "56K", "bob@example.org", "", "buying"},
          {"", "Oak table", "Make Offer", "ann", "12", "10.0.0.7", "120", "DSL", "ann@example.org",
           "On", "selling"},
          {"", "Pine chair", "Free", "cy", "100", "10.0.0.9", "0", "T1", "cy@example.org", "On",
           "buying"}}},
        {"advanced search",
         advancedSearchLayout(),
         [](ResultList& list) {
             AdvancedSearchQuery query({});
             return fillResultList(list, query);
         },
         {5, 9},
         {{"", "Brass lamp", "12.50", "bob", "9", "", "3", "56K", "", "buying"},
          {"", "Oak table", "Make Offer", "ann", "12", "10.0.0.7", "120", "DSL", "On", "selling"},
          {"", "Pine chair", "Free", "cy", "100", "10.0.0.9", "0", "T1", "Online", "buying"}}},
        {"favourites",
         favoritesLayout(),
         [](ResultList& list) {
             FavoritesQuery query("ann");
             return fillResultList(list, query);
         },
         {7, 8},
         {{"", "Brass lamp", "12.50", "bob", "9", "3", "56K", "buying", ""},
          {"", "Oak table", "Make Offer", "ann", "12", "120", "DSL", "On", ""},
          {"", "Pine chair", "Free", "cy", "100", "0", "T1", "Online", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResultList list(c.layout, nullptr);
        ASSERT_TRUE(c.fill(list));
        list.sortByItemNumber();
        EXPECT_EQ(rowTexts(list), c.rows);
        std::set<int> hidden;
        for (int column = 0; column < list.columnCount(); ++column)
            if (list.isColumnHidden(column)) hidden.insert(column);
        EXPECT_EQ(hidden, c.hidden);
        ASSERT_EQ(list.topLevelItemCount(), 3);
        EXPECT_TRUE(showsBitmap(list.topLevelItem(0), res::IDB_KIND_BUYING));
        EXPECT_TRUE(showsBitmap(list.topLevelItem(1), res::IDB_KIND_SELLING));
        EXPECT_TRUE(showsBitmap(list.topLevelItem(2), res::IDB_KIND_BUYING));
    }

    // A new fill replaces the rows; an empty result leaves none.
    ResultList list(quickSearchLayout(), nullptr);
    QuickSearchQuery full("", "BOTH");
    ASSERT_TRUE(fillResultList(list, full));
    server.reply("/tradeloom/app/search.asp", "<results/>");
    QuickSearchQuery empty("", "BOTH");
    EXPECT_FALSE(fillResultList(list, empty));
    EXPECT_EQ(list.topLevelItemCount(), 0);
}

// Header clicks sort in the clicked column's own direction and flip it; the first header sorts
// by the hidden kind column, hidden columns do nothing, and a new fill sorts by item number in
// its direction as the clicks left it.
TEST_F(ResultListTest, HeaderClicksSortByTheirColumnAndFlipItsDirection) {
    ResultList list(quickSearchLayout(), nullptr);
    list.resize(900, 300);
    list.show();
    auto fill = [&] {
        QuickSearchQuery query("", "BOTH");
        ASSERT_TRUE(fillResultList(list, query));
        list.sortByItemNumber();
    };
    auto click = [&](int column) {
        QHeaderView* header = list.header();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };
    fill();
    struct Step {
        std::function<void()> act;
        int column;  // the column to read after the step
        std::vector<std::string> texts;
    };
    const std::vector<Step> steps = {
        {[] {}, 4, {"9", "12", "100"}},
        {[&] { click(2); }, 2, {"Make Offer", "Free", "12.50"}},
        {[&] { click(2); }, 2, {"12.50", "Free", "Make Offer"}},
        {[&] { click(0); }, 10, {"buying", "buying", "selling"}},
        {[&] { click(0); }, 10, {"selling", "buying", "buying"}},
        {[&] { list.onHeaderClicked(5); }, 10, {"selling", "buying", "buying"}},
        {[&] { click(3); }, 3, {"ann", "bob", "cy"}},
        {[&] { click(4); }, 4, {"9", "12", "100"}},
        {fill, 4, {"100", "12", "9"}},
        {[&] { click(4); }, 4, {"100", "12", "9"}},
        {fill, 4, {"9", "12", "100"}},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        steps[i].act();
        EXPECT_EQ(columnTexts(list, steps[i].column), steps[i].texts);
    }
    // The kind image travels with its row.
    EXPECT_TRUE(showsBitmap(list.topLevelItem(1), res::IDB_KIND_SELLING));
}

}  // namespace
}  // namespace tl
