#include "storage/file_replace.h"

#include <unistd.h>

#include <array>
#include <cerrno>

namespace kordavelt {
namespace {

constexpr std::size_t kCopyPiece = 64 * 1024;

}  // namespace

long long CurrentProcessId() { return static_cast<long long>(::getpid()); }

std::string CurrentHostName() {
  std::array<char, 256> name{};
  if (::gethostname(name.data(), name.size() - 1) != 0) return {};
  return std::string(name.data());
}

std::string TemporaryPathFor(const std::string& path) {
  return path + "." + std::to_string(CurrentProcessId()) + ".tmp";
}

// --- ReplacementFile ---------------------------------------------------------------

ReplacementFile::ReplacementFile(FileSystem& files, std::string target)
    : files_(files), target_(std::move(target)), temporary_(TemporaryPathFor(target_)) {}

ReplacementFile::~ReplacementFile() { Abandon(); }

int ReplacementFile::Open() {
  Abandon();
  file_ = files_.Open(temporary_, OpenMode::Create);
  if (file_ != nullptr) return 0;
  const int error = files_.AccessError(temporary_, OpenMode::Create);
  return error != 0 ? error : -EIO;
}

int ReplacementFile::Commit() {
  if (file_ == nullptr) return -EBADF;
  int error = file_->Flush();
  file_.reset();
  if (error == 0 && !files_.Rename(temporary_, target_)) error = -EIO;
  if (error != 0) {
    files_.Remove(temporary_);
    return error;
  }
  // The rename has happened; a folder that cannot be synced leaves it to
  // the system, and the target is whole either way.
  files_.SyncFolder(target_);
  return 0;
}

void ReplacementFile::Abandon() {
  if (file_ == nullptr) return;
  file_.reset();
  files_.Remove(temporary_);
}

// --- Whole files ---------------------------------------------------------------------

int ReplaceFile(FileSystem& files, const std::string& path, ConstBytes contents) {
  ReplacementFile replacement(files, path);
  if (const int error = replacement.Open(); error != 0) return error;
  const std::int64_t written = replacement.File()->WriteAt(0, contents);
  if (written < 0) return static_cast<int>(written);
  if (written != static_cast<std::int64_t>(contents.size())) return -EIO;
  return replacement.Commit();
}

int ReplaceFileByCopy(FileSystem& files, const std::string& from, const std::string& to) {
  std::unique_ptr<RandomAccessFile> source = files.Open(from, OpenMode::ReadOnly);
  if (source == nullptr) {
    const int error = files.AccessError(from, OpenMode::ReadOnly);
    return error != 0 ? error : -EIO;
  }
  ReplacementFile replacement(files, to);
  if (const int error = replacement.Open(); error != 0) return error;
  std::vector<std::uint8_t> piece(kCopyPiece);
  for (std::uint64_t offset = 0;;) {
    const std::int64_t got = source->ReadAt(offset, piece);
    if (got < 0) return static_cast<int>(got);
    if (got == 0) break;
    const ConstBytes data = ConstBytes(piece).first(static_cast<std::size_t>(got));
    const std::int64_t written = replacement.File()->WriteAt(offset, data);
    if (written < 0) return static_cast<int>(written);
    if (written != got) return -EIO;
    offset += static_cast<std::uint64_t>(got);
  }
  return replacement.Commit();
}

int ReadWholeFile(FileSystem& files, const std::string& path, std::vector<std::uint8_t>& bytes) {
  bytes.clear();
  std::unique_ptr<RandomAccessFile> file = files.Open(path, OpenMode::ReadOnly);
  if (file == nullptr) {
    const int error = files.AccessError(path, OpenMode::ReadOnly);
    return error != 0 ? error : -EIO;
  }
  const std::int64_t size = file->Size();
  if (size < 0) return static_cast<int>(size);
  bytes.resize(static_cast<std::size_t>(size));
  const std::int64_t got = file->ReadAt(0, bytes);
  if (got != size) {
    bytes.clear();
    return got < 0 ? static_cast<int>(got) : -EIO;
  }
  return 0;
}

}  // namespace kordavelt
