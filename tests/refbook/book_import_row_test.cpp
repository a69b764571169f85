// Rows into types: every category exported row by row and imported again
// gives its records back byte for byte; names of referenced types, codes and
// damaged rows.

#include "refbook/book_import_row.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/dial_list.h"
#include "refbook/book_builder.h"
#include "refbook/book_categories.h"
#include "refbook/book_cells.h"
#include "refbook/book_owner.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"
#include "refbook/vth_block.h"
#include "storage/counted_string.h"
#include "table/table_driver.h"

namespace kordavelt {
namespace {

using testing::AddAsyncMotor;
using testing::AddBreakerSeries;
using testing::AddCableBrand;
using testing::AddFilledType;
using testing::AddTripUnit;
using testing::AddType;
using testing::TestBook;

constexpr std::int32_t kGivenCode = 0x01234567;

struct Book {
  Book() {
    brand = AddCableBrand(t.book, "АСБл");
    series = AddBreakerSeries(t.book, "ВА88", 3);
    otherUnit = AddTripUnit(t.book, "МТЗ", 0, {100});
    unit = AddTripUnit(t.book, "МТЗ", 3, {160});
    motor = AddAsyncMotor(t.book, "АИР160", 380, 15, 1460);
  }

  std::vector<std::uint8_t> Fill(int table, std::int32_t code) {
    return AddFilledType(t.book, table, code, {brand, series, unit, motor});
  }

  std::vector<std::uint8_t> Record(int table, std::int32_t code) {
    if (!t.book.FindType(table, code)) return {};
    const Bytes record = t.book.CurrentRecord(table);
    return {record.begin(), record.end()};
  }

  TestBook t;
  BookOwner owner{t.book, t.ui};
  TableDriver driver{owner, owner.Form(), t.ui};
  std::int32_t brand = 0;
  std::int32_t series = 0;
  std::int32_t otherUnit = 0;
  std::int32_t unit = 0;
  std::int32_t motor = 0;
};

TEST(BookImportRowTest, EveryCategoryComesBackFromItsExportedRow) {
  Book b;
  for (const BookTableLayout& layout : BookTableLayouts()) {
    SCOPED_TRACE(layout.table);
    const int table = layout.table;
    const std::int32_t code = table == book::kTemplateTable ? 1 : kGivenCode;
    ASSERT_TRUE(b.owner.ShowTable(table));
    const std::vector<std::uint8_t> original = b.Fill(table, code);
    b.owner.RefreshRows();
    const int row = b.owner.Rows().RowOf(code);
    ASSERT_GT(row, 0);

    b.owner.Form().exporting = true;
    const std::string line = b.driver.Line(row);
    b.owner.Form().exporting = false;
    const std::string shown = b.driver.Line(row);
    ASSERT_EQ(ListCount(line), ListCount(layout.head1)) << line;
    EXPECT_EQ(ListItem(line, 0), std::to_string(row));

    b.driver.Delete(row);
    EXPECT_EQ(b.Record(table, code), std::vector<std::uint8_t>());
    EXPECT_EQ(b.owner.ImportRow(line), code) << line;
    EXPECT_EQ(b.Record(table, code), original) << line;
    EXPECT_EQ(b.driver.Line(b.owner.Rows().RowOf(code)), shown);
  }
}

TEST(BookImportRowTest, ReferencesAreFoundByName) {
  Book b;
  // Breaker: an unknown series is added; the trip unit of the breaker's own
  // series is preferred among equal names; an unknown trip unit is none.
  const std::int32_t breaker =
      ImportBookRow(b.t.book, book::kBreakerTable, "1#ВА57#ВА57-35#380#100#10#2#МТЗ#1#2#0");
  ASSERT_NE(breaker, 0);
  ASSERT_TRUE(b.t.book.FindType(book::kBreakerTable, breaker));
  book::BreakerRec rec(b.t.book.CurrentRecord(book::kBreakerTable));
  EXPECT_EQ(rec.Seria(), 4) << "appended after series 3";
  EXPECT_EQ(rec.TripUnit(), b.otherUnit) << "no МТЗ of the new series: the first МТЗ";
  ASSERT_TRUE(b.t.book.FindType(book::kBreakerSeriesTable, 4));
  EXPECT_EQ(book::BreakerSeriesRec(b.t.book.CurrentRecord(book::kBreakerSeriesTable)).Name(),
            "ВА57");

  const std::int32_t second =
      ImportBookRow(b.t.book, book::kBreakerTable, "1#ВА57#ВА57-35#380#160#10#2#Нет такого#1#2#0");
  ASSERT_TRUE(b.t.book.FindType(book::kBreakerTable, second));
  EXPECT_EQ(book::BreakerRec(b.t.book.CurrentRecord(book::kBreakerTable)).TripUnit(), 0);
  EXPECT_EQ(book::BreakerRec(b.t.book.CurrentRecord(book::kBreakerTable)).Seria(), 4)
      << "the series is not added twice";

  // Cable: an unknown brand is none.
  const std::int32_t cable = ImportBookRow(b.t.book, book::kCableTable,
                                           "1#380#Нет#4#16#0#115#80#1.15#0.09#2.12#1.14#0#0#0");
  ASSERT_TRUE(b.t.book.FindType(book::kCableTable, cable));
  EXPECT_EQ(book::CableRec(b.t.book.CurrentRecord(book::kCableTable)).Type(), 0);
  EXPECT_FLOAT_EQ(book::CableRec(b.t.book.CurrentRecord(book::kCableTable)).R0(), 2.12f);
}

TEST(BookImportRowTest, CodesFromTheRowOrAutomatic) {
  Book b;
  const std::int32_t first =
      ImportBookRow(b.t.book, book::kSwitchTable, "1#РЕ19#380#100#10#5#0.5#40");
  EXPECT_EQ(first, 40) << "written and read in decimal";
  EXPECT_EQ(ImportBookRow(b.t.book, book::kSwitchTable, "1#РЕ19#380#100#10#5#0.5#40"), 41)
      << "the first free code from 40 up";
  const std::int32_t automatic =
      ImportBookRow(b.t.book, book::kSwitchTable, "1#РЕ19#380#100#10#5#0.5#0");
  EXPECT_GT(automatic, 41);
  EXPECT_EQ(ImportBookRow(b.t.book, book::kSwitchTable, "1#РЕ19#380#100#10#5#0.5#-5"),
            automatic + 1)
      << "a code below 1 gives the automatic code, the next free one";
  // A relay has no automatic code: without a code it stays last.
  EXPECT_EQ(ImportBookRow(b.t.book, book::kRelayTable, "1#РТЛ#380#25#1#0.5#"), 1);
  EXPECT_EQ(ImportBookRow(b.t.book, book::kRelayTable, "1#РТЛ#380#25#1#0.5#"), 2);
}

TEST(BookImportRowTest, TheCodeIsReadFromItsColumnOfAPaddedRow) {
  // A spreadsheet pads rows to the width of the header: the code stays.
  Book b;
  EXPECT_EQ(ImportBookRow(b.t.book, book::kSwitchTable, "1#РЕ19#380#100#10#5#0.5#40###"), 40);
}

TEST(BookImportRowTest, RowRecordIsWhatImportStoresButAddsNoSeries) {
  Book b;
  const std::string_view row = "1#ВА57#ВА57-35#380#100#10#2#МТЗ#1#2#0";
  std::vector<std::uint8_t> record = BookRowRecord(b.t.book, book::kBreakerTable, row);
  EXPECT_EQ(b.t.book.OpenBookTable(book::kBreakerSeriesTable)->Count(), 1) << "only ВА88";
  const std::int32_t code = ImportBookRow(b.t.book, book::kBreakerTable, row);
  WriteU16(record, 45, 4);  // the series import added
  EXPECT_EQ(b.Record(book::kBreakerTable, code), record);
}

TEST(BookImportRowTest, DamagedRowsGiveTypesWithZeros) {
  Book b;
  for (std::string_view items :
       {std::string_view(""), std::string_view("#"), std::string_view("1#А#x#1e99#nan#-#;;;#"),
        std::string_view("1#Очень-очень длинное имя типа реактора#1#2")}) {
    const std::int32_t code = ImportBookRow(b.t.book, book::kReactorTable, items);
    ASSERT_NE(code, 0) << items;
    ASSERT_TRUE(b.t.book.FindType(book::kReactorTable, code));
    const book::ReactorRec reactor(b.t.book.CurrentRecord(book::kReactorTable));
    EXPECT_LE(reactor.Type().size(), 32u) << "16 characters at most";
    EXPECT_EQ(reactor.Idin(), 0) << items;
  }
  // Trip units: lists and characteristics that do not read are empty.
  const std::int32_t unit =
      ImportBookRow(b.t.book, book::kTripUnitTable,
                    "1#-#ТР#abc#1-#x;y#*Q#5;6#*Ir#-1#1;2;3;4;5;6;7#0#A#ZZZZ#300#?#0");
  ASSERT_TRUE(b.t.book.FindType(book::kTripUnitTable, unit));
  const book::TripUnitRec rec(b.t.book.CurrentRecord(book::kTripUnitTable));
  EXPECT_EQ(rec.Seria(), 0);
  EXPECT_EQ(rec.Inom()[0], 0);
  EXPECT_EQ(rec.SettingIr()[0], 1);
  EXPECT_EQ(rec.SettingIr()[2], 0);
  EXPECT_EQ(rec.IrUnit(), 0);
  EXPECT_EQ(rec.SettingTm()[4], 5) << "only five slots";
  EXPECT_EQ(rec.Error(), 0) << "300 does not fit a byte";
  EXPECT_TRUE(VthIsEmpty(rec.Vth()));
  EXPECT_EQ(ImportBookRow(b.t.book, book::kBreakerSeriesTable, "1#X"), 0) << "no category";
}

TEST(BookImportRowTest, ImportThroughTheWindowFollowsTheSections) {
  Book b;
  ASSERT_TRUE(b.owner.SelectSection("SPred"));  // category 5: trunking
  EXPECT_EQ(b.owner.Table(), book::kTrunkingTable);
  const std::int32_t code = b.owner.ImportRow("1#ШМА4#380#1250#0#0.03#0.016#0.12#0.13#0");
  EXPECT_GT(code, 0);
  EXPECT_EQ(b.driver.RowCount(), 1);
  EXPECT_EQ(b.driver.Cell(1, 9), std::to_string(code));
  EXPECT_EQ(b.driver.Cell(1, 1), "ШМА4");
  BookOwner idle(b.t.book, b.t.ui);
  EXPECT_EQ(idle.ImportRow("1#X"), 0) << "no table shown";
}

}  // namespace
}  // namespace kordavelt
