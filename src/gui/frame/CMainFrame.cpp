#include "gui/frame/CMainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QResizeEvent>
#include <QSettings>
#include <QStatusBar>
#include <algorithm>
#include <functional>
#include <optional>

#include "core/listings/ListingOperations.h"
#include "core/peer/ListingServerState.h"
#include "core/platform/ServerHost.h"
#include "core/platform/Ui.h"
#include "core/session/Session.h"
#include "gui/account/CUserLeft.h"
#include "gui/account/CView1.h"
#include "gui/frame/CAboutDlg.h"
#include "gui/frame/CLeftTest2.h"
#include "gui/frame/CLeftView.h"
#include "gui/frame/CLowerLeft.h"
#include "gui/frame/CLowerRight.h"
#include "gui/frame/CUpperLeft.h"
#include "gui/frame/ListingServerStatusText.h"
#include "gui/listings/CAddLeft.h"
#include "gui/listings/CMyProductsLeft.h"
#include "gui/listings/CProdEditView.h"
#include "gui/listings/CView3.h"
#include "gui/listings/CViewMyProd.h"
#include "gui/messaging/CTLMessageCenter.h"
#include "gui/search/CContactDlg.h"
#include "gui/search/CDisabledLowR.h"
#include "gui/search/CDownloadingDlg.h"
#include "gui/search/CFavoritesLeft.h"
#include "gui/search/CQSearch.h"
#include "gui/search/CSearchLeft.h"
#include "gui/search/CView2.h"
#include "gui/search/CViewFavs.h"
#include "gui/search/ListingOpening.h"
#include "gui/web/CWebView.h"
#include "gui/widgets/WindowPlacement.h"
#include "ids_frame.h"

namespace tl {
namespace {

constexpr int kLeftColumnWidth = 90;
constexpr int kBarRowHeight = 35;
constexpr int kOtherRowsHeight = 110;  // bars, status bar and splitter gaps
constexpr int kSmallestLayoutHeight = 100;
constexpr QSize kFirstStartSize(840, 640);
constexpr char kGeometryKey[] = "MainFrame/geometry";

template <class PaneClass>
QWidget* createView(QWidget* parent) {
    return new PaneClass(parent);
}

// The panes a view shows: one per cell, none where the cell stays as it is; the advanced
// mode of the search buttons where the view sets it; the tab the history records, none for a
// view that leaves no entry.
struct ViewSet {
    View view;
    std::optional<Pane> workArea, left, bottomRight;
    std::optional<int> advancedMode;
    std::optional<Tab> recordedTab;
};

// clang-format off
constexpr ViewSet kViewSets[] = {
    // view                   work area            left cell             bottom right      mode tab
    {View::UserInfo,          Pane::View1,         Pane::UserLeft,       Pane::LowerRight, {},  Tab::UserInfo},
    {View::AdvancedSearch,    Pane::View2,         Pane::SearchLeft,     Pane::LowerRight, 1,   Tab::Search},
    {View::NewListing,        Pane::View3,         Pane::AddLeft,        Pane::LowerRight, {},  Tab::AddItem},
    {View::WebPane,           Pane::WebView,       {},                   Pane::LowerRight, {},  Tab::Home},
    {View::Favorites,         Pane::ViewFavs,      Pane::FavoritesLeft,  Pane::LowerRight, {},  Tab::Favorites},
    {View::EditListing,       Pane::ProdEditView,  Pane::MyProductsLeft, {},               {},  Tab::MyListings},
    {View::SearchResults,     Pane::QSearch,       Pane::SearchLeft,     Pane::LowerRight, 0,   Tab::Search},
    {View::MyListings,        Pane::ViewMyProd,    Pane::MyProductsLeft, Pane::LowerRight, {},  Tab::MyListings},
    {View::MessageCentre,     Pane::MessageCenter, {},                   Pane::LowerRight, {},  Tab::Messages},
    {View::MyListingsButtons, {},                  Pane::MyProductsLeft, {},               {},  {}},
};
// clang-format on

const ViewSet* viewSet(View view) {
    for (const ViewSet& set : kViewSets)
        if (set.view == view) return &set;
    return nullptr;
}

}  // namespace

CMainFrame::CMainFrame() : splitter_(new CPaneSplitter(3, 2, this)) {
    placeOnScreen();
    current_ = NavRecord{Tab::Home, View::WebPane, serverHost() + "/tradeloom", 0};
    history_.push_back(current_);
    createStatusBar();
    createMenu();
    setCentralWidget(splitter_);
    createPanes();
    setNavigator(this);
    // The search screens open listings through the download client and its dialog.
    setListingDownload([](const std::string& productId, const std::string& sellerAddress) {
        return !downloadListing(productId, sellerAddress).empty();
    });
    setContactDialog(&CContactDlg::showForSelection);
    // The state changes on the listing server's threads; the label changes on this one.
    listingServerState().setListener([this](const ListingServerStatus& status) {
        QMetaObject::invokeMethod(
            this,
            [this, text = listingServerStatusText(status)] {
                listingServerStatus_->setText(text);
                listingServerStatus_->setToolTip(text);
            },
            Qt::QueuedConnection);
    });
}

CMainFrame::~CMainFrame() {
    listingServerState().clearListener();
    if (navigator() == this) setNavigator(nullptr);
    setListingDownload({});
    setContactDialog({});
    LogOff(session().currentUserName);
}

void CMainFrame::placeOnScreen() {
    const QByteArray kept = QSettings().value(kGeometryKey).toByteArray();
    if (kept.isEmpty() || !restoreGeometry(kept)) placeInsideScreen(*this, kFirstStartSize);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (!event->isAccepted()) return;
    QSettings().setValue(kGeometryKey, saveGeometry());
    // Windows without an owner (the message windows) must not keep the program running.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible()) window->close();
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->showMessage("Ready");
    listingServerStatus_ = new QLabel(bar);
    listingServerStatus_->setObjectName(QStringLiteral("listingServerStatus"));
    listingServerStatus_->setTextFormat(Qt::PlainText);
    bar->addPermanentWidget(listingServerStatus_);
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* label = new QLabel(indicator, bar);
        label->setObjectName(QStringLiteral("indicator_%1").arg(indicator));
        // The state of the lock keys is not known to the program: the indicators stay dim.
        label->setEnabled(false);
        bar->addPermanentWidget(label);
    }
}

void CMainFrame::createMenu() {
    auto add = [this](QMenu* menu, const char* text, int id, std::function<void()> handler) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        if (handler)
            connect(action, &QAction::triggered, this, std::move(handler));
        else
            action->setEnabled(false);
        return action;
    };
    auto screen = [this](View view, Tab tab) { return [=, this] { showScreen(view, tab); }; };
    QMenu* file = menuBar()->addMenu("&File");
    file->setSeparatorsCollapsible(false);  // the menu opens with a separator
    file->addSeparator();
    add(file, "Loom Web", res::ID_FILE_LOOMWEB, [this] { onLoomWeb(); });
    file->addSeparator();
    add(file, "E&xit", res::ID_APP_EXIT, [this] { close(); });

    QMenu* edit = menuBar()->addMenu("Edit");
    add(edit, "User Information", res::ID_EDIT_USERINFO, screen(View::UserInfo, Tab::UserInfo));
    add(edit, "Edit Favorites", res::ID_EDIT_FAVORITES, screen(View::Favorites, Tab::Favorites));

    QMenu* actions = menuBar()->addMenu("Actions");
    add(actions, "Search Loom Network", res::ID_ACTIONS_SEARCH,
        screen(View::SearchResults, Tab::Search));
    add(actions, "Add Items", res::ID_ACTIONS_ADDITEMS, screen(View::NewListing, Tab::AddItem));
    add(actions, "Chat", res::ID_ACTIONS_CHAT, nullptr);  // no handler: shown disabled

    QMenu* help = menuBar()->addMenu("&Help");
    add(help, "&About Tradeloom", res::ID_APP_ABOUT, [this] { onAbout(); });
}

void CMainFrame::createPanes() {
    struct Placement {
        Pane pane;
        int row, column;
        QSize size;
        CPaneSplitter::ViewFactory create;
    };
    const QSize left(30, 300), work(300, 400);
    const Placement placements[kPaneCount] = {
        {Pane::LeftView, 0, 1, {30, 25}, &createView<CLeftView>},
        {Pane::MyProductsLeft, 1, 0, left, &createView<CMyProductsLeft>},
        {Pane::SearchLeft, 1, 0, left, &createView<CSearchLeft>},
        {Pane::FavoritesLeft, 1, 0, left, &createView<CFavoritesLeft>},
        {Pane::AddLeft, 1, 0, left, &createView<CAddLeft>},
        {Pane::UserLeft, 1, 0, left, &createView<CUserLeft>},
        {Pane::LeftTest2, 1, 0, left, &createView<CLeftTest2>},
        {Pane::UpperLeft, 0, 0, {30, 25}, &createView<CUpperLeft>},
        {Pane::View2, 1, 1, work, &createView<CView2>},
        {Pane::View3, 1, 1, work, &createView<CView3>},
        {Pane::ViewFavs, 1, 1, work, &createView<CViewFavs>},
        {Pane::ProdEditView, 1, 1, work, &createView<CProdEditView>},
        {Pane::QSearch, 1, 1, work, &createView<CQSearch>},
        {Pane::ViewMyProd, 1, 1, work, &createView<CViewMyProd>},
        {Pane::View1, 1, 1, work, &createView<CView1>},
        {Pane::MessageCenter, 1, 1, work, &createView<CTLMessageCenter>},
        {Pane::WebView, 1, 1, work, &createView<CWebView>},
        {Pane::DisabledLowR, 2, 1, {300, 50}, &createView<CDisabledLowR>},
        {Pane::LowerLeft, 2, 0, {30, 50}, &createView<CLowerLeft>},
        {Pane::LowerRight, 2, 1, {300, 50}, &createView<CLowerRight>},
    };
    // The left column is as wide as its widest pane needs, so no button caption is cut off.
    int leftWidth = kLeftColumnWidth;
    for (const Placement& placement : placements) {
        const int id =
            splitter_->AddView(placement.row, placement.column, placement.create, placement.size);
        viewIds_[static_cast<int>(placement.pane)] = id;
        if (placement.column == 0 && splitter_->view(id) != nullptr)
            leftWidth = std::max(leftWidth, splitter_->view(id)->sizeHint().width());
    }
    splitter_->setColumnInfo(0, leftWidth, leftWidth);
    splitter_->recalcLayout();
}

void CMainFrame::showPane(Pane which) {
    splitter_->ShowView(viewId(which));
}

void CMainFrame::record(Tab tab, View view) {
    current_.tab = tab;
    current_.view = view;
    if (view == View::WebPane) current_.address = session().webAddress;
    history_.push_back(current_);
}

void CMainFrame::SwitchView(View view) {
    const ViewSet* set = viewSet(view);
    if (set == nullptr) return;
    for (const std::optional<Pane>& shown : {set->workArea, set->left, set->bottomRight})
        if (shown) showPane(*shown);
    if (set->advancedMode)
        for (CSearchLeft* buttons : views<CSearchLeft>())
            buttons->setAdvancedMode(*set->advancedMode);
    if (set->recordedTab) record(*set->recordedTab, view);
}

void CMainFrame::Back() {
    if (history_.empty()) return;
    history_.pop_back();  // the page now shown
    if (history_.empty()) return;
    current_ = history_.back();
    if (current_.view == View::WebPane) session().webAddress = current_.address;
    const std::size_t before = history_.size();
    SwitchView(current_.view);
    setNavigationTab(current_.tab);
    if (history_.size() > before) history_.pop_back();  // the copy SwitchView appended
}

void CMainFrame::setNavigationTab(Tab tab) {
    for (CLeftView* tabs : views<CLeftView>()) tabs->setSelectedTab(tab);
}

void CMainFrame::printWebPages() {
    for (CWebView* web : views<CWebView>()) web->print();
}

QAction* CMainFrame::command(int id) const {
    for (QAction* action : menuBar()->findChildren<QAction*>())
        if (action->data().toInt() == id && !action->isSeparator()) return action;
    return nullptr;
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const QWidget* menu = menuWidget();
    onSize(event->size().height() - (menu != nullptr ? menu->height() : 0));
}

void CMainFrame::onSize(int clientHeight) {
    if (session().currentUserName.empty()) return;
    if (clientHeight <= kSmallestLayoutHeight) return;
    splitter_->setRowInfo(0, kBarRowHeight, kBarRowHeight);
    splitter_->setRowInfo(2, kBarRowHeight, kBarRowHeight);
    const int workHeight = clientHeight - kOtherRowsHeight;
    if (workHeight > kSmallestLayoutHeight) splitter_->setRowInfo(1, workHeight, workHeight);
    splitter_->recalcLayout();
}

void CMainFrame::onLoomWeb() {
    session().webAddress = serverHost();
    showScreen(View::WebPane, Tab::LoomWeb);
}

void CMainFrame::showScreen(View view, Tab tab) {
    SwitchView(view);
    setNavigationTab(tab);
}

void CMainFrame::onAbout() {
    CAboutDlg about(this);
    ui().runModal(about);
}

}  // namespace tl
