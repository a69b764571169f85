#include "support/faulty_file_system.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <utility>

namespace kordavelt::testing {

struct FaultyFileSystem::Counter {
  long calls = 0;
  long changes = 0;
  long dropAfter = -1;
  std::int64_t freeSpace = -1;
  long failAt = 0;
  std::optional<FileCall> failKind;
  int kindSkip = 0;
  bool happened = false;
  FileCall failed = FileCall::Open;
  bool failedWrites = false;
  std::string failedText;

  // Counts a call; true when this one is to fail. `describe` names the call
  // and is only run for the failing one.
  template <typename Describer>
  bool Next(FileCall call, bool writes, Describer describe) {
    ++calls;
    if (failKind == call && kindSkip-- == 0) {
      failKind.reset();
      failAt = calls;
    }
    if (calls != failAt) return false;
    happened = true;
    failed = call;
    failedWrites = writes;
    failedText = describe();
    return true;
  }

  // Counts a call that changes files; true when the process is dead by
  // now and the change must be dropped.
  bool Dropped() {
    ++changes;
    return dropAfter >= 0 && changes > dropAfter;
  }

  // Takes `growth` bytes of the free space; false when there is not enough.
  bool Take(std::int64_t growth) {
    if (freeSpace < 0 || growth <= 0) return true;
    if (growth > freeSpace) return false;
    freeSpace -= growth;
    return true;
  }
  void Give(std::int64_t bytes) {
    if (freeSpace >= 0 && bytes > 0) freeSpace += bytes;
  }
};

namespace {

constexpr int kFailure = -EIO;

std::string Describe(FileCall call, const std::string& path) {
  return std::string(FileCallName(call)) + " " + path;
}

std::string DescribeRange(FileCall call, const std::string& path, std::uint64_t offset,
                          std::size_t size) {
  return Describe(call, path) + " at " + std::to_string(offset) + ", " + std::to_string(size) +
         " bytes";
}

class FaultyFile : public RandomAccessFile {
 public:
  FaultyFile(std::unique_ptr<RandomAccessFile> inner, std::string path,
             std::shared_ptr<FaultyFileSystem::Counter> counter)
      : inner_(std::move(inner)), path_(std::move(path)), counter_(std::move(counter)) {}

  std::int64_t Size() override {
    if (counter_->Next(FileCall::Size, false, [&] { return Describe(FileCall::Size, path_); }))
      return kFailure;
    return inner_->Size();
  }

  std::int64_t ReadAt(std::uint64_t offset, Bytes buffer) override {
    if (counter_->Next(FileCall::ReadAt, false, [&] {
          return DescribeRange(FileCall::ReadAt, path_, offset, buffer.size());
        })) {
      return kFailure;
    }
    return inner_->ReadAt(offset, buffer);
  }

  std::int64_t WriteAt(std::uint64_t offset, ConstBytes data) override {
    if (counter_->Next(FileCall::WriteAt, true, [&] {
          return DescribeRange(FileCall::WriteAt, path_, offset, data.size());
        })) {
      return kFailure;
    }
    if (counter_->Dropped()) return static_cast<std::int64_t>(data.size());
    const std::int64_t size = inner_->Size();
    const std::int64_t end = static_cast<std::int64_t>(offset + data.size());
    if (size >= 0 && !counter_->Take(end - size)) return -ENOSPC;
    return inner_->WriteAt(offset, data);
  }

  int Flush() override {
    if (counter_->Next(FileCall::Flush, true, [&] { return Describe(FileCall::Flush, path_); }))
      return kFailure;
    if (counter_->Dropped()) return 0;
    return inner_->Flush();
  }

 private:
  std::unique_ptr<RandomAccessFile> inner_;
  std::string path_;
  std::shared_ptr<FaultyFileSystem::Counter> counter_;
};

// The file a dead process created: its writes go nowhere.
class DroppedFile : public RandomAccessFile {
 public:
  std::int64_t Size() override { return 0; }
  std::int64_t ReadAt(std::uint64_t, Bytes) override { return 0; }
  std::int64_t WriteAt(std::uint64_t, ConstBytes data) override {
    return static_cast<std::int64_t>(data.size());
  }
  int Flush() override { return 0; }
};

// A lock whose writes count as changes; after the process's death they are
// dropped, and the lock is only let go.
class FaultyLock : public FileLock {
 public:
  FaultyLock(std::unique_ptr<FileLock> inner, std::string path,
             std::shared_ptr<FaultyFileSystem::Counter> counter)
      : inner_(std::move(inner)), path_(std::move(path)), counter_(std::move(counter)) {}

  const std::string& PreviousContents() const override {
    static const std::string kNone;
    return inner_ != nullptr ? inner_->PreviousContents() : kNone;
  }
  int WriteContents(std::string_view text) override {
    if (counter_->Next(FileCall::Lock, true, [&] { return Describe(FileCall::Lock, path_); }))
      return kFailure;
    if (counter_->Dropped() || inner_ == nullptr) return 0;
    return inner_->WriteContents(text);
  }
  // Removing the mark of a clean end is housekeeping: the data is in place
  // whether or not it succeeds.
  int Remove() override {
    if (counter_->Next(FileCall::Lock, false, [&] { return Describe(FileCall::Lock, path_); })) {
      inner_.reset();
      return kFailure;
    }
    if (counter_->Dropped() || inner_ == nullptr) {
      inner_.reset();
      return 0;
    }
    const int removed = inner_->Remove();
    inner_.reset();
    return removed;
  }

 private:
  std::unique_ptr<FileLock> inner_;  // nullptr for a lock a dead process took
  std::string path_;
  std::shared_ptr<FaultyFileSystem::Counter> counter_;
};

}  // namespace

const char* FileCallName(FileCall call) {
  switch (call) {
    case FileCall::Open:
      return "Open";
    case FileCall::Exists:
      return "Exists";
    case FileCall::FileSize:
      return "FileSize";
    case FileCall::Remove:
      return "Remove";
    case FileCall::Rename:
      return "Rename";
    case FileCall::Copy:
      return "Copy";
    case FileCall::Size:
      return "Size";
    case FileCall::ReadAt:
      return "ReadAt";
    case FileCall::WriteAt:
      return "WriteAt";
    case FileCall::Flush:
      return "Flush";
    case FileCall::Lock:
      return "Lock";
    case FileCall::SyncFolder:
      return "SyncFolder";
  }
  return "?";
}

FaultyFileSystem::FaultyFileSystem(FileSystem& inner)
    : inner_(inner), counter_(std::make_shared<Counter>()) {}

FaultyFileSystem::~FaultyFileSystem() = default;

void FaultyFileSystem::FailCall(long call) {
  counter_->failKind.reset();
  counter_->failAt = call;
  counter_->happened = false;
}

void FaultyFileSystem::FailNext(FileCall kind, int skip) {
  counter_->failKind = kind;
  counter_->kindSkip = skip;
  counter_->failAt = 0;
  counter_->happened = false;
}

void FaultyFileSystem::DropChangesAfter(long changes) { counter_->dropAfter = changes; }

long FaultyFileSystem::Changes() const { return counter_->changes; }

void FaultyFileSystem::SetFreeSpace(std::int64_t bytes) { counter_->freeSpace = bytes; }

void FaultyFileSystem::ResetCount() {
  counter_->calls = 0;
  counter_->changes = 0;
  counter_->happened = false;
}

long FaultyFileSystem::Calls() const { return counter_->calls; }
bool FaultyFileSystem::FailureHappened() const { return counter_->happened; }
FileCall FaultyFileSystem::FailedCall() const { return counter_->failed; }
const std::string& FaultyFileSystem::FailedCallText() const { return counter_->failedText; }
bool FaultyFileSystem::FailedCallWrites() const { return counter_->failedWrites; }

std::unique_ptr<RandomAccessFile> FaultyFileSystem::Open(const std::string& path, OpenMode mode) {
  const char* modeName = mode == OpenMode::ReadOnly    ? " read-only"
                         : mode == OpenMode::ReadWrite ? " read-write"
                                                       : " create";
  if (counter_->Next(FileCall::Open, mode == OpenMode::Create,
                     [&] { return Describe(FileCall::Open, path) + modeName; })) {
    return nullptr;
  }
  if (mode == OpenMode::Create) {
    if (counter_->Dropped()) return std::make_unique<DroppedFile>();
    counter_->Give(inner_.FileSize(path));
  }
  std::unique_ptr<RandomAccessFile> file = inner_.Open(path, mode);
  if (file == nullptr) return nullptr;
  return std::make_unique<FaultyFile>(std::move(file), path, counter_);
}

bool FaultyFileSystem::Exists(const std::string& path) {
  if (counter_->Next(FileCall::Exists, false, [&] { return Describe(FileCall::Exists, path); }))
    return false;
  return inner_.Exists(path);
}

std::int64_t FaultyFileSystem::FileSize(const std::string& path) {
  if (counter_->Next(FileCall::FileSize, false,
                     [&] { return Describe(FileCall::FileSize, path); })) {
    return kFailure;
  }
  return inner_.FileSize(path);
}

bool FaultyFileSystem::Remove(const std::string& path) {
  if (counter_->Next(FileCall::Remove, true, [&] { return Describe(FileCall::Remove, path); }))
    return false;
  if (counter_->Dropped()) return true;
  const std::int64_t size = inner_.FileSize(path);
  const bool removed = inner_.Remove(path);
  if (removed) counter_->Give(size);
  return removed;
}

bool FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
  if (counter_->Next(FileCall::Rename, true,
                     [&] { return Describe(FileCall::Rename, from) + " to " + to; })) {
    return false;
  }
  if (counter_->Dropped()) return true;
  const std::int64_t replaced = inner_.FileSize(to);
  const bool renamed = inner_.Rename(from, to);
  if (renamed && from != to) counter_->Give(replaced);
  return renamed;
}

bool FaultyFileSystem::Copy(const std::string& from, const std::string& to) {
  if (counter_->Next(FileCall::Copy, true,
                     [&] { return Describe(FileCall::Copy, from) + " to " + to; })) {
    return false;
  }
  if (counter_->Dropped()) return true;
  const std::int64_t size = inner_.FileSize(from);
  const std::int64_t replaced = std::max<std::int64_t>(0, inner_.FileSize(to));
  if (size >= 0 && !counter_->Take(size - replaced)) return false;
  return inner_.Copy(from, to);
}

std::unique_ptr<FileLock> FaultyFileSystem::AcquireLock(const std::string& path, LockResult& result,
                                                        int* error) {
  if (counter_->Next(FileCall::Lock, true, [&] { return Describe(FileCall::Lock, path); })) {
    result = LockResult::Failed;
    if (error != nullptr) *error = kFailure;
    return nullptr;
  }
  if (counter_->Dropped()) {
    result = LockResult::Acquired;
    if (error != nullptr) *error = 0;
    return std::make_unique<FaultyLock>(nullptr, path, counter_);
  }
  std::unique_ptr<FileLock> lock = inner_.AcquireLock(path, result, error);
  if (lock == nullptr) return nullptr;
  return std::make_unique<FaultyLock>(std::move(lock), path, counter_);
}

LockProbe FaultyFileSystem::ProbeLock(const std::string& path) { return inner_.ProbeLock(path); }

int FaultyFileSystem::SyncFolder(const std::string& path) {
  // A folder sync follows a rename that has happened: its failure loses
  // nothing the next power cut would not, and is no write that failed.
  if (counter_->Next(FileCall::SyncFolder, false,
                     [&] { return Describe(FileCall::SyncFolder, path); })) {
    return kFailure;
  }
  if (counter_->Dropped()) return 0;
  return inner_.SyncFolder(path);
}

int FaultyFileSystem::AccessError(const std::string& path, OpenMode mode) {
  return inner_.AccessError(path, mode);
}

}  // namespace kordavelt::testing
