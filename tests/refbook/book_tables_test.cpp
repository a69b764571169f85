#include "refbook/book_tables.h"

#include <gtest/gtest.h>

#include <set>

namespace kordavelt {
namespace {

TEST(BookTablesTest, RecordLengthsOfEveryTable) {
  const std::pair<int, int> expected[] = {
      {2, 49},  {11, 53}, {12, 55},  {13, 38}, {14, 49}, {22, 183}, {21, 47}, {23, 35},
      {24, 39}, {25, 35}, {31, 61},  {32, 35}, {33, 47}, {34, 48},  {41, 75}, {42, 79},
      {50, 63}, {43, 31}, {91, 283}, {92, 49}, {93, 30}, {94, 9}};
  for (const auto& [table, length] : expected) {
    EXPECT_EQ(BookRecordLength(table), length) << table;
    EXPECT_TRUE(IsBookTable(table)) << table;
  }
  for (int other : {0, 1, 3, 7, 15, 20, 45, 51, 95, 100, 111, -11}) {
    EXPECT_EQ(BookRecordLength(other), 0) << other;
    EXPECT_FALSE(IsBookTable(other)) << other;
    EXPECT_EQ(TableCategory(other), 0) << other;
  }
}

TEST(BookTablesTest, CategoriesRunOneToTwentyOneAndBack) {
  EXPECT_EQ(CategoryTable(1), book::kTemplateTable);
  EXPECT_EQ(CategoryTable(2), book::kCableTable);
  EXPECT_EQ(CategoryTable(6), book::kFuseTable);
  EXPECT_EQ(CategoryTable(7), book::kBreakerTable);
  EXPECT_EQ(CategoryTable(17), book::kGeneratorTable);
  EXPECT_EQ(CategoryTable(18), book::kCapacitorBankTable);
  EXPECT_EQ(CategoryTable(21), book::kCableBrandTable);
  EXPECT_EQ(CategoryTable(0), 0);
  EXPECT_EQ(CategoryTable(22), 0);
  std::set<int> seen;
  for (int category = 1; category <= kCategoryCount; ++category) {
    const int table = CategoryTable(category);
    EXPECT_EQ(TableCategory(table), category);
    seen.insert(table);
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(kCategoryCount));
  EXPECT_EQ(TableCategory(book::kBreakerSeriesTable), 0);
  EXPECT_EQ(BookTables().back(), book::kBreakerSeriesTable);
}

TEST(BookTablesTest, Companions) {
  EXPECT_EQ(Companions(11), (std::vector<int>{93}));
  EXPECT_EQ(Companions(21), (std::vector<int>{94, 91}));
  EXPECT_EQ(Companions(91), (std::vector<int>{94}));
  EXPECT_EQ(Companions(92), (std::vector<int>{42, 41}));
  EXPECT_TRUE(Companions(93).empty());
  EXPECT_TRUE(Companions(7).empty());
}

}  // namespace
}  // namespace kordavelt
