#include "refbook/engineering_defaults.h"

#include <algorithm>
#include <cmath>

#include "base/number_list.h"
#include "refbook/standard_series.h"

namespace kordavelt {
namespace {

// One case of the cable table: the lists cover 1 … 240 mm², one entry per
// standard section; larger sections read 0.
struct CableLists {
  std::string_view x1, r0, x0, earth, air;
};

constexpr std::string_view kCu4X1 =
    "0.12#0.115#0.11#0.105#0.1#0.095#0.09#0.089#0.086#0.086#0.073#0.072#0.07#0.07#0.069#0.068";
constexpr std::string_view kCu4Earth = "24#30#40#52#65#85#115#150#175#215#265#310#350#395#450#522";
constexpr std::string_view kCu4Air = "15#19#26#34#43#60#80#100#120#145#185#215#260#300#340#386";

constexpr CableLists kCopper3 = {
    "0.118#0.112#0.106#0.1#0.094#0.088#0.082#0.082#0.079#0.078#0.065#0.064#0.062#0.061#0.061#0.06",
    "9.7#8.3#6.3#5.5#4.07#2.66#1.86#1.38#1.14#0.96#0.83#0.75#0.71#0.67#0.65#0.62",
    "1.89#1.85#1.79#1.74#1.69#1.65#1.61#1.57#1.54#1.51#1.48#1.45#1.43#1.41#1.39#1.36",
    "25#32#43#56#70#95#120#160#190#235#285#340#390#435#490#570",
    "14#18#25#34#45#60#80#105#125#155#200#245#285#330#375#430"};

// The R0 list of this case was never completed at 240 mm²; 0.3 continues
// both its run of differences (0.09, 0.08 → about 0.07 below 0.37) and the
// ratio R0 / R1 of about 3.7 of the largest sections.
constexpr CableLists kCopper4 = {
    kCu4X1, "9.68#8.32#6.96#5.6#4.24#2.88#2.12#1.63#1.33#1.05#0.85#0.66#0.54#0.45#0.37#0.3",
    "2.7#2.41#2.12#1.83#1.49#1.34#1.14#0.91#0.74#0.58#0.42#0.35#0.31#0.28#0.27#0.25", kCu4Earth,
    kCu4Air};

constexpr CableLists kCopper4NearNeutral = {
    kCu4X1, "10.5#8.35#6.27#4.82#4.19#2.82#2.07#1.63#1.37#1.18#1.01#0.84#0.7#0.66#0.54#0.42",
    "4.3874#3.65#2.89#2.33#1.55#1.46#1.31#1.11#1.09#0.88#0.654#0.54#0.47#0.42#0.34#0.26", kCu4Earth,
    kCu4Air};

constexpr CableLists kCopper4SmallNeutral = {
    kCu4X1, "8.77#7.17#5.56#4.41#4.19#2.82#2.07#1.63#1.37#1.18#1.05#0.92#0.88#0.74#0.7#0.66",
    "3.1#2.72#2.3#1.98#1.55#1.46#1.31#1.11#1.09#0.88#0.851#0.69#0.68#0.55#0.53#0.52", kCu4Earth,
    kCu4Air};

constexpr std::string_view kAl3X1 =
    "0.109#0.103#0.096#0.092#0.087#0.082#0.078#0.062#0.061#0.06#0.059#0.057#0.057#0.056#0.056#"
    "0.055";
constexpr std::string_view kAl3Earth = "20#25#33#43#55#75#90#125#145#180#220#260#300#335#380#440";
constexpr std::string_view kAl3Air = "11#14#19#26#35#46#60#80#95#120#155#190#220#255#290#330";
constexpr std::string_view kAl4X1 =
    "0.113#0.108#0.103#0.098#0.094#0.088#0.084#0.072#0.068#0.066#0.065#0.064#0.064#0.063#0.0625#"
    "0.062";
constexpr std::string_view kAl4Earth = "18#23#31#34#50#65#90#115#135#165#200#240#270#305#345#386";
constexpr std::string_view kAl4Air = "11#14#19#26#33#45#60#75#95#110#140#165#200#230#260#297";

// Aluminium conductors without a metal sheath (none, PVC, polyethylene).
constexpr CableLists kAluminium3 = {
    kAl3X1, "20.24#17.36#14.48#11.7#8.51#5.94#4.5#3.64#3.3#2.869#2.649#2.505#2.42#2.36#1.809#1.617",
    "2.448#2.409#2.361#2.31#2.274#2.24#2.2#2.17#2.14#2.08#2.07#2.05#2.03#2#1.97#1.94", kAl3Earth,
    kAl3Air};
constexpr CableLists kAluminium4 = {
    kAl4X1, "20.4#17.5#14.6#11.71#8.71#5.9#4.39#3.42#2.97#2.449#2.039#1.665#1.54#1.276#1.126#0.967",
    "4.74#3.97#3.16#2.11#1.968#1.811#1.558#1.258#1.241#0.949#0.741#0.559#0.545#0.43#0.32#0.2",
    kAl4Earth, kAl4Air};

// Aluminium sheath.
constexpr CableLists kAlSheath3 = {
    kAl3X1, "26.98#20.21#14.05#10.95#7.69#5.04#3.52#2.63#2.07#1.64#1.31#1.06#0.92#0.78#0.66#0.553",
    "0.757#0.698#0.639#0.579#0.523#0.461#0.406#0.359#0.298#0.257#0.211#0.174#0.157#0.135#0.122#"
    "0.107",
    kAl3Earth, kAl3Air};
constexpr CableLists kAlSheath4 = {
    kAl4X1, "25.16#22.5#15.1#10.87#7.6#4.94#3.39#2.41#1.93#1.44#1.11#0.887#0.723#0.607#0.515#0.42",
    "0.816#0.732#0.647#0.57#0.463#0.401#0.336#0.256#0.232#0.179#0.145#0.124#0.103#0.082#0.061#"
    "0.04",
    kAl4Earth, kAl4Air};

// Lead or steel sheath.
constexpr CableLists kLeadSheath3 = {
    kAl3X1, "20.24#17.32#14.41#11.6#8.38#5.78#4.32#3.44#2.96#2.6#2.31#2.1#1.96#1.82#1.69#1.55",
    "1.36#1.32#1.28#1.24#1.2#1.16#1.12#1.07#1.01#0.963#0.884#0.793#0.742#0.671#0.606#0.535",
    kAl3Earth, kAl3Air};
constexpr CableLists kLeadSheath4Reduced = {
    kAl4X1, "25.2#19.5#14.1#11.52#8.28#5.63#4.09#3.08#2.63#2.1#1.71#1.39#1.27#1.05#0.989#0.787",
    "1.387#1.3#1.21#1.13#1.05#0.966#0.831#0.668#0.647#0.5#0.393#0.317#0.301#0.248#0.244#0.24",
    kAl4Earth, kAl4Air};

// The case of a cable, or nullptr when only R1 applies.
const CableLists* CableCase(bool aluminium, int sheath, int condCount, double crossF,
                            double crossN) {
  const bool reduced = crossN > 0 && crossN < crossF;
  if (!aluminium) {
    if (condCount == 3) return &kCopper3;
    if (condCount != 4) return nullptr;
    if (!reduced) return &kCopper4;
    return SectionIndex(crossF) - SectionIndex(crossN) < 3 ? &kCopper4NearNeutral
                                                           : &kCopper4SmallNeutral;
  }
  switch (sheath) {
    case 0:
    case 4:
    case 5:
      if (condCount == 3) return &kAluminium3;
      if (condCount == 4) return &kAluminium4;
      return nullptr;
    case 1:
      if (condCount == 3) return &kAlSheath3;
      if (condCount == 4) return &kAlSheath4;
      return nullptr;
    case 2:
    case 3:
      if (condCount == 3) return &kLeadSheath3;
      if (condCount == 4) return reduced ? &kLeadSheath4Reduced : &kAlSheath4;
      return nullptr;
    default:
      return nullptr;
  }
}

// Insulated wires: permissible currents by standard section.
constexpr std::string_view kWireCopperCurrents =
    "17#23#30#41#50#80#100#140#170#215#270#330#385#440#510#605";
constexpr std::string_view kWireAluminiumCurrents =
    "14#17#24#32#39#60#75#105#130#165#210#255#295#340#390#465";

// Bare wires.
constexpr std::string_view kBareCopperCurrents =
    "22#29#40#54#70#95#133#183#223#275#337#422#485#570#650#760#880#890#1050";
constexpr std::string_view kBareAluminiumCurrents =
    "17#23#31#42#55#76#105#136#170#215#265#320#375#440#500#590#680#700#815#980#1100";
constexpr std::string_view kBareStrandedCurrents =
    "19#25#34#45#59#84#111#142#175#210#265#330#390#450#520#605#710#730#830#960#1050#1180";
constexpr std::string_view kBareSteelCurrents = "5#7#23#30#35#42#50#60#75#90#125#135";

// Trunking from 250 A on, one entry per standard current.
constexpr std::string_view kTrunkingR1 =
    "0.21#0.18#0.15#0.13#0.1#0.075#0.055#0.034#0.03#0.015#0.02#0.01#0.013";
constexpr std::string_view kTrunkingX1 =
    "0.21#0.19#0.17#0.15#0.13#0.07#0.04#0.016#0.014#0.018#0.02#0.005#0.015";
constexpr std::string_view kTrunkingR0Part =
    "0.12#0.14#0.162#0.162#0.162#0.1#0.07#0.054#0.037#0.05#0.07#0.064#0.07";

// Breakers between 50 A and 4000 A.
constexpr std::string_view kBreakerCurrents = "50#70#100#140#200#400#600#1000#1600#2500#4000";
constexpr std::string_view kBreakerR = "7#3.5#2.15#1.3#1.1#0.65#0.41#0.25#0.14#0.13#0.1";
constexpr std::string_view kBreakerX = "4.5#2#1.2#0.7#0.5#0.17#0.13#0.1#0.08#0.07#0.05";

// R0 of a case at section index `a` for a cable of section F whose phase
// conductor has R1 = k / F. The zero-sequence loop is R1 plus three times
// its return (neutral, sheath, earth), so it is never below R1. At the
// smallest sections some lists fall below R1 (copper four-core 2.5 mm²: 6.96
// against 7.36); there the cable takes the return R0 − R1 of the first larger
// section whose list value lies above R1 (1.0 at 4 mm² in that list). Between
// standard sections R1 is the cable's own and the return that of the nearest.
double CableR0(std::string_view r0List, double k, double crossF, int a) {
  if (!(ItemAsReal(r0List, a) > 0)) return 0;
  const auto standardR1 = [k](int i) { return k / ItemAsReal(SectionSeries(), i); };
  int c = a;
  while (ItemAsReal(r0List, c) <= standardR1(c) && ItemAsReal(r0List, c + 1) > 0) ++c;
  return ItemAsReal(r0List, c) + (k / crossF - standardR1(c));
}

}  // namespace

CableDefaultValues CableDefaults(bool aluminium, int sheath, int condCount, double crossF,
                                 double crossN) {
  CableDefaultValues values;
  if (!(crossF > 0)) return values;
  const double k = aluminium ? 31.0 : 18.4;
  values.r1 = k / crossF;
  const CableLists* lists = CableCase(aluminium, sheath, condCount, crossF, crossN);
  if (lists == nullptr) return values;
  const int a = SectionIndex(crossF);
  values.complete = true;
  values.x1 = ItemAsReal(lists->x1, a);
  values.r0 = CableR0(lists->r0, k, crossF, a);
  values.x0 = ItemAsReal(lists->x0, a);
  values.ipermissEarth = std::round(ItemAsReal(lists->earth, a));
  values.ipermissAir = std::round(ItemAsReal(lists->air, a));
  return values;
}

double CableChargingCurrent(double unom, double bc) { return unom * 0.00173205 * bc * 0.55; }

WireDefaultValues InsulatedWireDefaults(bool aluminium, double crossF) {
  WireDefaultValues values;
  if (!(crossF > 0)) return values;
  values.r1 = (aluminium ? 31.0 : 18.4) / crossF;
  values.ipermiss =
      ItemAsReal(aluminium ? kWireAluminiumCurrents : kWireCopperCurrents, SectionIndex(crossF));
  return values;
}

WireDefaultValues BareWireDefaults(std::uint8_t flags, std::string_view marking, double crossF) {
  WireDefaultValues values;
  if (!(crossF > 0)) return values;
  const int material = flags >> 6;
  const int construction = (flags >> 2) & 7;
  std::string_view currents;
  switch (material) {
    case 0:
      values.r1 = 18.4 / crossF;
      currents = kBareCopperCurrents;
      break;
    case 1:
    case 2:
      if (construction == 2 || construction == 4) {
        values.r1 = (construction == 2 ? 34.0 : 31.0) / crossF;
        currents = kBareAluminiumCurrents;
      } else {
        values.r1 = 30.0 / crossF;
        // A steel-cored marking carries the letter "С".
        currents = marking.find("С") != std::string_view::npos ? kBareStrandedCurrents
                                                               : kBareAluminiumCurrents;
      }
      break;
    default:
      values.r1 = 170.0 / crossF;
      currents = kBareSteelCurrents;
      break;
  }
  values.ipermiss = ItemAsReal(currents, SectionIndex(crossF));
  return values;
}

std::optional<ImpedanceDefaults> TrunkingDefaults(double inom) {
  if (!(inom > 0)) return std::nullopt;
  const int d = CurrentIndex(inom) - CurrentIndex(250) + 1;
  if (d <= 0) return std::nullopt;
  ImpedanceDefaults values;
  values.r1 = ItemAsReal(kTrunkingR1, d);
  values.x1 = ItemAsReal(kTrunkingX1, d);
  values.r0 = 3 * ItemAsReal(kTrunkingR0Part, d) + values.r1;
  values.x0 = 8 * values.x1;
  return values;
}

ImpedanceDefaults BreakerDefaults(double inom) {
  ImpedanceDefaults values;
  if (!(inom > 0)) return values;
  if (inom >= 50 && inom <= 4000) {
    values.r1 = static_cast<double>(InterpolateInLists(kBreakerCurrents, kBreakerR, inom));
    values.x1 = static_cast<double>(InterpolateInLists(kBreakerCurrents, kBreakerX, inom));
  } else {
    values.r1 = 190.79 * std::pow(inom, -0.9427);
    values.x1 = 110.12 * std::pow(inom, -0.9831);
  }
  return values;
}

ImpedanceDefaults CurrentTransformerDefaults(double inom, double inom2, int accuracyClass) {
  ImpedanceDefaults values;
  if (!(inom * inom2 > 0)) return values;
  const double k = inom / inom2;
  if (accuracyClass != 1) {
    values.r1 = 331.29 * std::pow(k, -2.0406);
    values.x1 = 309.99 * std::pow(k, -2.0497);
  } else {
    values.r1 = 799 * std::pow(k, -2.0432);
    values.x1 = 1182.7 * std::pow(k, -2.0562);
  }
  return values;
}

ImpedanceDefaults TransformerDefaults(double un, double pk, double uk, double snom) {
  ImpedanceDefaults values;
  if (!(snom > 0)) return values;
  const double r = un * un * pk * 1e6 / (snom * snom);
  const double z = un * un * uk * 1e4 / snom;
  values.r1 = r;
  values.x1 = z > r ? std::sqrt(z * z - r * r) : z;
  return values;
}

bool ValidCosF(double cosF) { return cosF > 0 && cosF <= 1; }

double TimeConstant(double x, double r) { return r > 0 ? x / r / static_cast<double>(kOmega) : 0; }

double RatedSlip(double speed) {
  if (!(speed > 0)) return 0;
  const double poles = std::nearbyint(3000 / speed);
  return 100 - poles * speed / 30;
}

void FillAsyncMotorDefaults(AsyncMotorValues& m) {
  if (m.cosF == 0 && m.pnom > 0) m.cosF = 1;
  if (m.rs == 0) m.rs = m.snom * 0.01;
  if (m.rr == 0 && m.istart > 0 && m.snom != 100) {
    m.rr = m.mstart * 1.1016 * m.cosF * m.efficiency / (m.istart * m.istart) / (1 - m.snom * 0.01) /
           100;
  }
  if (m.x2 == 0 && m.istart > 0) {
    const double x = 1 / m.istart;
    const double r = 0.96 * m.rr + m.rs;
    m.x2 = r >= x ? 0 : std::sqrt(x * x - r * r);
  }
  if (m.ta == 0) m.ta = TimeConstant(m.x2, m.rs);
  if (m.tr == 0) m.tr = TimeConstant(m.x2, m.rr);
}

double CapacitorPower(double unom, double cnom) { return unom * unom * 0.31416 * cnom * 1e-6; }

double CapacitorCapacitance(double qnom, double unom) {
  return unom > 0 ? qnom / (unom * unom * 0.31416) * 1e6 : 0;
}

std::uint8_t IrUnitFor(double firstIr) {
  return firstIr > 0 && firstIr < 1.5 ? kUnitTimesIn : kUnitAmperes;
}

std::uint8_t ImUnitFor(double firstIm, double firstInom) {
  return firstIm > 0 && firstIm < firstInom ? kUnitTimesIr : kUnitAmperes;
}

std::uint8_t ImoUnitFor(double firstImo, double firstInom) {
  return firstImo > 0 && firstImo < firstInom ? kUnitTimesIn : kUnitAmperes;
}

double TripUnitTimeAxis(const float* settingTm, int count) {
  double largest = 0;
  for (int i = 0; i < count; ++i) largest = std::max<double>(largest, settingTm[i]);
  return largest > 0 ? std::log(largest) : 2.3025851;
}

}  // namespace kordavelt
