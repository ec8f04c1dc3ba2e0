#include "gui/listings/CMyProductsLeft.h"

#include <QPushButton>

#include "core/listings/ListingOperations.h"
#include "core/platform/Ui.h"
#include "core/service/Endpoints.h"
#include "core/session/Session.h"
#include "gui/listings/CViewMyProd.h"
#include "gui/listings/ListingFilesSending.h"
#include "gui/session/ListSelection.h"
#include "gui/session/Navigation.h"
#include "gui/widgets/Controls.h"
#include "ids_mylistings.h"

namespace tl {

std::string boughtItemText(const std::string& change) {
    return "You bought this item from another member: only its seller can " + change + " it.";
}

CMyProductsLeft::CMyProductsLeft(QWidget* parent) : FormPane(res::IDD_MYPRODUCTSLEFT, parent) {
    addButtonColumn({
        {res::IDC_MPL_SELL, "Sell Item", res::IDC_MPL_SELL_BITMAP, res::IDB_MPL_SELL,
         [this] { onSell(); }},
        {res::IDC_MPL_VIEW, "View Item", res::IDC_MPL_VIEW_BITMAP, res::IDB_MPL_VIEW,
         [this] { onView(); }},
        {res::IDC_MPL_EDIT, "Edit Item", res::IDC_MPL_EDIT_BITMAP, res::IDB_MPL_EDIT,
         [this] { onEdit(); }},
        {res::IDC_MPL_REMOVE, "Remove Item", res::IDC_MPL_REMOVE_BITMAP, res::IDB_MPL_REMOVE,
         [this] { onRemove(); }},
        {res::IDC_MPL_INACTIVATE, "Delete", res::IDC_MPL_INACTIVATE_BITMAP, res::IDB_MPL_INACTIVATE,
         [this] { onInactivate(); }},
        {res::IDC_MPL_REACTIVATE, "Reactivate", res::IDC_MPL_REACTIVATE_BITMAP,
         res::IDB_MPL_REACTIVATE, [this] { onReactivate(); }},
        {res::IDC_MPL_PRINT, "Print", res::IDC_MPL_PRINT_BITMAP, res::IDB_MPL_PRINT,
         printShownPages},
        {res::IDC_MPL_FEEDBACK, "Feed Back", res::IDC_MPL_FEEDBACK_BITMAP, res::IDB_MPL_FEEDBACK,
         [this] { onFeedback(); }},
        {res::IDC_MPL_SEND_FILES, "Send Files", 0, 0, [this] { onSendFiles(); }},
    });
    findControl(this, res::IDC_MPL_REACTIVATE)->hide();
}

std::string CMyProductsLeft::chosenListing(const NoSelection& message) const {
    const std::string productId = listSelection().selectedListingId;
    if (productId.empty()) {
        ui().messageBox(message.caption, message.text);
        return {};
    }
    if (message.change != nullptr)
        for (const CViewMyProd* list : window()->findChildren<CViewMyProd*>())
            if (list->boughtFrom(productId)) {
                ui().messageBox(kBoughtItemCaption, boughtItemText(message.change));
                return {};
            }
    return productId;
}

void CMyProductsLeft::onSell() {
    if (chosenListing({"You must select an item before it can be Edited", "Error MI12d", "sell"})
            .empty())
        return;
    switchMainView(View::MyListings);
    for (CViewMyProd* list : window()->findChildren<CViewMyProd*>()) list->Sell();
    listSelection().selectedListingId.clear();
}

void CMyProductsLeft::onView() {
    const std::string productId =
        chosenListing({"You must select an item before it can be Edited", "Error MI12e"});
    if (productId.empty()) return;
    for (CViewMyProd* list : window()->findChildren<CViewMyProd*>()) list->showListing(productId);
    listSelection().selectedListingId.clear();
}

// The edit form loads the selected listing when it is shown, so the selection stays.
void CMyProductsLeft::onEdit() {
    if (!chosenListing({"You must select an item before it can be Edited", "Error MI12f", "edit"})
             .empty())
        switchMainView(View::EditListing);
}

void CMyProductsLeft::onRemove() {
    changeListing({"You must select an item before it can be removed", "Error MI12g", "remove"},
                  "Are you sure to Delete Item ", Remove, " Removed", "Product Removed");
}

void CMyProductsLeft::onInactivate() {
    changeListing({"You must select an item before it can be inactivated", "Error MI12q", "delete"},
                  "Are you sure you want to Remove Item ", Inactivate, " Inactive",
                  "Product Inactive");
}

void CMyProductsLeft::onReactivate() {
    changeListing(
        {"You must select an item before it can be Activated", "Error MI12q", "reactivate"},
        "Are you sure you want to Activate Item ", Reactivate, " Activated", "Product Inactivated");
}

// A failed operation has shown its own message; the list stays as it is.
void CMyProductsLeft::changeListing(const NoSelection& message, const char* question,
                                    int (*operation)(const std::string&), const char* doneText,
                                    const char* doneCaption) {
    const std::string productId = chosenListing(message);
    if (productId.empty()) return;
    const MessageResult answer = ui().messageBox("Confirmation", question + productId + "?",
                                                 MessageButtons::YesNo, MessageIcon::Question);
    if (answer == MessageResult::Yes && operation(productId) == 1) {
        ui().messageBox(doneCaption, "Product " + productId + doneText);
        switchMainView(View::MyListings);
    }
    listSelection().selectedListingId.clear();
}

void CMyProductsLeft::onSendFiles() {
    const std::string productId = chosenListing(
        {"You must select an item before its files can be sent", "Error MI12s", "send"});
    if (productId.empty()) return;
    sendListingFilesInBackground(productId, this, [this, productId](KeepResult result) {
        if (const std::optional<KeepOutcomeBox> box = keepConfirmationBox(productId, result))
            ui().messageBox(box->caption, box->text);
        for (CViewMyProd* list : window()->findChildren<CViewMyProd*>())
            if (list->isVisible()) list->Refresh();
    });
    listSelection().selectedListingId.clear();
}

void CMyProductsLeft::onFeedback() {
    session().webAddress = endpoints::categorySuggestion(session().currentUserName).address();
    switchMainView(View::WebPane);
}

}  // namespace tl
