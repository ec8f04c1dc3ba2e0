#pragma once

#include <QList>
#include <vector>

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
    Kind,          // "selling" or "buying"
    OnlineStatus,  // "On" (for sale) or "Online" (wanted) while the poster is online
    KindOrOnline,  // OnlineStatus while the poster is online, else Kind
};

struct ResultColumn {
    const char* header;
    int width;  // 0: hidden, a value the screens read back
    ResultField field;
};

// The columns of one result list and the hidden kind column that the first header sorts by.
struct ResultListLayout {
    std::vector<ResultColumn> columns;
    int kindColumn;
    // Rows for listings that were sold or made inactive too, showing that state in place of
    // the kind, so that the member can still find and remove them.
    bool keepsClosedListings = false;
};

const ResultListLayout& quickSearchLayout();
const ResultListLayout& advancedSearchLayout();
const ResultListLayout& favoritesLayout();

// The columns every layout shares, at the same place: the screens read them back by index.
inline constexpr int kTitleColumn = 1;
inline constexpr int kUsernameColumn = 3;
inline constexpr int kItemNumberColumn = 4;
inline constexpr int kAddressColumn = 5;  // quick and advanced search
inline constexpr int kSizeColumn = 6;     // quick and advanced search
inline constexpr int kSpeedColumn = 7;    // quick and advanced search

// A sortable list of result records laid out by a layout. A header click sorts by that column
// (the first one by the kind) in the column's own direction, which then flips.
class ResultList : public CSortListCtrl {
    Q_OBJECT
public:
    ResultList(const ResultListLayout& layout, QWidget* parent);

    // Appends a row per record offered for sale ("Selling") or wanted ("Buying"); records of
    // any other kind add none, except closed listings in a layout that keeps them. Prices are taken
    // as they show.
    void addRecords(const std::vector<ResultRecord>& records);
    // Sorts the whole list by "Item #" in that column's direction, leaving the direction as is.
    void sortByItemNumber();
    void onHeaderClicked(int column);

private:
    QTreeWidgetItem* makeRow(const ResultRecord& record) const;

    const ResultListLayout& layout_;
    std::vector<bool> ascending_;
};

// The current record of a query object, with the fields its reply carries.
template <class Query>
ResultRecord shownRecord(const Query& query) {
    ResultRecord record;
    record.productid = query.GetProductid();
    record.titlebar = query.GetTitlebar();
    record.username = query.GetUsername();
    record.ipaddress = query.GetIpaddress();
    record.connection = query.GetConnection();
    record.filesize = query.GetFilesize();
    record.price = query.GetPrice();
    if constexpr (requires { query.GetStatus(); }) record.status = query.GetStatus();
    if constexpr (requires { query.GetEmail(); }) record.email = query.GetEmail();
    return record;
}

// Empties the list and runs the query; false when it found nothing to show (a failed request
// included), else the list holds its records.
template <class Query>
bool fillResultList(ResultList& list, Query& query) {
    list.clear();
    if (!query.Run() || query.IsEmpty()) return false;
    std::vector<ResultRecord> records;
    do {
        records.push_back(shownRecord(query));
    } while (query.Next());
    list.addRecords(records);
    return true;
}

}  // namespace tl
