#include <gtest/gtest.h>

#include "calc/calc_scenario.h"
#include "calc/element_checks.h"

namespace kordavelt::testing {
namespace {

// Records which steps ran, in order.
struct StepLog {
  std::vector<std::string> ran;

  void Bind(CalcSteps& steps) {
    const auto step = [this](std::string name, bool result = true) {
      return [this, name, result](CalcClass&) {
        ran.push_back(name);
        return result;
      };
    };
    steps.prepareAndLoads = step("loads");
    steps.cumulativeImpedance = step("cumulative");
    steps.shortCircuits = step("short");
    steps.selfStartImpedances = step("selfstart");
    steps.forwardSweep = step("forward");
    steps.motorFeeding = step("motors");
    steps.protectionTimes = step("times");
    steps.loadEnvelopes = step("envelopes");
    steps.checks = step("checks");
    steps.automaticChoice = step("choice");
  }
};

// n1 (source) → n2 → n3.
struct SmallNetwork : CalcScenario {
  int n1 = m.Node();
  int n2 = m.Node();
  int n3 = m.Node();
  ModelBuilder::Tied t1 = FedSource(n1, "Т1");
  std::int32_t c12 = m.Cable(n1, n2);
  std::int32_t c23 = m.Cable(n2, n3);
  StepLog log;

  SmallNetwork() { log.Bind(calc.Steps()); }
};

// --- The pipeline of one source --------------------------------------------------------

TEST(CalcSource, RunsTheStepsInOrderAndMarksTheSourceCalculated) {
  SmallNetwork s;
  EXPECT_TRUE(s.calc.CalcSource(s.t1.number));
  EXPECT_EQ(s.log.ran, (std::vector<std::string>{"loads", "short", "forward", "motors", "times",
                                                 "envelopes", "checks"}));
  EXPECT_TRUE(s.Calculated(s.t1.number));
  EXPECT_FALSE(s.calc.Invalid());
  EXPECT_EQ(s.calc.Protocol(), "ИП1; ");
  EXPECT_EQ(s.m->StatusText(s.calc.Protocol()).rfind("Узлов-", 0), 0u);
}

TEST(CalcSource, MethodSettingsBringInTheirSteps) {
  SmallNetwork s;
  s.m->Settings().SetStartCurrentMethod(1);
  s.m->Settings().SetSelfStartMethod(3);
  s.m->Settings().SetMultiVariant(true);
  EXPECT_TRUE(s.calc.CalcSource(s.t1.number));
  // Multi-variant runs check nothing per source.
  EXPECT_EQ(s.log.ran, (std::vector<std::string>{"loads", "cumulative", "short", "selfstart",
                                                 "forward", "motors", "times", "envelopes"}));
}

TEST(CalcSource, FailingStepStopsTheSourceUncalculated) {
  SmallNetwork s;
  s.calc.Steps().shortCircuits = [&](CalcClass&) {
    s.log.ran.push_back("short");
    return false;
  };
  EXPECT_FALSE(s.calc.CalcSource(s.t1.number));
  EXPECT_EQ(s.log.ran, (std::vector<std::string>{"loads", "short"}));
  EXPECT_FALSE(s.Calculated(s.t1.number));
}

TEST(CalcSource, SourceWithOnlyItsOwnBranchGoesToTheProtocol) {
  CalcScenario s;
  const auto t1 = s.FedSource(s.m.Node());
  EXPECT_FALSE(s.calc.CalcSource(t1.number));
  EXPECT_EQ(s.calc.Protocol(), "нет присоединений к ИП № 1; ");
  EXPECT_TRUE(s.m.ui.Messages().empty());
}

TEST(CalcSource, MissingBusbarCurrentStopsWithMessageAndLocatesTheSource) {
  CalcScenario s;
  const int n1 = s.m.Node();
  const auto t1 = s.FedSource(n1, "Т1", 0.0f);
  s.Chain(n1, 1);
  std::int32_t located = 0;
  s.calc.OnLocateSource = [&](std::int32_t key) { located = key; };

  EXPECT_FALSE(s.calc.CalcSource(t1.number));
  EXPECT_EQ(s.LastMessage(), "Расчет не выполнен!: Не заданы значения тока КЗ на шинах#ИП № 1(Т1)");
  EXPECT_EQ(located, t1.branch);
  EXPECT_TRUE(s.calc.Invalid());
}

TEST(CalcSource, ResetsEarlierResultsOfItsElements) {
  SmallNetwork s;
  ASSERT_TRUE(s.calc.TraceTree(s.t1.number));
  ElementRec& cable = s.calc.Element(3);
  cable.violations = 5;
  cable.iPeak = 3;
  cable.uWork = 200;
  cable.ikMin = {1, 2, 3};
  cable.z1 = {4, 5};  // not a result: kept
  ASSERT_TRUE(s.calc.CalcSource(s.t1.number));
  EXPECT_EQ(cable.violations, 0u);
  EXPECT_EQ(cable.iPeak, 0);
  EXPECT_EQ(cable.uWork, kNotComputed);
  EXPECT_EQ(cable.ikMin[2], kNotComputed);
  EXPECT_EQ(cable.z1, (Complex{4, 5}));
}

// --- Voltage levels and connection bounds -------------------------------------------------

TEST(VoltageLevels, TransformerSetsTheLevelBeyondIt) {
  SmallNetwork s;
  ASSERT_TRUE(modelClass::SeekExact(s.m->Sources(), s.t1.number));
  SourceRec(s.m->Sources()->Record()).SetVoltageIndex(3);  // 10000 V
  s.m->Sources()->MarkModifiedAndFlush();
  const int n4 = s.m.Node();
  const std::int32_t tr = s.m.Branch(kKindTransformer, s.n3, n4);
  tbClass* transformers = s.m->OpenObjectTable(kKindTransformer);
  ASSERT_TRUE(modelClass::SeekExact(transformers, tr));
  TransformerRec(transformers->Record()).SetUv(10.5f);
  TransformerRec(transformers->Record()).SetUn(0.4f);
  transformers->MarkModifiedAndFlush();
  const int n5 = s.Chain(n4, 1);

  ASSERT_TRUE(s.calc.CalcSource(s.t1.number));
  EXPECT_EQ(s.calc.Element(1).unom, 10000.0f);
  // The transformer itself is on the side the tree leaves it by, where its
  // end voltage is measured.
  EXPECT_EQ(s.calc.Element(4).unom, 380.0f);
  EXPECT_EQ(s.calc.Element(5).unom, 380.0f);
  EXPECT_EQ(s.NodeVoltageIndex(s.n3), 3);
  EXPECT_EQ(s.NodeVoltageIndex(n5), 0);

  // Fed from the 0.4 kV side instead, the high-voltage winding does not fit.
  TransformerRec(transformers->Record()).SetUv(0.4f);
  transformers->MarkModifiedAndFlush();
  EXPECT_FALSE(s.calc.CalcSource(s.t1.number));
  EXPECT_EQ(s.LastMessage(), "Расчет: Напряжение ВН трансформатора " + MissingMarkingText(tr) +
                                 "!#не соответствует напряжению сети#от ИП Т1!#Расчет остановлен");
}

TEST(VoltageLevels, SiblingSectionsStartFromTheirParentsVoltage) {
  CalcScenario s;
  const int n1 = s.m.Node();
  const auto t1 = s.FedSource(n1);
  const int a = s.m.Node(), b = s.m.Node(), c = s.m.Node();
  const std::int32_t tr = s.m.Branch(kKindTransformer, n1, a);  // first sibling
  tbClass* transformers = s.m->OpenObjectTable(kKindTransformer);
  ASSERT_TRUE(modelClass::SeekExact(transformers, tr));
  TransformerRec(transformers->Record()).SetUv(0.38f);
  TransformerRec(transformers->Record()).SetUn(0.66f);
  transformers->MarkModifiedAndFlush();
  s.m.Cable(a, c);
  s.m.Cable(n1, b);  // second sibling

  ASSERT_TRUE(s.calc.CalcSource(t1.number));
  EXPECT_EQ(s.NodeVoltageIndex(a), 1);
  EXPECT_EQ(s.NodeVoltageIndex(c), 1);
  EXPECT_EQ(s.NodeVoltageIndex(b), 0);
  EXPECT_EQ(s.calc.Element(4).unom, 380.0f);
}

TEST(EndNodes, ConnectionsRunBetweenNamedNodesAndEndAtTerminals) {
  CalcScenario s;
  const int n1 = s.m.Node();
  const auto t1 = s.FedSource(n1);
  const int n2 = s.m.Node(), n3 = s.m.Node(), n4 = s.m.Node();
  const std::int32_t c12 = s.m.Cable(n1, n2);
  const std::int32_t c23 = s.m.Cable(n2, n3);
  const std::int32_t c34 = s.m.Cable(n3, n4);
  const auto motor = s.m.Receiver(n4, s.m.Group(), "М1");
  s.Name(n1, "ЩР1");
  s.Name(n3, "ЩР2");

  ASSERT_TRUE(s.calc.CalcSource(t1.number));
  ASSERT_EQ(s.TreeKeys(), (std::vector<std::int32_t>{t1.branch, c12, c23, c34, motor.branch}));
  const ElementRec& first = s.calc.Element(2);
  EXPECT_EQ(first.startNode, n1);
  EXPECT_EQ(first.endNode, n3);
  EXPECT_EQ(first.endKind, kKindNode);
  EXPECT_EQ(first.endKey, c23);
  EXPECT_EQ(s.calc.Element(3).startNode, n1);
  const ElementRec& last = s.calc.Element(4);
  EXPECT_EQ(last.startNode, n3);
  EXPECT_EQ(last.endNode, n4);
  EXPECT_EQ(last.endKind, kKindReceiver);
  EXPECT_EQ(last.endKey, motor.branch);
}

// --- Full calculation, regimes and automatic calculation -----------------------------

TEST(CalcNetwork, SourceEmfSettingsMustLieInTheirRange) {
  for (const float emf : {0.5f, 2.0f, 0.49f, 2.01f}) {
    SmallNetwork s;
    s.m->Settings().SetMaxEmf(emf);
    s.calc.CalcNetwork();
    const bool accepted = emf == 0.5f || emf == 2.0f;
    EXPECT_EQ(s.Calculated(s.t1.number), accepted) << emf;
    if (!accepted) {
      EXPECT_EQ(s.LastMessage(), "Расчет сети: Не заданы ЭДС ИП");
      EXPECT_EQ(s.calc.Protocol(), "Не заданы ЭДС ИП");
      EXPECT_TRUE(s.calc.Invalid());
    }
  }
}

TEST(CalcNetwork, EverySourceIsCalculatedAndChoiceFollowsOnlyWhenOn) {
  SmallNetwork s;
  const int n9 = s.m.Node();
  const auto t2 = s.FedSource(n9, "Т2");
  s.Chain(n9, 1);

  s.calc.CalcNetworkWithChoice();
  EXPECT_TRUE(s.log.ran.empty());  // the setting is off

  s.calc.CalcNetwork();
  EXPECT_TRUE(s.Calculated(s.t1.number));
  EXPECT_TRUE(s.Calculated(t2.number));
  EXPECT_EQ(s.calc.Protocol(), "Расчет ИП1; ИП2; ");
  EXPECT_EQ(std::count(s.log.ran.begin(), s.log.ran.end(), "choice"), 0);

  s.log.ran.clear();
  s.m->Settings().SetAutoChoice(true);
  s.calc.CalcNetworkWithChoice();
  EXPECT_EQ(std::count(s.log.ran.begin(), s.log.ran.end(), "choice"), 2);
}

// The checks' findings showed nowhere in the program: the protocol of the
// status line counts the elements with violations over every calculated
// source, after a full calculation and after an automatic one alike.
TEST(CalcNetwork, TheProtocolCountsTheElementsThatViolateAConditionInEverySource) {
  SmallNetwork s;
  const int n9 = s.m.Node();
  s.FedSource(n9, "Т2");
  s.Chain(n9, 1);
  s.calc.Steps().checks = [](CalcClass& calc) {
    calc.Element(calc.Count()).violations = 1u << kViolationPermissible;
    return true;
  };
  s.m->Settings().SetAutoCalc(true);
  s.calc.CalcNetwork();
  EXPECT_EQ(s.calc.Protocol(), "Расчет ИП1; ИП2; Нарушений: 2");
  s.calc.AutoCalc(2, s.n3);
  EXPECT_EQ(s.calc.Protocol(), "Авторасчет: ИП1; Нарушений: 2");

  // A source whose results an edit made stale counts no more.
  s.calc.Steps().checks = [](CalcClass&) { return true; };
  s.calc.AutoCalc(2, s.n3);
  EXPECT_EQ(s.calc.Protocol(), "Авторасчет: ИП1; Нарушений: 1");
}

TEST(CalcNetwork, MultiVariantRunGoesThroughNamedRegimesDownwards) {
  SmallNetwork s;
  s.m->Settings().SetMultiVariant(true);
  s.calc.CalcNetwork();
  EXPECT_EQ(s.calc.Protocol(), "Расчет Нет поименованных режимов");
  EXPECT_TRUE(s.calc.Invalid());

  s.m->Settings().SetRegimeName(0, "Зима");
  s.m->Settings().SetRegimeName(2, "Лето");
  s.m.SetStatus(s.c12, 0xFB);  // off in regime 2
  s.calc.CalcNetwork();
  EXPECT_EQ(s.calc.Protocol(), "Расчет Режим 3:нет присоединений к ИП № 1; Режим 1:ИП1; ");
  EXPECT_EQ(s.m->Regime(), 0);
  EXPECT_FALSE(s.calc.Invalid());
}

TEST(AutoCalc, RecalculatesOnlyTheEditedSourceAfterAFullCalculation) {
  SmallNetwork s;
  const int n9 = s.m.Node();
  const auto t2 = s.FedSource(n9, "Т2");
  const std::int32_t c9 = s.m.Branch(kKindCableLine, n9, s.m.Node());
  s.m->Settings().SetAutoCalc(true);

  s.calc.AutoCalc(100 + kKindCableLine, c9);  // no full calculation yet
  EXPECT_FALSE(s.Calculated(t2.number));
  EXPECT_TRUE(s.calc.Invalid());

  s.calc.CalcNetwork();
  s.log.ran.clear();
  s.calc.AutoCalc(100 + kKindCableLine, c9);
  EXPECT_EQ(s.calc.Protocol(), "Авторасчет: ИП2; ");
  EXPECT_EQ(std::count(s.log.ran.begin(), s.log.ran.end(), "loads"), 1);

  s.calc.AutoCalc(2, s.n3);
  EXPECT_EQ(s.calc.Protocol(), "Авторасчет: ИП1; ");

  s.m->Settings().SetAutoCalc(false);
  s.calc.AutoCalc(2, s.n3);
  EXPECT_TRUE(s.calc.Invalid());
}

// --- Orthogonal lengths ----------------------------------------------------------------

TEST(OrthogonalLengths, ReplaceLengthsByTheChosenRule) {
  SmallNetwork s;
  s.m->Settings().SetOrthogonalLengthFactor(2.0f);
  s.Place(s.n1, 0, 0);
  s.Place(s.n2, 3, 4, 1);  // Lortho = 3 + 4 + 2·1 = 9, Lmin ≈ 5.1
  s.Place(s.n3, 3, 4, 1);  // Lortho = 0
  tbClass* cables = s.m->OpenObjectTable(kKindCableLine);
  const auto setLength = [&](std::int32_t key, float l) {
    ASSERT_TRUE(modelClass::SeekExact(cables, key));
    CableLineRec(cables->Record()).SetL(l);
    cables->MarkModifiedAndFlush();
  };
  const auto length = [&](std::int32_t key) {
    return modelClass::SeekExact(cables, key) ? CableLineRec(cables->Record()).L() : -1.0f;
  };

  setLength(s.c12, 6);
  setLength(s.c23, 1);
  s.m.ui.PressButton("Для L<Lmin");
  s.calc.OrthogonalLengths();
  EXPECT_EQ(length(s.c12), 6.0f);  // not below the straight distance
  EXPECT_EQ(length(s.c23), 1.0f);

  s.m.ui.PressButton("Для L<Lortho");
  s.calc.OrthogonalLengths();
  EXPECT_EQ(length(s.c12), 9.0f);
  EXPECT_EQ(length(s.c23), 1.0f);

  s.m.ui.PressButton("Для всех");
  s.calc.OrthogonalLengths();
  EXPECT_EQ(length(s.c23), 0.0f);

  setLength(s.c12, 1);
  s.m.ui.PressButton("Отменить");
  s.calc.OrthogonalLengths();
  EXPECT_EQ(length(s.c12), 1.0f);
}

}  // namespace
}  // namespace kordavelt::testing
