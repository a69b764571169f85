// Writing a file whole under a temporary name. Catches a failed or killed
// write that leaves half a file where the old one was, reports success for a
// file that never reached the disk, or leaves temporary files behind.

#include "storage/file_replace.h"

#include <gtest/gtest.h>

#include "support/faulty_file_system.h"

namespace kordavelt {
namespace {

using testing::FaultyFileSystem;

const std::string kTarget = "plant.~LVN";

std::vector<std::uint8_t> Bytes(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

// A file of many copy pieces, so that the copy takes several writes.
std::vector<std::uint8_t> LargeContents(std::uint8_t fill) {
  return std::vector<std::uint8_t>(200 * 1024 + 17, fill);
}

TEST(ReplaceFile, EveryFailingCallLeavesTheOldFileAndNoTemporaryOne) {
  for (long call = 1;; ++call) {
    MemoryFileSystem memory;
    memory.Put(kTarget, Bytes("old"));
    memory.Put("source", LargeContents(7));
    FaultyFileSystem files(memory);
    files.FailCall(call);
    const int copied = ReplaceFileByCopy(files, "source", kTarget);
    const int written = copied != 0 ? copied : ReplaceFile(files, kTarget, Bytes("new"));
    if (!files.FailureHappened()) break;
    SCOPED_TRACE(files.FailedCallText());
    EXPECT_FALSE(memory.Exists(TemporaryPathFor(kTarget))) << "no litter";
    if (copied != 0) {
      EXPECT_EQ(*memory.Find(kTarget), Bytes("old"));
    } else if (written != 0) {
      EXPECT_EQ(*memory.Find(kTarget), LargeContents(7));
    } else {
      // Only a failure after the rename (the folder sync) may pass: the
      // file is complete in its place.
      EXPECT_EQ(files.FailedCall(), testing::FileCall::SyncFolder);
    }
  }
}

TEST(ReplaceFile, AProcessKilledAtAnyStepLeavesTheOldFileOrTheNewOneWhole) {
  long changes = 0;
  {
    MemoryFileSystem memory;
    memory.Put("source", LargeContents(7));
    FaultyFileSystem files(memory);
    ASSERT_EQ(ReplaceFileByCopy(files, "source", kTarget), 0);
    changes = files.Changes();
  }
  for (long kill = 0; kill <= changes; ++kill) {
    MemoryFileSystem memory;
    memory.Put(kTarget, Bytes("old"));
    memory.Put("source", LargeContents(7));
    FaultyFileSystem files(memory);
    files.DropChangesAfter(kill);
    ReplaceFileByCopy(files, "source", kTarget);
    const std::vector<std::uint8_t>& left = *memory.Find(kTarget);
    EXPECT_TRUE(left == Bytes("old") || left == LargeContents(7)) << "killed after " << kill;
  }
}

TEST(ReplaceFile, AFullDiskIsReportedAndChangesNothing) {
  MemoryFileSystem memory;
  memory.Put(kTarget, Bytes("old"));
  memory.Put("source", LargeContents(7));
  FaultyFileSystem files(memory);
  files.SetFreeSpace(100 * 1024);
  EXPECT_EQ(ReplaceFileByCopy(files, "source", kTarget), -ENOSPC);
  EXPECT_EQ(*memory.Find(kTarget), Bytes("old"));
  EXPECT_FALSE(memory.Exists(TemporaryPathFor(kTarget)));
}

TEST(ReplacementFile, AnAbandonedFileLeavesNothing) {
  MemoryFileSystem files;
  {
    ReplacementFile file(files, "out.csv");
    ASSERT_EQ(file.Open(), 0);
    file.File()->WriteAt(0, Bytes("half"));
  }
  EXPECT_FALSE(files.Exists("out.csv"));
  EXPECT_FALSE(files.Exists(TemporaryPathFor("out.csv")));
}

}  // namespace
}  // namespace kordavelt
