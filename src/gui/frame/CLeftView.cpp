#include "gui/frame/CLeftView.h"

#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

#include "core/platform/ServerHost.h"
#include "core/service/Endpoints.h"
#include "core/session/Session.h"
#include "gui/session/Navigation.h"
#include "gui/widgets/Controls.h"
#include "ids_frame.h"

namespace tl {
namespace {

struct TabAction {
    const char* label;
    View view;
};

// By tab, in the strip's order.
constexpr TabAction kTabActions[kTabCount] = {
    {"Home", View::WebPane},           {"Search", View::SearchResults},
    {"My Listings", View::MyListings}, {"Favorites", View::Favorites},
    {"Add Item", View::NewListing},    {"User Info", View::UserInfo},
    {"Messages", View::MessageCentre}, {"Loom Web", View::WebPane},
};

}  // namespace

CLeftView::CLeftView(QWidget* parent)
    : FormPane(res::IDD_LEFTVIEW, parent), tabs_(new QTabBar(this)) {
    setControlId(tabs_, res::IDC_NAV_TABS);
    tabs_->setExpanding(false);
    tabs_->setDrawBase(false);
    for (const TabAction& tab : kTabActions) tabs_->addTab(tab.label);
    tabs_->setCurrentIndex(static_cast<int>(Tab::Home));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
    layout->addStretch(1);

    // A left click arrives first; a click on another tab then also changes the selection, so
    // the action runs twice, as it did for the two notifications of the tab control. The tab
    // bar reports presses of every button as clicks, so the presses are watched here instead.
    tabs_->installEventFilter(this);
    connect(tabs_, &QTabBar::currentChanged, this, &CLeftView::onTabChosen);
}

bool CLeftView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tabs_ && event->type() == QEvent::MouseButtonPress) {
        const auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton)
            onTabChosen(tabs_->tabAt(press->position().toPoint()));
    }
    return FormPane::eventFilter(watched, event);
}

void CLeftView::setSelectedTab(Tab tab) {
    const QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(static_cast<int>(tab));
}

int CLeftView::selectedTab() const {
    return tabs_->currentIndex();
}

void CLeftView::onTabChosen(int index) {
    if (index < 0 || index >= kTabCount) return;
    Navigator* frame = navigator();
    if (frame == nullptr) return;
    const auto tab = static_cast<Tab>(index);
    if (tab == Tab::Home || tab == Tab::LoomWeb) {
        session().webAddress = tab == Tab::Home
                                   ? endpoints::homePage(session().currentUserName).address()
                                   : "http://" + serverHost();
        frame->SwitchView(View::WebPane);
        frame->showPane(Pane::LeftTest2);
        return;
    }
    frame->SwitchView(kTabActions[index].view);
}

}  // namespace tl
