#include "storage/file_layer.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>

namespace kordavelt {
namespace {

std::vector<std::uint8_t> Filled(std::size_t size, std::uint8_t value) {
  return std::vector<std::uint8_t>(size, value);
}

// A file whose every read fails, as a disk error would.
class UnreadableFile : public RandomAccessFile {
 public:
  std::int64_t Size() override { return 4096; }
  std::int64_t ReadAt(std::uint64_t, Bytes) override { return -EIO; }
  std::int64_t WriteAt(std::uint64_t, ConstBytes) override { return -EIO; }
  int Flush() override { return -EIO; }
};

// A scratch folder removed after the test.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kordavelt-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~ScratchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

// Catches a page read that leaves stale bytes in the buffer where the file
// ends: a page allocated but never written must read as zeros.
TEST(FileLayerRead, PagesPastTheEndOfTheFileReadAsZeros) {
  MemoryFile file(Filled(2048 + 100, 0xAB));
  std::array<std::uint8_t, 2048> page;
  page.fill(0xEE);

  ASSERT_EQ(ReadPage(file, 1, page), 0);
  EXPECT_EQ(page[99], 0xAB);
  EXPECT_EQ(page[100], 0);
  EXPECT_EQ(page[2047], 0);

  page.fill(0xEE);
  ASSERT_EQ(ReadPage(file, 40000, page), 0);
  EXPECT_EQ(page, (std::array<std::uint8_t, 2048>{}));
}

// Catches a failed read that hands back whatever the buffer held before.
TEST(FileLayerRead, AFailedReadReportsTheErrorAndZeroesTheBuffer) {
  UnreadableFile file;
  std::array<std::uint8_t, 2048> page;
  page.fill(0xEE);
  EXPECT_EQ(ReadPage(file, 0, page), -EIO);
  EXPECT_EQ(page, (std::array<std::uint8_t, 2048>{}));
}

// Catches a memory file that writes through a read-only handle, or grows
// without bound on a write at an absurd offset.
TEST(FileLayerMemoryFile, WritesGrowTheFileWithZerosAndRespectReadOnlyAndTheLimit) {
  MemoryFile file;
  const std::array<std::uint8_t, 2> bytes = {1, 2};
  EXPECT_EQ(file.WriteAt(10, bytes), 2);
  EXPECT_EQ(file.Size(), 12);
  EXPECT_EQ(file.Contents()[9], 0);
  EXPECT_EQ(file.Contents()[11], 2);
  EXPECT_EQ(file.WriteAt(MemoryFile::kSizeLimit - 1, bytes), kIoErrorTooLarge);
  EXPECT_EQ(file.Size(), 12);

  MemoryFile readOnly(Filled(4, 7), true);
  EXPECT_EQ(readOnly.WriteAt(0, bytes), kIoErrorReadOnly);
  std::array<std::uint8_t, 8> buffer{};
  EXPECT_EQ(readOnly.ReadAt(2, buffer), 2);
  EXPECT_EQ(readOnly.ReadAt(9, buffer), 0);
}

// Catches a disk file that loses a write past its end or writes through a
// read-only open.
TEST(FileLayerPosixFile, WritesReadBackAndReadOnlyRefusesWrites) {
  ScratchFolder folder;
  const std::string path = folder / "a.LVN";
  {
    auto file = PosixFile::Open(path, OpenMode::Create);
    ASSERT_NE(file, nullptr);
    const auto page = Filled(2048, 0x5A);
    EXPECT_EQ(file->WriteAt(2 * 2048, page), 2048);
    EXPECT_EQ(file->Flush(), 0);
    EXPECT_EQ(file->Size(), 3 * 2048);
  }
  auto file = PosixFile::Open(path, OpenMode::ReadOnly);
  ASSERT_NE(file, nullptr);
  std::array<std::uint8_t, 2048> page;
  ASSERT_EQ(ReadPage(*file, 2, page), 0);
  EXPECT_EQ(page[0], 0x5A);
  ASSERT_EQ(ReadPage(*file, 1, page), 0);
  EXPECT_EQ(page[0], 0);
  const std::array<std::uint8_t, 1> one = {1};
  EXPECT_LT(file->WriteAt(0, one), 0);

  int error = 0;
  EXPECT_EQ(PosixFile::Open(folder / "missing.LVN", OpenMode::ReadOnly, &error), nullptr);
  EXPECT_EQ(error, -ENOENT);
}

// The same story told to both file systems, so the memory one used by the
// tests behaves as the disk does.
void ExpectFileSystemOperations(FileSystem& files, const std::string& a, const std::string& b) {
  EXPECT_FALSE(files.Exists(a));
  EXPECT_LT(files.FileSize(a), 0);
  EXPECT_EQ(files.Open(a, OpenMode::ReadWrite), nullptr);
  {
    auto file = files.Open(a, OpenMode::Create);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->WriteAt(0, Filled(2048, 3)), 2048);
  }
  EXPECT_TRUE(files.Exists(a));
  EXPECT_EQ(files.FileSize(a), 2048);

  EXPECT_TRUE(files.Copy(a, b));
  EXPECT_EQ(files.FileSize(b), 2048);
  {
    auto file = files.Open(b, OpenMode::ReadWrite);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(file->WriteAt(2048, Filled(10, 4)), 10);
  }
  EXPECT_EQ(files.FileSize(a), 2048) << "a copy must not share its bytes with the original";

  EXPECT_TRUE(files.Rename(b, a));
  EXPECT_FALSE(files.Exists(b));
  EXPECT_EQ(files.FileSize(a), 2058) << "rename replaces the existing file";
  EXPECT_FALSE(files.Rename(b, a));
  EXPECT_FALSE(files.Copy(b, a));

  EXPECT_TRUE(files.Remove(a));
  EXPECT_FALSE(files.Exists(a));
  EXPECT_FALSE(files.Remove(a));
}

// Catches a file-system operation that fails silently or reports success it did not have.
TEST(FileLayerFileSystem, DiskFilesExistCopyRenameAndRemove) {
  ScratchFolder folder;
  ExpectFileSystemOperations(LocalFileSystem(), folder / "a.LVN", folder / "a.~LVN");
}

TEST(FileLayerFileSystem, MemoryFilesExistCopyRenameAndRemoveAsOnDisk) {
  MemoryFileSystem files;
  ExpectFileSystemOperations(files, "a.LVN", "a.~LVN");
}

// Catches a memory file system whose files lose what an earlier handle wrote.
TEST(FileLayerFileSystem, MemoryFilesKeepWhatEachOpenWrote) {
  MemoryFileSystem files;
  files.Put("m.LVN", Filled(2048, 1));
  auto reader = files.Open("m.LVN", OpenMode::ReadOnly);
  files.Open("m.LVN", OpenMode::ReadWrite)->WriteAt(0, Filled(1, 9));
  std::array<std::uint8_t, 1> byte{};
  ASSERT_EQ(reader->ReadAt(0, byte), 1);
  EXPECT_EQ(byte[0], 9);

  files.Open("m.LVN", OpenMode::Create);
  EXPECT_EQ(reader->Size(), 0) << "creating truncates the file under every handle";
  ASSERT_NE(files.Find("m.LVN"), nullptr);
  EXPECT_TRUE(files.Find("m.LVN")->empty());
}

}  // namespace
}  // namespace kordavelt
