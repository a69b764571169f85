#include "calc/design_loads.h"

#include <cmath>

#include "base/math_box.h"
#include "base/number_list.h"
#include "calc/prepare_context.h"
#include "model/source_loads.h"

namespace kordavelt {
namespace {

// Kи columns of both coefficient tables.
constexpr int kKiColumns = 8;
constexpr long double kKi[kKiColumns] = {0.1L, 0.15L, 0.2L, 0.3L, 0.4L, 0.5L, 0.6L, 0.7L};

// Kр × 100 of distribution elements, one row per Kи, over the nэ points below.
constexpr const char* kDistributionPoints = "1#2#3#5#8#15#25#40#70#100";
constexpr const char* kDistributionTable[kKiColumns] = {
    "800#622#405#284#237#189#160#140#120#110", "533#433#289#209#173#146#127#113#100#100",
    "400#339#231#172#148#125#110#100#100#100", "267#245#174#135#119#103#100#100#100#100",
    "200#198#145#116#110#100#100#100#100#100", "160#160#134#116#108#100#100#100#100#100",
    "133#133#122#108#102#100#100#100#100#100", "114#114#114#103#100#100#100#100#100#100",
};

// Kр × 100 of supply elements; nэ columns 1, 2, 3, 4, 5, 8, 10, 25, 50, above 50.
constexpr int kSupplyNeColumns = 10;
constexpr long double kSupplyNe[kSupplyNeColumns - 1] = {1, 2, 3, 4, 5, 8, 10, 25, 50};
constexpr const char* kSupplyTable[kKiColumns] = {
    "800#501#294#228#131#120#110#080#075#065", "533#344#217#173#112#100#097#080#075#065",
    "400#269#180#146#102#096#091#080#075#065", "267#190#142#119#100#095#090#085#075#070",
    "200#152#123#106#098#094#090#085#075#070", "160#124#114#104#096#093#090#085#090#090",
    "133#111#108#100#094#092#090#090#085#080", "114#100#100#097#093#091#090#090#085#080",
};

// The Kи column to interpolate towards: the first not below `ki`.
int KiColumn(long double ki) {
  int c = 0;
  while (c < kKiColumns - 1 && kKi[c] < ki) ++c;
  return c;
}

// Linear interpolation over Kи between the column before `ki` and the first
// column not below it, of a value read per row.
template <class RowValue>
long double OverKi(long double ki, RowValue rowValue) {
  const int c = KiColumn(ki);
  if (c == 0) return rowValue(0);
  return Interpolate(rowValue(c), rowValue(c - 1), kKi[c], kKi[c - 1], ki);
}

bool Larger(const Complex& z, const Complex& w) { return Abs2(z) > Abs2(w); }

}  // namespace

long double DistributionDesignCoefficient(long double ne, long double ki) {
  if (ki > 0.7L || ne > 100) return 1;
  if (ki < 0.1L) ki = 0.1L;
  if (ne < 1) ne = 1;
  const long double kr100 = OverKi(ki, [ne](int row) {
    return InterpolateInLists(kDistributionPoints, kDistributionTable[row], ne);
  });
  return kr100 / 100;
}

long double SupplyDesignCoefficient(long double ne, long double ki) {
  if (ki < 0.1L) ki = 0.1L;
  if (ki > 0.7L) ki = 0.7L;
  int column = 0;
  while (column < kSupplyNeColumns - 1 && kSupplyNe[column] < ne) ++column;
  const long double kr100 =
      OverKi(ki, [column](int row) { return ItemAsReal(kSupplyTable[row], column + 1); });
  return kr100 / 100;
}

Complex LargestPhase(const std::array<Complex, 3>& phases) {
  Complex largest = phases[0];
  for (int p = 1; p < 3; ++p) {
    if (Larger(phases[p], largest)) largest = phases[p];
  }
  return largest;
}

void MergeAccumulator(LevelAccumulator& parent, LevelAccumulator& child, int loadMethod) {
  // The larger start goes on while the other section runs.
  if (Abs2(parent.iStart) >= Abs2(child.iStart)) {
    parent.iStart += child.phases[0];
  } else {
    parent.iStart = child.iStart + parent.phases[0];
    parent.tStart = child.tStart;
  }
  for (int p = 0; p < 3; ++p) parent.phases[p] += child.phases[p];
  if (Larger(child.largestChild, parent.largestChild)) parent.largestChild = child.largestChild;
  if (loadMethod > static_cast<int>(LoadMethod::KzKo)) {
    for (int p = 0; p < 3; ++p) {
      parent.sumKiI[p] += child.sumKiI[p];
      parent.sumI2[p] += child.sumI2[p];
      for (int c = 0; c < kCategoryCount; ++c) parent.categories[c][p] += child.categories[c][p];
    }
  }
  parent.iSelfStart += child.iSelfStart;
  child = LevelAccumulator{};
}

void ScaleAccumulator(LevelAccumulator& acc, long double kt) {
  for (int p = 0; p < 3; ++p) {
    acc.phases[p] *= kt;
    acc.sumKiI[p] *= kt;
    acc.sumI2[p] = static_cast<float>(acc.sumI2[p] * kt * kt);
    for (auto& category : acc.categories) category[p] *= kt;
  }
  acc.iStart *= kt;
  acc.largestChild *= kt;
  acc.iDesign *= kt;
  acc.iSelfStart *= kt;
}

namespace {

// "ТЭП": demand factors by category; supply elements take the lower ones.
void ApplyDemandFactors(LevelAccumulator& acc, std::int32_t classCode) {
  const bool supply = classCode == kClassSupply;
  const long double k[kCategoryCount] = {supply ? 0.7L : 1.0L, supply ? 0.35L : 0.5L,
                                         supply ? 0.2L : 0.15L, kDriveFactor};
  std::array<Complex, 3> design{};
  for (int p = 0; p < 3; ++p) {
    for (int c = 0; c < kCategoryCount; ++c) design[p] += acc.categories[c][p] * k[c];
  }
  acc.iDesign = LargestPhase(design);
}

// "ТПЭП": Kр by the effective number of receivers and their utilisation.
void ApplyDesignFactors(LevelAccumulator& acc, std::int32_t classCode) {
  std::array<Complex, 3> design{};
  for (int p = 0; p < 3; ++p) {
    const Complex drives = acc.categories[kCategoryDrive][p] * kDriveFactor;
    const long double sumI = static_cast<long double>(acc.categories[kCategoryContinuous][p].re) +
                             acc.categories[kCategoryPeriodic][p].re;
    const Complex weighted = acc.sumKiI[p];
    if (sumI == 0 || !(acc.sumI2[p] > 0)) {
      design[p] = drives;
      continue;
    }
    const long double ne = std::round(sumI * sumI / acc.sumI2[p]);
    const long double ki = weighted.re / sumI;
    if (classCode == kClassOrdinary) {
      const long double kr = DistributionDesignCoefficient(ne, ki);
      const long double q = ne > 10 ? weighted.im : 1.1L * weighted.im;
      design[p] = Complex{static_cast<float>(kr * weighted.re), static_cast<float>(q)} + drives;
    } else {
      design[p] = weighted * SupplyDesignCoefficient(ne, ki) + drives;
    }
  }
  acc.iDesign = LargestPhase(design);
}

}  // namespace

void ApplyDesignLoad(LevelAccumulator& acc, int loadMethod, std::int32_t classCode,
                     long double nodeValue) {
  switch (static_cast<LoadMethod>(loadMethod)) {
    case LoadMethod::Kz:
      acc.iDesign = LargestPhase(acc.phases);
      break;
    case LoadMethod::KzKo:
      // Ко must exceed 0.2: smaller values are taken as not given.
      if (nodeValue > 0.2L && nodeValue <= 1) acc.iDesign = LargestPhase(acc.phases) * nodeValue;
      return;
    case LoadMethod::DemandFactor:
      if (classCode == 0) return;
      ApplyDemandFactors(acc, classCode);
      break;
    case LoadMethod::DesignFactor:
      if (classCode == 0) return;
      ApplyDesignFactors(acc, classCode);
      break;
    case LoadMethod::GivenCurrent: {
      const long double largest = Abs(LargestPhase(acc.phases));
      // A given current far below the computed one is taken as a slip.
      if (largest > nodeValue && 0.2L * largest < nodeValue) {
        for (auto& phase : acc.phases) phase *= nodeValue / largest;
      }
      acc.iDesign = LargestPhase(acc.phases);
      return;
    }
    default:
      return;
  }
  if (Larger(acc.largestChild, acc.iDesign)) acc.iDesign = acc.largestChild;
}

}  // namespace kordavelt
