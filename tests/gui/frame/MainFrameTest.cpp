#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <thread>
#include <utility>

#include "core/platform/ServerHost.h"
#include "core/session/PendingSearch.h"
#include "core/session/Session.h"

#include "gui/account/CUserLeft.h"
#include "gui/account/CView1.h"
#include "gui/frame/CLeftTest2.h"
#include "gui/frame/CLeftView.h"
#include "gui/frame/CLowerLeft.h"
#include "gui/frame/CLowerRight.h"
#include "gui/frame/CMainFrame.h"
#include "gui/frame/CUpperLeft.h"
#include "gui/listings/CAddLeft.h"
#include "gui/listings/CMyProductsLeft.h"
#include "gui/listings/CProdEditView.h"
#include "gui/listings/CView3.h"
#include "gui/listings/CViewMyProd.h"
#include "gui/messaging/CTLMessageCenter.h"
#include "gui/search/CDisabledLowR.h"
#include "gui/search/CFavoritesLeft.h"
#include "gui/search/CQSearch.h"
#include "gui/search/CSearchLeft.h"
#include "gui/search/CView2.h"
#include "gui/search/CViewFavs.h"
#include "gui/search/ListingOpening.h"
#include "gui/web/CWebView.h"
#include "gui/widgets/Controls.h"
#include "ids_frame.h"
#include "support/FrameStartFixture.h"
#include "support/ScopedSettings.h"
#include "support/ScopedSettingsFolder.h"
#include "support/ScriptedHttpServer.h"
#include "support/ScriptedUi.h"
#include "support/TempProgramDirectory.h"

namespace tl {
namespace {

// A frame built as at start-up (lists refreshed, login dialog cancelled), then a member set as
// logged in.
struct MainFrameTest : test::FrameStartFixture {
    std::unique_ptr<CMainFrame> frame;

    MainFrameTest() : FrameStartFixture("0") {
        frame = std::make_unique<CMainFrame>();
        session().currentUserName = "ann";
    }

    QWidget* cell(int row, int column) const { return frame->splitter().currentView(row, column); }
    QWidget* workArea() const { return cell(1, 1); }
    QWidget* leftCell() const { return cell(1, 0); }
    QWidget* bottomRight() const { return cell(2, 1); }
    std::vector<Tab> selectedTabs() const {
        std::vector<Tab> tabs;
        for (CLeftView* strip : frame->views<CLeftView>())
            tabs.push_back(static_cast<Tab>(strip->selectedTab()));
        return tabs;
    }
    QTabBar* tabBar() const { return frame->views<CLeftView>().front()->tabs(); }
    // Clicks the tab on the shown window, where the tabs have their real places.
    void clickTab(Tab tab, Qt::MouseButton button = Qt::LeftButton) {
        frame->show();
        QTest::mouseClick(tabBar(), button, {}, tabBar()->tabRect(static_cast<int>(tab)).center());
    }
    CLowerRight* searchBar() const { return frame->views<CLowerRight>().front(); }
};

template <class View>
bool is(QWidget* pane) {
    return dynamic_cast<View*>(pane) != nullptr;
}

TEST_F(MainFrameTest, BuildsTwentyPanesInOrderWithTheLastOfEachCellVisible) {
    CPaneSplitter& splitter = frame->splitter();
    ASSERT_EQ(splitter.views().size(), 20u);
    EXPECT_EQ(frame->viewId(Pane::LeftView), 1);
    EXPECT_EQ(frame->viewId(Pane::UpperLeft), 8);
    EXPECT_EQ(frame->viewId(Pane::View1), 15);
    EXPECT_EQ(frame->viewId(Pane::WebView), 17);
    EXPECT_EQ(frame->viewId(Pane::LowerRight), 20);
    EXPECT_TRUE(is<CUpperLeft>(cell(0, 0)));
    EXPECT_TRUE(is<CLeftView>(cell(0, 1)));
    EXPECT_TRUE(is<CLeftTest2>(leftCell()));
    EXPECT_TRUE(is<CWebView>(workArea()));
    EXPECT_TRUE(is<CLowerLeft>(cell(2, 0)));
    EXPECT_TRUE(is<CLowerRight>(bottomRight()));

    int visible = 0;
    for (QWidget* view : splitter.views()) {
        if (view->isHidden()) {
            EXPECT_EQ(controlId(view), 0);
        } else {
            ++visible;
        }
    }
    EXPECT_EQ(visible, 6);
    EXPECT_EQ(controlId(workArea()), CPaneSplitter::paneControlId(1, 1));
    EXPECT_EQ(controlId(cell(2, 0)), CPaneSplitter::paneControlId(2, 0));
    EXPECT_GE(splitter.columnInfo(0).ideal, 90);
    EXPECT_EQ(splitter.columnInfo(0).minimum, splitter.columnInfo(0).ideal);

    EXPECT_EQ(
        frame->history(),
        (std::vector<NavRecord>{{Tab::Home, View::WebPane, server.host() + "/tradeloom", 0}}));
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::Home});
    EXPECT_NE(frame->statusBar()->findChild<QWidget*>("indicator_CAP"), nullptr);
    EXPECT_NE(frame->statusBar()->findChild<QWidget*>("indicator_SCRL"), nullptr);
}

// The first start opens at 840 x 640 (less on a smaller screen) with the whole window, title bar
// included, on the screen; later starts open where and as large as the member left it.
TEST_F(MainFrameTest, OpensInsideTheScreenThenWhereTheMemberLeftIt) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(frame->size(), QSize(840, 640).boundedTo(area.size() - QSize(16, 48)));
    frame->show();
    EXPECT_TRUE(area.contains(frame->frameGeometry())) << frame->frameGeometry().x();
    const QRect left(area.topLeft() + QPoint(30, 40), QSize(500, 400));
    frame->setGeometry(left);
    frame->close();
    frame = std::make_unique<CMainFrame>();
    frame->show();
    EXPECT_EQ(frame->geometry(), left);
}

// Every button of the left bars shows its whole caption at the first start's size.
TEST_F(MainFrameTest, TheLeftBarsButtonsAreNotCutOff) {
    frame->show();
    for (View view : {View::UserInfo, View::AdvancedSearch, View::NewListing, View::Favorites,
                      View::MyListings}) {
        frame->SwitchView(view);
        QTest::qWait(10);
        for (const QPushButton* button : leftCell()->findChildren<QPushButton*>()) {
            if (button->isHidden()) continue;
            SCOPED_TRACE(button->text().toStdString());
            EXPECT_GE(button->width(), button->sizeHint().width());
            EXPECT_GE(leftCell()->contentsRect().right(), button->geometry().right());
        }
    }
}

TEST_F(MainFrameTest, ShowViewOfAnUnknownIdAndAFailedViewChangeNothing) {
    CPaneSplitter& splitter = frame->splitter();
    splitter.ShowView(99);
    EXPECT_TRUE(is<CWebView>(workArea()));
    const int failed = splitter.AddView(
        1, 1, [](QWidget*) -> QWidget* { return nullptr; }, QSize(300, 400));
    EXPECT_EQ(failed, -1);
    EXPECT_TRUE(is<CWebView>(workArea()));
    EXPECT_FALSE(workArea()->isHidden());
    EXPECT_EQ(controlId(workArea()), CPaneSplitter::paneControlId(1, 1));
    EXPECT_EQ(splitter.AddView<QWidget>(1, 1, QSize(300, 400)), 21);  // ids go on from 21
}

TEST_F(MainFrameTest, EachViewNumberShowsItsPaneSetAndRecordsItsTab) {
    frame->SwitchView(View::UserInfo);
    EXPECT_TRUE(is<CView1>(workArea()) && is<CUserLeft>(leftCell()));
    frame->SwitchView(View::NewListing);
    EXPECT_TRUE(is<CView3>(workArea()) && is<CAddLeft>(leftCell()));
    frame->SwitchView(View::Favorites);
    EXPECT_TRUE(is<CViewFavs>(workArea()) && is<CFavoritesLeft>(leftCell()));
    frame->SwitchView(View::MyListings);
    EXPECT_TRUE(is<CViewMyProd>(workArea()) && is<CMyProductsLeft>(leftCell()));
    frame->SwitchView(View::MessageCentre);
    EXPECT_TRUE(is<CTLMessageCenter>(workArea()) && is<CMyProductsLeft>(leftCell()));
    frame->SwitchView(View::WebPane);
    EXPECT_TRUE(is<CWebView>(workArea()) && is<CMyProductsLeft>(leftCell()));

    frame->showPane(Pane::DisabledLowR);
    frame->SwitchView(View::EditListing);  // leaves the bottom bar as it is
    EXPECT_TRUE(is<CProdEditView>(workArea()) && is<CDisabledLowR>(bottomRight()));
    frame->SwitchView(View::AdvancedSearch);
    EXPECT_TRUE(is<CView2>(workArea()) && is<CSearchLeft>(leftCell()));
    EXPECT_TRUE(is<CLowerRight>(bottomRight()));
    EXPECT_EQ(frame->views<CSearchLeft>().front()->advancedMode(), 1);
    frame->SwitchView(View::SearchResults);
    EXPECT_TRUE(is<CQSearch>(workArea()) && is<CSearchLeft>(leftCell()));
    EXPECT_EQ(frame->views<CSearchLeft>().front()->advancedMode(), 0);

    std::vector<std::pair<View, Tab>> recorded;
    for (const NavRecord& entry : frame->history()) recorded.emplace_back(entry.view, entry.tab);
    EXPECT_EQ(recorded, (std::vector<std::pair<View, Tab>>{{View::WebPane, Tab::Home},
                                                           {View::UserInfo, Tab::UserInfo},
                                                           {View::NewListing, Tab::AddItem},
                                                           {View::Favorites, Tab::Favorites},
                                                           {View::MyListings, Tab::MyListings},
                                                           {View::MessageCentre, Tab::Messages},
                                                           {View::WebPane, Tab::Home},
                                                           {View::EditListing, Tab::MyListings},
                                                           {View::AdvancedSearch, Tab::Search},
                                                           {View::SearchResults, Tab::Search}}));
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::Home});  // callers set the tab, not SwitchView

    frame->SwitchView(static_cast<View>(9));  // no such view number
    EXPECT_TRUE(is<CQSearch>(workArea()));
    EXPECT_EQ(frame->history().size(), 10u);
}

TEST_F(MainFrameTest, BackRemovesTheShownPageAndStopsOnceTheHistoryIsEmpty) {
    frame->Back();  // the starting page was the only entry
    EXPECT_TRUE(frame->history().empty());
    EXPECT_TRUE(is<CWebView>(workArea()));
    frame->Back();  // an empty history: nothing to do
    EXPECT_TRUE(frame->history().empty());

    frame->SwitchView(View::SearchResults);
    frame->SwitchView(View::Favorites);
    frame->SwitchView(View::UserInfo);
    frame->Back();
    EXPECT_TRUE(is<CViewFavs>(workArea()) && is<CFavoritesLeft>(leftCell()));
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::Favorites});
    ASSERT_EQ(frame->history().size(), 2u);
    EXPECT_EQ(frame->history().back().view, View::Favorites);
    EXPECT_EQ(frame->currentRecord(), frame->history().back());

    frame->Back();
    EXPECT_TRUE(is<CQSearch>(workArea()));
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::Search});
    frame->Back();  // the search page was the last entry: it stays shown
    EXPECT_TRUE(is<CQSearch>(workArea()));
    EXPECT_TRUE(frame->history().empty());
}

TEST_F(MainFrameTest, BackToAnEarlierWebPageRestoresItsAddressAndTab) {
    session().webAddress = "http://a.example/";
    frame->SwitchView(View::WebPane);
    session().webAddress = "http://b.example/";
    frame->SwitchView(View::WebPane);
    frame->setNavigationTab(Tab::Favorites);
    frame->Back();
    EXPECT_TRUE(is<CWebView>(workArea()));
    EXPECT_EQ(session().webAddress, "http://a.example/");
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::Home});
    ASSERT_EQ(frame->history().size(), 2u);
    EXPECT_EQ(frame->history().back(),
              (NavRecord{Tab::Home, View::WebPane, "http://a.example/", 0}));
    EXPECT_EQ(frame->currentRecord(), frame->history().back());
}

TEST_F(MainFrameTest, ViewFifteenShowsTheListingButtonsWithoutAnEntry) {
    frame->SwitchView(View::SearchResults);
    frame->SwitchView(View::MyListingsButtons);
    EXPECT_TRUE(is<CQSearch>(workArea()));
    EXPECT_TRUE(is<CMyProductsLeft>(leftCell()));
    EXPECT_EQ(frame->history().size(), 2u);
    frame->SwitchView(View::UserInfo);
    frame->Back();
    EXPECT_TRUE(is<CQSearch>(workArea()));
    EXPECT_TRUE(is<CSearchLeft>(leftCell()));
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::Search});
}

TEST_F(MainFrameTest, ResizingSetsTheBarRowsAndTheWorkRow) {
    CPaneSplitter& splitter = frame->splitter();
    auto heights = [&splitter] {
        return std::vector<int>{splitter.rowInfo(0).ideal, splitter.rowInfo(1).ideal,
                                splitter.rowInfo(2).ideal};
    };
    const std::vector<int> initial{25, 400, 50};
    ASSERT_EQ(heights(), initial);
    frame->onSize(100);
    EXPECT_EQ(heights(), initial);
    frame->onSize(150);
    EXPECT_EQ(heights(), (std::vector<int>{35, 400, 35}));
    frame->onSize(211);
    EXPECT_EQ(heights(), (std::vector<int>{35, 101, 35}));
    EXPECT_EQ(splitter.rowInfo(1).minimum, 101);

    session().currentUserName.clear();  // nobody logged in: sizes stay
    frame->onSize(600);
    EXPECT_EQ(heights(), (std::vector<int>{35, 101, 35}));
}

TEST_F(MainFrameTest, SplitterPlacesTheCellsByRowAndColumnSizes) {
    session().currentUserName.clear();
    CPaneSplitter& splitter = frame->splitter();
    splitter.resize(800, 500);
    splitter.setColumnInfo(0, 90, 90);
    splitter.setRowInfo(0, 35, 35);
    splitter.setRowInfo(1, 300, 300);
    splitter.recalcLayout();
    const int gap = CPaneSplitter::kGap;
    EXPECT_EQ(cell(0, 0)->geometry(), QRect(0, 0, 90, 35));
    EXPECT_EQ(workArea()->geometry(), QRect(90 + gap, 35 + gap, 800 - 90 - gap, 300));
    EXPECT_EQ(bottomRight()->geometry().height(), 500 - 35 - 300 - 2 * gap);

    // Dragging the bar between the columns, then the one below the work row.
    auto drag = [&splitter](QPoint from, QPoint to) {
        QMouseEvent press(QEvent::MouseButtonPress, from, splitter.mapToGlobal(from),
                          Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent move(QEvent::MouseMove, to, splitter.mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, to, splitter.mapToGlobal(to),
                            Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(&splitter, &press);
        QApplication::sendEvent(&splitter, &move);
        QApplication::sendEvent(&splitter, &release);
    };
    drag(QPoint(91, 200), QPoint(150, 200));
    EXPECT_EQ(splitter.columnInfo(0).ideal, 150);
    EXPECT_EQ(workArea()->geometry().left(), 150 + gap);
    drag(QPoint(400, 35 + gap + 301), QPoint(400, 35 + gap + 350));
    EXPECT_EQ(splitter.rowInfo(1).ideal, 350);
    drag(QPoint(151, 200), QPoint(10, 200));  // not below the column's smallest width
    EXPECT_EQ(splitter.columnInfo(0).ideal, 90);
}

TEST_F(MainFrameTest, MenuCommandsSwitchAndSelectTheirTabOnce) {
    ASSERT_NE(frame->command(res::ID_ACTIONS_SEARCH), nullptr);
    frame->command(res::ID_ACTIONS_SEARCH)->trigger();
    EXPECT_TRUE(is<CQSearch>(workArea()));
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::Search});
    EXPECT_EQ(frame->history().size(), 2u);  // no second switch from the tab strip

    frame->command(res::ID_EDIT_USERINFO)->trigger();
    EXPECT_TRUE(is<CView1>(workArea()));
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::UserInfo});
    frame->command(res::ID_EDIT_FAVORITES)->trigger();
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::Favorites});
    frame->command(res::ID_ACTIONS_ADDITEMS)->trigger();
    EXPECT_TRUE(is<CView3>(workArea()));
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::AddItem});

    frame->command(res::ID_FILE_LOOMWEB)->trigger();
    EXPECT_EQ(session().webAddress, server.host());  // the bare host
    EXPECT_TRUE(is<CWebView>(workArea()));
    EXPECT_TRUE(is<CAddLeft>(leftCell()));
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::LoomWeb});
    EXPECT_EQ(frame->history().size(), 6u);

    EXPECT_FALSE(frame->command(res::ID_ACTIONS_CHAT)->isEnabled());
    EXPECT_EQ(frame->command(res::ID_APP_EXIT)->text(), "E&xit");
}

TEST_F(MainFrameTest, AboutBoxRunsModallyWithTheProgramsNameAndBuild) {
    int runs = 0;
    std::string caption, object;
    QStringList texts;
    ui.onModal([&](ModalDialog& modal) {
        auto& box = dynamic_cast<QWidget&>(modal);
        ++runs;
        caption = box.windowTitle().toStdString();
        object = box.objectName().toStdString();
        for (const QLabel* label : box.findChildren<QLabel*>()) texts << label->text();
        return kDialogOk;
    });
    frame->command(res::ID_APP_ABOUT)->trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(caption, "About Tradeloom");
    EXPECT_EQ(texts, QStringList{"Tradeloom v1.4 Build 0502"});
    EXPECT_EQ(object, "dlg_100");
}

TEST_F(MainFrameTest, ClickingTheSelectedHomeTabNavigatesAgain) {
    frame->SwitchView(View::SearchResults);
    clickTab(Tab::Home);
    EXPECT_EQ(session().webAddress,
              "http://" + server.host() + "/tradeloom/app/home.asp?username=ann");
    EXPECT_TRUE(is<CWebView>(workArea()));
    EXPECT_TRUE(is<CLeftTest2>(leftCell()));
    ASSERT_EQ(frame->history().size(), 3u);
    EXPECT_EQ(frame->history().back().address, session().webAddress);
}

TEST_F(MainFrameTest, ClickingAnotherTabRunsItsActionTwice) {
    clickTab(Tab::Search);
    EXPECT_TRUE(is<CQSearch>(workArea()));
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::Search});
    ASSERT_EQ(frame->history().size(), 3u);
    EXPECT_EQ(frame->history()[1], frame->history()[2]);
    findControl<QPushButton>(frame->views<CUpperLeft>().front(), res::IDC_BACK)->click();
    EXPECT_TRUE(is<CQSearch>(workArea()));
    EXPECT_EQ(frame->history().size(), 2u);

    clickTab(Tab::LoomWeb);
    EXPECT_EQ(session().webAddress, "http://" + server.host());
    EXPECT_TRUE(is<CLeftTest2>(leftCell()));
}

TEST_F(MainFrameTest, SettingTheTabFromOutsideRunsNoAction) {
    frame->setNavigationTab(Tab::Messages);
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::Messages});
    EXPECT_EQ(frame->history().size(), 1u);
    EXPECT_TRUE(is<CWebView>(workArea()));
}

TEST_F(MainFrameTest, QuickSearchLeavesThePendingSearchAndShowsTheResults) {
    CLowerRight* bar = searchBar();
    auto* criteria = findControl<QLineEdit>(bar, res::IDC_QS_CRITERIA);
    EXPECT_EQ(criteria->maxLength(), 50);
    EXPECT_TRUE(findControl<QRadioButton>(bar, res::IDC_QS_FORSALE)->isChecked());
    EXPECT_TRUE(findControl<QPushButton>(bar, res::IDC_QS_SEARCH)->isDefault());
    EXPECT_FALSE(findControl<QPushButton>(bar, res::IDC_QS_ADVANCED)->icon().isNull());

    criteria->setText("red bike");
    findControl<QPushButton>(bar, res::IDC_QS_SEARCH)->click();
    EXPECT_EQ(pendingSearch().flag, 1);
    EXPECT_EQ(pendingSearch().text, "red bike");
    EXPECT_EQ(pendingSearch().status, "SELLING");  // nothing clicked yet
    EXPECT_EQ(criteria->text(), "");
    EXPECT_TRUE(is<CQSearch>(workArea()));
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::Search});

    findControl<QRadioButton>(bar, res::IDC_QS_BOTH)->click();
    criteria->setText("lamp");
    QTest::keyClick(criteria, Qt::Key_Return);
    EXPECT_EQ(pendingSearch().text, "lamp");
    EXPECT_EQ(pendingSearch().status, "BOTH");
    findControl<QRadioButton>(bar, res::IDC_QS_WANTED)->click();
    EXPECT_EQ(bar->status(), "BUYING");
}

TEST_F(MainFrameTest, AdvancedShowsTheFormAndItsBar) {
    findControl<QPushButton>(searchBar(), res::IDC_QS_ADVANCED)->click();
    EXPECT_TRUE(is<CView2>(workArea()));
    EXPECT_TRUE(is<CDisabledLowR>(bottomRight()));
    EXPECT_EQ(frame->views<CSearchLeft>().front()->advancedMode(), 1);
    EXPECT_EQ(selectedTabs(), std::vector<Tab>{Tab::Search});
}

TEST_F(MainFrameTest, PrintAsksForAPrinterThroughTheDialog) {
    int dialogs = 0;
    ui.onModal([&](ModalDialog& modal) {
        if (dynamic_cast<QPrintDialog*>(&modal) != nullptr) ++dialogs;
        return kDialogCancel;
    });
    findControl<QPushButton>(frame->views<CLeftTest2>().front(), res::IDC_PRINT)->click();
    EXPECT_EQ(dialogs, 1);
}

TEST_F(MainFrameTest, ScreensSwitchViewsAndOpenListingsThroughTheFrameWhileItLives) {
    EXPECT_TRUE(switchMainView(View::MyListings));
    EXPECT_TRUE(is<CViewMyProd>(workArea()));
    EXPECT_EQ(frame->history().size(), 2u);
    EXPECT_TRUE(canDownloadListings());
    frame.reset();
    EXPECT_FALSE(switchMainView(View::MyListings));
    EXPECT_FALSE(canDownloadListings());
}

TEST_F(MainFrameTest, EveryShowingOfMyListingsReadsTheListAgain) {
    const std::string read = "/tradeloom/app/mylisting.asp?username=ann";
    auto reads = [&] { return std::ranges::count(server.targets(), read); };
    frame->show();
    ASSERT_EQ(reads(), 0);
    frame->SwitchView(View::MyListings);
    EXPECT_EQ(reads(), 1);
    frame->SwitchView(View::MyListings);  // as after a listing was removed
    EXPECT_EQ(reads(), 2);
}

TEST_F(MainFrameTest, DestroyingTheFrameLogsTheMemberOff) {
    frame.reset();
    EXPECT_EQ(server.targets().back(), "/tradeloom/app/logoff.asp?username=ann");
}

TEST_F(MainFrameTest, EachTabShowsItsScreenAndRecordsItsTab) {
    const std::string home = "http://" + server.host() + "/tradeloom/app/home.asp?username=ann";
    const std::string loomWeb = "http://" + server.host();
    const struct {
        Tab tab;
        Pane workArea;
        std::string address;  // the web address the tab sets; empty: left as it was
        Tab recorded;
    } cases[] = {
        {Tab::Search, Pane::QSearch, "", Tab::Search},
        {Tab::MyListings, Pane::ViewMyProd, "", Tab::MyListings},
        {Tab::Home, Pane::WebView, home, Tab::Home},
        {Tab::Favorites, Pane::ViewFavs, "", Tab::Favorites},
        {Tab::AddItem, Pane::View3, "", Tab::AddItem},
        {Tab::LoomWeb, Pane::WebView, loomWeb, Tab::Home},
        {Tab::UserInfo, Pane::View1, "", Tab::UserInfo},
        {Tab::Messages, Pane::MessageCenter, "", Tab::Messages},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(static_cast<int>(row.tab));
        session().webAddress = "http://earlier.example/";
        clickTab(row.tab);
        EXPECT_EQ(workArea(), frame->pane(row.workArea));
        const std::string address = row.address.empty() ? "http://earlier.example/" : row.address;
        EXPECT_EQ(session().webAddress, address);
        if (!row.address.empty()) {
            EXPECT_EQ(leftCell(), frame->pane(Pane::LeftTest2));
        }
        EXPECT_EQ(frame->history().back().tab, row.recorded);
        EXPECT_EQ(selectedTabs(), std::vector<Tab>{row.tab});
    }
}

TEST_F(MainFrameTest, OnlyALeftClickOrTheKeyboardChoosesATab) {
    const struct {
        Qt::MouseButton button;
        bool chooses;
    } cases[] = {{Qt::RightButton, false}, {Qt::MiddleButton, false}, {Qt::LeftButton, true}};
    for (const auto& click : cases) {
        SCOPED_TRACE(click.button);
        frame->SwitchView(View::WebPane);
        frame->setNavigationTab(Tab::Home);
        const std::size_t entries = frame->history().size();
        clickTab(Tab::Messages, click.button);
        EXPECT_EQ(is<CTLMessageCenter>(workArea()), click.chooses);
        EXPECT_EQ(frame->history().size() > entries, click.chooses);
        EXPECT_EQ(selectedTabs(), std::vector<Tab>{click.chooses ? Tab::Messages : Tab::Home});
    }
    tabBar()->setFocus();
    QTest::keyClick(tabBar(), Qt::Key_Left);
    EXPECT_TRUE(is<CView1>(workArea()));
    EXPECT_EQ(frame->history().back().tab, Tab::UserInfo);
}

TEST_F(MainFrameTest, TheFileMenuShowsASeparatorBeforeLoomWebAndBeforeExit) {
    QMenu* file = frame->menuBar()->actions().front()->menu();
    ASSERT_EQ(file->title(), "&File");
    std::vector<QAction*> shown;
    for (QAction* item : file->actions())
        if (!file->actionGeometry(item).isEmpty()) shown.push_back(item);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_TRUE(shown[0]->isSeparator());
    EXPECT_EQ(shown[1]->text(), "Loom Web");
    EXPECT_TRUE(shown[2]->isSeparator());
    EXPECT_EQ(shown[3]->text(), "E&xit");
}

TEST_F(MainFrameTest, TheStatusBarFollowsTheListingServerStateThroughQueuedCalls) {
    test::ScopedListingServerState serverState;
    QCoreApplication::processEvents();
    auto* line = frame->statusBar()->findChild<QLabel*>("listingServerStatus");
    ASSERT_NE(line, nullptr);
    auto changeOnAThread = [] {
        std::thread([] {
            listingServerState().update([](ListingServerStatus& status) {
                status = {ServerListening::Listening, 9999, "",
                          RouterState::NotAsked,      "",   Reachability::Reachable};
            });
        }).join();
    };
    changeOnAThread();
    EXPECT_EQ(line->text(), "");  // not touched from the server's thread
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return line->text() == "Listening on port 9999 | Others can open your listings"; },
        5000));
    // The frame gone, its threads change the state without reaching it.
    frame.reset();
    listingServerState().reset();
    changeOnAThread();
    QCoreApplication::processEvents();
}

}  // namespace
}  // namespace tl
