#include "gui/search/CSearchLeft.h"

#include <utility>

#include "core/platform/Ui.h"
#include "gui/search/CQSearch.h"
#include "gui/search/CUserNotOnlineDlg.h"
#include "gui/search/ListingOpening.h"
#include "gui/session/ListSelection.h"
#include "gui/session/Navigation.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"

namespace tl {
namespace {
constexpr char kNoSelectionCaption[] = "Error MI12q";
}

CSearchLeft::CSearchLeft(QWidget* parent) : FormPane(res::IDD_SEARCHLEFT, parent, kPanePurple) {
    addButtonColumn({
        {res::IDC_SL_ADDFAVORITE, "Add Favorite", res::IDC_SL_ADDFAVORITE_BITMAP,
         res::IDB_SL_ADDFAVORITE, [this] { onAddFavorite(); }},
        {res::IDC_SL_BUY, "Buy Item", res::IDC_SL_BUY_BITMAP, res::IDB_SL_BUY,
         [this] { onBuyItem(); }},
        {res::IDC_SL_VIEW, "View Item", res::IDC_SL_VIEW_BITMAP, res::IDB_SL_VIEW,
         [this] { onViewItem(); }},
        {res::IDC_SL_PRINT, "Print", res::IDC_SL_PRINT_BITMAP, res::IDB_SL_PRINT, printShownPages},
    });
}

template <class Command>
void CSearchLeft::onEveryResultView(Command command) {
    for (CQSearch* view : window()->findChildren<CQSearch*>()) command(*view);
}

void CSearchLeft::onAddFavorite() {
    WaitCursor wait;
    const ListSelection& values = listSelection();
    if (values.advancedProductId.empty() && values.selectedProductId.empty()) {
        ui().messageBox(kNoSelectionCaption, "You must select an item to add to Favorites");
        return;
    }
    if (advancedMode_ == 0) {
        onEveryResultView([](CQSearch& view) { view.AddFavorite(); });
        return;
    }
    if (values.advancedSellerAddress.empty() || values.advancedProductId.empty()) {
        CUserNotOnlineDlg::tellPosterOffline(values.advancedProductId);
        return;
    }
    fetchAndAddFavorite(values.advancedProductId, values.advancedSellerAddress);
}

void CSearchLeft::onBuyItem() {
    ListSelection& values = listSelection();
    if (advancedMode_ == 1 && !values.advancedProductId.empty()) {
        const std::string kept = std::exchange(values.selectedProductId, values.advancedProductId);
        showContactDialog();
        listSelection().selectedProductId = kept;
    } else if (advancedMode_ == 0 && !values.selectedProductId.empty()) {
        showContactDialog();
    }
}

void CSearchLeft::onViewItem() {
    const ListSelection& values = listSelection();
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
