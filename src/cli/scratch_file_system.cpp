#include "cli/scratch_file_system.h"

#include <vector>

namespace kordavelt {

bool ScratchFileSystem::Load(const std::string& path) {
  if (InMemory(path)) return true;
  if (Removed(path)) return false;
  std::unique_ptr<RandomAccessFile> file = base_.Open(path, OpenMode::ReadOnly);
  if (file == nullptr) return false;
  const std::int64_t size = file->Size();
  if (size < 0) return false;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (file->ReadAt(0, bytes) != size) return false;
  memory_.Put(path, std::move(bytes));
  return true;
}

std::unique_ptr<RandomAccessFile> ScratchFileSystem::Open(const std::string& path, OpenMode mode) {
  if (mode == OpenMode::Create) {
    removed_.erase(path);
    return memory_.Open(path, mode);
  }
  if (InMemory(path)) return memory_.Open(path, mode);
  if (Removed(path)) return nullptr;
  if (mode == OpenMode::ReadOnly) return base_.Open(path, mode);
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
  return true;
}

bool ScratchFileSystem::Copy(const std::string& from, const std::string& to) {
  if (!Load(from) || !memory_.Copy(from, to)) return false;
  removed_.erase(to);
  return true;
}

}  // namespace kordavelt
