#pragma once

// A file system that lets a command work on files without changing them.
// Files are read into memory on first use, and from then on the command
// sees its copy there: every write, create, copy, rename or removal
// happens in memory and nothing ever reaches the files underneath. A
// calculation that writes the model's results and flags, takes backups and
// opens its reference book read-write leaves the disk as it was, and works
// on read-only files and folders.
//
// Database files are read as a reader may read them (writer_mark.h): while
// another program changes one in place, or after its writer died, its
// backup is read instead, with a note; when there is no sound backup the
// file cannot be opened (AccessError answers -EBUSY) and the note says why.
//
// A command that changes a file (WriteSession) puts the file's contents in
// first, and takes the changed contents out at the end.

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "storage/file_layer.h"

namespace kordavelt {

class ScratchFileSystem : public FileSystem {
 public:
  explicit ScratchFileSystem(FileSystem& base) : base_(base) {}

  // What was read instead of a file, or why it could not be read: the
  // file's path and the note.
  std::function<void(const std::string& path, const std::string& note)> OnNote;

  // `contents` as the file at `path`, whatever the file underneath holds.
  void Put(const std::string& path, std::vector<std::uint8_t> contents);
  // The file's contents in memory; nullptr when it was never brought there.
  const std::vector<std::uint8_t>* Contents(const std::string& path) const;

  std::unique_ptr<RandomAccessFile> Open(const std::string& path, OpenMode mode) override;
  bool Exists(const std::string& path) override;
  std::int64_t FileSize(const std::string& path) override;
  bool Remove(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Copy(const std::string& from, const std::string& to) override;
  int AccessError(const std::string& path, OpenMode mode) override;

 private:
  // Brings `path` into memory unless it is there; false when there is no
  // such file or it cannot be read (the reason kept in refused_).
  bool Load(const std::string& path);
  bool InMemory(const std::string& path) const { return memory_.Find(path) != nullptr; }
  bool Removed(const std::string& path) const { return removed_.contains(path); }

  FileSystem& base_;
  MemoryFileSystem memory_;
  std::set<std::string> removed_;       // files underneath that the command removed
  std::map<std::string, int> refused_;  // files that could not be read, and why
};

}  // namespace kordavelt
