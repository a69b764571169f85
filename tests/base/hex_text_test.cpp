// Hexadecimal cells edit raw record bytes; a wrong digit value silently
// corrupts a stored characteristic.

#include "base/hex_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace kordavelt {
namespace {

TEST(HexText, BytesRoundTripThroughUpperCaseDigits) {
  const std::vector<std::uint8_t> bytes = {10, 255, 0, 0x5A};
  EXPECT_EQ(BytesToHex(bytes), "0AFF005A");
  EXPECT_EQ(HexToBytes("0AFF005A"), bytes);
}

TEST(HexText, DumpsAndReadsAtMost128Bytes) {
  const std::vector<std::uint8_t> bytes(200, 0xAB);
  EXPECT_EQ(BytesToHex(bytes).size(), 256u);
  EXPECT_EQ(HexToBytes(std::string(400, 'A')).size(), 128u);
}

TEST(HexText, OddLastDigitIsIgnored) {
  EXPECT_EQ(HexToBytes("0AF"), std::vector<std::uint8_t>{10});
  EXPECT_TRUE(HexToBytes("F").empty());
}

TEST(HexByte, CombinesTwoDigits) {
  EXPECT_EQ(HexByte('F', 'F'), 255);
  EXPECT_EQ(HexByte('0', 'A'), 10);
  EXPECT_EQ(HexByte('a', 'b'), 0xAB) << "lower-case digits typed into a cell count";
  EXPECT_EQ(HexByte('G', '1'), 1) << "a non-digit counts as 0, never as a negative value";
}

TEST(Base36Value, KnowsDigitsAndUpperCaseLettersOnly) {
  EXPECT_EQ(Base36Value('0'), 0);
  EXPECT_EQ(Base36Value('9'), 9);
  EXPECT_EQ(Base36Value('A'), 10);
  EXPECT_EQ(Base36Value('Z'), 35);
  EXPECT_EQ(Base36Value('z'), -1);
  EXPECT_EQ(Base36Value('#'), -1);
  EXPECT_EQ(Base36Value('\0'), -1);
}

}  // namespace
}  // namespace kordavelt
