#pragma once

// A FileSystem that counts every call made through it, and through the files
// it opens, and can make one chosen call fail, so that a test can run the
// same session once for every call and see each one fail in turn.
//
// A failing call does nothing and answers as the call answers failure:
// Open nullptr; Exists, Remove, Rename and Copy false; FileSize, Size, ReadAt,
// WriteAt and Flush -EIO. Every other call goes to the wrapped file system.

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

  // The counter the wrapped files share with their file system; it outlives
  // the file system when a file does.
  struct Counter;

 private:
  FileSystem& inner_;
  std::shared_ptr<Counter> counter_;
};

}  // namespace kordavelt::testing
