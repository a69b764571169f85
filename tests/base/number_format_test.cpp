// FormatNumber decides what an engineer reads for every value on screen and
// in every exported file. The expectations below were worked out by hand from
// the rule (integer digits estimated as round(ln|x| * 0.4343 + 0.505), at
// least Digits significant digits, 3 for numbers below 0.1, at most 11,
// plain notation for exponents -5 ... p - 1), not taken from the code.

#include "base/number_format.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

class ScopedNumberFormat {
 public:
  ScopedNumberFormat(int digits, float minNull) : digits_(Digits), minNull_(MinNull) {
    Digits = digits;
    MinNull = minNull;
  }
  ~ScopedNumberFormat() {
    Digits = digits_;
    MinNull = minNull_;
  }

 private:
  int digits_;
  float minNull_;
};

struct Case {
  double value;
  int digits;
  float minNull;
  const char* expected;
};

class FormatNumberRule : public ::testing::TestWithParam<Case> {};

TEST_P(FormatNumberRule, WritesTheValueAsTheRuleSays) {
  const Case& c = GetParam();
  ScopedNumberFormat format(c.digits, c.minNull);
  EXPECT_EQ(FormatNumber(c.value), c.expected)
      << "value " << c.value << ", Digits " << c.digits << ", MinNull " << c.minNull;
}

INSTANTIATE_TEST_SUITE_P(
    AcrossMagnitudesSignsAndSettings, FormatNumberRule,
    ::testing::Values(
        // Zero and values under MinNull.
        Case{0.0, 5, 1e-6f, "0"}, Case{-0.0, 5, 1e-6f, "0"}, Case{9.0e-7, 5, 1e-6f, "0"},
        Case{-9.0e-7, 5, 1e-6f, "0"}, Case{0.0009985, 5, 1e-3f, "0"},
        Case{0.0012, 5, 1e-3f, "0.0012"},
        // The examples given with Digits = 3 and 2.
        Case{987.6, 3, 1e-6f, "988"}, Case{987.6, 2, 1e-6f, "988"}, Case{0.05, 3, 1e-6f, "0.05"},
        Case{2.0 / 3.0, 3, 1e-6f, "0.667"}, Case{-12.345, 3, 1e-6f, "-12.3"},
        // Default settings: five significant digits, integer digits kept.
        Case{1.0, 5, 1e-6f, "1"}, Case{10.0, 5, 1e-6f, "10"}, Case{100.0, 5, 1e-6f, "100"},
        Case{230.0, 5, 1e-6f, "230"}, Case{400.5, 5, 1e-6f, "400.5"},
        Case{3.14159265, 5, 1e-6f, "3.1416"}, Case{-3.14159265, 5, 1e-6f, "-3.1416"},
        Case{99999.0, 5, 1e-6f, "99999"}, Case{123456.7, 5, 1e-6f, "123457"},
        Case{12345678.9, 5, 1e-6f, "12345679"}, Case{999999.5, 5, 1e-6f, "999999.5"},
        // Below one: 0.1 still counts as having an integer digit, 0.01 does not.
        Case{0.5, 5, 1e-6f, "0.5"}, Case{0.1, 5, 1e-6f, "0.1"},
        Case{1.0 / 3.0, 5, 1e-6f, "0.33333"}, Case{0.01, 5, 1e-6f, "0.01"},
        Case{0.1 / 3.0, 5, 1e-6f, "0.0333"}, Case{0.001234567, 5, 1e-6f, "0.00123"},
        Case{-0.001234567, 5, 1e-6f, "-0.00123"},
        // Plain notation down to an exponent of -5, scientific below.
        Case{0.00001, 5, 1e-6f, "0.00001"}, Case{0.000001234, 5, 1e-6f, "1.23E-6"},
        Case{1.5e-8, 5, 0.0f, "1.5E-8"},
        // At most eleven digits: larger numbers go scientific.
        Case{12345678901.0, 5, 1e-6f, "12345678901"}, Case{1e11, 5, 1e-6f, "1E+11"},
        Case{123456789012.0, 5, 1e-6f, "1.2345678901E+11"}, Case{-1e15, 5, 1e-6f, "-1E+15"},
        // More digits asked for, and a carry through all digits.
        Case{3.14159265, 8, 1e-6f, "3.1415927"}, Case{9999.96, 3, 1e-6f, "10000"},
        Case{1.0005, 3, 1e-6f, "1"},
        // A tie in the first dropped digit rounds away from zero.
        Case{0.125, 2, 1e-6f, "0.13"}, Case{-0.125, 2, 1e-6f, "-0.13"}));

TEST(FormatNumberSpecialValues, NonFiniteValuesAreNamedRatherThanFormatted) {
  // Guards against log() of an infinite or NaN value feeding the digit count.
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN()), "NAN");
  EXPECT_EQ(FormatNumber(std::numeric_limits<double>::infinity()), "INF");
  EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::infinity()), "-INF");
}

TEST(FormatNumberSpecialValues, ZeroDigitsSettingStillWritesADigit) {
  // A Digits of 0 would otherwise ask for zero significant digits.
  ScopedNumberFormat format(0, 1e-6f);
  EXPECT_EQ(FormatNumber(0.5), "0.5");
  EXPECT_EQ(FormatNumber(42.0), "42");
}

TEST(NumberCells, AppendAndSignedFormsWrapFormatNumber) {
  ScopedNumberFormat format(5, 1e-6f);
  EXPECT_EQ(AppendNumber(2.5), "#2.5");
  EXPECT_EQ(FormatSignedNumber(2.5), "+2.5");
  EXPECT_EQ(FormatSignedNumber(-2.5), "-2.5");
  EXPECT_EQ(FormatSignedNumber(0.0), "0");
  EXPECT_EQ(FormatSignedNumber(1e-9), "0") << "a value shown as 0 gets no sign";
}

TEST(KeyCodes, BranchAndReceiverKeysSplitIntoTheirParts) {
  EXPECT_EQ(FormatCode(1281, 8), "5.1");  // node 5, slot 1
  EXPECT_EQ(FormatCode(12 * 256, 8), "12.0");
  EXPECT_EQ(FormatCode(65535 * 256 + 255, 8), "65535.255");
  EXPECT_EQ(FormatCode(5 * 1024 + 17, 10), "5.17");  // group 5, receiver 17
  EXPECT_EQ(FormatCode(0, 8), "");
  EXPECT_EQ(AppendCode(0, 8), "#");
  EXPECT_EQ(AppendCode(1281, 8), "#5.1");
}

TEST(KeyCodes, ReversedBranchKeyShowsItsPartsWithAMinus) {
  // A bit-pattern split of a negative key would show a meaningless node number.
  EXPECT_EQ(FormatCode(-1281, 8), "-5.1");
}

TEST(ParseNumber, AcceptsOnlyWholeDecimalNumbers) {
  double value = 7;
  EXPECT_TRUE(ParseNumber(" 12.5 ", value));
  EXPECT_DOUBLE_EQ(value, 12.5);
  EXPECT_TRUE(ParseNumber("-1e3", value));
  EXPECT_DOUBLE_EQ(value, -1000);
  EXPECT_TRUE(ParseNumber("+.5", value));
  EXPECT_DOUBLE_EQ(value, 0.5);
  value = 7;
  for (const char* bad : {"", " ", "12a", "1,5", "inf", "nan", "0x10", "--1", "+-1", "1e"}) {
    EXPECT_FALSE(ParseNumber(bad, value)) << bad;
  }
  EXPECT_DOUBLE_EQ(value, 7) << "a failed conversion leaves the value alone";
}

TEST(ParseInteger, AcceptsOnlyWholeIntegers) {
  int value = 3;
  EXPECT_TRUE(ParseInteger("42", value));
  EXPECT_EQ(value, 42);
  EXPECT_TRUE(ParseInteger(" -7", value));
  EXPECT_EQ(value, -7);
  for (const char* bad : {"", "12a", "1.5", "99999999999"}) {
    EXPECT_FALSE(ParseInteger(bad, value)) << bad;
  }
  EXPECT_EQ(value, -7);
}

}  // namespace
}  // namespace kordavelt
