// Positioning, inserting and deleting in one table: the index cases where a
// slip puts a record out of order, loses it, or leaves an index the next
// open cannot read.

#include "storage/tb_class.h"

#include <gtest/gtest.h>

#include <vector>

#include "storage/db_reader.h"
#include "storage/dbf_class.h"
#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

using testing::ScriptedUiHost;

constexpr int kTable = 5;

// A model file in memory with one table open, as a test scenario needs it.
class TableTest : public ::testing::Test {
 protected:
  dbfClass file{ui, files, std::string(db::kModelExtension), std::string(db::kModelSignature)};

  tbClass& Open(int dataLength) {
    file.SetFileName("net.LVN");
    EXPECT_TRUE(file.CreateFile());
    EXPECT_TRUE(file.OpenFile());
    file.SetJournalOn(true);
    table = file.OpenTable(kTable, dataLength);
    EXPECT_NE(table, nullptr);
    return *table;
  }

  void InsertKeys(const std::vector<std::int32_t>& keys) {
    for (std::int32_t k : keys) {
      table->Insert(k);
      ASSERT_EQ(table->Status(), kStatusOk) << "insert " << k;
    }
  }

  std::vector<std::int32_t> Keys() {
    std::vector<std::int32_t> keys;
    table->GoTo(0);
    while (table->Next()) keys.push_back(table->Key());
    return keys;
  }

  std::vector<std::string> Problems() {
    file.FlushAll();
    MemoryFile image(*files.Find("net.LVN"));
    std::vector<std::string> texts;
    for (const DbProblem& problem : DbReader(image, db::FileKind::Model).Check()) {
      texts.push_back(problem.text);
    }
    return texts;
  }

  ScriptedUiHost ui;
  MemoryFileSystem files;
  tbClass* table = nullptr;
};

TEST_F(TableTest, SeekOnAnEmptyTableFindsAnEmptyPage) {
  tbClass& t = Open(34);
  t.Seek(10);
  EXPECT_EQ(t.Status(), kStatusEmptyPage);
  EXPECT_EQ(t.RecordNumber(), 1);
  EXPECT_EQ(t.Key(), 0);
  EXPECT_TRUE(t.Record().empty());
  EXPECT_EQ(t.LastKey(), 0);
}

TEST_F(TableTest, OneRecordTableHasTheDocumentedLayout) {
  tbClass& t = Open(34);
  t.Insert(5);
  file.FlushAll();
  const std::vector<std::uint8_t>& bytes = *files.Find("net.LVN");
  const ConstBytes header(bytes.data(), db::kPageSize);
  EXPECT_EQ(db::SlotLength(header, kTable), 38);
  EXPECT_EQ(db::DescriptorCount(header, kTable), 1);
  const int root = db::RootPage(header, kTable);
  const ConstBytes rootPage(bytes.data() + db::PageOffset(root), db::kPageSize);
  EXPECT_EQ(db::IndexEntryCount(rootPage), 1);
  EXPECT_EQ(db::EntryUpperKey(rootPage, 1), db::kLastUpperKey);
  EXPECT_EQ(db::EntryCumulative(rootPage, 1), 1);
  const int data = db::EntryPage(rootPage, 1);
  EXPECT_EQ(bytes.at(db::PageOffset(data)), 5);
  EXPECT_EQ(bytes.at(db::PageOffset(data) + 1), 0);
}

TEST_F(TableTest, SeekFindsTheFirstOfEqualKeysAcrossTwoPages) {
  tbClass& t = Open(4);  // 256 records a page
  std::vector<std::int32_t> keys;
  for (int i = 0; i < 250; ++i) keys.push_back(i);
  for (int i = 0; i < 20; ++i) keys.push_back(300);  // the run of 300 crosses into a new page
  InsertKeys(keys);
  InsertKeys({100});  // splits the first page
  t.Seek(300);
  EXPECT_EQ(t.Status(), kStatusOk);
  EXPECT_EQ(t.RecordNumber(), 252);
  t.Prev();
  EXPECT_EQ(t.Key(), 249);
}

TEST_F(TableTest, InsertingAnExistingKeyGoesAfterAllRecordsOfThatKey) {
  tbClass& t = Open(34);
  InsertKeys({1, 7, 7, 7, 9});
  t.Seek(7);
  const std::int32_t firstSeven = t.RecordNumber();
  t.Insert(7);
  EXPECT_EQ(t.RecordNumber(), firstSeven + 3);
  t.Next();
  EXPECT_EQ(t.Key(), 9);
}

TEST_F(TableTest, LargestAndSmallestKeysSortAtTheEnds) {
  tbClass& t = Open(34);
  InsertKeys({db::kLastUpperKey, 0, -5, db::kLastUpperKey, std::numeric_limits<std::int32_t>::min(),
              db::kLastUpperKey});
  EXPECT_EQ(t.RecordNumber(), 6) << "the last insert of the largest key lands last";
  EXPECT_EQ(Keys(),
            (std::vector<std::int32_t>{std::numeric_limits<std::int32_t>::min(), -5, 0,
                                       db::kLastUpperKey, db::kLastUpperKey, db::kLastUpperKey}));
  EXPECT_EQ(t.LastKey(), db::kLastUpperKey);
}

TEST_F(TableTest, AscendingInsertsAppendPagesWithoutSplitting) {
  // With 53 records a page, 106 ascending keys fill exactly two pages.
  tbClass& t = Open(34);
  std::vector<std::int32_t> keys;
  for (int i = 1; i <= 106; ++i) keys.push_back(i * 10);
  InsertKeys(keys);
  file.FlushAll();
  const std::vector<std::uint8_t>& bytes = *files.Find("net.LVN");
  const ConstBytes rootPage(bytes.data() + db::PageOffset(db::RootPage(bytes, kTable)),
                            db::kPageSize);
  ASSERT_EQ(db::IndexEntryCount(rootPage), 2);
  EXPECT_EQ(db::EntryCumulative(rootPage, 1), 53);
  EXPECT_EQ(db::EntryUpperKey(rootPage, 1), 530);
  EXPECT_EQ(db::EntryCumulative(rootPage, 2), 106);
  EXPECT_EQ(t.Count(), 106);
}

TEST_F(TableTest, InsertIntoAFullPageInTheMiddleKeepsNDivTwoPlusOne) {
  tbClass& t = Open(34);
  std::vector<std::int32_t> keys;
  for (int i = 1; i <= 53; ++i) keys.push_back(i * 10);
  InsertKeys(keys);
  InsertKeys({15});
  file.FlushAll();
  const std::vector<std::uint8_t>& bytes = *files.Find("net.LVN");
  const ConstBytes rootPage(bytes.data() + db::PageOffset(db::RootPage(bytes, kTable)),
                            db::kPageSize);
  ASSERT_EQ(db::IndexEntryCount(rootPage), 2);
  EXPECT_EQ(db::EntryCumulative(rootPage, 1), 28) << "27 kept, then 15 added to them";
  EXPECT_EQ(db::EntryUpperKey(rootPage, 1), 270);
  EXPECT_EQ(t.RecordNumber(), 2);
  EXPECT_TRUE(Problems().empty());
}

TEST_F(TableTest, PagesOfTwoRecordsStillSplit) {
  // 1000 data bytes leave room for two records a page: a split that kept
  // n div 2 + 1 = 2 would move nothing and never end.
  tbClass& t = Open(1000);
  InsertKeys({10, 20, 30, 40, 15, 25, 12, 11, 13});
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{10, 11, 12, 13, 15, 20, 25, 30, 40}));
  EXPECT_TRUE(Problems().empty());
  (void)t;
}

TEST_F(TableTest, PagesOfOneRecordStillSplit) {
  tbClass& t = Open(1500);
  InsertKeys({10, 20, 30, 5, 25, 15, 20});
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{5, 10, 15, 20, 20, 25, 30}));
  EXPECT_TRUE(Problems().empty());
  (void)t;
}

TEST_F(TableTest, TheIndexGoesToTwoLevelsAndBackWithItsNotes) {
  // 256 records a page and ascending keys: page 255 fills at 65280 records,
  // too many, so a 1000-byte record (two a page) reaches two levels quickly.
  tbClass& t = Open(1000);
  std::vector<std::int32_t> keys;
  for (int i = 0; i < 600; ++i) keys.push_back(i);
  InsertKeys(keys);
  EXPECT_TRUE(t.TwoLevel());
  EXPECT_EQ(ui.Messages().front(), "БД: Переход на двухуровневый индекс таблицы №5");
  EXPECT_TRUE(Problems().empty());

  while (t.Count() > 3) {
    t.GoTo(1);
    t.Delete();
    ASSERT_EQ(t.Status(), kStatusOk);
  }
  EXPECT_FALSE(t.TwoLevel());
  EXPECT_EQ(ui.Messages().back(),
            "БД: Переход с двухуровневого на одноуровневый индекс таблицы №5");
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{597, 598, 599}));
  EXPECT_TRUE(Problems().empty());
}

TEST_F(TableTest, GoToZeroThenNextVisitsEveryRecordOnce) {
  tbClass& t = Open(34);
  InsertKeys({3, 1, 2});
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_EQ(t.Status(), kStatusBeyond);
  EXPECT_EQ(t.RecordNumber(), 4);
}

TEST_F(TableTest, GoToPastTheEndKeepsThePositionSoPrevFindsTheLast) {
  tbClass& t = Open(34);
  InsertKeys({1, 2, 3});
  t.GoTo(2);
  t.GoTo(t.Count() + 1);
  EXPECT_EQ(t.Status(), kStatusBeyond);
  EXPECT_EQ(t.RecordNumber(), 4);
  EXPECT_EQ(t.Key(), 2) << "the position stays where it was";
  EXPECT_TRUE(t.Prev());
  EXPECT_EQ(t.Key(), 3);
  t.GoTo(-1);
  EXPECT_EQ(t.Status(), kStatusGreater);
  EXPECT_EQ(t.RecordNumber(), 0);
}

TEST_F(TableTest, DeletingTheOnlyRecordLeavesAnEmptyPageUnderEntryOne) {
  tbClass& t = Open(34);
  InsertKeys({42});
  t.Delete();
  EXPECT_EQ(t.Status(), kStatusOk);
  EXPECT_EQ(t.Count(), 0);
  file.FlushAll();
  const std::vector<std::uint8_t>& bytes = *files.Find("net.LVN");
  const ConstBytes rootPage(bytes.data() + db::PageOffset(db::RootPage(bytes, kTable)),
                            db::kPageSize);
  EXPECT_EQ(db::IndexEntryCount(rootPage), 1);
  EXPECT_EQ(db::EntryCumulative(rootPage, 1), 0);
  EXPECT_EQ(db::EntryUpperKey(rootPage, 1), db::kLastUpperKey);
}

TEST_F(TableTest, DeleteWithNothingCurrentDeletesNothing) {
  // After a scan ends, a page is still loaded; deleting then must not take
  // the last record.
  tbClass& t = Open(34);
  InsertKeys({1, 2});
  Keys();
  t.Delete();
  EXPECT_EQ(t.Status(), kStatusNoRecord);
  EXPECT_EQ(t.Count(), 2);
}

TEST_F(TableTest, ChangeKeyMovesTheRecordWithItsData) {
  tbClass& t = Open(34);
  InsertKeys({1, 2, 3});
  t.Seek(1);
  t.Record()[0] = 0xAB;
  t.MarkModifiedAndFlush();
  t.ChangeKey(10);
  EXPECT_EQ(t.Status(), kStatusOk);
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{2, 3, 10}));
  t.Seek(10);
  EXPECT_EQ(t.Record()[0], 0xAB);
  EXPECT_EQ(file.JournalCount(), 0) << "the insert of ChangeKey empties the journal";
}

TEST_F(TableTest, UndoRestoresDeletionsSinceTheLastInsertOnly) {
  tbClass& t = Open(34);
  InsertKeys({1, 2, 3, 4});
  t.Seek(1);
  t.Delete();
  t.Seek(2);
  t.Delete();
  InsertKeys({9});
  file.UndoDeletions();
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{3, 4, 9}));

  t.Seek(3);
  t.Record()[0] = 33;
  t.MarkModifiedAndFlush();
  t.Delete();
  t.Seek(4);
  t.Delete();
  EXPECT_EQ(file.JournalCount(), 2);
  file.UndoDeletions();
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{3, 4, 9}));
  t.Seek(3);
  EXPECT_EQ(t.Record()[0], 33) << "restored with its data";
  EXPECT_EQ(file.JournalCount(), 0);
}

TEST_F(TableTest, UndoSkipsAKeyThatIsBackAlready) {
  // Two records of one key deleted: undo brings back the last one, then finds
  // the key present and leaves the other deletion alone.
  tbClass& t = Open(34);
  InsertKeys({2, 2, 5});
  t.Seek(2);
  t.Delete();
  t.Seek(2);
  t.Delete();
  file.UndoDeletions();
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{2, 5}));
}

TEST_F(TableTest, JournalKeepsTheLastThousandDeletions) {
  tbClass& t = Open(4);
  std::vector<std::int32_t> keys;
  for (int i = 1; i <= 1001; ++i) keys.push_back(i);
  InsertKeys(keys);
  for (int i = 1; i <= 1001; ++i) {
    t.Seek(i);
    t.Delete();
  }
  EXPECT_EQ(file.JournalCount(), dbfClass::kJournalCapacity);
  file.UndoDeletions();
  EXPECT_EQ(t.Count(), 1000);
  t.GoTo(1);
  EXPECT_EQ(t.Key(), 2) << "only the oldest deletion is gone";
}

TEST_F(TableTest, OnPositionRunsAfterEveryPositioning) {
  tbClass& t = Open(34);
  InsertKeys({1});
  int calls = 0;
  t.OnPosition = [&calls](tbClass&) { ++calls; };
  t.Seek(1);
  t.GoTo(1);
  t.GoTo(5);  // out of range: no position, no call
  EXPECT_EQ(calls, 2);
}

TEST_F(TableTest, ReadOnlyFileAnswersEveryWriteWithStatusThree) {
  Open(34);
  table->Insert(1);
  file.SetAskToSave(false);
  ASSERT_TRUE(file.CloseFile());
  file.SetReadOnly(true);
  ASSERT_TRUE(file.OpenFile());
  tbClass* t = file.OpenTable(kTable, 34);
  ASSERT_NE(t, nullptr);
  const std::vector<std::uint8_t> before = *files.Find("net.LVN");
  t->Insert(2);
  EXPECT_EQ(t->Status(), kStatusReadOnly);
  t->GoTo(1);
  t->Delete();
  EXPECT_EQ(t->Status(), kStatusReadOnly);
  EXPECT_EQ(t->Flush(), kStatusReadOnly);
  EXPECT_EQ(*files.Find("net.LVN"), before);
}

}  // namespace
}  // namespace kordavelt
