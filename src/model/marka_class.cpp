#include "model/marka_class.h"

#include <algorithm>

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

MarkaClass::Position MarkaClass::Find(std::string_view text) const {
  const std::string folded = FoldDesignation(text);
  // A text past the last one goes to the end without a search.
  if (entries_.empty() || folded > entries_.back().folded) {
    return {false, Count()};
  }
  const auto at = std::lower_bound(
      entries_.begin(), entries_.end(), folded,
      [](const Entry& entry, const std::string& value) { return entry.folded < value; });
  return {at != entries_.end() && at->folded == folded, static_cast<int>(at - entries_.begin())};
}

std::int32_t MarkaClass::KeyOf(std::string_view text) const {
  const Position position = Find(text);
  return position.found ? entries_[static_cast<std::size_t>(position.index)].key : 0;
}

bool MarkaClass::Add(std::string_view text, std::int32_t key) {
  if (text.empty() || Count() >= kCapacity) return false;
  const Position position = Find(text);
  if (position.found) return false;
  entries_.insert(entries_.begin() + position.index,
                  Entry{FoldDesignation(text), std::string(Utf8Prefix(text, kTextLength)), key});
  return true;
}

void MarkaClass::Remove(std::string_view text) {
  const Position position = Find(text);
  if (position.found) entries_.erase(entries_.begin() + position.index);
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
