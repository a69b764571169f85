// The checks the topology operations make of their own work: silent while the
// tables are as the operations leave them, a stop when a tie is broken.

#include "model/topology_invariants.h"

#include <gtest/gtest.h>

#include "model/model_builder.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"

namespace kordavelt::testing {
namespace {

#ifdef KORDAVELT_CHECK_INVARIANTS

// Would catch a check that sees a fault in a sound network, or one that moves
// the table a view is looking at.
TEST(TopologyInvariants, ASoundBranchPassesAndKeepsTheTablesWhereTheyStood) {
  ModelBuilder m;
  const int n1 = m.Node();
  const int n2 = m.Node();
  const int n3 = m.Node();
  const std::int32_t cable = m.Cable(n1, n2);
  ASSERT_NE(cable, 0);
  m->SwitchBranchEnd(cable, n3);  // checks itself on the way
  ExpectFarEndTied(*m.operator->(), cable);
  ASSERT_TRUE(modelClass::SeekExact(m->Branches(), cable));
  ExpectSlotFree(*m.operator->(), BranchKey(n3, 200));
  EXPECT_EQ(m->Branches()->Key(), cable);
}

TEST(TopologyInvariants, AFarEndThatNoLongerHoldsItsBranchStopsTheRun) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  ModelBuilder m;
  const int n1 = m.Node();
  const std::int32_t cable = m.Cable(n1, m.Node());
  ASSERT_TRUE(modelClass::SeekExact(m->Branches(), cable));
  const std::int32_t end = BranchRec(m->Branches()->Record()).KeyEnd();
  ASSERT_TRUE(modelClass::SeekExact(m->FarEnds(), end));
  FarEndRec(m->FarEnds()->Record()).SetBranchKey(cable + 1);
  EXPECT_DEATH(ExpectFarEndTied(*m.operator->(), cable), "far-end record of a branch holds");
  EXPECT_DEATH(ExpectSlotFree(*m.operator->(), cable), "used by no branch and no far end");
}

#else

TEST(TopologyInvariants, WithoutChecksNothingIsLookedAt) {
  ModelBuilder m;
  const int n1 = m.Node();
  const std::int32_t cable = m.Cable(n1, m.Node());
  ExpectSlotFree(*m.operator->(), cable);  // would stop the run were it checked
  SUCCEED();
}

#endif

}  // namespace
}  // namespace kordavelt::testing
