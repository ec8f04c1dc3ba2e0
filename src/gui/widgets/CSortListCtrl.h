#pragma once

#include <QTreeWidget>
#include <string_view>
#include <vector>

namespace tl {

// The report-style list of the result, favourites, advanced-search and my-listings screens.
// A left click selects and focuses the row under the pointer. Rows are sorted in place by one
// column; columns 2, 4, 5 and 6 hold prices and sizes and compare as numbers.
class CSortListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    explicit CSortListCtrl(QWidget* parent = nullptr);

    // Sorts rows first..last (-1: the last row) by the column. False, with nothing changed,
    // for a column not below the column count.
    bool SortColumn(int column, bool ascending, int first = 0, int last = -1);

    // The value a numeric column compares by: "Make Offer" -1, "Free" 0, otherwise the
    // leading decimal number of the text, 0 when it has none.
    static double numericValue(const QString& text);
    static double numericValue(std::string_view text);
    static bool isNumericColumn(int column);

protected:
    // The number the row compares by in a numeric column: by default the value of its text.
    virtual double sortNumber(const QTreeWidgetItem* row, int column) const;
    // Appends the rows at once, with drawing held off until they are all in.
    void appendRows(const QList<QTreeWidgetItem*>& rows);

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct SortKey;
    void chooseRowUnder(const QMouseEvent* event);
    static int compare(bool numeric, const SortKey& a, const SortKey& b);
    static void quickSort(std::vector<SortKey>& keys, bool numeric, bool ascending, int first,
                          int last);
    void placeRows(int first, const std::vector<SortKey>& keys);
};

}  // namespace tl
