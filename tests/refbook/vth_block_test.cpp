#include "refbook/vth_block.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace kordavelt {
namespace {

using Block = std::array<std::uint8_t, kVthBytes>;

TEST(VthBlockTest, HexRoundTrip) {
  Block block{};
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i * 37);
  const std::string hex = VthToHex(block);
  ASSERT_EQ(hex.size(), 224u);
  EXPECT_EQ(hex.substr(0, 8), "00254A6F");
  EXPECT_EQ(hex.find_first_of("abcdef"), std::string::npos);

  Block back{};
  EXPECT_TRUE(VthFromHex(hex, back));
  EXPECT_EQ(back, block);
  // Lower-case digits are read too, and anything after 224 digits is ignored.
  Block lower{};
  std::string text = hex;
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_TRUE(VthFromHex(text + "ZZ", lower));
  EXPECT_EQ(lower, block);
}

TEST(VthBlockTest, BadTextLeavesTheBlockAlone) {
  Block block{};
  block.fill(0x11);
  const Block before = block;
  EXPECT_FALSE(VthFromHex(std::string(222, '0'), block));
  std::string text(224, 'F');
  text[100] = 'G';
  EXPECT_FALSE(VthFromHex(text, block));
  EXPECT_EQ(block, before);
  std::array<std::uint8_t, 10> small{};
  EXPECT_FALSE(VthFromHex(std::string(224, '0'), small));
}

TEST(VthBlockTest, EmptyBlockAndShortInput) {
  Block block{};
  EXPECT_TRUE(VthIsEmpty(block));
  EXPECT_EQ(VthToHex(block), std::string(224, '0'));
  block[111] = 1;
  EXPECT_FALSE(VthIsEmpty(block));
  const std::array<std::uint8_t, 2> shortBlock{0xAB, 0xCD};
  EXPECT_EQ(VthToHex(shortBlock), "ABCD" + std::string(220, '0'));
}

TEST(VthBlockTest, PointsOfTheTwoCurves) {
  Block block{};
  for (int i = 1; i <= kVthValues; ++i) SetVthValue(block, i, static_cast<float>(i));
  EXPECT_EQ(VthPointAt(block, 1).lnCurrent, 1);
  EXPECT_EQ(VthPointAt(block, 1).lnTime, 8);
  EXPECT_EQ(VthPointAt(block, 7).lnTime, 14);
  EXPECT_EQ(VthPointAt(block, 8).lnCurrent, 15);
  EXPECT_EQ(VthPointAt(block, 8).lnTime, 22);
  EXPECT_EQ(VthPointAt(block, 14).lnTime, 28);
  EXPECT_EQ(VthPointAt(block, 15).lnCurrent, 0);
  EXPECT_EQ(VthValue(block, 0), 0);

  Block other{};
  SetVthPoint(other, 9, {2.5f, -1.0f});
  EXPECT_EQ(VthValue(other, 16), 2.5f);
  EXPECT_EQ(VthValue(other, 23), -1.0f);
  SetVthPoint(other, 0, {1, 1});
  SetVthValue(other, 29, 1);
  EXPECT_EQ(VthValue(other, 1), 0);
}

}  // namespace
}  // namespace kordavelt
