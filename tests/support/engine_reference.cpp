#include "support/engine_reference.h"

#include <algorithm>

namespace kordavelt::testing {
namespace {

// SplitMix64: every output bit depends on every input bit.
std::uint64_t Mix(std::uint64_t value) {
  value += 0x9E3779B97F4A7C15ULL;
  value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9ULL;
  value = (value ^ (value >> 27)) * 0x94D049BB133111EBULL;
  return value ^ (value >> 31);
}

std::uint8_t PatternByte(std::uint64_t serial, std::size_t i) {
  // The first four bytes spell the serial itself, so even a record of four
  // data bytes names its serial without collisions.
  if (i < 4) return static_cast<std::uint8_t>(serial >> (8 * i));
  return static_cast<std::uint8_t>(Mix(serial * 0x10001ULL + i) >> 24);
}

bool KeyLess(const ReferenceRecord& record, std::int32_t k) { return record.key < k; }
bool LessKey(std::int32_t k, const ReferenceRecord& record) { return k < record.key; }

}  // namespace

std::vector<std::uint8_t> RecordPattern(std::uint64_t serial, std::size_t length) {
  std::vector<std::uint8_t> bytes(length);
  for (std::size_t i = 0; i < length; ++i) bytes[i] = PatternByte(serial, i);
  return bytes;
}

void FillPattern(Bytes record, std::uint64_t serial) {
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = PatternByte(serial, i);
}

bool HasPattern(ConstBytes record, std::uint64_t serial) {
  for (std::size_t i = 0; i < record.size(); ++i) {
    if (record[i] != PatternByte(serial, i)) return false;
  }
  return true;
}

int ReferenceTable::Below(std::int32_t k) const {
  return static_cast<int>(std::lower_bound(records_.begin(), records_.end(), k, KeyLess) -
                          records_.begin());
}

int ReferenceTable::UpTo(std::int32_t k) const {
  return static_cast<int>(std::upper_bound(records_.begin(), records_.end(), k, LessKey) -
                          records_.begin());
}

void ReferenceTable::Place(const ReferenceRecord& record) {
  records_.insert(records_.begin() + UpTo(record.key), record);
}

int ReferenceTable::Insert(std::int32_t key, std::uint64_t serial) {
  journal_.clear();
  Place({key, serial});
  return UpTo(key);
}

ReferenceRecord ReferenceTable::Delete(int n) {
  const ReferenceRecord record = At(n);
  records_.erase(records_.begin() + (n - 1));
  if (static_cast<int>(journal_.size()) >= kJournalCapacity) journal_.pop_front();
  journal_.push_back(record);
  return record;
}

int ReferenceTable::ChangeKey(int n, std::int32_t k) {
  const ReferenceRecord record = Delete(n);
  return Insert(k, record.serial);
}

std::optional<std::int32_t> ReferenceTable::UndoDeletions() {
  if (journal_.empty()) return std::nullopt;
  for (auto entry = journal_.rbegin(); entry != journal_.rend(); ++entry) {
    if (!Contains(entry->key)) Place(*entry);
  }
  const std::int32_t handledLast = journal_.front().key;
  journal_.clear();
  return handledLast;
}

}  // namespace kordavelt::testing
