#include "table/grid_layout.h"

#include <algorithm>

namespace kordavelt {
namespace {

// A hidden row (height 0) takes no grid line either.
int Pitch(int height) { return height > 0 ? height + GridLayout::kLineWidth : 0; }

}  // namespace

void GridLayout::SetColumns(int count, int defaultWidth) {
  colWidths_.resize(std::max(count, 0), defaultWidth);
  SetFixedCols(fixedCols_);
  SetLeftCol(leftCol_);
}

int GridLayout::ColWidth(int col) const {
  return col >= 0 && col < ColCount() ? colWidths_[col] : 0;
}

void GridLayout::SetColWidth(int col, int width) {
  if (col >= 0 && col < ColCount()) colWidths_[col] = std::max(width, 0);
}

void GridLayout::SetRows(int count) {
  rowCount_ = std::max(count, 0);
  SetTopRow(topRow_);
}

void GridLayout::SetFixedRows(std::vector<int> heights) {
  fixedRowHeights_ = std::move(heights);
  SetTopRow(topRow_);
}

int GridLayout::RowHeightOf(int row) const {
  if (row >= 0 && row < FixedRows()) return fixedRowHeights_[row];
  return rowHeight_;
}

void GridLayout::SetFixedCols(int count) {
  fixedCols_ = std::clamp(count, 0, ColCount());
  SetLeftCol(leftCol_);
}

void GridLayout::SetTopRow(int row) {
  const int first = FixedRows();
  topRow_ = std::clamp(row, first, std::max(first, rowCount_ - 1));
}

void GridLayout::SetLeftCol(int col) {
  leftCol_ = std::clamp(col, fixedCols_, std::max(fixedCols_, ColCount() - 1));
}

void GridLayout::ScrollToShow(GridCell cell, Size client) {
  // A grid that shows whole needs no scrolling at all.
  if (TotalHeight() <= client.height) SetTopRow(FixedRows());
  if (TotalWidth() <= client.width) SetLeftCol(fixedCols_);
  if (cell.row >= FixedRows()) {
    if (cell.row < topRow_) {
      SetTopRow(cell.row);
    } else {
      const int visible = std::max(VisibleRows(client), 1);
      if (cell.row >= topRow_ + visible) SetTopRow(cell.row - visible + 1);
    }
  }
  if (cell.col >= fixedCols_) {
    if (cell.col < leftCol_) {
      SetLeftCol(cell.col);
    } else {
      // Columns differ in width: step right until the cell's right edge shows.
      const int room = client.width - FixedWidth();
      while (leftCol_ < cell.col) {
        int used = 0;
        for (int c = leftCol_; c <= cell.col; ++c) used += colWidths_[c] + kLineWidth;
        if (used <= room) break;
        ++leftCol_;
      }
    }
  }
}

int GridLayout::FixedWidth() const { return WidthOfColumns(fixedCols_); }

int GridLayout::FixedHeight() const {
  int height = 0;
  for (int h : fixedRowHeights_) height += Pitch(h);
  return height;
}

int GridLayout::TotalWidth() const { return WidthOfColumns(ColCount()); }

int GridLayout::TotalHeight() const {
  return FixedHeight() + std::max(rowCount_ - FixedRows(), 0) * Pitch(rowHeight_);
}

int GridLayout::WidthOfColumns(int count) const {
  int width = 0;
  for (int c = 0; c < std::min(count, ColCount()); ++c) width += colWidths_[c] + kLineWidth;
  return width;
}

int GridLayout::VisibleRows(Size client) const {
  const int room = client.height - FixedHeight();
  if (room <= 0) return 0;
  return std::min(room / Pitch(rowHeight_), std::max(rowCount_ - topRow_, 0));
}

int GridLayout::VisibleCols(Size client) const {
  int room = client.width - FixedWidth();
  int count = 0;
  for (int c = leftCol_; c < ColCount(); ++c) {
    room -= colWidths_[c] + kLineWidth;
    if (room < 0) break;
    ++count;
  }
  return count;
}

int GridLayout::LastShownRow(Size client) const {
  const int room = client.height - FixedHeight();
  if (room <= 0 || rowCount_ <= topRow_) return FixedRows() - 1;
  const int shown = (room + Pitch(rowHeight_) - 1) / Pitch(rowHeight_);
  return std::min(topRow_ + shown, rowCount_) - 1;
}

int GridLayout::LastShownCol(Size client) const {
  int x = FixedWidth();
  int last = fixedCols_ - 1;
  for (int c = leftCol_; c < ColCount() && x < client.width; ++c) {
    last = c;
    x += colWidths_[c] + kLineWidth;
  }
  return last;
}

bool GridLayout::AllRowsFit(Size client) const { return TotalHeight() <= client.height; }

bool GridLayout::AllColsFit(Size client) const { return TotalWidth() <= client.width; }

int GridLayout::ColLeft(int col) const {
  if (col < fixedCols_) return WidthOfColumns(col);
  if (col < leftCol_) return -1;
  int x = FixedWidth();
  for (int c = leftCol_; c < col; ++c) x += colWidths_[c] + kLineWidth;
  return x;
}

int GridLayout::RowTop(int row) const {
  if (row < FixedRows()) {
    int y = 0;
    for (int r = 0; r < row; ++r) y += Pitch(fixedRowHeights_[r]);
    return y;
  }
  if (row < topRow_) return -1;
  return FixedHeight() + (row - topRow_) * Pitch(rowHeight_);
}

Rect GridLayout::CellRect(GridCell cell) const {
  if (cell.row < 0 || cell.row >= rowCount_ || cell.col < 0 || cell.col >= ColCount()) return {};
  const int left = ColLeft(cell.col);
  const int top = RowTop(cell.row);
  if (left < 0 || top < 0) return {};
  return Rect{left, top, left + colWidths_[cell.col], top + RowHeightOf(cell.row)};
}

std::optional<GridCell> GridLayout::CellAt(Point at, Size client) const {
  if (at.x < 0 || at.y < 0 || at.x >= client.width || at.y >= client.height) return std::nullopt;
  std::optional<int> row;
  for (int r = 0; r < FixedRows(); ++r) {
    const int top = RowTop(r);
    if (at.y >= top && at.y < top + Pitch(fixedRowHeights_[r])) row = r;
  }
  if (!row && at.y >= FixedHeight()) {
    const int r = topRow_ + (at.y - FixedHeight()) / Pitch(rowHeight_);
    if (r < rowCount_) row = r;
  }
  if (!row) return std::nullopt;
  const int lastCol = LastShownCol(client);
  for (int c = 0; c <= lastCol; ++c) {
    if (c >= fixedCols_ && c < leftCol_) continue;
    const int left = ColLeft(c);
    if (at.x >= left && at.x < left + colWidths_[c] + kLineWidth) return GridCell{*row, c};
  }
  return std::nullopt;
}

std::optional<int> GridLayout::ColumnBorderAt(int x, Size client, int slack) const {
  const int lastCol = LastShownCol(client);
  for (int c = 0; c <= lastCol; ++c) {
    if (c >= fixedCols_ && c < leftCol_) continue;
    const int right = ColLeft(c) + colWidths_[c];
    if (x >= right - slack && x <= right + slack) return c;
  }
  return std::nullopt;
}

}  // namespace kordavelt
