#include "storage/file_layer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <system_error>
#include <thread>

#include "storage/file_path.h"

namespace kordavelt {
namespace {

// A lock file holds a line or two; more is not read.
constexpr std::size_t kLockContentsLimit = 4096;

// A reader's look at a lock (ProbeLock) may stand in the way for an
// instant: a writer tries again a few times before it calls the lock busy.
constexpr int kLockAttempts = 5;
constexpr auto kLockRetryPause = std::chrono::milliseconds(20);

// A lock that guards nothing, for file systems no other process can see.
class NoLock : public FileLock {
 public:
  const std::string& PreviousContents() const override { return previous_; }
  int WriteContents(std::string_view) override { return 0; }
  int Remove() override { return 0; }

 private:
  std::string previous_;
};

}  // namespace

// --- FileSystem defaults -----------------------------------------------------------

std::unique_ptr<FileLock> FileSystem::AcquireLock(const std::string&, LockResult& result,
                                                  int* error) {
  result = LockResult::Acquired;
  if (error != nullptr) *error = 0;
  return std::make_unique<NoLock>();
}

LockProbe FileSystem::ProbeLock(const std::string&) { return {}; }

int FileSystem::SyncFolder(const std::string&) { return 0; }

int FileSystem::AccessError(const std::string& path, OpenMode mode) {
  if (mode == OpenMode::Create) return 0;
  return Exists(path) ? 0 : -ENOENT;
}

int ReadZeroFilled(RandomAccessFile& file, std::uint64_t offset, Bytes buffer) {
  std::size_t done = 0;
  while (done < buffer.size()) {
    const std::int64_t got = file.ReadAt(offset + done, buffer.subspan(done));
    if (got < 0) {
      std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
      return static_cast<int>(got);
    }
    if (got == 0) break;  // end of file
    done += static_cast<std::size_t>(got);
  }
  std::fill(buffer.begin() + static_cast<std::ptrdiff_t>(done), buffer.end(), std::uint8_t{0});
  return 0;
}

int ReadPage(RandomAccessFile& file, std::uint32_t page, Bytes buffer) {
  return ReadZeroFilled(file, db::PageOffset(page), buffer);
}

// --- MemoryFile ------------------------------------------------------------------

MemoryFile::MemoryFile() : MemoryFile(std::vector<std::uint8_t>{}) {}

MemoryFile::MemoryFile(std::vector<std::uint8_t> contents, bool readOnly)
    : contents_(std::make_shared<std::vector<std::uint8_t>>(std::move(contents))),
      readOnly_(readOnly) {}

MemoryFile::MemoryFile(std::shared_ptr<std::vector<std::uint8_t>> contents, bool readOnly)
    : contents_(std::move(contents)), readOnly_(readOnly) {}

std::int64_t MemoryFile::Size() { return static_cast<std::int64_t>(contents_->size()); }

std::int64_t MemoryFile::ReadAt(std::uint64_t offset, Bytes buffer) {
  if (offset >= contents_->size()) return 0;
  const std::size_t count = std::min<std::uint64_t>(buffer.size(), contents_->size() - offset);
  std::copy_n(contents_->begin() + static_cast<std::ptrdiff_t>(offset), count, buffer.begin());
  return static_cast<std::int64_t>(count);
}

std::int64_t MemoryFile::WriteAt(std::uint64_t offset, ConstBytes data) {
  if (readOnly_) return kIoErrorReadOnly;
  if (offset > kSizeLimit || data.size() > kSizeLimit - offset) return kIoErrorTooLarge;
  const std::uint64_t end = offset + data.size();
  if (end > contents_->size()) contents_->resize(end, 0);
  std::copy(data.begin(), data.end(), contents_->begin() + static_cast<std::ptrdiff_t>(offset));
  return static_cast<std::int64_t>(data.size());
}

// --- PosixFile -------------------------------------------------------------------

std::unique_ptr<PosixFile> PosixFile::Open(const std::string& path, OpenMode mode, int* error) {
  int flags = O_CLOEXEC;
  switch (mode) {
    case OpenMode::ReadOnly:
      flags |= O_RDONLY;
      break;
    case OpenMode::ReadWrite:
      flags |= O_RDWR;
      break;
    case OpenMode::Create:
      flags |= O_RDWR | O_CREAT | O_TRUNC;
      break;
  }
  int descriptor;
  do {
    descriptor = ::open(path.c_str(), flags, 0666);
  } while (descriptor < 0 && errno == EINTR);
  if (descriptor < 0) {
    if (error != nullptr) *error = -errno;
    return nullptr;
  }
  if (error != nullptr) *error = 0;
  return std::unique_ptr<PosixFile>(new PosixFile(descriptor));
}

PosixFile::~PosixFile() { ::close(descriptor_); }

std::int64_t PosixFile::Size() {
  struct stat info {};
  if (::fstat(descriptor_, &info) != 0) return -errno;
  return static_cast<std::int64_t>(info.st_size);
}

std::int64_t PosixFile::ReadAt(std::uint64_t offset, Bytes buffer) {
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t got = ::pread(descriptor_, buffer.data() + done, buffer.size() - done,
                                static_cast<off_t>(offset + done));
    if (got < 0) {
      if (errno == EINTR) continue;
      return -errno;
    }
    if (got == 0) break;
    done += static_cast<std::size_t>(got);
  }
  return static_cast<std::int64_t>(done);
}

std::int64_t PosixFile::WriteAt(std::uint64_t offset, ConstBytes data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t put = ::pwrite(descriptor_, data.data() + done, data.size() - done,
                                 static_cast<off_t>(offset + done));
    if (put < 0) {
      if (errno == EINTR) continue;
      return -errno;
    }
    done += static_cast<std::size_t>(put);
  }
  return static_cast<std::int64_t>(done);
}

int PosixFile::Flush() { return ::fsync(descriptor_) == 0 ? 0 : -errno; }

// --- DiskFileSystem --------------------------------------------------------------

std::unique_ptr<RandomAccessFile> DiskFileSystem::Open(const std::string& path, OpenMode mode) {
  return PosixFile::Open(path, mode);
}

bool DiskFileSystem::Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

std::int64_t DiskFileSystem::FileSize(const std::string& path) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return -(error.value() != 0 ? error.value() : EIO);
  return static_cast<std::int64_t>(size);
}

bool DiskFileSystem::Remove(const std::string& path) {
  std::error_code error;
  return std::filesystem::remove(path, error) && !error;
}

bool DiskFileSystem::Rename(const std::string& from, const std::string& to) {
  std::error_code error;
  std::filesystem::rename(from, to, error);
  return !error;
}

bool DiskFileSystem::Copy(const std::string& from, const std::string& to) {
  std::error_code error;
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, error);
  return !error;
}

namespace {

std::string ReadLockContents(int descriptor) {
  std::string contents(kLockContentsLimit, '\0');
  ssize_t got;
  do {
    got = ::pread(descriptor, contents.data(), contents.size(), 0);
  } while (got < 0 && errno == EINTR);
  contents.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return contents;
}

bool SameFile(int descriptor, const std::string& path) {
  struct stat opened {};
  struct stat named {};
  return ::fstat(descriptor, &opened) == 0 && ::stat(path.c_str(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// An exclusive lock over the whole file, held by the open file description.
int LockWhole(int descriptor, short type) {
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;
  return ::fcntl(descriptor, F_OFD_SETLK, &lock) == 0 ? 0 : -errno;
}

class PosixFileLock : public FileLock {
 public:
  PosixFileLock(int descriptor, std::string path, std::string previous)
      : descriptor_(descriptor), path_(std::move(path)), previous_(std::move(previous)) {}
  ~PosixFileLock() override {
    if (descriptor_ >= 0) ::close(descriptor_);
  }
  PosixFileLock(const PosixFileLock&) = delete;
  PosixFileLock& operator=(const PosixFileLock&) = delete;

  const std::string& PreviousContents() const override { return previous_; }

  int WriteContents(std::string_view text) override {
    if (descriptor_ < 0) return -EBADF;
    if (::ftruncate(descriptor_, 0) != 0) return -errno;
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t put =
          ::pwrite(descriptor_, text.data() + done, text.size() - done, static_cast<off_t>(done));
      if (put < 0) {
        if (errno == EINTR) continue;
        return -errno;
      }
      done += static_cast<std::size_t>(put);
    }
    return ::fsync(descriptor_) == 0 ? 0 : -errno;
  }

  int Remove() override {
    if (descriptor_ < 0) return -EBADF;
    // Unlinked while still locked: whoever opened the old file meanwhile
    // sees that it is gone once the lock is free, and starts over.
    const int removed = ::unlink(path_.c_str()) == 0 ? 0 : -errno;
    ::close(descriptor_);
    descriptor_ = -1;
    return removed;
  }

 private:
  int descriptor_;
  std::string path_;
  std::string previous_;
};

}  // namespace

std::unique_ptr<FileLock> DiskFileSystem::AcquireLock(const std::string& path, LockResult& result,
                                                      int* error) {
  int failure = -EAGAIN;
  for (int attempt = 0; attempt < 2 * kLockAttempts; ++attempt) {
    const int descriptor = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (descriptor < 0) {
      failure = -errno;
      break;
    }
    const int locked = LockWhole(descriptor, F_WRLCK);
    if (locked == -EAGAIN || locked == -EACCES) {
      ::close(descriptor);
      failure = -EBUSY;
      std::this_thread::sleep_for(kLockRetryPause);
      continue;
    }
    if (locked != 0) {
      ::close(descriptor);
      failure = locked;
      break;
    }
    // The holder before us removed the file after we had opened it: the
    // lock we got guards a file nobody else will open.
    if (!SameFile(descriptor, path)) {
      ::close(descriptor);
      continue;
    }
    result = LockResult::Acquired;
    if (error != nullptr) *error = 0;
    return std::make_unique<PosixFileLock>(descriptor, path, ReadLockContents(descriptor));
  }
  result = failure == -EBUSY ? LockResult::Busy : LockResult::Failed;
  if (error != nullptr) *error = failure;
  return nullptr;
}

LockProbe DiskFileSystem::ProbeLock(const std::string& path) {
  LockProbe probe;
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) {
    probe.exists = errno != ENOENT;
    return probe;
  }
  probe.exists = true;
  probe.contents = ReadLockContents(descriptor);
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  // Asks whether a lock could be taken, without taking one.
  if (::fcntl(descriptor, F_OFD_GETLK, &lock) == 0) probe.held = lock.l_type != F_UNLCK;
  ::close(descriptor);
  return probe;
}

int DiskFileSystem::SyncFolder(const std::string& path) {
  std::string folder = FolderOf(path);
  if (folder.empty()) folder = ".";
  const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return -errno;
  const int synced = ::fsync(descriptor) == 0 ? 0 : -errno;
  ::close(descriptor);
  // Some file systems cannot sync a folder; the data itself was synced.
  return synced == -EINVAL ? 0 : synced;
}

int DiskFileSystem::AccessError(const std::string& path, OpenMode mode) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno != ENOENT || mode != OpenMode::Create) return -errno;
    std::string folder = FolderOf(path);
    if (folder.empty()) folder = ".";
    return ::access(folder.c_str(), W_OK | X_OK) == 0 ? 0 : -errno;
  }
  if (S_ISDIR(info.st_mode)) return -EISDIR;
  if (!S_ISREG(info.st_mode)) return -EINVAL;
  const int wanted = mode == OpenMode::ReadOnly ? R_OK : R_OK | W_OK;
  return ::access(path.c_str(), wanted) == 0 ? 0 : -errno;
}

FileSystem& LocalFileSystem() {
  static DiskFileSystem disk;
  return disk;
}

// --- MemoryFileSystem ------------------------------------------------------------

// Which lock files of one MemoryFileSystem are held.
struct MemoryFileSystem::Locks {
  std::set<std::string> held;
};

std::shared_ptr<MemoryFileSystem::Locks> MemoryFileSystem::NewLocks() {
  return std::make_shared<Locks>();
}

namespace {

class MemoryFileLock : public FileLock {
 public:
  using Release = std::function<void(bool remove)>;
  MemoryFileLock(std::shared_ptr<std::vector<std::uint8_t>> contents, std::string previous,
                 Release release)
      : contents_(std::move(contents)),
        previous_(std::move(previous)),
        release_(std::move(release)) {}
  ~MemoryFileLock() override {
    if (release_) release_(false);
  }
  MemoryFileLock(const MemoryFileLock&) = delete;
  MemoryFileLock& operator=(const MemoryFileLock&) = delete;

  const std::string& PreviousContents() const override { return previous_; }
  int WriteContents(std::string_view text) override {
    contents_->assign(text.begin(), text.end());
    return 0;
  }
  int Remove() override {
    if (release_) release_(true);
    release_ = nullptr;
    return 0;
  }

 private:
  std::shared_ptr<std::vector<std::uint8_t>> contents_;
  std::string previous_;
  Release release_;
};

std::string LockText(const std::vector<std::uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(
                                                        bytes.size(), kLockContentsLimit)));
}

}  // namespace

std::unique_ptr<FileLock> MemoryFileSystem::AcquireLock(const std::string& path, LockResult& result,
                                                        int* error) {
  if (locks_->held.contains(path)) {
    result = LockResult::Busy;
    if (error != nullptr) *error = -EBUSY;
    return nullptr;
  }
  auto found = files_.find(path);
  if (found == files_.end()) {
    found = files_.emplace(path, std::make_shared<std::vector<std::uint8_t>>()).first;
  }
  locks_->held.insert(path);
  result = LockResult::Acquired;
  if (error != nullptr) *error = 0;
  // The lock may outlive the file system's entry (a removed file) but not
  // the registry it releases itself from.
  const std::weak_ptr<Locks> locks = locks_;
  auto release = [this, locks, path](bool remove) {
    const std::shared_ptr<Locks> registry = locks.lock();
    if (registry == nullptr) return;
    registry->held.erase(path);
    if (remove) files_.erase(path);
  };
  return std::make_unique<MemoryFileLock>(found->second, LockText(*found->second),
                                          std::move(release));
}

LockProbe MemoryFileSystem::ProbeLock(const std::string& path) {
  LockProbe probe;
  const auto* contents = Find(path);
  probe.exists = contents != nullptr;
  if (contents != nullptr) probe.contents = LockText(*contents);
  probe.held = locks_->held.contains(path);
  return probe;
}

void MemoryFileSystem::Put(const std::string& path, std::vector<std::uint8_t> contents) {
  files_[path] = std::make_shared<std::vector<std::uint8_t>>(std::move(contents));
}

const std::vector<std::uint8_t>* MemoryFileSystem::Find(const std::string& path) const {
  const auto found = files_.find(path);
  return found == files_.end() ? nullptr : found->second.get();
}

std::vector<std::string> MemoryFileSystem::Paths() const {
  std::vector<std::string> paths;
  for (const auto& [path, contents] : files_) paths.push_back(path);
  return paths;
}

std::unique_ptr<RandomAccessFile> MemoryFileSystem::Open(const std::string& path, OpenMode mode) {
  auto found = files_.find(path);
  if (mode == OpenMode::Create) {
    // Truncate in place, as the disk does, so files already open see the change.
    if (found == files_.end()) {
      found = files_.emplace(path, std::make_shared<std::vector<std::uint8_t>>()).first;
    }
    found->second->clear();
  }
  if (found == files_.end()) return nullptr;
  return std::make_unique<MemoryFile>(found->second, mode == OpenMode::ReadOnly);
}

bool MemoryFileSystem::Exists(const std::string& path) { return files_.contains(path); }

std::int64_t MemoryFileSystem::FileSize(const std::string& path) {
  const auto* contents = Find(path);
  return contents == nullptr ? -ENOENT : static_cast<std::int64_t>(contents->size());
}

bool MemoryFileSystem::Remove(const std::string& path) { return files_.erase(path) > 0; }

bool MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
  const auto found = files_.find(from);
  if (found == files_.end()) return false;
  auto contents = found->second;
  files_.erase(found);
  files_[to] = std::move(contents);
  return true;
}

bool MemoryFileSystem::Copy(const std::string& from, const std::string& to) {
  const auto* contents = Find(from);
  if (contents == nullptr) return false;
  Put(to, *contents);
  return true;
}

}  // namespace kordavelt
