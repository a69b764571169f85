// Every record field goes through these accessors; a byte-order slip or an
// unchecked offset would corrupt files or read outside a damaged record.

#include "base/le_bytes.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

namespace kordavelt {
namespace {

TEST(LittleEndianFields, IntegersAreStoredLowByteFirst) {
  std::array<std::uint8_t, 8> bytes{};
  WriteI32(bytes, 0, 0x12345678);
  EXPECT_EQ(bytes[0], 0x78);
  EXPECT_EQ(bytes[3], 0x12);
  WriteU16(bytes, 4, 0xBEEF);
  EXPECT_EQ(bytes[4], 0xEF);
  EXPECT_EQ(bytes[5], 0xBE);
  EXPECT_EQ(ReadI32(bytes, 0), 0x12345678);
  EXPECT_EQ(ReadU16(bytes, 4), 0xBEEF);
}

TEST(LittleEndianFields, SignedFieldsKeepTheirSign) {
  std::array<std::uint8_t, 6> bytes{};
  WriteI16(bytes, 0, -2);
  WriteI32(bytes, 2, std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ReadI16(bytes, 0), -2);
  EXPECT_EQ(ReadU16(bytes, 0), 0xFFFE);
  EXPECT_EQ(ReadI32(bytes, 2), std::numeric_limits<std::int32_t>::min());
}

TEST(LittleEndianFields, FloatsRoundTripBitForBit) {
  std::array<std::uint8_t, 12> bytes{};
  WriteF32(bytes, 0, 0.4f);
  WriteF64(bytes, 4, -1.0e-300);
  EXPECT_EQ(ReadF32(bytes, 0), 0.4f);
  EXPECT_EQ(ReadF64(bytes, 4), -1.0e-300);
  // 1.0f is 0x3F800000.
  WriteF32(bytes, 0, 1.0f);
  EXPECT_EQ(ReadU32(bytes, 0), 0x3F800000u);
}

TEST(LittleEndianFields, AccessOutsideTheBufferReadsZeroAndWritesNothing) {
  std::array<std::uint8_t, 4> bytes{1, 2, 3, 4};
  EXPECT_EQ(ReadI32(bytes, 1), 0);
  EXPECT_EQ(ReadU16(bytes, 3), 0);
  EXPECT_EQ(ReadU8(bytes, 4), 0);
  EXPECT_EQ(ReadF64(bytes, 0), 0.0);
  EXPECT_EQ(ReadU32(bytes, std::numeric_limits<std::size_t>::max()), 0u);
  WriteI32(bytes, 2, -1);
  WriteU16(bytes, std::numeric_limits<std::size_t>::max() - 1, 0xFFFF);
  EXPECT_EQ(bytes, (std::array<std::uint8_t, 4>{1, 2, 3, 4}));
}

TEST(LittleEndianFields, FitsGuardsAgainstOffsetOverflow) {
  EXPECT_TRUE(Fits(2048, 2044, 4));
  EXPECT_FALSE(Fits(2048, 2045, 4));
  EXPECT_FALSE(Fits(2048, std::numeric_limits<std::size_t>::max(), 2));
  EXPECT_TRUE(Fits(0, 0, 0));
}

}  // namespace
}  // namespace kordavelt
