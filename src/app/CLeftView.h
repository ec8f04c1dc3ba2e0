#pragma once

#include "app/FormPane.h"

class QTabBar;

namespace tl {

// The navigation tabs across the top of the main window. Choosing a tab (selection changed or
// a click, even on the selected tab) runs the action of the tab that has the focus.
class CLeftView : public FormPane {
    Q_OBJECT
public:
    explicit CLeftView(QWidget* parent = nullptr);

    // Selects the tab without running its action.
    void setSelectedTab(int index);
    int selectedTab() const;
    QTabBar* tabs() const { return tabs_; }

    // The action of the tab: sets the web address for the two web tabs, then switches views.
    static void runTabAction(int index);

private:
    void onTabChosen(int focusedIndex);

    QTabBar* tabs_;
};

}  // namespace tl
