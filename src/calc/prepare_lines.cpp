#include "calc/prepare_lines.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "base/constants.h"
#include "calc/prepare_context.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

// Reactance per metre of two round conductors: 0.06297205 · ln(2a/d), mΩ/m.
constexpr long double kWireReactance = 0.06297205L;
// The same for an overhead line: 0.06253776 · ln(2000·Dсг/d) + 0.0157, mΩ/m.
constexpr long double kOverheadReactance = 0.06253776L;
constexpr long double kOverheadInternalReactance = 0.0157L;
// Resistance change per °C of wires and overhead conductors.
constexpr long double kWireTemperatureFactor = 0.004L;

// Adiabatic and temperature constants by conductor material (aluminium when set).
long double AdiabaticCoefficient(bool aluminium) { return aluminium ? 45.65L : 19.58L; }
long double TemperatureConstant(bool aluminium) { return aluminium ? 236.0L : 234.0L; }

// Non-adiabatic heating constants A and B of cables, by voltage class (up to
// 3000 V, above), conductor material (copper, aluminium) and insulation 0 … 5.
using InsulationRow = std::array<long double, 6>;
constexpr std::array<std::array<InsulationRow, 2>, 2> kNonAdiabaticA{{
    {{{0.29L, 0.41L, 0.38L, 0.41L, 0.45L, 0.29L}, {0.40L, 0.57L, 0.52L, 0.57L, 0.62L, 0.40L}}},
    {{{0.27L, 0.41L, 0.32L, 0.41L, 0.45L, 0.29L}, {0.37L, 0.57L, 0.44L, 0.57L, 0.62L, 0.40L}}},
}};
constexpr std::array<std::array<InsulationRow, 2>, 2> kNonAdiabaticB{{
    {{{0.06L, 0.12L, 0.10L, 0.12L, 0.14L, 0.06L}, {0.08L, 0.16L, 0.14L, 0.16L, 0.20L, 0.08L}}},
    {{{0.05L, 0.12L, 0.07L, 0.12L, 0.14L, 0.06L}, {0.07L, 0.16L, 0.10L, 0.16L, 0.20L, 0.08L}}},
}};

Complex PerMetre(float r, float x, long double divisor) {
  return {static_cast<float>(r / divisor), static_cast<float>(x / divisor)};
}

void AddResistance(Complex& z, long double r) { z.re = static_cast<float>(z.re + r); }

void CorrectResistance(Complex& z, long double factor) { z.re = static_cast<float>(z.re * factor); }

// The working conductor temperature by the setting: the ambient temperature,
// the temperature the working current gives, or the permissible one; 20 °C
// when the chosen rule has nothing to go on.
long double WorkingTemperature(int method, long double ambient, long double ratio, bool ratioKnown,
                               long double riseAtRated, long double permissible) {
  switch (method) {
    case kTemperatureAmbient:
      return ambient;
    case kTemperatureByWorkingCurrent:
      if (ratioKnown) return RoundToInteger(ratio * ratio * riseAtRated + ambient);
      return 20;
    case kTemperaturePermissible:
      if (permissible > 0) return RoundToInteger(permissible);
      return 20;
    default:
      return 20;
  }
}

// A wire type's diameter; 0 is replaced by the diameter of its cross-section
// and written back into the type, in the book and in the context's copy.
template <class WireRec>
long double WireDiameter(PrepareContext& ctx, int table, std::int32_t code, const WireRec& type) {
  long double d = type.Diameter();
  if (d != 0) return d;
  const long double section = type.CrossCectF();
  if (section <= 0) return 0;
  d = 2 * std::sqrt(section / kPi);
  sprClass* book = ctx.Book();
  if (book != nullptr && book->FindType(table, code)) {
    WireRec(book->CurrentRecord(table)).SetDiameter(static_cast<float>(d));
    book->BookTable(table)->MarkModifiedAndFlush();
    WireRec(type.Data()).SetDiameter(static_cast<float>(d));
  }
  return d;
}

}  // namespace

void PrepareAbstractBranch(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindAbstractBranch, BranchKeyOf(e));
  if (object.empty()) return;
  const AbstractBranchRec branch(object);
  e.z1 = {branch.R1(), branch.X1()};
  e.z0 = {branch.R0(), branch.X0()};
}

void PrepareCableLine(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindCableLine, BranchKeyOf(e));
  if (object.empty()) return;
  CableLineRec line(object);
  long double kp = line.Kpr();
  if (kp == 0) {
    kp = 1;
    line.SetKpr(1.0f);
    ctx.SaveObject(kKindCableLine);
  }
  const std::int32_t type2 = line.Type2();
  const int count2 = line.Nk2();
  const long double lengthM = line.L();
  const bool inAir = line.Codepr() == 0;  // "Откр"; trench and block are in ground
  const Bytes cableBytes = ctx.CachedBookType(book::kCableTable, line.Type());
  if (cableBytes.empty()) return;
  const book::CableRec cable(cableBytes);

  // Single-core cables go three to a set: the count is rounded up to whole sets.
  const bool singleCore = cable.CondCount() < 2;
  int count = std::max<int>(line.Nk(), 1);
  if (singleCore) {
    count = std::min((count + 2) / 3 * 3, 255);
    if (count != line.Nk()) {
      line.SetNk(static_cast<std::uint8_t>(count));
      ctx.SaveObject(kKindCableLine);
    }
  }
  // Conductors in parallel per phase.
  const long double parallel = singleCore ? count / 3.0L : count;
  const long double section = cable.CrossCectF();
  const long double totalSection = section * parallel;

  const Bytes brandBytes = ctx.CachedBookType(book::kCableBrandTable, cable.Type());
  const book::CableBrandRec brand(brandBytes);
  const bool aluminium = brand.CondMat() == 1;
  const long double permissibleTemp = brand.Tpermiss();

  e.classCode = cable.Unom() > 1000 ? kClassHighVoltageLine : kClassOrdinary;
  long double rk = sprClass::TerminalResistance(brand.Flags(), section) / parallel;
  e.tempConstant = static_cast<float>(TemperatureConstant(aluminium));
  if (totalSection > 0) {
    e.adiabaticConstant =
        static_cast<float>(AdiabaticCoefficient(aluminium) / (totalSection * totalSection));
    const int voltageClass = cable.Unom() > 3000 ? 1 : 0;
    const int insulation = std::clamp(brand.Insulation(), 0, 5);
    const long double a = kNonAdiabaticA[voltageClass][aluminium ? 1 : 0][insulation];
    e.nonAdiabaticA = static_cast<float>(a * a / totalSection);
    e.nonAdiabaticB = static_cast<float>(
        kNonAdiabaticB[voltageClass][aluminium ? 1 : 0][insulation] / totalSection);
  }

  // Permissible current corrected from the catalogue's reference ambient
  // (15 °C in ground, 25 °C in air) to the model's.
  const ModelSettings& settings = ctx.Settings();
  const long double ambient = inAir ? settings.AirTemperature() : settings.GroundTemperature();
  const long double referenceAmbient = inAir ? 25 : 15;
  const long double rated = (inAir ? cable.IpermissAir() : cable.IpermissEarch()) * kp * parallel;
  long double correction = 1;
  if (permissibleTemp > referenceAmbient) {
    correction = std::sqrt(std::max<long double>(permissibleTemp - ambient, 0) /
                           (permissibleTemp - referenceAmbient));
  }
  e.iPermissible = static_cast<float>(rated * correction);

  const bool ratioKnown = e.iPermissible > 0 && rated > 0;
  const long double temperature = WorkingTemperature(
      settings.ConductorTemperatureMethod(), ambient, ratioKnown ? RmsCurrent(e) / rated : 0,
      ratioKnown, permissibleTemp - referenceAmbient, permissibleTemp);
  e.tempWork = static_cast<float>(temperature);

  Complex z1m = PerMetre(cable.R1(), cable.X1(), parallel);
  Complex z0m = PerMetre(cable.R0(), cable.X0(), parallel);

  // A second cable type laid in parallel with the first.
  if (count2 > 0) {
    const Bytes secondBytes = ctx.CachedBookType(book::kCableTable, type2);
    if (!secondBytes.empty()) {
      const book::CableRec second(secondBytes);
      z1m = Parallel(z1m, PerMetre(second.R1(), second.X1(), count2));
      z0m = Parallel(z0m, PerMetre(second.R0(), second.X0(), count2));
      const Bytes secondBrandBytes = ctx.CachedBookType(book::kCableBrandTable, second.Type());
      const long double rk2 = sprClass::TerminalResistance(
          book::CableBrandRec(secondBrandBytes).Flags(), second.CrossCectF());
      const long double conductance = (rk2 > 0 ? count2 / rk2 : 0) + (rk > 0 ? 1 / rk : 0);
      rk = conductance > 0 ? 1 / conductance : 0;
    }
  }

  const long double beta = e.tempConstant;
  CorrectResistance(z1m, (beta + temperature) / (beta + 20));
  CorrectResistance(z0m, (beta + temperature) / (beta + 20));

  e.z1 = z1m * lengthM;
  e.z0 = z0m * lengthM;
  AddResistance(e.z1, 2 * rk);
  AddResistance(e.z0, 8 * rk);

  // Impedances to the fault points of the thermal and the non-ignition
  // checks, never beyond the line's end.
  e.zThermal = z1m * static_cast<long double>(settings.ThermalFaultPosition());
  AddResistance(e.zThermal, rk);
  if (e.zThermal.re > e.z1.re) e.zThermal = e.z1;
  const long double ignitionAt = e.unom > 1000 ? settings.IgnitionFaultPositionAbove1kV()
                                               : settings.IgnitionFaultPositionBelow1kV();
  e.zIgnition = z1m * ignitionAt;
  AddResistance(e.zIgnition, rk);
  if (e.zIgnition.re > e.z1.re) e.zIgnition = e.z1;
}

void PrepareWiring(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindWiring, BranchKeyOf(e));
  if (object.empty()) return;
  WiringRec wiring(object);
  const std::int32_t code = wiring.Type();
  const Bytes typeBytes = ctx.CachedBookType(book::kInsulatedWireTable, code);
  if (typeBytes.empty()) return;
  const book::InsulatedWireRec type(typeBytes);

  const long double d = WireDiameter(ctx, book::kInsulatedWireTable, code, type);
  long double spacing = wiring.WireSpacing();
  if (spacing < d) {
    spacing = d;
    wiring.SetWireSpacing(static_cast<float>(d));
    ctx.SaveObject(kKindWiring);
  }
  const long double n = std::max<int>(wiring.Ncond(), 1);
  const long double lengthM = wiring.L();
  const long double section = type.CrossCectF();
  const bool aluminium = type.CondMat() == 1;
  const long double permissibleTemp = type.Tpermiss();

  e.iPermissible = static_cast<float>(type.IpermissAir() * n);
  e.tempConstant = static_cast<float>(TemperatureConstant(aluminium));
  if (section > 0) {
    const long double total = section * n;
    e.adiabaticConstant = static_cast<float>(AdiabaticCoefficient(aluminium) / (total * total));
  }

  const ModelSettings& settings = ctx.Settings();
  const long double air = settings.AirTemperature();
  const bool ratioKnown = e.iPermissible > 0;
  const long double temperature = WorkingTemperature(
      settings.ConductorTemperatureMethod(), air, ratioKnown ? RmsCurrent(e) / e.iPermissible : 0,
      ratioKnown, permissibleTemp - 25, permissibleTemp);
  e.tempWork = static_cast<float>(temperature);

  const long double x = d > 0 ? kWireReactance * std::log(2 * spacing / d) : 0;
  e.z1 = Complex{type.R1(), static_cast<float>(x)} * (lengthM / n);
  CorrectResistance(e.z1, 1 + kWireTemperatureFactor * (temperature - 20));
  e.z0 = e.z1 * 2.0L;
  const long double rk = sprClass::TerminalResistance(type.Flags(), section) / n;
  AddResistance(e.z1, 2 * rk);
  AddResistance(e.z0, 8 * rk);
}

void PrepareOverheadLine(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindOverheadLine, BranchKeyOf(e));
  if (object.empty()) return;
  OverheadLineRec line(object);
  if (line.Dsg() == 0) {
    line.SetDsg(0.5f);
    ctx.SaveObject(kKindOverheadLine);
  }
  const long double dsg = line.Dsg();
  const long double lengthM = line.L();
  const long double earthingOhm = line.Rzaz();
  const int earthings = line.Nzaz();
  const int wires = line.WiresPerPhase();
  const long double n = wires == 0 || wires > 10 ? 1 : wires;
  const std::int32_t code = line.Type();
  const std::int32_t neutralCode = line.TypeN();

  const Bytes typeBytes = ctx.CachedBookType(book::kBareWireTable, code);
  if (typeBytes.empty()) return;
  const book::BareWireRec type(typeBytes);
  const long double d = WireDiameter(ctx, book::kBareWireTable, code, type);
  const long double r = type.R1();

  e.iPermissible = static_cast<float>(n * type.Ipermiss());
  const ModelSettings& settings = ctx.Settings();
  const long double air = settings.AirTemperature();
  const bool ratioKnown = e.iPermissible > 0;
  long double temperature = air;
  switch (settings.ConductorTemperatureMethod()) {
    case kTemperatureAmbient:
      break;
    case kTemperatureByWorkingCurrent:
      temperature =
          WorkingTemperature(kTemperatureByWorkingCurrent, air,
                             ratioKnown ? RmsCurrent(e) / e.iPermissible : 0, ratioKnown, 50, 0);
      break;
    case kTemperaturePermissible:
      temperature = 70;
      break;
    default:
      temperature = 20;
  }
  e.tempWork = static_cast<float>(temperature);

  long double xPerMetre = kOverheadInternalReactance;
  if (d > 0 && dsg > 0) xPerMetre += kOverheadReactance * std::log(2000 * dsg / d);
  e.z1 = {static_cast<float>(r * lengthM / n), static_cast<float>(xPerMetre * lengthM / n)};

  // The neutral path: the neutral wire (the phase wire when none is given)
  // in parallel with the earthings of the line.
  long double neutralR = r;
  if (neutralCode != 0) {
    const Bytes neutralBytes = ctx.CachedBookType(book::kBareWireTable, neutralCode);
    if (!neutralBytes.empty()) neutralR = book::BareWireRec(neutralBytes).R1();
  }
  Complex neutral{static_cast<float>(neutralR * lengthM / n), 0.0f};
  if (earthings > 0 && earthingOhm > 0) {
    neutral = Parallel(neutral, {static_cast<float>(earthingOhm * 1000 / earthings), 0.0f});
  }
  e.z0 = e.z1 + neutral * 3.0L;

  const long double factor = 1 + kWireTemperatureFactor * (temperature - 20);
  CorrectResistance(e.z1, factor);
  CorrectResistance(e.z0, factor);
  const long double rk = sprClass::TerminalResistance(type.Flags(), type.CrossCectF()) / n;
  AddResistance(e.z1, 2 * rk);
  AddResistance(e.z0, 8 * rk);
}

void PrepareCatalogueTrunking(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindTrunkingK, BranchKeyOf(e));
  if (object.empty()) return;
  const kordavelt::TrunkingRec trunking(object);
  const long double lengthM = trunking.L();
  const long double sections = trunking.N();
  auto typeBytes = ctx.BookType(book::kTrunkingTable, trunking.Type());
  if (typeBytes.empty()) return;
  // BookType left the table on the type: the joint resistance reads its Inom.
  const long double joint = ctx.Book()->BusbarJointResistance();
  const book::TrunkingRec type(typeBytes);
  e.iPermissible = type.Inom();
  if (type.Inom() > 1000) e.classCode = kClassSupply;
  e.z1 = Complex{type.R1(), type.X1()} * lengthM;
  e.z0 = Complex{type.R0(), type.X0()} * lengthM;
  AddResistance(e.z1, sections * joint);
  AddResistance(e.z0, 4 * sections * joint);
}

void PrepareBuiltTrunking(PrepareContext& ctx, ElementRec& e) {
  const Bytes object = ctx.Object(kKindTrunkingN, BranchKeyOf(e));
  if (object.empty()) return;
  const BusbarTrunkingRec trunking(object);
  const long double lengthM = trunking.L();
  const long double f = trunking.F();
  const long double air = ctx.Settings().AirTemperature();
  long double r = 0;
  if (f > 0) {
    r = trunking.Material() == 1 ? lengthM * 31 / f * (air + 236) / 256
                                 : lengthM * 18.4L / f * (air + 234) / 254;
  }
  long double x = 0;
  if (trunking.D() > 0 && trunking.G0() > 0) {
    x = kWireReactance * std::log(static_cast<long double>(trunking.D()) / trunking.G0()) * lengthM;
  }
  e.z1 = {static_cast<float>(r), static_cast<float>(x)};
  e.z0 = {static_cast<float>(4 * r), static_cast<float>(8 * x)};
}

}  // namespace kordavelt
