#pragma once

// Writing a file so that it is always either the old one or the new one.
//
// The new contents go to a temporary file beside the target
// ("<target>.<process id>.tmp"), are handed to the device, and the
// temporary file is renamed over the target; the folder is synced so that
// the rename itself survives a power cut. A failure at any step removes the
// temporary file and leaves the target as it was; a process killed at any
// step leaves the target as it was or complete, never in between.

#include <cstdint>
#include <string>
#include <vector>

#include "storage/file_layer.h"

namespace kordavelt {

// This process's number, for temporary names and writer marks.
long long CurrentProcessId();
// The computer's name, for writer marks; empty when unknown.
std::string CurrentHostName();

// "<path>.<process id>.tmp": unique per process, in the target's folder
// (a rename never crosses file systems).
std::string TemporaryPathFor(const std::string& path);

// Replaces (or creates) the file at `path` with `contents`. 0, or the
// negative error code of the step that failed.
int ReplaceFile(FileSystem& files, const std::string& path, ConstBytes contents);

// Replaces (or creates) the file at `to` with a copy of the file at `from`,
// read and written in pieces. 0, or a negative error code.
int ReplaceFileByCopy(FileSystem& files, const std::string& from, const std::string& to);

// The whole file into `bytes`. 0, or a negative error code (bytes emptied).
int ReadWholeFile(FileSystem& files, const std::string& path, std::vector<std::uint8_t>& bytes);

// The file written through a temporary name: Open, write through File(),
// then Commit. Destroying it uncommitted removes the temporary file, so a
// failed write leaves neither a partial target nor litter.
class ReplacementFile {
 public:
  ReplacementFile(FileSystem& files, std::string target);
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // 0, or the negative error code of creating the temporary file.
  int Open();
  RandomAccessFile* File() { return file_.get(); }
  const std::string& Target() const { return target_; }
  // Hands the file to the device and renames it over the target. 0, or the
  // negative error code of the failed step (nothing replaced).
  int Commit();
  // Drops the temporary file.
  void Abandon();

 private:
  FileSystem& files_;
  std::string target_;
  std::string temporary_;
  std::unique_ptr<RandomAccessFile> file_;
};

}  // namespace kordavelt
