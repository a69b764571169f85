#include "shell/recent_files.h"

#include <algorithm>
#include <optional>

#include "shell/settings_store.h"

namespace kordavelt {
namespace {

std::string ValueName(int i) { return "File" + std::to_string(i); }

}  // namespace

std::string RecentFileKey(std::string_view programName) {
  return "\\Software\\Tarnell\\" + std::string(programName) + "\\Recent File List";
}

void RecentFiles::Read(SettingsStore& store, std::string_view programName) {
  const std::string key = RecentFileKey(programName);
  entries_ = {};
  int used = 0;
  if (store.HasKey(key)) {
    for (int i = 1; i <= kEntries; ++i) {
      const std::optional<std::string> path = store.ReadString(key, ValueName(i));
      if (!path) break;
      if (!path->empty()) entries_[used++] = *path;
    }
  }
  startCount_ = used;
}

bool RecentFiles::Write(SettingsStore& store, std::string_view programName) const {
  const std::string key = RecentFileKey(programName);
  if (!store.CreateKey(key)) return false;
  bool ok = true;
  for (int i = 1; i <= kEntries; ++i) ok &= store.WriteString(key, ValueName(i), entries_[i - 1]);
  return ok;
}

void RecentFiles::Use(std::string_view path) {
  if (path.empty() || path.find('*') != std::string_view::npos) return;
  const auto listed = std::find(entries_.begin(), entries_.end(), path);
  if (listed != entries_.end()) {
    std::swap(*listed, entries_.front());
    return;
  }
  std::shift_right(entries_.begin(), entries_.end(), 1);
  entries_.front() = std::string(path);
}

const std::string& RecentFiles::Entry(int i) const {
  static const std::string kNone;
  return i >= 1 && i <= kEntries ? entries_[i - 1] : kNone;
}

std::string RecentFiles::Caption(int i) const { return std::to_string(i) + " " + Entry(i); }

int RecentFiles::Count() const {
  return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                        [](const std::string& e) { return !e.empty(); }));
}

}  // namespace kordavelt
