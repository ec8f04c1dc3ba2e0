#include "gui/search/ResultList.h"

#include <QHeaderView>

#include "gui/widgets/Controls.h"
#include "ids_search.h"

namespace tl {
namespace {

using F = ResultField;

bool isSelling(const ResultRecord& record) {
    return record.status == "Selling";
}

bool isOffered(const ResultRecord& record) {
    return isSelling(record) || record.status == "Buying";
}

// A listing that was sold or taken off the market.
bool isClosed(const ResultRecord& record) {
    return record.status == "SOLD" || record.status == "INACTIVE";
}

QString fieldText(const ResultRecord& record, ResultField field) {
    // A listing no longer offered shows its state and is never marked online.
    const bool online = isOffered(record) && !record.ipaddress.empty();
    const char* onlineStatus = isSelling(record) ? "On" : "Online";
    const QString kind = !isOffered(record)  ? QString::fromStdString(record.status)
                         : isSelling(record) ? QStringLiteral("selling")
                                             : QStringLiteral("buying");
    switch (field) {
        case F::Nothing:
            return {};
        case F::Title:
            return QString::fromStdString(record.titlebar);
        case F::Price:
            return QString::fromStdString(record.price);
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
            return kind;
        case F::OnlineStatus:
            return online ? QString(onlineStatus) : QString();
        case F::KindOrOnline:
            return online ? QString(onlineStatus) : kind;
    }
    return {};
}

}  // namespace

const ResultListLayout& quickSearchLayout() {
    static const ResultListLayout layout{{{"", 20, F::Nothing},
                                          {"Item Title", 310, F::Title},
                                          {"Price", 40, F::Price},
                                          {"Username", 80, F::Username},
                                          {"Item #", 45, F::ProductId},
                                          {"", 0, F::Address},
                                          {"Size", 40, F::Size},
                                          {"Speed", 60, F::Speed},
                                          {"", 0, F::Email},
                                          {"", 30, F::OnMark},
                                          {"", 0, F::Kind}},
                                         10};
    return layout;
}

const ResultListLayout& advancedSearchLayout() {
    static const ResultListLayout layout{{{"", 20, F::Nothing},
                                          {"Item Title", 280, F::Title},
                                          {"Price", 40, F::Price},
                                          {"Username", 80, F::Username},
                                          {"Item #", 45, F::ProductId},
                                          {"", 0, F::Address},
                                          {"Size", 40, F::Size},
                                          {"Speed", 80, F::Speed},
                                          {"Status", 50, F::OnlineStatus},
                                          {"", 0, F::Kind}},
                                         9};
    return layout;
}

const ResultListLayout& favoritesLayout() {
    static const ResultListLayout layout{{{"Type", 40, F::Nothing},
                                          {"Item Title", 350, F::Title},
                                          {"Price", 40, F::Price},
                                          {"Username", 80, F::Username},
                                          {"Item #", 45, F::ProductId},
                                          {"Size", 70, F::Size},
                                          {"Speed", 50, F::Speed},
                                          {"Status", 0, F::KindOrOnline},
                                          {"", 0, F::Nothing}},
                                         7,
                                         true};
    return layout;
}

ResultList::ResultList(const ResultListLayout& layout, QWidget* parent)
    : CSortListCtrl(parent), layout_(layout), ascending_(layout.columns.size(), true) {
    setControlId(this, res::IDC_RESULT_LIST);
    setIconSize(QSize(16, 16));
    QStringList headers;
    for (const ResultColumn& column : layout_.columns) headers << column.header;
    setHeaderLabels(headers);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setSectionsClickable(true);
    for (int column = 0; column < columnCount(); ++column) {
        const int width = layout_.columns[column].width;
        setColumnWidth(column, width);
        setColumnHidden(column, width == 0);
    }
    connect(header(), &QHeaderView::sectionClicked, this, &ResultList::onHeaderClicked);
}

QTreeWidgetItem* ResultList::makeRow(const ResultRecord& record) const {
    static const QIcon selling(bitmapResource(res::IDB_KIND_SELLING));
    static const QIcon buying(bitmapResource(res::IDB_KIND_BUYING));
    if (!isOffered(record) && !(layout_.keepsClosedListings && isClosed(record))) return nullptr;
    auto* row = new QTreeWidgetItem;
    if (isOffered(record)) row->setIcon(0, isSelling(record) ? selling : buying);
    for (int column = 0; column < columnCount(); ++column)
        row->setText(column, fieldText(record, layout_.columns[column].field));
    return row;
}

void ResultList::addRecords(const std::vector<ResultRecord>& records) {
    QList<QTreeWidgetItem*> rows;
    rows.reserve(static_cast<qsizetype>(records.size()));
    for (const ResultRecord& record : records)
        if (QTreeWidgetItem* row = makeRow(record)) rows.append(row);
    addTopLevelItems(rows);
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

}  // namespace tl
