#pragma once

// The database file: the paged table format of the model and the reference book.
//
// This header states the bytes on disk; the reader, the engine and the tests
// read and write them only through the accessors below. All integers are
// little-endian; int16 and int32 are signed, uint16 unsigned.
//
// FILE
//   An array of 2048-byte pages; page p occupies bytes p*2048 ... p*2048+2047.
//   Page numbers are uint16, so 65535 is the highest. Page 0 is the header.
//   Pages are allocated by appending: a new page is page count + 1. A page may
//   be allocated before it is written, so the file may be shorter than
//   (page count + 1) * 2048 bytes; whatever was never written reads as zero.
//   A raw block is written with its own length, so the file need not end on a
//   page boundary either.
//
// HEADER (page 0)
//   0          byte     signature length n: 9 in a model file, 6 in a reference book
//   1 .. n     chars    "Brovaskel" / "KdvSpr", code page 1251
//   1+n .. 49  zero     (48-49 belong to no descriptor; we write zeros, we do not insist)
//   50         int32    page count: the highest allocated page number, 0 ... 65535
//   48 + 6t    6 bytes  descriptor of table t, t = 1 ... 332 (offsets 54 ... 2045)
//   2046       int16    slot length of table 333, the scratch table. Its count and
//                       root are not stored, so after a reopen it always starts anew.
//
// DESCRIPTOR (6 bytes)
//   0  int16   slot length: 0 = number not in use; 1 = raw block;
//              5 ... 2048 = table of records of that many bytes (4-byte key + data).
//              A cleared table has slot length 0 but keeps its root page number,
//              so creating it again reuses that root and the root's first data page.
//   2  uint16  record count (0 for a raw block). Kept on every insert and delete,
//              but the root is the truth: the engine recomputes it on open.
//   4  uint16  root index page, or the raw block's page; 0 = none yet.
//
// INDEX PAGE (a root, or a second-level page of a two-level index)
//   0  byte    mark, always 1
//   1  byte    level: 0 = root of a one-level index, 1 = root of a two-level
//              index, 2 = second-level page. There is no third level.
//   2  uint16  table number
//   4  uint16  0
//   6  uint16  entry count S, 1 ... 255 (an empty table's root has S = 1)
//   8i 8 bytes entry i, i = 1 ... 255
//
// INDEX ENTRY (8 bytes)
//   0  int32   upper key: the greatest key under the entry. The last entry of
//              a root, and the last entry of the last second-level page, hold
//              kLastUpperKey (2147483647) instead.
//   4  int16   cumulative record count, absolute: the records of the table up
//              to and including this entry's pages. The records under entry i
//              number count(i) - count(i-1); before entry 1 of a root stands 0,
//              before entry 1 of a second-level page the count of the preceding
//              root entry.
//   6  uint16  page: a data page (one-level root, second-level page) or a
//              second-level page (two-level root)
//
// INVARIANTS
//   - Entries ascend by upper key; records ascend by key (signed comparison),
//     equal keys keep their insertion order and may straddle two data pages.
//   - A data page holds floor(2048 / slot length) records at most.
//   - Stale second-level counts: an insert or delete updates only the root and
//     the one second-level page in memory. Every other second-level page may
//     hold counts that are all off by the same amount. What holds on disk is
//     that the page's last count, once corrected, equals the count of the root
//     entry that points to it; a reader adds delta = root count - last count
//     to every entry of the page before using it (StaleCountDelta).
//   - Reusable page slot: when S < 255, the page field of entry S + 1 may name
//     a page that is no longer referenced; the next split of that index page
//     takes it instead of a new page. Readers ignore it; writers may leave 0.
//   - At most 32767 records per table (cumulative counts are int16).
//
// DATA PAGE
//   No header. Record k (0-based) occupies k*slot ... k*slot + slot - 1: an
//   int32 key and slot - 4 data bytes. Only the number of records the index
//   gives are valid; the bytes after them are leftovers.
//
// RAW BLOCK
//   A table number with slot length 1 owns one page (the descriptor's page)
//   holding an opaque block of up to 2048 bytes, read and written whole.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/le_bytes.h"

namespace kordavelt::db {

// --- Sizes and limits -------------------------------------------------------

inline constexpr int kPageSize = 2048;
inline constexpr int kMaxPageNumber = 65535;
inline constexpr int kMaxTables = 333;
inline constexpr int kScratchTable = 333;  // only its slot length is stored
inline constexpr int kMaxEntries = 255;    // per index page
inline constexpr int kMaxRecords = 32767;  // per table
inline constexpr std::int32_t kLastUpperKey = 0x7FFFFFFF;
inline constexpr int kKeySize = 4;

// --- Header layout -----------------------------------------------------------

inline constexpr std::size_t kSignatureOffset = 0;
inline constexpr std::size_t kMaxSignatureLength = 49;  // bytes 1 ... 49
inline constexpr std::size_t kPageCountOffset = 50;
inline constexpr std::size_t kDescriptorBase = 48;
inline constexpr std::size_t kDescriptorSize = 6;
inline constexpr std::size_t kDescSlotLength = 0;
inline constexpr std::size_t kDescRecordCount = 2;
inline constexpr std::size_t kDescRootPage = 4;

// Slot lengths of a descriptor.
inline constexpr int kSlotUnused = 0;
inline constexpr int kSlotRawBlock = 1;
inline constexpr int kMinTableSlot = kKeySize + 1;
inline constexpr int kMaxTableSlot = kPageSize;

// --- Index page layout -------------------------------------------------------

inline constexpr std::uint8_t kIndexMark = 1;
inline constexpr std::uint8_t kLevelOneLevelRoot = 0;
inline constexpr std::uint8_t kLevelTwoLevelRoot = 1;
inline constexpr std::uint8_t kLevelSecond = 2;

inline constexpr std::size_t kIndexMarkOffset = 0;
inline constexpr std::size_t kIndexLevelOffset = 1;
inline constexpr std::size_t kIndexTableOffset = 2;
inline constexpr std::size_t kIndexReservedOffset = 4;
inline constexpr std::size_t kIndexCountOffset = 6;
inline constexpr std::size_t kEntrySize = 8;
inline constexpr std::size_t kEntryUpperKey = 0;
inline constexpr std::size_t kEntryCumulative = 4;
inline constexpr std::size_t kEntryPage = 6;

// --- The two kinds of file -----------------------------------------------------

enum class FileKind { Model, ReferenceBook };

inline constexpr std::string_view kModelSignature = "Brovaskel";
inline constexpr std::string_view kModelExtension = "LVN";
inline constexpr std::string_view kReferenceBookSignature = "KdvSpr";
inline constexpr std::string_view kReferenceBookExtension = "SPR";
// The backup taken at open carries the extension "~" + extension.
inline constexpr char kBackupMark = '~';

constexpr std::string_view SignatureOf(FileKind kind) {
  return kind == FileKind::Model ? kModelSignature : kReferenceBookSignature;
}

constexpr std::string_view ExtensionOf(FileKind kind) {
  return kind == FileKind::Model ? kModelExtension : kReferenceBookExtension;
}

// --- Pages -------------------------------------------------------------------

constexpr std::uint64_t PageOffset(std::uint32_t page) {
  return static_cast<std::uint64_t>(page) * kPageSize;
}

// --- Header accessors ----------------------------------------------------------

// True when byte 0 and the bytes after it spell the length-prefixed signature.
inline bool HasSignature(ConstBytes header, std::string_view signature) {
  if (signature.size() > kMaxSignatureLength) return false;
  if (ReadU8(header, kSignatureOffset) != signature.size()) return false;
  for (std::size_t i = 0; i < signature.size(); ++i) {
    if (ReadU8(header, kSignatureOffset + 1 + i) != static_cast<std::uint8_t>(signature[i])) {
      return false;
    }
  }
  return true;
}

// The signature bytes as stored (code page 1251), cut to the 49 bytes that can hold one.
inline std::string StoredSignature(ConstBytes header) {
  std::size_t length = ReadU8(header, kSignatureOffset);
  if (length > kMaxSignatureLength) length = kMaxSignatureLength;
  std::string text;
  for (std::size_t i = 0; i < length; ++i) {
    text += static_cast<char>(ReadU8(header, kSignatureOffset + 1 + i));
  }
  return text;
}

inline void PutSignature(Bytes header, std::string_view signature) {
  if (signature.size() > kMaxSignatureLength) return;
  WriteU8(header, kSignatureOffset, static_cast<std::uint8_t>(signature.size()));
  for (std::size_t i = 0; i < signature.size(); ++i) {
    WriteU8(header, kSignatureOffset + 1 + i, static_cast<std::uint8_t>(signature[i]));
  }
}

inline std::int32_t PageCount(ConstBytes header) { return ReadI32(header, kPageCountOffset); }
inline void SetPageCount(Bytes header, std::int32_t count) {
  WriteI32(header, kPageCountOffset, count);
}

constexpr bool IsTableNumber(int table) { return table >= 1 && table <= kMaxTables; }

// Tables 1 ... 332 store all three descriptor fields; table 333 only its slot
// length: its count and root fall past the 2048 bytes of page 0. The accessors
// below read them as 0 from a page-sized header and write nothing there; the
// engine keeps a header image of kHeaderImageSize bytes whose tail holds them
// while the file is open.
inline constexpr std::size_t kHeaderImageSize = 48 + 6 * (kMaxTables + 1);

constexpr std::size_t DescriptorOffset(int table) {
  return kDescriptorBase + kDescriptorSize * static_cast<std::size_t>(table);
}

inline std::int16_t SlotLength(ConstBytes header, int table) {
  if (!IsTableNumber(table)) return 0;
  return ReadI16(header, DescriptorOffset(table) + kDescSlotLength);
}
inline void SetSlotLength(Bytes header, int table, std::int16_t slotLength) {
  if (IsTableNumber(table)) WriteI16(header, DescriptorOffset(table) + kDescSlotLength, slotLength);
}

inline std::uint16_t DescriptorCount(ConstBytes header, int table) {
  if (!IsTableNumber(table)) return 0;
  return ReadU16(header, DescriptorOffset(table) + kDescRecordCount);
}
inline void SetDescriptorCount(Bytes header, int table, std::uint16_t count) {
  if (IsTableNumber(table)) WriteU16(header, DescriptorOffset(table) + kDescRecordCount, count);
}

inline std::uint16_t RootPage(ConstBytes header, int table) {
  if (!IsTableNumber(table)) return 0;
  return ReadU16(header, DescriptorOffset(table) + kDescRootPage);
}
inline void SetRootPage(Bytes header, int table, std::uint16_t page) {
  if (IsTableNumber(table)) WriteU16(header, DescriptorOffset(table) + kDescRootPage, page);
}

constexpr bool IsTableSlotLength(int slotLength) {
  return slotLength >= kMinTableSlot && slotLength <= kMaxTableSlot;
}

// --- Index page accessors --------------------------------------------------------

inline std::uint8_t IndexMark(ConstBytes page) { return ReadU8(page, kIndexMarkOffset); }
inline std::uint8_t IndexLevel(ConstBytes page) { return ReadU8(page, kIndexLevelOffset); }
inline std::uint16_t IndexTable(ConstBytes page) { return ReadU16(page, kIndexTableOffset); }
inline std::uint16_t IndexEntryCount(ConstBytes page) { return ReadU16(page, kIndexCountOffset); }

inline void SetIndexMark(Bytes page, std::uint8_t mark) { WriteU8(page, kIndexMarkOffset, mark); }
inline void SetIndexLevel(Bytes page, std::uint8_t level) {
  WriteU8(page, kIndexLevelOffset, level);
}
inline void SetIndexTable(Bytes page, std::uint16_t table) {
  WriteU16(page, kIndexTableOffset, table);
}
inline void SetIndexEntryCount(Bytes page, std::uint16_t count) {
  WriteU16(page, kIndexCountOffset, count);
}

// Zeroes the page and writes the four header fields of an index page without entries.
inline void InitIndexPage(Bytes page, std::uint8_t level, std::uint16_t table) {
  for (std::uint8_t& byte : page) byte = 0;
  SetIndexMark(page, kIndexMark);
  SetIndexLevel(page, level);
  SetIndexTable(page, table);
}

// Entry i (1-based) starts at 8i; entry 256 would lie past the page.
constexpr std::size_t EntryOffset(int entry) {
  return kEntrySize * static_cast<std::size_t>(entry);
}

inline std::int32_t EntryUpperKey(ConstBytes page, int entry) {
  return ReadI32(page, EntryOffset(entry) + kEntryUpperKey);
}
inline std::int16_t EntryCumulative(ConstBytes page, int entry) {
  return ReadI16(page, EntryOffset(entry) + kEntryCumulative);
}
inline std::uint16_t EntryPage(ConstBytes page, int entry) {
  return ReadU16(page, EntryOffset(entry) + kEntryPage);
}

inline void SetEntryUpperKey(Bytes page, int entry, std::int32_t key) {
  WriteI32(page, EntryOffset(entry) + kEntryUpperKey, key);
}
inline void SetEntryCumulative(Bytes page, int entry, std::int16_t count) {
  WriteI16(page, EntryOffset(entry) + kEntryCumulative, count);
}
inline void SetEntryPage(Bytes page, int entry, std::uint16_t pageNumber) {
  WriteU16(page, EntryOffset(entry) + kEntryPage, pageNumber);
}
inline void SetEntry(Bytes page, int entry, std::int32_t upperKey, std::int16_t cumulative,
                     std::uint16_t pageNumber) {
  SetEntryUpperKey(page, entry, upperKey);
  SetEntryCumulative(page, entry, cumulative);
  SetEntryPage(page, entry, pageNumber);
}

// The page left for the next split of this index page, or 0 (also when the page is full).
inline std::uint16_t ReusablePage(ConstBytes page) {
  const int count = IndexEntryCount(page);
  return count < kMaxEntries ? EntryPage(page, count + 1) : 0;
}

// What to add to every count of a second-level page so that its last count
// matches `rootCumulative`, the count of the root entry that points to it.
inline int StaleCountDelta(ConstBytes secondLevel, int rootCumulative) {
  const int count = IndexEntryCount(secondLevel);
  if (count < 1 || count > kMaxEntries) return 0;
  return rootCumulative - EntryCumulative(secondLevel, count);
}

// Adds `delta` to the counts of entries 1 ... S, as the engine does before using the page.
inline void CorrectStaleCounts(Bytes secondLevel, int delta) {
  int count = IndexEntryCount(secondLevel);
  if (count > kMaxEntries) count = kMaxEntries;
  for (int i = 1; i <= count; ++i) {
    SetEntryCumulative(secondLevel, i,
                       static_cast<std::int16_t>(EntryCumulative(secondLevel, i) + delta));
  }
}

// --- Data page accessors -----------------------------------------------------------

// How many records of this slot length a data page holds; 0 for a slot length
// that no table can have.
constexpr int RecordsPerPage(int slotLength) {
  return IsTableSlotLength(slotLength) ? kPageSize / slotLength : 0;
}

constexpr std::size_t RecordOffset(int slotLength, int record) {
  return static_cast<std::size_t>(slotLength) * static_cast<std::size_t>(record);
}

inline std::int32_t RecordKey(ConstBytes page, int slotLength, int record) {
  return ReadI32(page, RecordOffset(slotLength, record));
}
inline void SetRecordKey(Bytes page, int slotLength, int record, std::int32_t key) {
  WriteI32(page, RecordOffset(slotLength, record), key);
}

// The data bytes of record k; empty when the record does not lie inside the page.
inline ConstBytes RecordData(ConstBytes page, int slotLength, int record) {
  if (slotLength < kMinTableSlot) return {};
  const std::size_t offset = RecordOffset(slotLength, record) + kKeySize;
  const std::size_t length = static_cast<std::size_t>(slotLength) - kKeySize;
  if (!Fits(page.size(), offset, length)) return {};
  return page.subspan(offset, length);
}
inline Bytes MutableRecordData(Bytes page, int slotLength, int record) {
  if (slotLength < kMinTableSlot) return {};
  const std::size_t offset = RecordOffset(slotLength, record) + kKeySize;
  const std::size_t length = static_cast<std::size_t>(slotLength) - kKeySize;
  if (!Fits(page.size(), offset, length)) return {};
  return page.subspan(offset, length);
}

}  // namespace kordavelt::db
