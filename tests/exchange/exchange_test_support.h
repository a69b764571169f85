#pragma once

// Helpers of the exchange tests: a table owner over fixed rows, and the
// bytes of files in a MemoryFileSystem as text.

#include <string>
#include <vector>

#include "storage/file_layer.h"
#include "ui/table_owner.h"

namespace kordavelt::testing {

class FixedRowsOwner : public TableOwner {
 public:
  std::vector<std::string> rows;
  std::vector<bool> exportingSeen;

  void OnLine(TableForm& form) override {
    exportingSeen.push_back(form.exporting);
    const int index = form.lineNo - 1;
    form.line = index >= 0 && index < static_cast<int>(rows.size()) ? rows[index] : "";
  }
};

inline std::string FileText(const MemoryFileSystem& files, const std::string& path) {
  const std::vector<std::uint8_t>* bytes = files.Find(path);
  return bytes == nullptr ? std::string("<no file>") : std::string(bytes->begin(), bytes->end());
}

inline void PutText(MemoryFileSystem& files, const std::string& path, const std::string& text) {
  files.Put(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

}  // namespace kordavelt::testing
