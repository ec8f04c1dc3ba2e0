#include "gui/search/ResultList.h"

#include <QHeaderView>
#include <QStyle>
#include <algorithm>

#include "core/search/MyListings.h"
#include "gui/widgets/Controls.h"
#include "ids_search.h"

namespace tl {
namespace {

using F = ResultField;
using K = ListingKind;

// How a row marks its poster online: "On" for sale, "Online" wanted.
QString onlineWord(const ListedRecord& row) {
    return row.kind == K::Selling ? QStringLiteral("On") : QStringLiteral("Online");
}

QString fieldText(const ListedRecord& row, ResultField field) {
    const ResultRecord& record = row.record;
    const bool online = !record.ipaddress.empty();
    switch (field) {
        case F::Nothing:
            return {};
        case F::Title:
            return QString::fromStdString(record.titlebar);
        case F::Price:
            return QString::fromStdString(PriceText(record.price));
        case F::Username:
            return QString::fromStdString(record.username);
        case F::ProductId:
            return QString::fromStdString(record.productid);
        case F::Address:
            return QString::fromStdString(record.ipaddress);
        case F::Size:
            return QString::fromStdString(record.filesize);
        case F::Speed:
            return QString::fromStdString(record.connection);
        case F::Email:
            return QString::fromStdString(record.email);
        case F::OnMark:
            return online ? QStringLiteral("On") : QString();
        case F::Kind:
            return QString::fromLatin1(kindText(row.kind));
        case F::OnlineStatus:
            return online ? onlineWord(row) : QString();
        case F::KindOrOnline:
            return online ? onlineWord(row) : QString::fromLatin1(kindText(row.kind));
        case F::HolderStatus:
            if (row.kind != K::Bought) return QStringLiteral("On");
            return online ? QStringLiteral("Online") : QString();
        case F::FilesKept:
            return QString::fromLatin1(filesKeptText(record.fileskept));
    }
    return {};
}

// A row that keeps its record; it moves whole when the list sorts.
class RecordRow : public QTreeWidgetItem {
public:
    static constexpr int kType = QTreeWidgetItem::UserType + 1;
    explicit RecordRow(ListedRecord listed) : QTreeWidgetItem(kType), listed_(std::move(listed)) {}
    const ListedRecord& listed() const { return listed_; }

private:
    ListedRecord listed_;
};

}  // namespace

const ResultListLayout& quickSearchLayout() {
    static const ResultListLayout layout{{{"", 20, F::Nothing, ""},
                                          {"Item Title", 310, F::Title},
                                          {"Price", 40, F::Price, "Make Offer"},
                                          {"Username", 80, F::Username},
                                          {"Item #", 45, F::ProductId, ""},
                                          {"", 0, F::Address},
                                          {"Size", 40, F::Size, ""},
                                          {"Speed", 60, F::Speed, "I Don't Know"},
                                          {"", 0, F::Email},
                                          {"", 30, F::OnMark, "On"},
                                          {"", 0, F::Kind}},
                                         10,
                                         res::IDC_RESULT_LIST,
                                         {res::IDB_KIND_BUYING, res::IDB_KIND_SELLING}};
    return layout;
}

const ResultListLayout& advancedSearchLayout() {
    static const ResultListLayout layout{{{"", 20, F::Nothing, ""},
                                          {"Item Title", 280, F::Title},
                                          {"Price", 40, F::Price, "Make Offer"},
                                          {"Username", 80, F::Username},
                                          {"Item #", 45, F::ProductId, ""},
                                          {"", 0, F::Address},
                                          {"Size", 40, F::Size, ""},
                                          {"Speed", 80, F::Speed, "I Don't Know"},
                                          {"Status", 50, F::OnlineStatus, "Online"},
                                          {"", 0, F::Kind}},
                                         9,
                                         res::IDC_RESULT_LIST,
                                         {res::IDB_KIND_BUYING, res::IDB_KIND_SELLING}};
    return layout;
}

const ResultListLayout& favoritesLayout() {
    static const ResultListLayout layout{{{"Type", 40, F::Nothing, ""},
                                          {"Item Title", 350, F::Title},
                                          {"Price", 40, F::Price, "Make Offer"},
                                          {"Username", 80, F::Username},
                                          {"Item #", 45, F::ProductId, ""},
                                          {"Size", 70, F::Size, ""},
                                          {"Speed", 50, F::Speed, "I Don't Know"},
                                          {"Status", 0, F::KindOrOnline},
                                          {"", 0, F::Nothing}},
                                         7,
                                         res::IDC_RESULT_LIST,
                                         {res::IDB_KIND_BUYING, res::IDB_KIND_SELLING}};
    return layout;
}

ResultList::ResultList(const ResultListLayout& layout, QWidget* parent)
    : CSortListCtrl(parent), layout_(layout), ascending_(layout.columns.size(), true) {
    setControlId(this, layout_.controlId);
    setIconSize(QSize(16, 16));
    QStringList headers;
    for (const ResultColumn& column : layout_.columns) headers << column.header;
    setHeaderLabels(headers);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setSectionsClickable(true);
    for (int column = 0; column < columnCount(); ++column) {
        const ResultColumn& spec = layout_.columns[column];
        setColumnWidth(column, spec.width);
        setColumnHidden(column, spec.width == 0);
        if (spec.field == F::Title) header()->setSectionResizeMode(column, QHeaderView::Stretch);
    }
    for (std::size_t kind = 0; kind < images_.size(); ++kind)
        if (layout_.kindImages[kind] != 0)
            images_[kind] = QIcon(bitmapResource(layout_.kindImages[kind]));
    fitColumns();
    connect(header(), &QHeaderView::sectionClicked, this, &ResultList::onHeaderClicked);
}

// Each shown column but the title is as wide as its header and its longest known value, and
// never narrower than its layout says. Rows do not widen a column: measuring every cell would
// cost more than filling the list, and a hostile reply could push the title out of sight.
void ResultList::fitColumns() {
    const int margin =
        2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1) + 4;
    for (int column = 0; column < columnCount(); ++column) {
        const ResultColumn& spec = layout_.columns[column];
        if (spec.width == 0 || spec.field == F::Title) continue;
        int width = std::max(spec.width, header()->sectionSizeHint(column));
        if (spec.longest != nullptr) {
            int value = fontMetrics().horizontalAdvance(QString::fromUtf8(spec.longest)) + margin;
            if (column == 0) value += iconSize().width() + margin;
            width = std::max(width, value);
        }
        setColumnWidth(column, width);
    }
}

void ResultList::addRecords(std::vector<ResultRecord> records) {
    std::vector<ListedRecord> rows;
    rows.reserve(records.size());
    for (ResultRecord& record : records)
        if (const std::optional<ListingKind> kind = offeredKind(record.status))
            rows.push_back({std::move(record), *kind});
    addRows(std::move(rows));
}

void ResultList::addRows(std::vector<ListedRecord> listed) {
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(listed.size()));
    for (ListedRecord& one : listed) {
        auto* row = new RecordRow(std::move(one));
        row->setIcon(0, images_[static_cast<std::size_t>(row->listed().kind)]);
        // An empty cell is left unset: it reads as empty all the same, for less. The last
        // column goes in first, so the row's cells are allocated once.
        for (int column = columnCount() - 1; column >= 0; --column)
            if (QString text = fieldText(row->listed(), layout_.columns[column].field);
                !text.isEmpty())
                row->setText(column, text);
        rows.append(row);
    }
    appendRows(rows);
}

const ListedRecord* ResultList::recordOf(const QTreeWidgetItem* row) {
    if (row == nullptr || row->type() != RecordRow::kType) return nullptr;
    return &static_cast<const RecordRow*>(row)->listed();
}

const ListedRecord* ResultList::selectedRecord() const {
    const QList<QTreeWidgetItem*> chosen = selectedItems();
    return chosen.isEmpty() ? nullptr : recordOf(chosen.front());
}

// A column whose text is a field of the record as it came compares by that field, read without
// the cell's text; a price of "-1" or "0" counts as its words "Make Offer" and "Free" would.
double ResultList::sortNumber(const QTreeWidgetItem* row, int column) const {
    const ListedRecord* listed = recordOf(row);
    if (listed == nullptr) return CSortListCtrl::sortNumber(row, column);
    const ResultRecord& record = listed->record;
    switch (layout_.columns[static_cast<std::size_t>(column)].field) {
        case F::Price:
            return numericValue(record.price);
        case F::ProductId:
            return numericValue(record.productid);
        case F::Size:
            return numericValue(record.filesize);
        case F::Address:
            return numericValue(record.ipaddress);
        case F::Speed:
            return numericValue(record.connection);
        default:
            return CSortListCtrl::sortNumber(row, column);
    }
}

void ResultList::sortByItemNumber() {
    SortColumn(kItemNumberColumn, ascending_[kItemNumberColumn]);
}

void ResultList::onHeaderClicked(int column) {
    if (column < 0 || column >= columnCount() || isColumnHidden(column)) return;
    const bool ascending = ascending_[column];
    SortColumn(column == 0 ? layout_.kindColumn : column, ascending);
    ascending_[column] = !ascending;
}

bool fillResultList(ResultList& list, ResultQuery& query) {
    list.clear();
    if (!query.Run() || query.IsEmpty()) return false;
    list.addRecords(query.takeRecords());
    return true;
}

}  // namespace tl
