#include "support/faulty_file_system.h"

#include <cerrno>
#include <optional>
#include <utility>

namespace kordavelt::testing {

struct FaultyFileSystem::Counter {
  long calls = 0;
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
    return inner_->WriteAt(offset, data);
  }

  int Flush() override {
    if (counter_->Next(FileCall::Flush, true, [&] { return Describe(FileCall::Flush, path_); }))
      return kFailure;
    return inner_->Flush();
  }

 private:
  std::unique_ptr<RandomAccessFile> inner_;
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

void FaultyFileSystem::ResetCount() {
  counter_->calls = 0;
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
  return inner_.Remove(path);
}

bool FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
  if (counter_->Next(FileCall::Rename, true,
                     [&] { return Describe(FileCall::Rename, from) + " to " + to; })) {
    return false;
  }
  return inner_.Rename(from, to);
}

bool FaultyFileSystem::Copy(const std::string& from, const std::string& to) {
  if (counter_->Next(FileCall::Copy, true,
                     [&] { return Describe(FileCall::Copy, from) + " to " + to; })) {
    return false;
  }
  return inner_.Copy(from, to);
}

}  // namespace kordavelt::testing
