#include "support/db_image_builder.h"

#include <algorithm>
#include <stdexcept>

namespace kordavelt::testing {

std::vector<std::uint8_t> PatternData(std::int32_t key, int dataLength) {
  std::vector<std::uint8_t> data(static_cast<std::size_t>(dataLength));
  for (int i = 0; i < dataLength; ++i) data[i] = static_cast<std::uint8_t>(key + i);
  return data;
}

std::vector<TestRecord> PatternRecords(const std::vector<std::int32_t>& keys, int dataLength) {
  std::vector<TestRecord> records;
  for (const std::int32_t key : keys) records.push_back({key, PatternData(key, dataLength)});
  return records;
}

std::vector<std::int32_t> Keys(std::int32_t first, std::int32_t last) {
  std::vector<std::int32_t> keys;
  for (std::int64_t key = first; key <= last; ++key) keys.push_back(static_cast<std::int32_t>(key));
  return keys;
}

// --- DbImage -----------------------------------------------------------------------

Bytes DbImage::Page(int page) {
  const std::size_t end = db::PageOffset(page) + db::kPageSize;
  if (bytes_.size() < end) bytes_.resize(end, 0);
  return Bytes(bytes_).subspan(db::PageOffset(page), db::kPageSize);
}

int DbImage::EntryPageOf(int indexPage, int entry) { return db::EntryPage(Page(indexPage), entry); }

DbImage& DbImage::WithSignature(std::string_view signature) {
  Bytes header = Page(0);
  std::fill(header.begin(), header.begin() + db::kPageCountOffset, std::uint8_t{0});
  db::PutSignature(header, signature);
  return *this;
}

DbImage& DbImage::WithPageCount(std::int32_t count) {
  db::SetPageCount(Page(0), count);
  return *this;
}

DbImage& DbImage::WithSlotLength(int table, std::int16_t slotLength) {
  db::SetSlotLength(Page(0), table, slotLength);
  return *this;
}

DbImage& DbImage::WithDescriptorCount(int table, std::uint16_t count) {
  db::SetDescriptorCount(Page(0), table, count);
  return *this;
}

DbImage& DbImage::WithRootPage(int table, std::uint16_t page) {
  db::SetRootPage(Page(0), table, page);
  return *this;
}

DbImage& DbImage::WithMark(int page, std::uint8_t mark) {
  db::SetIndexMark(Page(page), mark);
  return *this;
}

DbImage& DbImage::WithLevel(int page, std::uint8_t level) {
  db::SetIndexLevel(Page(page), level);
  return *this;
}

DbImage& DbImage::WithIndexTable(int page, std::uint16_t table) {
  db::SetIndexTable(Page(page), table);
  return *this;
}

DbImage& DbImage::WithEntryCount(int page, std::uint16_t count) {
  db::SetIndexEntryCount(Page(page), count);
  return *this;
}

DbImage& DbImage::WithEntryKey(int page, int entry, std::int32_t upperKey) {
  db::SetEntryUpperKey(Page(page), entry, upperKey);
  return *this;
}

DbImage& DbImage::WithEntryCumulative(int page, int entry, std::int16_t count) {
  db::SetEntryCumulative(Page(page), entry, count);
  return *this;
}

DbImage& DbImage::WithEntryPage(int page, int entry, std::uint16_t target) {
  db::SetEntryPage(Page(page), entry, target);
  return *this;
}

DbImage& DbImage::WithRecordKey(int page, int slotLength, int record, std::int32_t key) {
  db::SetRecordKey(Page(page), slotLength, record, key);
  return *this;
}

DbImage& DbImage::WithBytesAt(std::size_t offset, ConstBytes bytes) {
  if (bytes_.size() < offset + bytes.size()) bytes_.resize(offset + bytes.size(), 0);
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
  return *this;
}

DbImage& DbImage::TruncatedTo(std::size_t size) {
  if (size < bytes_.size()) bytes_.resize(size);
  return *this;
}

// --- DbImageBuilder ------------------------------------------------------------------

DbImageBuilder& DbImageBuilder::Table(int table, int dataLength, std::vector<TestRecord> records,
                                      TableLayout layout) {
  Item item;
  item.dataLength = dataLength;
  item.records = std::move(records);
  item.layout = layout;
  items_[table] = std::move(item);
  return *this;
}

DbImageBuilder& DbImageBuilder::RawBlock(int table, std::vector<std::uint8_t> bytes) {
  Item item;
  item.rawBlock = true;
  item.bytes = std::move(bytes);
  items_[table] = std::move(item);
  return *this;
}

DbImageBuilder& DbImageBuilder::ScratchSlotLength(std::int16_t slotLength) {
  scratchSlotLength_ = slotLength;
  return *this;
}

namespace {

struct Entry {
  std::int32_t upperKey;
  int cumulative;
  int page;
};

void WriteIndexPage(Bytes page, std::uint8_t level, int table, const std::vector<Entry>& entries,
                    int countOffset) {
  db::InitIndexPage(page, level, static_cast<std::uint16_t>(table));
  db::SetIndexEntryCount(page, static_cast<std::uint16_t>(entries.size()));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    db::SetEntry(page, static_cast<int>(i) + 1, entries[i].upperKey,
                 static_cast<std::int16_t>(entries[i].cumulative + countOffset),
                 static_cast<std::uint16_t>(entries[i].page));
  }
}

}  // namespace

DbImage DbImageBuilder::Build() const {
  DbImage image(std::vector<std::uint8_t>(db::kPageSize, 0));
  db::PutSignature(image.Page(0), signature_);
  int pageCount = 0;

  for (const auto& [table, item] : items_) {
    if (item.rawBlock) {
      const int page = ++pageCount;
      db::SetSlotLength(image.Page(0), table, db::kSlotRawBlock);
      db::SetRootPage(image.Page(0), table, static_cast<std::uint16_t>(page));
      image.WithBytesAt(db::PageOffset(page), item.bytes);
      continue;
    }

    const int slotLength = item.dataLength + db::kKeySize;
    const int capacity = db::RecordsPerPage(slotLength);
    const int perPage = item.layout.recordsPerPage > 0 ? item.layout.recordsPerPage : capacity;
    if (capacity == 0 || perPage > capacity) throw std::invalid_argument("bad record length");
    if (item.records.size() > db::kMaxRecords) throw std::invalid_argument("too many records");

    std::vector<TestRecord> records = item.records;
    std::stable_sort(records.begin(), records.end(),
                     [](const TestRecord& a, const TestRecord& b) { return a.key < b.key; });
    const int dataPages =
        std::max<int>(1, (static_cast<int>(records.size()) + perPage - 1) / perPage);
    const int perSecond =
        item.layout.entriesPerSecondLevel > 0 ? item.layout.entriesPerSecondLevel : db::kMaxEntries;
    const bool twoLevel = item.layout.twoLevel || dataPages > db::kMaxEntries;
    const int secondPages = twoLevel ? (dataPages + perSecond - 1) / perSecond : 0;
    if (secondPages > db::kMaxEntries || (!twoLevel && dataPages > db::kMaxEntries)) {
      throw std::invalid_argument("table too large for a two-level index");
    }

    const int root = ++pageCount;
    const int firstSecond = pageCount + 1;
    pageCount += secondPages;
    const int firstData = pageCount + 1;
    pageCount += dataPages;

    // Data pages and the entries over them.
    std::vector<Entry> entries;
    for (int p = 0; p < dataPages; ++p) {
      Bytes page = image.Page(firstData + p);
      const std::size_t begin = static_cast<std::size_t>(p) * perPage;
      const std::size_t end = std::min(records.size(), begin + perPage);
      for (std::size_t r = begin; r < end; ++r) {
        const int slot = static_cast<int>(r - begin);
        db::SetRecordKey(page, slotLength, slot, records[r].key);
        Bytes data = db::MutableRecordData(page, slotLength, slot);
        std::copy_n(records[r].data.begin(), std::min(records[r].data.size(), data.size()),
                    data.begin());
      }
      const bool last = p == dataPages - 1;
      entries.push_back(
          {last ? db::kLastUpperKey : records[end - 1].key, static_cast<int>(end), firstData + p});
    }

    if (!twoLevel) {
      WriteIndexPage(image.Page(root), db::kLevelOneLevelRoot, table, entries, 0);
    } else {
      std::vector<Entry> rootEntries;
      for (int s = 0; s < secondPages; ++s) {
        const auto begin = entries.begin() + static_cast<std::ptrdiff_t>(s) * perSecond;
        const auto end = entries.begin() + std::min<std::ptrdiff_t>(
                                               entries.size(), (s + 1) * std::ptrdiff_t{perSecond});
        const std::vector<Entry> group(begin, end);
        WriteIndexPage(image.Page(firstSecond + s), db::kLevelSecond, table, group,
                       -item.layout.staleBy);
        rootEntries.push_back({group.back().upperKey, group.back().cumulative, firstSecond + s});
      }
      WriteIndexPage(image.Page(root), db::kLevelTwoLevelRoot, table, rootEntries, 0);
    }

    db::SetSlotLength(image.Page(0), table, static_cast<std::int16_t>(slotLength));
    db::SetDescriptorCount(image.Page(0), table, static_cast<std::uint16_t>(records.size()));
    db::SetRootPage(image.Page(0), table, static_cast<std::uint16_t>(root));
  }

  db::SetSlotLength(image.Page(0), db::kScratchTable, scratchSlotLength_);
  db::SetPageCount(image.Page(0), pageCount);
  return image;
}

}  // namespace kordavelt::testing
