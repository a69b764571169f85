#pragma once

// A file system that lets a command work on files without changing them.
// Reading goes to the files underneath; the first write, create, copy,
// rename or removal of a file moves that file into memory, and from then on
// the command sees its copy there. Nothing ever reaches the files
// underneath: a calculation that writes the model's results and flags, takes
// backups and opens its reference book read-write leaves the disk as it was.

#include <memory>
#include <set>
#include <string>

#include "storage/file_layer.h"

namespace kordavelt {

class ScratchFileSystem : public FileSystem {
 public:
  explicit ScratchFileSystem(FileSystem& base) : base_(base) {}

  std::unique_ptr<RandomAccessFile> Open(const std::string& path, OpenMode mode) override;
  bool Exists(const std::string& path) override;
  std::int64_t FileSize(const std::string& path) override;
  bool Remove(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Copy(const std::string& from, const std::string& to) override;

 private:
  // Brings `path` into memory unless it is there; false when there is no
  // such file or it cannot be read whole.
  bool Load(const std::string& path);
  bool InMemory(const std::string& path) const { return memory_.Find(path) != nullptr; }
  bool Removed(const std::string& path) const { return removed_.contains(path); }

  FileSystem& base_;
  MemoryFileSystem memory_;
  std::set<std::string> removed_;  // files underneath that the command removed
};

}  // namespace kordavelt
