#pragma once

// Database file images for tests, built in memory in a few readable lines:
//
//   DbImage image = DbImageBuilder::Model()
//                       .Table(101, 34, PatternRecords({5, 7, 9}, 34))
//                       .Table(102, 4, PatternRecords(Keys(1, 600), 4), {.twoLevel = true})
//                       .RawBlock(1, settings)
//                       .Build();
//   image.WithEntryPage(image.RootPage(101), 1, 900);  // damage it
//
// Pages are laid out table by table in ascending table number: the root, the
// second-level pages, then the data pages; raw blocks take one page each.

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "storage/db_format.h"
#include "storage/file_layer.h"

namespace kordavelt::testing {

struct TestRecord {
  std::int32_t key = 0;
  std::vector<std::uint8_t> data;
};

// Data that tells records apart: byte i of the record is (key + i) mod 256.
std::vector<std::uint8_t> PatternData(std::int32_t key, int dataLength);
std::vector<TestRecord> PatternRecords(const std::vector<std::int32_t>& keys, int dataLength);
// The keys first, first + 1, ..., last.
std::vector<std::int32_t> Keys(std::int32_t first, std::int32_t last);

struct TableLayout {
  int recordsPerPage = 0;         // 0: as many as a data page holds
  bool twoLevel = false;          // a two-level index even when one root would do
  int entriesPerSecondLevel = 0;  // 0: 255
  int staleBy = 0;                // every second-level page stores its counts this much too low
};

// A built image and the ways to damage it. Page numbers are those of the image.
class DbImage {
 public:
  explicit DbImage(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  const std::vector<std::uint8_t>& Data() const { return bytes_; }
  // Page p, the image growing to hold it.
  Bytes Page(int page);
  ConstBytes Header() const { return ConstBytes(bytes_).first(db::kPageSize); }
  MemoryFile File() const { return MemoryFile(bytes_, true); }

  int PageCount() const { return db::PageCount(Header()); }
  int RootPage(int table) const { return db::RootPage(Header(), table); }
  // The page named by entry `entry` of index page `indexPage`.
  int EntryPageOf(int indexPage, int entry);

  DbImage& WithSignature(std::string_view signature);
  DbImage& WithPageCount(std::int32_t count);
  DbImage& WithSlotLength(int table, std::int16_t slotLength);
  DbImage& WithDescriptorCount(int table, std::uint16_t count);
  DbImage& WithRootPage(int table, std::uint16_t page);
  DbImage& WithMark(int page, std::uint8_t mark);
  DbImage& WithLevel(int page, std::uint8_t level);
  DbImage& WithIndexTable(int page, std::uint16_t table);
  DbImage& WithEntryCount(int page, std::uint16_t count);
  DbImage& WithEntryKey(int page, int entry, std::int32_t upperKey);
  DbImage& WithEntryCumulative(int page, int entry, std::int16_t count);
  DbImage& WithEntryPage(int page, int entry, std::uint16_t target);
  DbImage& WithRecordKey(int page, int slotLength, int record, std::int32_t key);
  DbImage& WithBytesAt(std::size_t offset, ConstBytes bytes);
  // Cuts the file short, as when the last pages were allocated but never written.
  DbImage& TruncatedTo(std::size_t size);

 private:
  std::vector<std::uint8_t> bytes_;
};

class DbImageBuilder {
 public:
  static DbImageBuilder Model() { return DbImageBuilder(db::kModelSignature); }
  static DbImageBuilder ReferenceBook() { return DbImageBuilder(db::kReferenceBookSignature); }

  // Table t with records of `dataLength` data bytes; the records are sorted
  // by key, equal keys keeping their order.
  DbImageBuilder& Table(int table, int dataLength, std::vector<TestRecord> records,
                        TableLayout layout = {});
  // Raw block t holding `bytes` (written with their own length, as the engine does).
  DbImageBuilder& RawBlock(int table, std::vector<std::uint8_t> bytes);
  // The stored slot length of the scratch table 333.
  DbImageBuilder& ScratchSlotLength(std::int16_t slotLength);

  DbImage Build() const;

 private:
  explicit DbImageBuilder(std::string_view signature) : signature_(signature) {}

  struct Item {
    bool rawBlock = false;
    int dataLength = 0;
    std::vector<TestRecord> records;
    TableLayout layout;
    std::vector<std::uint8_t> bytes;
  };

  std::string_view signature_;
  std::map<int, Item> items_;
  std::int16_t scratchSlotLength_ = 0;
};

}  // namespace kordavelt::testing
