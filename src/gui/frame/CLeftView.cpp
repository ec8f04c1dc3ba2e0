#include "gui/frame/CLeftView.h"

#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include "core/platform/ServerHost.h"
#include "core/service/Endpoints.h"
#include "core/session/Session.h"
#include "gui/frame/CMainFrame.h"
#include "gui/widgets/Controls.h"
#include "ids_frame.h"

namespace tl {
namespace {

enum Tab { Home, Search, MyListings, Favorites, AddItem, UserInfo, Messages, LoomWeb };
constexpr const char* kTabLabels[] = {"Home",     "Search",    "My Listings", "Favorites",
                                      "Add Item", "User Info", "Messages",    "Loom Web"};
// The view number each tab shows.
constexpr int kTabViews[] = {4, 7, 8, 5, 3, 1, 11, 4};

}  // namespace

CLeftView::CLeftView(QWidget* parent)
    : FormPane(res::IDD_LEFTVIEW, parent), tabs_(new QTabBar(this)) {
    setControlId(tabs_, res::IDC_NAV_TABS);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(false);
    for (const char* label : kTabLabels) tabs_->addTab(label);
    tabs_->setCurrentIndex(Home);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
    layout->addStretch(1);

    // A click arrives first; a click on another tab then also changes the selection, so the
    // action runs twice, as it did for the two notifications of the tab control.
    connect(tabs_, &QTabBar::tabBarClicked, this, &CLeftView::onTabChosen);
    connect(tabs_, &QTabBar::currentChanged, this, &CLeftView::onTabChosen);
}

void CLeftView::setSelectedTab(int index) {
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(index);
}

int CLeftView::selectedTab() const {
    return tabs_->currentIndex();
}

void CLeftView::onTabChosen(int index) {
    if (index < Home || index > LoomWeb) return;
    CMainFrame* frame = mainFrame();
    if (frame == nullptr) return;
    if (index == Home || index == LoomWeb) {
        session().webAddress = index == Home
                                   ? endpoints::homePage(session().currentUserName).address()
                                   : "http://" + serverHost();
        frame->SwitchView(kTabViews[index]);
        frame->showPane(Pane::LeftTest2);
        return;
    }
    frame->SwitchView(kTabViews[index]);
}

}  // namespace tl
