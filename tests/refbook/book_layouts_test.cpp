// The field tables by which the dump walks book records must agree with the
// typed views byte for byte: a shifted offset here shows every engineer a
// wrong value in the dump while the program reads the right one.

#include "refbook/book_layouts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/cli_main.h"
#include "refbook/book_builder.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"

namespace kordavelt {
namespace {

using Record = std::vector<std::uint8_t>;

std::string Text(ConstBytes record, int table, std::string_view field) {
  const RecordLayout* layout = BookRecordLayout(table);
  if (layout == nullptr) return "no layout";
  const auto found = std::ranges::find(layout->fields, field, &FieldDef::name);
  return found == layout->fields.end() ? "no field" : FieldText(record, *found);
}

TEST(BookLayoutsTest, EveryTableIsCoveredExactly) {
  for (int table : BookTables()) {
    const RecordLayout* layout = BookRecordLayout(table);
    ASSERT_NE(layout, nullptr) << table;
    EXPECT_EQ(layout->table, table);
    EXPECT_EQ(layout->dataLength, BookRecordLength(table)) << table;
    int offset = 0;
    for (const FieldDef& field : layout->fields) {
      EXPECT_EQ(field.offset, offset) << table << " " << field.name;
      offset += FieldWidth(field);
    }
    EXPECT_EQ(offset, layout->dataLength) << table;
  }
  EXPECT_EQ(BookRecordLayout(7), nullptr);
}

TEST(BookLayoutsTest, LayoutsAgreeWithTheViews) {
  Record unitBytes(book::TripUnitRec::kLength, 0);
  book::TripUnitRec unit(unitBytes);
  unit.SetType("ВА88");
  unit.SetInom({100, 160});
  unit.SetSettingIc({3, 5});
  unit.SetImax(7);
  unit.SetError(15);
  unit.SetSeria(12);
  const int trip = book::kTripUnitTable;
  EXPECT_EQ(Text(unitBytes, trip, "Type"), "ВА88");
  EXPECT_EQ(Text(unitBytes, trip, "Inom2"), "160");
  EXPECT_EQ(Text(unitBytes, trip, "SettingIc2"), "5");
  EXPECT_EQ(Text(unitBytes, trip, "Imax"), "7");
  EXPECT_EQ(Text(unitBytes, trip, "Error"), "15");
  EXPECT_EQ(Text(unitBytes, trip, "Seria"), "12");

  Record ctBytes(book::CurrentTransformerRec::kLength, 0);
  book::CurrentTransformerRec ct(ctBytes);
  ct.SetInom2(5);
  ct.SetClass(3);
  ct.SetX1(0.25f);
  const int ctTable = book::kCurrentTransformerTable;
  EXPECT_EQ(Text(ctBytes, ctTable, "Inom2"), "5");
  EXPECT_EQ(Text(ctBytes, ctTable, "Class"), "3");
  EXPECT_EQ(Text(ctBytes, ctTable, "X1"), "0.25");

  Record motorBytes(book::AsyncMotorRec::kLength, 0);
  book::AsyncMotorRec motor(motorBytes);
  motor.SetTr(0.5f);
  motor.SetJrotor(2);
  EXPECT_EQ(Text(motorBytes, book::kAsyncMotorTable, "Tr"), "0.5");
  EXPECT_EQ(Text(motorBytes, book::kAsyncMotorTable, "Jrotor"), "2");

  Record mechanismBytes(book::MechanismRec::kLength, 0);
  book::MechanismRec(mechanismBytes).SetMotorType(4321);
  EXPECT_EQ(Text(mechanismBytes, book::kMechanismTable, "MotorType"), "4321");
}

TEST(BookLayoutsTest, DumpDecodesBookTables) {
  testing::TestBook t;
  testing::AddBreaker(t.book, "ВА51-35", 0, 380, 100, 10, 0, 77);
  t.book.CloseBook();
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(RunCli({"dump", sprClass::kDefaultFileName, "--table", "21"}, out, err, t.files),
            kExitOk);
  EXPECT_EQ(err.str(), "");
  EXPECT_NE(out.str().find("Таблица № 21 (circuit breakers): длина записи 47, записей 1"),
            std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("77  Type=\"ВА51-35\" Unom=380 Inom=100 Iswitch=10"), std::string::npos)
      << out.str();
}

}  // namespace
}  // namespace kordavelt
