#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "core/platform/ServerHost.h"
#include "core/session/Session.h"

#include "gui/reflists/CCategoryDlg.h"
#include "gui/widgets/Controls.h"
#include "ids_app.h"
#include "ids_reflists.h"
#include "support/ScopedSettings.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

using Boxes = std::vector<ScriptedUi::Box>;

const ScriptedUi::Box kLoadingError{"Category Loading Error",
                                    "Error loading category list, check network connection"};

struct CategoryPickerTest : ::testing::Test {
    test::TempProgramDirectory home;
    ScriptedUi ui;
    test::ScopedServerHost host{"market.test:8080"};
    std::vector<View> shownViews;

    CategoryPickerTest() {
        session() = Session{};
        session().currentUserName = "ann lee";
        session().categoryFileName = "NewTLTree.xml";
        home.write("NewTLTree.xml",
                   "<root><Antiques><Furniture><Chairs/></Furniture><Clocks/></Antiques>"
                   "<Toys/></root>");
    }

    static QTreeWidget* tree(const CCategoryDlg& dialog) {
        return findControl<QTreeWidget>(&dialog, res::IDC_CATEGORY_TREE);
    }
    static void press(const CCategoryDlg& dialog, int id) {
        findControl<QPushButton>(&dialog, id)->click();
    }
    // Selects the first item with that label (searching the whole tree) and presses "Select".
    static std::string choose(CCategoryDlg& dialog, const QString& label) {
        const auto found = tree(dialog)->findItems(label, Qt::MatchExactly | Qt::MatchRecursive);
        EXPECT_FALSE(found.isEmpty()) << label.toStdString();
        if (!found.isEmpty()) tree(dialog)->setCurrentItem(found.front());
        press(dialog, res::IDOK);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        return dialog.chosenCategory();
    }
};

TEST_F(CategoryPickerTest, ShowsTheFileUnderTheTopItem) {
    CCategoryDlg dialog;
    EXPECT_EQ(dialog.objectName(), "dlg_203");
    EXPECT_EQ(dialog.windowTitle(), "Select Category");
    EXPECT_EQ(findControl<QPushButton>(&dialog, res::IDOK)->text(), "Select");
    EXPECT_EQ(findControl<QPushButton>(&dialog, res::IDCANCEL)->text(), "Cancel");
    EXPECT_EQ(findControl<QPushButton>(&dialog, res::IDC_CATEGORY_SUGGESTION)->text(),
              "Make Category Suggestion");
    ASSERT_EQ(tree(dialog)->topLevelItemCount(), 1);
    const QTreeWidgetItem* top = tree(dialog)->topLevelItem(0);
    EXPECT_EQ(top->text(0), "root");
    EXPECT_TRUE(top->isExpanded());
    ASSERT_EQ(top->childCount(), 1);
    EXPECT_EQ(top->child(0)->child(0)->child(0)->child(0)->text(0), "Chairs");
    EXPECT_TRUE(top->child(0)->child(0)->isExpanded());
    EXPECT_TRUE(ui.boxes().empty());
}

// The member sees the categories themselves at the top, without the items that only hold them,
// and a double-click on a category without subcategories chooses it.
TEST_F(CategoryPickerTest, ShowsTheCategoriesAtTheTopAndADoubleClickOnALeafChoosesIt) {
    const struct {
        QString label;
        bool chosen;
        std::string category;
    } cases[] = {
        {"Clocks", true, "Antiques; Clocks"},
        {"Toys", true, "Toys"},
        {"Chairs", true, "Furniture; Chairs"},
        {"Antiques", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label.toStdString());
        CCategoryDlg dialog;
        dialog.show();
        QTreeWidget* view = tree(dialog);
        const QModelIndex shownTop = view->rootIndex();
        ASSERT_EQ(view->model()->rowCount(shownTop), 2);
        EXPECT_EQ(view->model()->index(0, 0, shownTop).data().toString(), "Antiques");
        EXPECT_EQ(view->model()->index(1, 0, shownTop).data().toString(), "Toys");
        QTreeWidgetItem* item = view->findItems(c.label, Qt::MatchExactly | Qt::MatchRecursive)[0];
        view->scrollToItem(item);
        const QPoint at = view->visualItemRect(item).center();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.chosen);
        EXPECT_EQ(dialog.chosenCategory(), c.category);
    }
}

TEST_F(CategoryPickerTest, SelectGivesTheNameWithOneLevelOfParent) {
    for (const auto& [label, expected] :
         std::vector<std::pair<QString, std::string>>{{"Antiques", "Antiques"},
                                                      {"Toys", "Toys"},
                                                      {"Furniture", "Antiques; Furniture"},
                                                      {"Clocks", "Antiques; Clocks"},
                                                      {"Chairs", "Furniture; Chairs"}}) {
        CCategoryDlg dialog;
        EXPECT_EQ(choose(dialog, label), expected);
    }
}

TEST_F(CategoryPickerTest, TheTopItemGivesRootNothingSelectedGivesNothingCancelGivesNothing) {
    CCategoryDlg top;
    tree(top)->setCurrentItem(tree(top)->topLevelItem(0));
    press(top, res::IDOK);
    EXPECT_EQ(top.chosenCategory(), "root");

    CCategoryDlg none;
    press(none, res::IDOK);
    EXPECT_EQ(none.result(), QDialog::Accepted);
    EXPECT_EQ(none.chosenCategory(), "");

    CCategoryDlg cancelled;
    tree(cancelled)->setCurrentItem(tree(cancelled)->topLevelItem(0)->child(0));
    press(cancelled, res::IDCANCEL);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_EQ(cancelled.chosenCategory(), "");
}

TEST_F(CategoryPickerTest, AMissingOrMalformedFileShowsTheLoadingErrorAndOnlyTheTopItem) {
    for (const std::string& content : {std::string("<root><Antiques></root>"), std::string()}) {
        home.write("NewTLTree.xml", content);
        CCategoryDlg dialog;
        ASSERT_EQ(tree(dialog)->topLevelItemCount(), 1);
        EXPECT_EQ(tree(dialog)->topLevelItem(0)->text(0), "root");
        EXPECT_EQ(tree(dialog)->topLevelItem(0)->childCount(), 0);
    }
    session().categoryFileName = "Missing.xml";
    { CCategoryDlg dialog; }
    session().categoryFileName = "../NewTLTree.xml";  // never read from outside the folder
    { CCategoryDlg dialog; }
    EXPECT_EQ(ui.boxes(), Boxes(4, kLoadingError));
    EXPECT_EQ(ui.icons(), std::vector<MessageIcon>(4, MessageIcon::Exclamation));
}

TEST_F(CategoryPickerTest, AnEmptyCategoryFileNameLeavesTheTreeEmptyWithoutAMessage) {
    session().categoryFileName = "";
    CCategoryDlg dialog;
    EXPECT_EQ(tree(dialog)->topLevelItemCount(), 0);
    EXPECT_TRUE(ui.boxes().empty());
    press(dialog, res::IDOK);
    EXPECT_EQ(dialog.chosenCategory(), "");
}

TEST_F(CategoryPickerTest, SuggestionOpensTheSuggestionPageInTheWebPaneAndEndsWithNoCategory) {
    const test::ScopedViewSwitcher frame([this](View view) { shownViews.push_back(view); });
    CCategoryDlg dialog;
    tree(dialog)->setCurrentItem(tree(dialog)->topLevelItem(0)->child(0));
    press(dialog, res::IDC_CATEGORY_SUGGESTION);
    EXPECT_EQ(session().webAddress,
              "http://market.test:8080/tradeloom/app/catSuggestions.asp?senderid=ann%20lee");
    EXPECT_EQ(shownViews, std::vector<View>{View::WebPane});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenCategory(), "");
}

TEST_F(CategoryPickerTest, SuggestionWithoutAMainFrameKeepsThePickerOpen) {
    CCategoryDlg dialog;
    dialog.show();
    press(dialog, res::IDC_CATEGORY_SUGGESTION);
    EXPECT_EQ(session().webAddress,
              "http://market.test:8080/tradeloom/app/catSuggestions.asp?senderid=ann%20lee");
    EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
}  // namespace tl
