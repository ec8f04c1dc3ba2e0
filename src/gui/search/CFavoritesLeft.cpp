#include "gui/search/CFavoritesLeft.h"

#include "core/listings/ListingOperations.h"
#include "core/platform/Ui.h"
#include "core/session/Session.h"
#include "gui/search/ListingOpening.h"
#include "gui/session/ListSelection.h"
#include "gui/session/Navigation.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"

namespace tl {

CFavoritesLeft::CFavoritesLeft(QWidget* parent) : FormPane(res::IDD_FAVORITESLEFT, parent) {
    addButtonColumn({
        {res::IDC_FL_REMOVE, "Remove", res::IDC_FL_REMOVE_BITMAP, res::IDB_FL_REMOVE,
         [this] { onRemove(); }},
        {res::IDC_FL_BUY, "Buy Item", res::IDC_FL_BUY_BITMAP, res::IDB_SL_BUY,
         [this] { onBuyItem(); }},
        {res::IDC_FL_PRINT, "Print", res::IDC_FL_PRINT_BITMAP, res::IDB_SL_PRINT, printShownPages},
    });
}

void CFavoritesLeft::onRemove() {
    const std::string productId = listSelection().selectedFavoriteId;
    if (productId.empty()) {
        ui().messageBox("Tradeloom", "You must select an Item to Remove it");
        return;
    }
    if (RemoveFavorite(productId, session().currentUserName) == 1) {
        ui().messageBox("Tradeloom", "Product " + productId + " Removed from Favorites");
        switchMainView(View::Favorites);
    } else {
        ui().messageBox("Remove Error", "An Error Occured, the item was not removed");
    }
    listSelection().selectedFavoriteId.clear();
    listSelection().selectedProductId.clear();
}

void CFavoritesLeft::onBuyItem() {
    if (!listSelection().selectedProductId.empty()) showContactDialog();
}

}  // namespace tl
