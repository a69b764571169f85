// Joule integrals of the maximum current. A steady current has a closed
// form; a decaying motor contribution is compared with a fine numerical
// integration, which catches a step rule that skips over the decay.

#include <gtest/gtest.h>

#include <cmath>

#include "base/constants.h"
#include "calc/joule_integral.h"

namespace kordavelt {
namespace {

constexpr double kOmegaHz = 314.15927;

// I²·t + Ta·I²·(1 − e^(−2t/Ta)), Ta = X/(ω·R).
double SteadyJoule(double i, double r, double x, double t) {
  const double ta = x / (kOmegaHz * r);
  return i * i * t + ta * i * i * (1 - std::exp(-2 * t / ta));
}

TEST(JouleIntegral, SteadyCurrentHasTheClosedForm) {
  const FaultCurrent current = SteadyFault(12);
  for (const double t : {0.0005, 0.01, 0.1, 0.4, 5.0, 900.0}) {
    const double expected = SteadyJoule(12, 3, 14, t);
    // Beyond 12/2 time constants the DC part is taken as complete.
    EXPECT_NEAR(JouleIntegral(current, 3, 14, t), expected, 1e-5 * expected) << "t = " << t;
  }
  // A highly inductive circuit: the DC heat is fully counted long after the fault.
  const double ta = 100 / (kOmegaHz * 0.5);
  EXPECT_NEAR(JouleIntegral(current, 0.5, 100, 100.0), 144 * (100 + ta), 1e-9 * 144 * 100);
}

TEST(JouleIntegral, NothingIsIntegratedBeyond998SecondsOrWithoutResistanceOrReactance) {
  const FaultCurrent current = SteadyFault(5);
  EXPECT_GT(JouleIntegral(current, 3, 14, 998), 0);
  EXPECT_EQ(JouleIntegral(current, 3, 14, 998.5), 0);
  EXPECT_EQ(JouleIntegral(current, 3, 14, 9999), 0);
  EXPECT_EQ(JouleIntegral(current, 0, 14, 1), 0);
  EXPECT_EQ(JouleIntegral(current, 3, 0, 1), 0);
  EXPECT_EQ(JouleIntegral(current, 3, 14, 0), 0);
}

TEST(JouleIntegral, PiecesAddUpToTheWhole) {
  // The DC part of each piece is what the whole loses in that piece.
  const FaultCurrent current = SteadyFault(8);
  const double r = 0.5, x = 20;
  const double whole = JouleIntegral(current, r, x, 0.3);
  double pieces = 0;
  for (int k = 0; k < 6; ++k) {
    pieces += JouleIntegralBetween(current, r, x, 0.05 * k, 0.05 * (k + 1));
  }
  EXPECT_NEAR(pieces, whole, 1e-9 * whole);
  EXPECT_NEAR(whole, SteadyJoule(8, r, x, 0.3), 1e-9 * whole);
}

TEST(JouleIntegral, DecayingMotorFeedingIsIntegratedNeverBelowItsCurve) {
  FaultCurrent current = SteadyFault(6);
  current.initial = 9;
  current.asyncInitial = 2;
  current.asyncRemoteness = 3;
  current.syncInitial = 1;
  current.syncRemoteness = 6;
  const double r = 4, x = 12, t = 0.5;
  // Simpson's rule with 0.1 ms steps over I(t)².
  const int n = 5000;
  const double h = t / n;
  double periodic = 0;
  for (int k = 0; k <= n; ++k) {
    const double weight = (k == 0 || k == n) ? 1 : (k % 2 == 1 ? 4 : 2);
    periodic += weight * std::pow(static_cast<double>(current.At(k * h)), 2);
  }
  periodic *= h / 3;
  const double ta = x / (kOmegaHz * r);
  const double exact = periodic + ta * 81 * (1 - std::exp(-2 * t / ta));
  // The growing step cuts chords across the falling curve: a few per cent
  // on the safe side.
  const double bt = JouleIntegral(current, r, x, t);
  EXPECT_GE(bt, exact);
  EXPECT_LT(bt, 1.05 * exact);
  // Integrated in pieces, each restarting at the smallest step, it comes closer.
  double pieces = 0;
  for (int k = 0; k < 10; ++k)
    pieces += JouleIntegralBetween(current, r, x, 0.05 * k, 0.05 * (k + 1));
  EXPECT_GE(pieces, exact);
  EXPECT_LE(pieces, bt);
  // Between the steady system current and the steady initial current.
  EXPECT_GT(bt, SteadyJoule(6, r, x, t));
  EXPECT_LT(bt, SteadyJoule(9, r, x, t));
}

}  // namespace
}  // namespace kordavelt
