#pragma once

// The seam between the database engine and the operating system.
//
// The engine and the reader never call the operating system themselves: they
// read and write through a RandomAccessFile and reach files by name through a
// FileSystem. The program uses the disk implementations; tests and the fuzzer
// use the in-memory ones, or wrap either to fail any call they choose.
//
// Every operation reports failure as a negative error code (the negated errno
// of the failed call), never by an exception.

#include <cerrno>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "storage/db_format.h"
#include "storage/le_bytes.h"

namespace kordavelt {

// Error codes of the in-memory implementations, in the errno family.
inline constexpr int kIoErrorReadOnly = -EBADF;  // a write to a file opened read-only
inline constexpr int kIoErrorTooLarge = -EFBIG;  // a memory file past its size limit

enum class OpenMode {
  ReadOnly,   // no writes at all
  ReadWrite,  // an existing file
  Create,     // made empty, or created, then read-write
};

class RandomAccessFile {
 public:
  virtual ~RandomAccessFile() = default;

  // Size in bytes, or a negative error code.
  virtual std::int64_t Size() = 0;

  // Reads up to buffer.size() bytes at `offset`. Returns the number read,
  // fewer than asked at the end of the file, or a negative error code.
  virtual std::int64_t ReadAt(std::uint64_t offset, Bytes buffer) = 0;

  // Writes all of `data` at `offset`, growing the file (a gap reads as zeros).
  // Returns data.size(), or a negative error code.
  virtual std::int64_t WriteAt(std::uint64_t offset, ConstBytes data) = 0;

  // Hands written data to the device. 0, or a negative error code.
  virtual int Flush() = 0;
};

// Fills `buffer` from `offset`; whatever lies past the end of the file reads as
// zero (a page may be allocated before it is first written). 0, or a negative
// error code with the buffer zeroed.
int ReadZeroFilled(RandomAccessFile& file, std::uint64_t offset, Bytes buffer);

// Page `page` of a database file into `buffer` (one page), as ReadZeroFilled.
int ReadPage(RandomAccessFile& file, std::uint32_t page, Bytes buffer);

// A file kept in memory. Copies made from one MemoryFileSystem entry share its
// bytes, so what one writes the next open sees.
class MemoryFile : public RandomAccessFile {
 public:
  // Writes past this size are refused: the database format ends at page 65535.
  static constexpr std::uint64_t kSizeLimit = db::PageOffset(db::kMaxPageNumber + 1);

  MemoryFile();
  explicit MemoryFile(std::vector<std::uint8_t> contents, bool readOnly = false);
  MemoryFile(std::shared_ptr<std::vector<std::uint8_t>> contents, bool readOnly);

  const std::vector<std::uint8_t>& Contents() const { return *contents_; }

  std::int64_t Size() override;
  std::int64_t ReadAt(std::uint64_t offset, Bytes buffer) override;
  std::int64_t WriteAt(std::uint64_t offset, ConstBytes data) override;
  int Flush() override { return 0; }

 private:
  std::shared_ptr<std::vector<std::uint8_t>> contents_;
  bool readOnly_;
};

// A file on disk through POSIX descriptors.
class PosixFile : public RandomAccessFile {
 public:
  // The open file, or nullptr with the negative error code in *error.
  static std::unique_ptr<PosixFile> Open(const std::string& path, OpenMode mode,
                                         int* error = nullptr);
  ~PosixFile() override;
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  std::int64_t Size() override;
  std::int64_t ReadAt(std::uint64_t offset, Bytes buffer) override;
  std::int64_t WriteAt(std::uint64_t offset, ConstBytes data) override;
  int Flush() override;

 private:
  explicit PosixFile(int descriptor) : descriptor_(descriptor) {}
  int descriptor_;
};

// Files by name: what the engine needs to open a database, take and restore
// its backup and replace it with a packed copy.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The open file, or nullptr when it cannot be opened (or created).
  virtual std::unique_ptr<RandomAccessFile> Open(const std::string& path, OpenMode mode) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // Size in bytes, or a negative error code (a missing file among them).
  virtual std::int64_t FileSize(const std::string& path) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Both replace an existing file named `to`.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  virtual bool Copy(const std::string& from, const std::string& to) = 0;
};

// Files on disk.
class DiskFileSystem : public FileSystem {
 public:
  std::unique_ptr<RandomAccessFile> Open(const std::string& path, OpenMode mode) override;
  bool Exists(const std::string& path) override;
  std::int64_t FileSize(const std::string& path) override;
  bool Remove(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Copy(const std::string& from, const std::string& to) override;
};

// The one disk file system of the program.
FileSystem& LocalFileSystem();

// Files in memory, by exact name.
class MemoryFileSystem : public FileSystem {
 public:
  void Put(const std::string& path, std::vector<std::uint8_t> contents);
  // The bytes of a file, or nullptr when there is none.
  const std::vector<std::uint8_t>* Find(const std::string& path) const;

  std::unique_ptr<RandomAccessFile> Open(const std::string& path, OpenMode mode) override;
  bool Exists(const std::string& path) override;
  std::int64_t FileSize(const std::string& path) override;
  bool Remove(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Copy(const std::string& from, const std::string& to) override;

 private:
  std::map<std::string, std::shared_ptr<std::vector<std::uint8_t>>> files_;
};

}  // namespace kordavelt
