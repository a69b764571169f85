// '#'-lists carry every message, button row and table row; an off-by-one in
// item lookup shows the wrong cell or the wrong button caption.

#include "base/dial_list.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

TEST(ListItem, ReturnsTheItemAtItsZeroBasedIndex) {
  EXPECT_EQ(ListItem("a#b#c", 0), "a");
  EXPECT_EQ(ListItem("a#b#c", 2), "c");
  EXPECT_EQ(ListItem("Узлов#Ветвей", 1), "Ветвей");
}

TEST(ListItem, IsEmptyPastTheEndForNegativeIndexAndForEmptyItems) {
  EXPECT_EQ(ListItem("a#b#c", 3), "");
  EXPECT_EQ(ListItem("a#b#c", -1), "");
  EXPECT_EQ(ListItem("", 0), "");
  EXPECT_EQ(ListItem("a##c", 1), "");
  EXPECT_EQ(ListItem("a#", 1), "");
  EXPECT_EQ(ListItem("#a", 1), "a");
}

TEST(ListCount, CountsSeparatorsPlusOne) {
  EXPECT_EQ(ListCount(""), 1);
  EXPECT_EQ(ListCount("a#b"), 2);
  EXPECT_EQ(ListCount("##"), 3);
}

TEST(ListMaxLength, MeasuresCharactersNotBytes) {
  EXPECT_EQ(ListMaxLength(""), 1);
  EXPECT_EQ(ListMaxLength("ab#abcd#a"), 4);
  // Cyrillic letters take two bytes in UTF-8 but one place on screen.
  EXPECT_EQ(ListMaxLength("Да#Нет"), 3);
}

TEST(ListItemByFlag, ChoosesTheFirstItemForTrue) {
  EXPECT_EQ(ListItemByFlag(true, "Y#N"), "Y");
  EXPECT_EQ(ListItemByFlag(false, "Y#N"), "N");
  EXPECT_EQ(AppendItemByFlag(false, "Y#N"), "#N");
  EXPECT_EQ(AppendItemByFlag(true, "Y"), "#Y");
  EXPECT_EQ(AppendItemByFlag(false, "Y"), "#");
}

}  // namespace
}  // namespace kordavelt
