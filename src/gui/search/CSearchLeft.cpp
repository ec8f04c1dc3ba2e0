#include "gui/search/CSearchLeft.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "core/platform/Ui.h"
#include "core/service/ListingOperations.h"
#include "core/session/Navigation.h"
#include "core/session/Session.h"
#include "gui/search/CQSearch.h"
#include "gui/search/ListingOpening.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"

namespace tl {
namespace {
constexpr char kNoSelectionCaption[] = "Error MI12q";
}

CSearchLeft::CSearchLeft(QWidget* parent) : FormPane(res::IDD_SEARCHLEFT, parent, kPanePurple) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 8, 4, 8);
    struct Command {
        int id;
        const char* caption;
        int pictureId;
        int bitmap;
        void (CSearchLeft::*run)();
    };
    const Command commands[] = {
        {res::IDC_SL_ADDFAVORITE, "Add Favorite", res::IDC_SL_ADDFAVORITE_BITMAP,
         res::IDB_SL_ADDFAVORITE, &CSearchLeft::onAddFavorite},
        {res::IDC_SL_BUY, "Buy Item", res::IDC_SL_BUY_BITMAP, res::IDB_SL_BUY,
         &CSearchLeft::onBuyItem},
        {res::IDC_SL_VIEW, "View Item", res::IDC_SL_VIEW_BITMAP, res::IDB_SL_VIEW,
         &CSearchLeft::onViewItem},
    };
    for (const Command& command : commands) {
        const QLabel* picture = hiddenBitmap(this, command.pictureId, command.bitmap);
        QPushButton* button = pictureButton(this, command.id, command.caption, picture);
        connect(button, &QPushButton::clicked, this, command.run);
        column->addWidget(button);
    }
    const QLabel* printPicture = hiddenBitmap(this, res::IDC_SL_PRINT_BITMAP, res::IDB_SL_PRINT);
    QPushButton* print = pictureButton(this, res::IDC_SL_PRINT, "Print", printPicture);
    connect(print, &QPushButton::clicked, this, [] {
        if (Navigator* frame = navigator()) frame->printWebPages();
    });
    column->addWidget(print);
    column->addStretch();
}

template <class Command>
void CSearchLeft::onEveryResultView(Command command) {
    for (CQSearch* view : window()->findChildren<CQSearch*>()) command(*view);
}

void CSearchLeft::onAddFavorite() {
    WaitCursor wait;
    const Session& values = session();
    if (values.advancedProductId.empty() && values.selectedProductId.empty()) {
        ui().messageBox(kNoSelectionCaption, "You must select an item to add to Favorites");
        return;
    }
    if (advancedMode_ == 0) {
        onEveryResultView([](CQSearch& view) { view.AddFavorite(); });
        return;
    }
    if (values.advancedSellerAddress.empty() || values.advancedProductId.empty()) {
        ui().messageBox("Can't Add Favorites with User Offline", "User Not Online");
        return;
    }
    if (!canDownloadListings()) return;
    const std::string productId = values.advancedProductId;
    const std::string user = values.currentUserName;
    if (IsInFavorite(productId, user) == 0) return;
    if (fetchListing(productId, values.advancedSellerAddress))
        AddFavorite(productId, user);
    else
        ui().messageBox("User Not Accessable", "Cannot Add to Favorites");
}

void CSearchLeft::onBuyItem() {
    Session& values = session();
    if (advancedMode_ == 1 && !values.advancedProductId.empty()) {
        const std::string kept = std::exchange(values.selectedProductId, values.advancedProductId);
        showContactDialog();
        session().selectedProductId = kept;
    } else if (advancedMode_ == 0 && !values.selectedProductId.empty()) {
        showContactDialog();
    }
}

void CSearchLeft::onViewItem() {
    const Session& values = session();
    if (values.advancedProductId.empty() && values.selectedProductId.empty()) {
        ui().messageBox(kNoSelectionCaption, "You must select an item to view the Item");
        return;
    }
    if (advancedMode_ == 1 && !values.advancedProductId.empty())
        fetchListing(values.advancedProductId, values.advancedSellerAddress);
    else
        onEveryResultView([](CQSearch& view) { view.ViewSelected(); });
}

}  // namespace tl
