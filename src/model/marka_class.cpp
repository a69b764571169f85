#include "model/marka_class.h"

#include <algorithm>
#include <numeric>

#include "base/cp1251.h"
#include "storage/counted_string.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

// Upper case of a code page 1251 byte.
std::uint8_t UpperCp1251(std::uint8_t c) {
  if (c >= 'a' && c <= 'z') return static_cast<std::uint8_t>(c - 'a' + 'A');
  if (c >= 0xE0) return static_cast<std::uint8_t>(c - 0x20);  // а … я
  switch (c) {
    case 0xB8:
      return 0xA8;  // ё
    case 0xBA:
      return 0xAA;  // є
    case 0xB3:
      return 0xB2;  // і
    case 0xBF:
      return 0xAF;  // ї
    case 0xA2:
      return 0xA1;  // ў
    case 0xB4:
      return 0xA5;  // ґ
    case 0xBC:
      return 0xA3;  // ј
    case 0xBE:
      return 0xBD;  // ѕ
    case 0x83:
      return 0x81;  // ѓ
    case 0x90:
      return 0x80;  // ђ
    case 0x9A:
      return 0x8A;  // љ
    case 0x9C:
      return 0x8C;  // њ
    case 0x9D:
      return 0x8D;  // ќ
    case 0x9E:
      return 0x8E;  // ћ
    case 0x9F:
      return 0x8F;  // џ
    default:
      return c;
  }
}

}  // namespace

std::string FoldDesignation(std::string_view utf8) {
  std::string folded = Utf8ToCp1251(Utf8Prefix(utf8, MarkaClass::kTextLength));
  for (char& c : folded) c = static_cast<char>(UpperCp1251(static_cast<std::uint8_t>(c)));
  return folded;
}

void MarkaClass::Clear() {
  slots_.clear();
  order_.clear();
  free_.clear();
}

void MarkaClass::Assign(const std::vector<std::pair<std::string, std::int32_t>>& designations) {
  Clear();
  slots_.reserve(designations.size());
  for (const auto& [text, key] : designations) {
    if (text.empty()) continue;
    slots_.push_back(Entry{FoldDesignation(text), std::string(Utf8Prefix(text, kTextLength)), key});
  }
  std::vector<std::uint32_t> sorted(slots_.size());
  std::iota(sorted.begin(), sorted.end(), 0u);
  // Stable: of equal texts the one given first comes first and stays.
  std::stable_sort(sorted.begin(), sorted.end(), [this](std::uint32_t a, std::uint32_t b) {
    return slots_[a].folded < slots_[b].folded;
  });
  sorted.erase(std::unique(sorted.begin(), sorted.end(),
                           [this](std::uint32_t a, std::uint32_t b) {
                             return slots_[a].folded == slots_[b].folded;
                           }),
               sorted.end());
  // One by one, the index would have filled up with the first kCapacity
  // distinct texts in the order given: the slots numbered lowest.
  if (sorted.size() > static_cast<std::size_t>(kCapacity)) {
    std::vector<std::uint32_t> given = sorted;
    std::nth_element(given.begin(), given.begin() + kCapacity, given.end());
    const std::uint32_t firstRefused = given[kCapacity];
    std::erase_if(sorted, [firstRefused](std::uint32_t slot) { return slot >= firstRefused; });
  }
  // Only the kept entries stay, stored in order.
  std::vector<Entry> kept;
  kept.reserve(sorted.size());
  for (std::uint32_t slot : sorted) kept.push_back(std::move(slots_[slot]));
  slots_ = std::move(kept);
  order_.resize(slots_.size());
  std::iota(order_.begin(), order_.end(), 0u);
}

MarkaClass::Position MarkaClass::Locate(const std::string& folded) const {
  // A text past the last one goes to the end without a search.
  if (order_.empty() || folded > slots_[order_.back()].folded) return {false, Count()};
  const auto at = std::lower_bound(
      order_.begin(), order_.end(), folded,
      [this](std::uint32_t slot, const std::string& value) { return slots_[slot].folded < value; });
  return {at != order_.end() && slots_[*at].folded == folded,
          static_cast<int>(at - order_.begin())};
}

MarkaClass::Position MarkaClass::Find(std::string_view text) const {
  return Locate(FoldDesignation(text));
}

std::int32_t MarkaClass::KeyOf(std::string_view text) const {
  const Position position = Find(text);
  return position.found ? At(position.index).key : 0;
}

bool MarkaClass::Add(std::string_view text, std::int32_t key) {
  if (text.empty() || Count() >= kCapacity) return false;
  std::string folded = FoldDesignation(text);
  const Position position = Locate(folded);
  if (position.found) return false;
  Entry entry{std::move(folded), std::string(Utf8Prefix(text, kTextLength)), key};
  std::uint32_t slot = 0;
  if (free_.empty()) {
    slot = static_cast<std::uint32_t>(slots_.size());
    slots_.push_back(std::move(entry));
  } else {
    slot = free_.back();
    free_.pop_back();
    slots_[slot] = std::move(entry);
  }
  order_.insert(order_.begin() + position.index, slot);
  return true;
}

void MarkaClass::Remove(std::string_view text) {
  const Position position = Find(text);
  if (!position.found) return;
  const auto at = order_.begin() + position.index;
  slots_[*at] = Entry{};
  free_.push_back(*at);
  order_.erase(at);
}

bool MarkaClass::AddMarking(std::string_view text, std::int32_t code, tbClass& markings) {
  if (text.empty() || Count() >= kCapacity || Find(text).found) return false;
  markings.Insert(code);
  if (markings.Status() != kStatusOk) return false;
  WriteCountedString(markings.Record(), 0, kTextLength, text);
  markings.MarkModifiedAndFlush();
  return Add(text, code);
}

}  // namespace kordavelt
