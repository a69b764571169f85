// File dialogs get their filters in the program's "description|pattern"
// form; a wrong split offers the user the wrong files.

#include "ui/file_filter.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

TEST(FileFilter, SplitsPairsAndSeveralPatterns) {
  const auto entries = ParseFileFilter("Базы данных (*.LVN)|*.LVN|Таблицы|*.csv;*.txt");
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].description, "Базы данных (*.LVN)");
  EXPECT_EQ(entries[0].patterns, std::vector<std::string>{"*.LVN"});
  EXPECT_EQ(entries[1].patterns, (std::vector<std::string>{"*.csv", "*.txt"}));
}

TEST(FileFilter, EmptyFilterHasNoEntriesAndALoneDescriptionNoPatterns) {
  EXPECT_TRUE(ParseFileFilter("").empty());
  const auto entries = ParseFileFilter("Все");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries[0].patterns.empty());
}

TEST(FileFilter, QtFormKeepsDescriptionsThatNameTheirPatterns) {
  EXPECT_EQ(ToQtFileFilter("Базы данных (*.SPR)|*.SPR"), "Базы данных (*.SPR)");
  EXPECT_EQ(ToQtFileFilter("Таблицы|*.csv;*.txt|Все файлы (*.*)|*.*"),
            "Таблицы (*.csv *.txt);;Все файлы (*.*)");
}

}  // namespace
}  // namespace kordavelt
