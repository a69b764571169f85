// Characteristics of fuses, breakers and protective devices placed on the
// kA axis by their settings. The tests catch: a shift by Ir in A instead of
// kA, the time setting applied to the instantaneous step, a threshold taken
// in the wrong unit, a cut-off or short-time zone placed on the wrong points,
// and characteristics built from settings that cannot place them.

#include "calc/protection_characteristic.h"

#include <gtest/gtest.h>

#include <cmath>

#include "calc/vth_evaluation.h"
#include "characteristic_builder.h"

namespace kordavelt {
namespace {

using test::Block;
using test::Curve;
using test::ReleaseLower;
using test::ReleaseUpper;
using test::VthBytes;

double Shortest(const vth_class& c, double currentKA, double shift = 0) {
  return static_cast<double>(ShortestTime(c, shift, currentKA));
}
double Longest(const vth_class& c, double currentKA) {
  return static_cast<double>(LongestTime(c, 0, currentKA));
}

// A fuse type: 100 s at 2 In, 10 s at 3 In, melting in 10 ms from 8 In.
VthBytes FuseType() {
  return Block(Curve({1.5, 2, 3, 5, 8, 8, 20}, {3600, 100, 10, 1, 0.1, 0.01, 0.01}),
               Curve({2, 2.5, 4, 6, 10, 10, 25}, {7200, 300, 30, 3, 0.3, 0.02, 0.02}));
}

TEST(FuseCharacteristic, PlacesTheTypeCurvesAtTheLinkCurrent) {
  const auto fuse = FuseCharacteristic(FuseType(), 100);
  ASSERT_TRUE(fuse);
  EXPECT_FLOAT_EQ(fuse->lnIr, std::log(0.1f));
  EXPECT_EQ(fuse->lnIm, 20.0f);
  EXPECT_EQ(fuse->lnTm, 20.0f);
  EXPECT_NEAR(Shortest(*fuse, 0.2), 100, 1e-3);
  // Halfway in the log-log plane between 200 A and 300 A: √(100 · 10) s.
  EXPECT_NEAR(Shortest(*fuse, 0.1 * std::sqrt(6.0)), std::sqrt(1000.0), 1e-3);
  EXPECT_NEAR(Shortest(*fuse, 1.0), 0.01, 1e-6);
  EXPECT_NEAR(Longest(*fuse, 1.0), 0.02, 1e-6);
  EXPECT_EQ(Shortest(*fuse, 0.12), 9999);  // below 1.5 In
}

TEST(FuseCharacteristic, ReadsAFaultBeyondATransformerByTheShift) {
  // The fault current on the far side is 25 times the current in the fuse.
  const auto fuse = FuseCharacteristic(FuseType(), 100);
  ASSERT_TRUE(fuse);
  EXPECT_NEAR(Shortest(*fuse, 5.0, std::log(25.0)), 100, 1e-3);
}

TEST(FuseCharacteristic, NeedsAPositiveLinkCurrent) {
  EXPECT_FALSE(FuseCharacteristic(FuseType(), 0));
  EXPECT_FALSE(FuseCharacteristic(FuseType(), -16));
}

TEST(ReleaseThreshold, FollowsTheImModeOfTheReleaseType) {
  EXPECT_DOUBLE_EQ(static_cast<double>(ReleaseThresholdKA(1500, 0, 100, 80)), 1.5);
  EXPECT_DOUBLE_EQ(static_cast<double>(ReleaseThresholdKA(10, 1, 100, 80)), 1.0);
  EXPECT_DOUBLE_EQ(static_cast<double>(ReleaseThresholdKA(10, 2, 100, 80)), 0.8);
  EXPECT_EQ(ReleaseThresholdKA(10, 3, 100, 80), 0);
}

TEST(BreakerCharacteristic, StretchesTheOverloadTimesByTheTimeSetting) {
  const VthBytes release = Block(ReleaseLower(), ReleaseUpper());
  const auto breaker =
      BreakerCharacteristic(release, {.irA = 250, .trS = 20, .referenceTimeS = 10});
  ASSERT_TRUE(breaker);
  EXPECT_FLOAT_EQ(breaker->lnIr, std::log(0.25f));
  EXPECT_NEAR(Shortest(*breaker, 1.0), 20, 1e-3);    // 4 Ir: 10 s doubled
  EXPECT_NEAR(Longest(*breaker, 1.25), 40, 1e-3);    // 5 Ir on the upper curve
  EXPECT_NEAR(Shortest(*breaker, 2.0), 0.02, 1e-6);  // the step keeps its time
  EXPECT_EQ(breaker->lnIm, 20.0f);

  // A time setting not above the reference time, or no reference time, leaves them.
  const auto shorter = BreakerCharacteristic(release, {.irA = 250, .trS = 5, .referenceTimeS = 10});
  const auto noReference = BreakerCharacteristic(release, {.irA = 250, .trS = 20});
  ASSERT_TRUE(shorter && noReference);
  EXPECT_NEAR(Shortest(*shorter, 1.0), 10, 1e-3);
  EXPECT_NEAR(Shortest(*noReference, 1.0), 10, 1e-3);
}

TEST(BreakerCharacteristic, CutsTheOverloadCurveAtTheShortTimeSetting) {
  const ReleaseSettings settings{.irA = 250,
                                 .trS = 20,
                                 .referenceTimeS = 10,
                                 .imKA = ReleaseThresholdKA(3, 2, 250, 250),
                                 .tmS = 0.1};
  const auto breaker = BreakerCharacteristic(Block(ReleaseLower(), ReleaseUpper()), settings);
  ASSERT_TRUE(breaker);
  EXPECT_FLOAT_EQ(breaker->lnIm, std::log(0.75f));
  EXPECT_NEAR(Shortest(*breaker, 1.0), 0.1, 1e-6);
  EXPECT_NEAR(Shortest(*breaker, 0.5), 120, 1e-2);  // 2 Ir, below the setting
}

TEST(BreakerCharacteristic, CollapsesToTheInstantaneousPointWithoutAnOverloadCurve) {
  const VthBytes none{};
  const auto breaker = BreakerCharacteristic(none, {.irA = 250, .imKA = 1.0, .tmS = 0.02});
  ASSERT_TRUE(breaker);
  EXPECT_EQ(breaker->lnIr, 0.0f);
  EXPECT_NEAR(Shortest(*breaker, 2.0), 0.02, 1e-6);
  EXPECT_NEAR(Longest(*breaker, 1.0), 0.02, 1e-6);
  EXPECT_EQ(Shortest(*breaker, 0.5), 9999);

  // Ir does not matter then; with an overload curve it must be set.
  EXPECT_TRUE(BreakerCharacteristic(none, {.imKA = 1.0, .tmS = 0.02}));
  EXPECT_FALSE(
      BreakerCharacteristic(Block(ReleaseLower(), ReleaseUpper()), {.imKA = 1.0, .tmS = 0.02}));
  EXPECT_FALSE(BreakerCharacteristic(none, {}));
}

TEST(DeviceCharacteristic, PlacesItsOwnCurvesAtIr) {
  const auto device =
      DeviceCharacteristic(Block(ReleaseLower(), ReleaseUpper()), {.irA = 100, .trMultiple = 2});
  ASSERT_TRUE(device);
  EXPECT_FLOAT_EQ(device->lnIr, std::log(0.1f));
  EXPECT_NEAR(Shortest(*device, 0.4), 20, 1e-3);
  EXPECT_NEAR(Shortest(*device, 0.7), 0.02, 1e-6);
  EXPECT_EQ(device->lnImax, -20.0f);
}

TEST(DeviceCharacteristic, BuildsAnInstantaneousDeviceFromItsSettings) {
  // 500 A given in amperes and as 5 Ir: both a 0.2 s step, with no 1 s step
  // left over from points 6 and 7.
  const VthBytes none{};
  for (double im : {500.0, 5.0}) {
    const auto device = DeviceCharacteristic(none, {.irA = 100, .im = im, .tmS = 0.2});
    ASSERT_TRUE(device);
    EXPECT_FLOAT_EQ(device->lnIr, std::log(0.5f));
    EXPECT_NEAR(Shortest(*device, 2.0), 0.2, 1e-6);
    EXPECT_NEAR(Longest(*device, 0.5), 0.2, 1e-6);
    EXPECT_EQ(Shortest(*device, 0.4), 9999);
  }
}

TEST(DeviceCharacteristic, IsAbsentOrInactiveWithoutUsableSettings) {
  const VthBytes curves = Block(ReleaseLower(), ReleaseUpper());
  EXPECT_FALSE(DeviceCharacteristic(curves, {}));

  // Curves without Ir cannot be placed; Ir alone gives nothing to read.
  const auto noIr = DeviceCharacteristic(curves, {.tmS = 0.2});
  const auto irOnly = DeviceCharacteristic(VthBytes{}, {.irA = 100});
  ASSERT_TRUE(noIr && irOnly);
  EXPECT_EQ(Shortest(*noIr, 1.0), 9999);
  EXPECT_EQ(Shortest(*irOnly, 1.0), 9999);
}

TEST(DeviceCharacteristic, MovesTheOverloadPointsOntoTheCutOff) {
  const auto device = DeviceCharacteristic(Block(ReleaseLower(), ReleaseUpper()),
                                           {.irA = 100, .cutOff = 3});  // 300 A
  ASSERT_TRUE(device);
  const VthCurve& low = device->lower;
  const VthCurve& up = device->upper;
  // Lower curve: points 4 and 5 at 300 A with the time between 200 A (60 s)
  // and 400 A (10 s); upper curve: points 4 and 5, between 250 A (120 s) and
  // 500 A (20 s).
  const double lowTime = 60 * std::pow(1.0 / 6, std::log(1.5) / std::log(2.0));
  const double upTime = 120 * std::pow(1.0 / 6, std::log(1.2) / std::log(2.0));
  for (int k : {3, 4}) {
    EXPECT_FLOAT_EQ(low.lnCurrent[k], std::log(0.3f));
    EXPECT_NEAR(std::exp(low.lnTime[k]), lowTime, 1e-3);
    EXPECT_FLOAT_EQ(up.lnCurrent[k], std::log(0.3f));
    EXPECT_NEAR(std::exp(up.lnTime[k]), upTime, 1e-3);
  }
  EXPECT_FLOAT_EQ(low.lnCurrent[2], std::log(0.2f));
  EXPECT_NEAR(Shortest(*device, 0.2), 60, 1e-3);
  // Above the cut-off the instantaneous step acts.
  EXPECT_NEAR(Shortest(*device, 0.45), 0.02, 1e-6);
}

TEST(DeviceCharacteristic, RaisesTheStepToTheCutOff) {
  const VthCurve curve = Curve({1.05, 1.3, 2, 4, 6, 1, 1}, {7200, 3600, 60, 10, 4, 1, 1});
  const auto device = DeviceCharacteristic(Block(curve, curve), {.irA = 100, .cutOff = 300});
  ASSERT_TRUE(device);
  EXPECT_FLOAT_EQ(device->lower.lnCurrent[5], std::log(0.3f));
  EXPECT_FLOAT_EQ(device->upper.lnCurrent[5], std::log(0.3f));
  EXPECT_FLOAT_EQ(device->lower.lnCurrent[6], std::log(0.1f));
}

TEST(DeviceCharacteristic, KeepsTheShortTimeZoneBetweenImAndPointFive) {
  const VthBytes curves = Block(ReleaseLower(), ReleaseUpper());
  // Im 300 A at 0.05 s, zone up to 5 Ir = 500 A.
  const auto device = DeviceCharacteristic(curves, {.irA = 100, .im = 300, .tmS = 0.05, .imax = 5});
  ASSERT_TRUE(device);
  EXPECT_FLOAT_EQ(device->lnImax, std::log(0.5f));
  // At 400 A: 0.05 s × (500 / 400)².
  EXPECT_NEAR(Shortest(*device, 0.4), 0.078125, 1e-6);
  EXPECT_NEAR(Shortest(*device, 0.55), 0.05, 1e-6);

  // Beyond point 5 (600 A) the zone is limited to it; below Im there is none.
  const auto wide = DeviceCharacteristic(curves, {.irA = 100, .im = 300, .tmS = 0.05, .imax = 20});
  const auto inside = DeviceCharacteristic(curves, {.irA = 100, .im = 300, .tmS = 0.05, .imax = 2});
  ASSERT_TRUE(wide && inside);
  EXPECT_FLOAT_EQ(wide->lnImax, std::log(0.6f));
  EXPECT_EQ(inside->lnImax, -20.0f);
}

}  // namespace
}  // namespace kordavelt
