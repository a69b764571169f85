#include "refbook/kind_names.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

TEST(KindNamesTest, NamesAndSymbols) {
  EXPECT_EQ(KindName(11), "Кабель");
  EXPECT_EQ(KindName(14), "Шинопровод к.");
  EXPECT_EQ(KindName(41), "Электромотор");
  EXPECT_EQ(KindName(42), "Электромотор");
  EXPECT_EQ(KindName(91), "Расцепитель");
  EXPECT_EQ(KindName(93), "Прочее");
  EXPECT_EQ(KindName(-1), "Прочее");

  EXPECT_EQ(KindSymbol(21), "@p3031p13041524p013637e#3037");
  EXPECT_EQ(KindSymbol(15), KindSymbol(14));
  EXPECT_EQ(KindSymbol(54), "@r028Ac028Ap4042c1379e#40");
  EXPECT_EQ(KindSymbol(12), "@l000Ge#000G");
  EXPECT_EQ(KindSymbol(92), "@l000Ge#000G");
}

TEST(KindNamesTest, SymbolWithoutPoints) {
  EXPECT_EQ(SymbolWithoutPoints(KindSymbol(2)), "@r00B5c4174e");
  EXPECT_EQ(SymbolWithoutPoints("@e"), "@e");
  EXPECT_EQ(SymbolWithoutPoints("#40"), "");
  EXPECT_EQ(SymbolWithoutPoints(""), "");
}

}  // namespace
}  // namespace kordavelt
