#pragma once

// tbClass: one open table of a database file (see db_format.h for the bytes).
//
// A table has exactly one current position and holds three pages in memory:
// its root index page, the current second-level index page (two-level index
// only) and the current data page. All reading goes through the position;
// every positioning runs OnPosition, through which the owner keeps its view
// of the current record. Changes are written through: an insert into an
// existing page and a delete end with a flush, and a changed page is written
// as soon as the table moves to another page.
//
// Invariants kept by every operation, beyond those of the format:
//  - every upper key is a true bound: no record under an entry has a greater
//    key, and a page appended under a non-last root entry takes that root
//    entry's upper key, so Seek always finds the first record of a key;
//  - the pages in memory are the only copies that may differ from the file,
//    and only while their changed flags are set;
//  - a table found damaged is never written again in this session.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/le_bytes.h"
#include "storage/db_format.h"

namespace kordavelt {

class dbfClass;

// Status codes of the table operations. Seek and GoTo use 0 ... 3 as they
// describe the position; a negative status is the failed file operation.
inline constexpr int kStatusOk = 0;
// Seek: positioned on the first record with a greater key. GoTo: below 1.
// OpenTable: structure error.
inline constexpr int kStatusGreater = 1;
inline constexpr int kStatusStructure = 1;
// Seek: beyond every key of its data page. GoTo: beyond the last record.
// Delete: no current data page (or no current record).
inline constexpr int kStatusBeyond = 2;
inline constexpr int kStatusNoRecord = 2;
// Seek: the data page is empty. Insert, Delete, Flush: the file is read-only.
inline constexpr int kStatusEmptyPage = 3;
inline constexpr int kStatusReadOnly = 3;
// OpenTable: the length change was refused. Delete: the index is empty.
inline constexpr int kStatusRefused = 4;
inline constexpr int kStatusIndexEmpty = 4;
// GoTo: the file is not open. Delete: the table is empty.
inline constexpr int kStatusNoFile = 5;
inline constexpr int kStatusTableEmpty = 5;
// Delete: the current data page is empty.
inline constexpr int kStatusPageEmpty = 6;
// Insert: the table cannot grow (32767 records, 65535 pages or a full index).
inline constexpr int kStatusTableFull = 7;
// Any operation on a table found damaged: positions only where the pages are
// sound, writes nothing.
inline constexpr int kStatusDamaged = 8;

class tbClass {
 public:
  using PositionHook = std::function<void(tbClass&)>;

  tbClass(const tbClass&) = delete;
  tbClass& operator=(const tbClass&) = delete;
  ~tbClass();

  // --- Positioning -----------------------------------------------------------

  // The first record with key k; see the status codes above.
  void Seek(std::int32_t k);
  // Record n (1-based). GoTo(0) then Next until false visits every record.
  void GoTo(std::int32_t n);
  bool Next();
  bool Prev();

  // --- Changing records --------------------------------------------------------

  // A new zeroed record with key k becomes current, after every record with
  // key k. Refused (kStatusTableFull) when the table cannot grow; the table is
  // then unchanged.
  void Insert(std::int32_t k);
  // Deletes the current record; it enters the deletion journal.
  void Delete();
  // Moves the current record to key k, keeping its data.
  void ChangeKey(std::int32_t k);

  void MarkModified();
  void MarkModifiedAndFlush();
  // Writes the changed pages: 0, kStatusReadOnly, kStatusNoFile or the
  // negative result of the failed write.
  int Flush();
  // Unregisters and destroys the table (the owner flushes first).
  void Free();

  // --- The current record and the table ---------------------------------------

  std::int32_t Key() const;
  // The key of the last record, 0 for an empty table; the position is kept.
  std::int32_t LastKey();
  std::uint16_t Count() const;
  std::uint16_t RecordLength() const;
  // The data bytes of the current record (RecordLength() bytes); empty when
  // there is no current record.
  Bytes Record();
  ConstBytes Record() const;

  int Status() const { return status_; }
  std::int32_t RecordNumber() const { return recordNumber_; }
  int TableNumber() const { return table_; }
  dbfClass& File() const { return file_; }
  bool Damaged() const { return damaged_; }
  bool TwoLevel() const;

  PositionHook OnPosition;

 private:
  friend class dbfClass;
  using Page = std::array<std::uint8_t, db::kPageSize>;

  tbClass(dbfClass& file, int table, int slotLength);

  // The page the data entries live in: the root of a one-level index, else
  // the current second-level page.
  Bytes IndexPage();
  ConstBytes IndexPage() const;
  int IndexCount() const;
  int RootCount() const;
  int Capacity() const;
  // The cumulative count before the current data entry.
  int CountBefore() const;
  // True when key k belongs to the loaded data page by the index bounds.
  bool KeyInLoadedPage(std::int32_t k) const;
  std::int32_t KeyAt(int slot) const;

  void RunOnPosition();
  // False, with the status saying why, when the table may not be changed.
  bool Writable();
  // A structure error: reported once, the table is not written again.
  void MarkDamaged();
  // Index page sound: mark, level, 1 ... 255 entries, counts rising from
  // `before` by at most `step` per entry, pages inside the file.
  bool SoundIndexPage(ConstBytes page, int level, int before, int step) const;

  // Loads the second-level page of root entry r; false on failure.
  bool LoadSecondLevel(int r, const char* readErrorText);
  // Loads the data page of entry i of the current index page; false on failure.
  bool LoadDataPage(int i, const char* readErrorText);
  void DropDataPage();
  void ReportReadError(const char* readErrorText, int error);
  // First entry in [1, count] whose upper key is >= k (the last when none is).
  static int SearchUpperKey(ConstBytes index, int count, std::int32_t k);
  // First entry in [1, count] whose cumulative count is >= n (the last when none is).
  static int SearchCumulative(ConstBytes index, int count, std::int32_t n);
  int LastKeyFromFile(std::int32_t& key);

  // Insert: positions after every record with key k.
  void SeekInsertPosition(std::int32_t k);
  // Refuses the insert up front when the table cannot take one more record.
  bool InsertFits();
  void RefuseInsert(const std::string& limit);
  bool SplitIndex();
  bool SplitRootIntoTwoLevels();
  bool SplitSecondLevel();
  void AppendDataPage(std::int32_t k);
  // Splits the full data page and puts k at `slot` of the old page's order.
  void SplitDataPage(std::int32_t k, int slot);
  // Puts k at `slot` of the loaded page, which has room.
  void PutRecord(std::int32_t k, int slot);
  // A page for a new entry of `index`: its reusable slot, else a new page; 0 when none.
  int TakePage(ConstBytes index);

  // Delete.
  void AddToCounts(int delta);
  void RemoveCurrentEntry();
  // Both return false, with nothing changed, when the second-level page that
  // is to remain cannot be read.
  bool RemoveCurrentRootEntry();
  bool ReadSecondLevelCopy(int r, Page& page);

  dbfClass& file_;
  int table_;
  int slot_;  // slot length the table was opened with
  bool indexChanged_ = false;
  bool dataChanged_ = false;
  bool damaged_ = false;
  int rootEntry_ = 0;    // current root entry of a two-level index, 0 = none
  int indexEntry_ = 0;   // current entry of the lowest index page, 0 = no data page
  int pageRecords_ = 0;  // records in the loaded data page
  int recordSlot_ = 0;   // 0-based position in the data page
  std::int32_t recordNumber_ = 0;
  int status_ = kStatusOk;
  Page root_{};
  std::unique_ptr<Page> secondLevel_;
  Page data_{};
};

}  // namespace kordavelt
