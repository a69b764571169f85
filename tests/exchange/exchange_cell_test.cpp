// The cell checks an import asks before it stores a value: a cell the
// accessors would read as 0 or cut to its integer part ("nan", "1e309",
// "0x10", "1.5" for a count) must be refused with its reason, and every
// form FormatNumber writes must pass.

#include "exchange/exchange_cell.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

std::string Number(std::string_view text) {
  double value = 0;
  return CheckNumberCell(text, value);
}

std::string Integer(std::string_view text, std::int64_t min, std::int64_t max) {
  std::int64_t value = 0;
  return CheckIntegerCell(text, min, max, value);
}

TEST(ExchangeCellTest, NumbersAreWholeFiniteDecimalTexts) {
  for (const char* text : {"0", "-12.5", " 7 ", "+3", "1.2346E+05", "1E-05"}) {
    EXPECT_EQ(Number(text), "") << text;
  }
  for (const char* text : {"abc", "0x10", "12abc", "nan", "-INF", "1,5", "1 000", "--1", "e5"}) {
    EXPECT_EQ(Number(text), "не число") << text;
  }
  EXPECT_EQ(Number("-1e309"), "вне диапазона чисел");
  EXPECT_EQ(Number("  "), "пустое значение");
  EXPECT_EQ(CheckFloatCell("3.4028E+38"), "");
  EXPECT_EQ(CheckFloatCell("-1e39"), "вне диапазона ±3.4E+38");
}

TEST(ExchangeCellTest, IntegersHaveNoFractionAndFitTheirField) {
  EXPECT_EQ(Integer("12.0", 0, 255), "") << "a whole number written with a point";
  EXPECT_EQ(Integer("1.5", 0, 255), "не целое число");
  EXPECT_EQ(Integer("-1", 0, 255), "вне диапазона 0…255");
  EXPECT_EQ(Integer("2147483648", INT32_MIN, INT32_MAX), "вне диапазона -2147483648…2147483647");
  // A key that 0 or a negative number leaves to the designation has only a top.
  EXPECT_EQ(Integer("-5", INT32_MIN, 65535), "");
  EXPECT_EQ(Integer("65536", INT32_MIN, 65535), "больше 65535");
}

TEST(ExchangeCellTest, CodesAreTwoIntegersInRangeOrTheKeyItself) {
  const CodeForm nodeAndSlot{8, 65535, 255, "узел", "присоединение"};
  const auto check = [&nodeAndSlot](std::string_view text, std::int64_t expected) {
    std::int64_t code = -99;
    const std::string reason = CheckCodeCell(text, nodeAndSlot, code);
    if (reason.empty()) {
      EXPECT_EQ(code, expected) << text;
    }
    return reason;
  };
  EXPECT_EQ(check("12.3", 12 * 256 + 3), "");
  EXPECT_EQ(check("0.0", 0), "");
  EXPECT_EQ(check("-1", -1), "");
  EXPECT_EQ(check("3075", 3075), "");
  EXPECT_EQ(check("16777216", 0), "больше 16777215");
  EXPECT_EQ(check("-1.0", 0), "узел: вне диапазона 0…65535");
  EXPECT_EQ(check("a.1", 0), "узел: не число");
  EXPECT_EQ(check("5.", 0), "присоединение: пустое значение");
  EXPECT_EQ(check("", 0), "пустое значение");
}

}  // namespace
}  // namespace kordavelt
