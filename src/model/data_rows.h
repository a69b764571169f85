#pragma once

// The rows of a data table shown in key order (sources, groups, rooms).
// Rows deleted by the window stay where they are until the deletions end:
// the window deletes row after row without the rows moving, so the map is
// read again only at the next call of another kind.

#include <cstdint>
#include <vector>

namespace kordavelt {

class tbClass;
struct TableForm;

class DataRows {
 public:
  // Reads the keys of `table` (nullptr: no rows).
  void Rebuild(tbClass* table);
  // Rows were deleted: read them again at the next Sync.
  void MarkStale() { stale_ = true; }
  // Reads the rows again when stale and gives the form the new count.
  void Sync(tbClass* table, TableForm& form);

  int Rows() const { return static_cast<int>(keys_.size()); }
  // The key of row `row` (1-based), 0 outside the rows.
  std::int32_t Key(int row) const;
  // The row of `key`, 0 when it is not shown.
  int RowOf(std::int32_t key) const;

 private:
  std::vector<std::int32_t> keys_;
  bool stale_ = false;
};

}  // namespace kordavelt
