#pragma once

#include <QMainWindow>
#include <array>
#include <vector>

#include "gui/frame/CPaneSplitter.h"
#include "gui/frame/NavRecord.h"
#include "gui/session/Navigation.h"

class QAction;
class QLabel;

namespace tl {

// The main window: a 3 x 2 pane splitter whose panes are switched in sets by view number,
// a navigation history for Back, the main menu and a status bar, which also shows the listing
// server's state as its threads change it. It opens inside the screen, where the member left it
// the last time; closing it closes every other window of the program. Destroying it logs the
// member off. While it lives it is
// the navigator the screens ask for views.
class CMainFrame : public QMainWindow, public Navigator {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    void SwitchView(View view) override;
    void Back() override;
    void setNavigationTab(Tab tab) override;
    void showPane(Pane pane) override;
    void printWebPages() override;

    CPaneSplitter& splitter() const { return *splitter_; }
    int viewId(Pane pane) const { return viewIds_[static_cast<int>(pane)]; }
    QWidget* pane(Pane pane) const { return splitter_->view(viewId(pane)); }
    const std::vector<NavRecord>& history() const { return history_; }
    const NavRecord& currentRecord() const { return current_; }

    // Every pane of the class, as the document's views are walked.
    template <class PaneClass>
    std::vector<PaneClass*> views() const {
        std::vector<PaneClass*> found;
        for (QWidget* window : splitter_->views())
            if (auto* view = dynamic_cast<PaneClass*>(window)) found.push_back(view);
        return found;
    }

    // The menu command with the id, or nullptr.
    QAction* command(int id) const;

    // The resize rules for a client area of the height; ignored while nobody is logged in.
    void onSize(int clientHeight);

    // Menu commands that do more than show a screen.
    void onLoomWeb();
    void onAbout();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void placeOnScreen();
    void createStatusBar();
    void createMenu();
    void createPanes();
    // Shows the view and selects its tab, as the menu commands for screens do.
    void showScreen(View view, Tab tab);
    void record(Tab tab, View view);

    CPaneSplitter* splitter_;
    QLabel* listingServerStatus_ = nullptr;
    std::array<int, kPaneCount> viewIds_{};
    std::vector<NavRecord> history_;
    NavRecord current_;
};

}  // namespace tl
