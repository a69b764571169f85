#include "results/label_values.h"

#include <cmath>

#include "base/constants.h"
#include "base/number_format.h"
#include "calc/element_checks.h"
#include "model/element_rec.h"
#include "model/model_kinds.h"

namespace kordavelt {
namespace {

std::string F(double x) { return FormatNumber(x); }
std::string T(const Complex& z) { return ComplexToText(z); }

bool Computed(float voltage) { return voltage < kNotComputed; }

// (u / reference − 1) × 100 with its sign, then "%".
std::string Deviation(double u, double reference) {
  return FormatSignedNumber((u / reference - 1) * 100) + "%";
}

// The equivalent one-second current of a Joule integral, kA.
double OneSecondCurrent(float joule) { return joule > 0 ? std::sqrt(joule) : 0.0; }

// Kinds whose minimum short-circuit currents and times the labels show.
bool IsProtectionKind(int kind) {
  return kind == kKindProtectiveDevice || kind == kKindBreaker || kind == kKindFuse ||
         kind == kKindPowerSource;
}

// Kinds whose end voltage is a machine's sub-transient EMF (after re-marking).
bool IsMachineKind(int kind) { return kind == 41 || kind == 42 || kind == kKindGenerator; }

// --- Branch items, group by group --------------------------------------------------

std::string Currents(const ElementRec& e, const BranchValueOptions& o) {
  const LabelGroups g = o.groups;
  const auto cx = [&](const Complex& z) { return ComplexDisplay(z, o.complexForm); };
  std::string text;
  // With powers or losses on, group 25 gives their phase forms instead.
  if (g.Has(kGroupPhaseCurrents) && !g.Has(kGroupPowerFlows) && !g.Has(kGroupPowerLosses)) {
    text +=
        "#Ia=" + cx(e.ia) + "A#Ib=" + cx(e.ib) + "A#Ic=" + cx(e.ic) + "A#Io=" + F(e.iNeutral) + "A";
  }
  if (g.Has(kGroupWorkingCurrents)) text += "#Iр=" + cx(e.iDesign) + "A";
  return text;
}

std::string Powers(const ElementRec& e, LabelGroups g) {
  const bool perPhase = g.Has(kGroupPhaseCurrents);
  std::string text;
  if (g.Has(kGroupPowerFlows)) {
    text += perPhase ? "#Sa=" + T(e.sa) + "#Sb=" + T(e.sb) + "#Sc=" + T(e.sc)
                     : "#S=" + T(e.sa + e.sb + e.sc);
  }
  if (g.Has(kGroupPowerLosses)) {
    if (perPhase) {
      text += "#dSa=" + T(e.dSa) + "#dSb=" + T(e.dSb) + "#dSc=" + T(e.dSc) + "#dPo=" + F(e.dPo);
    } else {
      text += "#dS=" + T(e.dSa + e.dSb + e.dSc + Complex{e.dPo, 0.0f});
    }
  }
  return text;
}

std::string StartingAndLoad(const ElementRec& e, const BranchValueOptions& o) {
  std::string text;
  if (o.groups.Has(kGroupStartingCurrents)) {
    const std::string current = ComplexDisplay(e.iStart, o.complexForm);
    if (current != "0" && e.tStart > 0) text += "#Iп=" + current + "A" + F(e.tStart) + "c";
  }
  if (o.groups.Has(kGroupLoadFactors) && e.loadFactor > 0) text += "#Кз=" + F(e.loadFactor);
  return text;
}

std::string MinimumFaults(const ElementRec& e, const BranchValueOptions& o, bool timed) {
  if (!IsProtectionKind(o.kind)) return {};
  std::string text;
  if (o.groups.Has(kGroupMinimumFaults)) {
    text += "#Iкм1=" + F(e.ikMin[0]) + "#Iкм2=" + F(e.ikMin[1]) + "#Iкм3=" + F(e.ikMin[2]);
  }
  if (o.groups.Has(kGroupMinimumFaultTimes) && timed) {
    text += "#tкм1=" + F(e.tkMin[0]) + "c#tкм2=" + F(e.tkMin[1]) + "c#tкм3=" + F(e.tkMin[2]) + "с";
  }
  return text;
}

// Elements other than cable lines: one value at the element.
std::string FaultsAtElement(const ElementRec& e, LabelGroups g, bool timed) {
  std::string text;
  if (g.Has(kGroupMaximumFaults)) text += "#I\"=" + F(e.ikMax) + "кА";
  if (!timed) return text;
  if (g.Has(kGroupProtectionTimes)) text += "#tо=" + F(e.tProtect[0]) + "с";
  if (g.Has(kGroupJouleIntegrals)) text += "#Bt=" + F(e.joule[0]);
  if (g.Has(kGroupOneSecondCurrents)) text += "#Iэt=" + F(OneSecondCurrent(e.joule[0])) + "кА";
  return text;
}

// Cable lines: values at the start (Н), at the middle point P and at the end
// (К); tProtect, tempProtect and joule hold them as озН, озК, рз, рзК.
std::string FaultsAlongCable(const ElementRec& e, const BranchValueOptions& o, bool timed) {
  const LabelGroups g = o.groups;
  const std::string p = F(o.cablePointM) + "=";
  std::string text;
  if (g.Has(kGroupMaximumFaults)) {
    text += "#I\"Н=" + F(e.ikMaxAlong[0]) + "кА#I\"" + p + F(e.ikMaxAlong[1]) +
            "кА#I\"К=" + F(e.ikMaxAlong[2]) + "кА#Iоткл=" + F(e.iBreak) + "кА";
  }
  if (!timed) return text;
  const auto& t = e.tProtect;
  const auto& heat = e.tempProtect;
  const auto& bt = e.joule;
  if (g.Has(kGroupProtectionTimes)) {
    text += "#toзН=" + F(t[0]) + "с#tрз" + p + F(t[2]) + "с#tозК=" + F(t[1]) + "с#tрзК=" + F(t[3]) +
            "с";
  }
  if (g.Has(kGroupConductorTemperatures)) {
    text += "#T°р=" + F(e.tempWork) + "°#T°озН=" + F(heat[0]) + "°#T°рз" + p + F(heat[2]) +
            "°#T°oзК=" + F(heat[1]) + "°#T°рзК=" + F(heat[3]) + "°";
  }
  if (g.Has(kGroupJouleIntegrals)) {
    text +=
        "#BtозН=" + F(bt[0]) + "#Btрз" + p + F(bt[2]) + "#BtoзК=" + F(bt[1]) + "#BtрзК=" + F(bt[3]);
  }
  if (g.Has(kGroupOneSecondCurrents)) {
    text += "#IэозН=" + F(OneSecondCurrent(bt[0])) + "кА#Iэрз" + p + F(OneSecondCurrent(bt[2])) +
            "кА#IэoзК=" + F(OneSecondCurrent(bt[1])) + "кА#IэрзК=" + F(OneSecondCurrent(bt[3])) +
            "кА";
  }
  return text;
}

std::string Impedances(const ElementRec& e) {
  if (IsZero(e.z1)) return {};
  std::string text;
  const std::string z1 = T(e.z1);
  if (z1 != "0") text += "#Z1=" + z1 + "мОм";
  // A zero-sequence impedance a thousand times that of Z1 is an open path.
  const std::string z0 = T(e.z0);
  const long double z0Abs = Abs(e.z0);
  if (z0 != "0" && z0Abs > 0 && Abs(e.z1) / z0Abs > 0.001L) text += "#Z0=" + z0 + "мОм";
  if (e.kt != 1 && e.kt > 0) text += "#Kт=" + F(e.kt);
  return text;
}

// Where the short-circuit current comes from: asynchronous and synchronous
// motors (initial / rated current), the system's busbar currents, Iкd and
// the time constant of the aperiodic component.
std::string FaultMakeUp(const ElementRec& e) {
  std::string text;
  if (e.asyncRated > 0) text += "#Iaм=" + F(e.asyncInitial) + "/" + F(e.asyncRated);
  if (e.syncRated > 0) text += "#Isм=" + F(e.syncInitial) + "/" + F(e.syncRated);
  text += "#Iк1с=" + F(e.ik1Source);
  const long double sourceZ = Abs(e.sourceZ);
  if (sourceZ > 0) text += "#Iк3с=" + F(static_cast<double>(e.emf / sourceZ));
  const std::string ikd = F(e.ikdSource);
  if (ikd != "0") text += "#Iкd=" + ikd;
  if (e.rSum > 0) text += "#Ta=" + F(static_cast<double>(e.xSum / kOmega / e.rSum)) + "c";
  return text;
}

std::string MachinesAndChecks(const ElementRec& e, LabelGroups g) {
  std::string text;
  if (g.Has(kGroupMotorEmf) && IsMachineKind(e.kind)) {
    text += "#E\"=" + F(static_cast<double>(Abs(e.emfMotor))) + "В";
  }
  if (g.Has(kGroupSelfStart)) text += "#Iсз=" + F(static_cast<double>(Abs(e.iSelfStart)));
  if (g.Has(kGroupViolations)) text += ViolationText(e.violations);
  return text;
}

}  // namespace

std::string ComplexDisplay(const Complex& z, int complexForm) {
  switch (complexForm) {
    case 1:
      return ComplexToText(z);
    case 2:
      return ComplexToPolarText(z);
    default:
      return F(static_cast<double>(Abs(z)));
  }
}

std::string NodeValueText(const ElementRec& e, LabelGroups g, int complexForm) {
  if (!(e.unom > 0)) return {};
  const auto cx = [&](const Complex& z) { return ComplexDisplay(z, complexForm); };
  // Uф: the phase value of Unom where the feeding element carries one phase.
  const double uf = ReferenceVoltage(e);
  std::string text;
  if (Computed(e.uWork)) {
    if (g.Has(kGroupWorkingVoltages)) text += "#Uр=" + F(e.uWork);
    if (g.Has(kGroupWorkingDeviations)) text += "#dUр=" + Deviation(e.uWork, uf) + F(uf);
  }
  if (Computed(e.uStart)) {
    if (g.Has(kGroupStartingVoltages)) text += "#Uп=" + F(e.uStart);
    if (g.Has(kGroupStartingDeviations)) text += "#dUп=" + Deviation(e.uStart, uf);
  }
  if (g.Has(kGroupPhaseVoltages)) {
    text += "#Ua=" + cx(e.uaEnd) + "#Ub=" + cx(e.ubEnd) + "#Uc=" + cx(e.ucEnd);
  }
  if (g.Has(kGroupLineVoltages)) {
    text += "#Uab=" + F(e.uLine[0]) + "#Ubc=" + F(e.uLine[1]) + "#Uca=" + F(e.uLine[2]);
  }
  if (g.Has(kGroupSequenceVoltages)) {
    const SequenceValues s = PhaseToSequence({e.uaEnd, e.ubEnd, e.ucEnd});
    text += "#U1=" + cx(s.positive) + "#U2=" + cx(s.negative) + "#U0=" + cx(s.zero) +
            "#k2=" + F(static_cast<double>(Abs(s.negative) / uf * 100)) + "%" +
            "#k0=" + F(static_cast<double>(Abs(s.zero) / uf * 100)) + "%";
  }
  if (g.Has(kGroupSelfStart)) text += "#Uсз=" + F(e.uDuringSelfStart);
  return text;
}

std::string BranchValueText(const ElementRec& e, const BranchValueOptions& o) {
  const LabelGroups g = o.groups;
  // Times, heating and Joule integrals exist only where a backup protection
  // was found upstream.
  const bool timed = e.backupProtection != nullptr;
  std::string text =
      Currents(e, o) + Powers(e, g) + StartingAndLoad(e, o) + MinimumFaults(e, o, timed);
  if (g.Has(kGroupPeakCurrents)) text += "#iуд=" + F(e.iPeak);
  text += o.kind == kKindCableLine ? FaultsAlongCable(e, o, timed) : FaultsAtElement(e, g, timed);
  if (g.Has(kGroupImpedances)) text += Impedances(e);
  if (g.Has(kGroupFaultMakeUp)) text += FaultMakeUp(e);
  return text + MachinesAndChecks(e, g);
}

}  // namespace kordavelt
