#pragma once

#include <optional>
#include <string>

#include "gui/widgets/FormPane.h"

class QTreeWidgetItem;

namespace tl {

class ResultList;
class ResultQuery;
struct ResultListLayout;

// The columns of the my-listings list.
const ResultListLayout& myListingsLayout();

// The member's own listings (for sale, wanted, sold, inactive) and the items the member bought,
// read from the server each time the view is shown. Choosing a row makes its item number the
// selected listing id that the buttons beside the list act on.
class CViewMyProd : public FormPane {
    Q_OBJECT
public:
    // Columns of the list, as its layout lays them out.
    enum Column {
        TypeColumn,
        TitleColumn,
        PriceColumn,
        UserColumn,
        ItemNumberColumn,
        SizeColumn,
        StatusColumn,
        KindColumn,   // hidden: the type again, which the "Type" heading sorts by
        FilesColumn,  // whether the marketplace keeps the files; hidden when it says nothing
        ColumnCount
    };

    explicit CViewMyProd(QWidget* parent = nullptr);

    ResultList& list() const { return *list_; }

    // Replaces the rows with the member's listings and bought items, sorted by item number.
    void Refresh();
    // Sells the selected listing: asks the server whether it can be sold, takes the buyer and
    // the price in the "Sell Product" dialog and reports the server's answer.
    void Sell();
    // When the id is listed only as an item the member bought (another member's listing, which
    // the member can neither sell nor change): where it is fetched from, its seller's address
    // ("" when the seller is offline, so the marketplace copy is fetched). Nothing for the
    // member's own listings.
    std::optional<std::string> boughtFrom(const std::string& productId) const;

    // Shows the listing: the member's own from disk, a bought one fetched from its seller.
    void showListing(const std::string& productId);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void addOwnListings();
    void addBoughtItems();
    void reportFailure(const ResultQuery& query);
    void trackChosenRow();
    void openRow(const QTreeWidgetItem* row);

    ResultList* list_;
};

}  // namespace tl
