#pragma once

// The shape of an index that the engine keeps, beyond what the reader checks:
// Seek and Insert rely on it, so the fuzz target models only files in it.

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <vector>

#include "storage/db_format.h"
#include "storage/db_reader.h"
#include "storage/file_layer.h"

namespace kordavelt::fuzz {

using Page = std::array<std::uint8_t, db::kPageSize>;

// Walks the index of a table the reader found sound: the pages it uses, the
// pages its reusable slots name, and whether every upper key below the last
// equals the greatest key under its entry and no empty data page stands
// beside others. Seek and Insert rely on that shape.
class ShapeWalk {
 public:
  ShapeWalk(RandomAccessFile& file, int slotLength) : file_(file), slot_(slotLength) {}

  void Run(int rootPage) {
    Page root{};
    ReadIndex(rootPage, root);
    const int count = EntryCount(root);
    if (db::IndexLevel(root) == db::kLevelOneLevelRoot) {
      DataEntries(root, 0, count == 1, true);
      return;
    }
    int before = 0;
    for (int r = 1; r <= count; ++r) {
      Page second{};
      ReadIndex(db::EntryPage(root, r), second);
      const int cumulative = db::EntryCumulative(root, r);
      db::CorrectStaleCounts(second, db::StaleCountDelta(second, cumulative));
      const bool alone = count == 1 && EntryCount(second) == 1;
      const std::int32_t lastKey = DataEntries(second, before, alone, r == count);
      if (r < count && db::EntryUpperKey(root, r) != lastKey) tight_ = false;
      before = cumulative;
    }
  }

  bool Tight() const { return tight_; }
  const std::vector<int>& Pages() const { return pages_; }
  const std::vector<int>& Slots() const { return slots_; }

 private:
  static int EntryCount(ConstBytes index) {
    return std::clamp<int>(db::IndexEntryCount(index), 0, db::kMaxEntries);
  }

  void ReadIndex(int page, Page& index) {
    ReadPage(file_, static_cast<std::uint32_t>(page), index);
    pages_.push_back(page);
    if (const int slot = db::ReusablePage(index); slot != 0) slots_.push_back(slot);
  }

  // Returns the key of the last record under the index page.
  std::int32_t DataEntries(ConstBytes index, int before, bool alone, bool lastOfTable) {
    const int count = EntryCount(index);
    std::int32_t lastKey = 0;
    int previous = before;
    for (int i = 1; i <= count; ++i) {
      const int cumulative = db::EntryCumulative(index, i);
      const int records = std::min(cumulative - previous, db::RecordsPerPage(slot_));
      previous = cumulative;
      const int page = db::EntryPage(index, i);
      pages_.push_back(page);
      if (records <= 0) {
        if (!alone) tight_ = false;
        continue;
      }
      Page data{};
      ReadPage(file_, static_cast<std::uint32_t>(page), data);
      lastKey = db::RecordKey(data, slot_, records - 1);
      if (!(lastOfTable && i == count) && db::EntryUpperKey(index, i) != lastKey) tight_ = false;
    }
    return lastKey;
  }

  RandomAccessFile& file_;
  int slot_;
  bool tight_ = true;
  std::vector<int> pages_;
  std::vector<int> slots_;
};

// True when the file is sound by the reader and every table is in the
// engine's shape, and no page the engine may take for a new entry or a new
// table (reusable slots, roots kept by cleared tables and their first data
// pages) is in use or promised twice.
inline bool InEngineShape(RandomAccessFile& file, DbReader& reader) {
  if (!reader.Accepted() || !reader.Check().empty()) return false;
  Page header{};
  ReadPage(file, 0, header);
  const int pageCount = reader.PageCount();
  std::set<int> used{0};
  std::vector<int> promised;
  for (const DbTableInfo& table : reader.Tables()) {
    if (table.rawBlock) {
      if (table.rootPage != 0) used.insert(table.rootPage);
      continue;
    }
    if (table.number == db::kScratchTable) continue;
    ShapeWalk walk(file, table.slotLength);
    walk.Run(table.rootPage);
    if (!walk.Tight()) return false;
    used.insert(walk.Pages().begin(), walk.Pages().end());
    promised.insert(promised.end(), walk.Slots().begin(), walk.Slots().end());
  }
  for (int t = 1; t < db::kScratchTable; ++t) {
    const int root = db::RootPage(header, t);
    if (db::SlotLength(header, t) != db::kSlotUnused || root == 0 || root > pageCount) continue;
    promised.push_back(root);
    Page kept{};
    ReadPage(file, static_cast<std::uint32_t>(root), kept);
    const int firstData = db::EntryPage(kept, 1);
    if (db::IndexMark(kept) == db::kIndexMark && firstData != root) promised.push_back(firstData);
  }
  std::set<int> seen;
  for (const int page : promised) {
    if (page == 0 || page > pageCount) continue;
    if (used.contains(page) || !seen.insert(page).second) return false;
  }
  return true;
}

}  // namespace kordavelt::fuzz
