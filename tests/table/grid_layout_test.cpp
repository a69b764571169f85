// The grid's geometry decides which cell a click lands on and which rows are
// painted; an off-by-one here edits the wrong row or leaves rows unpainted.

#include "table/grid_layout.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

// A header of 20 pixels, rows of 10, one frozen column of 30 and three
// columns of 50; every cell is followed by a one-pixel line.
GridLayout Table(int rows) {
  GridLayout layout;
  layout.SetColumns(4, 50);
  layout.SetColWidth(0, 30);
  layout.SetFixedCols(1);
  layout.SetFixedRows({20});
  layout.SetRowHeight(10);
  layout.SetRows(1 + rows);
  return layout;
}

TEST(GridLayout, CellsFollowEachOtherWithTheirLines) {
  GridLayout layout = Table(5);
  EXPECT_EQ(layout.CellRect({0, 0}), (Rect{0, 0, 30, 20}));
  EXPECT_EQ(layout.CellRect({1, 1}), (Rect{31, 21, 81, 31}));
  EXPECT_EQ(layout.CellRect({3, 2}), (Rect{82, 43, 132, 53}));
  EXPECT_EQ(layout.TotalWidth(), 31 + 3 * 51);
  EXPECT_EQ(layout.TotalHeight(), 21 + 5 * 11);
}

TEST(GridLayout, APointFindsTheCellUnderItAndNothingPastTheLastRow) {
  GridLayout layout = Table(3);
  const Size client{400, 300};
  EXPECT_EQ(layout.CellAt({5, 5}, client), (GridCell{0, 0}));
  EXPECT_EQ(layout.CellAt({81, 31}, client), (GridCell{1, 1}));  // the line belongs to its cell
  EXPECT_EQ(layout.CellAt({82, 32}, client), (GridCell{2, 2}));
  EXPECT_FALSE(layout.CellAt({40, 21 + 3 * 11}, client));
  EXPECT_FALSE(layout.CellAt({500, 5}, client));
}

TEST(GridLayout, ScrolledRowsAndColumnsLeaveTheFrozenOnesInPlace) {
  GridLayout layout = Table(100);
  const Size client{31 + 2 * 51, 21 + 10 * 11};
  layout.ScrollToShow({50, 3}, client);
  EXPECT_EQ(layout.TopRow(), 41);
  EXPECT_EQ(layout.LeftCol(), 2);
  EXPECT_EQ(layout.CellRect({0, 0}), (Rect{0, 0, 30, 20}));
  EXPECT_EQ(layout.CellRect({41, 2}), (Rect{31, 21, 81, 31}));
  EXPECT_EQ(layout.CellRect({40, 2}), (Rect{}));  // scrolled away
  EXPECT_EQ(layout.CellAt({35, 25}, client), (GridCell{41, 2}));
  layout.ScrollToShow({1, 1}, client);
  EXPECT_EQ(layout.TopRow(), 1);
  EXPECT_EQ(layout.LeftCol(), 1);
}

TEST(GridLayout, AGridThatFitsWholeScrollsBackToItsStart) {
  // Scrolled while the window was still small, the grid must show its first
  // rows once the window has grown to hold them all.
  GridLayout layout = Table(9);
  layout.ScrollToShow({9, 1}, Size{200, 40});
  EXPECT_GT(layout.TopRow(), 1);
  layout.ScrollToShow({2, 1}, Size{400, 400});
  EXPECT_EQ(layout.TopRow(), 1);
}

TEST(GridLayout, AHiddenHeaderTakesNoRoomAndNoLine) {
  GridLayout layout = Table(2);
  layout.SetFixedRows({0});
  EXPECT_EQ(layout.FixedHeight(), 0);
  EXPECT_EQ(layout.CellRect({1, 1}).top, 0);
}

TEST(GridLayout, TheBorderNearAPointIsTheOneToDrag) {
  GridLayout layout = Table(2);
  EXPECT_EQ(layout.ColumnBorderAt(31, Size{400, 100}), 0);
  EXPECT_EQ(layout.ColumnBorderAt(83, Size{400, 100}), 1);
  EXPECT_FALSE(layout.ColumnBorderAt(55, Size{400, 100}));
}

}  // namespace
}  // namespace kordavelt
