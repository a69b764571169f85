#pragma once

// What one table of the database engine should hold, kept the simple way: a
// list of records in key order (equal keys in insertion order) and the
// deletion journal of a file that has only this table open. Tests run the
// engine and this model side by side and compare them after every step.
//
// A record is named by a serial the test hands out; its data bytes are a
// pattern derived from that serial (RecordPattern), so a record that loses
// or swaps its data is caught wherever it ends up.

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "base/le_bytes.h"

namespace kordavelt::testing {

// The data bytes of the record with `serial`: no two serials share a pattern
// in their first bytes, and every byte depends on the serial.
std::vector<std::uint8_t> RecordPattern(std::uint64_t serial, std::size_t length);
void FillPattern(Bytes record, std::uint64_t serial);
bool HasPattern(ConstBytes record, std::uint64_t serial);

struct ReferenceRecord {
  std::int32_t key = 0;
  std::uint64_t serial = 0;
};

class ReferenceTable {
 public:
  static constexpr int kJournalCapacity = 1000;

  int Count() const { return static_cast<int>(records_.size()); }
  // Record n, 1-based.
  const ReferenceRecord& At(int n) const { return records_[static_cast<std::size_t>(n - 1)]; }
  const std::vector<ReferenceRecord>& Records() const { return records_; }
  // Records with a key below k, and with a key up to k.
  int Below(std::int32_t k) const;
  int UpTo(std::int32_t k) const;
  bool Contains(std::int32_t k) const { return UpTo(k) > Below(k); }
  // The key of the last record, 0 for an empty table.
  std::int32_t LastKey() const { return records_.empty() ? 0 : records_.back().key; }

  // A new record after every record with its key; clears the journal.
  // Returns its record number.
  int Insert(std::int32_t key, std::uint64_t serial);
  // Deletes record n into the journal (the oldest entry goes at capacity).
  ReferenceRecord Delete(int n);
  // Record n moves to key k with its serial: a delete and an insert, so the
  // journal is empty afterwards. Returns the new record number.
  int ChangeKey(int n, std::int32_t k);
  // Re-inserts the journalled records, last deleted first, where their key is
  // absent; empties the journal. Returns the key of the entry handled last
  // (the oldest), on whose first record the table is left; nothing when the
  // journal was empty.
  std::optional<std::int32_t> UndoDeletions();
  void ClearJournal() { journal_.clear(); }
  int JournalSize() const { return static_cast<int>(journal_.size()); }

 private:
  void Place(const ReferenceRecord& record);

  std::vector<ReferenceRecord> records_;
  std::deque<ReferenceRecord> journal_;
};

}  // namespace kordavelt::testing
