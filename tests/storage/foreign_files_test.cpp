// Files written by other writers may hold what this engine never writes:
// loose upper keys, reusable slots naming pages in use. Each case here once
// lost or misplaced a record.

#include <gtest/gtest.h>

#include <vector>

#include "storage/db_reader.h"
#include "storage/dbf_class.h"
#include "support/db_image_builder.h"
#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

using testing::DbImage;
using testing::DbImageBuilder;
using testing::Keys;
using testing::PatternRecords;

constexpr int kTable = 5;
constexpr int kOneRecordPerPage = 2044;

class ForeignFileTest : public ::testing::Test {
 protected:
  tbClass& Open(const DbImage& image, int dataLength) {
    files.Put("net.LVN", image.Data());
    file.SetFileName("net.LVN");
    EXPECT_TRUE(file.OpenFile());
    table = file.OpenTable(kTable, dataLength);
    EXPECT_NE(table, nullptr);
    return *table;
  }

  std::vector<std::int32_t> Keys() {
    std::vector<std::int32_t> keys;
    table->GoTo(0);
    while (table->Next()) keys.push_back(table->Key());
    return keys;
  }

  std::vector<DbProblem> Problems() {
    file.FlushAll();
    MemoryFile image(*files.Find("net.LVN"));
    return DbReader(image, db::FileKind::Model).Check();
  }

  void TearDown() override {
    file.SetAskToSave(false);
    file.CloseFile();
  }

  testing::ScriptedUiHost ui;
  MemoryFileSystem files;
  dbfClass file{ui, files, std::string(db::kModelExtension), std::string(db::kModelSignature)};
  tbClass* table = nullptr;
};

TEST_F(ForeignFileTest, ALooseRootBoundStillFindsTheFirstOfEqualKeys) {
  // One record a page, two pages a second-level page: keys 1, 2 | 3, 4. The
  // first root entry claims keys up to 3 although its pages end at 2.
  DbImage image = DbImageBuilder::Model()
                      .Table(kTable, kOneRecordPerPage, PatternRecords(testing::Keys(1, 4), 4),
                             {.twoLevel = true, .entriesPerSecondLevel = 2})
                      .Build();
  image.WithEntryKey(image.RootPage(kTable), 1, 3);
  tbClass& t = Open(image, kOneRecordPerPage);
  t.Seek(3);
  EXPECT_EQ(t.Status(), kStatusOk);
  EXPECT_EQ(t.RecordNumber(), 3);
  t.Insert(3);
  EXPECT_EQ(t.Status(), kStatusOk);
  EXPECT_EQ(t.RecordNumber(), 4) << "after the 3 already there";
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{1, 2, 3, 3, 4}));
}

TEST_F(ForeignFileTest, AReusableSlotNamingAPageInUseIsPassedBy) {
  // Keys 1 … 6, three pages a second-level page. The first second-level
  // page's free slot names the first data page of the second one, as a
  // split that does not clear its old entries leaves it.
  DbImage image = DbImageBuilder::Model()
                      .Table(kTable, kOneRecordPerPage, PatternRecords(testing::Keys(1, 6), 4),
                             {.twoLevel = true, .entriesPerSecondLevel = 3})
                      .Build();
  const int root = image.RootPage(kTable);
  const int firstSecond = image.EntryPageOf(root, 1);
  const int otherSecond = image.EntryPageOf(root, 2);
  image.WithEntryPage(firstSecond, 4,
                      static_cast<std::uint16_t>(image.EntryPageOf(otherSecond, 1)));
  tbClass& t = Open(image, kOneRecordPerPage);
  t.Insert(2);
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{1, 2, 2, 3, 4, 5, 6}));
  EXPECT_TRUE(Problems().empty());
}

TEST_F(ForeignFileTest, AClearedRawBlockIsNoRootOfAnyTable) {
  // A raw block whose bytes look like an index root naming page 2, the first
  // data page of table 5: made into a table, it must not take that page.
  tbClass& t =
      Open(DbImageBuilder::Model().Table(kTable, 4, PatternRecords({7, 8, 9}, 4)).Build(), 4);
  std::vector<std::uint8_t> block(64, 0);
  block[0] = 1;   // index mark
  block[14] = 2;  // entry 1 names page 2
  ASSERT_TRUE(file.WriteBlock(10, block));
  file.ClearTable(10);
  ASSERT_NE(file.OpenTable(10, 4), nullptr);
  EXPECT_EQ(Keys(), (std::vector<std::int32_t>{7, 8, 9}));
  (void)t;
  EXPECT_TRUE(Problems().empty());
}

TEST_F(ForeignFileTest, OpeningATableAgainKeepsWhatTheFirstObjectHeld) {
  // The 54th ascending record opens a new page that is written at the next
  // flush; a second open of the table must not read the file before it is.
  tbClass& t = Open(DbImageBuilder::Model().Build(), 34);
  for (int k = 1; k <= 54; ++k) t.Insert(k);
  tbClass* again = file.OpenTable(kTable, 34);
  ASSERT_NE(again, nullptr);
  table = again;
  EXPECT_EQ(again->Count(), 54);
  EXPECT_EQ(Keys().back(), 54);
}

}  // namespace
}  // namespace kordavelt
