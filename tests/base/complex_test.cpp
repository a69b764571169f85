// Complex arithmetic carries every current, voltage and impedance of the
// calculation. The tests catch: intermediate results rounded to float, the
// vanishing-divisor rules, the argument's cut-offs, a and a² swapped in the
// symmetrical components, and the text forms shown in tables and on the scheme.
// Expected values are worked out from the rules by hand.

#include "base/complex.h"

#include <gtest/gtest.h>

#include "base/number_format.h"

namespace kordavelt {
namespace {

constexpr double kTolerance = 1e-3;

void ExpectNear(const Complex& actual, const Complex& expected, double tolerance = kTolerance) {
  EXPECT_NEAR(actual.re, expected.re, tolerance);
  EXPECT_NEAR(actual.im, expected.im, tolerance);
}

TEST(ComplexArithmetic, FollowsTheTextbookFormulas) {
  const Complex z{1, 2};
  const Complex w{3, 4};
  EXPECT_EQ(Add(z, w), (Complex{4, 6}));
  EXPECT_EQ(Subtract(z, w), (Complex{-2, -2}));
  EXPECT_EQ(Multiply(z, w), (Complex{-5, 10}));
  EXPECT_EQ(Scale(z, 2.5L), (Complex{2.5f, 5}));
  EXPECT_EQ(Conjugate(z), (Complex{1, -2}));
  EXPECT_EQ(Divide(Complex{-5, 10}, w), z);
  EXPECT_EQ(Reciprocal(Complex{0, 2}), (Complex{0, -0.5f}));
  EXPECT_EQ(Abs2(w), 25);
  EXPECT_EQ(Abs(w), 5);
}

TEST(ComplexArithmetic, OperatorsAreTheNamedOperations) {
  const Complex z{1, 2};
  const Complex w{3, 4};
  EXPECT_EQ(z + w, Add(z, w));
  EXPECT_EQ(z - w, Subtract(z, w));
  EXPECT_EQ(z * w, Multiply(z, w));
  EXPECT_EQ(2 * z, Scale(z, 2));
  EXPECT_EQ(-z, (Complex{-1, -2}));
  Complex sum = z;
  sum += w;
  sum *= 2;
  EXPECT_EQ(sum, (Complex{8, 12}));
}

TEST(ComplexArithmetic, RoundsOnlyTheFinalResultToFloat) {
  // 4097² − 4095² = 16384, but 4097² = 16785409 is not a float: rounded on
  // its own it would make the difference 16383.
  EXPECT_EQ(Multiply(Complex{4097, 4095}, Complex{4097, 4095}).re, 16384.0f);
}

TEST(ComplexArithmetic, IsZeroOnlyForBothPartsExactlyZero) {
  EXPECT_TRUE(IsZero(kComplexZero));
  EXPECT_TRUE(IsZero(Complex{-0.0f, 0.0f}));
  EXPECT_FALSE(IsZero(Complex{0, 1e-30f}));
  EXPECT_FALSE(IsZero(kComplexOne));
}

TEST(ComplexDivision, GivesZeroForADivisorWithSquaredMagnitudeUpTo1e20) {
  EXPECT_EQ(Divide(Complex{1, 1}, Complex{1e-11f, 0}), kComplexZero);
  EXPECT_EQ(Divide(Complex{1, 1}, kComplexZero), kComplexZero);
  const Complex quotient = Divide(kComplexOne, Complex{1e-9f, 0});
  EXPECT_NEAR(quotient.re, 1e9, 1e3);
  EXPECT_EQ(quotient.im, 0);
}

TEST(ComplexDivision, ReciprocalRefusesOnlyAZeroValue) {
  EXPECT_EQ(Reciprocal(kComplexZero), kComplexZero);
  // Unlike Divide, a tiny but non-zero value still has a reciprocal.
  EXPECT_NEAR(Reciprocal(Complex{1e-11f, 0}).re, 1e11, 1e5);
}

TEST(RotationOperator, HasTheCubeRootOfUnityProperties) {
  ExpectNear(kOperatorA * kOperatorA, kOperatorA2, 1e-6);
  ExpectNear(kOperatorA * kOperatorA2, kComplexOne, 1e-6);
  ExpectNear(kComplexOne + kOperatorA + kOperatorA2, kComplexZero, 1e-6);
}

TEST(Argument, UsesTheCalculationsCutOffsAndConstants) {
  EXPECT_EQ(ArgumentRad(Complex{-1, 0}), 3.1415927L);
  EXPECT_EQ(ArgumentRad(Complex{0, -2}), -1.57079635L);
  EXPECT_EQ(ArgumentRad(Complex{0, 2}), 1.57079635L);
  EXPECT_EQ(ArgumentRad(Complex{1e-5f, 0}), 0);
  EXPECT_EQ(ArgumentRad(kComplexZero), 0);
  // |re|/|z| = 1e-5 is below 1e-4: a quarter turn as written, not atan(1e5).
  EXPECT_EQ(ArgumentRad(Complex{1e-5f, 1}), 1.57079635L);
}

TEST(Argument, CoversAllFourQuadrants) {
  const long double quarterPi = 0.78539816339744830962L;
  EXPECT_NEAR(static_cast<double>(ArgumentRad(Complex{1, 1})), quarterPi, 1e-12);
  EXPECT_NEAR(static_cast<double>(ArgumentRad(Complex{-1, 1})), 3.1415927L - quarterPi, 1e-12);
  EXPECT_NEAR(static_cast<double>(ArgumentRad(Complex{-1, -1})), -(3.1415927L - quarterPi), 1e-12);
  EXPECT_NEAR(static_cast<double>(ArgumentRad(Complex{1, -1})), -quarterPi, 1e-12);
}

TEST(Argument, InDegreesConvertsWithTheCalculationsPi) {
  EXPECT_EQ(ArgumentDeg(Complex{-1, 0}), 180);
  EXPECT_NEAR(static_cast<double>(ArgumentDeg(Complex{0, -2})), -1.57079635L * 180 / 3.1415927L,
              1e-12);
}

TEST(SymmetricalComponents, BalancedSetHasOnlyAPositiveSequence) {
  const Complex va{230, 0};
  const PhaseValues phases{va, kOperatorA2 * va, kOperatorA * va};
  const SequenceValues sequences = PhaseToSequence(phases);
  ExpectNear(sequences.positive, va);
  ExpectNear(sequences.negative, kComplexZero);
  ExpectNear(sequences.zero, kComplexZero);
}

TEST(SymmetricalComponents, PositiveSequenceGivesPhaseBAsASquaredTimesA) {
  const PhaseValues phases = SequenceToPhase({.zero = {}, .negative = {}, .positive = {1, 0}});
  ExpectNear(phases.a, kComplexOne, 1e-6);
  ExpectNear(phases.b, kOperatorA2, 1e-6);
  ExpectNear(phases.c, kOperatorA, 1e-6);
}

TEST(SymmetricalComponents, OnePhaseAloneSplitsIntoThreeEqualThirds) {
  const SequenceValues sequences = PhaseToSequence({{100, 0}, {}, {}});
  EXPECT_EQ(sequences.zero, (Complex{100.0f / 3, 0}));
  EXPECT_EQ(sequences.negative, (Complex{100.0f / 3, 0}));
  EXPECT_EQ(sequences.positive, (Complex{100.0f / 3, 0}));
}

TEST(SymmetricalComponents, EqualPhasesAreAllZeroSequence) {
  const Complex v{50, -20};
  const SequenceValues sequences = PhaseToSequence({v, v, v});
  ExpectNear(sequences.zero, v);
  ExpectNear(sequences.negative, kComplexZero);
  ExpectNear(sequences.positive, kComplexZero);
}

TEST(SymmetricalComponents, RoundTripsAnUnbalancedSetBothWays) {
  const PhaseValues phases{{220, 10}, {-100, -180}, {-120, 200}};
  const PhaseValues back = SequenceToPhase(PhaseToSequence(phases));
  ExpectNear(back.a, phases.a);
  ExpectNear(back.b, phases.b);
  ExpectNear(back.c, phases.c);

  const SequenceValues sequences{.zero = {5, 1}, .negative = {-3, 12}, .positive = {200, -40}};
  const SequenceValues again = PhaseToSequence(SequenceToPhase(sequences));
  ExpectNear(again.zero, sequences.zero);
  ExpectNear(again.negative, sequences.negative);
  ExpectNear(again.positive, sequences.positive);
}

class ComplexText : public ::testing::Test {
 protected:
  void SetUp() override {
    Digits = 5;
    MinNull = 1e-6f;
  }
  void TearDown() override {
    Digits = savedDigits_;
    MinNull = savedMinNull_;
  }

 private:
  int savedDigits_ = Digits;
  float savedMinNull_ = MinNull;
};

TEST_F(ComplexText, WritesRealPartThenSignedImaginaryPart) {
  EXPECT_EQ(ComplexToText(Complex{5, -2}), "5-j2");
  EXPECT_EQ(ComplexToText(Complex{-3, 4.5f}), "-3+j4.5");
  EXPECT_EQ(ComplexToText(Complex{1.5f, 0}), "1.5");
}

TEST_F(ComplexText, LeavesOutPartsNotAbove1e6) {
  EXPECT_EQ(ComplexToText(kComplexZero), "0");
  EXPECT_EQ(ComplexToText(Complex{0, 3}), "+j3");
  EXPECT_EQ(ComplexToText(Complex{5e-7f, 2}), "+j2");
  EXPECT_EQ(ComplexToText(Complex{1e-6f, -1e-6f}), "0");
}

TEST_F(ComplexText, PolarFormWritesMagnitudeAndAngleInDegrees) {
  EXPECT_EQ(ComplexToPolarText(Complex{3, 4}), "5<53.13°");
  EXPECT_EQ(ComplexToPolarText(Complex{0, -2}), "2<-90°");
  EXPECT_EQ(ComplexToPolarText(Complex{5, 0.005f}), "5<0.0573°");
}

TEST_F(ComplexText, PolarFormDropsAnglesWithinAHundredthOfADegreeOfTheRealAxis) {
  EXPECT_EQ(ComplexToPolarText(Complex{2, 0}), "2");
  EXPECT_EQ(ComplexToPolarText(Complex{5, 0.0005f}), "5");
  EXPECT_EQ(ComplexToPolarText(Complex{-5, 0}), "-5");
  EXPECT_EQ(ComplexToPolarText(Complex{-5, 0.0005f}), "-5");
  EXPECT_EQ(ComplexToPolarText(Complex{-5, -0.0005f}), "-5");
  EXPECT_EQ(ComplexToPolarText(kComplexZero), "0");
}

}  // namespace
}  // namespace kordavelt
