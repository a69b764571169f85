#include "ui/file_filter.h"

namespace kordavelt {
namespace {

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == text.npos ? text.npos : end - start));
    if (end == text.npos) break;
    start = end + 1;
  }
  return parts;
}

}  // namespace

std::vector<FileFilterEntry> ParseFileFilter(std::string_view filter) {
  std::vector<FileFilterEntry> entries;
  if (filter.empty()) return entries;
  const std::vector<std::string_view> parts = Split(filter, '|');
  for (std::size_t i = 0; i < parts.size(); i += 2) {
    FileFilterEntry entry{std::string(parts[i]), {}};
    if (i + 1 < parts.size()) {
      for (std::string_view pattern : Split(parts[i + 1], ';')) {
        if (!pattern.empty()) entry.patterns.emplace_back(pattern);
      }
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string ToQtFileFilter(std::string_view filter) {
  std::string out;
  for (const FileFilterEntry& entry : ParseFileFilter(filter)) {
    if (!out.empty()) out += ";;";
    out += entry.description;
    if (entry.description.find('(') == std::string::npos && !entry.patterns.empty()) {
      out += " (";
      for (std::size_t i = 0; i < entry.patterns.size(); ++i) {
        if (i > 0) out += ' ';
        out += entry.patterns[i];
      }
      out += ')';
    }
  }
  return out;
}

}  // namespace kordavelt
