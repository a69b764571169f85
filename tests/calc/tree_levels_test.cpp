// What the trace reads once for the later walks: the voltage level stored at
// each node, and the far ends it walks without moving the branch table. A
// level taken from a stale reading would leave a node at its old voltage; a
// far-end table left without its hook would no longer carry the branch table
// along for the scheme and the object windows.

#include <gtest/gtest.h>

#include "calc/calc_scenario.h"

namespace kordavelt::testing {
namespace {

// n1 (source, 380 V) → transformer → a → cable → b.
struct TransformedNetwork : CalcScenario {
  int n1 = m.Node();
  int a = m.Node();
  int b = m.Node();
  ModelBuilder::Tied t1 = FedSource(n1, "Т1");
  std::int32_t tr = m.Branch(kKindTransformer, n1, a);
  std::int32_t cable = m.Cable(a, b);

  TransformedNetwork() { calc.StopAfter(CalcStage::Tree); }

  void Windings(float uv, float un) {
    tbClass* transformers = m->OpenObjectTable(kKindTransformer);
    if (!modelClass::SeekExact(transformers, tr)) return;
    TransformerRec(transformers->Record()).SetUv(uv);
    TransformerRec(transformers->Record()).SetUn(un);
    transformers->MarkModifiedAndFlush();
  }

  void StoreVoltageIndex(int node, std::uint8_t index) {
    if (!modelClass::SeekExact(m->Nodes(), node)) return;
    NodeRec(m->Nodes()->Record()).SetUnom(index);
    m->Nodes()->MarkModifiedAndFlush();
  }
};

TEST(NodeLevels, RecalculationFollowsAChangedWindingAndRepairsAnEditedNode) {
  TransformedNetwork s;
  s.Windings(0.38f, 0.66f);
  ASSERT_TRUE(s.calc.CalcSource(s.t1.number));
  EXPECT_EQ(s.NodeVoltageIndex(s.a), 1);
  EXPECT_EQ(s.NodeVoltageIndex(s.b), 1);

  s.Windings(0.38f, 0.38f);
  ASSERT_TRUE(s.calc.CalcSource(s.t1.number));
  EXPECT_EQ(s.NodeVoltageIndex(s.a), 0);
  EXPECT_EQ(s.NodeVoltageIndex(s.b), 0);

  s.StoreVoltageIndex(s.b, 4);
  ASSERT_TRUE(s.calc.CalcSource(s.t1.number));
  EXPECT_EQ(s.NodeVoltageIndex(s.b), 0);
  EXPECT_EQ(s.calc.Element(3).unom, 380.0f);
}

TEST(NodeLevels, PassRepeatedWithinOneTraceStillWritesAChangedLevel) {
  TransformedNetwork s;
  s.Windings(0.38f, 0.66f);
  ASSERT_TRUE(s.calc.TraceTree(s.t1.number));
  ASSERT_TRUE(s.calc.AssignVoltageLevels());
  EXPECT_EQ(s.NodeVoltageIndex(s.b), 1);
  // As when the preparation changes a transformer between the two passes.
  s.Windings(0.38f, 0.38f);
  ASSERT_TRUE(s.calc.AssignVoltageLevels());
  EXPECT_EQ(s.NodeVoltageIndex(s.a), 0);
  EXPECT_EQ(s.NodeVoltageIndex(s.b), 0);
}

TEST(TraceHooks, FarEndsCarryTheBranchTableAgainAfterATrace) {
  TransformedNetwork s;
  ASSERT_TRUE(s.calc.TraceTree(s.t1.number));
  tbClass* farEnds = s.m->FarEnds();
  tbClass* branches = s.m->Branches();
  ASSERT_TRUE(modelClass::SeekExact(branches, s.t1.branch));
  farEnds->GoTo(1);
  ASSERT_EQ(farEnds->Status(), kStatusOk);
  EXPECT_EQ(branches->Key(), FarEndRec(farEnds->Record()).BranchKey());
  EXPECT_NE(branches->Key(), s.t1.branch);
}

}  // namespace
}  // namespace kordavelt::testing
