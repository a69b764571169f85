#include "calc/prepare_terminals.h"

#include <algorithm>
#include <cmath>

#include "base/constants.h"
#include "base/number_list.h"
#include "calc/prepare_context.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

// Kinds of the receiver groups: " - #АД#СД#АД2#ЭД#Освещение#Нагреватель#Сварка".
constexpr int kGroupAsyncMotor = 1;
constexpr int kGroupSyncMotor = 2;
constexpr int kGroupElectricDrive = 4;

// Kinds the calculation gives its terminal elements.
constexpr int kKindSyncMotorLoad = 41;
constexpr int kKindAsyncMotorLoad = 42;
constexpr int kKindDriveLoad = 46;
constexpr int kKindAsyncEquivalent = 54;
constexpr int kKindSyncEquivalent = 55;

// Load methods above "Кз и Ко" take motors at full current.
constexpr int kLoadMethodKzKo = 1;

// Design power of sockets by their number (P × 0.1 kW).
constexpr const char* kSocketCounts = "1#10#20#50#100#200#400#650#1000";
constexpr const char* kSocketPowers = "8#10#18#40#70#96#120#156#210";

// Capacitor bank current factors by connection.
constexpr long double kStarFactor = 0.192449980755L;

// Per-unit sub-transient impedances of the equivalent motors.
constexpr Complex kAsyncEquivalentZ{0.07f, 0.18f};
constexpr Complex kSyncEquivalentZ{0.03f, 0.16f};

void SetPhases(ElementRec& e, const PhaseValues& phases) {
  e.ia = phases.a;
  e.ib = phases.b;
  e.ic = phases.c;
}

PhaseValues Balanced(const Complex& ia) { return {ia, kOperatorA2 * ia, kOperatorA * ia}; }

// The phase current of largest magnitude.
Complex LargestPhase(const ElementRec& e) {
  Complex largest = e.ia;
  if (Abs2(e.ib) > Abs2(largest)) largest = e.ib;
  if (Abs2(e.ic) > Abs2(largest)) largest = e.ic;
  return largest;
}

// A starting current of magnitude `current` at power factor cos φ.
Complex StartingCurrent(long double current, long double cosPhi) {
  cosPhi = std::clamp<long double>(cosPhi, 0, 1);
  return {static_cast<float>(current * cosPhi),
          static_cast<float>(-current * std::sqrt(1 - cosPhi * cosPhi))};
}

// Iп from the starting current, or the largest phase current when that is larger.
void SetStart(ElementRec& e, const Complex& starting) {
  const Complex largest = LargestPhase(e);
  e.iStart = Abs2(largest) > Abs2(starting) ? largest : starting;
}

// Per-unit impedance (r, x) on the base U² / |S|, mΩ (U in V, S in kVA).
Complex OnBase(long double r, long double x, long double volts, long double kva) {
  if (!(kva > 0)) return kComplexZero;
  const long double base = volts * volts / kva;
  return {static_cast<float>(r * base), static_cast<float>(x * base)};
}

// A three-phase current of P and Q at line voltage U: (P, −Q) / U / √3 · 1000.
Complex ThreePhaseCurrent(long double p, long double q, long double volts) {
  if (!(volts > 0)) return kComplexZero;
  const long double k = 1000 / (volts * kSqrt3);
  return {static_cast<float>(p * k), static_cast<float>(-q * k)};
}

// The reactive part that goes with an active current at the ratio Q / P.
Complex AtPowerRatio(long double active, long double p, long double q) {
  return {static_cast<float>(active), static_cast<float>(p != 0 ? -active * q / p : 0)};
}

}  // namespace

bool IsThreePhaseConnection(int connection) {
  return connection == kConnectionABC0 || connection == kConnectionABC || connection < 0 ||
         connection > kConnectionCA;
}

PhaseValues ConnectionCurrents(int connection, const Complex& current) {
  switch (connection) {
    case kConnectionA0:
      return {current, kComplexZero, kComplexZero};
    // A single-phase load draws its current at its own phase voltage's angle:
    // B lags A by 120°, C by 240° (left unrotated, a unity-power-factor load
    // on B would seem to draw at A's angle and the neutral current be wrong).
    case kConnectionB0:
      return {kComplexZero, kOperatorA2 * current, kComplexZero};
    case kConnectionC0:
      return {kComplexZero, kComplexZero, kOperatorA * current};
    case kConnectionAB:
      return {current * UnitAt(30), -(current * UnitAt(30)), kComplexZero};
    case kConnectionBC:
      return {kComplexZero, current * UnitAt(-90), current * UnitAt(90)};
    case kConnectionCA:
      return {current * UnitAt(-30), kComplexZero, current * UnitAt(150)};
    default:
      return Balanced(current);
  }
}

namespace {

// A single-phase load starts on its own phase as it works there: the
// starting current at that phase voltage's angle, so that the voltage during
// starting lowers the phase it flows in.
Complex OnItsPhase(int connection, const Complex& current) {
  const PhaseValues on = ConnectionCurrents(connection, current);
  if (connection == kConnectionB0) return on.b;
  return connection == kConnectionC0 ? on.c : on.a;
}

}  // namespace

void ClearTerminal(ElementRec& e) {
  ClearElementParameters(e);
  e.ia = e.ib = e.ic = kComplexZero;
  e.iStart = kComplexZero;
  e.iSelfStart = kComplexZero;
  e.tStart = 0;
}

void PrepareReceiver(PrepareContext& ctx, ElementRec& e, bool switchedOn) {
  if (!switchedOn) return;
  const Bytes object = ctx.Object(kKindReceiver, BranchKeyOf(e));
  if (object.empty()) return;
  const std::int32_t receiverKey = ReceiverObjectRec(object).ReceiverKey();
  modelClass& model = ctx.Model();
  tbClass* receivers = model.Receivers();
  tbClass* groups = model.Groups();
  if (receiverKey <= 0 || !StandOn(receivers, receiverKey)) return;
  const int connection = ReceiverRec(receivers->Record()).PhaseIndex();
  if (!StandOn(groups, GroupOfKey(receiverKey))) return;
  const GroupRec group(groups->Record());

  const long double p = group.P();
  const long double q = group.Q();
  const long double s = std::hypot(p, q);
  const long double kz = group.Kz();
  const int groupKind = group.Class();
  const bool motor = groupKind == kGroupAsyncMotor || groupKind == kGroupSyncMotor;
  const bool threePhase = motor || IsThreePhaseConnection(connection);
  // A group without a voltage works at the network's: line voltage for
  // three-phase and two-phase loads, phase voltage for single-phase ones.
  long double u = group.Unom();
  if (!(u > 0)) u = threePhase || connection >= kConnectionAB ? e.unom : e.unom * kInvSqrt3;

  if (motor) {
    const bool async = groupKind == kGroupAsyncMotor;
    e.kind = static_cast<std::uint8_t>(async ? kKindAsyncMotorLoad : kKindSyncMotorLoad);
    const Bytes typeBytes = ctx.CachedBookType(
        async ? book::kAsyncMotorTable : book::kSynchronousMachineTable, group.KeyType());
    const bool typeFound = !typeBytes.empty();
    // The current falls with the load less than the load does: k is the
    // motor's efficiency, %; without a type the current follows Кз.
    const long double efficiency = book::MachineRec(typeBytes).Efficiency();
    const long double k = typeFound ? efficiency : 100;
    const long double share =
        ctx.Settings().LoadMethod() > kLoadMethodKzKo ? 1 : 1 - (1 - kz) * k / 100;
    SetPhases(e, Balanced(ThreePhaseCurrent(p, q, u) * share));
    if (typeFound) {
      if (async) {
        const book::AsyncMotorRec type(typeBytes);
        e.z1 = OnBase(0.96L * type.Rs() + type.Rr(), type.Xd2(), u, s);
      } else {
        const book::SynchronousMachineRec type(typeBytes);
        e.z1 = OnBase(type.Rd(), type.Xd2(), u, s);
      }
    }
    if (group.SelfStart() == 1 && ctx.Settings().SelfStartMethod() > 0 && u > 0) {
      const long double eta = efficiency > 0 ? efficiency : 100;
      const long double selfStart =
          p / u / eta / kSqrt3 * 1e5L * ctx.Settings().RatedCurrentMultiple();
      e.iSelfStart = AtPowerRatio(selfStart, p, q);
    }
  } else {
    Complex current = kComplexZero;
    if (u > 0) {
      current = Complex{static_cast<float>(p), static_cast<float>(-q)} * (1000 * kz / u);
      if (threePhase) current = current * kInvSqrt3;
    }
    SetPhases(e, ConnectionCurrents(connection, current));
    if (groupKind == kGroupElectricDrive) e.kind = static_cast<std::uint8_t>(kKindDriveLoad);
  }

  if (u > 0) e.iPermissible = static_cast<float>(s / u * 1000 / (threePhase ? kSqrt3 : 1));
  e.tStart = group.Tstart();
  Complex starting = StartingCurrent(group.Istart(), group.CosFstart());
  if (connection >= kConnectionA0 && connection <= kConnectionC0 && !threePhase) {
    starting = OnItsPhase(connection, starting);
  }
  SetStart(e, starting);
}

void PrepareGenerator(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindGenerator, BranchKeyOf(e));
  if (object.empty()) return;
  const kordavelt::GeneratorRec generator(object);
  // Generation is a negative load.
  SetPhases(e, Balanced(ThreePhaseCurrent(-generator.Pg(), -generator.Qg(), e.unom)));
  e.iStart = e.ia;
  const Bytes typeBytes = ctx.CachedBookType(book::kGeneratorTable, generator.Type());
  if (typeBytes.empty()) return;
  const book::GeneratorRec type(typeBytes);
  const long double pnom = type.Pnom();
  const long double cosPhi = type.CosF();
  const long double unom = type.Unom() > 0 ? type.Unom() : e.unom;
  if (pnom > 0 && cosPhi > 0 && unom > 0) {
    e.iPermissible = static_cast<float>(pnom / cosPhi / unom / kSqrt3 * 1000);
    e.z1 = OnBase(type.Rd(), type.Xd2(), unom, pnom / cosPhi);
  }
}

void PrepareSockets(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindSockets, BranchKeyOf(e));
  if (object.empty()) return;
  const SocketsRec sockets(object);
  const std::int32_t perPhase[3] = {sockets.Na(), sockets.Nb(), sockets.Nc()};
  const long double phaseVolts = e.unom * kInvSqrt3;
  PhaseValues currents;
  for (int phase = 0; phase < 3; ++phase) {
    const long double n = static_cast<long double>(sockets.N3()) + perPhase[phase];
    Complex current = kComplexZero;
    if (n > 0 && phaseVolts > 0) {
      const long double kw = InterpolateInLists(kSocketCounts, kSocketPowers, n) * 0.1L;
      current = {static_cast<float>(kw * 1000 / phaseVolts), 0.0f};
    }
    if (phase == 0) currents.a = current;
    if (phase == 1) currents.b = kOperatorA2 * current;
    if (phase == 2) currents.c = kOperatorA * current;
  }
  SetPhases(e, currents);
  e.iStart = e.ia;
  e.iPermissible = static_cast<float>(Abs(LargestPhase(e)));
}

void PrepareCapacitorBank(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindCapacitorBank, BranchKeyOf(e));
  if (object.empty()) return;
  const kordavelt::CapacitorBankRec bank(object);
  const int connection = bank.PhaseIndex();
  const long double sections = bank.Nbk() != 0 ? bank.Nbk() : 1;
  const Bytes typeBytes = ctx.CachedBookType(book::kCapacitorBankTable, bank.Type());
  if (typeBytes.empty()) return;
  const book::CapacitorBankRec type(typeBytes);
  const long double u = type.Unom();
  const long double unom = e.unom;
  // The active part carries the bank's losses, the reactive part leads.
  const long double active = u > 0 ? unom / (u * u) * type.DP() * 1000 * sections : 0;
  const long double reactive = unom * kOmega * type.Cnom() * 1e-6L * sections;
  Complex current{static_cast<float>(active), static_cast<float>(reactive)};
  if (connection == kConnectionABC0) {
    current = current * kStarFactor;
  } else if (connection < kConnectionAB) {
    current = current * kInvSqrt3;
  }
  SetPhases(e, ConnectionCurrents(connection, current));
  e.iStart = LargestPhase(e);
  e.iPermissible = static_cast<float>(Abs(e.iStart));
}

void PrepareEquivalentMotor(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindEquivalentMotor, BranchKeyOf(e));
  if (object.empty()) return;
  EquivalentMotorRec motor(object);
  const long double unom = e.unom;
  // A voltage more than 30 % off the network's is taken as a slip of the pen.
  if (unom > 0 && std::fabs(motor.Unom() - unom) > 0.3L * unom) {
    motor.SetUnom(static_cast<float>(unom));
    ctx.SaveObject(kKindEquivalentMotor);
  }
  const long double p = motor.Pust();
  const long double q = motor.Q();
  const long double s = std::hypot(p, q);
  const long double u = motor.Unom();

  SetPhases(e, Balanced(ThreePhaseCurrent(p, q, unom)));
  if (u > 0) e.iPermissible = static_cast<float>(s / u / kSqrt3 * 1000);
  // The starting motor's running current gives way to its starting current.
  const Complex running = AtPowerRatio(ThreePhaseCurrent(motor.Pnom1(), 0, unom).re, p, q);
  e.iStart = e.ia - running + StartingCurrent(motor.Istart1(), motor.CosFstart());
  e.tStart = motor.Tstart();

  switch (motor.Kind()) {
    case 1: {
      e.kind = static_cast<std::uint8_t>(kKindAsyncEquivalent);
      e.z1 = OnBase(kAsyncEquivalentZ.re, kAsyncEquivalentZ.im, unom, s);
      if (ctx.Settings().SelfStartMethod() > 0 && unom > 0) {
        const long double magnitude =
            ctx.Settings().RatedCurrentMultiple() * p / unom / kSqrt3 * 1000;
        // Along Z1: the current lags the voltage by Z1's angle.
        const long double zAbs = Abs(kAsyncEquivalentZ);
        e.iSelfStart = Conjugate(kAsyncEquivalentZ) * (magnitude / zAbs);
      }
      break;
    }
    case 2:
      e.kind = static_cast<std::uint8_t>(kKindSyncEquivalent);
      e.z1 = e.z0 = OnBase(kSyncEquivalentZ.re, kSyncEquivalentZ.im, unom, s);
      break;
    default:
      break;
  }
}

}  // namespace kordavelt
