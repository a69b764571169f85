// Reading operation times from a characteristic. The tests catch: the wrong
// segment or swapped ends in the interpolation, the instantaneous step read
// from the wrong points, a threshold or short-time zone that ignores its
// limits, a missing 0.005 s floor or 9999 s cap, and NaN or a crash from a
// damaged curve or a missing characteristic. A prepared reading must give the
// full reading's times bit for bit: a zone taken on the wrong side of its
// bound, or a constant time given for a sloping part, would change results.

#include "calc/vth_evaluation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "characteristic_builder.h"

namespace kordavelt {
namespace {

// Curves written directly in logarithms: a step at ln I = 2.5 down to ln t = −2.
vth_class StepCharacteristic() {
  vth_class c;
  c.lower.lnCurrent = {0.5f, 1, 1.5f, 2, 2.5f, 2.5f, 4};
  c.lower.lnTime = {8, 6, 4, 2, 0, -2, -2};
  c.upper.lnCurrent = {0.5f, 1, 1.5f, 2, 2.5f, 2.5f, 4};
  c.upper.lnTime = {9, 7, 5, 3, 1, -1, -1};
  return c;
}

// The same overload part without a separate step: points 6 and 7 below point 5.
vth_class ThresholdCharacteristic() {
  vth_class c = StepCharacteristic();
  for (VthCurve* curve : {&c.lower, &c.upper}) {
    curve->lnCurrent[5] = curve->lnCurrent[6] = 0;
    curve->lnTime[5] = curve->lnTime[6] = 0;
  }
  c.lnIm = 3;
  c.lnTm = -3;
  return c;
}

double Lower(const vth_class& c, double x) { return static_cast<double>(LowerTime(c, 0, x)); }
double Upper(const vth_class& c, double x) { return static_cast<double>(UpperTime(c, 0, x)); }

TEST(CurveReading, InterpolatesTheOverloadSegmentThatHoldsTheCurrent) {
  const vth_class c = StepCharacteristic();
  EXPECT_DOUBLE_EQ(Lower(c, 0.5), 8);
  EXPECT_DOUBLE_EQ(Lower(c, 0.75), 7);
  EXPECT_DOUBLE_EQ(Lower(c, 1.25), 5);
  EXPECT_DOUBLE_EQ(Lower(c, 2.25), 1);
  EXPECT_DOUBLE_EQ(Upper(c, 0.75), 8);
  EXPECT_DOUBLE_EQ(Upper(c, 2.25), 2);
}

TEST(CurveReading, GivesTenBelowTheFirstPoint) {
  const vth_class c = StepCharacteristic();
  EXPECT_EQ(Lower(c, 0.49), 10);
  EXPECT_EQ(Upper(c, -30), 10);
  // e^10 s is beyond the cap.
  EXPECT_EQ(ShortestTime(c, 0, std::exp(0.25L)), 9999);
}

TEST(CurveReading, TakesTheInstantaneousStepFromPointsSixAndSeven) {
  vth_class c = StepCharacteristic();
  c.lower.lnTime[6] = -3;  // the step falls from −2 at point 6 to −3 at point 7
  EXPECT_EQ(Lower(c, 2.5), -2);
  EXPECT_DOUBLE_EQ(Lower(c, 3.25), -2.5);
  EXPECT_EQ(Lower(c, 4), -3);
  EXPECT_EQ(Lower(c, 9), -3);
  EXPECT_EQ(Upper(c, 2.5), -1);
}

TEST(CurveReading, DecidesTheStepByTheLowerCurveForBothCurves) {
  // The upper curve's point 6 lies below its point 5, yet the lower curve has a
  // step, so the upper curve is read from its points 6 and 7 too.
  vth_class c = StepCharacteristic();
  c.upper.lnCurrent[5] = 2.0f;
  c.upper.lnTime[5] = 1;
  EXPECT_DOUBLE_EQ(Upper(c, 3), 0);  // between (2, 1) and (4, −1)

  // Without a step in the lower curve the upper one goes on to its segments.
  c.lower.lnCurrent[5] = 2.0f;
  EXPECT_DOUBLE_EQ(Upper(c, 2.25), 2);  // on the segment 4-5, not the step 6-7
}

TEST(CurveReading, SwitchesToTheInstantaneousTimeAtTheThreshold) {
  const vth_class c = ThresholdCharacteristic();
  EXPECT_EQ(Lower(c, 3), -3);
  EXPECT_EQ(Lower(c, 7), -3);
  EXPECT_EQ(Upper(c, 3.5), -3);
  // Just below the threshold the overload segment 4-5 is extended.
  EXPECT_NEAR(Lower(c, 2.75), -1, 1e-6);
}

TEST(CurveReading, RaisesTheTimeInsideTheShortTimeZone) {
  vth_class c = ThresholdCharacteristic();
  c.lnImax = 3.5f;
  EXPECT_NEAR(Lower(c, 3.2), -2.4, 1e-6);
  EXPECT_EQ(Lower(c, 3.5), -3);
  EXPECT_EQ(Lower(c, 4), -3);

  // Never above point 5 of the curve read.
  c.lnImax = 5;
  EXPECT_EQ(Lower(c, 3), 0);
  EXPECT_EQ(Upper(c, 3), 1);

  // An upper end at or below −10 means no zone.
  c.lnImax = -15;
  EXPECT_EQ(Lower(c, 3), -3);
}

TEST(CurveReading, NeverGoesBelowFiveMilliseconds) {
  vth_class c = StepCharacteristic();
  c.lower.lnTime[5] = c.lower.lnTime[6] = -9;
  EXPECT_DOUBLE_EQ(Lower(c, 3), -5.2983174);
  EXPECT_NEAR(static_cast<double>(ShortestTime(c, 0, 1e6L)), 0.005, 1e-9);

  vth_class fast = ThresholdCharacteristic();
  fast.lnTm = -20;
  EXPECT_DOUBLE_EQ(Lower(fast, 50), -5.2983174);
}

TEST(OperationTime, ShiftsTheCurrentByTheTransformerRatio) {
  const vth_class c = StepCharacteristic();
  // The fault current is e^0.5 times the device current.
  EXPECT_DOUBLE_EQ(static_cast<double>(LowerTime(c, 0.5, 1.25)), 7);
  EXPECT_NEAR(static_cast<double>(ShortestTime(c, 0.5, std::exp(1.25L))), std::exp(7.0), 1e-9);
  EXPECT_NEAR(static_cast<double>(LongestTime(c, 0.5, std::exp(1.25L))), std::exp(8.0), 1e-9);
}

TEST(OperationTime, IsThe9999CapForNoCurrentOrNoCharacteristic) {
  const vth_class c = StepCharacteristic();
  EXPECT_EQ(ShortestTime(c, 0, 0), 9999);
  EXPECT_EQ(LongestTime(c, 0, -1), 9999);
  EXPECT_EQ(LongestTime(c, 0, std::numeric_limits<long double>::quiet_NaN()), 9999);

  EXPECT_EQ(ShortestTime(static_cast<const ElementAttachment*>(nullptr), 0, 5), 9999);
  EXPECT_EQ(UpperTime(static_cast<const ElementAttachment*>(nullptr), 0, 5), 10);
  class OtherAttachment : public ElementAttachment {};
  const OtherAttachment other;
  EXPECT_EQ(LongestTime(&other, 0, 5), 9999);

  const ElementAttachment* held = &c;
  EXPECT_NEAR(static_cast<double>(ShortestTime(held, 0, std::exp(0.75L))), std::exp(7.0), 1e-9);
}

TEST(OperationTime, AnEmptyCharacteristicNeverOperates) {
  const vth_class empty;
  for (long double currentKA : {0.001L, 1.0L, 1.5L, 100.0L, 1e6L}) {
    EXPECT_EQ(ShortestTime(empty, 0, currentKA), 9999);
    EXPECT_EQ(LongestTime(empty, 0, currentKA), 9999);
  }
}

TEST(OperationTime, ReadsADamagedCurveAsNoOperation) {
  vth_class c = StepCharacteristic();
  c.lower.lnTime[0] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(Lower(c, 0.75), 10);
  EXPECT_EQ(ShortestTime(c, 0, std::exp(0.75L)), 9999);
  c.lower.lnTime[1] = std::numeric_limits<float>::infinity();
  EXPECT_EQ(ShortestTime(c, 0, std::exp(1.25L)), 9999);
}

// --- Prepared readings ----------------------------------------------------------------

// Currents at and around every place a reading could change its zone, and a
// sweep over the whole range between.
std::vector<long double> Probes(const vth_class& c, long double shift) {
  std::vector<float> bounds{c.lnIm, c.lnImax};
  for (const VthCurve* curve : {&c.lower, &c.upper}) {
    bounds.insert(bounds.end(), curve->lnCurrent.begin(), curve->lnCurrent.end());
  }
  std::vector<long double> probes{0, -1, std::numeric_limits<long double>::infinity(),
                                  std::numeric_limits<long double>::quiet_NaN()};
  for (const float v : bounds) {
    long double at = std::exp(static_cast<long double>(v) + shift);
    for (const long double factor : {1.0L, 1 + 1e-12L, 1 - 1e-12L, 1 + 1e-9L, 1 - 1e-9L, 1 + 2e-9L,
                                     1 - 2e-9L, 1.001L, 0.999L}) {
      probes.push_back(at * factor);
    }
    for (int ulps = 0; ulps < 4; ++ulps) {
      probes.push_back(at);
      at = std::nextafter(at, std::numeric_limits<long double>::infinity());
    }
  }
  for (int k = -400; k <= 400; ++k) probes.push_back(std::exp(k / 40.0L));
  return probes;
}

TEST(PreparedReading, GivesTheFullReadingsTimesBitForBit) {
  vth_class shortTime = ThresholdCharacteristic();
  shortTime.lnImax = 3.5f;
  vth_class fastStep = StepCharacteristic();
  fastStep.lower.lnTime[5] = fastStep.lower.lnTime[6] = -9;
  vth_class damaged = StepCharacteristic();
  damaged.upper.lnTime[2] = std::numeric_limits<float>::quiet_NaN();
  const vth_class characteristics[] = {
      StepCharacteristic(), ThresholdCharacteristic(), shortTime, fastStep, damaged, vth_class{}};
  for (const vth_class& c : characteristics) {
    for (const long double shift : {0.0L, 3.2188758L, -0.7L, static_cast<long double>(0.35f)}) {
      const CurveReading longest(c, c.upper, shift);
      const CurveReading shortest(c, c.lower, shift);
      for (const long double current : Probes(c, shift)) {
        EXPECT_EQ(longest.Time(current), LongestTime(c, shift, current))
            << "shift " << shift << ", current " << current;
        EXPECT_EQ(shortest.Time(current), ShortestTime(c, shift, current))
            << "shift " << shift << ", current " << current;
      }
      for (int k = 0; k < kCurvePoints; ++k) {
        EXPECT_EQ(shortest.PointCurrent(k),
                  std::exp(static_cast<long double>(c.lower.lnCurrent[k])));
      }
    }
  }
  EXPECT_EQ(CurveReading().Time(5), 9999);
}

TEST(PreparedReading, DevicesOfEqualCurvesAndShiftShareOneReadingUntilCleared) {
  const vth_class a = StepCharacteristic();
  const vth_class b = StepCharacteristic();
  vth_class other = StepCharacteristic();
  other.upper.lnTime[3] = 2.5f;
  CurveReadings readings;
  const CurveReading& first = readings.Longest(&a, 0);
  EXPECT_EQ(&readings.Longest(&b, 0), &first);
  EXPECT_NE(&readings.Longest(&other, 0), &first);
  EXPECT_NE(&readings.Longest(&a, 0.5L), &first);
  EXPECT_NE(&readings.Shortest(&a, 0), &first);
  EXPECT_EQ(readings.Longest(&other, 0).Time(std::exp(1.75L)),
            LongestTime(other, 0, std::exp(1.75L)));
  // Shifts that are not a number read alike and share a reading.
  const long double nan = std::numeric_limits<long double>::quiet_NaN();
  EXPECT_EQ(&readings.Longest(&a, nan), &readings.Longest(&b, -nan));
  EXPECT_EQ(readings.Longest(nullptr, 0).Time(5), 9999);

  // A characteristic prepared anew reads its new curves after Clear.
  vth_class changed = StepCharacteristic();
  const long double before = readings.Longest(&changed, 0).Time(std::exp(2.25L));
  changed.upper.lnTime = other.upper.lnTime;
  readings.Clear();
  const long double after = readings.Longest(&changed, 0).Time(std::exp(2.25L));
  EXPECT_NE(before, after);
  EXPECT_EQ(after, LongestTime(changed, 0, std::exp(2.25L)));
}

}  // namespace
}  // namespace kordavelt
