// The branch check before a redraw. It guards against the faults of a check
// that repairs by throwing data away (a whole path replaced by a stub), that
// reads past the record for a damaged segment count, that overflows at the
// edge of the grid, or that reports the same damage at every redraw.

#include "scheme/branch_check.h"

#include <gtest/gtest.h>

#include "scheme_test_geometry.h"

namespace kordavelt {
namespace {

using testing::Branch;
using testing::Node;
using testing::PointsOf;

TEST(BranchCheck, AZeroFirstSegmentIsDroppedAndTheRestOfThePathKept) {
  RepairLog log;
  BranchGeometry branch = Branch(258, {4, 7, 4, 9, 6});
  EXPECT_EQ(CheckBranch(branch, log), CheckOutcome::Repaired);
  EXPECT_EQ(PointsOf(branch), (std::vector<GridPoint>{{4, 7}, {4, 9}, {6, 9}}));
  EXPECT_EQ(log.TakePending(), std::vector<std::string>{"Ветвь с кодом 258 нарисована плохо"});
}

TEST(BranchCheck, OnlyAPathWithoutSegmentsGetsTheStub) {
  RepairLog log;
  BranchGeometry empty = Branch(258, {10, 20});
  EXPECT_EQ(CheckBranch(empty, log), CheckOutcome::Repaired);
  EXPECT_EQ(PointsOf(empty), (std::vector<GridPoint>{{10, 20}, {13, 20}}));
  // A single zero segment leaves nothing once dropped: then the stub.
  BranchGeometry zero = Branch(259, {10, 20, 10});
  EXPECT_EQ(CheckBranch(zero, log), CheckOutcome::Repaired);
  EXPECT_EQ(zero.nxy, 1);
  EXPECT_EQ(BranchPath::Of(zero).Length(), 3);
  EXPECT_EQ(BranchPath::Of(zero).First(), (GridPoint{10, 20}));
}

TEST(BranchCheck, TheStubAtTheGridsEdgeTurnsBackInsteadOfOverflowing) {
  RepairLog log;
  BranchGeometry branch = Branch(258, {32767, -32768});
  CheckBranch(branch, log);
  EXPECT_EQ(PointsOf(branch), (std::vector<GridPoint>{{32767, -32768}, {32764, -32768}}));
}

TEST(BranchCheck, TooManySegmentsAreCutToTwelveKeepingTheirValues) {
  RepairLog log;
  BranchGeometry branch = Branch(258, {0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6});
  branch.nxy = 40;
  EXPECT_EQ(CheckBranch(branch, log), CheckOutcome::Repaired);
  EXPECT_EQ(branch.nxy, 12);
  EXPECT_EQ(BranchPath::Of(branch).Last(), (GridPoint{6, 6}));
  EXPECT_EQ(log.TakePending().size(), 1u);
}

TEST(BranchCheck, RecordsOnPageZeroGoToPageOneSilently) {
  RepairLog log;
  BranchGeometry branch = Branch(258, {0, 0, 5});
  branch.page = 0;
  EXPECT_EQ(CheckBranch(branch, log), CheckOutcome::Repaired);
  EXPECT_EQ(branch.page, 1);
  NodeGeometry node = Node(5, 0, 0, 4, false, 0);
  EXPECT_EQ(CheckNode(node), CheckOutcome::Repaired);
  EXPECT_EQ(node.page, 1);
  EXPECT_FALSE(log.HasPending());
}

TEST(BranchCheck, RecordsUnderKeyZeroAreDropped) {
  RepairLog log;
  BranchGeometry branch = Branch(0, {0, 0, 5});
  EXPECT_EQ(CheckBranch(branch, log), CheckOutcome::Dropped);
  EXPECT_EQ(log.TakePending(), std::vector<std::string>{"Ветвь с кодом \"0\" удаляется"});
  NodeGeometry node = Node(0, 0, 0, 4);
  EXPECT_EQ(CheckNode(node), CheckOutcome::Dropped);
}

TEST(BranchCheck, DamageThatStaysIsReportedOnlyOnce) {
  RepairLog log;
  for (int redraw = 0; redraw < 3; ++redraw) {
    BranchGeometry branch = Branch(258, {1, 1});
    CheckBranch(branch, log);
  }
  EXPECT_EQ(log.TakePending().size(), 1u);
  EXPECT_TRUE(log.TakePending().empty());
  BranchGeometry again = Branch(258, {1, 1});
  CheckBranch(again, log);
  EXPECT_FALSE(log.HasPending());
}

}  // namespace
}  // namespace kordavelt
