#include <gtest/gtest.h>

#include <cmath>

#include "base/math_box.h"
#include "calc/calc_scenario.h"
#include "calc/element_checks.h"
#include "calc/network_sketch.h"
#include "calc/vth_class.h"
#include "refbook/vth_block.h"

namespace kordavelt::testing {
namespace {

// n1 (source) → n2 → n3, cables without types: the tree and its bounds only.
struct SmallNetwork : CalcScenario {
  int n1 = m.Node();
  int n2 = m.Node();
  int n3 = m.Node();
  ModelBuilder::Tied t1 = FedSource(n1, "Т1");
  std::int32_t c12 = m.Cable(n1, n2);
  std::int32_t c23 = m.Cable(n2, n3);

  SmallNetwork() { calc.StopAfter(CalcStage::Tree); }
};

// A 0.4 kV feeder of catalogue types with every stage of the calculation:
// busbars → (a 630 A breaker →) 95 mm² cable of 100 m → a heater of `kw`
// and a self-starting motor.
class Feeder : public NetworkSketch {
 protected:
  void Build(double kw = 20, bool protect = false) {
    int n1 = s.m.Node();
    far = s.m.Node();
    source = Source(n1, 400, 0);
    if (protect) n1 = Breaker(n1);
    cable = Cable(n1, far, 100);
    heaterGroup = Group(kw, 1);
    Load(far, heaterGroup);
    motor = Load(far, Motor(15, 0.88, 200, 4, true));
  }

  // A 630 A breaker whose release trips after 10 s above 2 × Ir, in 0.05 s
  // above 10 × Ir; the node below it.
  int Breaker(int from) {
    Type<book::TripUnitRec>(book::kTripUnitTable, 801, [](book::TripUnitRec& u) {
      for (int first : {1, 8}) {
        SetVthPoint(u.Vth(), first, {std::log(1.05f), std::log(3600.0f)});
        SetVthPoint(u.Vth(), first + 1, {std::log(2.0f), std::log(10.0f)});
        SetVthPoint(u.Vth(), first + 2, {std::log(10.0f), std::log(0.05f)});
      }
    });
    Type<book::BreakerRec>(book::kBreakerTable, 802, [](book::BreakerRec& b) {
      b.SetInom(630);
      b.SetTripUnit(801);
    });
    const int to = s.m.Node();
    Edit<BreakerRec>(kKindBreaker, s.m.Breaker(from, to), [](BreakerRec& b) { b.SetType(802); });
    return to;
  }

  ModelBuilder::Tied source;
  int far = 0, heaterGroup = 0;
  std::int32_t cable = 0, motor = 0;
};

// --- The pipeline of one source --------------------------------------------------------

// The stages are plain calls that cannot be left out: a calculation that
// forgot one would leave its results at their reset values.
TEST_F(Feeder, EveryStageRunsAndTheSourceCountsAsCalculated) {
  Build(250, true);  // about 360 A: more than the cable's 255 A
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  const ElementRec& c = Of(cable);
  EXPECT_GT(c.iPermissible, 0);         // element parameters
  EXPECT_GT(Abs(c.iDesign), 0);         // design loads
  EXPECT_LT(c.ikMin[2], kNotComputed);  // minimum currents
  EXPECT_LT(c.uWork, kNotComputed);     // forward sweep
  EXPECT_GT(c.ikMax, 0);                // maximum currents with the motor's feeding
  EXPECT_GT(c.ikd, 0);                  // protection times
  EXPECT_LT(c.tProtect[1], 10);
  EXPECT_GT(c.tempProtect[1], c.tempWork);
  const vth_class* breaker = AsCharacteristic(s.calc.Element(2).characteristic);
  ASSERT_NE(breaker, nullptr);
  EXPECT_GT(breaker->envelope[0].lnCurrent, -20.0f);           // load envelopes
  EXPECT_TRUE(c.violations & BitMask(kViolationPermissible));  // checks
  EXPECT_TRUE(s.Calculated(source.number));
  EXPECT_FALSE(s.calc.Invalid());
  EXPECT_EQ(s.calc.Protocol(), "ИП1; ");
  EXPECT_EQ(s.m->StatusText(s.calc.Protocol()).rfind("Узлов-", 0), 0u);
}

TEST_F(Feeder, StoppingAfterAStageLeavesTheLaterOnesUncomputed) {
  Build(250);
  const ElementRec& c = Of(cable);
  s.calc.StopAfter(CalcStage::Tree);
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  EXPECT_EQ(c.iPermissible, 0);
  EXPECT_TRUE(s.Calculated(source.number));

  s.calc.StopAfter(CalcStage::MinimumCurrents);
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  EXPECT_LT(c.ikMin[2], kNotComputed);
  EXPECT_EQ(c.uWork, kNotComputed);

  s.calc.StopAfter(CalcStage::ForwardSweep);
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  EXPECT_LT(c.uWork, kNotComputed);
  EXPECT_EQ(c.ikMax, 0);

  s.calc.StopAfter(CalcStage::LoadEnvelopes);
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  EXPECT_GT(c.ikd, 0);
  EXPECT_EQ(c.violations, 0u);
}

TEST_F(Feeder, MethodSettingsBringInTheirStagesAndMultiVariantRunsCheckNothing) {
  Build(250);
  const ElementRec& c = Of(cable);
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  EXPECT_TRUE(IsZero(c.z1Cumulative));
  EXPECT_TRUE(IsZero(Of(motor).zSelfStart));

  s.m->Settings().SetStartCurrentMethod(1);
  s.m->Settings().SetSelfStartMethod(3);
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  EXPECT_FALSE(IsZero(c.z1Cumulative));
  EXPECT_FALSE(IsZero(Of(motor).zSelfStart));
  EXPECT_NE(c.violations, 0u);

  s.m->Settings().SetMultiVariant(true);
  Of(cable).violations = 0;
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  EXPECT_EQ(c.violations, 0u);
}

TEST_F(Feeder, FailingStageStopsTheSourceUncalculated) {
  Build();
  // A single-phase busbar current far above the three-phase one gives the
  // source a negative zero-sequence impedance: its preparation fails.
  Edit<SourceObjectRec>(kKindPowerSource, source.branch, [](SourceObjectRec& o) { o.SetIk1(60); });
  EXPECT_FALSE(s.calc.CalcSource(source.number));
  EXPECT_EQ(s.LastMessage(), "Расчет сети: Ошибка в параметрах ИП");
  EXPECT_EQ(Of(cable).ikMin[2], kNotComputed);
  EXPECT_FALSE(s.Calculated(source.number));
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
  s.calc.StopAfter(CalcStage::Tree);
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
  s.calc.StopAfter(CalcStage::Tree);
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
  EXPECT_FALSE(s.Calculated(s.t1.number));  // the setting is off
  EXPECT_TRUE(s.calc.Protocol().empty());

  s.calc.CalcNetwork();
  EXPECT_TRUE(s.Calculated(s.t1.number));
  EXPECT_TRUE(s.Calculated(t2.number));
  EXPECT_EQ(s.calc.Protocol(), "Расчет ИП1; ИП2; ");

  s.m->Settings().SetAutoChoice(true);
  s.calc.CalcNetworkWithChoice();
  EXPECT_EQ(s.calc.Protocol(), "Расчет ИП1; ИП2; ");
}

// The checks' findings showed nowhere in the program: the protocol of the
// status line counts the elements with violations over every calculated
// source, after a full calculation and after an automatic one alike.
TEST_F(Feeder, TheProtocolCountsTheElementsThatViolateAConditionInEverySource) {
  Build(250);  // its cable overloaded
  const int n8 = s.m.Node(), n9 = s.m.Node();
  const auto second = s.FedSource(n8, "Т2");
  Edit<SourceObjectRec>(kKindPowerSource, second.branch, [](SourceObjectRec& o) { o.SetUr(400); });
  Cable(n8, n9, 50);
  Load(n9, Group(250, 1));
  s.m->Settings().SetAutoCalc(true);
  s.calc.CalcNetwork();
  EXPECT_EQ(s.calc.Protocol(), "Расчет ИП1; ИП2; Нарушений: 2");
  s.calc.AutoCalc(2, far);
  EXPECT_EQ(s.calc.Protocol(), "Авторасчет: ИП1; Нарушений: 2");

  // A source whose results an edit made stale counts no more.
  ASSERT_TRUE(modelClass::SeekExact(s.m->Groups(), heaterGroup));
  GroupRec(s.m->Groups()->Record()).SetP(20);
  s.m->Groups()->MarkModifiedAndFlush();
  s.calc.AutoCalc(2, far);
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
  s.calc.AutoCalc(100 + kKindCableLine, c9);
  EXPECT_EQ(s.calc.Protocol(), "Авторасчет: ИП2; ");

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
