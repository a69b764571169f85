// The placement of node and branch texts. Each code puts the lines on its
// own side of the anchor, aligned to it; a code read as the wrong side, a
// block stacked the wrong way or a turned text aligned at the wrong end
// puts every text of the scheme over its busbar.

#include "scheme/text_placement.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

constexpr DevicePoint kAnchor{100, 200};
constexpr int kLineHeight = 10;
constexpr double kWidth = 30;
const ModuleSizes kSizes = ModuleSizes::Of(15, 12);  // tx 5, ty 4

// The text cell corners of a two-line text placed by `code`.
std::vector<DevicePoint> Corners(int code) {
  std::vector<DevicePoint> corners;
  for (const TextLine& line : PlaceText(code, kAnchor, 2, kLineHeight, kSizes)) {
    corners.push_back(TextCorner(line, kWidth));
  }
  return corners;
}

TEST(TextPlacement, EveryCodePutsItsLinesWhereItSays) {
  struct Case {
    int code;
    std::vector<DevicePoint> corners;
  };
  const Case cases[] = {
      {1, {{89, 195}, {99, 195}}},    // turned, reading up from ty above
      {2, {{89, 234}, {99, 234}}},    // turned, ending ty below
      {4, {{65, 189}, {65, 199}}},    // left, first line just above the level
      {5, {{65, 174}, {65, 184}}},    // left, block above
      {6, {{65, 204}, {65, 214}}},    // left, block below
      {8, {{105, 189}, {105, 199}}},  // right, first line just above the level
      {9, {{105, 174}, {105, 184}}},  // right, block above
      {10, {{105, 204}, {105, 214}}},
  };
  for (const Case& c : cases) EXPECT_EQ(Corners(c.code), c.corners) << "code " << c.code;
}

TEST(TextPlacement, TurnedLinesCoverTheirColumnAboveOrBelowTheAnchor) {
  const std::vector<TextLine> above = PlaceText(1, kAnchor, 1, kLineHeight, kSizes);
  ASSERT_EQ(above.size(), 1u);
  EXPECT_TRUE(above[0].upward);
  EXPECT_EQ(TextLineRect(above[0], kWidth, kLineHeight), (DeviceRect{89, 165, 99, 195}));
  const std::vector<TextLine> below = PlaceText(2, kAnchor, 1, kLineHeight, kSizes);
  EXPECT_EQ(TextLineRect(below[0], kWidth, kLineHeight), (DeviceRect{89, 204, 99, 234}));
}

TEST(TextPlacement, CodesWithoutPlaceDrawNothing) {
  for (const int code : {0, 3, 7, 11, 16, 255}) {
    EXPECT_TRUE(PlaceText(code, kAnchor, 2, kLineHeight, kSizes).empty()) << code;
  }
  EXPECT_TRUE(PlaceText(8, kAnchor, 0, kLineHeight, kSizes).empty());
}

TEST(TextPlacement, CodeSixteenOnAVerticalSegmentIsCodeOne) {
  EXPECT_EQ(BranchTextDir(16, true), 1);
  EXPECT_EQ(BranchTextDir(16, false), 16);
  EXPECT_EQ(BranchTextDir(9, true), 9);
}

TEST(TextPlacement, SmallFontsKeepTheFirstLineAndDropBranchTexts) {
  EXPECT_EQ(TextFontOf(2, 16).height, 16);
  EXPECT_EQ(TextFontOf(6, 16).height, 32);
  EXPECT_FALSE(TextFontOf(2, 6).firstLineOnly);
  EXPECT_TRUE(TextFontOf(2, 5).firstLineOnly);
  EXPECT_EQ(TextFontOf(2, 5).height, 8);
  EXPECT_TRUE(BranchTextsShown(2, 6));
  EXPECT_FALSE(BranchTextsShown(2, 5));
  EXPECT_TRUE(BranchTextsShown(1, 8));
}

}  // namespace
}  // namespace kordavelt
