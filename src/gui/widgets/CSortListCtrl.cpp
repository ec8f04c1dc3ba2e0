#include "gui/widgets/CSortListCtrl.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <charconv>

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

namespace {

// The length of the leading decimal number of the text: optional sign, digits, optional
// fraction; 0 when no digit or point follows the sign.
template <typename Text, typename IsDigit>
std::size_t numberLength(const Text& text, IsDigit isDigit) {
    const auto size = static_cast<std::size_t>(std::size(text));
    const auto at = [&](std::size_t i) { return text[static_cast<decltype(std::size(text))>(i)]; };
    std::size_t end = 0;
    if (end < size && (at(end) == '-' || at(end) == '+')) ++end;
    const std::size_t digitsFrom = end;
    while (end < size && isDigit(at(end))) ++end;
    if (end < size && at(end) == '.') {
        ++end;
        while (end < size && isDigit(at(end))) ++end;
    }
    return end == digitsFrom ? 0 : end;
}

// The value of an ASCII number numberLength() measured, whatever the locale calls a decimal
// point; 0 when it is no number ("-.", ".").
double asciiNumber(std::string_view number) {
    // from_chars takes no plus sign.
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    double value = 0;
    const auto [stop, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    return error == std::errc() && stop == number.data() + number.size() ? value : 0;
}

}  // namespace

double CSortListCtrl::numericValue(const QString& text) {
    if (text == QLatin1StringView("Make Offer")) return -1;
    if (text == QLatin1StringView("Free")) return 0;
    const std::size_t length = numberLength(text, [](QChar c) { return c.isDigit(); });
    // Copied to the stack when short, as it nearly always is.
    char ascii[64];
    if (length > sizeof ascii) {
        bool ok = false;
        const double value = QStringView(text).first(static_cast<qsizetype>(length)).toDouble(&ok);
        return ok ? value : 0;
    }
    for (std::size_t i = 0; i < length; ++i) {
        // A digit of another script is no number the conversion knows.
        const char16_t c = text[static_cast<qsizetype>(i)].unicode();
        if (c > 0x7f) return 0;
        ascii[i] = static_cast<char>(c);
    }
    return asciiNumber({ascii, length});
}

double CSortListCtrl::numericValue(std::string_view text) {
    if (text == "Make Offer") return -1;
    if (text == "Free") return 0;
    return asciiNumber(
        text.substr(0, numberLength(text, [](char c) { return c >= '0' && c <= '9'; })));
}

double CSortListCtrl::sortNumber(const QTreeWidgetItem* row, int column) const {
    return numericValue(row->text(column));
}

// One row of the range being sorted: its text in a text column or the number a numeric column
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
        const QTreeWidgetItem* item = topLevelItem(row);
        keys.push_back(numeric ? SortKey{{}, sortNumber(item, column), row}
                               : SortKey{item->text(column), 0, row});
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
            // Rows of equal keys are left where they are.
            if (numeric ? at(left).number != at(right).number : at(left).text != at(right).text)
                std::swap(at(left), at(right));
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
