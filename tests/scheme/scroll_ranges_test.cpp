// The scroll bars. Guards against ranges that leave the content unreachable,
// that exclude the current origin (the bar would jump the view), and that
// overflow at the edges of the grid.

#include "scheme/scroll_ranges.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

TEST(ScrollRanges, RangesRunFromTheContentLessHalfTheView) {
  const ScrollRanges ranges =
      ScrollRangesOf(GridRect{0, 10, 200, 90}, ViewState{5, 12, 10, 0}, 400, 100);
  EXPECT_EQ(ranges.x, (ScrollRange{-20, 180, 20, 5}));
  EXPECT_EQ(ranges.y, (ScrollRange{5, 85, 5, 2}));
}

TEST(ScrollRanges, TheCurrentOriginStaysInsideTheRange) {
  const ScrollRanges ranges =
      ScrollRangesOf(GridRect{0, 0, 50, 50}, ViewState{-500, 900, 10, 0}, 100, 100);
  EXPECT_EQ(ranges.x.min, -500);
  EXPECT_EQ(ranges.y.max, 900);
}

TEST(ScrollRanges, TheWheelMovesBySixteenthsWithinTheContent) {
  EXPECT_EQ(WheelScroll(100, 1, 64, 0, 500), 96);
  EXPECT_EQ(WheelScroll(100, -2, 64, 0, 500), 108);
  EXPECT_EQ(WheelScroll(0, 50, 64, 0, 500), -36);
  EXPECT_EQ(WheelScroll(480, -50, 64, 0, 500), 468);
  EXPECT_EQ(WheelScroll(0, 1, 4, 0, 500), -1);
  EXPECT_EQ(WheelScroll(kGridMin, 1000, 64, 1, 0), kGridMin);
}

}  // namespace
}  // namespace kordavelt
