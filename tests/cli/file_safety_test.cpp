// An engineer's model is never lost or silently damaged by the command line.
// The faults this guards against were all found by attacking the tool:
// commands that only read rewrote the model, its backup or its book (or made
// an empty book beside it); an import killed half way left a half-imported
// model that passed the check; two imports at once corrupted the model; a
// full disk was reported as success; a failed import kept its changes, and a
// failed one into a new model left an empty model behind.

#include <gtest/gtest.h>

#include <map>

#include "cli/cli_run.h"
#include "model/model_builder.h"
#include "storage/backup_copy.h"
#include "storage/file_replace.h"
#include "storage/writer_mark.h"
#include "support/faulty_file_system.h"

namespace kordavelt {
namespace {

using testing::CliRun;
using testing::FaultyFileSystem;
using testing::ModelBuilder;
using testing::PutText;
using testing::RunTool;

using Files = std::map<std::string, std::vector<std::uint8_t>>;

const std::string kModel = ModelBuilder::kModelPath;
const std::string kBackup = "/models/test.~LVN";
const std::string kBook = "/models/Kordavelt.SPR";
const std::string kRows = "/in/rows.csv";

// Rows that change the model: a second board fed by a new cable, a motor on it.
constexpr std::string_view kNewRows =
    "#Node,Key\r\n"
    "ЩР-2,7,0,0,0,0,380,0,0\r\n"
    "\r\n#Cable,KeyBeg\r\n"
    "КЛ-7,1.9,7.1,0,255,0,1,0,0,80,1,Откр,0\r\n";

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

class FileSafetyTest : public ::testing::Test {
 protected:
  // A feeder on bus 1: a source, a cable to board 2, a pump motor; closed,
  // with its book beside it and a backup from an earlier open that differs
  // from the model.
  void SetUp() override {
    const int bus = m.Node();
    const int board = m.Node();
    m.Source(bus, "Т1");
    m.Cable(bus, board, 0, 50);
    m.Receiver(board, m.Group("Насос"), "М1");
    m->SetAskToSave(false);
    ASSERT_TRUE(m->CloseFile());
    m.files.Copy("/program/Kordavelt.SPR", kBook);
    m.files.Remove("/program/Kordavelt.SPR");
    std::vector<std::uint8_t> older = *m.files.Find(kModel);
    m.files.Put(kBackup, older);
    PutText(m.files, kRows, kNewRows);
    ASSERT_TRUE(FileIsSound(m.files, kModel));
    start = Snapshot(m.files);
  }

  static Files Snapshot(const MemoryFileSystem& files) {
    Files snapshot;
    for (const std::string& path : files.Paths()) snapshot[path] = *files.Find(path);
    return snapshot;
  }

  // A file system holding `files`, each file its own copy.
  static void Restock(MemoryFileSystem& memory, const Files& files) {
    for (const auto& [path, bytes] : files) memory.Put(path, bytes);
  }

  // The files a successful import of kNewRows leaves.
  Files Imported() {
    MemoryFileSystem memory;
    Restock(memory, start);
    const CliRun run = RunTool(memory, {"import-model", kModel, kRows});
    EXPECT_EQ(run.code, kExitOk) << run.err;
    return Snapshot(memory);
  }

  ModelBuilder m;
  Files start;
};

TEST_F(FileSafetyTest, CommandsThatOnlyReadLeaveEveryFileAsItWas) {
  EXPECT_EQ(RunTool(m.files, {"export-model", kModel, "/out/m.csv"}).code, kExitOk);
  EXPECT_EQ(RunTool(m.files, {"export-book", kBook, "/out/b.csv"}).code, kExitOk);
  const CliRun packed = RunTool(m.files, {"pack", kModel, "/out/p.LVN"});
  EXPECT_EQ(packed.code, kExitOk) << packed.err;
  RunTool(m.files, {"calc", kModel});
  RunTool(m.files, {"elements", kModel});
  RunTool(m.files, {"dump", kModel});
  RunTool(m.files, {"check", kModel});

  Files after = Snapshot(m.files);
  for (const char* output : {"/out/m.csv", "/out/b.csv", "/out/p.LVN", "/out/p.~LVN"}) {
    after.erase(output);
  }
  EXPECT_EQ(after, start) << "no file changed, and none appeared beside the model";
  EXPECT_TRUE(FileIsSound(m.files, "/out/p.LVN"));
  EXPECT_FALSE(m.files.Exists("/out/p.~LVN")) << "a new packed copy has no earlier state";
}

TEST_F(FileSafetyTest, ADamagedModelIsNeverRewrittenByACommandThatReads) {
  const std::vector<std::uint8_t> stub(512, 0x41);
  m.files.Put(kModel, stub);
  start = Snapshot(m.files);
  EXPECT_NE(RunTool(m.files, {"export-model", kModel, "/out/m.csv"}).code, kExitOk);
  EXPECT_NE(RunTool(m.files, {"pack", kModel, "/out/p.LVN"}).code, kExitOk);
  EXPECT_NE(RunTool(m.files, {"calc", kModel}).code, kExitOk);
  EXPECT_NE(RunTool(m.files, {"import-model", kModel, kRows}).code, kExitOk);
  EXPECT_EQ(Snapshot(m.files), start);
}

TEST_F(FileSafetyTest, ASecondWriterIsRefusedAndTheModelStaysAsItWas) {
  WriterLock::Outcome outcome = WriterLock::Outcome::Failed;
  std::unique_ptr<WriterLock> other = WriterLock::Acquire(m.files, kModel, outcome);
  ASSERT_NE(other, nullptr);
  ASSERT_EQ(other->MarkReplacing(), 0);  // another import at work

  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"import-model", kModel, kRows},
        std::vector<std::string>{"restore", kModel},
        std::vector<std::string>{"calc", kModel, "--choice"},
        std::vector<std::string>{"pack", "/models/other.LVN", kModel}}) {
    const CliRun run = RunTool(m.files, args);
    EXPECT_EQ(run.code, kExitUsage) << args[0];
    EXPECT_NE(run.err.find("Файл уже открыт для записи другой программой (процесс "),
              std::string::npos)
        << args[0] << ": " << run.err;
  }
  // Another import only ever replaces the file whole: it is read itself.
  const CliRun exported = RunTool(m.files, {"export-model", kModel, "/out/m.csv"});
  EXPECT_EQ(exported.code, kExitOk) << exported.err;
  EXPECT_EQ(exported.err, "");
  EXPECT_EQ(*m.files.Find(kModel), start.at(kModel));
}

TEST_F(FileSafetyTest, ReadersOfAModelTheProgramChangesInPlaceReadItsBackup) {
  MemoryFileSystem& files = m.files;
  // The backup holds one node; the model, open in the program, two.
  {
    testing::ScriptedUiHost ui;
    modelClass older(ui, files, "/program/Kordavelt");
    older.SetFileName("/models/older.LVN");
    ASSERT_TRUE(older.CreateFile());
    ASSERT_TRUE(older.OpenFile());
    older.AddNode();
    older.SetAskToSave(false);
    ASSERT_TRUE(older.CloseFile());
  }
  files.Put(kBackup, *files.Find("/models/older.LVN"));
  WriterLock::Outcome outcome = WriterLock::Outcome::Failed;
  std::unique_ptr<WriterLock> program = WriterLock::Acquire(files, kModel, outcome);
  ASSERT_EQ(program->MarkWriting(), 0);

  const CliRun run = RunTool(files, {"export-model", kModel, "/out/m.TXT", "--variant", "3"});
  EXPECT_EQ(run.code, kExitOk) << run.err;
  EXPECT_NE(run.err.find(kModel + ": Файл открыт для записи другой программой (процесс "),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("прочитана его копия " + kBackup), std::string::npos) << run.err;
  const std::string text = testing::TextOf(files, "/out/m.TXT");
  EXPECT_NE(text.find("\t1\t"), std::string::npos) << text;
  EXPECT_EQ(text.find("\t2\t0\t"), std::string::npos) << "node 2 is only in the model: " << text;
}

TEST_F(FileSafetyTest, AnInterruptedModelIsRefusedUntilItsBackupIsPutBack) {
  const std::vector<std::uint8_t> halfWritten = start.at(kModel);
  {
    WriterLock::Outcome outcome = WriterLock::Outcome::Failed;
    WriterLock::Acquire(m.files, kModel, outcome)->MarkWriting();
  }  // the program died while it wrote

  const CliRun import = RunTool(m.files, {"import-model", kModel, kRows});
  EXPECT_EQ(import.code, kExitUsage);
  EXPECT_NE(import.err.find("Запись файла была прервана (процесс "), std::string::npos);
  EXPECT_NE(import.err.find("Вернуть её: kordavelt-cli restore " + kModel + " --from-backup"),
            std::string::npos)
      << import.err;
  const CliRun check = RunTool(m.files, {"check", kModel});
  EXPECT_EQ(check.code, kExitProblems) << "a half-written model does not pass the check";
  EXPECT_NE(check.out.find("Запись файла была прервана"), std::string::npos) << check.out;

  const CliRun restore = RunTool(m.files, {"restore", kModel, "--from-backup"});
  EXPECT_EQ(restore.code, kExitOk) << restore.err;
  EXPECT_EQ(restore.out, kModel + ": модель возвращена к копии " + kBackup +
                             "; прерванный файл сохранён как /models/test.interrupted.LVN\n");
  EXPECT_EQ(*m.files.Find(kModel), start.at(kBackup));
  EXPECT_EQ(*m.files.Find("/models/test.interrupted.LVN"), halfWritten);
  EXPECT_EQ(*m.files.Find(kBackup), start.at(kBackup)) << "the last good state stays";
  EXPECT_EQ(ProbeWriter(m.files, kModel).state, WriterState::None);
  EXPECT_EQ(RunTool(m.files, {"import-model", kModel, kRows}).code, kExitOk);
}

// The import killed after every single change of files in turn: the model
// is always the old one or the new one, byte for byte, with no recovery.
TEST_F(FileSafetyTest, AnImportKilledAtAnyMomentLeavesTheOldModelOrTheNewOne) {
  const Files imported = Imported();
  ASSERT_NE(imported.at(kModel), start.at(kModel));
  long changes = 0;
  {
    MemoryFileSystem memory;
    Restock(memory, start);
    FaultyFileSystem counting(memory);
    ASSERT_EQ(RunTool(counting, {"import-model", kModel, kRows}).code, kExitOk);
    changes = counting.Changes();
  }
  for (long kill = 0; kill <= changes; ++kill) {
    MemoryFileSystem memory;
    Restock(memory, start);
    {
      FaultyFileSystem dying(memory);
      dying.DropChangesAfter(kill);
      RunTool(dying, {"import-model", kModel, kRows});
    }
    const std::vector<std::uint8_t>& model = *memory.Find(kModel);
    EXPECT_TRUE(model == start.at(kModel) || model == imported.at(kModel)) << "killed at " << kill;
    EXPECT_NE(ProbeWriter(memory, kModel).state, WriterState::Interrupted);
  }
}

// Every single file call of the import made to fail in turn: a run that
// exits 0 left the new model, any other the old one, with the failure
// reported once and no temporary file left behind.
TEST_F(FileSafetyTest, AnImportFailingAnyCallLeavesTheOldModelUnlessItSucceeded) {
  const Files imported = Imported();
  for (long call = 1;; ++call) {
    MemoryFileSystem memory;
    Restock(memory, start);
    FaultyFileSystem files(memory);
    files.FailCall(call);
    const CliRun run = RunTool(files, {"import-model", kModel, kRows});
    if (!files.FailureHappened()) break;
    SCOPED_TRACE(files.FailedCallText());
    const std::vector<std::uint8_t>& model = *memory.Find(kModel);
    if (run.code == kExitOk) {
      EXPECT_EQ(model, imported.at(kModel));
      EXPECT_FALSE(files.FailedCallWrites()) << "a failed write reported as success";
    } else {
      EXPECT_EQ(model, start.at(kModel)) << run.err;
      EXPECT_LE(Count(run.err, "\n"), 6u) << "the failure is reported once: " << run.err;
    }
    for (const std::string& path : memory.Paths()) {
      EXPECT_FALSE(path.ends_with(".tmp")) << path;
    }
  }
}

TEST_F(FileSafetyTest, AFullDiskEndsTheImportWithOneMessageAndTheOldModel) {
  FaultyFileSystem full(m.files);
  full.SetFreeSpace(3000);
  const CliRun run = RunTool(full, {"import-model", kModel, kRows});
  EXPECT_EQ(run.code, kExitProblems);
  EXPECT_EQ(Count(run.err, "Нет места на диске"), 1u) << run.err;
  EXPECT_EQ(*m.files.Find(kModel), start.at(kModel));
  EXPECT_EQ(*m.files.Find(kBackup), start.at(kBackup)) << "an older backup is not truncated";
}

TEST_F(FileSafetyTest, AFailedImportIntoANewModelLeavesNoFile) {
  PutText(m.files, "/in/bad.csv", "#Node,Key\r\nЩ,abc,0,0,0,0,380,0,0\r\n");
  const CliRun run = RunTool(m.files, {"import-model", "/models/new.LVN", "/in/bad.csv"});
  EXPECT_EQ(run.code, kExitProblems);
  EXPECT_EQ(run.err,
            "/in/bad.csv: строка 2, Node, Key: «abc» — не число\n"
            "/models/new.LVN: Файл не принят, модель не изменена\n");
  for (const std::string& path : m.files.Paths()) {
    EXPECT_FALSE(path.starts_with("/models/new")) << path;
  }
}

TEST_F(FileSafetyTest, HostileNumbersChangeNothingAndAreReportedWithTheirPlace) {
  PutText(m.files, "/in/bad.csv",
          "#Node,Key\r\n"
          "Щ1,5,0,0,0,0,380,nan,0\r\n"
          "Щ2,6,0,0,0,0,380,1e309,0\r\n"
          "Щ3,1.5,0,0,0,0,380,0,0\r\n"
          "Щ4,8,0x10,0,0,0,380,0,0\r\n");
  const CliRun run = RunTool(m.files, {"import-model", kModel, "/in/bad.csv"});
  EXPECT_EQ(run.code, kExitProblems);
  EXPECT_EQ(Count(run.err, "/in/bad.csv: строка "), 4u) << run.err;
  EXPECT_NE(run.err.find("строка 4, Node, Key: «1.5» — не целое число"), std::string::npos)
      << run.err;
  EXPECT_EQ(Snapshot(m.files).at(kModel), start.at(kModel));
}

TEST_F(FileSafetyTest, AnOutputThatCannotBeWrittenLeavesNoPartialFile) {
  PutText(m.files, "/out/m.csv", "an export of yesterday");
  const std::vector<std::uint8_t> yesterday = *m.files.Find("/out/m.csv");
  FaultyFileSystem full(m.files);
  full.SetFreeSpace(100);
  const CliRun run = RunTool(full, {"export-model", kModel, "/out/m.csv"});
  EXPECT_EQ(run.code, kExitProblems);
  EXPECT_NE(run.err.find("Нет места на диске"), std::string::npos) << run.err;
  EXPECT_EQ(*m.files.Find("/out/m.csv"), yesterday);
  for (const std::string& path : m.files.Paths()) EXPECT_FALSE(path.ends_with(".tmp")) << path;
}

TEST_F(FileSafetyTest, ABookImportWithABadRowAddsNothing) {
  PutText(m.files, "/in/book.csv",
          "#SPred,NN,Type,Unom,Inom\r\n"
          "1,ШМА4-1250,380,1250,0,0.03,0.016,0.12,0.13,0\r\n"
          "2,ШМА4-1600,380,abc,0,0.03,0.016,0.12,0.13,0\r\n");
  start = Snapshot(m.files);
  const CliRun run = RunTool(m.files, {"import-book", kBook, "/in/book.csv"});
  EXPECT_EQ(run.code, kExitProblems);
  EXPECT_EQ(Snapshot(m.files), start);
}

}  // namespace
}  // namespace kordavelt
