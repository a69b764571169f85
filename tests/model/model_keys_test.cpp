// Keys tie branches, far ends, objects and receivers together; a slip in
// the arithmetic connects a cable to the wrong busbar.

#include "model/model_keys.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

TEST(ModelKeys, AFirstCableBetweenNodesFiveAndNine) {
  EXPECT_EQ(BranchKey(5, 1), 1281);
  EXPECT_EQ(FarEndKey(9, 1), 2305);
  EXPECT_EQ(NodeOfKey(1281), 5);
  EXPECT_EQ(SlotOfKey(1281), 1);
  EXPECT_EQ(NodeOfKey(2305), 9);
}

TEST(ModelKeys, ASourceBranchSharesItsNodesMarkingCode) {
  EXPECT_EQ(BranchKey(7, 0), NodeMarkingCode(7));
  EXPECT_EQ(NodeMarkingCode(7), 1792);
  EXPECT_EQ(BranchKey(kMaxNodeNumber, kMaxSlot), 16777215);
}

TEST(ModelKeys, ReceiverThreeOfGroupTwo) {
  EXPECT_EQ(ReceiverKey(2, 3), 2051);
  EXPECT_EQ(GroupOfKey(2051), 2);
  EXPECT_EQ(NumberInGroup(2051), 3);
  EXPECT_EQ(GroupOfKey(ReceiverKey(2, kMaxReceiverInGroup)), 2);
}

TEST(ModelKeys, WithoutAMarkingNodesShowTheirNumberAndBranchesNodePointSlot) {
  EXPECT_EQ(MissingMarkingText(BranchKey(12, 3)), "12.3");
  EXPECT_EQ(MissingMarkingText(NodeMarkingCode(12)), "12");
  EXPECT_EQ(MissingMarkingText(BranchKey(65535, 255)), "65535.255");
}

}  // namespace
}  // namespace kordavelt
