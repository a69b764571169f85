// A database file open for writing, as the program holds a model for hours:
// one writer at a time, a backup that is the last good state, and a writer
// killed at any moment recognised at the next open, which offers the backup
// back. Catches two writers corrupting one model, a damaged or truncated file
// replacing a good backup, and a half-written model opened as if sound.

#include <gtest/gtest.h>

#include <vector>

#include "storage/backup_copy.h"
#include "storage/db_reader.h"
#include "storage/dbf_class.h"
#include "storage/file_replace.h"
#include "support/faulty_file_system.h"
#include "support/scripted_ui_host.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

using testing::FaultyFileSystem;
using testing::ScriptedUiHost;

const std::string kName = "net.LVN";
const std::string kBackup = "net.~LVN";
const std::string kInterrupted = "net.interrupted.LVN";
constexpr int kTable = 5;
constexpr int kLength = 34;

// The model file as the program opens it: with a backup.
class ModelFile : public dbfClass {
 public:
  ModelFile(UiHost& ui, FileSystem& files)
      : dbfClass(ui, files, std::string(db::kModelExtension), std::string(db::kModelSignature)) {
    SetFileName(kName);
    SetBackupOnOpen(true);
  }
};

// The user of a session that may be killed anywhere: whatever is asked is
// answered with the first button ("Да" to the save question).
class AgreeingUiHost : public ScriptedUiHost {
 public:
  int ShowDialog(std::string_view, std::string_view, std::string_view, IconKind) override {
    return kFirstButton;
  }
};

std::vector<std::int32_t> KeysOf(tbClass& table) {
  std::vector<std::int32_t> keys;
  table.GoTo(0);
  while (table.Next()) keys.push_back(table.Key());
  return keys;
}

std::vector<std::int32_t> Range(int from, int to) {
  std::vector<std::int32_t> keys;
  for (int k = from; k <= to; ++k) keys.push_back(k);
  return keys;
}

class WritingTest : public ::testing::Test {
 protected:
  // The model with records 1 … count in table 5, closed, with a backup of
  // that state.
  void MakeModel(int count) {
    ModelFile file(quiet, files);
    file.SetBackupOnOpen(false);
    ASSERT_TRUE(file.CreateFile());
    ASSERT_TRUE(file.OpenFile());
    tbClass* table = file.OpenTable(kTable, kLength);
    for (int k = 1; k <= count; ++k) table->Insert(k);
    ASSERT_TRUE(file.CloseFile());
    original = *files.Find(kName);
  }

  // The keys the file holds, read without any writer's ceremony.
  std::vector<std::int32_t> KeysOnDisk() {
    ModelFile file(quiet, files);
    file.SetReadOnly(true);
    file.SetBackupOnOpen(false);
    if (!file.OpenFile()) return {-1};
    tbClass* table = file.OpenTable(kTable, kLength);
    std::vector<std::int32_t> keys = table != nullptr ? KeysOf(*table) : std::vector<int>{-2};
    file.CloseFile();
    return keys;
  }

  std::string LockText() {
    const auto* bytes = files.Find(WriterLockPath(kName));
    return bytes == nullptr ? "" : std::string(bytes->begin(), bytes->end());
  }

  ScriptedUiHost ui;
  ScriptedUiHost quiet;
  MemoryFileSystem files;
  std::vector<std::uint8_t> original;
};

TEST_F(WritingTest, ASecondWriterIsRefusedWhileTheFirstHoldsTheFile) {
  MakeModel(3);
  ModelFile first(ui, files);
  ASSERT_TRUE(first.OpenFile());
  EXPECT_NE(LockText().find("holding"), std::string::npos) << "nothing changed yet";
  first.OpenTable(kTable, kLength)->Insert(4);
  EXPECT_NE(LockText().find("writing"), std::string::npos) << "changed in place from now on";

  ModelFile second(ui, files);
  EXPECT_FALSE(second.OpenFile());
  EXPECT_FALSE(second.IsOpen());
  EXPECT_EQ(ui.Messages().back(),
            kName + ": Файл уже открыт для записи другой программой#(процесс " +
                std::to_string(CurrentProcessId()) + ", компьютер " + CurrentHostName() +
                ").#Изменять файл одновременно может только одна программа.");

  // A reader needs no lock and leaves everything as it was.
  ModelFile reader(ui, files);
  reader.SetReadOnly(true);
  ASSERT_TRUE(reader.OpenFile());
  EXPECT_EQ(KeysOf(*reader.OpenTable(kTable, kLength)), Range(1, 4));
  EXPECT_TRUE(reader.CloseFile());

  ui.PressButton("Да");
  ASSERT_TRUE(first.CloseFile());
  EXPECT_FALSE(files.Exists(WriterLockPath(kName))) << "a clean close removes the mark";
  EXPECT_TRUE(second.OpenFile());
  second.CloseFile();
}

TEST_F(WritingTest, AKilledWriterIsRecognisedAndYesPutsTheBackupBack) {
  MakeModel(3);
  {
    FaultyFileSystem dying(files);
    ModelFile file(ui, dying);
    ASSERT_TRUE(file.OpenFile());
    tbClass* table = file.OpenTable(kTable, kLength);
    for (int k = 4; k <= 300; ++k) table->Insert(k);
    dying.DropChangesAfter(dying.Changes());  // killed here
  }
  const std::vector<std::uint8_t> halfWritten = *files.Find(kName);
  EXPECT_EQ(ProbeWriter(files, kName).state, WriterState::Interrupted);

  ModelFile file(ui, files);
  ui.PressButton("Да");
  ASSERT_TRUE(file.OpenFile());
  const std::string question = ui.Calls().back().text;
  EXPECT_EQ(question.find("Запись файла была прервана (процесс "), 0u) << question;
  EXPECT_NE(question.find("#Вернуть файл к копии, сделанной при его открытии?#Копия: net.~LVN#"),
            std::string::npos)
      << question;
  EXPECT_EQ(KeysOf(*file.OpenTable(kTable, kLength)), Range(1, 3));
  EXPECT_EQ(*files.Find(kInterrupted), halfWritten) << "nothing written is thrown away";
  ASSERT_TRUE(file.CloseFile());
  EXPECT_EQ(ProbeWriter(files, kName).state, WriterState::None);
}

TEST_F(WritingTest, NoKeepsTheInterruptedFileAndTheBackupAsTheyAre) {
  MakeModel(3);
  std::vector<std::uint8_t> backup;
  {
    FaultyFileSystem dying(files);
    ModelFile file(ui, dying);
    ASSERT_TRUE(file.OpenFile());
    file.OpenTable(kTable, kLength)->Insert(4);
    backup = *files.Find(kBackup);
    dying.DropChangesAfter(dying.Changes());
  }
  ModelFile file(ui, files);
  ui.PressButton("Нет");
  ASSERT_TRUE(file.OpenFile());
  EXPECT_FALSE(file.BackupTaken());
  tbClass* table = file.OpenTable(kTable, kLength);
  table->Insert(5);
  // Without a backup of this open No would go back further than asked: no
  // question, the changes stay, and the last good state stays the backup.
  ASSERT_TRUE(file.CloseFile());
  EXPECT_EQ(*files.Find(kBackup), backup);
  EXPECT_EQ(KeysOnDisk(), Range(1, 5));
}

TEST_F(WritingTest, CancelOpensNothingAndKeepsTheMark) {
  MakeModel(3);
  {
    FaultyFileSystem dying(files);
    ModelFile file(ui, dying);
    ASSERT_TRUE(file.OpenFile());
    file.OpenTable(kTable, kLength)->Insert(4);
    dying.DropChangesAfter(dying.Changes());
  }
  ModelFile file(ui, files);
  ui.CloseWindow();
  EXPECT_FALSE(file.OpenFile());
  EXPECT_EQ(ProbeWriter(files, kName).state, WriterState::Interrupted);
}

// A program killed before it changed anything left the file as it found it:
// the next open goes on without a question.
TEST_F(WritingTest, AWriterKilledBeforeItsFirstChangeLeftNothingToRecover) {
  MakeModel(3);
  {
    FaultyFileSystem dying(files);
    ModelFile file(ui, dying);
    ASSERT_TRUE(file.OpenFile());
    file.OpenTable(kTable, kLength)->Seek(2);
    dying.DropChangesAfter(dying.Changes());
  }
  EXPECT_EQ(ProbeWriter(files, kName).state, WriterState::None);
  ModelFile file(ui, files);
  ASSERT_TRUE(file.OpenFile());
  EXPECT_TRUE(ui.Messages().empty());
  file.CloseFile();
}

// A file that takes no backup at the open (the reference book) takes one
// before its first change: the last good state is kept there, and a writer
// that dies afterwards is offered it back.
TEST_F(WritingTest, AFileWithoutABackupAtTheOpenTakesOneBeforeItsFirstChange) {
  MakeModel(3);
  {
    FaultyFileSystem dying(files);
    ModelFile file(ui, dying);
    file.SetBackupOnOpen(false);
    ASSERT_TRUE(file.OpenFile());
    EXPECT_FALSE(files.Exists(kBackup)) << "reading takes no backup";
    file.OpenTable(kTable, kLength)->Insert(4);
    EXPECT_EQ(*files.Find(kBackup), original);
    dying.DropChangesAfter(dying.Changes());
  }
  ModelFile file(ui, files);
  file.SetBackupOnOpen(false);
  ui.PressButton("Да");
  ASSERT_TRUE(file.OpenFile());
  EXPECT_EQ(KeysOf(*file.OpenTable(kTable, kLength)), Range(1, 3));
  file.CloseFile();
}

TEST_F(WritingTest, ADamagedFileNeverReplacesTheBackup) {
  MakeModel(3);
  {
    ModelFile file(ui, files);
    ASSERT_TRUE(file.OpenFile());  // the backup of the sound file
    ASSERT_TRUE(file.CloseFile());
  }
  const std::vector<std::uint8_t> backup = *files.Find(kBackup);
  std::vector<std::uint8_t> damaged = original;
  const int root = db::RootPage(damaged, kTable);
  damaged[db::PageOffset(root) + 2] = 77;  // the root names another table
  files.Put(kName, damaged);
  ASSERT_FALSE(FileIsSound(files, kName));

  ModelFile file(ui, files);
  ASSERT_TRUE(file.OpenFile());
  EXPECT_EQ(ui.Messages().front().find(kName + ": Файл повреждён: Ошибка структуры таблицы № 5"),
            0u)
      << ui.Messages().front();
  EXPECT_NE(ui.Messages().front().find("Копия net.~LVN не заменена"), std::string::npos);
  EXPECT_EQ(*files.Find(kBackup), backup);
  EXPECT_FALSE(file.BackupTaken());
  file.SetAskToSave(false);
  file.CloseFile();
}

TEST_F(WritingTest, ABackupThatDoesNotFitLeavesTheOldOneAndOpensNothing) {
  MakeModel(300);
  files.Put(kBackup, original);
  FaultyFileSystem full(files);
  full.SetFreeSpace(4096);
  ModelFile file(ui, full);
  EXPECT_FALSE(file.OpenFile());
  EXPECT_EQ(ui.Messages().back(), kName +
                                      ": Ошибка записи копии файла net.~LVN: Нет места на "
                                      "диске#Файл не открыт; прежняя копия не тронута.");
  EXPECT_EQ(*files.Find(kBackup), original);
  EXPECT_EQ(*files.Find(kName), original);
  EXPECT_FALSE(files.Exists(TemporaryPathFor(kBackup)));
  EXPECT_FALSE(files.Exists(WriterLockPath(kName)));
}

TEST_F(WritingTest, AFullDiskIsReportedOnceNotOncePerPage) {
  MakeModel(3);
  FaultyFileSystem full(files);
  ModelFile file(ui, full);
  ASSERT_TRUE(file.OpenFile());
  full.SetFreeSpace(0);
  tbClass* table = file.OpenTable(kTable, kLength);
  for (int k = 4; k <= 500; ++k) table->Insert(k);
  EXPECT_TRUE(file.IoFailed());
  int reports = 0;
  for (const std::string& message : ui.Messages()) {
    if (message.find("Ошибка Save Таблицы") != std::string::npos) ++reports;
  }
  EXPECT_EQ(reports, 1);
  file.SetAskToSave(false);
  EXPECT_FALSE(file.CloseFile()) << "changes that cannot be written are no save";
  full.SetFreeSpace(-1);
  EXPECT_TRUE(file.CloseFile());
}

// The whole session of the program — open, hundreds of inserts that split
// pages and turn the index two-level, deletions, the save question — killed
// after every single change in turn. After the next open (answering Yes to
// the question about the interrupted write when it comes) the file holds
// the old records or the new ones, never a mixture, and is sound.
TEST_F(WritingTest, AWriterKilledAfterAnyChangeLeavesTheOldStateOrTheNew) {
  MakeModel(20);
  const std::vector<std::int32_t> before = Range(1, 20);
  std::vector<std::int32_t> after;
  const auto session = [&](FileSystem& through) {
    AgreeingUiHost host;
    ModelFile file(host, through);
    if (!file.OpenFile()) return;
    tbClass* table = file.OpenTable(kTable, kLength);
    if (table == nullptr) return;
    for (int k = 21; k <= 400; ++k) table->Insert(k);
    for (int k = 2; k <= 20; k += 2) {
      table->Seek(k);
      table->Delete();
    }
    file.CloseFile();
  };
  long changes = 0;
  {
    FaultyFileSystem counting(files);
    session(counting);
    changes = counting.Changes();
    after = KeysOnDisk();
  }
  ASSERT_GT(changes, 100);
  ASSERT_NE(after, before);
  for (long kill = 0; kill <= changes; ++kill) {
    files = MemoryFileSystem();
    files.Put(kName, original);
    {
      FaultyFileSystem dying(files);
      dying.DropChangesAfter(kill);
      session(dying);
    }
    SCOPED_TRACE("killed after change " + std::to_string(kill));
    if (ProbeWriter(files, kName).state == WriterState::Interrupted) {
      ModelFile file(ui, files);
      ui.PressButton("Да");
      ASSERT_TRUE(file.OpenFile());
      file.SetAskToSave(false);
      file.CloseFile();
    }
    ASSERT_TRUE(FileIsSound(files, kName));
    const std::vector<std::int32_t> keys = KeysOnDisk();
    EXPECT_TRUE(keys == before || keys == after);
  }
}

}  // namespace
}  // namespace kordavelt
