// The window's columns read the record fields the layouts describe, and the
// texts of export read back to the same values.

#include "refbook/book_cells.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>

#include "refbook/book_layouts.h"
#include "refbook/book_tables.h"

namespace kordavelt {
namespace {

// The field type and width a column expects at its offset.
struct Expected {
  FieldType type;
  int size = 0;
};

std::optional<Expected> ExpectedField(const BookColumn& column) {
  switch (column.field) {
    case BookField::Number:
    case BookField::Values:
      return Expected{FieldType::F32};
    case BookField::Byte:
    case BookField::Choice:
    case BookField::Check:
    case BookField::Slot:
    case BookField::MotorKind:
      return Expected{FieldType::U8};
    case BookField::SignedByte:
      return Expected{FieldType::I8};
    case BookField::Name:
      return Expected{FieldType::String, column.size};
    case BookField::Vth:
      return Expected{FieldType::Raw, 112};
    case BookField::Series:
      return Expected{FieldType::U16};
    case BookField::Brand:
    case BookField::TripUnit:
    case BookField::MotorType:
      return Expected{FieldType::I32};
    case BookField::Qnom:
    case BookField::Code:
      return std::nullopt;
  }
  return std::nullopt;
}

TEST(BookCellsTest, ColumnsReadTheFieldsOfTheRecordLayouts) {
  for (int table : BookTables()) {
    if (table == book::kBreakerSeriesTable) continue;
    SCOPED_TRACE(table);
    const RecordLayout* layout = BookRecordLayout(table);
    ASSERT_NE(layout, nullptr);
    std::set<int> offsets;
    for (const BookColumn& column : BookColumns(table)) {
      const std::optional<Expected> expected = ExpectedField(column);
      if (!expected) continue;
      SCOPED_TRACE(column.offset);
      const auto field = std::ranges::find(layout->fields, column.offset, &FieldDef::offset);
      ASSERT_NE(field, layout->fields.end());
      EXPECT_EQ(field->type, expected->type) << field->name;
      if (expected->size != 0) {
        EXPECT_EQ(field->size, expected->size) << field->name;
      }
      if (column.field == BookField::Values) {
        const int last = column.offset + 4 * (column.size - 1);
        EXPECT_NE(std::ranges::find(layout->fields, last, &FieldDef::offset), layout->fields.end());
      }
      // Only the bits of a flags byte are shared between columns.
      if (column.field != BookField::Choice) {
        EXPECT_TRUE(offsets.insert(column.offset).second) << "two columns on one field";
      }
    }
  }
}

TEST(BookCellsTest, ExactNumbersReadBackToTheSameFloat) {
  for (float value : {0.1f, 1.15f, 1e-5f, -2.4692357f, 3.4e12f, 0.0f, 65535.0f}) {
    const std::string text = BookNumberText(value, true);
    EXPECT_EQ(text.find_first_of("eE"), std::string::npos) << text;
    float back = -1;
    ASSERT_TRUE(ParseBookFloat(text, back)) << text;
    EXPECT_EQ(back, value) << text;
  }
  EXPECT_EQ(BookNumberText(1.2345678f, false), "1.2346");
  float value = 7;
  EXPECT_FALSE(ParseBookFloat("1e99", value));
  EXPECT_FALSE(ParseBookFloat("nan", value));
  EXPECT_FALSE(ParseBookFloat("", value));
  EXPECT_EQ(value, 7);
  EXPECT_TRUE(ParseBookFloat(" +2.5 ", value));
  EXPECT_EQ(value, 2.5f);
}

TEST(BookCellsTest, ValueListsAsTextAndBack) {
  EXPECT_EQ(ParseBookValueList("100;125,160#200_", 5), (std::vector<float>{100, 125, 160, 200, 0}));
  EXPECT_EQ(ParseBookValueList("0.4-0.69", 5), (std::vector<float>{0.4f, 0, 0.69f, 0, 0}));
  EXPECT_EQ(ParseBookValueList("1;2;3;4;5;6", 5), (std::vector<float>{1, 2, 3, 4, 5}));
  EXPECT_EQ(ParseBookValueList(";;x;3", 3), (std::vector<float>{0, 3, 0}));
  const std::vector<float> small = {0.00001f, 0.5f, 0, 0, 0};
  EXPECT_EQ(ParseBookValueList(BookValueListText(small, true), 5), small)
      << "no exponent that would read as a range";
  EXPECT_EQ(BookValueListText({63, 0, 100, 0, 0}, true), "63-100");
  EXPECT_EQ(BookValueListText({0, 5, 6}, true), "");
}

}  // namespace
}  // namespace kordavelt
