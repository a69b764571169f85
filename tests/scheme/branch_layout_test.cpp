// Whole branches laid out for drawing. Guards against the colours of the two
// sides of a symbol swapped, a line drawn through its markers (or stopping
// short of them), markers at ends that should have none, and the selection
// drawn without its wide underlay.

#include "scheme/branch_layout.h"

#include <gtest/gtest.h>

#include "scheme_test_geometry.h"

namespace kordavelt {
namespace {

using testing::Branch;

const ViewTransform kView({0, 0}, 15, 15);
const GridRect kAll{-100, -100, 100, 100};

BranchLayout Layout(const BranchGeometry& branch, const BranchLook& look = {},
                    const GridRect& visible = kAll) {
  return LayoutBranch(branch, kView, ViewSettings{}, look, visible);
}

BranchGeometry WithSymbol(int objPos) {
  BranchGeometry branch = Branch(1, {0, 0, 8, 6});  // (0,0) right to (8,0), down to (8,6)
  branch.objType = 21;
  branch.objPos = objPos;
  return branch;
}

TEST(BranchLayout, ABranchWithoutSymbolIsOneLineBetweenItsMarkers) {
  const BranchLayout layout = Layout(Branch(1, {0, 0, 8, 6}));
  EXPECT_TRUE(layout.first.empty());
  EXPECT_EQ(layout.second, (std::vector<DevicePoint>{{15, 0}, {120, 0}, {120, 75}}));
  ASSERT_TRUE(layout.startMarker);
  ASSERT_TRUE(layout.endMarker);
  EXPECT_EQ(layout.endMarker->point, (DevicePoint{120, 90}));
  EXPECT_FALSE(layout.symbol);
  EXPECT_EQ(layout.penWidth, 1);
}

TEST(BranchLayout, ASymbolSplitsTheLineIntoItsTwoColours) {
  BranchLook look;
  look.symbolReach = 4;
  const BranchLayout layout = Layout(WithSymbol(3), look);
  EXPECT_TRUE(layout.StartsInFirstColour());
  EXPECT_EQ(layout.first, (std::vector<DevicePoint>{{15, 0}, {45, 0}}));
  EXPECT_EQ(layout.second, (std::vector<DevicePoint>{{60, 0}, {120, 0}, {120, 75}}));
}

TEST(BranchLayout, ASymbolAtTheEndTakesThePlaceOfTheEndMarker) {
  const BranchLayout layout = Layout(WithSymbol(32767));
  EXPECT_FALSE(layout.endMarker);
  EXPECT_TRUE(layout.second.empty());
  EXPECT_EQ(layout.first, (std::vector<DevicePoint>{{15, 0}, {120, 0}, {120, 90}}));
}

TEST(BranchLayout, MarkersOutsideTheViewAreLeftOut) {
  const BranchLayout layout = Layout(Branch(1, {0, 0, 8, 6}), {}, GridRect{-1, -1, 7, 5});
  EXPECT_TRUE(layout.startMarker);
  EXPECT_FALSE(layout.endMarker);
  EXPECT_EQ(layout.second.back(), (DevicePoint{120, 90}));
}

TEST(BranchLayout, TheSelectedBranchGetsItsUnderlayAndADashedLine) {
  BranchLook look;
  look.selected = true;
  const BranchLayout layout = Layout(Branch(1, {0, 0, 8, 6}), look);
  EXPECT_TRUE(layout.dashed);
  EXPECT_EQ(layout.penWidth, 1);
  EXPECT_EQ(layout.selection.size(), 3u);
  EXPECT_EQ(layout.selectionPenWidth, 4);
}

}  // namespace
}  // namespace kordavelt
