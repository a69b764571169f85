#include "refbook/value_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kordavelt {
namespace {

using Slots = std::vector<float>;

TEST(ValueListTest, FormatsValuesAndRanges) {
  const Slots list{100, 160, 250, 0, 400, 0, 0, 0, 0, 0};
  EXPECT_EQ(FormatValueList(list, ";"), "100;160;250");
  EXPECT_EQ(FormatValueList(list, "#"), "100#160#250");
  EXPECT_EQ(FormatValueList({0.4f, 0, 0.69f, 0, 0}, ";"), "0.4-0.69");
  EXPECT_EQ(FormatValueList({2.5f, 0, 0, 0, 0}, ";"), "2.5");
  EXPECT_EQ(FormatValueList(Slots(10, 0.0f), ";"), "");
  EXPECT_EQ(FormatValueList({-1, 5, 6}, ";"), "");
  EXPECT_EQ(FormatValueList({}, ";"), "");
}

TEST(ValueListTest, ParsesEverySeparatorAndRanges) {
  EXPECT_EQ(ParseValueList("100;160,250#400_630;", 10),
            (Slots{100, 160, 250, 400, 630, 0, 0, 0, 0, 0}));
  EXPECT_EQ(ParseValueList(" 1 ;; 2 ", 5), (Slots{1, 2, 0, 0, 0}));
  EXPECT_EQ(ParseValueList("0.4-0.69", 5), (Slots{0.4f, 0, 0.69f, 0, 0}));
  EXPECT_EQ(ParseValueList("", 5), Slots(5, 0.0f));
  // More values than slots: the extra ones are dropped.
  EXPECT_EQ(ParseValueList("1;2;3;4;5;6;7", 5), (Slots{1, 2, 3, 4, 5}));
}

TEST(ValueListTest, TextRoundTrips) {
  for (const std::string text :
       {"100;160;250", "0.4-0.69", "1.6;2.5;4;6.3;10;16;25;32;40;50", "5"}) {
    EXPECT_EQ(FormatValueList(ParseValueList(text, 10), ";"), text);
  }
  const Slots range{1, 0, 10, 0, 0};
  EXPECT_EQ(ParseValueList(FormatValueList(range, "#"), 5), range);
}

TEST(ValueListTest, ValuesInEffect) {
  EXPECT_EQ(ValueListValues({100, 160, 250, 0, 400}), (Slots{100, 160, 250}));
  EXPECT_EQ(ValueListValues({0.4f, 0, 0.69f, 0, 0}), (Slots{0.4f, 0.69f}));
  EXPECT_TRUE(ValueListValues({0, 0, 0}).empty());
  EXPECT_EQ(ValueListValues({7}), (Slots{7}));
}

TEST(ValueListTest, HostileTextIsBounded) {
  EXPECT_EQ(ParseValueList("abc;12;x-y-z", 5), (Slots{0, 0, 0, 0, 0}));
  EXPECT_EQ(ParseValueList("abc;12", 5), (Slots{0, 12, 0, 0, 0}));
  EXPECT_EQ(ParseValueList("1e300;nan;inf;5", 5), (Slots{0, 0, 0, 5, 0}));
  std::string huge;
  for (int i = 0; i < 200000; ++i) huge += "7;";
  EXPECT_EQ(ParseValueList(huge, 10), Slots(10, 7.0f));
  EXPECT_EQ(ParseValueList(std::string(1 << 20, ';'), 5), Slots(5, 0.0f));
  EXPECT_TRUE(ParseValueList("1;2", -3).empty());
  EXPECT_EQ(ParseValueList("1;2", 1000).size(), 21u);
}

}  // namespace
}  // namespace kordavelt
