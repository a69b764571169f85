// Pasted lines and imported records share these accessors: a wrong rule here
// changes values silently on every import.

#include "base/paste_values.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

TEST(PasteValues, IntegersFromIntegersAndNumbers) {
  const std::string record = " 12 #12.7#-3.9#abc##99999999999#1e3";
  EXPECT_EQ(GetInt(record, 0), 12);
  EXPECT_EQ(GetInt(record, 1), 12);
  EXPECT_EQ(GetInt(record, 2), -3);
  EXPECT_EQ(GetInt(record, 3), 0);
  EXPECT_EQ(GetInt(record, 4), 0);
  EXPECT_EQ(GetInt(record, 5), 0) << "out of range is not a value";
  EXPECT_EQ(GetInt(record, 6), 1000);
  EXPECT_EQ(GetInt(record, 7), 0) << "beyond the record";
  EXPECT_EQ(GetInt(record, -1), 0);
}

TEST(PasteValues, Reals) {
  EXPECT_DOUBLE_EQ(GetReal("0.4# -1.5e-3 #x", 1), -0.0015);
  EXPECT_DOUBLE_EQ(GetReal("0.4#1,5", 1), 0) << "the decimal separator is '.'";
  EXPECT_DOUBLE_EQ(GetReal("0.4", 3), 0);
}

TEST(PasteValues, BooleansByFirstCharacter) {
  const std::string record = "Да#Y#T#Истина#Нет#N#0##D# Да ";
  EXPECT_TRUE(GetBool(record, 0));
  EXPECT_TRUE(GetBool(record, 1));
  EXPECT_TRUE(GetBool(record, 2));
  EXPECT_TRUE(GetBool(record, 3));
  EXPECT_FALSE(GetBool(record, 4));
  EXPECT_FALSE(GetBool(record, 5));
  EXPECT_FALSE(GetBool(record, 6));
  EXPECT_FALSE(GetBool(record, 7)) << "an empty item counts as a blank";
  EXPECT_TRUE(GetBool(record, 8));
  EXPECT_TRUE(GetBool(record, 9)) << "a quoted field read back with blanks around it";
  EXPECT_FALSE(GetBool(record, 10));
}

TEST(PasteValues, TextsAreTrimmed) {
  EXPECT_EQ(GetStr(" ТП-1 #\tАВВГ\r", 0), "ТП-1");
  EXPECT_EQ(GetStr(" ТП-1 #\tАВВГ\r", 1), "АВВГ");
  EXPECT_EQ(GetStr("a", 1), "");
}

TEST(PasteValues, CodesSplitAtTheDot) {
  EXPECT_EQ(GetCode("5.1", 0, 8), 1281);
  EXPECT_EQ(GetCode("x# 3.2 ", 1, 10), (3 << 10) + 2);
  EXPECT_EQ(GetCode("7", 0, 8), 7);
  EXPECT_EQ(GetCode("", 0, 8), 0);
  EXPECT_EQ(GetCode("a.b", 0, 8), 0);
  EXPECT_EQ(GetCode("99999999.1", 0, 31), static_cast<std::int32_t>(0x80000001u))
      << "a damaged key wraps rather than overflowing";
}

TEST(PasteValues, IndexAmongChoices) {
  EXPECT_EQ(GetIndex("x# Алюминий ", 1, "Медь#Алюминий"), 1);
  EXPECT_EQ(GetIndex("Медь", 0, "Медь#Алюминий"), 0);
  EXPECT_EQ(GetIndex("медь", 0, "Медь#Алюминий"), kNoIndex);
  EXPECT_EQ(GetIndex("Медь", 4, "Медь#Алюминий"), kNoIndex);
}

}  // namespace
}  // namespace kordavelt
