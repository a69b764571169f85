// The arc at a fault point: each method's resistance checked against what it
// means for the fault current, solved here independently of the iteration.

#include "calc/arc_resistance.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kordavelt {
namespace {

// A 0.4 kV fault loop: 20 + j10 mΩ behind 230.9 V.
constexpr double kR = 20;
constexpr double kX = 10;
constexpr double kE = 400 / 1.7320508;

// The current with Rд in the loop the way the fault type holds it.
double Current(double arc, double factor) {
  const double added = factor == 3 ? 3 * arc : arc;
  return factor * kE / std::hypot(kR + added, kX);
}

// Solves Rд = 16·√L · I(Rд)^−0.85 by bisection: the arc that burns at the
// current it lets through.
double SelfConsistentArc(double lengthMm, double factor) {
  double low = 0, high = 1000;
  for (int i = 0; i < 200; ++i) {
    const double mid = (low + high) / 2;
    const double residual = mid - 16 * std::sqrt(lengthMm) * std::pow(Current(mid, factor), -0.85);
    (residual < 0 ? low : high) = mid;
  }
  return low;
}

// Guards an iteration that stops early or uses another loop than the one
// the current is then computed with.
TEST(ArcResistance, ArcOfGivenLengthSettlesOnTheCurrentItLetsThrough) {
  for (const long double factor : {kThreePhaseFactor, kTwoPhaseFactor, kSinglePhaseFactor}) {
    const double f = static_cast<double>(factor);
    const double got =
        static_cast<double>(ArcResistance({kArcByLength, 0, 10, 0}, kR, kX, factor, kE));
    EXPECT_GT(got, 1) << f;
    // Settled to within 0.1 mΩ per round; the remaining error is below 1 mΩ.
    EXPECT_NEAR(got, SelfConsistentArc(10, f), 1.0) << f;
  }
  EXPECT_EQ(ArcResistance({kArcByLength, 0, 0, 0}, kR, kX, kThreePhaseFactor, kE), 0);
  EXPECT_EQ(ArcResistance({kArcConstant, -2, 0, 0}, kR, kX, kThreePhaseFactor, kE), 0);
}

TEST(ArcResistance, PhaseDistanceGivesTheArcLengthWithinOneToFourDistances) {
  EXPECT_EQ(ArcResistance({kArcByPhaseDistance, 0, 0, 0}, kR, kX, kThreePhaseFactor, kE), 0);
  const double s = kR / kX;
  const auto formula = [s](double a) {
    return 0.0425 * s * s + 12.46 - 1.5747 * s + 2.1748 * a - 0.02477 * a * a;
  };
  // 50 mm: the formula's 56.3 mm lies inside 50 … 200 mm; 2 mm: its 13.7 mm
  // is more than four distances; 80 mm: its 24.9 mm is less than one.
  EXPECT_NEAR(static_cast<double>(ArcLengthFromPhaseDistance(50, kR, kX)), formula(50), 1e-9);
  EXPECT_DOUBLE_EQ(static_cast<double>(ArcLengthFromPhaseDistance(2, kR, kX)), 8);
  EXPECT_DOUBLE_EQ(static_cast<double>(ArcLengthFromPhaseDistance(80, kR, kX)), 80);
  const double got = static_cast<double>(
      ArcResistance({kArcByPhaseDistance, 0, 0, 50}, kR, kX, kSinglePhaseFactor, kE));
  EXPECT_NEAR(got, SelfConsistentArc(formula(50), 3), 1.0);
}

TEST(ArcResistance, CurrentMethodReducesTheCurrentByItsEmpiricalFactorWhenItIsPositive) {
  for (const long double factor : {kThreePhaseFactor, kTwoPhaseFactor, kSinglePhaseFactor}) {
    const double f = static_cast<double>(factor);
    const double k = std::hypot(kR, kX) / f;
    const double reduction = 0.339 + 0.00745 * k - 4.84e-5 * k * k + 1.3e-8 * k * k * k;
    const double arc =
        static_cast<double>(ArcResistance({kArcByCurrent, 0, 0, 0}, kR, kX, factor, kE));
    // With the arc in its loop the current is the reduced current.
    EXPECT_NEAR(Current(arc, f), Current(0, f) * reduction, 1e-6 * Current(0, f)) << f;
  }
  // |Z|/x = 300 mΩ: 0.339 + 2.235 − 4.356 + 0.351 < 0.
  EXPECT_EQ(ArcResistance({kArcByCurrent, 0, 0, 0}, 300, 0, kThreePhaseFactor, kE), 0);
  // |Z|/x = 4000 mΩ: the factor is far above 1; an arc never shrinks the loop.
  EXPECT_EQ(ArcResistance({kArcByCurrent, 0, 0, 0}, 2000, 3464, kThreePhaseFactor, kE), 0);
}

}  // namespace
}  // namespace kordavelt
