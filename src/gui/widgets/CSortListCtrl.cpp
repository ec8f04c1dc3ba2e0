#include "gui/widgets/CSortListCtrl.h"

#include <QHeaderView>
#include <QMouseEvent>

namespace tl {

CSortListCtrl::CSortListCtrl(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    header()->setSectionsMovable(false);
}

// The tree's own handling comes first (it also prepares double-clicks), but with Ctrl held it
// takes the selection away from the row when the button is released; a left click always
// leaves the row chosen.
void CSortListCtrl::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    chooseRowUnder(event);
}

void CSortListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    chooseRowUnder(event);
}

void CSortListCtrl::chooseRowUnder(const QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (QTreeWidgetItem* row = itemAt(event->position().toPoint())) {
        setCurrentItem(row);
        row->setSelected(true);
    }
}

void CSortListCtrl::appendRows(const QList<QTreeWidgetItem*>& rows) {
    const bool drawing = updatesEnabled();
    setUpdatesEnabled(false);
    addTopLevelItems(rows);
    setUpdatesEnabled(drawing);
}

bool CSortListCtrl::isNumericColumn(int column) {
    return column == 2 || column == 4 || column == 5 || column == 6;
}

double CSortListCtrl::numericValue(const QString& text) {
    if (text == "Make Offer") return -1;
    if (text == "Free") return 0;
    // The leading decimal number: optional sign, digits, optional fraction.
    int end = 0;
    if (end < text.size() && (text[end] == '-' || text[end] == '+')) ++end;
    const int digitsFrom = end;
    while (end < text.size() && text[end].isDigit()) ++end;
    if (end < text.size() && text[end] == '.') {
        ++end;
        while (end < text.size() && text[end].isDigit()) ++end;
    }
    bool ok = false;
    const double value = QStringView(text).first(end).toDouble(&ok);
    return ok && end > digitsFrom ? value : 0;
}

// One row of the range being sorted: its text in the sort column, the number a numeric column
// compares by, and where the row stood before the sort.
struct CSortListCtrl::SortKey {
    QString text;
    double number = 0;
    int row = 0;
};

int CSortListCtrl::compare(bool numeric, const SortKey& a, const SortKey& b) {
    if (numeric) return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
    return QString::compare(a.text, b.text, Qt::CaseInsensitive);
}

bool CSortListCtrl::SortColumn(int column, bool ascending, int first, int last) {
    if (column < 0 || column >= columnCount()) return false;
    if (last == -1) last = topLevelItemCount() - 1;
    first = std::max(first, 0);
    last = std::min(last, topLevelItemCount() - 1);
    if (first >= last) return true;

    // The sort runs on the keys alone; the rows then move once into their new places, which
    // keeps a long list quick to sort.
    const bool numeric = isNumericColumn(column);
    std::vector<SortKey> keys;
    keys.reserve(static_cast<std::size_t>(last - first + 1));
    for (int row = first; row <= last; ++row) {
        SortKey key{topLevelItem(row)->text(column), 0, row};
        if (numeric) key.number = numericValue(key.text);
        keys.push_back(std::move(key));
    }
    quickSort(keys, numeric, ascending, 0, static_cast<int>(keys.size()) - 1);
    placeRows(first, keys);
    return true;
}

void CSortListCtrl::quickSort(std::vector<SortKey>& keys, bool numeric, bool ascending, int first,
                              int last) {
    const SortKey pivot = keys[static_cast<std::size_t>((first + last) / 2)];
    const int direction = ascending ? 1 : -1;
    auto at = [&keys](int index) -> SortKey& { return keys[static_cast<std::size_t>(index)]; };
    int left = first;
    int right = last;
    while (left <= right) {
        while (left < last && direction * compare(numeric, at(left), pivot) < 0) ++left;
        while (right > first && direction * compare(numeric, at(right), pivot) > 0) --right;
        if (left <= right) {
            if (at(left).text != at(right).text) std::swap(at(left), at(right));
            ++left;
            --right;
        }
    }
    if (first < right) quickSort(keys, numeric, ascending, first, right);
    if (left < last) quickSort(keys, numeric, ascending, left, last);
}

// Puts the rows of the range in the order of the sorted keys. Each row moves whole, with its
// texts, image, item data and selection; the current row stays current.
void CSortListCtrl::placeRows(int first, const std::vector<SortKey>& keys) {
    bool moved = false;
    for (std::size_t i = 0; i < keys.size() && !moved; ++i)
        moved = keys[i].row != first + static_cast<int>(i);
    if (!moved) return;

    QTreeWidgetItem* current = currentItem();
    const QList<QTreeWidgetItem*> selected = selectedItems();
    const bool drawing = updatesEnabled();
    setUpdatesEnabled(false);
    QList<QTreeWidgetItem*> rows = invisibleRootItem()->takeChildren();
    const QList<QTreeWidgetItem*> before = rows;
    for (std::size_t i = 0; i < keys.size(); ++i)
        rows[first + static_cast<qsizetype>(i)] = before[keys[i].row];
    appendRows(rows);
    setUpdatesEnabled(drawing);
    for (QTreeWidgetItem* row : selected) row->setSelected(true);
    if (current != nullptr) setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
}

}  // namespace tl
