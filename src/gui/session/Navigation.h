#pragma once

namespace tl {

// The screens of the main window by view number; each shows its own set of panes.
enum class View {
    UserInfo = 1,
    AdvancedSearch = 2,
    NewListing = 3,
    WebPane = 4,
    Favorites = 5,
    EditListing = 6,
    SearchResults = 7,
    MyListings = 8,
    MessageCentre = 11,
    MyListingsButtons = 15,  // only the my-listings buttons; the work area stays as it is
};

// The navigation tabs across the top of the main window, in their order.
enum class Tab { Home, Search, MyListings, Favorites, AddItem, UserInfo, Messages, LoomWeb };
inline constexpr int kTabCount = 8;

// The panes of the main window, in the order they are added (which fixes their view ids).
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

// What screens ask of the main window. The main window installs itself while it lives.
class Navigator {
public:
    // Shows the pane set of the view and records it in the navigation history. Callers set
    // the navigation tab themselves.
    virtual void SwitchView(View view) = 0;
    // Returns to the previous entry of the navigation history.
    virtual void Back() = 0;
    // Selects the tab on every navigation tab strip without running the tab's action.
    virtual void setNavigationTab(Tab tab) = 0;
    // Makes the pane the visible one of its cell.
    virtual void showPane(Pane pane) = 0;
    // Asks every web pane to print its page.
    virtual void printWebPages() = 0;

protected:
    ~Navigator() = default;
};

void setNavigator(Navigator* navigator);
// The installed navigator, or nullptr while there is no main window.
Navigator* navigator();

// Shows the view through the main window; false (and nothing shown) while there is none.
bool switchMainView(View view);
// Asks the main window to print its web pages; nothing while there is none.
void printShownPages();

}  // namespace tl
