#include "cli/scratch_file_system.h"

#include <vector>

#include "storage/db_format.h"
#include "storage/db_reader.h"
#include "storage/file_path.h"
#include "storage/writer_mark.h"

namespace kordavelt {
namespace {

// The backup a database file of the program keeps; empty for other files.
std::string BackupOfDatabase(const std::string& path) {
  const std::optional<db::FileKind> kind = FileKindFromPath(path);
  if (!kind) return {};
  // A backup has no backup of its own.
  const std::string extension(db::ExtensionOf(*kind));
  const std::string backup = BackupPathOf(path, extension);
  return backup == path ? std::string() : backup;
}

}  // namespace

void ScratchFileSystem::Put(const std::string& path, std::vector<std::uint8_t> contents) {
  memory_.Put(path, std::move(contents));
  removed_.erase(path);
  refused_.erase(path);
}

const std::vector<std::uint8_t>* ScratchFileSystem::Contents(const std::string& path) const {
  return memory_.Find(path);
}

bool ScratchFileSystem::Load(const std::string& path) {
  if (InMemory(path)) return true;
  if (Removed(path) || refused_.contains(path) || !base_.Exists(path)) return false;
  ReaderSnapshot snapshot = ReadForReading(base_, path, BackupOfDatabase(path));
  if (!snapshot.note.empty() && OnNote) OnNote(path, snapshot.note);
  if (snapshot.error != 0) {
    refused_[path] = snapshot.error;
    return false;
  }
  memory_.Put(path, std::move(snapshot.bytes));
  return true;
}

std::unique_ptr<RandomAccessFile> ScratchFileSystem::Open(const std::string& path, OpenMode mode) {
  if (mode == OpenMode::Create) {
    removed_.erase(path);
    refused_.erase(path);
    return memory_.Open(path, mode);
  }
  return Load(path) ? memory_.Open(path, mode) : nullptr;
}

bool ScratchFileSystem::Exists(const std::string& path) {
  if (InMemory(path)) return true;
  return !Removed(path) && base_.Exists(path);
}

std::int64_t ScratchFileSystem::FileSize(const std::string& path) {
  if (InMemory(path)) return memory_.FileSize(path);
  if (Removed(path)) return -ENOENT;
  return base_.FileSize(path);
}

bool ScratchFileSystem::Remove(const std::string& path) {
  const bool existed = Exists(path);
  memory_.Remove(path);
  removed_.insert(path);
  return existed;
}

bool ScratchFileSystem::Rename(const std::string& from, const std::string& to) {
  if (!Load(from) || !memory_.Rename(from, to)) return false;
  removed_.insert(from);
  removed_.erase(to);
  refused_.erase(to);
  return true;
}

bool ScratchFileSystem::Copy(const std::string& from, const std::string& to) {
  if (!Load(from) || !memory_.Copy(from, to)) return false;
  removed_.erase(to);
  refused_.erase(to);
  return true;
}

int ScratchFileSystem::AccessError(const std::string& path, OpenMode mode) {
  if (InMemory(path) || mode == OpenMode::Create) return 0;
  if (const auto refused = refused_.find(path); refused != refused_.end()) return refused->second;
  if (Removed(path)) return -ENOENT;
  // Writes stay in memory: what counts is whether the file can be read.
  return base_.AccessError(path, OpenMode::ReadOnly);
}

}  // namespace kordavelt
