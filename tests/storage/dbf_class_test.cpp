// The life of a database file: creating, opening with a backup, the save
// question, going back to the backup, raw blocks, re-sizing, copying and
// packing. Faults here lose an engineer's whole model, not one record.

#include "storage/dbf_class.h"

#include <gtest/gtest.h>

#include <vector>

#include "storage/db_reader.h"
#include "support/scripted_ui_host.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

using testing::ScriptedUiHost;

const std::string kName = "net.LVN";
const std::string kBackup = "net.~LVN";

class FileTest : public ::testing::Test {
 protected:
  dbfClass NewFile() {
    return dbfClass(ui, files, std::string(db::kModelExtension), std::string(db::kModelSignature));
  }

  // A model file with table 5 (34 data bytes) holding `keys`, closed.
  void MakeModel(const std::vector<std::int32_t>& keys) {
    dbfClass file = NewFile();
    file.SetFileName(kName);
    ASSERT_TRUE(file.CreateFile());
    ASSERT_TRUE(file.OpenFile());
    tbClass* table = file.OpenTable(5, 34);
    for (std::int32_t k : keys) {
      table->Insert(k);
      table->Record()[0] = static_cast<std::uint8_t>(k);
      table->MarkModifiedAndFlush();
    }
    file.SetAskToSave(false);
    ASSERT_TRUE(file.CloseFile());
  }

  std::vector<std::int32_t> KeysOf(tbClass& table) {
    std::vector<std::int32_t> keys;
    table.GoTo(0);
    while (table.Next()) keys.push_back(table.Key());
    return keys;
  }

  bool Sound(const std::string& name) {
    MemoryFile image(*files.Find(name));
    return DbReader(image, db::FileKind::Model).Check().empty();
  }

  ScriptedUiHost ui;
  MemoryFileSystem files;
};

TEST_F(FileTest, ANewFileIsOnePageWithTheSignature) {
  dbfClass file = NewFile();
  file.SetFileName(kName);
  ASSERT_TRUE(file.CreateFile());
  const std::vector<std::uint8_t>& bytes = *files.Find(kName);
  ASSERT_EQ(bytes.size(), 2048u);
  EXPECT_EQ(bytes[0], 9);
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 10), "Brovaskel");
  EXPECT_EQ(db::PageCount(bytes), 0);
  EXPECT_EQ(file.JournalCount(), -1);
  EXPECT_FALSE(file.IsOpen()) << "CreateFile leaves the file closed";
}

TEST_F(FileTest, CreatingOverAnExistingFileAsksForAName) {
  MakeModel({});
  dbfClass file = NewFile();
  file.SetFileName(kName);
  ui.CancelInput();
  EXPECT_FALSE(file.CreateFile());
  EXPECT_EQ(ui.Calls().back().kind, "save");
  EXPECT_EQ(ui.Calls().back().caption, "Создание базы данных");
  EXPECT_EQ(ui.Calls().back().text, "Базы данных (*.LVN)|*.LVN");
}

TEST_F(FileTest, OpeningAMissingFileAsksWhichOne) {
  MakeModel({});
  dbfClass file = NewFile();
  file.SetFileName("gone.LVN");
  ui.ChooseFile(kName);
  ASSERT_TRUE(file.OpenFile());
  EXPECT_EQ(file.FileName(), kName);
  EXPECT_EQ(ui.Calls().front().caption, "Выбор базы данных");
  ui.CancelInput();
  dbfClass other = NewFile();
  EXPECT_FALSE(other.OpenFile()) << "an empty name asks too, and cancel opens nothing";
}

TEST_F(FileTest, AFileOfTheOtherKindIsRefused) {
  dbfClass book(ui, files, std::string(db::kReferenceBookExtension),
                std::string(db::kReferenceBookSignature));
  book.SetFileName("book.LVN");
  ASSERT_TRUE(book.CreateFile());
  dbfClass file = NewFile();
  file.SetFileName("book.LVN");
  EXPECT_FALSE(file.OpenFile());
  EXPECT_FALSE(file.IsOpen());
  EXPECT_EQ(ui.Messages().back(), "book.LVN: Ошибка формата файла базы данных");
}

TEST_F(FileTest, APageCountPastTheLimitIsRebuiltFromTheFileSize) {
  MakeModel({1, 2, 3});
  std::vector<std::uint8_t> bytes = *files.Find(kName);
  db::SetPageCount(bytes, 70000);
  files.Put(kName, bytes);
  dbfClass file = NewFile();
  file.SetFileName(kName);
  ASSERT_TRUE(file.OpenFile());
  EXPECT_EQ(ui.Messages().back(), kName + ": Проблемы файла БД!#Попытка восстановления.");
  EXPECT_EQ(file.PageCount(), static_cast<int>(bytes.size() / 2048) - 1);
  tbClass* table = file.OpenTable(5, 34);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(KeysOf(*table), (std::vector<std::int32_t>{1, 2, 3}));
}

TEST_F(FileTest, ClosingAChangedFileAsksAndYesKeepsTheChanges) {
  MakeModel({1});
  dbfClass file = NewFile();
  file.SetFileName(kName);
  file.SetBackupOnOpen(true);
  ASSERT_TRUE(file.OpenFile());
  EXPECT_TRUE(files.Exists(kBackup));
  file.OpenTable(5, 34)->Insert(2);
  ui.PressButton("Да");
  ASSERT_TRUE(file.CloseFile());
  EXPECT_EQ(ui.Messages().back(), kName + ": Cохранить изменения ?");

  ASSERT_TRUE(file.OpenFile());
  EXPECT_EQ(KeysOf(*file.OpenTable(5, 34)), (std::vector<std::int32_t>{1, 2}));
  file.SetAskToSave(false);
  file.CloseFile();
}

TEST_F(FileTest, AnsweringNoPutsTheBackupBackByteForByte) {
  MakeModel({1, 2, 3});
  const std::vector<std::uint8_t> original = *files.Find(kName);
  dbfClass file = NewFile();
  file.SetFileName(kName);
  file.SetBackupOnOpen(true);
  ASSERT_TRUE(file.OpenFile());
  tbClass* table = file.OpenTable(5, 34);
  for (int k = 10; k < 400; ++k) table->Insert(k);
  table->Seek(2);
  table->Delete();
  ui.PressButton("Нет");
  ASSERT_TRUE(file.CloseFile());
  EXPECT_EQ(*files.Find(kName), original);
  EXPECT_FALSE(files.Exists(kBackup));
}

TEST_F(FileTest, CancellingTheSaveQuestionKeepsTheFileOpen) {
  MakeModel({1});
  dbfClass file = NewFile();
  file.SetFileName(kName);
  file.SetBackupOnOpen(true);
  ASSERT_TRUE(file.OpenFile());
  tbClass* table = file.OpenTable(5, 34);
  table->Insert(2);
  ui.CloseWindow();
  EXPECT_FALSE(file.CloseFile());
  EXPECT_TRUE(file.IsOpen());
  EXPECT_EQ(file.Table(5), table) << "the tables stay as they were";
  file.SetAskToSave(false);
  EXPECT_TRUE(file.CloseFile());
}

TEST_F(FileTest, AnUnchangedFileClosesWithoutAQuestion) {
  MakeModel({1});
  dbfClass file = NewFile();
  file.SetFileName(kName);
  file.SetBackupOnOpen(true);
  ASSERT_TRUE(file.OpenFile());
  file.OpenTable(5, 34)->Seek(1);
  EXPECT_TRUE(file.CloseFile());
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(FileTest, HooksRunAtOpenAndClose) {
  MakeModel({1});
  dbfClass file = NewFile();
  file.SetFileName(kName);
  std::vector<std::string> events;
  file.OnOpen = [&](dbfClass& f) {
    events.push_back("open");
    f.OpenTable(5, 34);
  };
  file.OnClose = [&](dbfClass& f) {
    events.push_back(f.Table(5) != nullptr ? "close with table" : "close");
  };
  ASSERT_TRUE(file.OpenFile());
  ASSERT_TRUE(file.CloseFile());
  EXPECT_EQ(events, (std::vector<std::string>{"open", "close with table"}));
  EXPECT_EQ(file.Table(5), nullptr) << "closing frees the tables";
}

TEST_F(FileTest, JournalHooksRunOnDeleteAndWhenTheJournalEmpties) {
  MakeModel({1, 2});
  dbfClass file = NewFile();
  file.SetFileName(kName);
  ASSERT_TRUE(file.OpenFile());
  file.SetJournalOn(true);
  int deleted = 0;
  int changed = 0;
  file.OnRecordDeleted = [&](dbfClass&, tbClass& table) {
    ++deleted;
    EXPECT_EQ(table.Key(), 1) << "the hook sees the record before it goes";
  };
  file.OnJournalChanged = [&](dbfClass&) { ++changed; };
  tbClass* table = file.OpenTable(5, 34);
  table->Seek(1);
  table->Delete();
  EXPECT_EQ(deleted, 1);
  table->Insert(7);  // empties the journal
  EXPECT_EQ(changed, 1);
  file.UndoDeletions();  // nothing to undo: no hook
  EXPECT_EQ(changed, 1);
  file.SetAskToSave(false);
  file.CloseFile();
}

TEST_F(FileTest, TableNumberZeroDoesNotExist) {
  MakeModel({});
  dbfClass file = NewFile();
  file.SetFileName(kName);
  ASSERT_TRUE(file.OpenFile());
  EXPECT_EQ(file.OpenTable(0, 10), nullptr);
  EXPECT_FALSE(file.Ok());
  EXPECT_EQ(ui.Messages().back(), kName + ": Таблицы № 0 нет");
  EXPECT_EQ(file.OpenTable(6, 10), nullptr) << "after a failed open no table opens";
  file.CloseFile();
}

TEST_F(FileTest, ARefusedLengthChangeLeavesTheTableAlone) {
  MakeModel({1, 2});
  dbfClass file = NewFile();
  file.SetFileName(kName);
  ASSERT_TRUE(file.OpenFile());
  ui.PressButton("Нет");
  EXPECT_EQ(file.OpenTable(5, 40), nullptr);
  EXPECT_EQ(file.OpenStatus(), kStatusRefused);
  EXPECT_EQ(ui.Calls().back().text, "Изменить длину таблицы № 5");
  EXPECT_EQ(ui.Calls().back().buttons, "Нет#Да");
  EXPECT_FALSE(file.Ok());
  file.CloseFile();
  EXPECT_TRUE(Sound(kName));
}

TEST_F(FileTest, ALengthChangeKeepsEveryKeyAndTheCommonPrefix) {
  std::vector<std::int32_t> keys;
  for (int k = 1; k <= 300; ++k) keys.push_back(k % 7 == 0 ? 7 : k);  // with duplicates
  MakeModel(keys);
  for (int newLength : {60, 10}) {
    dbfClass file = NewFile();
    file.SetFileName(kName);
    ASSERT_TRUE(file.OpenFile());
    ui.PressButton("Да");
    tbClass* table = file.OpenTable(5, newLength);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->RecordLength(), newLength);
    std::vector<std::int32_t> sorted = keys;
    std::stable_sort(sorted.begin(), sorted.end());
    EXPECT_EQ(KeysOf(*table), sorted);
    table->GoTo(0);
    while (table->Next()) {
      ASSERT_EQ(table->Record()[0], static_cast<std::uint8_t>(table->Key()));
      if (newLength == 60) {
        ASSERT_EQ(table->Record()[40], 0) << "the longer tail is zero";
      }
    }
    file.SetAskToSave(false);
    file.CloseFile();
    EXPECT_TRUE(Sound(kName));
  }
}

TEST_F(FileTest, TheScratchTableStartsAnewAfterAReopen) {
  MakeModel({});
  {
    dbfClass file = NewFile();
    file.SetFileName(kName);
    ASSERT_TRUE(file.OpenFile());
    tbClass* scratch = file.OpenTable(db::kScratchTable, 12);
    scratch->Insert(1);
    scratch->Insert(2);
    file.SetAskToSave(false);
    file.CloseFile();
  }
  const std::vector<std::uint8_t>& bytes = *files.Find(kName);
  EXPECT_EQ(db::SlotLength(bytes, db::kScratchTable), 16);
  dbfClass file = NewFile();
  file.SetFileName(kName);
  ASSERT_TRUE(file.OpenFile());
  tbClass* scratch = file.OpenTable(db::kScratchTable, 12);
  ASSERT_NE(scratch, nullptr);
  EXPECT_EQ(scratch->Count(), 0);
  scratch->Insert(5);
  EXPECT_EQ(scratch->Status(), kStatusOk);
  file.SetAskToSave(false);
  file.CloseFile();
}

TEST_F(FileTest, RawBlocksRoundTripAndGuardTheirNumbers) {
  MakeModel({1});
  dbfClass file = NewFile();
  file.SetFileName(kName);
  ASSERT_TRUE(file.OpenFile());
  std::vector<std::uint8_t> settings(1469);
  for (std::size_t i = 0; i < settings.size(); ++i) settings[i] = static_cast<std::uint8_t>(i);
  std::vector<std::uint8_t> read(1469, 0xEE);
  EXPECT_TRUE(file.ReadBlock(1, read)) << "a block never written reads as zeros";
  EXPECT_EQ(read, std::vector<std::uint8_t>(1469, 0));
  EXPECT_TRUE(file.WriteBlock(1, settings));
  EXPECT_TRUE(file.ReadBlock(1, read));
  EXPECT_EQ(read, settings);

  EXPECT_FALSE(file.WriteBlock(5, settings));
  EXPECT_EQ(ui.Messages().back(), kName + ": Ошибка данных №5");
  EXPECT_FALSE(file.WriteBlock(0, settings));
  EXPECT_EQ(ui.Messages().back(), kName + ": Данных № 0 нет");
  EXPECT_FALSE(file.ReadBlock(0, read));
  EXPECT_EQ(ui.Messages().back(), kName + ": Таблицы N 0 нет");
  file.CloseFile();
  EXPECT_TRUE(Sound(kName));
}

TEST_F(FileTest, AClearedTableComesBackOnItsOwnPages) {
  MakeModel({1, 2, 3});
  dbfClass file = NewFile();
  file.SetFileName(kName);
  ASSERT_TRUE(file.OpenFile());
  const int pages = file.PageCount();
  file.ClearTable(5);
  tbClass* table = file.OpenTable(5, 34);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->Count(), 0);
  EXPECT_EQ(file.PageCount(), pages) << "root and first data page are reused";
  file.SetAskToSave(false);
  file.CloseFile();
  EXPECT_TRUE(Sound(kName));
}

TEST_F(FileTest, CopyTableRefusesATableNumberInUse) {
  MakeModel({4, 5, 6});
  dbfClass file = NewFile();
  file.SetFileName(kName);
  ASSERT_TRUE(file.OpenFile());
  tbClass* source = file.OpenTable(5, 34);
  EXPECT_EQ(file.CopyTable(*source, file, 5), 2);
  EXPECT_EQ(file.CopyTable(*source, file, 9), kStatusOk);
  tbClass* copy = file.OpenTable(9, 34);
  EXPECT_EQ(KeysOf(*copy), (std::vector<std::int32_t>{4, 5, 6}));
  copy->Seek(6);
  EXPECT_EQ(copy->Record()[0], 6);
  file.SetAskToSave(false);
  file.CloseFile();
}

TEST_F(FileTest, PackingKeepsEverythingInFewerPages) {
  std::vector<std::int32_t> keys;
  for (int k = 0; k < 2000; ++k) keys.push_back((k * 7919) % 2000);
  MakeModel(keys);
  dbfClass file = NewFile();
  file.SetFileName(kName);
  ASSERT_TRUE(file.OpenFile());
  std::vector<std::uint8_t> block(100, 0x5A);
  file.WriteBlock(1, block);
  tbClass* table = file.OpenTable(5, 34);
  for (int k = 0; k < 2000; k += 3) {
    table->Seek(k);
    table->Delete();
  }
  const int pagesBefore = file.PageCount();
  std::vector<std::int32_t> kept = KeysOf(*table);

  ui.ChooseFile("net!.LVN");
  ASSERT_TRUE(file.PackFile());
  EXPECT_EQ(ui.Calls().back().caption, "Сохранение базы данных с упаковкой");
  EXPECT_EQ(file.FileName(), "net!.LVN");
  EXPECT_LT(file.PageCount(), pagesBefore);
  file.OpenTable(5, 34);
  EXPECT_EQ(KeysOf(*file.Table(5)), kept);
  std::vector<std::uint8_t> read(100);
  file.ReadBlock(1, read);
  EXPECT_EQ(read, block);
  file.SetAskToSave(false);
  file.CloseFile();
  EXPECT_TRUE(Sound("net!.LVN"));
}

TEST_F(FileTest, PackingOverTheFileItselfIsRefused) {
  MakeModel({1});
  dbfClass file = NewFile();
  file.SetFileName(kName);
  ASSERT_TRUE(file.OpenFile());
  ui.ChooseFile(kName);
  EXPECT_FALSE(file.PackFile());
  EXPECT_TRUE(file.IsOpen());
  EXPECT_TRUE(files.Exists(kName));
  file.CloseFile();
}

}  // namespace
}  // namespace kordavelt
