#include <gtest/gtest.h>

#include <QTest>

#include "gui/widgets/CPriceEdit.h"
#include "gui/widgets/CSortListCtrl.h"

namespace tl {
namespace {

TEST(PriceEditTest, KeepsOnlyTheFirstPoint) {
    CPriceEdit price;
    QTest::keyClicks(&price, "1.2.3");
    EXPECT_EQ(price.text(), "1.23");
}

TEST(PriceEditTest, DropsLettersAndSymbolsButPassesDigitsSpaceAndQuote) {
    CPriceEdit price;
    QTest::keyClicks(&price, "a1Z$2(x)-+ \"9?");
    EXPECT_EQ(price.text(), "12 \"9");
    for (char symbol : std::string("`~!@#$%^&*()_+-|=\\[];',/{}:<>?"))
        EXPECT_TRUE(CPriceEdit::isRefusedCharacter(QChar(symbol))) << symbol;
    for (char passed : std::string("0123456789. \""))
        EXPECT_FALSE(CPriceEdit::isRefusedCharacter(QChar(passed))) << passed;
    QTest::keyClick(&price, Qt::Key_Backspace);
    EXPECT_EQ(price.text(), "12 \"");
}

TEST(PriceEditTest, APointMayReplaceASelectionHoldingThePoint) {
    CPriceEdit price;
    price.setText("1.50");
    price.setSelection(1, 2);  // ".5"
    QTest::keyClicks(&price, ".");
    EXPECT_EQ(price.text(), "1.0");
    price.setSelection(2, 1);  // "0": the point stays outside the selection
    QTest::keyClicks(&price, ".");
    EXPECT_EQ(price.text(), "1.0");
}

struct SortListTest : ::testing::Test {
    CSortListCtrl list;

    SortListTest() {
        list.setColumnCount(7);
        list.setHeaderLabels({"Title", "Seller", "Price", "Kind", "Size", "Id", "Speed"});
    }
    void addRow(const QString& title, const QString& price, int data = 0) {
        auto* row = new QTreeWidgetItem(&list);
        row->setText(0, title);
        row->setText(1, title.toUpper());
        row->setText(2, price);
        row->setData(0, Qt::UserRole, data);
    }
    QStringList column(int index) const {
        QStringList texts;
        for (int row = 0; row < list.topLevelItemCount(); ++row)
            texts << list.topLevelItem(row)->text(index);
        return texts;
    }
};

TEST_F(SortListTest, PriceColumnPutsMakeOfferBeforeFreeBeforePrices) {
    addRow("lamp", "12.50");
    addRow("desk", "Make Offer");
    addRow("bike", "100");
    addRow("book", "Free");
    addRow("pen", "3");
    ASSERT_TRUE(list.SortColumn(2, true, 0, -1));
    EXPECT_EQ(column(2), (QStringList{"Make Offer", "Free", "3", "12.50", "100"}));
    EXPECT_EQ(column(0), (QStringList{"desk", "book", "pen", "lamp", "bike"}));
    ASSERT_TRUE(list.SortColumn(2, false, 0, -1));
    EXPECT_EQ(column(2), (QStringList{"100", "12.50", "3", "Free", "Make Offer"}));
}

TEST_F(SortListTest, NumbersAreTheLeadingDecimalOfTheText) {
    // The list's text and a record's raw field give the same number.
    const struct {
        const char* text;
        double number;
    } cases[] = {{"Make Offer", -1}, {"Free", 0}, {"5.99 each", 5.99}, {"$5", 0}, {"", 0},
                 {"free", 0},        {"0x10", 0}, {"-1.0000", -1},     {"+7", 7}, {"-.", 0},
                 {".5", 0.5},        {"12.", 12}};
    for (const auto& c : cases) {
        EXPECT_EQ(CSortListCtrl::numericValue(QString::fromLatin1(c.text)), c.number) << c.text;
        EXPECT_EQ(CSortListCtrl::numericValue(std::string_view(c.text)), c.number) << c.text;
    }
    // A digit of another script is no number; a long one is read whole.
    EXPECT_EQ(CSortListCtrl::numericValue(QString::fromUtf8("\u0663")), 0);
    EXPECT_EQ(CSortListCtrl::numericValue(QString(70, u'1') + "x"), QString(70, u'1').toDouble());
}

TEST_F(SortListTest, TextColumnsIgnoreCaseAndRowsMoveWhole) {
    addRow("cherry", "1", 30);
    addRow("Apple", "2", 10);
    addRow("banana", "3", 20);
    list.topLevelItem(0)->setSelected(true);
    list.topLevelItem(0)->setIcon(0, QIcon(QPixmap(4, 4)));
    ASSERT_TRUE(list.SortColumn(0, true));
    EXPECT_EQ(column(0), (QStringList{"Apple", "banana", "cherry"}));
    EXPECT_EQ(column(1), (QStringList{"APPLE", "BANANA", "CHERRY"}));
    EXPECT_EQ(column(2), (QStringList{"2", "3", "1"}));
    EXPECT_EQ(list.topLevelItem(0)->data(0, Qt::UserRole).toInt(), 10);
    EXPECT_EQ(list.topLevelItem(2)->data(0, Qt::UserRole).toInt(), 30);
    EXPECT_TRUE(list.topLevelItem(2)->isSelected());
    EXPECT_FALSE(list.topLevelItem(0)->isSelected());
    EXPECT_FALSE(list.topLevelItem(2)->icon(0).isNull());
    EXPECT_TRUE(list.topLevelItem(0)->icon(0).isNull());
}

TEST_F(SortListTest, SortsOnlyTheRangeAndRefusesAMissingColumn) {
    for (const char* price : {"9", "8", "7", "6", "5"}) addRow(price, price);
    ASSERT_TRUE(list.SortColumn(2, true, 1, 3));
    EXPECT_EQ(column(2), (QStringList{"9", "6", "7", "8", "5"}));
    EXPECT_FALSE(list.SortColumn(7, true));
    EXPECT_EQ(column(2), (QStringList{"9", "6", "7", "8", "5"}));
}

TEST_F(SortListTest, ManyRowsWithRepeatsEndInOrder) {
    std::vector<int> values;
    for (int i = 0; i < 200; ++i) values.push_back((i * 37) % 23);
    for (int value : values) addRow(QString::number(value), QString::number(value));
    ASSERT_TRUE(list.SortColumn(2, true));
    std::sort(values.begin(), values.end());
    QStringList expected;
    for (int value : values) expected << QString::number(value);
    EXPECT_EQ(column(2), expected);
}

TEST_F(SortListTest, ALeftClickSelectsAndFocusesTheRowWhateverKeysAreHeld) {
    addRow("lamp", "1");
    addRow("desk", "2");
    list.resize(400, 200);
    list.show();
    // A plain list lets Ctrl take the selection away from the row clicked.
    const struct {
        Qt::KeyboardModifiers keys;
        int row;
    } clicks[] = {{{}, 1},
                  {Qt::ControlModifier, 1},
                  {Qt::ControlModifier, 0},
                  {Qt::ShiftModifier, 1},
                  {Qt::ControlModifier, 1}};
    for (const auto& click : clicks) {
        SCOPED_TRACE(click.row);
        QTreeWidgetItem* row = list.topLevelItem(click.row);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, click.keys,
                          list.visualItemRect(row).center());
        EXPECT_EQ(list.currentItem(), row);
        EXPECT_EQ(list.selectedItems(), QList<QTreeWidgetItem*>{row});
    }
}

}  // namespace
}  // namespace tl
