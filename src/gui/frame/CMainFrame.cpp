#include "gui/frame/CMainFrame.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QResizeEvent>
#include <QStatusBar>

#include "core/platform/ServerHost.h"
#include "core/platform/Ui.h"
#include "core/service/ListingOperations.h"
#include "core/session/Session.h"
#include "core/session/ViewSwitch.h"
#include "gui/account/CUserLeft.h"
#include "gui/account/CView1.h"
#include "gui/frame/CAboutDlg.h"
#include "gui/frame/CLeftTest2.h"
#include "gui/frame/CLeftView.h"
#include "gui/frame/CLowerLeft.h"
#include "gui/frame/CLowerRight.h"
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
#include "gui/web/CWebView.h"
#include "ids_frame.h"

namespace tl {
namespace {

CMainFrame* theMainFrame = nullptr;

constexpr int kLeftColumnWidth = 90;
constexpr int kBarRowHeight = 35;
constexpr int kOtherRowsHeight = 110;  // bars, status bar and splitter gaps
constexpr int kSmallestLayoutHeight = 100;

template <class View>
QWidget* createView(QWidget* parent) {
    return new View(parent);
}

}  // namespace

CMainFrame* mainFrame() {
    return theMainFrame;
}

CMainFrame::CMainFrame() : splitter_(new CPaneSplitter(3, 2, this)) {
    setGeometry(0, 0, 840, 640);
    current_ = NavRecord{0, 4, serverHost() + "/tradeloom", 0};
    history_.push_back(current_);
    createStatusBar();
    createMenu();
    setCentralWidget(splitter_);
    createPanes();
    theMainFrame = this;
    setViewSwitcher([this](int viewNumber) { SwitchView(viewNumber); });
}

CMainFrame::~CMainFrame() {
    setViewSwitcher({});
    theMainFrame = nullptr;
    LogOff(session().currentUserName);
}

void CMainFrame::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->showMessage("Ready");
    for (const char* indicator : {"CAP", "NUM", "SCRL"}) {
        auto* label = new QLabel(indicator, bar);
        label->setObjectName(QStringLiteral("indicator_%1").arg(indicator));
        // The state of the lock keys is not known to the program: the indicators stay dim.
        label->setEnabled(false);
        bar->addPermanentWidget(label);
    }
}

void CMainFrame::createMenu() {
    auto add = [this](QMenu* menu, const char* text, int id, void (CMainFrame::*handler)()) {
        QAction* action = menu->addAction(text);
        action->setData(id);
        if (handler != nullptr)
            connect(action, &QAction::triggered, this, handler);
        else
            action->setEnabled(false);
        return action;
    };
    QMenu* file = menuBar()->addMenu("&File");
    file->addSeparator();
    add(file, "Loom Web", res::ID_FILE_LOOMWEB, &CMainFrame::onLoomWeb);
    file->addSeparator();
    QAction* exitAction = add(file, "E&xit", res::ID_APP_EXIT, nullptr);
    exitAction->setEnabled(true);
    connect(exitAction, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu("Edit");
    add(edit, "User Information", res::ID_EDIT_USERINFO, &CMainFrame::onUserInformation);
    add(edit, "Edit Favorites", res::ID_EDIT_FAVORITES, &CMainFrame::onEditFavorites);

    QMenu* actions = menuBar()->addMenu("Actions");
    add(actions, "Search Loom Network", res::ID_ACTIONS_SEARCH, &CMainFrame::onSearch);
    add(actions, "Add Items", res::ID_ACTIONS_ADDITEMS, &CMainFrame::onAddItems);
    add(actions, "Chat", res::ID_ACTIONS_CHAT, nullptr);  // no handler: shown disabled

    QMenu* help = menuBar()->addMenu("&Help");
    add(help, "&About Tradeloom", res::ID_APP_ABOUT, &CMainFrame::onAbout);
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
    for (const Placement& placement : placements)
        viewIds_[static_cast<int>(placement.pane)] =
            splitter_->AddView(placement.row, placement.column, placement.create, placement.size);
    splitter_->setColumnInfo(0, kLeftColumnWidth, kLeftColumnWidth);
    splitter_->recalcLayout();
}

void CMainFrame::showPane(Pane which) {
    splitter_->ShowView(viewId(which));
}

void CMainFrame::record(int tab, int viewNumber) {
    current_.tab = tab;
    current_.view = viewNumber;
    if (viewNumber == 4) current_.address = session().webAddress;
    history_.push_back(current_);
}

void CMainFrame::SwitchView(int viewNumber) {
    auto setAdvancedMode = [this](int mode) {
        for (CSearchLeft* buttons : views<CSearchLeft>()) buttons->setAdvancedMode(mode);
    };
    int tab = 0;
    switch (viewNumber) {
        case 1:
            showPane(Pane::View1);
            showPane(Pane::UserLeft);
            showPane(Pane::LowerRight);
            tab = 5;
            break;
        case 2:
            showPane(Pane::View2);
            showPane(Pane::SearchLeft);
            setAdvancedMode(1);
            showPane(Pane::LowerRight);
            tab = 1;
            break;
        case 3:
            showPane(Pane::View3);
            showPane(Pane::AddLeft);
            showPane(Pane::LowerRight);
            tab = 4;
            break;
        case 4:
            showPane(Pane::WebView);
            showPane(Pane::LowerRight);
            tab = 0;
            break;
        case 5:
            showPane(Pane::ViewFavs);
            showPane(Pane::FavoritesLeft);
            showPane(Pane::LowerRight);
            tab = 3;
            break;
        case 6:
            showPane(Pane::ProdEditView);
            showPane(Pane::MyProductsLeft);
            tab = 2;
            break;
        case 7:
            showPane(Pane::QSearch);
            showPane(Pane::SearchLeft);
            setAdvancedMode(0);
            showPane(Pane::LowerRight);
            tab = 1;
            break;
        case 8:
            showPane(Pane::ViewMyProd);
            showPane(Pane::MyProductsLeft);
            showPane(Pane::LowerRight);
            tab = 2;
            break;
        case 11:
            showPane(Pane::MessageCenter);
            showPane(Pane::LowerRight);
            tab = 6;
            break;
        case 15:
            showPane(Pane::MyProductsLeft);
            return;
        default:
            return;
    }
    record(tab, viewNumber);
}

void CMainFrame::Back() {
    // The last entry is the page now shown; with nothing before it there is nowhere to go,
    // and the entry stays so that a later Back can still return to it.
    if (history_.size() < 2) return;
    history_.pop_back();
    current_ = history_.back();
    if (current_.view == 4) session().webAddress = current_.address;
    SwitchView(current_.view);
    setNavigationTab(current_.tab);
    history_.pop_back();  // the copy SwitchView appended
}

void CMainFrame::setNavigationTab(int index) {
    for (CLeftView* tabs : views<CLeftView>()) tabs->setSelectedTab(index);
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
    SwitchView(4);
    setNavigationTab(7);
}

void CMainFrame::onUserInformation() {
    SwitchView(1);
    setNavigationTab(5);
}

void CMainFrame::onEditFavorites() {
    SwitchView(5);
    setNavigationTab(3);
}

void CMainFrame::onSearch() {
    SwitchView(7);
    setNavigationTab(1);
}

void CMainFrame::onAddItems() {
    SwitchView(3);
    setNavigationTab(4);
}

void CMainFrame::onAbout() {
    CAboutDlg about(this);
    ui().runModal(about);
}

}  // namespace tl
