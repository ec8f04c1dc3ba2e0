#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "NewListingFixture.h"
#include "gui/listings/CAddLeft.h"
#include "gui/reflists/CCategoryDlg.h"
#include "ids_reflists.h"

#include <algorithm>
#include <functional>

namespace tl::test {
namespace {

using NewListingFormTest = NewListingTest;

TEST_F(NewListingFormTest, StartsWithEveryControlItsLimitsAndTheStartingChoices) {
    auto form = shownForm();
    EXPECT_EQ(form->objectName(), "dlg_132");
    const std::pair<int, int> limits[] = {{res::IDC_ITEM_TITLE, 100},
                                          {res::IDC_ITEM_ZIPCODE, 50},
                                          {res::IDC_ITEM_PRICE, 50},
                                          {res::IDC_ITEM_QUANTITY, 10},
                                          {res::IDC_ITEM_HYPERLINK, 250}};
    for (const auto& [id, limit] : limits)
        EXPECT_EQ(control<QLineEdit>(*form, id)->maxLength(), limit) << id;
    EXPECT_TRUE(control<QLineEdit>(*form, res::IDC_ITEM_CATEGORY1)->isReadOnly());
    for (int id : {res::IDC_ITEM_FORSALE, res::IDC_ITEM_BUYER_PAYS, res::IDC_ITEM_SHIP_US,
                   res::IDC_ITEM_ESCROW_NONE})
        EXPECT_TRUE(control<QAbstractButton>(*form, id)->isChecked()) << id;
    for (int id :
         {res::ID_ITEM_ADD, res::ID_ITEM_PREVIEW, res::ID_ITEM_CLEAR, res::IDC_ITEM_ATTACH_BITMAP,
          res::IDC_ITEM_REMOVE_BITMAP, res::IDC_ITEM_SELECT_BITMAP, res::IDC_ITEM_ADD_BITMAP})
        EXPECT_TRUE(control(*form, id)->isHidden()) << id;
    for (int id :
         {res::IDC_ITEM_ATTACH, res::IDC_ITEM_REMOVE_ATTACH, res::IDC_ITEM_SELECT_CATEGORY1,
          res::IDC_ITEM_SELECT_CATEGORY2, res::IDC_ITEM_ADD})
        EXPECT_FALSE(control<QAbstractButton>(*form, id)->icon().isNull()) << id;

    // The description is cut at 1024 characters.
    auto* description = control<QPlainTextEdit>(*form, res::IDC_ITEM_DESCRIPTION);
    description->setPlainText(QString(1100, 'd'));
    EXPECT_EQ(description->toPlainText().size(), 1024);
}

TEST_F(NewListingFormTest, PriceBoxDropsLettersAndTypingUnchecksTheOfferChoices) {
    auto form = shownForm();
    auto* price = control<QLineEdit>(*form, res::IDC_ITEM_PRICE);
    click(*form, res::IDC_ITEM_FREE);
    EXPECT_TRUE(control<QAbstractButton>(*form, res::IDC_ITEM_FREE)->isChecked());
    price->clear();
    QTest::keyClicks(price, "5a.9$.9");
    EXPECT_EQ(price->text(), "5.99");
    EXPECT_FALSE(control<QAbstractButton>(*form, res::IDC_ITEM_FREE)->isChecked());
    EXPECT_FALSE(control<QAbstractButton>(*form, res::IDC_ITEM_MAKE_OFFER)->isChecked());
}

TEST_F(NewListingFormTest, PhotosAreAddedFromTheFileDialogAndRemovedBySelection) {
    auto form = shownForm();
    auto* list = control<QListWidget>(*form, res::IDC_ITEM_ATTACHMENTS);
    attach(*form, {"/pictures/a.jpg", "", "/pictures/b.jpg"});  // the second pick is cancelled
    ASSERT_EQ(list->count(), 2);
    list->setCurrentRow(0);
    click(*form, res::IDC_ITEM_REMOVE_ATTACH);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "b.jpg");  // the file name; the whole path on hover
    EXPECT_EQ(list->item(0)->toolTip(), "/pictures/b.jpg");
}

// At the size the main window gives the form on first start, a usual category and a photo's
// name show whole.
TEST_F(NewListingFormTest, CategoryAndPhotoNamesFitTheirBoxesAtTheDefaultSize) {
    auto form = shownForm();
    form->resize(740, 520);
    attach(*form, {"/home/ann/Pictures/Summer holidays 2026/front-of-the-oak-table.jpg"});
    auto* photos = control<QListWidget>(*form, res::IDC_ITEM_ATTACHMENTS);
    auto* category = control<QLineEdit>(*form, res::IDC_ITEM_CATEGORY1);
    category->setText("Antiques; Furniture");
    QTest::qWait(20);
    ASSERT_EQ(photos->count(), 1);
    const std::pair<QWidget*, QString> shown[] = {{category, category->text()},
                                                  {photos, photos->item(0)->text()}};
    for (const auto& [box, text] : shown) {
        SCOPED_TRACE(text.toStdString());
        EXPECT_GE(box->width(), box->fontMetrics().horizontalAdvance(text) + 12);
    }
}

TEST_F(NewListingFormTest, SelectButtonsFillTheirCategoryFromThePicker) {
    session().categoryFileName = "NewTLTree.xml";
    // Category names have no length limit: the picker hands back a long parent and child whole.
    const std::string parent(40, 'P'), child(40, 'c');
    home.write("NewTLTree.xml", "<root><Antiques><Clocks/></Antiques><Toys/><" + parent + "><" +
                                    child + "/></" + parent + "></root>");
    auto pick = [this](const std::string& label) {
        ui.onModal([label](ModalDialog& dialog) {
            auto& picker = dynamic_cast<CCategoryDlg&>(dialog);
            auto* tree = findControl<QTreeWidget>(&picker, res::IDC_CATEGORY_TREE);
            const auto found = tree->findItems(QString::fromStdString(label),
                                               Qt::MatchExactly | Qt::MatchRecursive);
            if (!found.isEmpty()) tree->setCurrentItem(found.front());
            picker.onSelect();
            return kDialogOk;
        });
    };
    auto form = shownForm();
    pick("Clocks");
    click(*form, res::IDC_ITEM_SELECT_CATEGORY1);
    pick("Toys");
    click(*form, res::IDC_ITEM_SELECT_CATEGORY2);
    ui.onModal([](ModalDialog&) { return kDialogCancel; });
    click(*form, res::IDC_ITEM_SELECT_CATEGORY1);  // cancelled: stays
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_CATEGORY1)->text(), "Antiques; Clocks");
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_CATEGORY2)->text(), "Toys");
    pick(child);
    click(*form, res::IDC_ITEM_SELECT_CATEGORY2);
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_CATEGORY2)->text().toStdString(),
              parent + "; " + child);
}

TEST_F(NewListingFormTest, PasteFillsTheBoxThatLastHadTheFocusOnce) {
    auto form = shownForm();
    auto* title = control<QLineEdit>(*form, res::IDC_ITEM_TITLE);
    auto* description = control<QPlainTextEdit>(*form, res::IDC_ITEM_DESCRIPTION);
    QApplication::clipboard()->setText(QString(300, 'x'));
    form->onPaste();  // no box had the focus yet
    EXPECT_EQ(description->toPlainText(), "");

    QFocusEvent focusIn(QEvent::FocusIn);
    QApplication::sendEvent(description, &focusIn);
    form->onPaste();
    EXPECT_EQ(description->toPlainText(), QString(249, 'x'));
    description->clear();
    form->onPaste();  // the target is used once
    EXPECT_EQ(description->toPlainText(), "");

    QApplication::sendEvent(title, &focusIn);
    form->onPaste();
    EXPECT_EQ(title->text(), QString(100, 'x'));  // and the title's own limit holds
}

// Chooses Paste on the box's context menu.
void pasteFromContextMenu(QWidget* box, QWidget* clicked) {
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(2, 2),
                                clicked->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(clicked, &menuEvent);
    QMenu* menu = box->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    const auto paste = std::find_if(actions.begin(), actions.end(), [](QAction* action) {
        return action->text().startsWith("&Paste");
    });
    ASSERT_NE(paste, actions.end());
    (*paste)->trigger();
    delete menu;
}

TEST_F(NewListingFormTest, EveryPasteIntoTitleOrDescriptionIsTheFormsPaste) {
    auto form = shownForm();
    auto* title = control<QLineEdit>(*form, res::IDC_ITEM_TITLE);
    auto* description = control<QPlainTextEdit>(*form, res::IDC_ITEM_DESCRIPTION);
    const QString clipboard = "pasted " + QString(293, 'x');
    QApplication::clipboard()->setText(clipboard);
    const struct {
        const char* route;
        std::function<void(QWidget* box, QWidget* clicked)> paste;
    } routes[] = {
        {"Ctrl+V",
         [](QWidget* box, QWidget*) { QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier); }},
        {"Shift+Insert",
         [](QWidget* box, QWidget*) { QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier); }},
        {"context menu", pasteFromContextMenu},
    };
    for (const auto& route : routes) {
        // The form's paste replaces the box's text with at most 249 characters.
        title->setText("abc");
        route.paste(title, title);
        EXPECT_EQ(title->text().toStdString(), clipboard.left(100).toStdString())
            << route.route;  // the title's own limit
        description->setPlainText("abc");
        route.paste(description, description->viewport());
        EXPECT_EQ(description->toPlainText().toStdString(), clipboard.left(249).toStdString())
            << route.route;
    }
}

TEST_F(NewListingFormTest, PreviewShowsTheFormAsItStandsWithCopiesOfThePhotos) {
    home.write("pictures/front.jpg", std::string(5000, 'f'));
    auto form = shownForm();
    fillItem(*form);
    click(*form, res::IDC_ITEM_FREE);
    click(*form, 1227);
    click(*form, res::IDC_ITEM_CARD);
    attach(*form, {home.path() + "pictures/front.jpg"});
    form->Preview();

    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_TRUE(server.targets().empty());
    EXPECT_EQ(home.read("products/temp/front.jpg"), std::string(5000, 'f'));
    const auto preview = storedListing("products/newproduct.xml");
    EXPECT_EQ(entries(*preview), std::vector<std::string>{"temp/front.jpg"});
    EXPECT_EQ(field(*preview, "price"), "Free");
    EXPECT_EQ(field(*preview, "paymentmethods"), "ME");
    EXPECT_EQ(field(*preview, "readablemethods"), "Money Order/Cashiers Check PayPal ");
    EXPECT_EQ(field(*preview, "hyperlink"), "http://");
    EXPECT_EQ(field(*preview, "status"), "Selling");
    EXPECT_EQ(field(*preview, "productid"), "Available when published");
    EXPECT_EQ(field(*preview, "card"), "");  // the card value before this preview
    EXPECT_EQ(session().webAddress, home.path() + "products/newproduct.xml");
    EXPECT_EQ(shownViews, std::vector<View>{View::WebPane});
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_TITLE)->text(), "Oak chair");

    form->Preview();
    EXPECT_EQ(field(*storedListing("products/newproduct.xml"), "card"), "ann_card");
}

TEST_F(NewListingFormTest, ButtonsBesideTheFormRunItsCommands) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* buttons = new CAddLeft;
    auto* form = new CView3;
    layout->addWidget(buttons);
    layout->addWidget(form);
    window.show();
    EXPECT_EQ(buttons->objectName(), "dlg_207");

    fillItem(*form);
    click(*form, res::IDC_ITEM_WANTED);
    click(*form, res::IDC_ITEM_MAKE_OFFER);
    findControl<QPushButton>(buttons, res::ID_ITEM_PREVIEW)->click();
    EXPECT_EQ(shownViews, std::vector<View>{View::WebPane});

    findControl<QPushButton>(buttons, res::ID_ITEM_CLEAR)->click();
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_TITLE)->text(), "");
    EXPECT_EQ(control<QLineEdit>(*form, res::IDC_ITEM_CATEGORY1)->text(), "");
    EXPECT_TRUE(control<QAbstractButton>(*form, res::IDC_ITEM_FORSALE)->isChecked());
    EXPECT_FALSE(control<QAbstractButton>(*form, res::IDC_ITEM_MAKE_OFFER)->isChecked());
    EXPECT_FALSE(control<QAbstractButton>(*form, 1162)->isChecked());

    findControl<QPushButton>(buttons, res::ID_ITEM_ADD)->click();
    EXPECT_EQ(ui.boxes().size(), 7u);  // the empty fields, escrow "none" kept
    fillItem(*form);
    findControl<QPushButton>(buttons, res::ID_ITEM_ADD)->click();
    EXPECT_EQ(field(*storedListing("products/17.xml"), "status"), "Selling");
}

}  // namespace
}  // namespace tl::test
