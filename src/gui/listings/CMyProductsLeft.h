#pragma once

#include <string>

#include "gui/widgets/FormPane.h"

namespace tl {

// What a button that changes a listing says when the chosen row is an item the member bought.
inline constexpr char kBoughtItemCaption[] = "Bought Item";
std::string boughtItemText(const std::string& change);

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
    // What the member is told when a button needs a listing and none is chosen, and for the
    // buttons that change a listing, what they do to it: an item the member bought is another
    // member's listing, which such a button refuses with its own message.
    struct NoSelection {
        const char* text;
        const char* caption;
        const char* change = nullptr;  // "sell", "edit", ...; nullptr: a bought item will do
    };
    // The chosen listing id, or empty after the button's message.
    std::string chosenListing(const NoSelection& message) const;
    // Asks to confirm, runs the operation and reports it; the list is reloaded after a change.
    void changeListing(const NoSelection& message, const char* question,
                       int (*operation)(const std::string&), const char* doneText,
                       const char* doneCaption);
};

}  // namespace tl
