#include "storage/file_layer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kordavelt {

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

FileSystem& LocalFileSystem() {
  static DiskFileSystem disk;
  return disk;
}

// --- MemoryFileSystem ------------------------------------------------------------

void MemoryFileSystem::Put(const std::string& path, std::vector<std::uint8_t> contents) {
  files_[path] = std::make_shared<std::vector<std::uint8_t>>(std::move(contents));
}

const std::vector<std::uint8_t>* MemoryFileSystem::Find(const std::string& path) const {
  const auto found = files_.find(path);
  return found == files_.end() ? nullptr : found->second.get();
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
