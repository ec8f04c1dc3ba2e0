#include "gui/frame/CPaneSplitter.h"

#include <QMouseEvent>
#include <QResizeEvent>
#include <algorithm>

namespace tl {
namespace {

void setPaneControlId(QWidget* view, int id) {
    view->setProperty("controlId", id);
}

// Sizes of the tracks along one side: all but the last get their ideal size while there is
// room, the last one what is left.
std::vector<int> layTracks(const std::vector<CPaneSplitter::Track>& tracks, int length) {
    std::vector<int> sizes(tracks.size(), 0);
    int left = length;
    for (std::size_t i = 0; i + 1 < tracks.size(); ++i) {
        sizes[i] = std::clamp(tracks[i].ideal, 0, std::max(left, 0));
        left -= sizes[i] + CPaneSplitter::kGap;
    }
    sizes.back() = std::max(left, 0);
    return sizes;
}

int offsetOf(const std::vector<int>& sizes, int index) {
    int offset = 0;
    for (int i = 0; i < index; ++i) offset += sizes[i] + CPaneSplitter::kGap;
    return offset;
}

}  // namespace

CPaneSplitter::CPaneSplitter(int rows, int columns, QWidget* parent)
    : QWidget(parent),
      rows_(rows),
      columns_(columns),
      rowHeights_(rows, 0),
      columnWidths_(columns, 0) {
    setMouseTracking(true);
}

int CPaneSplitter::AddView(int row, int column, const ViewFactory& create, QSize initialSize) {
    const int cell = packCell(row, column);
    const auto current = cellToCurrent_.find(cell);
    const int previous = current == cellToCurrent_.end() ? 0 : current->second;
    if (previous != 0) hideCurrent(cell);

    QWidget* created = nullptr;
    try {
        created = create(this);
    } catch (const std::exception&) {
        created = nullptr;
    }
    if (created == nullptr) {
        if (previous != 0) makeCurrent(previous, cell);
        return -1;
    }
    if (initialSize.width() > 0) columns_[column].ideal = initialSize.width();
    if (initialSize.height() > 0) rows_[row].ideal = initialSize.height();

    const int id = nextViewId_++;
    idToCell_[id] = cell;
    idToWindow_[id] = created;
    makeCurrent(id, cell);
    recalcLayout();
    update();
    return id;
}

void CPaneSplitter::ShowView(int id) {
    const auto window = idToWindow_.find(id);
    if (window == idToWindow_.end()) return;
    const int cell = idToCell_.at(id);
    hideCurrent(cell);
    makeCurrent(id, cell);
    recalcLayout();
}

void CPaneSplitter::hideCurrent(int cell) {
    const auto current = cellToCurrent_.find(cell);
    if (current == cellToCurrent_.end()) return;
    QWidget* shown = idToWindow_.at(current->second);
    setPaneControlId(shown, 0);
    shown->hide();
}

void CPaneSplitter::makeCurrent(int id, int cell) {
    cellToCurrent_[cell] = id;
    QWidget* window = idToWindow_.at(id);
    setPaneControlId(window, paneControlId(cell % 65536, cell / 65536));
    window->setGeometry(cellRect(cell));
    window->show();
}

QWidget* CPaneSplitter::view(int id) const {
    const auto window = idToWindow_.find(id);
    return window == idToWindow_.end() ? nullptr : window->second;
}

int CPaneSplitter::currentViewId(int row, int column) const {
    const auto current = cellToCurrent_.find(packCell(row, column));
    return current == cellToCurrent_.end() ? 0 : current->second;
}

QWidget* CPaneSplitter::currentView(int row, int column) const {
    return view(currentViewId(row, column));
}

std::vector<QWidget*> CPaneSplitter::views() const {
    std::vector<QWidget*> all;
    for (const auto& [id, window] : idToWindow_) all.push_back(window);
    return all;
}

void CPaneSplitter::setRowInfo(int row, int ideal, int minimum) {
    rows_.at(row) = Track{ideal, minimum};
}

void CPaneSplitter::setColumnInfo(int column, int ideal, int minimum) {
    columns_.at(column) = Track{ideal, minimum};
}

QRect CPaneSplitter::cellRect(int cell) const {
    const int row = cell % 65536;
    const int column = cell / 65536;
    return QRect(offsetOf(columnWidths_, column), offsetOf(rowHeights_, row), columnWidths_[column],
                 rowHeights_[row]);
}

void CPaneSplitter::recalcLayout() {
    rowHeights_ = layTracks(rows_, height());
    columnWidths_ = layTracks(columns_, width());
    for (const auto& [id, window] : idToWindow_) window->setGeometry(cellRect(idToCell_.at(id)));
}

int CPaneSplitter::rowBarAt(int y) const {
    for (int row = 0; row + 1 < static_cast<int>(rowHeights_.size()); ++row) {
        const int barStart = offsetOf(rowHeights_, row) + rowHeights_[row];
        if (y >= barStart && y < barStart + kGap) return row;
    }
    return -1;
}

int CPaneSplitter::columnBarAt(int x) const {
    for (int column = 0; column + 1 < static_cast<int>(columnWidths_.size()); ++column) {
        const int barStart = offsetOf(columnWidths_, column) + columnWidths_[column];
        if (x >= barStart && x < barStart + kGap) return column;
    }
    return -1;
}

void CPaneSplitter::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    const QPoint at = event->position().toPoint();
    draggedColumn_ = columnBarAt(at.x());
    draggedRow_ = draggedColumn_ == -1 ? rowBarAt(at.y()) : -1;
}

void CPaneSplitter::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (draggedColumn_ != -1) {
        Track& track = columns_[draggedColumn_];
        track.ideal = std::max(at.x() - offsetOf(columnWidths_, draggedColumn_), track.minimum);
        return recalcLayout();
    }
    if (draggedRow_ != -1) {
        Track& track = rows_[draggedRow_];
        track.ideal = std::max(at.y() - offsetOf(rowHeights_, draggedRow_), track.minimum);
        return recalcLayout();
    }
    if (columnBarAt(at.x()) != -1)
        setCursor(Qt::SplitHCursor);
    else if (rowBarAt(at.y()) != -1)
        setCursor(Qt::SplitVCursor);
    else
        unsetCursor();
}

void CPaneSplitter::mouseReleaseEvent(QMouseEvent* event) {
    draggedColumn_ = -1;
    draggedRow_ = -1;
    QWidget::mouseReleaseEvent(event);
}

void CPaneSplitter::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    recalcLayout();
}

}  // namespace tl
