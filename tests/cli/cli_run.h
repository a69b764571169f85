#pragma once

// Running kordavelt-cli in-process over a MemoryFileSystem, and the texts of
// its files, which are Windows-1251 on disk and UTF-8 here.

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp1251.h"
#include "cli/cli_main.h"
#include "storage/file_layer.h"

namespace kordavelt::testing {

struct CliRun {
  int code;
  std::string out;
  std::string err;
};

inline CliRun RunTool(FileSystem& files, const std::vector<std::string>& args) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunCli(args, out, err, files);
  return {code, out.str(), err.str()};
}

// Writes `utf8` to `path` in Windows-1251.
inline void PutText(MemoryFileSystem& files, const std::string& path, std::string_view utf8) {
  const std::string bytes = Utf8ToCp1251(utf8);
  files.Put(path, {bytes.begin(), bytes.end()});
}

// The Windows-1251 file at `path` as UTF-8; empty when there is none.
inline std::string TextOf(const MemoryFileSystem& files, const std::string& path) {
  const std::vector<std::uint8_t>* bytes = files.Find(path);
  return bytes == nullptr ? std::string() : Cp1251ToUtf8(std::string(bytes->begin(), bytes->end()));
}

}  // namespace kordavelt::testing
