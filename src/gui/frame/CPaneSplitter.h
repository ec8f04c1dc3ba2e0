#pragma once

#include <QWidget>
#include <functional>
#include <map>
#include <vector>

namespace tl {

// The main window's static splitter: a grid of cells, each holding several views of which
// exactly one is visible. Views are known by the id AddView gave them. The visible view of a
// cell carries the cell's pane control id; the hidden ones carry control id 0.
class CPaneSplitter : public QWidget {
    Q_OBJECT
public:
    using ViewFactory = std::function<QWidget*(QWidget* parent)>;

    // The ideal and smallest size of a row or column, in pixels.
    struct Track {
        int ideal = 0;
        int minimum = 0;
    };

    static constexpr int kGap = 4;  // width of the bars between the cells

    CPaneSplitter(int rows, int columns, QWidget* parent = nullptr);

    // Creates a view in the cell and makes it the visible one. The initial size sets the
    // cell's column width and row height. Returns the new view id, or -1 when the view could
    // not be created (the cell keeps its previous view).
    int AddView(int row, int column, const ViewFactory& create, QSize initialSize);
    template <class View>
    int AddView(int row, int column, QSize initialSize) {
        return AddView(
            row, column, [](QWidget* parent) { return new View(parent); }, initialSize);
    }
    // Makes the view the visible one of its cell; an unknown id does nothing.
    void ShowView(int id);

    QWidget* view(int id) const;                   // nullptr for an unknown id
    int currentViewId(int row, int column) const;  // 0 when the cell is empty
    QWidget* currentView(int row, int column) const;
    std::vector<QWidget*> views() const;  // every view, in the order they were added

    void setRowInfo(int row, int ideal, int minimum);
    void setColumnInfo(int column, int ideal, int minimum);
    Track rowInfo(int row) const { return rows_.at(row); }
    Track columnInfo(int column) const { return columns_.at(column); }
    // Places the cells: every row and column but the last gets its ideal size as far as
    // there is room, the last one the rest.
    void recalcLayout();

    static int packCell(int row, int column) { return column * 65536 + row; }
    static int paneControlId(int row, int column) { return kFirstPaneId + row * 16 + column; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The bars between the cells can be dragged to change a column's width or a row's height.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The bar under a point: the row or column it ends, or -1.
    int rowBarAt(int y) const;
    int columnBarAt(int x) const;

    static constexpr int kFirstPaneId = 0xE900;

    void makeCurrent(int id, int cell);
    void hideCurrent(int cell);
    QRect cellRect(int cell) const;

    int nextViewId_ = 1;
    std::map<int, int> idToCell_;
    std::map<int, int> cellToCurrent_;
    std::map<int, QWidget*> idToWindow_;
    std::vector<Track> rows_;
    std::vector<Track> columns_;
    std::vector<int> rowHeights_;  // as last laid out
    std::vector<int> columnWidths_;
    int draggedRow_ = -1;
    int draggedColumn_ = -1;
};

}  // namespace tl
