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
#include <string_view>
#include <vector>

#include "base/le_bytes.h"
#include "storage/db_format.h"

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

// An advisory lock on a small file, taken through FileSystem::AcquireLock:
// while one holder has it no other, in this process or another, can take
// it. Destroying the object releases the lock and leaves the file as it is,
// so what the holder wrote there outlives a holder that dies.
class FileLock {
 public:
  virtual ~FileLock() = default;
  // What the file held when the lock was taken (at most 4 KiB of it).
  virtual const std::string& PreviousContents() const = 0;
  // Replaces the file's contents and hands them to the device. 0, or a
  // negative error code.
  virtual int WriteContents(std::string_view text) = 0;
  // Deletes the file, still holding the lock, then lets the lock go. 0, or
  // a negative error code (the lock is let go all the same).
  virtual int Remove() = 0;
};

enum class LockResult {
  Acquired,
  Busy,    // another holder has the lock
  Failed,  // the file cannot be made or locked
};

// A look at a lock file that takes nothing.
struct LockProbe {
  bool exists = false;   // the file is there
  bool held = false;     // someone holds its lock now
  std::string contents;  // what it holds (at most 4 KiB); empty when unreadable
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

  // Takes the lock of the file at `path`, creating an empty file when there
  // is none. nullptr with `result` Busy when another holder has it, or
  // Failed with the negative error code in *error. A file system whose
  // files no other process can see (the defaults) grants every lock.
  virtual std::unique_ptr<FileLock> AcquireLock(const std::string& path, LockResult& result,
                                                int* error = nullptr);
  virtual LockProbe ProbeLock(const std::string& path);
  // Hands the changes of the folder that holds `path` (files created,
  // renamed, removed) to the device. 0, or a negative error code.
  virtual int SyncFolder(const std::string& path);
  // Why `path` cannot be opened in `mode`, as a negative error code
  // (-ENOENT, -EISDIR, -EACCES, -EROFS ...); 0 when nothing speaks against it.
  virtual int AccessError(const std::string& path, OpenMode mode);
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
  // Open file description locks (fcntl F_OFD_SETLK): held per open file,
  // so the process's other opens and closes of the file leave them alone.
  std::unique_ptr<FileLock> AcquireLock(const std::string& path, LockResult& result,
                                        int* error = nullptr) override;
  LockProbe ProbeLock(const std::string& path) override;
  int SyncFolder(const std::string& path) override;
  int AccessError(const std::string& path, OpenMode mode) override;
};

// The one disk file system of the program.
FileSystem& LocalFileSystem();

// Files in memory, by exact name.
class MemoryFileSystem : public FileSystem {
 public:
  void Put(const std::string& path, std::vector<std::uint8_t> contents);
  // The bytes of a file, or nullptr when there is none.
  const std::vector<std::uint8_t>* Find(const std::string& path) const;
  // Every file's path, in order.
  std::vector<std::string> Paths() const;

  std::unique_ptr<RandomAccessFile> Open(const std::string& path, OpenMode mode) override;
  bool Exists(const std::string& path) override;
  std::int64_t FileSize(const std::string& path) override;
  bool Remove(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Copy(const std::string& from, const std::string& to) override;
  // Locks among the users of this one file system, as two processes would
  // see them on a disk.
  std::unique_ptr<FileLock> AcquireLock(const std::string& path, LockResult& result,
                                        int* error = nullptr) override;
  LockProbe ProbeLock(const std::string& path) override;

 private:
  struct Locks;
  static std::shared_ptr<Locks> NewLocks();

  std::map<std::string, std::shared_ptr<std::vector<std::uint8_t>>> files_;
  std::shared_ptr<Locks> locks_ = NewLocks();
};

}  // namespace kordavelt
