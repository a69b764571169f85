#pragma once

// The recent-file list of the "&Файл" menu: four model paths, the last opened
// first, kept in the per-user store under RecentFileKey(program name) as
// "File1" … "File4".
//
// The menu has one item per entry present when the program started; later
// opens reorder the entries and the window refreshes the captions of those
// items only, so StartCount() tells how many items there are.

#include <array>
#include <string>
#include <string_view>

namespace kordavelt {

class SettingsStore;

// "\Software\Tarnell\" + programName + "\Recent File List".
std::string RecentFileKey(std::string_view programName);

class RecentFiles {
 public:
  static constexpr int kEntries = 4;

  // Reads "File1" … "File4"; empty values are skipped, so the entries read
  // stand first without gaps. A failed read stops the reading.
  void Read(SettingsStore& store, std::string_view programName);
  // Writes all four values (empty for a free place); false when a write failed.
  bool Write(SettingsStore& store, std::string_view programName) const;

  // Records a path just opened or created. A path with '*' (a model not yet
  // saved to a file) is ignored; a path already listed exchanges places with
  // entry 1; a new one becomes entry 1, the others move down and entry 4 is
  // dropped.
  void Use(std::string_view path);

  // Entry i (1 … 4); empty when free or out of range.
  const std::string& Entry(int i) const;
  // The menu caption of entry i: "1 C:\Models\Цех.LVN".
  std::string Caption(int i) const;
  // Entries in use; they are always entries 1 … Count().
  int Count() const;
  // The entries in use when the list was read: the recent items of the menu.
  int StartCount() const { return startCount_; }

 private:
  std::array<std::string, kEntries> entries_;
  int startCount_ = 0;
};

}  // namespace kordavelt
