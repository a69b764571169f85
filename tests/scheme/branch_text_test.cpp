// Branch texts and direction arrows. Guards against a text anchored off its
// path point or not moved by its offsets, an arrow pointing against the
// branch (or not turned by the direction sign), an arrow drawn across the
// symbol, and a text taking the colour of the wrong side of the symbol.

#include "scheme/branch_text.h"

#include <gtest/gtest.h>

#include "scheme_test_geometry.h"

namespace kordavelt {
namespace {

using testing::Branch;

const ViewTransform kView({0, 0}, 16, 16);  // tx 5, ty 5

BranchGeometry Labelled(int textPos, int textDir = 16) {
  BranchGeometry branch = Branch(1, {0, 0, 8, 6});  // right 8, then down 6
  branch.textPos = textPos;
  branch.textDir = textDir;
  return branch;
}

BranchTextPlacement Place(const BranchGeometry& branch, const BranchLook& look = {},
                          const ViewSettings& settings = {}, const ViewTransform& view = kView) {
  return PlaceBranchText(branch, BranchPath::Of(branch), view, settings, look);
}

TEST(BranchText, TheAnchorIsThePathPointMovedByTheOffsets) {
  BranchGeometry branch = Labelled(10);
  branch.textDx = 1;
  branch.textDy = -1;
  const BranchTextPlacement text = Place(branch);
  EXPECT_EQ(text.segment, 1);
  EXPECT_EQ(text.pathPoint, (DevicePoint{128, 32}));
  EXPECT_EQ(text.anchor, (DevicePoint{144, 16}));
  EXPECT_TRUE(text.text);
  EXPECT_EQ(text.textDir, 1);  // 16 on the vertical segment
  EXPECT_EQ(Place(Labelled(3)).textDir, 16);
  EXPECT_FALSE(Place(Labelled(3)).text);
}

TEST(BranchText, TheArrowPointsTheWayTheBranchRunsOrBackWithASignOfMinusOne) {
  const BranchTextPlacement down = Place(Labelled(10));
  ASSERT_TRUE(down.arrow);
  EXPECT_EQ(down.chevron, (std::array<DevicePoint, 3>{{{123, 27}, {128, 37}, {134, 26}}}));
  BranchLook reversed;
  reversed.directionSign = -1;
  EXPECT_EQ(Place(Labelled(10), reversed).chevron,
            (std::array<DevicePoint, 3>{{{123, 37}, {128, 27}, {134, 38}}}));
  EXPECT_EQ(Place(Labelled(3, 8)).chevron,
            (std::array<DevicePoint, 3>{{{43, -5}, {53, 0}, {42, 6}}}));
  BranchLook zeroSign;
  zeroSign.directionSign = 0;
  EXPECT_EQ(Place(Labelled(10), zeroSign).chevron, down.chevron);
}

TEST(BranchText, TheArrowFollowsTheSettingTheSelectionAndKeepsOffTheSymbol) {
  ViewSettings noArrows;
  noArrows.branchArrows = false;
  EXPECT_FALSE(Place(Labelled(10), {}, noArrows).arrow);
  BranchLook selected;
  selected.selected = true;
  EXPECT_TRUE(Place(Labelled(10, 0), selected, noArrows).arrow);
  EXPECT_FALSE(Place(Labelled(10, 0)).arrow);

  BranchGeometry withSymbol = Labelled(10, 8);
  withSymbol.objType = 21;
  withSymbol.objPos = 9;
  EXPECT_FALSE(Place(withSymbol).arrow);
  withSymbol.textPos = 12;
  EXPECT_TRUE(Place(withSymbol).arrow);
  withSymbol.textPos = 11;
  BranchLook textless;
  textless.hasText = false;
  EXPECT_TRUE(Place(withSymbol, textless).arrow);
  EXPECT_FALSE(Place(withSymbol, textless).text);
}

TEST(BranchText, AnAnchorOffThePathDrawsNothing) {
  const BranchTextPlacement off = Place(Labelled(40, 8));
  EXPECT_EQ(off.segment, -1);
  EXPECT_FALSE(off.text);
  EXPECT_FALSE(off.arrow);
}

}  // namespace
}  // namespace kordavelt
