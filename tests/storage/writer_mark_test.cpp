// The writer lock and mark of a database file, and what a reader may read.
// Catches a second writer let in beside the first (two processes writing one
// model corrupted it every time), a reader handed a file that a writer is
// changing or died changing, and a look at the lock that leaves a file behind
// in a folder the reader may not write.

#include "storage/writer_mark.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "storage/file_replace.h"
#include "support/scratch_folder.h"

namespace kordavelt {
namespace {

using testing::ScratchFolder;

const std::string kModel = "plant.LVN";
const std::string kBackup = "plant.~LVN";

// The smallest sound database: a header page with the model signature.
std::vector<std::uint8_t> EmptyDatabase() {
  std::vector<std::uint8_t> bytes(db::kPageSize, 0);
  db::PutSignature(bytes, db::kModelSignature);
  return bytes;
}

std::vector<std::uint8_t> Marked(std::vector<std::uint8_t> bytes, std::uint8_t mark) {
  bytes.push_back(mark);
  return bytes;
}

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::unique_ptr<WriterLock> TakeWriter(FileSystem& files, const std::string& path) {
  WriterLock::Outcome outcome = WriterLock::Outcome::Failed;
  return WriterLock::Acquire(files, path, outcome);
}

TEST(WriterMark, TheMarkNamesTheWriterAndWhatItDoes) {
  const WriterInfo writing = ParseWriterMark(WriterMarkText(WriterMode::Writing));
  EXPECT_TRUE(writing.writing);
  EXPECT_FALSE(writing.replacing);
  EXPECT_EQ(writing.processId, CurrentProcessId());
  EXPECT_EQ(writing.host, CurrentHostName());
  EXPECT_TRUE(ParseWriterMark(WriterMarkText(WriterMode::Replacing)).replacing);
  EXPECT_FALSE(ParseWriterMark(WriterMarkText(WriterMode::Opening)).writing);

  const WriterInfo foreign = ParseWriterMark("Kordavelt\r\npid 4711\r\nhost office\r\nwriting\r\n");
  EXPECT_EQ(DescribeWriter(foreign), "процесс 4711, компьютер office");
  EXPECT_TRUE(foreign.writing);
  EXPECT_EQ(DescribeWriter(ParseWriterMark("garbage\npid x")), "");
}

TEST(WriterLockInMemory, OneWriterAtATimeAndACleanEndLeavesNoMark) {
  MemoryFileSystem files;
  files.Put(kModel, EmptyDatabase());
  std::unique_ptr<WriterLock> first = TakeWriter(files, kModel);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(ProbeWriter(files, kModel).state, WriterState::Live);

  WriterLock::Outcome outcome = WriterLock::Outcome::Acquired;
  WriterInfo holder;
  EXPECT_EQ(WriterLock::Acquire(files, kModel, outcome, &holder), nullptr);
  EXPECT_EQ(outcome, WriterLock::Outcome::Busy);
  EXPECT_EQ(holder.processId, CurrentProcessId()) << "the refused writer learns who holds it";

  ASSERT_EQ(first->Release(), 0);
  first.reset();
  EXPECT_FALSE(files.Exists(WriterLockPath(kModel)));
  EXPECT_EQ(ProbeWriter(files, kModel).state, WriterState::None);
  EXPECT_NE(TakeWriter(files, kModel), nullptr);
}

TEST(WriterLockInMemory, AWriterThatDiesWritingLeavesAnInterruptedMark) {
  MemoryFileSystem files;
  files.Put(kModel, EmptyDatabase());
  {
    std::unique_ptr<WriterLock> writer = TakeWriter(files, kModel);
    ASSERT_EQ(writer->MarkWriting(), 0);
  }  // gone without Release, as a killed process goes
  const WriterStatus status = ProbeWriter(files, kModel);
  EXPECT_EQ(status.state, WriterState::Interrupted);
  EXPECT_EQ(status.writer.processId, CurrentProcessId());

  std::unique_ptr<WriterLock> next = TakeWriter(files, kModel);
  ASSERT_NE(next, nullptr);
  EXPECT_TRUE(next->FoundInterrupted());
  next.reset();
  EXPECT_EQ(ProbeWriter(files, kModel).state, WriterState::Interrupted)
      << "a writer that decided nothing leaves the mark as it found it";
}

TEST(WriterLockInMemory, AWriterThatDiesBeforeWritingLeavesNothingToRecover) {
  MemoryFileSystem files;
  files.Put(kModel, EmptyDatabase());
  TakeWriter(files, kModel).reset();  // opening only: the file was never changed
  EXPECT_EQ(ProbeWriter(files, kModel).state, WriterState::None);
  std::unique_ptr<WriterLock> next = TakeWriter(files, kModel);
  ASSERT_NE(next, nullptr);
  EXPECT_FALSE(next->FoundInterrupted());
}

// --- On disk: locks between open files, as between processes ------------------------

TEST(WriterLockOnDisk, TwoOpensOfTheLockFileExcludeEachOther) {
  ScratchFolder folder;
  DiskFileSystem disk;
  const std::string model = folder / kModel;
  testing::WriteBytes(model, EmptyDatabase());

  std::unique_ptr<WriterLock> first = TakeWriter(disk, model);
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(first->MarkWriting(), 0);
  WriterLock::Outcome outcome = WriterLock::Outcome::Acquired;
  WriterInfo holder;
  EXPECT_EQ(WriterLock::Acquire(disk, model, outcome, &holder), nullptr);
  EXPECT_EQ(outcome, WriterLock::Outcome::Busy);
  EXPECT_EQ(holder.processId, CurrentProcessId());
  const WriterStatus live = ProbeWriter(disk, model);
  EXPECT_EQ(live.state, WriterState::Live);
  EXPECT_TRUE(live.writer.writing);

  // Closing another descriptor of the same file must not drop the lock.
  { std::vector<std::uint8_t> bytes = testing::ReadBytes(WriterLockPath(model)); }
  EXPECT_EQ(ProbeWriter(disk, model).state, WriterState::Live);

  first.reset();
  EXPECT_EQ(ProbeWriter(disk, model).state, WriterState::Interrupted);
  std::unique_ptr<WriterLock> second = TakeWriter(disk, model);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(second->FoundInterrupted());
  ASSERT_EQ(second->Release(), 0);
  EXPECT_FALSE(std::filesystem::exists(WriterLockPath(model)));
}

TEST(WriterLockOnDisk, ALookAtTheLockWorksInAReadOnlyFolderAndLeavesNothing) {
  ScratchFolder folder;
  DiskFileSystem disk;
  const std::string model = folder / kModel;
  testing::WriteBytes(model, EmptyDatabase());
  ::chmod(folder.Path().c_str(), 0555);
  EXPECT_EQ(ProbeWriter(disk, model).state, WriterState::None);
  const ReaderSnapshot snapshot = ReadForReading(disk, model, folder / kBackup);
  EXPECT_EQ(snapshot.error, 0);
  EXPECT_EQ(snapshot.bytes, EmptyDatabase());
  ::chmod(folder.Path().c_str(), 0755);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{kModel});

  WriterLock::Outcome outcome = WriterLock::Outcome::Acquired;
  int error = 0;
  ::chmod(folder.Path().c_str(), 0555);
  if (::geteuid() != 0) {  // root writes anywhere
    EXPECT_EQ(WriterLock::Acquire(disk, model, outcome, nullptr, &error), nullptr);
    EXPECT_EQ(outcome, WriterLock::Outcome::Failed);
    EXPECT_EQ(error, -EACCES);
  }
}

// --- What a reader reads --------------------------------------------------------------

class ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.Put(kModel, Marked(EmptyDatabase(), 1));
    files.Put(kBackup, Marked(EmptyDatabase(), 2));
  }
  ReaderSnapshot Read() { return ReadForReading(files, kModel, kBackup); }

  MemoryFileSystem files;
};

TEST_F(ReaderTest, WithoutAWriterTheFileItselfIsRead) {
  const ReaderSnapshot snapshot = Read();
  EXPECT_EQ(snapshot.error, 0);
  EXPECT_EQ(snapshot.bytes, *files.Find(kModel));
  EXPECT_EQ(snapshot.note, "");
}

TEST_F(ReaderTest, AFileChangedInPlaceIsReadFromItsBackup) {
  std::unique_ptr<WriterLock> writer = TakeWriter(files, kModel);
  ASSERT_EQ(writer->MarkWriting(), 0);
  const ReaderSnapshot snapshot = Read();
  EXPECT_EQ(snapshot.error, 0);
  EXPECT_EQ(snapshot.bytes, *files.Find(kBackup));
  EXPECT_NE(snapshot.note.find("прочитана его копия plant.~LVN"), std::string::npos)
      << snapshot.note;
}

TEST_F(ReaderTest, AFileWhoseWriterDiedIsReadFromItsBackupOrNotAtAll) {
  TakeWriter(files, kModel)->MarkWriting();
  ReaderSnapshot snapshot = Read();
  EXPECT_EQ(snapshot.bytes, *files.Find(kBackup));
  EXPECT_NE(snapshot.note.find("Запись файла была прервана"), std::string::npos);

  files.Put(kBackup, Bytes("not a database"));
  snapshot = Read();
  EXPECT_EQ(snapshot.error, -EBUSY);
  EXPECT_TRUE(snapshot.bytes.empty()) << "never the half-written file";
  EXPECT_NE(snapshot.note.find("восстановите файл"), std::string::npos) << snapshot.note;
}

TEST_F(ReaderTest, AFileOnlyEverReplacedWholeIsReadItself) {
  std::unique_ptr<WriterLock> writer = TakeWriter(files, kModel);
  ASSERT_EQ(writer->MarkReplacing(), 0);
  const ReaderSnapshot snapshot = Read();
  EXPECT_EQ(snapshot.error, 0);
  EXPECT_EQ(snapshot.bytes, *files.Find(kModel));
}

}  // namespace
}  // namespace kordavelt
