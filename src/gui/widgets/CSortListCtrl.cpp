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
    const double value = text.left(end).toDouble(&ok);
    return ok && end > digitsFrom ? value : 0;
}

int CSortListCtrl::compare(int column, const QString& a, const QString& b) const {
    if (isNumericColumn(column)) {
        const double left = numericValue(a);
        const double right = numericValue(b);
        return left < right ? -1 : (left > right ? 1 : 0);
    }
    return QString::compare(a, b, Qt::CaseInsensitive);
}

bool CSortListCtrl::SortColumn(int column, bool ascending, int first, int last) {
    if (column < 0 || column >= columnCount()) return false;
    if (last == -1) last = topLevelItemCount() - 1;
    first = std::max(first, 0);
    last = std::min(last, topLevelItemCount() - 1);
    if (first < last) quickSort(column, ascending, first, last);
    return true;
}

void CSortListCtrl::quickSort(int column, bool ascending, int first, int last) {
    auto text = [this, column](int row) { return topLevelItem(row)->text(column); };
    const QString pivot = text((first + last) / 2);
    const int direction = ascending ? 1 : -1;
    int left = first;
    int right = last;
    while (left <= right) {
        while (left < last && direction * compare(column, text(left), pivot) < 0) ++left;
        while (right > first && direction * compare(column, text(right), pivot) > 0) --right;
        if (left <= right) {
            if (text(left) != text(right)) exchangeRows(left, right);
            ++left;
            --right;
        }
    }
    if (first < right) quickSort(column, ascending, first, right);
    if (left < last) quickSort(column, ascending, left, last);
}

void CSortListCtrl::exchangeRows(int a, int b) {
    QTreeWidgetItem* one = topLevelItem(a);
    QTreeWidgetItem* other = topLevelItem(b);
    for (int column = 0; column < columnCount(); ++column) {
        const QString text = one->text(column);
        one->setText(column, other->text(column));
        other->setText(column, text);
    }
    const QIcon image = one->icon(0);
    one->setIcon(0, other->icon(0));
    other->setIcon(0, image);
    const QVariant data = one->data(0, Qt::UserRole);
    one->setData(0, Qt::UserRole, other->data(0, Qt::UserRole));
    other->setData(0, Qt::UserRole, data);

    const bool oneSelected = one->isSelected();
    one->setSelected(other->isSelected());
    other->setSelected(oneSelected);
    if (currentItem() == one)
        setCurrentItem(other, 0, QItemSelectionModel::NoUpdate);
    else if (currentItem() == other)
        setCurrentItem(one, 0, QItemSelectionModel::NoUpdate);
}

}  // namespace tl
