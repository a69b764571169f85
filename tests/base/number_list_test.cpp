// Numeric lists hold the reference book's value lists, the characteristic
// curves and the standard series behind every equipment type code. The tests
// catch: separators or ranges misread, writes past the caller's array, the
// nearest-index tie going the wrong way, lookups off by one at either end,
// extrapolation along the wrong segment and a division by zero on repeated x.
// Expected values are worked out from the rules by hand.

#include "base/number_list.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "base/dial_list.h"
#include "base/number_format.h"

namespace kordavelt {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::FloatEq;

constexpr std::string_view kVoltageSeries =
    "110#127#220#380#420#660#1000#3000#6000#10000#15000#35000";
constexpr std::string_view kCurrentSeries =
    "1#1.25#1.6#2#2.5#3.2#4#5#6.3#8#10#12.5#16#20#25#32#40#50#63#80#100#125#160#200#250#320#"
    "400#500#630#800#1000#1250#1600#2000#2500#3200#4000#5000#6300#8000#10000#16000#25000#"
    "40000#65000#100000#160000";
constexpr std::string_view kSectionSeries =
    "1#1.5#2.5#4#6#10#16#25#35#50#70#95#120#150#185#240#300#330#400#500#600#700";

std::array<float, 5> FirstFive(std::string_view text) {
  std::array<float, 5> numbers{};
  ListToNumbers(text, numbers);
  return numbers;
}

TEST(ListToNumbers, ReadsARangeAsLowZeroHigh) {
  EXPECT_THAT(FirstFive("0.4-0.69"), ElementsAre(FloatEq(0.4f), 0, FloatEq(0.69f), 0, 0));
  EXPECT_THAT(FirstFive("16-"), ElementsAre(16, 0, 0, 0, 0));
  // With a '-' present no other separator is converted: "1;2" is not a number.
  EXPECT_THAT(FirstFive("1;2-3"), ElementsAre(0, 0, 3, 0, 0));
}

TEST(ListToNumbers, AcceptsEverySeparatorAndIgnoresRepeatedOrTrailingOnes) {
  EXPECT_THAT(FirstFive("1;2,3_4#5"), ElementsAre(1, 2, 3, 4, 5));
  EXPECT_THAT(FirstFive("  10;;20; "), ElementsAre(10, 20, 0, 0, 0));
  EXPECT_THAT(FirstFive("#5#6"), ElementsAre(5, 6, 0, 0, 0));
  EXPECT_THAT(FirstFive("1; 2.5 ;4"), ElementsAre(1, 2.5f, 4, 0, 0));
}

TEST(ListToNumbers, LeavesZeroForItemsThatAreNotNumbers) {
  EXPECT_THAT(FirstFive("1#abc#3"), ElementsAre(1, 0, 3, 0, 0));
  EXPECT_THAT(FirstFive(""), Each(0.0f));
}

TEST(ListToNumbers, ZeroFillsAndNeverWritesPastTheGivenCount) {
  std::array<float, 4> numbers{7, 7, 99, 99};
  ListToNumbers("1#2#3", std::span(numbers).first(2));
  EXPECT_THAT(numbers, ElementsAre(1, 2, 99, 99));

  ListToNumbers("1", std::span(numbers).first(3));
  EXPECT_THAT(numbers, ElementsAre(1, 0, 0, 99));
}

TEST(ListToNumbers, ConvertsAtMost21Items) {
  std::string text;
  for (int i = 1; i <= 25; ++i) text += std::to_string(i) + "#";
  std::vector<float> numbers(25, 7.0f);
  ListToNumbers(text, numbers);
  EXPECT_EQ(numbers[20], 21);
  EXPECT_THAT(std::span(numbers).subspan(21), Each(0.0f));
}

class NumberListText : public ::testing::Test {
 protected:
  void SetUp() override {
    Digits = 5;
    MinNull = 1e-6f;
  }
  void TearDown() override {
    Digits = savedDigits_;
    MinNull = savedMinNull_;
  }

 private:
  int savedDigits_ = Digits;
  float savedMinNull_ = MinNull;
};

TEST_F(NumberListText, WritesPositiveEntriesUpToTheFirstNonPositive) {
  EXPECT_EQ(NumbersToList(std::vector<float>{1, 2, 3, 0, 5}, ';'), "1;2;3");
  EXPECT_EQ(NumbersToList(std::vector<float>{5, 0, 0}, ';'), "5");
  EXPECT_EQ(NumbersToList(std::vector<float>{0, 5}, ','), "0,5");
  EXPECT_EQ(NumbersToList(std::vector<float>{2.5f, -1, 3}, ';'), "2.5");
}

TEST_F(NumberListText, WritesARangeWhenTheSecondEntryIsZero) {
  EXPECT_EQ(NumbersToList(std::vector<float>{0.4f, 0, 0.69f, 5}, ';'), "0.4-0.69");
}

TEST_F(NumberListText, IsEmptyWhenTheFirstTwoEntriesAddUpToZero) {
  EXPECT_EQ(NumbersToList(std::vector<float>{0, 0, 5}, ';'), "");
  EXPECT_EQ(NumbersToList(std::vector<float>{-3, 3, 4}, ';'), "");
  EXPECT_EQ(NumbersToList(std::span<const float>(), ';'), "");
}

TEST_F(NumberListText, WritesAtMost21Entries) {
  const std::vector<float> numbers(25, 1.0f);
  EXPECT_EQ(ListCount(NumbersToList(numbers, '#')), 21);
}

TEST_F(NumberListText, HashListPutsAHashBeforeEveryItem) {
  EXPECT_EQ(NumbersToHashList(std::vector<float>{1, 2}), "#1#2");
  EXPECT_EQ(NumbersToHashList(std::vector<float>{0, 0}), "#");
  EXPECT_EQ(NumbersToHashList(std::vector<float>{0.4f, 0, 0.69f}), "#0.4-0.69");
}

TEST_F(NumberListText, RoundTripsThroughListToNumbers) {
  for (std::string_view text : {"1;2.5;4", "0.4-0.69", "630"}) {
    std::array<float, kMaxListNumbers> numbers{};
    ListToNumbers(text, numbers);
    EXPECT_EQ(NumbersToList(numbers, ';'), text);
  }
}

TEST(ItemAs, CountsItemsFromOneAndGivesZeroForAnythingElse) {
  EXPECT_EQ(ItemAsReal("5#7.5#x", 2), 7.5);
  EXPECT_EQ(ItemAsReal("5#7.5#x", 1), 5);
  EXPECT_EQ(ItemAsReal("5#7.5#x", 0), 0);
  EXPECT_EQ(ItemAsReal("5#7.5#x", 3), 0);
  EXPECT_EQ(ItemAsReal("5#7.5#x", 4), 0);
  EXPECT_EQ(ItemAsReal("5#7.5#x", -1), 0);
  EXPECT_EQ(ItemAsInteger("3#16", 2), 16);
  EXPECT_EQ(ItemAsInteger("3#16", 0), 0);
  EXPECT_EQ(ItemAsInteger("3#16", 3), 0);
}

TEST(NearestIndex, FindsTheClosestValueOfTheSeries) {
  EXPECT_EQ(NearestIndex(kCurrentSeries, 63), 19);
  EXPECT_EQ(NearestIndex(kCurrentSeries, 60), 19);
  EXPECT_EQ(NearestIndex(kCurrentSeries, 55), 18);
  EXPECT_EQ(NearestIndex(kCurrentSeries, 1.1L), 1);
}

TEST(NearestIndex, GivesATieToTheHigherValue) {
  EXPECT_EQ(NearestIndex(kVoltageSeries, 300), 4);  // 80 from 220 and from 380
  EXPECT_EQ(NearestIndex(kCurrentSeries, 9), 11);   // 1 from 8 and from 10
}

TEST(NearestIndex, ClampsToTheEndsBeyondTheSeries) {
  EXPECT_EQ(NearestIndex(kVoltageSeries, 0.5L), 1);
  EXPECT_EQ(NearestIndex(kVoltageSeries, -100), 1);
  EXPECT_EQ(NearestIndex(kVoltageSeries, 1e6L), 12);
  EXPECT_EQ(NearestIndex(kCurrentSeries, 1e9L), 47);
}

TEST(NearestIndex, IsAtMost255) {
  std::vector<float> values;
  for (int i = 0; i < 300; ++i) values.push_back(static_cast<float>(i));
  EXPECT_EQ(NearestIndex(values, 100), 101);
  EXPECT_EQ(NearestIndex(values, 299), 255);
}

TEST(NearestIndex, AgreesOnTextAndOnConvertedNumbers) {
  const std::vector<float> series = ItemsAsReals(kCurrentSeries);
  ASSERT_EQ(series.size(), 47u);
  for (long double x : {0.0L, 1.0L, 1.4L, 7.15L, 333.0L, 1e5L, 2e5L}) {
    EXPECT_EQ(NearestIndex(series, x), NearestIndex(kCurrentSeries, x)) << "x = " << x;
  }
  EXPECT_EQ(NearestIndex(std::span<const float>(), 5), 0);
}

TEST(CeilingIndex, FindsTheFirstValueNotBelow) {
  EXPECT_EQ(CeilingIndex(kSectionSeries, 3), 4);
  EXPECT_EQ(CeilingIndex(kSectionSeries, 2.5L), 3);
  EXPECT_EQ(CeilingIndex(kSectionSeries, 0), 1);
  EXPECT_EQ(CeilingIndex(kSectionSeries, 1000), 22);
  // A single-precision model value equal to a series entry finds that entry.
  EXPECT_EQ(CeilingIndex(kCurrentSeries, 1.6f), 3);
  EXPECT_EQ(CeilingIndex(ItemsAsReals(kCurrentSeries), 6.3f), 9);
  EXPECT_EQ(CeilingIndex(std::span<const float>(), 5), 0);
}

TEST(InterpolateInLists, InterpolatesBetweenPoints) {
  EXPECT_EQ(InterpolateInLists("0#10#20", "0#100#300", 5), 50);
  EXPECT_EQ(InterpolateInLists("0#10#20", "0#100#300", 10), 100);
  EXPECT_EQ(InterpolateInLists("0#10#20", "0#100#300", 15), 200);
}

TEST(InterpolateInLists, ExtrapolatesAlongTheFirstAndLastSegments) {
  EXPECT_EQ(InterpolateInLists("0#10#20", "0#100#300", -10), -100);
  EXPECT_EQ(InterpolateInLists("0#10#20", "0#100#300", 30), 500);
}

TEST(InterpolateInLists, UsesOnlyPointsPresentInBothLists) {
  EXPECT_EQ(InterpolateInLists("0#10#20#30", "0#100", 25), 250);
  EXPECT_EQ(InterpolateInLists("0#10", "0#100#9999", 25), 250);
}

TEST(InterpolateInLists, TakesTheLargerYOnASegmentWithoutWidth) {
  EXPECT_EQ(InterpolateInLists("5#5#10", "1#3#9", 2), 3);
  EXPECT_EQ(InterpolateInLists("0#5#5", "0#4#2", 9), 4);
}

TEST(InterpolateInLists, GivesTheOnlyYOfASinglePoint) {
  EXPECT_EQ(InterpolateInLists("7", "42", 100), 42);
  EXPECT_EQ(InterpolateInLists(std::span<const float>(), std::span<const float>(), 1), 0);
}

TEST(InterpolateInLists, AgreesOnTextAndOnConvertedNumbers) {
  const std::vector<float> xs = ItemsAsReals("0.1#1#10#100");
  const std::vector<float> ys = ItemsAsReals("1000#50#2#0.1");
  for (long double x : {0.0L, 0.1L, 0.5L, 20.0L, 150.0L}) {
    EXPECT_EQ(InterpolateInLists(xs, ys, x), InterpolateInLists("0.1#1#10#100", "1000#50#2#0.1", x))
        << "x = " << x;
  }
}

TEST(IndexOfText, FindsAWholeItemCountingFromZero) {
  EXPECT_EQ(IndexOfText("a", "a#b#c"), 0);
  EXPECT_EQ(IndexOfText("c", "a#b#c"), 2);
  EXPECT_EQ(IndexOfText("", "a##c"), 1);
  EXPECT_EQ(IndexOfText("ЭД", "ОС#ЭД"), 1);
}

TEST(IndexOfText, Gives255ForATextThatIsNoItem) {
  EXPECT_EQ(IndexOfText("d", "a#b#c"), kTextAbsent);
  EXPECT_EQ(IndexOfText("ab", "a#abc"), 255);
  EXPECT_EQ(IndexOfText("A", "a#b"), 255);
}

}  // namespace
}  // namespace kordavelt
