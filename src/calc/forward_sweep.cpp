// The forward sweep: from the source branch down the tree, every element
// gets its end voltages (sequence drops, transformation ratios), the source
// EMF, Z1 and loop impedance seen from its start, and then its per-element
// results with the voltages during starting and self-start.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/constants.h"
#include "calc/backward_walk.h"
#include "calc/calc_class.h"
#include "calc/design_loads.h"
#include "calc/load_flow.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "storage/tb_class.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

// Self-start methods that compute Iсз from the self-start impedances.
constexpr int kSelfStartReducedStart = 2;  // "K*Iпуск"
constexpr int kSelfStartTimedStart = 3;    // "K(t)*Iпуск"

// Items of "(R0-R1)/3#R1#2 R1", the neutral resistance for the neutral loss.
constexpr int kNeutralFromSequences = 0;
constexpr int kNeutralR1 = 1;
constexpr int kNeutralTwoR1 = 2;

// Phase currents below this count as none, A.
constexpr long double kPhaseCurrentThreshold = 1e-4L;
// Single-phase busbar currents below this are shown as 0, kA.
constexpr long double kSmallestBusbarCurrent = 0.001L;
// Without an earthed neutral below a transformer the loop is practically open.
constexpr long double kOpenLoopFactor = 2000;

// The state at the end of the last element of a level: what the next element
// of the section starts from.
struct LevelState {
  PhaseValues u;        // phase voltages
  Complex z1;           // accumulated Z1 from the source
  Complex zLoop;        // accumulated single-phase loop impedance
  long double emf = 0;  // source phase EMF referred to this level
};

bool MotorOrGenerator(int kind) {
  return kind == 41 || kind == 42 || kind == kKindGenerator || kind == 54 || kind == 55;
}

PhaseValues Balanced(const Complex& ua) { return {ua, kOperatorA2 * ua, kOperatorA * ua}; }

float BusbarSingleFault(long double emf, const Complex& zLoop) {
  const long double z = Abs(zLoop);
  if (!(z > 0)) return 0;
  const long double ik = 3 * emf / z;
  return ik < kSmallestBusbarCurrent ? 0.0f : static_cast<float>(ik);
}

// The voltage left at the element's end while the extra current of a start
// (`current` in place of the working current) flows over Z1acc, the impedance
// from the source through the element. Of the kind of Uр, so that a start
// that draws no more than the working current leaves Uр: at an element
// carrying one phase, the lowest phase voltage with the extra current in its
// own phase; elsewhere the line value √3 · |Ua − 0.001 · (I − Ia) · Z1acc|.
float VoltageDuring(const ElementRec& e, const Complex& current) {
  const Complex z1acc{e.rSum, e.xSum};
  const Complex voltages[3] = {e.uaEnd, e.ubEnd, e.ucEnd};
  const Complex currents[3] = {e.ia, e.ib, e.ic};
  if (!CarriesOnePhase(e)) {
    return static_cast<float>(kSqrt3 * Abs(voltages[0] - (current - currents[0]) * z1acc * 0.001L));
  }
  long double lowest = kNotComputed;
  for (int p = 0; p < 3; ++p) {
    const bool carried = (e.phaseSet & (1 << p)) != 0;
    const Complex extra = carried ? current - currents[p] : kComplexZero;
    lowest = std::min(lowest, Abs(voltages[p] - extra * z1acc * 0.001L));
  }
  return static_cast<float>(lowest);
}

void SetEnd(ElementRec& e, const PhaseValues& u) {
  e.uaEnd = u.a;
  e.ubEnd = u.b;
  e.ucEnd = u.c;
}

// The source branch: busbar voltages from the working voltage Uр, the source
// impedances and the busbar short-circuit currents at maximum EMF.
bool SetUpSource(CalcClass& calc, LevelState& state) {
  modelClass& model = calc.Model();
  ElementRec& e = calc.Element(1);
  float ur = 0;
  if (tbClass* objects = model.OpenObjectTable(kKindPowerSource);
      modelClass::SeekExact(objects, BranchKeyOf(e))) {
    ur = SourceObjectRec(objects->Record()).Ur();
  }
  if (!(ur > 0)) {
    std::string name;
    if (modelClass::SeekExact(model.Sources(), calc.TracedSource())) {
      name = SourceRec(model.Sources()->Record()).Marking();
    }
    model.Ui().ShowError(CalcClass::kCaptionNetwork, "Не задано напряжение источника#" + name);
    return false;
  }
  const long double emf = e.unom * model.Settings().MaxEmf() / kSqrt3;
  const Complex zLoop = 2 * e.z1 + e.z0;
  e.emf = static_cast<float>(emf);
  e.sourceZ = e.z1;
  e.sourceE = {static_cast<float>(emf), 0.0f};
  e.ik1Source = BusbarSingleFault(emf, zLoop);
  const long double z1 = Abs(e.z1);
  e.ik3Source = z1 > 0 ? static_cast<float>(emf / z1) : 0.0f;
  e.emfStart = e.sourceE;
  e.z1Start = e.z1;
  e.zLoopStart = zLoop;
  e.ik1Busbar = e.ik1Source;
  e.rSum = e.z1.re;
  e.xSum = e.z1.im;

  const PhaseValues u = Balanced({static_cast<float>(ur * kInvSqrt3), 0.0f});
  SetEnd(e, u);
  e.dUMax = 0;
  state = {u, e.z1, zLoop, emf};
  return true;
}

// One element below the source: its drops and end voltages from the state at
// its start; the state at its end is returned.
LevelState PassElement(const ModelSettings& settings, ElementRec& e, const LevelState& start) {
  const SequenceValues i = PhaseToSequence({e.ia, e.ib, e.ic});
  const PhaseValues drop = SequenceToPhase(
      {i.zero * e.z0 * 0.001L, i.negative * e.z1 * 0.001L, i.positive * e.z1 * 0.001L});
  const long double kt = e.kt > 0 ? e.kt : 1;

  PhaseValues from{start.u.a * kt, start.u.b * kt, start.u.c * kt};
  if (MotorOrGenerator(e.kind) && settings.EmfFromUnom()) {
    from = Balanced({static_cast<float>(e.unom * kInvSqrt3), 0.0f});
  }
  const PhaseValues end{from.a - drop.a, from.b - drop.b, from.c - drop.c};
  SetEnd(e, end);
  if (MotorOrGenerator(e.kind)) e.emfMotor = end.a;

  // Measured against the start voltage referred through the element, so
  // that a transformer's own ratio does not count as a drop.
  e.dUMax = static_cast<float>(
      std::max({Abs(from.a) - Abs(end.a), Abs(from.b) - Abs(end.b), Abs(from.c) - Abs(end.c)}));

  e.emfStart = {static_cast<float>(start.emf), 0.0f};
  e.emf = static_cast<float>(start.emf);
  e.z1Start = start.z1;
  e.zLoopStart = start.zLoop;
  e.ik1Busbar = BusbarSingleFault(start.emf, start.zLoop);

  LevelState next{end, start.z1, start.zLoop, start.emf};
  if (e.kt != 0 && e.kt != 1) {
    const long double kt2 = static_cast<long double>(e.kt) * e.kt;
    next.z1 = start.z1 * kt2;
    next.emf = start.emf * e.kt;
    // Beyond a delta or an unearthed winding the zero-sequence path of the
    // source side does not continue.
    if (e.phaseShift > 0) {
      next.zLoop = start.z1 * (2 * kt2);
    } else if (e.phaseShift < 0) {
      next.zLoop = start.z1 * (2 * kOpenLoopFactor * kt2);
    } else {
      next.zLoop = start.zLoop * kt2;
    }
  }
  const Complex z1Before = next.z1;
  next.z1 += e.z1;
  next.zLoop += 2 * e.z1 + e.z0;
  e.rSum = next.z1.re;
  e.xSum = next.z1.im;

  const int selfStart = settings.SelfStartMethod();
  if ((selfStart == kSelfStartReducedStart || selfStart == kSelfStartTimedStart) &&
      !IsZero(e.zSelfStart)) {
    const Complex drive{static_cast<float>(next.emf * settings.StartCurrentReduction() * 1000),
                        0.0f};
    e.iSelfStart = Divide(drive, z1Before + e.zSelfStart);
  }
  return next;
}

// Magnitudes, phase set, neutral current, losses, power flows and the lowest
// voltages of one element.
void ElementResults(const ModelSettings& settings, ElementRec& e) {
  const Complex currents[3] = {e.ia, e.ib, e.ic};
  const Complex voltages[3] = {e.uaEnd, e.ubEnd, e.ucEnd};
  std::uint8_t phases = 0;
  for (int p = 0; p < 3; ++p) {
    if (Abs(currents[p]) > kPhaseCurrentThreshold) phases |= static_cast<std::uint8_t>(1 << p);
  }
  if (phases == 0) phases = kPhaseA | kPhaseB | kPhaseC;

  const long double design = Abs(e.iDesign);
  // Multi-variant runs keep the worst working and starting currents.
  e.checkCurrent = std::max(e.checkCurrent, static_cast<float>(design));
  e.checkCompanion = std::max(e.checkCompanion, static_cast<float>(Abs(e.iStart)));

  const long double io = Abs(e.ia + e.ib + e.ic);
  e.iNeutral = static_cast<float>(io);
  if (io > 0.01L * e.checkCurrent) phases |= kNeutralLoaded;
  e.phaseSet = phases;

  Complex* losses[3] = {&e.dSa, &e.dSb, &e.dSc};
  Complex* flows[3] = {&e.sa, &e.sb, &e.sc};
  for (int p = 0; p < 3; ++p) {
    *losses[p] = e.z1 * (Abs2(currents[p]) * 1e-6L);
    *flows[p] = voltages[p] * Conjugate(currents[p]) * 0.001L + *losses[p];
  }

  long double neutralR = 0;
  switch (settings.NeutralResistanceMethod()) {
    case kNeutralFromSequences:
      // R0 = R1 + 3·Rн of a four-wire line; never a negative loss.
      neutralR = std::max<long double>(0, (static_cast<long double>(e.z0.re) - e.z1.re) / 3);
      break;
    case kNeutralR1:
      neutralR = e.z1.re;
      break;
    case kNeutralTwoR1:
      neutralR = 2 * static_cast<long double>(e.z1.re);
      break;
    default:
      break;
  }
  e.dPo = static_cast<float>(io * io * neutralR * 1e-6L);

  for (int p = 0; p < 3; ++p) {
    e.uPhase[p] = static_cast<float>(Abs(voltages[p]));
    e.uLine[p] = static_cast<float>(Abs(voltages[p] - voltages[(p + 1) % 3]));
  }
  const auto& working = CarriesOnePhase(e) ? e.uPhase : e.uLine;
  const float lowest = *std::min_element(working.begin(), working.end());
  e.uWork = std::min(e.uWork, lowest);
  e.uDuringStart = VoltageDuring(e, e.iStart);
  e.uDuringSelfStart = VoltageDuring(e, e.iSelfStart);
  e.uStart = std::min(e.uStart, e.uDuringStart);
  e.loadFactor = e.iPermissible != 0 ? e.checkCurrent / e.iPermissible : 0.0f;
}

}  // namespace

bool ForwardSweep(CalcClass& calc) {
  if (calc.Count() < 1) return true;
  const ModelSettings& settings = calc.Model().Settings();
  std::vector<LevelState> levels(kSweepLevels);
  LevelState source;
  if (!SetUpSource(calc, source)) return false;
  ElementRec* before = &calc.Element(1);
  levels[std::clamp<int>(before->level, 1, kSweepLevels - 1)] = source;
  // An element's results read only its own values, so each element is
  // finished while it is at hand.
  ElementResults(settings, *before);

  for (int i = 2; i <= calc.Count(); ++i) {
    ElementRec& e = calc.Element(i);
    const int level = SweepLevel(e);
    // The first element of a section starts at the node its parent ends at.
    if (level > 1 && (before->level != e.level || before->endOfSection != 0)) {
      levels[level] = levels[level - 1];
    }
    levels[level] = PassElement(settings, e, levels[level]);
    ElementResults(settings, e);
    before = &e;
  }
  return true;
}

}  // namespace kordavelt
