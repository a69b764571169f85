// The conductor mark of lines and the six transformer symbols: one stroke per
// conductor, a symbol of its own per connection group, and connection points
// the scheme can place them by.

#include "objects/symbol_pictures.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "draw/picture_string.h"
#include "refbook/kind_names.h"

namespace kordavelt {
namespace {

TEST(ConductorMark, DrawsOneStrokePerConductorFromOneToFour) {
  EXPECT_EQ(ConductorMark(0), "@l1015l0220e#1015");
  EXPECT_EQ(ConductorMark(1), "@l1015l0220e#1015");
  EXPECT_EQ(ConductorMark(2), "@l1015l0220l0321e#1015");
  EXPECT_EQ(ConductorMark(3), "@l1015l0220l0321l0422e#1015");
  EXPECT_EQ(ConductorMark(4), "@l1015l0220l0321l0422l0523e#1015");
  EXPECT_EQ(ConductorMark(7), ConductorMark(4));
  EXPECT_EQ(Picture::Parse(ConductorMark(4)).Commands().size(), 5u);
}

// Would catch two groups sharing a symbol, or a symbol that loses the two
// circles or the connection points the scheme places it by.
TEST(TransformerSymbol, EachConnectionGroupHasWindingSignsOfItsOwnInsideTheTwoCircles) {
  std::set<std::string> seen{KindSymbol(31)};
  for (int group = 0; group < 5; ++group) {
    const std::string symbol = TransformerSymbol(group);
    EXPECT_TRUE(seen.insert(symbol).second) << group;
    EXPECT_EQ(symbol.rfind("@c0088c058D", 0), 0u) << group;
    EXPECT_EQ(Picture::Parse(symbol).ConnectionPoints().size(), 2u) << group;
  }
  EXPECT_EQ(TransformerSymbol(1), "@c0088c058Dp41642441p284A68p2A4A4Ce#404D");  // D/Y0
}

// D/Y and anything outside the list are the kind's plain two circles.
TEST(TransformerSymbol, DeltaStarAndUnknownGroupsAreThePlainKindSymbol) {
  for (int group : {5, 6, -1}) EXPECT_EQ(TransformerSymbol(group), KindSymbol(31)) << group;
}

}  // namespace
}  // namespace kordavelt
