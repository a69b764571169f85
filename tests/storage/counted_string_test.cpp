// Counted strings are read straight from files: a length byte larger than
// the field must not read the next field or past the record.

#include "storage/counted_string.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace kordavelt {
namespace {

TEST(CountedString, RoundTripsCyrillicText) {
  std::array<std::uint8_t, 11> field{};
  ASSERT_TRUE(WriteCountedString(field, 0, 10, "АВВГ-4*95"));
  EXPECT_EQ(field[0], 9);
  EXPECT_EQ(field[1], 0xC0);  // А in code page 1251
  EXPECT_EQ(ReadCountedString(field, 0, 10), "АВВГ-4*95");
}

TEST(CountedString, WritingCutsAtTheCapacityInCharacters) {
  std::array<std::uint8_t, 6> field{};
  ASSERT_TRUE(WriteCountedString(field, 0, 5, "Трансформатор"));
  EXPECT_EQ(field[0], 5);
  EXPECT_EQ(ReadCountedString(field, 0, 5), "Транс");
}

TEST(CountedString, BytesAfterTheTextKeepWhatTheyHeld) {
  std::array<std::uint8_t, 6> field{3, 'x', 'y', 'z', 'Q', 'R'};
  ASSERT_TRUE(WriteCountedString(field, 0, 5, "ab"));
  EXPECT_EQ(field, (std::array<std::uint8_t, 6>{2, 'a', 'b', 'z', 'Q', 'R'}));
}

TEST(CountedString, DamagedLengthIsCutToTheFieldAndTheBuffer) {
  std::vector<std::uint8_t> record = {200, 'a', 'b', 'c', 'd'};
  EXPECT_EQ(ReadCountedString(record, 0, 3), "abc");
  EXPECT_EQ(ReadCountedString(record, 0, 50), "abcd");
  EXPECT_EQ(ReadCountedString(record, 5, 3), "");
}

TEST(CountedString, FieldThatDoesNotFitIsNotWritten) {
  std::array<std::uint8_t, 4> record{9, 9, 9, 9};
  EXPECT_FALSE(WriteCountedString(record, 1, 3, "ab"));
  EXPECT_EQ(record, (std::array<std::uint8_t, 4>{9, 9, 9, 9}));
  EXPECT_FALSE(WriteCountedString(record, 0, 300, "ab"));
}

}  // namespace
}  // namespace kordavelt
