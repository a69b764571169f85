#pragma once

// The geometry of a table window's grid: column widths, row heights, the
// fixed rows (the header) and fixed columns (the frozen ones) that never
// scroll, and the first scrolled row and column on screen. Every cell is
// followed by a one-pixel grid line on its right and at its bottom.
//
// Grid rows count from 0 (the header in table view), grid columns from 0.

#include <optional>
#include <vector>

#include "draw/canvas.h"

namespace kordavelt {

struct GridCell {
  int row = 0;
  int col = 0;
  friend constexpr bool operator==(GridCell, GridCell) = default;
};

class GridLayout {
 public:
  static constexpr int kLineWidth = 1;

  // --- Shape -------------------------------------------------------------------

  void SetColumns(int count, int defaultWidth = 64);
  int ColCount() const { return static_cast<int>(colWidths_.size()); }
  int ColWidth(int col) const;
  void SetColWidth(int col, int width);

  void SetRows(int count);
  int RowCount() const { return rowCount_; }
  // The height of every row below the fixed ones.
  void SetRowHeight(int height) { rowHeight_ = height < 1 ? 1 : height; }
  int RowHeight() const { return rowHeight_; }
  // The fixed rows and their heights (a height of 0 hides a row).
  void SetFixedRows(std::vector<int> heights);
  int FixedRows() const { return static_cast<int>(fixedRowHeights_.size()); }
  int RowHeightOf(int row) const;
  void SetFixedCols(int count);
  int FixedCols() const { return fixedCols_; }

  // --- Scrolling ---------------------------------------------------------------

  int TopRow() const { return topRow_; }
  int LeftCol() const { return leftCol_; }
  // Clamped to the scrolled range.
  void SetTopRow(int row);
  void SetLeftCol(int col);
  // Scrolls so that the cell is wholly on a client area of `client` size
  // (as far as it fits).
  void ScrollToShow(GridCell cell, Size client);

  // --- Measures ------------------------------------------------------------------

  int FixedWidth() const;
  int FixedHeight() const;
  // All columns and all rows with their lines.
  int TotalWidth() const;
  int TotalHeight() const;
  // Columns 0 … count-1 with their lines.
  int WidthOfColumns(int count) const;
  // Scrolled rows and columns wholly visible from the top row / left column.
  int VisibleRows(Size client) const;
  int VisibleCols(Size client) const;
  // The last row and column that show at least partly.
  int LastShownRow(Size client) const;
  int LastShownCol(Size client) const;
  bool AllRowsFit(Size client) const;
  bool AllColsFit(Size client) const;

  // The cell's box on the client area (without its grid lines); a cell
  // scrolled away gives an empty box.
  Rect CellRect(GridCell cell) const;
  // The cell under a client point, when it lies in one.
  std::optional<GridCell> CellAt(Point at, Size client) const;
  // The column whose right border lies within `slack` pixels of x (for
  // resizing by dragging a border of the header); nothing elsewhere.
  std::optional<int> ColumnBorderAt(int x, Size client, int slack = 3) const;

 private:
  int ColLeft(int col) const;
  int RowTop(int row) const;

  std::vector<int> colWidths_;
  std::vector<int> fixedRowHeights_;
  int rowCount_ = 0;
  int rowHeight_ = 18;
  int fixedCols_ = 0;
  int topRow_ = 0;
  int leftCol_ = 0;
};

}  // namespace kordavelt
