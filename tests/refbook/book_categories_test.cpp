// The layouts of the reference-book window against the columns the owner
// fills: every header names one column, every edit letter suits its field.

#include "refbook/book_categories.h"

#include <gtest/gtest.h>

#include "base/dial_list.h"
#include "refbook/book_cells.h"

namespace kordavelt {
namespace {

char ExpectedEditLetter(BookField field) {
  switch (field) {
    case BookField::Name:
    case BookField::Values:
      return 'T';
    case BookField::Choice:
    case BookField::MotorKind:
      return 'L';
    case BookField::Vth:
    case BookField::Check:
    case BookField::Slot:
    case BookField::Brand:
    case BookField::Series:
    case BookField::TripUnit:
    case BookField::MotorType:
      return 'X';
    default:
      return 'N';
  }
}

TEST(BookCategoriesTest, HeadersLettersAndColumnsAgree) {
  ASSERT_EQ(BookTableLayouts().size(), 21u);
  int category = 0;
  for (const BookTableLayout& layout : BookTableLayouts()) {
    SCOPED_TRACE(layout.table);
    EXPECT_EQ(layout.category, ++category);
    EXPECT_EQ(BookLayoutOfCategory(category), &layout);
    EXPECT_EQ(BookLayoutOfTable(layout.table), &layout);
    const std::span<const BookColumn> columns = BookColumns(layout.table);
    const int count = static_cast<int>(columns.size()) + 1;
    EXPECT_EQ(ListCount(layout.head1), count);
    if (!layout.head2.empty()) {
      EXPECT_EQ(ListCount(layout.head2), count);
    }
    ASSERT_GE(static_cast<int>(layout.editCodes.size()), count);
    for (int c = 1; c < count; ++c) {
      SCOPED_TRACE(c);
      const BookColumn& column = columns[c - 1];
      const char letter = layout.editCodes[c];
      if (column.field == BookField::Code) {
        EXPECT_TRUE(letter == 'H' || letter == 'N');
        EXPECT_EQ(c, count - 1) << "the code is the last column";
      } else if (column.field == BookField::Qnom) {
        EXPECT_EQ(letter, 'N');
      } else {
        EXPECT_EQ(letter, ExpectedEditLetter(column.field));
      }
      EXPECT_EQ(letter == 'L', !BookColumnChoices(layout.table, c).empty());
      if (column.field == BookField::Vth) {
        EXPECT_EQ(layout.displayCodes.at(c), 'D');
      }
    }
  }
  EXPECT_EQ(BookLayoutOfTable(94), nullptr);
  EXPECT_EQ(BookLayoutOfCategory(22), nullptr);
}

TEST(BookCategoriesTest, CodesAreTypedInHexadecimalInTheirTables) {
  for (int table : {11, 14, 24, 25, 32, 33, 34, 41, 42, 43, 92, 93}) {
    EXPECT_EQ(BookLayoutOfTable(table)->editCodes[BookCodeColumn(table)], 'H') << table;
  }
  for (int table : {12, 13, 21, 22, 23, 31, 50, 91}) {
    EXPECT_EQ(BookLayoutOfTable(table)->editCodes[BookCodeColumn(table)], 'N') << table;
  }
  EXPECT_EQ(BookCodeColumn(2), 0) << "templates show no code";
}

TEST(BookCategoriesTest, MachineHeadersCarryTheDoubleQuote) {
  EXPECT_EQ(ListItem(BookLayoutOfTable(41)->head1, 13), " Xd\"");
  EXPECT_EQ(ListItem(BookLayoutOfTable(50)->head1, 10), " Xd\"");
  EXPECT_EQ(ListItem(BookLayoutOfTable(42)->head1, 13), "  X\"  ");
  EXPECT_EQ(ListItem(BookLayoutOfTable(42)->head1, 14), "  Tа  ");
}

TEST(BookCategoriesTest, SectionsNameCategoriesByPosition) {
  EXPECT_EQ(BookSectionOfCategory(1), "SNode");
  EXPECT_EQ(BookSectionOfCategory(2), "SPriz");
  EXPECT_EQ(BookSectionOfCategory(20), "SMarka_kab");
  EXPECT_EQ(BookSectionOfCategory(21), "SMarka") << "the cable brands can be read back";
  EXPECT_EQ(BookCategoryOfSection("SMarka"), 21);
  EXPECT_EQ(BookSectionOfCategory(22), "");
  EXPECT_EQ(BookSectionOfCategory(0), "");
  EXPECT_EQ(BookCategoryOfSection("SNode"), 1);
  EXPECT_EQ(BookCategoryOfSection("VTH"), 18);
  EXPECT_EQ(BookCategoryOfSection("SMarka_kab"), 20);
  EXPECT_EQ(BookCategoryOfSection("snode"), 0);
  EXPECT_EQ(BookCategoryOfSection(""), 0);
  EXPECT_EQ(ListItem(BookCategoryCaptions(), 20), "Марки кабелей");
}

}  // namespace
}  // namespace kordavelt
