// Sign, power, interpolation and bit fields feed the empirical resistance
// formulas, the characteristic curves and every equipment type code. The tests
// catch: a NaN or infinity from the power function for a missing value,
// swapped interpolation arguments, bit numbers not taken modulo 32, and bit
// fields that spill into their neighbours or past their highest usable bit.

#include "base/math_box.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

TEST(Sign, IsPlusOneFromZeroUp) {
  EXPECT_EQ(Sign(0.0L), 1);
  EXPECT_EQ(Sign(-0.0L), 1);
  EXPECT_EQ(Sign(7.5L), 1);
  EXPECT_EQ(Sign(-1e-30L), -1);
}

TEST(Power, RaisesABaseToARealExponent) {
  EXPECT_NEAR(static_cast<double>(Power(0.5L, 16)), 4, 1e-15);
  EXPECT_NEAR(static_cast<double>(Power(2, 10)), 100, 1e-13);
  EXPECT_NEAR(static_cast<double>(Power(-1, 4)), 0.25, 1e-15);
  EXPECT_NEAR(static_cast<double>(Power(-0.6L, 1)), 1, 1e-15);
  EXPECT_NEAR(static_cast<double>(Power(0, 123.4L)), 1, 1e-15);
}

TEST(Power, GivesZeroForABaseThatIsNotPositive) {
  EXPECT_EQ(Power(-0.5981L, 0), 0);  // would be infinity
  EXPECT_EQ(Power(2, -4), 0);        // would be NaN through log2, 16 by repeated multiplication
  EXPECT_EQ(Power(0.5L, -1), 0);
}

TEST(Interpolate, FollowsTheLineThroughBothPoints) {
  // Arguments in the order y1, y0, x1, x0, x.
  EXPECT_EQ(Interpolate(20, 10, 4, 2, 2), 10);
  EXPECT_EQ(Interpolate(20, 10, 4, 2, 4), 20);
  EXPECT_EQ(Interpolate(20, 10, 4, 2, 3), 15);
  EXPECT_EQ(Interpolate(20, 10, 4, 2, 6), 30);
  EXPECT_EQ(Interpolate(20, 10, 4, 2, 0), 0);
}

TEST(Interpolate, GivesTheLargerYWhenBothXAreEqual) {
  EXPECT_EQ(Interpolate(3, 7, 1, 1, 5), 7);
  EXPECT_EQ(Interpolate(7, 3, 1, 1, 5), 7);
}

TEST(BitSet, SetsTestsClearsAndTogglesOneMember) {
  EXPECT_EQ(BitSet(0, 3), 8u);
  EXPECT_TRUE(BitTest(8, 3));
  EXPECT_FALSE(BitTest(8, 2));
  EXPECT_EQ(BitToggle(8, 3), 0u);
  EXPECT_EQ(BitToggle(BitToggle(0x1234, 7), 7), 0x1234u);
  EXPECT_EQ(BitClear(0xF, 0), 0xEu);
  EXPECT_TRUE(BitTest(0x80000000u, 31));
}

TEST(BitSet, TakesTheBitNumberModulo32) {
  EXPECT_TRUE(BitTest(8, 35));
  EXPECT_EQ(BitSet(0, 32), 1u);
  EXPECT_EQ(BitSet(0, -1), 0x80000000u);
}

TEST(BitField, InsertsTheLowBitsOfTheFieldAndKeepsItsNeighbours) {
  EXPECT_EQ(BitFieldInsert(0, 5, 8, 5), 0x500u);
  EXPECT_EQ(BitFieldInsert(0, 0xFF, 0, 4), 0xFu);
  EXPECT_EQ(BitFieldInsert(0xFFFFFFFF, 0, 4, 4), 0xFFFFFF0Fu);
  EXPECT_EQ(BitFieldInsert(0x500, 2, 8, 5), 0x200u);
}

TEST(BitField, ExtractReadsBackWhatInsertWrote) {
  // Voltage index in bits 27–31 and current index in bits 19–25 of one code.
  std::uint32_t code = BitFieldInsert(0, 12, 27, 5);
  code = BitFieldInsert(code, 47, 19, 7);
  EXPECT_EQ(code, (12u << 27) | (47u << 19));
  EXPECT_EQ(BitFieldExtract(code, 27, 5), 12u);
  EXPECT_EQ(BitFieldExtract(code, 19, 7), 47u);
}

TEST(BitField, IsCutAtTheLimitBit) {
  EXPECT_EQ(BitFieldInsert(0, 0xFF, 28, 8, 31), 0xF0000000u);
  EXPECT_EQ(BitFieldExtract(0xFFFFFFFF, 28, 8, 31), 0xFu);
  // A byte-sized set: bits 6–7 are all there is.
  EXPECT_EQ(BitFieldInsert(0, 0b111, 6, 3, 7), 0xC0u);
  EXPECT_EQ(BitFieldExtract(0x1C0, 6, 3, 7), 0b11u);
  // A limit past 31 is 31.
  EXPECT_EQ(BitFieldInsert(0, 0xFF, 28, 8, 40), 0xF0000000u);
}

TEST(BitField, StartingBeyondTheLimitReadsZeroAndWritesNothing) {
  EXPECT_EQ(BitFieldExtract(0xFFFFFFFF, 8, 4, 7), 0u);
  EXPECT_EQ(BitFieldInsert(0x12, 0xF, 8, 4, 7), 0x12u);
  EXPECT_EQ(BitFieldExtract(0xFFFFFFFF, 32, 4), 0u);
}

TEST(BitField, CoversAll32BitsWithoutOverflowingTheShift) {
  EXPECT_EQ(BitFieldInsert(0, 0x12345678, 0, 32), 0x12345678u);
  EXPECT_EQ(BitFieldExtract(0x87654321, 0, 32), 0x87654321u);
  EXPECT_EQ(BitFieldInsert(0, 1, 31, 1), 0x80000000u);
}

TEST(BitField, IgnoresEmptyOrNegativeFields) {
  EXPECT_EQ(BitFieldInsert(0x12, 0xF, 4, 0), 0x12u);
  EXPECT_EQ(BitFieldInsert(0x12, 0xF, -1, 4), 0x12u);
  EXPECT_EQ(BitFieldExtract(0xFF, 0, -3), 0u);
}

}  // namespace
}  // namespace kordavelt
