#pragma once

#include <string>

#include "gui/widgets/FormPane.h"

namespace tl {

// The buttons beside the my-listings and edit-listing panes: Sell, View, Edit, Remove, Delete
// (inactivate), Reactivate (hidden), Print, Feed Back and Send Files. They act on the selected
// listing id that the my-listings list sets, and every one but Edit clears it.
class CMyProductsLeft : public FormPane {
    Q_OBJECT
public:
    explicit CMyProductsLeft(QWidget* parent = nullptr);

    void onSell();
    void onView();
    void onEdit();
    void onRemove();
    void onInactivate();
    void onReactivate();
    void onFeedback();
    // Sends the chosen listing's files to the marketplace again and tells how that went.
    void onSendFiles();

private:
    // What the member is told when a button needs a listing and none is chosen.
    struct NoSelection {
        const char* text;
        const char* caption;
    };
    // The chosen listing id, or empty after the button's no-selection message. Only the
    // member's own listings count for the buttons that change a listing: an item the member
    // bought is another member's.
    std::string chosenListing(const NoSelection& message, bool ownOnly) const;
    // Asks to confirm, runs the operation and reports it; the list is reloaded after a change.
    void changeListing(const NoSelection& message, const char* question,
                       int (*operation)(const std::string&), const char* doneText,
                       const char* doneCaption);
};

}  // namespace tl
