#pragma once

// Design loads of a traced tree: the accumulator that sums the currents of
// one section level during the backward sweep, the rules that merge a closed
// section into its parent and scale a section through a transformer, and the
// five design-load methods ("Кз#Кз и Ко#ТЭП#ТПЭП#Iзадан") with the design
// coefficient tables of the method "ТПЭП".

#include <array>
#include <cstdint>

#include "base/complex.h"

namespace kordavelt {

// Receiver categories of the methods "ТЭП" and "ТПЭП": the operating
// regime of the receiver's group (continuous, periodic, episodic), and the
// receivers of groups of kind "ЭД".
inline constexpr int kCategoryContinuous = 0;
inline constexpr int kCategoryPeriodic = 1;
inline constexpr int kCategoryEpisodic = 2;
inline constexpr int kCategoryDrive = 3;
inline constexpr int kCategoryCount = 4;

// The fixed factor of the receivers of groups of kind "ЭД".
inline constexpr long double kDriveFactor = 0.85L;

// Sums of one section level; currents A, complex phase values.
struct LevelAccumulator {
  std::array<Complex, 3> phases{};  // Ia, Ib, Ic of everything below
  // Iп: the largest starting current plus the running current of the rest,
  // with the starting time tп that belongs to it.
  Complex iStart;
  float tStart = 0;
  Complex largestChild;  // the largest design current met below
  Complex iDesign;       // Iр of the section
  // Per phase: squares of the receivers' active currents, currents by
  // category, utilisation-weighted currents.
  std::array<float, 3> sumI2{};
  std::array<std::array<Complex, 3>, kCategoryCount> categories{};
  std::array<Complex, 3> sumKiI{};
  Complex iSelfStart;
  float factor = 1;  // of the terminal element that started the section
};

// Merges the closed section `child` into `parent` and clears `child`. The
// category sums and the ТПЭП sums are carried only under the methods above
// "Кз и Ко".
void MergeAccumulator(LevelAccumulator& parent, LevelAccumulator& child, int loadMethod);

// Refers every current of the section through a transformation ratio.
void ScaleAccumulator(LevelAccumulator& acc, long double kt);

// The phase current of largest magnitude (the first of equals).
Complex LargestPhase(const std::array<Complex, 3>& phases);

// Applies the design-load method to the accumulator at an element of class
// code `classCode`. `nodeValue` is the value of the node at the element's
// downstream end: its coefficient Ко (method "Кз и Ко") or its given current
// Iзад, A (method "Iзадан"); 0 when there is no such node.
void ApplyDesignLoad(LevelAccumulator& acc, int loadMethod, std::int32_t classCode,
                     long double nodeValue);

// Kр of distribution elements (class code 10) for the effective number of
// receivers `ne` and the group utilisation `ki`.
long double DistributionDesignCoefficient(long double ne, long double ki);
// Kр of the other elements (transformers, sources, lines above 1000 V).
long double SupplyDesignCoefficient(long double ne, long double ki);

}  // namespace kordavelt
