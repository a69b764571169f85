// The characteristic object and its stored form. The tests catch: the two
// curves or the current and time halves swapped between block and object, a
// damaged or short block read past its end or as NaN, and shifts or point
// settings that reach the instantaneous zone or the wrong curve.

#include "calc/vth_class.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "characteristic_builder.h"
#include "refbook/vth_block.h"

namespace kordavelt {
namespace {

using test::Block;
using test::ReleaseLower;
using test::ReleaseUpper;
using test::VthBytes;

TEST(VthBlockConversion, ReadsPointsOneToSevenAsTheLowerCurve) {
  VthBytes block{};
  SetVthPoint(block, 2, {0.25f, 4.5f});
  SetVthPoint(block, 7, {2.0f, -3.0f});
  SetVthPoint(block, 9, {0.5f, 5.5f});
  const vth_class c = vth_class::FromBlock(block);
  EXPECT_EQ(c.lower.lnCurrent[1], 0.25f);
  EXPECT_EQ(c.lower.lnTime[1], 4.5f);
  EXPECT_EQ(c.lower.lnCurrent[6], 2.0f);
  EXPECT_EQ(c.lower.lnTime[6], -3.0f);
  EXPECT_EQ(c.upper.lnCurrent[1], 0.5f);
  EXPECT_EQ(c.upper.lnTime[1], 5.5f);
  // The thresholds are not part of the block.
  EXPECT_EQ(c.lnIm, 20.0f);
  EXPECT_EQ(c.lnTm, 20.0f);
  EXPECT_EQ(c.lnImax, -20.0f);
  EXPECT_EQ(c.lnIr, 0.0f);
}

TEST(VthBlockConversion, WritesBackTheSameBytes) {
  const VthBytes stored = Block(ReleaseLower(), ReleaseUpper());
  VthBytes written{};
  vth_class::FromBlock(stored).ToBlock(written);
  EXPECT_EQ(written, stored);
  EXPECT_EQ(vth_class::FromBlock(stored).lower, ReleaseLower());
  EXPECT_EQ(vth_class::FromBlock(stored).upper, ReleaseUpper());
}

TEST(VthBlockConversion, AnEmptyBlockHasNoPoints) {
  const VthBytes empty{};
  EXPECT_FALSE(vth_class::FromBlock(empty).HasPoints());
  EXPECT_TRUE(vth_class::FromBlock(Block(ReleaseLower(), ReleaseUpper())).HasPoints());
}

TEST(VthBlockConversion, ReadsADamagedBlockSafely) {
  VthBytes block = Block(ReleaseLower(), ReleaseUpper());
  SetVthValue(block, 3, std::numeric_limits<float>::quiet_NaN());
  SetVthValue(block, 22, -std::numeric_limits<float>::infinity());
  const vth_class c = vth_class::FromBlock(block);
  EXPECT_EQ(c.lower.lnCurrent[2], 0.0f);
  EXPECT_EQ(c.upper.lnTime[0], 0.0f);
  EXPECT_EQ(c.lower.lnCurrent[3], ReleaseLower().lnCurrent[3]);

  // A record cut short gives zeros for the missing values, and writing into it
  // stays inside it.
  const std::array<std::uint8_t, 40> shortBlock{};
  EXPECT_FALSE(vth_class::FromBlock(shortBlock).HasPoints());
  std::array<std::uint8_t, 52> guarded{};
  guarded.fill(0xAB);
  vth_class::FromBlock(Block(ReleaseLower(), ReleaseUpper())).ToBlock(Bytes(guarded).first(48));
  EXPECT_EQ(guarded[48], 0xAB);
  EXPECT_EQ(VthValue(Bytes(guarded).first(48), 1), ReleaseLower().lnCurrent[0]);
}

TEST(CharacteristicEdits, ShiftsTheCurrentsOfBothCurves) {
  vth_class c = vth_class::FromBlock(Block(ReleaseLower(), ReleaseUpper()));
  c.ShiftCurrents(-2.0L);
  for (int k = 0; k < kCurvePoints; ++k) {
    EXPECT_FLOAT_EQ(c.lower.lnCurrent[k], ReleaseLower().lnCurrent[k] - 2.0f);
    EXPECT_FLOAT_EQ(c.upper.lnCurrent[k], ReleaseUpper().lnCurrent[k] - 2.0f);
    EXPECT_EQ(c.lower.lnTime[k], ReleaseLower().lnTime[k]);
  }
}

TEST(CharacteristicEdits, ShiftsOnlyTheOverloadTimes) {
  vth_class c = vth_class::FromBlock(Block(ReleaseLower(), ReleaseUpper()));
  c.ShiftTimes(1.0L, 5);
  EXPECT_FLOAT_EQ(c.lower.lnTime[4], ReleaseLower().lnTime[4] + 1);
  EXPECT_FLOAT_EQ(c.upper.lnTime[0], ReleaseUpper().lnTime[0] + 1);
  EXPECT_EQ(c.lower.lnTime[5], ReleaseLower().lnTime[5]);
  EXPECT_EQ(c.upper.lnTime[6], ReleaseUpper().lnTime[6]);
  EXPECT_EQ(c.lower.lnCurrent, ReleaseLower().lnCurrent);

  // Point counts outside 0 ... 7 stay inside the curves.
  c.ShiftTimes(1.0L, 99);
  c.SetPoints(-3, 1, 1);
  EXPECT_FLOAT_EQ(c.upper.lnTime[6], ReleaseUpper().lnTime[6] + 1);
}

TEST(LoadEnvelope, IsClearedToItsStartPoint) {
  vth_class c;
  c.envelope[3] = {1.0f, 2.0f};
  c.envelopeCount = 3;
  c.ClearEnvelope();
  EXPECT_EQ(c.envelopeCount, 0);
  EXPECT_EQ(c.envelope[0].lnCurrent, -20.0f);
  EXPECT_EQ(c.envelope[0].lnTime, 20.0f);
  EXPECT_EQ(c.envelope[3].lnTime, -20.0f);
  EXPECT_EQ(c.envelope[20].lnCurrent, -20.0f);
  EXPECT_EQ(vth_class{}.envelope[0].lnTime, 20.0f);
}

}  // namespace
}  // namespace kordavelt
