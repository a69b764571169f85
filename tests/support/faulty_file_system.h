#pragma once

// A FileSystem that counts every call made through it, and through the files
// it opens, and can make one chosen call fail, so that a test can run the
// same session once for every call and see each one fail in turn.
//
// A failing call does nothing and answers as the call answers failure:
// Open nullptr; Exists, Remove, Rename and Copy false; FileSize, Size, ReadAt,
// WriteAt and Flush -EIO; AcquireLock Failed. Every other call goes to the
// wrapped file system.
//
// It can also stand for a process killed at any moment: after a chosen
// number of calls that change files, every further change is dropped (it
// answers success and does nothing), as if the process had died there and
// only the files were left. And for a disk that fills up: writes that grow
// the files beyond the free space fail with -ENOSPC.

#include <cstdint>
#include <memory>
#include <string>

#include "storage/file_layer.h"

namespace kordavelt::testing {

enum class FileCall {
  Open,
  Exists,
  FileSize,
  Remove,
  Rename,
  Copy,
  Size,
  ReadAt,
  WriteAt,
  Flush,
  Lock,  // taking a lock, writing or removing its file
  SyncFolder,
};

// "WriteAt", "Open" ...
const char* FileCallName(FileCall call);

class FaultyFileSystem : public FileSystem {
 public:
  explicit FaultyFileSystem(FileSystem& inner);
  ~FaultyFileSystem() override;

  // Call number `call` (1-based, counted from construction or the last
  // ResetCount) fails; 0 makes none fail.
  void FailCall(long call);
  // After `changes` calls that change files (writes, flushes, creating,
  // renaming, removing and copying files, lock files, folder syncs), every
  // further change is dropped; a negative count drops none.
  void DropChangesAfter(long changes);
  // The calls that changed files so far (dropped ones included).
  long Changes() const;
  // Writes that would grow the files by more than `bytes` in all fail with
  // -ENOSPC (what removals and truncations free comes back); a negative
  // amount means no limit.
  void SetFreeSpace(std::int64_t bytes);
  // The next call of `kind` fails (after `skip` more of that kind pass).
  void FailNext(FileCall kind, int skip = 0);
  void ResetCount();

  long Calls() const;
  // Whether the chosen call came, and what it was: its kind, and a line such
  // as "WriteAt m.LVN at 6144, 2048 bytes" for messages.
  bool FailureHappened() const;
  FileCall FailedCall() const;
  const std::string& FailedCallText() const;
  // True for calls that change a file or its name, and Open with Create.
  bool FailedCallWrites() const;

  std::unique_ptr<RandomAccessFile> Open(const std::string& path, OpenMode mode) override;
  bool Exists(const std::string& path) override;
  std::int64_t FileSize(const std::string& path) override;
  bool Remove(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Copy(const std::string& from, const std::string& to) override;
  std::unique_ptr<FileLock> AcquireLock(const std::string& path, LockResult& result,
                                        int* error = nullptr) override;
  LockProbe ProbeLock(const std::string& path) override;
  int SyncFolder(const std::string& path) override;
  int AccessError(const std::string& path, OpenMode mode) override;

  // The counter the wrapped files share with their file system; it outlives
  // the file system when a file does.
  struct Counter;

 private:
  FileSystem& inner_;
  std::shared_ptr<Counter> counter_;
};

}  // namespace kordavelt::testing
