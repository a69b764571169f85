// Names of cables, designations and captions are stored in code page 1251; a
// wrong table entry turns "Ё" or "№" into another letter in every file.

#include "base/cp1251.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

std::string Bytes(std::initializer_list<unsigned char> bytes) {
  return std::string(bytes.begin(), bytes.end());
}

TEST(Cp1251, CyrillicLettersMapToTheirBytes) {
  EXPECT_EQ(Utf8ToCp1251("АВВГ"), Bytes({0xC0, 0xC2, 0xC2, 0xC3}));
  EXPECT_EQ(Utf8ToCp1251("яЁё№"), Bytes({0xFF, 0xA8, 0xB8, 0xB9}));
  EXPECT_EQ(Cp1251ToUtf8(Bytes({0xCA, 0xE0, 0xE1, 0xE5, 0xEB, 0xFC})), "Кабель");
}

TEST(Cp1251, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

TEST(Cp1251, SignsOfTheUpperHalfAreKnown) {
  EXPECT_EQ(Cp1251ToUtf8(Bytes({0xB0})), "°");
  EXPECT_EQ(Cp1251ToUtf8(Bytes({0x96, 0x97})), "–—");
  EXPECT_EQ(Cp1251ToUtf8(Bytes({0xAB, 0xBB})), "«»");
  EXPECT_EQ(Utf8ToCp1251("€"), Bytes({0x88}));
}

TEST(Cp1251, CharactersWithoutAByteBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("Ωx中"), "?x?");
  EXPECT_EQ(Utf8ToCp1251("😀"), "?");
}

TEST(Cp1251, MalformedUtf8NeverReadsPastTheText) {
  EXPECT_EQ(Utf8ToCp1251(Bytes({0xD0})), "?");                // truncated sequence
  EXPECT_EQ(Utf8ToCp1251(Bytes({0x80, 'a'})), "?a");          // stray continuation byte
  EXPECT_EQ(Utf8ToCp1251(Bytes({0xC0, 0x80})), "??");         // overlong NUL
  EXPECT_EQ(Utf8ToCp1251(Bytes({0xED, 0xA0, 0x80})), "???");  // surrogate
}

TEST(Utf8Text, LengthAndPrefixCountCharacters) {
  EXPECT_EQ(Utf8Length("АВВГ-4*95"), 9u);
  EXPECT_EQ(Utf8Prefix("АВВГ-4*95", 4), "АВВГ");
  EXPECT_EQ(Utf8Prefix("ab", 5), "ab");
  EXPECT_EQ(Utf8Prefix("", 3), "");
}

}  // namespace
}  // namespace kordavelt
