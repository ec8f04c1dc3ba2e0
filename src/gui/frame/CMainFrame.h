#pragma once

#include <QMainWindow>
#include <array>
#include <vector>

#include "gui/frame/CPaneSplitter.h"
#include "gui/frame/NavRecord.h"

class QAction;

namespace tl {

// The panes the frame holds, in the order they are added (which fixes their view ids).
enum class Pane {
    LeftView,
    MyProductsLeft,
    SearchLeft,
    FavoritesLeft,
    AddLeft,
    UserLeft,
    LeftTest2,
    UpperLeft,
    View2,
    View3,
    ViewFavs,
    ProdEditView,
    QSearch,
    ViewMyProd,
    View1,
    MessageCenter,
    WebView,
    DisabledLowR,
    LowerLeft,
    LowerRight,
};
inline constexpr int kPaneCount = 20;

// The main window: a 3 x 2 pane splitter whose panes are switched in sets by view number,
// a navigation history for Back, the main menu and a status bar. Destroying it logs the
// member off.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame();
    ~CMainFrame() override;

    // Shows the pane set of the view number and records it in the history. Callers set the
    // navigation tab themselves.
    void SwitchView(int viewNumber);
    // Returns to the previous entry of the history.
    void Back();
    // Selects the tab on every navigation tab strip without running the tab's action.
    void setNavigationTab(int index);
    // Makes the pane the visible one of its cell.
    void showPane(Pane pane);

    CPaneSplitter& splitter() const { return *splitter_; }
    int viewId(Pane pane) const { return viewIds_[static_cast<int>(pane)]; }
    QWidget* pane(Pane pane) const { return splitter_->view(viewId(pane)); }
    const std::vector<NavRecord>& history() const { return history_; }
    const NavRecord& currentRecord() const { return current_; }

    // Every pane of the class, as the document's views are walked.
    template <class View>
    std::vector<View*> views() const {
        std::vector<View*> found;
        for (QWidget* window : splitter_->views())
            if (auto* view = dynamic_cast<View*>(window)) found.push_back(view);
        return found;
    }

    // The menu command with the id, or nullptr.
    QAction* command(int id) const;

    // The resize rules for a client area of the height; ignored while nobody is logged in.
    void onSize(int clientHeight);

    // Menu commands.
    void onLoomWeb();
    void onUserInformation();
    void onEditFavorites();
    void onSearch();
    void onAddItems();
    void onAbout();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void createStatusBar();
    void createMenu();
    void createPanes();
    void record(int tab, int viewNumber);

    CPaneSplitter* splitter_;
    std::array<int, kPaneCount> viewIds_{};
    std::vector<NavRecord> history_;
    NavRecord current_;
};

// The application's main window, or nullptr while there is none.
CMainFrame* mainFrame();

}  // namespace tl
