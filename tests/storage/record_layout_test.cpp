// How a field of a record layout is shown as text: the dump and the model
// check show every field this way.

#include "storage/record_layout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace kordavelt {
namespace {

// Catches a sign lost, a float shown with too many digits or as its bits, a
// string not decoded from code page 1251, and a raw span not in hexadecimal.
TEST(RecordLayout, FieldTextShowsEachTypeAsTheProgramWritesIt) {
  const std::vector<std::uint8_t> record = {
      0xFB,                    // 0: -5 as I8, 251 as U8
      0x2E, 0xFB,              // 1: -1234 as I16, 64302 as U16
      0xEB, 0x32, 0xA4, 0xF8,  // 3: -123456789
      0x00, 0x00, 0xC8, 0x3F,  // 7: 1.5625f
      0x03, 0xD9, 0xE5, 0xF5,  // 11: string[4] of length 3
      0x01, 0xAB,              // 15: raw
  };
  EXPECT_EQ(FieldText(record, {"a", 0, FieldType::I8}), "-5");
  EXPECT_EQ(FieldText(record, {"a", 0, FieldType::U8}), "251");
  EXPECT_EQ(FieldText(record, {"a", 1, FieldType::I16}), "-1234");
  EXPECT_EQ(FieldText(record, {"a", 1, FieldType::U16}), "64302");
  EXPECT_EQ(FieldText(record, {"a", 3, FieldType::I32}), "-123456789");
  EXPECT_EQ(FieldText(record, {"a", 7, FieldType::F32}), "1.5625");
  EXPECT_EQ(FieldText(record, {"a", 11, FieldType::String, 4}), "Щех");
  EXPECT_EQ(FieldText(record, {"a", 15, FieldType::Raw, 2}), "01AB");
}

// Catches a field of a damaged, short record read past the record's end.
TEST(RecordLayout, FieldTextOfAFieldPastAShortRecordShowsWhatIsThere) {
  const std::vector<std::uint8_t> record = {0x05, 0xC0, 0xC1};
  EXPECT_EQ(FieldText(record, {"a", 2, FieldType::I32}), "0");
  EXPECT_EQ(FieldText(record, {"a", 0, FieldType::String, 19}), "АБ");
  EXPECT_EQ(FieldText(record, {"a", 1, FieldType::Raw, 112}), "C0C1");
  EXPECT_EQ(FieldText(record, {"a", 9, FieldType::Raw, 4}), "");
  EXPECT_EQ(FieldText(record, {"a", 9, FieldType::String, 4}), "");
}

}  // namespace
}  // namespace kordavelt
