#include "gui/search/CFavoritesLeft.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/platform/Ui.h"
#include "core/service/ListingOperations.h"
#include "core/session/Navigation.h"
#include "core/session/Session.h"
#include "gui/search/ListingOpening.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"

namespace tl {

CFavoritesLeft::CFavoritesLeft(QWidget* parent) : FormPane(res::IDD_FAVORITESLEFT, parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 8, 4, 8);
    struct Command {
        int id;
        const char* caption;
        int pictureId;
        int bitmap;
        void (*run)(CFavoritesLeft&);
    };
    const Command commands[] = {
        {res::IDC_FL_REMOVE, "Remove", res::IDC_FL_REMOVE_BITMAP, res::IDB_FL_REMOVE,
         [](CFavoritesLeft& pane) { pane.onRemove(); }},
        {res::IDC_FL_BUY, "Buy Item", res::IDC_FL_BUY_BITMAP, res::IDB_SL_BUY,
         [](CFavoritesLeft& pane) { pane.onBuyItem(); }},
        {res::IDC_FL_PRINT, "Print", res::IDC_FL_PRINT_BITMAP, res::IDB_SL_PRINT,
         [](CFavoritesLeft&) {
             if (Navigator* frame = navigator()) frame->printWebPages();
         }},
    };
    for (const Command& command : commands) {
        const QLabel* picture = hiddenBitmap(this, command.pictureId, command.bitmap);
        QPushButton* button = pictureButton(this, command.id, command.caption, picture);
        connect(button, &QPushButton::clicked, this, [this, run = command.run] { run(*this); });
        column->addWidget(button);
    }
    column->addStretch();
}

void CFavoritesLeft::onRemove() {
    Session& values = session();
    const std::string productId = values.selectedFavoriteId;
    if (productId.empty()) {
        ui().messageBox("Tradeloom", "You must select an Item to Remove it");
        return;
    }
    if (RemoveFavorite(productId, values.currentUserName) == 1) {
        ui().messageBox("Tradeloom", "Product " + productId + " Removed from Favorites");
        switchMainView(View::Favorites);
    } else {
        ui().messageBox("Remove Error", "An Error Occured, the item was not removed");
    }
    session().selectedFavoriteId.clear();
    session().selectedProductId.clear();
}

void CFavoritesLeft::onBuyItem() {
    if (!session().selectedProductId.empty()) showContactDialog();
}

}  // namespace tl
