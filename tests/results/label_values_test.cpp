// The values the scheme labels show from one calculation record: each
// group's items with their units, letters and number forms, the conditions
// under which an item appears, and the guards that keep zero divisors and
// voltages not computed out of the text.

#include "results/label_values.h"

#include <gtest/gtest.h>

#include "base/number_format.h"
#include "calc/element_checks.h"
#include "model/element_rec.h"
#include "model/model_class.h"

namespace kordavelt {
namespace {

LabelGroups Only(std::initializer_list<int> groups) {
  LabelGroups set;
  for (int g : groups) set = set.With(g);
  return set;
}

class LabelValues : public ::testing::Test {
 protected:
  ~LabelValues() override { Digits = 5; }

  std::string Branch(int kind, std::initializer_list<int> groups, double point = 0) {
    BranchValueOptions options;
    options.kind = kind;
    options.groups = Only(groups);
    options.cablePointM = point;
    return BranchValueText(e, options);
  }
  void Timed() { e.backupProtection = &backup; }

  ElementRec e;
  ElementAttachment backup;
};

// --- Nodes -------------------------------------------------------------------------

// Would catch a single-phase deviation taken against the line voltage: the
// label shows what the result tables show, working and starting alike (the
// starting voltage of a single-phase element is a phase value too, and
// against the line voltage it would read as a drop of over 40 %).
TEST_F(LabelValues, SinglePhaseNodeTakesItsDeviationsAgainstThePhaseVoltage) {
  Digits = 3;
  e.unom = 380;
  e.phaseSet = kPhaseB;
  e.uWork = 210;
  e.uStart = 200;
  EXPECT_EQ(NodeValueText(e, Only({7, 8, 10, 11}), 0), "#Uр=210#dUр=-4.28%219#Uп=200#dUп=-8.84%");
}

TEST_F(LabelValues, NodeWithoutNominalVoltageOrComputedVoltagesShowsNoVoltages) {
  e.uWork = 390;
  EXPECT_EQ(NodeValueText(e, Only({7, 8, 16, 28}), 0), "");
  e.unom = 400;
  e.uWork = kNotComputed;
  e.uStart = kNotComputed;
  EXPECT_EQ(NodeValueText(e, Only({7, 8, 10, 11}), 0), "");
}

TEST_F(LabelValues, NodeVoltagesFollowTheComplexFormAndTheirOrder) {
  e.unom = 400;
  e.phaseSet = kPhaseA | kPhaseB | kPhaseC;
  e.uWork = kNotComputed;
  e.uStart = kNotComputed;
  e.uaEnd = {3, -4};
  e.uLine = {400, 401, 402};
  e.uDuringSelfStart = 350;
  EXPECT_EQ(NodeValueText(e, Only({16, 27, 26}), 0),
            "#Ua=5#Ub=0#Uc=0#Uab=400#Ubc=401#Uca=402#Uсз=350");
  EXPECT_EQ(NodeValueText(e, Only({26}), 1), "#Ua=3-j4#Ub=0#Uc=0");
  EXPECT_EQ(NodeValueText(e, Only({26}), 2), "#Ua=" + ComplexToPolarText({3, -4}) + "#Ub=0#Uc=0");
}

TEST_F(LabelValues, SymmetricalComponentsCarryTheirUnbalanceFactors) {
  e.unom = 400;
  e.phaseSet = kPhaseA | kPhaseB | kPhaseC;
  e.uaEnd = {100, 0};  // one phase alone: all three components are a third of it
  EXPECT_EQ(NodeValueText(e, Only({28}), 0),
            "#U1=33.333#U2=33.333#U0=33.333#k2=8.3333%#k0=8.3333%");
}

// --- Branches ------------------------------------------------------------------------

// Would catch the phase currents shown beside their phase powers.
TEST_F(LabelValues, PhaseGroupGivesCurrentsAloneAndPerPhasePowersWithPowerGroups) {
  e.ia = {10, 0};
  e.iNeutral = 10;
  e.sa = {1, 1};
  EXPECT_EQ(Branch(21, {25}), "#Ia=10A#Ib=0A#Ic=0A#Io=10A");
  EXPECT_EQ(Branch(21, {23, 25}), "#Sa=1+j1#Sb=0#Sc=0");
  EXPECT_EQ(Branch(21, {23}), "#S=1+j1");
}

TEST_F(LabelValues, TotalLossesAddTheNeutralLossToTheirActivePart) {
  e.dSa = {1, 2};
  e.dSb = {1, 0};
  e.dPo = 0.5f;
  EXPECT_EQ(Branch(21, {24}), "#dS=2.5+j2");
  EXPECT_EQ(Branch(21, {24, 25}), "#dSa=1+j2#dSb=1#dSc=0#dPo=0.5");
}

TEST_F(LabelValues, StartingCurrentAndLoadFactorNeedValuesToShow) {
  e.iStart = {600, 0};
  EXPECT_EQ(Branch(11, {9, 22}), "");
  e.tStart = 5;
  e.loadFactor = 0.8f;
  EXPECT_EQ(Branch(11, {9, 22}), "#Iп=600A5c#Кз=0.8");
}

TEST_F(LabelValues, MinimumFaultsBelongToProtectiveKindsAndTheirTimesToTimedOnes) {
  e.ikMin = {1, 2, 3};
  e.tkMin = {0.1f, 0.2f, 0.3f};
  EXPECT_EQ(Branch(11, {12, 13}), "");
  EXPECT_EQ(Branch(22, {12, 13}), "#Iкм1=1#Iкм2=2#Iкм3=3");
  Timed();
  EXPECT_EQ(Branch(51, {13}), "#tкм1=0.1c#tкм2=0.2c#tкм3=0.3с");
}

TEST_F(LabelValues, CableLinesShowTheirValuesAtStartMiddlePointAndEnd) {
  e.ikMaxAlong = {5, 4, 3};
  e.iBreak = 5;
  e.joule = {4, 9, 16, 25};
  e.tProtect = {0.1f, 0.2f, 0.3f, 0.4f};
  EXPECT_EQ(Branch(11, {14, 17, 21}, 12), "#I\"Н=5кА#I\"12=4кА#I\"К=3кА#Iоткл=5кА");
  Timed();
  EXPECT_EQ(Branch(11, {17, 21}, 12),
            "#toзН=0.1с#tрз12=0.3с#tозК=0.2с#tрзК=0.4с"
            "#IэозН=2кА#Iэрз12=4кА#IэoзК=3кА#IэрзК=5кА");
}

TEST_F(LabelValues, OtherElementsShowOneValueAndNoTemperatures) {
  e.ikMax = 7;
  e.tProtect[0] = 0.4f;
  e.joule[0] = 4;
  EXPECT_EQ(Branch(21, {14, 17, 18, 20, 21}), "#I\"=7кА");
  Timed();
  EXPECT_EQ(Branch(21, {14, 17, 18, 20, 21}), "#I\"=7кА#tо=0.4с#Bt=4#Iэt=2кА");
}

// Would catch Z0 of an open zero-sequence path, or a ratio of 1, cluttering the label.
TEST_F(LabelValues, ImpedancesLeaveOutAnOpenZeroSequenceAndAPlainRatio) {
  EXPECT_EQ(Branch(31, {29}), "");
  e.z1 = {1, 1};
  e.z0 = {2000, 0};
  e.kt = 1;
  EXPECT_EQ(Branch(31, {29}), "#Z1=1+j1мОм");
  e.z0 = {3, 0};
  e.kt = 0.04f;
  EXPECT_EQ(Branch(31, {29}), "#Z1=1+j1мОм#Z0=3мОм#Kт=0.04");
}

TEST_F(LabelValues, FaultMakeUpShowsOnlyWhatHasADivisor) {
  EXPECT_EQ(Branch(51, {31}), "#Iк1с=0");
  e.asyncInitial = 600;
  e.asyncRated = 100;
  e.emf = 230;
  e.sourceZ = {3, 4};
  e.ikdSource = 12;
  e.rSum = 1;
  e.xSum = 314.15927f;
  EXPECT_EQ(Branch(51, {31}), "#Iaм=600/100#Iк1с=0#Iк3с=46#Iкd=12#Ta=1c");
}

TEST_F(LabelValues, MotorEmfSelfStartAndViolationsCloseTheLabel) {
  e.emfMotor = {3, 4};
  e.iSelfStart = {6, 8};
  e.violations = 1u << kViolationPermissible;
  EXPECT_EQ(Branch(52, {30, 16, 19}), "#Iсз=10#Iдоп!");
  e.kind = 42;
  EXPECT_EQ(Branch(52, {30, 16}), "#E\"=5В#Iсз=10");
}

}  // namespace
}  // namespace kordavelt
