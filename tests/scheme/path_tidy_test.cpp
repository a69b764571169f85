// Tidying a path. The fault guarded here is a tidy-up that loses or moves a
// corner of the drawn line: every removal must keep the corners the line
// turns at, only without its zero-length pieces (two pieces on one line that
// meet at a zero piece become one, as the rule says).

#include "scheme/path_tidy.h"

#include <gtest/gtest.h>

#include <random>

#include "scheme_test_geometry.h"

namespace kordavelt {
namespace {

using testing::Branch;
using testing::PointsOf;

// The drawn shape: the points without repeats and without the corners that
// are no corners (a point between two on one line).
std::vector<GridPoint> Shape(const BranchGeometry& branch) {
  std::vector<GridPoint> shape;
  for (const GridPoint p : PointsOf(branch)) {
    while (shape.size() >= 2) {
      const GridPoint a = shape[shape.size() - 2];
      const GridPoint b = shape.back();
      if (!(a.x == b.x && b.x == p.x) && !(a.y == b.y && b.y == p.y)) break;
      shape.pop_back();
    }
    if (shape.empty() || shape.back() != p) shape.push_back(p);
  }
  return shape;
}

TEST(PathTidy, AFirstZeroSegmentIsDroppedWithTheOrientationFlipped) {
  BranchGeometry branch = Branch(1, {4, 7, 4, 9, 6});
  EXPECT_TRUE(DropZeroFirstSegment(branch));
  EXPECT_TRUE(branch.vertical);
  EXPECT_EQ(branch.nxy, 2);
  EXPECT_EQ(PointsOf(branch), (std::vector<GridPoint>{{4, 7}, {4, 9}, {6, 9}}));
  EXPECT_FALSE(DropZeroFirstSegment(branch));
}

TEST(PathTidy, AtMostThreeSegmentsGoPerTidyUp) {
  BranchGeometry branch = Branch(1, {0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(TidyPath(branch), 3);
  EXPECT_EQ(branch.nxy, 2);
  EXPECT_EQ(TidyPath(branch), 2);
  EXPECT_EQ(branch.nxy, 0);
}

TEST(PathTidy, RandomPathsKeepTheirShape) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> value(0, 3);
  std::uniform_int_distribution<int> count(1, 12);
  for (int trial = 0; trial < 2000; ++trial) {
    BranchGeometry branch;
    branch.vertical = trial % 2 == 1;
    branch.nxy = count(random);
    for (int i = 0; i < branch.nxy + 2; ++i)
      branch.xy[i] = static_cast<std::int16_t>(value(random));
    const std::vector<GridPoint> before = Shape(branch);
    const int segments = branch.nxy;
    const int removed = TidyPath(branch, 12);
    ASSERT_EQ(Shape(branch), before) << "trial " << trial;
    ASSERT_LE(branch.nxy, segments - removed);
    for (int k = 0; k < branch.nxy; ++k) ASSERT_FALSE(ZeroLengthSegment(branch, k)) << trial;
  }
}

}  // namespace
}  // namespace kordavelt
