#pragma once

#include <array>
#include <vector>

#include "core/search/ListingKind.h"
#include "core/search/ResultQuery.h"
#include "core/search/ResultRecord.h"
#include "gui/widgets/CSortListCtrl.h"

namespace tl {

// What a column of a result list shows of a record.
enum class ResultField {
    Nothing,
    Title,
    Price,  // as it shows: "Make Offer", "Free" or the amount
    Username,
    ProductId,
    Address,
    Size,
    Speed,
    Email,
    OnMark,        // "On" while the poster is online
    Kind,          // "selling", "buying", "sold", "bought" or "inactive"
    OnlineStatus,  // "On" (for sale) or "Online" (wanted) while the poster is online
    KindOrOnline,  // OnlineStatus while the poster is online, else Kind
    HolderStatus,  // "On" for the member's own listing, "Online" for a bought one's online seller
    FilesKept,     // "Kept" or "Not kept" when the marketplace says whether it keeps the files
};

struct ResultColumn {
    const char* header;
    int width;  // 0: hidden
    ResultField field;
    // The longest text the column shows among its known values, which it is made wide enough
    // for from the start; nullptr when its values are open-ended.
    const char* longest = nullptr;
};

// The columns of one list, the hidden kind column that the first header sorts by, the list's
// control id and the image of each kind (a bitmap id, 0 for none), by ListingKind.
struct ResultListLayout {
    std::vector<ResultColumn> columns;
    int kindColumn;
    int controlId;
    std::array<int, 5> kindImages;
};

const ResultListLayout& quickSearchLayout();
const ResultListLayout& advancedSearchLayout();
const ResultListLayout& favoritesLayout();

// The columns every search layout shares, at the same place.
inline constexpr int kTitleColumn = 1;
inline constexpr int kUsernameColumn = 3;
inline constexpr int kItemNumberColumn = 4;
inline constexpr int kAddressColumn = 5;  // quick and advanced search

// A record and what it is to the member; every row of a result list keeps one.
struct ListedRecord {
    ResultRecord record;
    ListingKind kind;
};

// A sortable list of records laid out by a layout. Each row keeps its record, which the
// screens read rather than the cell texts. A header click sorts by that column (the first one
// by the kind) in the column's own direction, which then flips. The title column takes the
// width the others leave and grows with the list; the others are wide enough for their header
// and their longest known value.
class ResultList : public CSortListCtrl {
    Q_OBJECT
public:
    ResultList(const ResultListLayout& layout, QWidget* parent);

    // Appends a row per record offered for sale or wanted; records of any other status add
    // none.
    void addRecords(std::vector<ResultRecord> records);
    // Appends a row per record, of the kind given.
    void addRows(std::vector<ListedRecord> rows);
    // Sorts the whole list by "Item #" in that column's direction, leaving the direction as is.
    void sortByItemNumber();
    void onHeaderClicked(int column);

    // The record of the chosen row; nullptr when no row is chosen.
    const ListedRecord* selectedRecord() const;
    // The record a row keeps; nullptr for a row of another list.
    static const ListedRecord* recordOf(const QTreeWidgetItem* row);

protected:
    double sortNumber(const QTreeWidgetItem* row, int column) const override;

private:
    void fitColumns();

    const ResultListLayout& layout_;
    std::vector<bool> ascending_;
    std::array<QIcon, 5> images_;
};

// Empties the list and runs the query; false when it found nothing to show (a failed request
// included), else the list holds its records.
bool fillResultList(ResultList& list, ResultQuery& query);

}  // namespace tl
