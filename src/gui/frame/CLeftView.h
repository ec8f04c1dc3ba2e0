#pragma once

#include "gui/session/Navigation.h"
#include "gui/widgets/FormPane.h"

class QTabBar;

namespace tl {

// The navigation tabs across the top of the main window. Choosing a tab (selection changed or
// a left click, even on the selected tab) runs the action of the tab that has the focus.
class CLeftView : public FormPane {
    Q_OBJECT
public:
    explicit CLeftView(QWidget* parent = nullptr);

    // Selects the tab without running its action.
    void setSelectedTab(Tab tab);
    int selectedTab() const;
    QTabBar* tabs() const { return tabs_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs the action of the tab (the one clicked or newly selected): the two web tabs set the
    // web address first, then every tab switches views.
    void onTabChosen(int index);

    QTabBar* tabs_;
};

}  // namespace tl
