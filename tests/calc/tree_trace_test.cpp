#include <gtest/gtest.h>

#include "calc/calc_scenario.h"

namespace kordavelt::testing {
namespace {

// --- The shape of the traced tree ---------------------------------------------------

TEST(TreeTrace, SeriesChainKeepsOneLevelAndClosesAtItsEnd) {
  CalcScenario s;
  const int n1 = s.m.Node();
  const auto t1 = s.FedSource(n1);
  s.Chain(n1, 50);

  ASSERT_TRUE(s.calc.TraceTree(t1.number));
  ASSERT_EQ(s.calc.Count(), 51);
  EXPECT_EQ(s.calc.DeepestLevel(), 1);
  EXPECT_EQ(s.TreeLevels(), std::vector<int>(51, 1));
  for (int i = 1; i < 51; ++i) EXPECT_EQ(s.calc.Element(i).endOfSection, 0) << i;
  EXPECT_EQ(s.calc.Element(51).endOfSection, 1);
  EXPECT_EQ(s.calc.Element(1).signedKey, t1.branch);
  EXPECT_EQ(s.calc.Element(2).kind, kKindCableLine);
}

TEST(TreeTrace, NodeWithThreeOutgoingBranchesOpensOneLevelForAll) {
  CalcScenario s;
  const int n1 = s.m.Node();
  const int n2 = s.m.Node();
  const auto t1 = s.FedSource(n1);
  const std::int32_t feeder = s.m.Cable(n1, n2);
  const int a = s.m.Node(), b = s.m.Node(), c = s.m.Node();
  const std::int32_t ka = s.m.Cable(n2, a);
  const std::int32_t kb = s.m.Cable(n2, b);
  const std::int32_t kc = s.m.Cable(n2, c);
  const int below = s.Chain(a, 2);

  ASSERT_TRUE(s.calc.TraceTree(t1.number));
  // Depth-first preorder: the first child's chain is walked before its siblings.
  EXPECT_EQ(s.TreeKeys()[1], feeder);
  EXPECT_EQ(s.TreeKeys()[2], ka);
  EXPECT_EQ(s.TreeLevels(), (std::vector<int>{1, 1, 2, 2, 2, 2, 2}));
  EXPECT_EQ(s.calc.DeepestLevel(), 2);
  EXPECT_EQ(s.calc.Element(5).endOfSection, 1);  // end of the chain below a
  EXPECT_EQ(s.calc.Element(6).signedKey, kb);
  EXPECT_EQ(s.calc.Element(6).endOfSection, 1);
  EXPECT_EQ(s.calc.Element(7).signedKey, kc);
  EXPECT_EQ(s.calc.Element(7).endOfSection, 1);
  EXPECT_EQ(s.calc.Element(2).endOfSection, 0);  // the branch point is no section end
  EXPECT_NE(below, 0);
}

TEST(TreeTrace, BranchDrawnAgainstTheFlowIsPassedWithNegativeKey) {
  CalcScenario s;
  const int n1 = s.m.Node();
  const int n2 = s.m.Node();
  const int n3 = s.m.Node();
  const auto t1 = s.FedSource(n1);
  s.m.Cable(n1, n2);
  const std::int32_t backwards = s.m.Cable(n3, n2);  // drawn from n3 to n2

  ASSERT_TRUE(s.calc.TraceTree(t1.number));
  ASSERT_EQ(s.calc.Count(), 3);
  EXPECT_EQ(s.calc.Element(3).signedKey, -backwards);
  // n3 is reached and fed through that branch.
  ASSERT_TRUE(modelClass::SeekExact(s.m->Nodes(), n3));
  ASSERT_TRUE(modelClass::SeekExact(s.m->Branches(), backwards));
  EXPECT_EQ(s.m->NodeFeeder(s.m->Nodes()->RecordNumber()), s.m->Branches()->RecordNumber());
}

TEST(TreeTrace, SwitchedOffBranchesAreNotWalked) {
  CalcScenario s;
  const int n1 = s.m.Node();
  const int n2 = s.m.Node();
  const auto t1 = s.FedSource(n1);
  const std::int32_t off = s.m.Cable(n1, n2);
  s.Chain(n2, 3);
  s.m.SetStatus(off, 0xFE);  // off in regime 0 only

  ASSERT_TRUE(s.calc.TraceTree(t1.number));
  EXPECT_EQ(s.calc.Count(), 1);
  s.m->SetRegime(1);
  ASSERT_TRUE(s.calc.TraceTree(t1.number));
  EXPECT_EQ(s.calc.Count(), 5);
}

// --- Refusals and their messages ---------------------------------------------------------

TEST(TreeTrace, RingNamesTheFirstNodeReachedTwice) {
  CalcScenario s;
  const int n1 = s.m.Node();
  const int n2 = s.m.Node();
  const int n3 = s.m.Node();
  const auto t1 = s.FedSource(n1);
  s.m.Cable(n1, n2);
  s.m.Cable(n2, n3);
  s.m.Cable(n3, n1);

  EXPECT_FALSE(s.calc.TraceTree(t1.number));
  EXPECT_EQ(s.LastMessage(),
            "Расчет сети: Участок замкнут#Узел № " + std::to_string(n1) + " в кольце");
}

TEST(TreeTrace, SecondSourceInTheSectionIsNamed) {
  CalcScenario s;
  const int n1 = s.m.Node();
  const int n2 = s.m.Node();
  const auto t1 = s.FedSource(n1, "Т1");
  s.m.Cable(n1, n2);
  s.FedSource(n2, "Т2");

  EXPECT_FALSE(s.calc.TraceTree(t1.number));
  EXPECT_EQ(s.LastMessage(), "Расчет сети: Участок имеет второй ИП#(Т2)");
}

TEST(TreeTrace, UnconnectedOrMissingSourceIsReported) {
  CalcScenario s;
  const int n1 = s.m.Node();
  s.FedSource(n1);

  EXPECT_FALSE(s.calc.TraceTree(0));
  EXPECT_EQ(s.LastMessage(), "Расчет не выполнен: Участок не подключен к ИП");
  EXPECT_FALSE(s.calc.TraceTree(7));
  EXPECT_EQ(s.LastMessage(), "Расчет не выполнен: Нет ИП!#Это странно!");
}

TEST(TreeTrace, SourceSwitchedOffGoesToTheProtocolWithoutABox) {
  CalcScenario s;
  const int n1 = s.m.Node();
  const auto t1 = s.FedSource(n1);
  s.Chain(n1, 2);
  s.m.SetStatus(t1.branch, 0);
  const auto boxes = s.m.ui.Messages().size();

  EXPECT_FALSE(s.calc.CalcSource(t1.number));
  EXPECT_NE(s.calc.Protocol().find("ИП отключен"), std::string::npos);
  EXPECT_EQ(s.m.ui.Messages().size(), boxes);
  EXPECT_FALSE(s.Calculated(t1.number));
}

TEST(TreeTrace, SourceWhoseBranchIsGoneIsUnplacedSilently) {
  CalcScenario s;
  const int n1 = s.m.Node();
  const auto t1 = s.FedSource(n1);
  ASSERT_TRUE(modelClass::SeekExact(s.m->Sources(), t1.number));
  SourceRec(s.m->Sources()->Record()).SetBranchKey(BranchKey(n1, 77));
  s.m->Sources()->MarkModifiedAndFlush();

  EXPECT_FALSE(s.calc.TraceTree(t1.number));
  ASSERT_TRUE(modelClass::SeekExact(s.m->Sources(), t1.number));
  EXPECT_EQ(SourceRec(s.m->Sources()->Record()).BranchKey(), 0);
  EXPECT_TRUE(s.m.ui.Messages().empty());
}

TEST(TreeTrace, HundredthLevelIsRefusedWithAMessage) {
  CalcScenario s;
  int node = s.m.Node();
  const auto t1 = s.FedSource(node);
  // Each node forks into a leaf and the way on: every fork opens a level.
  for (int i = 0; i < CalcClass::kMaxLevel; ++i) {
    const int leaf = s.m.Node();
    const int next = s.m.Node();
    s.m.Cable(node, leaf);
    s.m.Cable(node, next);
    node = next;
  }
  EXPECT_FALSE(s.calc.TraceTree(t1.number));
  EXPECT_EQ(s.LastMessage(),
            "Расчет сети: Дерево от ИП № 1 имеет более 99 уровней ветвления#Расчет остановлен");
  EXPECT_EQ(s.calc.Count(), 0);
}

// The refusal comes before anything is written: no element of the refused
// tree gets a record, no node a feeding element, and the calculation of the
// source stops with the message.
TEST(TreeTrace, TreeLargerThanTheListIsRefusedWithAMessageBeforeAnythingIsWritten) {
  CalcScenario s;
  const int n1 = s.m.Node();
  const auto t1 = s.FedSource(n1);
  const int last = s.Chain(n1, CalcClass::kTreeCapacity);  // one more with the source's own
  EXPECT_FALSE(s.calc.CalcSource(t1.number));
  EXPECT_EQ(s.LastMessage(),
            "Расчет сети: Дерево от ИП № 1 содержит более 12000 элементов#Расчет остановлен");
  EXPECT_EQ(s.calc.Count(), 0);
  EXPECT_FALSE(s.Calculated(t1.number));
  ASSERT_TRUE(modelClass::SeekExact(s.m->Branches(), t1.branch));
  EXPECT_FALSE(s.m->HasElement(s.m->Branches()->RecordNumber()));
  ASSERT_TRUE(modelClass::SeekExact(s.m->Nodes(), last));
  EXPECT_EQ(s.m->NodeFeeder(s.m->Nodes()->RecordNumber()), 0);
}

}  // namespace
}  // namespace kordavelt::testing
