// The reference book as the rest of the program uses it: opening and
// creating the file, tables with their companions, finding types, their
// designations, automatic codes, the empirical resistances and packing.

#include "refbook/spr_class.h"

#include <gtest/gtest.h>

#include <cmath>

#include "refbook/automatic_code.h"
#include "refbook/book_builder.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "storage/db_reader.h"
#include "support/faulty_file_system.h"

namespace kordavelt {
namespace {

using testing::AddBareWire;
using testing::AddBreaker;
using testing::AddCable;
using testing::AddCableBrand;
using testing::AddCurrentTransformer;
using testing::AddFuse;
using testing::AddInsulatedWire;
using testing::AddTransformer;
using testing::AddTripUnit;
using testing::AddTrunking;
using testing::AddType;
using testing::ScriptedUiHost;
using testing::TestBook;

const std::string kBook = sprClass::kDefaultFileName;

bool Sound(MemoryFileSystem& files, const std::string& name) {
  MemoryFile image(*files.Find(name));
  return DbReader(image, db::FileKind::ReferenceBook).Check().empty();
}

// The program started twice on one catalogue: the second could not open its
// model at all, because the book's writer lock was taken; it reads the book
// instead, says so, and its edits of the book are refused, not torn.
TEST(SprClassTest, ABookAnotherWriterHoldsIsOpenedForReadingOnly) {
  TestBook t;
  AddCableBrand(t.book, "ВВГ");
  sprClass second(t.ui, t.files);
  ASSERT_TRUE(second.OpenBook(kBook));
  EXPECT_TRUE(second.ReadOnly());
  EXPECT_EQ(t.ui.Messages().back().find(
                kBook + ": Справочник открыт для записи другой программой (процесс "),
            0u)
      << t.ui.Messages().back();
  EXPECT_TRUE(second.FindType(book::kCableBrandTable, 1));
  tbClass* brands = second.OpenBookTable(book::kCableBrandTable);
  brands->Insert(7);
  EXPECT_EQ(brands->Status(), kStatusReadOnly);
  second.CloseBook();

  t.book.CloseBook();
  ASSERT_TRUE(second.OpenBook(kBook));
  EXPECT_FALSE(second.ReadOnly()) << "once the other writer is gone, it is written again";
  second.CloseBook();
}

TEST(SprClassTest, ANewBookIsCreatedEmptyWithItsSignature) {
  TestBook t;
  ASSERT_TRUE(t.book.IsOpen());
  EXPECT_EQ(t.book.Extension(), "SPR");
  const std::vector<std::uint8_t>& bytes = *t.files.Find(kBook);
  EXPECT_EQ(bytes[0], 6);
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 7), "KdvSpr");
  EXPECT_EQ(db::PageCount(bytes), 0);
  EXPECT_EQ(t.book.BookTable(book::kCableTable), nullptr) << "tables open on first use";
  EXPECT_TRUE(t.ui.Messages().empty());
}

TEST(SprClassTest, EveryTableIsCreatedWithItsRecordLength) {
  TestBook t;
  for (int table : BookTables()) {
    tbClass* open = t.book.OpenBookTable(table);
    ASSERT_NE(open, nullptr) << table;
    EXPECT_EQ(open->RecordLength(), BookRecordLength(table)) << table;
    EXPECT_EQ(t.book.LastRequestedTable(), table);
  }
  t.book.CloseBook();
  EXPECT_FALSE(t.book.IsOpen());
  const std::vector<std::uint8_t>& bytes = *t.files.Find(kBook);
  for (int table : BookTables()) {
    EXPECT_EQ(db::SlotLength(bytes, table), BookRecordLength(table) + 4) << table;
  }
  EXPECT_TRUE(Sound(t.files, kBook));
}

TEST(SprClassTest, TablesOpenWithTheirCompanions) {
  TestBook t;
  ASSERT_NE(t.book.OpenBookTable(book::kBreakerTable), nullptr);
  EXPECT_NE(t.book.BookTable(book::kBreakerSeriesTable), nullptr);
  EXPECT_NE(t.book.BookTable(book::kTripUnitTable), nullptr);
  EXPECT_EQ(t.book.BookTable(book::kCableBrandTable), nullptr);
  EXPECT_EQ(t.book.LastRequestedTable(), book::kBreakerTable) << "companions are not requests";

  ASSERT_NE(t.book.OpenBookTable(book::kMechanismTable), nullptr);
  EXPECT_NE(t.book.BookTable(book::kAsyncMotorTable), nullptr);
  EXPECT_NE(t.book.BookTable(book::kSynchronousMachineTable), nullptr);

  ASSERT_NE(t.book.OpenBookTable(book::kCableTable), nullptr);
  EXPECT_NE(t.book.BookTable(book::kCableBrandTable), nullptr);

  EXPECT_EQ(t.book.OpenBookTable(7), nullptr);
  EXPECT_EQ(t.book.OpenBookTable(111), nullptr);
  EXPECT_EQ(t.book.LastRequestedTable(), book::kCableTable) << "a refused number changes nothing";
  EXPECT_EQ(t.book.BookTable(7), nullptr);
  EXPECT_TRUE(t.ui.Messages().empty());
}

TEST(SprClassTest, NothingOpensWithoutAFile) {
  MemoryFileSystem files;
  ScriptedUiHost ui;
  sprClass book(ui, files);
  EXPECT_EQ(book.OpenBookTable(book::kCableTable), nullptr);
  EXPECT_FALSE(book.FindType(book::kCableTable, 1));
  EXPECT_EQ(book.TypeDesignation(book::kCableTable), "");
  EXPECT_EQ(book.AssignAutomaticCode(book::kCableTable), 0);
  EXPECT_TRUE(book.CurrentRecord(book::kCableTable).empty());
  book.CloseBook();
  EXPECT_TRUE(ui.Messages().empty());
}

TEST(SprClassTest, FindTypePositionsOnTheCode) {
  TestBook t;
  AddFuse(t.book, "ПН2-100", 380, 100, {}, 500);
  AddFuse(t.book, "ПН2-250", 380, 250, {}, 700);
  ASSERT_TRUE(t.book.FindType(book::kFuseTable, 500));
  EXPECT_EQ(book::FuseRec(t.book.CurrentRecord(book::kFuseTable)).Inom(), 100.0f);
  EXPECT_FALSE(t.book.FindType(book::kFuseTable, 600));
  EXPECT_EQ(t.book.TypeDesignation(book::kFuseTable), "") << "no designation after a miss";
  EXPECT_FALSE(t.book.FindType(book::kFuseTable, 800));
  EXPECT_FALSE(t.book.FindType(book::kTransformerTable, 500)) << "empty table";
  EXPECT_FALSE(t.book.FindType(7, 500));
  ASSERT_TRUE(t.book.FindType(book::kFuseTable, 700));
  EXPECT_EQ(t.book.TypeDesignation(book::kFuseTable), "ПН2-250-250");
}

TEST(SprClassTest, CableDesignations) {
  TestBook t;
  const std::int32_t brand = AddCableBrand(t.book, "АВВГ");
  const std::int32_t reduced = AddCable(t.book, brand, 1000, 4, 95, 50);
  const std::int32_t full = AddCable(t.book, brand, 1000, 4, 95);
  ASSERT_TRUE(t.book.FindType(book::kCableTable, reduced));
  EXPECT_EQ(t.book.TypeDesignation(book::kCableTable), "АВВГ-3*95+1*50");
  ASSERT_TRUE(t.book.FindType(book::kCableTable, full));
  EXPECT_EQ(t.book.TypeDesignation(book::kCableTable), "АВВГ-4*95");
  EXPECT_EQ(t.book.LastRequestedTable(), book::kCableTable) << "the brand look-up is no request";

  ASSERT_TRUE(t.book.FindType(book::kCableBrandTable, brand));
  t.book.BookTable(book::kCableBrandTable)->Delete();
  ASSERT_TRUE(t.book.FindType(book::kCableTable, full));
  EXPECT_EQ(t.book.TypeDesignation(book::kCableTable), "");
}

TEST(SprClassTest, OtherDesignations) {
  TestBook t;
  AddInsulatedWire(t.book, "  АПВ ", 1, 2.5f);
  EXPECT_EQ(t.book.TypeDesignation(book::kInsulatedWireTable), "АПВ-2.5");
  AddInsulatedWire(t.book, "ПРТО", 3, 1.5f);
  EXPECT_EQ(t.book.TypeDesignation(book::kInsulatedWireTable), "ПРТО-3*1.5");
  AddBareWire(t.book, "АС", 50);
  EXPECT_EQ(t.book.TypeDesignation(book::kBareWireTable), "АС-50");
  AddTrunking(t.book, "ШМА4", 380, 1600);
  EXPECT_EQ(t.book.TypeDesignation(book::kTrunkingTable), "ШМА4-1600");
  AddTransformer(t.book, "ТМ", 630, 10, 0.4f);
  EXPECT_EQ(t.book.TypeDesignation(book::kTransformerTable), "ТМ-630/10");
  AddCurrentTransformer(t.book, "ТШП-0.66", 660, 300, 5);
  EXPECT_EQ(t.book.TypeDesignation(book::kCurrentTransformerTable), "ТШП-0.66-300/5");
  AddBreaker(t.book, " ВА51-35 ", 0, 380, 100, 10);
  EXPECT_EQ(t.book.TypeDesignation(book::kBreakerTable), "ВА51-35");
  AddTripUnit(t.book, "МТЗ", 0, {100});
  EXPECT_EQ(t.book.TypeDesignation(book::kTripUnitTable), "МТЗ");
  AddType(t.book, book::kRelayTable, "РТЛ", 5);
  EXPECT_EQ(t.book.TypeDesignation(book::kRelayTable), "РТЛ");
  AddType(t.book, book::kSwitchTable, "Р-32", 5);
  EXPECT_EQ(t.book.TypeDesignation(book::kSwitchTable), "");
  EXPECT_EQ(t.book.TypeDesignation(15), "");
  EXPECT_EQ(t.book.TypeDesignation(book::kGeneratorTable), "") << "table not open";
}

TEST(SprClassTest, EqualBreakersGetConsecutiveCodes) {
  TestBook t;
  const std::int32_t first = AddBreaker(t.book, "ВА88-35", 3, 380, 100, 10);
  const std::int32_t second = AddBreaker(t.book, "ВА88-35М", 3, 380, 100, 10);
  const std::int32_t composed = 3 << 23 | 4 << 18 | 21 << 12 | 41 << 6;
  EXPECT_EQ(first, composed);
  EXPECT_EQ(second, composed + 1);
  // Giving a record its code again leaves it where it is.
  ASSERT_TRUE(t.book.FindType(book::kBreakerTable, second));
  EXPECT_EQ(t.book.AssignAutomaticCode(book::kBreakerTable), second);
  EXPECT_EQ(t.book.BookTable(book::kBreakerTable)->Count(), 2);
}

TEST(SprClassTest, FreeCodeSearchCoversTheCodeAndTheNext127) {
  TestBook t;
  const std::int32_t composed = 3 << 23 | 4 << 18 | 21 << 12 | 41 << 6;
  for (int i = 0; i < 127; ++i) AddBreaker(t.book, "ВА", 3, 380, 100, 10, 0, composed + i);
  EXPECT_EQ(AddBreaker(t.book, "ВА", 3, 380, 100, 10), composed + 127);
  // Every candidate taken: the record keeps the code it had.
  const std::int32_t kept = AddBreaker(t.book, "ВА", 3, 380, 100, 10, 0, 42);
  EXPECT_EQ(kept, 42);
  EXPECT_EQ(t.book.AssignAutomaticCode(book::kBreakerTable), 42);
  EXPECT_EQ(t.book.BookTable(book::kBreakerTable)->Key(), 42);
  EXPECT_EQ(book::BreakerRec(t.book.CurrentRecord(book::kBreakerTable)).Type(), "ВА");
}

TEST(SprClassTest, GiveFreeCodeKeepsTheDataAndAvoidsZero) {
  TestBook t;
  AddType(t.book, book::kMechanismTable, "Насос", 10);
  book::MechanismRec(t.book.CurrentRecord(book::kMechanismTable)).SetNnom(55);
  t.book.BookTable(book::kMechanismTable)->MarkModifiedAndFlush();
  EXPECT_EQ(t.book.GiveFreeCode(book::kMechanismTable, 10, 8), 10);
  EXPECT_EQ(t.book.GiveFreeCode(book::kMechanismTable, -5, 8), 1);
  ASSERT_TRUE(t.book.FindType(book::kMechanismTable, 1));
  EXPECT_EQ(book::MechanismRec(t.book.CurrentRecord(book::kMechanismTable)).Nnom(), 55.0f);
  // The highest code: the search stops there instead of running past it.
  AddType(t.book, book::kMechanismTable, "Вентилятор", 0x7FFFFFFF);
  AddType(t.book, book::kMechanismTable, "Компрессор", 7);
  EXPECT_EQ(t.book.GiveFreeCode(book::kMechanismTable, 0x7FFFFFFF, 8), 7);
  // A table without automatic codes keeps them.
  AddType(t.book, book::kRelayTable, "РТЛ", 77);
  EXPECT_EQ(t.book.AssignAutomaticCode(book::kRelayTable), 77);
}

TEST(SprClassTest, BrandCodesStartFromTheRecordNumber) {
  TestBook t;
  EXPECT_EQ(AddCableBrand(t.book, "ВВГ"), 1);  // record 1, flags 0
  const std::int32_t aabl = AddCableBrand(t.book, "ААБл");
  EXPECT_EQ(aabl, 0x98 << 16 | 2);
  const std::int32_t cable = AddCable(t.book, aabl, 1000, 4, 95);
  EXPECT_EQ(cable, aabl | 7 << 24 | 4 << 13 | 12 << 8);
}

TEST(SprClassTest, TripUnitCodes) {
  TestBook t;
  EXPECT_EQ(AddTripUnit(t.book, "Р1", 2, {100, 160, 250}), 2 << 23 | 25 << 17 | 21 << 11);
  EXPECT_EQ(AddTripUnit(t.book, "Р2", 2, {100}), 2 << 23 | 21 << 17 | 21 << 11);
}

TEST(SprClassTest, EmpiricalResistances) {
  EXPECT_NEAR(sprClass::TerminalResistance(0x80, 95), 0.4446 * std::pow(95.0, -0.5981), 1e-12);
  EXPECT_NEAR(sprClass::TerminalResistance(0x7F, 95), 0.2 * std::pow(95.0, -0.6), 1e-12);
  EXPECT_EQ(sprClass::TerminalResistance(0x80, 0), 0);
  EXPECT_EQ(sprClass::TerminalResistance(0, -4), 0);
  EXPECT_EQ(sprClass::TerminalResistance(0, std::nan("")), 0);
  EXPECT_NEAR(sprClass::ContactResistance(100), 68.251 * std::pow(100.0, -0.9959), 1e-12);
  EXPECT_EQ(sprClass::ContactResistance(0), 0);

  TestBook t;
  EXPECT_EQ(t.book.BusbarJointResistance(), 0) << "table not open";
  const std::int32_t code = AddTrunking(t.book, "ШМА4", 380, 1600);
  ASSERT_TRUE(t.book.FindType(book::kTrunkingTable, code));
  EXPECT_NEAR(t.book.BusbarJointResistance(), 0.3711 * std::pow(1600.0, -0.6781), 1e-9);
  EXPECT_FALSE(t.book.FindType(book::kTrunkingTable, code + 1));
  EXPECT_EQ(t.book.BusbarJointResistance(), 0);
}

TEST(SprClassTest, TypesSurviveReopening) {
  TestBook t;
  const std::int32_t code = AddTransformer(t.book, "ТМГ", 400, 10, 0.4f);
  bool closed = false;
  bool opened = false;
  t.book.OnBookClosed = [&](sprClass& book) {
    closed = true;
    EXPECT_NE(book.BookTable(book::kTransformerTable), nullptr) << "tables go after the hook";
  };
  t.book.OnBookOpened = [&](sprClass&) { opened = true; };
  t.book.CloseBook();
  EXPECT_TRUE(closed);
  ASSERT_TRUE(t.book.OpenBook(kBook));
  EXPECT_TRUE(opened);
  EXPECT_EQ(t.book.LastRequestedTable(), 0);
  ASSERT_TRUE(t.book.FindType(book::kTransformerTable, code));
  EXPECT_EQ(t.book.TypeDesignation(book::kTransformerTable), "ТМГ-400/10");
}

TEST(SprClassTest, ADamagedFileIsRefusedWithTheEnginesMessage) {
  MemoryFileSystem files;
  ScriptedUiHost ui;
  files.Put("bad.SPR", std::vector<std::uint8_t>(5000, 0x5A));
  sprClass book(ui, files);
  EXPECT_FALSE(book.OpenBook("bad.SPR"));
  EXPECT_FALSE(book.IsOpen());
  EXPECT_EQ(ui.Messages().back(), "bad.SPR: Ошибка формата файла базы данных");
  EXPECT_EQ(book.OpenBookTable(book::kCableTable), nullptr);
  EXPECT_EQ(files.Find("bad.SPR")->size(), 5000u) << "the file is left as it was";

  // A model file is no reference book either.
  dbfClass model(ui, files, "LVN", "Brovaskel");
  model.SetFileName("net.LVN");
  ASSERT_TRUE(model.CreateFile());
  EXPECT_FALSE(book.OpenBook("net.LVN"));
}

TEST(SprClassTest, ATableOfAnotherLengthIsResizedOnlyWhenTheUserAgrees) {
  MemoryFileSystem files;
  ScriptedUiHost ui;
  {
    dbfClass old(ui, files, "SPR", "KdvSpr");
    old.SetFileName("old.SPR");
    ASSERT_TRUE(old.CreateFile());
    ASSERT_TRUE(old.OpenFile());
    tbClass* brands = old.OpenTable(book::kCableBrandTable, 20);
    brands->Insert(5);
    brands->MarkModifiedAndFlush();
    old.SetAskToSave(false);
    ASSERT_TRUE(old.CloseFile());
  }
  sprClass book(ui, files);
  ASSERT_TRUE(book.OpenBook("old.SPR"));
  ui.PressButton("Нет");
  EXPECT_EQ(book.OpenBookTable(book::kCableBrandTable), nullptr);
  EXPECT_EQ(ui.Messages().back(), "old.SPR: Изменить длину таблицы № 93");
  book.CloseBook();

  ASSERT_TRUE(book.OpenBook("old.SPR"));
  ui.PressButton("Да");
  tbClass* brands = book.OpenBookTable(book::kCableBrandTable);
  ASSERT_NE(brands, nullptr);
  EXPECT_EQ(brands->RecordLength(), 30);
  EXPECT_TRUE(book.FindType(book::kCableBrandTable, 5));
}

TEST(SprClassTest, FailedFileCallsNeverCrashOrPretend) {
  // Every file call of a short session fails once in turn.
  for (long call = 1;; ++call) {
    MemoryFileSystem memory;
    testing::FaultyFileSystem files(memory);
    struct QuietUi : ScriptedUiHost {
      std::optional<std::string> AskSaveFileName(const FileDialogRequest&) override { return {}; }
      std::optional<std::string> AskOpenFileName(const FileDialogRequest&) override { return {}; }
    } ui;
    files.FailCall(call);
    {
      sprClass book(ui, files);
      if (book.OpenBook(kBook)) {
        // A type reported as added is there, whole.
        if (testing::AddCableBrand(book, "АВВГ", 3) == 3 &&
            book.FindType(book::kCableBrandTable, 3)) {
          EXPECT_EQ(book::CableBrandRec(book.CurrentRecord(book::kCableBrandTable)).Type(), "АВВГ")
              << files.FailedCallText();
        }
        book.CloseBook();
      }
    }
    if (!files.FailureHappened()) break;
    ASSERT_LT(call, 200);
  }
}

TEST(SprClassTest, SaveAsReopensFromThePackedCopy) {
  TestBook t;
  const std::int32_t code = AddTrunking(t.book, "ШМА4", 380, 1600);
  t.book.OpenBookTable(book::kCableTable);
  int closes = 0;
  t.book.OnBookClosed = [&](sprClass&) { ++closes; };
  t.ui.ChooseFile("packed.SPR");
  ASSERT_TRUE(t.book.SaveAs());
  EXPECT_GE(closes, 1);
  EXPECT_EQ(t.book.FileName(), "packed.SPR");
  EXPECT_EQ(t.book.BookTable(book::kTrunkingTable), nullptr) << "tables open anew";
  ASSERT_TRUE(t.book.FindType(book::kTrunkingTable, code));
  EXPECT_TRUE(Sound(t.files, "packed.SPR"));

  t.ui.CancelInput();
  EXPECT_FALSE(t.book.SaveAs());
  EXPECT_TRUE(t.book.IsOpen());
  EXPECT_EQ(t.book.FileName(), "packed.SPR");
}

}  // namespace
}  // namespace kordavelt
