// Where object symbols stand and how they turn. Guards against a symbol on
// the wrong segment at a corner, an end symbol that does not turn with the
// last segment, a mirror that reflects instead of turning, and digit sizes
// rounded once per step instead of once per point.

#include "scheme/branch_symbol.h"

#include <gtest/gtest.h>

#include "scheme_test_geometry.h"

namespace kordavelt {
namespace {

using testing::Branch;

std::optional<SymbolPlacement> Place(BranchGeometry branch, int objPos, int step = 16) {
  branch.objType = 21;
  branch.objPos = objPos;
  return PlaceSymbol(branch, BranchPath::Of(branch), ViewTransform({0, 0}, step, step));
}

TEST(BranchSymbol, ASymbolAlongTheWayTakesItsSegmentsDirection) {
  const BranchGeometry branch = Branch(1, {0, 0, 8, 6});  // right 8, then down 6
  const std::optional<SymbolPlacement> right = Place(branch, 3);
  ASSERT_TRUE(right);
  EXPECT_EQ(right->origin, (DevicePoint{48, 0}));
  EXPECT_EQ(right->quarterTurns, 1);
  EXPECT_EQ(right->AngleDegrees(), 90);
  EXPECT_EQ(right->FarEnd(4), (DevicePoint{64, 0}));
  EXPECT_EQ(right->At(2, 0), (DevicePoint{48, -8}));
  EXPECT_EQ(right->markRadius, 4);
  // At the corner the symbol stands on the segment leaving it.
  const std::optional<SymbolPlacement> corner = Place(branch, 8);
  EXPECT_EQ(corner->segment, 1);
  EXPECT_EQ(corner->quarterTurns, 0);
  EXPECT_EQ(corner->At(2, 4), (DevicePoint{136, 16}));
}

TEST(BranchSymbol, AnEndSymbolTurnsAlongTheLastSegment) {
  const std::optional<SymbolPlacement> down = Place(Branch(1, {0, 0, 8, 6}), 32767);
  ASSERT_TRUE(down);
  EXPECT_TRUE(down->atEnd);
  EXPECT_EQ(down->origin, (DevicePoint{128, 96}));
  EXPECT_EQ(down->quarterTurns, 0);
  EXPECT_EQ(down->markRadius, 5);
  EXPECT_EQ(Place(Branch(1, {10, 0, 2}), 32767)->quarterTurns, 3);
  EXPECT_EQ(Place(Branch(1, {10, 0, 2}), 32767)->axisX, (DevicePoint{0, 1}));
  EXPECT_EQ(Place(Branch(1, {0, 5, 3, 1}), 32767)->quarterTurns, 2);
  EXPECT_EQ(Place(Branch(1, {0, 5, 3}), 32767)->quarterTurns, 1);
}

TEST(BranchSymbol, AMirroredSymbolIsTurnedRoundNotReflected) {
  BranchGeometry branch = Branch(1, {0, 0, 8});
  branch.objMirror = -1;
  const std::optional<SymbolPlacement> back = Place(branch, 3);
  EXPECT_EQ(back->quarterTurns, 3);
  EXPECT_EQ(back->axisY, (DevicePoint{-1, 0}));
  EXPECT_EQ(back->axisX, (DevicePoint{0, 1}));
  branch.objMirror = 0;  // damaged: counts as +1
  EXPECT_EQ(Place(branch, 3)->quarterTurns, 1);
}

TEST(BranchSymbol, EachPictureDigitIsAQuarterStepRoundedOnItsOwn) {
  const std::optional<SymbolPlacement> symbol = Place(Branch(1, {0, 0, 8, 6}), 8, 10);
  EXPECT_EQ(symbol->At(0, 1), (DevicePoint{80, 2}));
  EXPECT_EQ(symbol->At(0, 3), (DevicePoint{80, 7}));
  EXPECT_EQ(symbol->At(0, -1), (DevicePoint{80, -3}));
}

}  // namespace
}  // namespace kordavelt
