#pragma once

// The common base of the typed record views: a view wraps the bytes of one
// record (usually tbClass::Record() of the current record) and reads and
// writes its fields by offset. Every access is bounds-checked, so a view over
// a short span reads zeros and writes nothing beyond it; a setter touches
// only the bytes of its own field.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/le_bytes.h"
#include "storage/counted_string.h"

namespace kordavelt {

class RecordView {
 public:
  explicit RecordView(Bytes record) : record_(record) {}

  Bytes Data() const { return record_; }

 protected:
  std::uint8_t U8(int offset) const { return ReadU8(record_, offset); }
  std::int8_t I8(int offset) const { return static_cast<std::int8_t>(ReadU8(record_, offset)); }
  std::uint16_t U16(int offset) const { return ReadU16(record_, offset); }
  std::int16_t I16(int offset) const { return ReadI16(record_, offset); }
  std::int32_t I32(int offset) const { return ReadI32(record_, offset); }
  float F32(int offset) const { return ReadF32(record_, offset); }
  // Counted string[capacity], as UTF-8.
  std::string Str(int offset, int capacity) const {
    return ReadCountedString(record_, offset, capacity);
  }
  // `size` bytes at `offset`, clipped to the record.
  Bytes Span(int offset, int size) const {
    if (offset >= static_cast<int>(record_.size())) return {};
    return record_.subspan(offset, std::min<std::size_t>(size, record_.size() - offset));
  }

  void SetU8(int offset, std::uint8_t value) { WriteU8(record_, offset, value); }
  void SetI8(int offset, std::int8_t value) {
    WriteU8(record_, offset, static_cast<std::uint8_t>(value));
  }
  void SetU16(int offset, std::uint16_t value) { WriteU16(record_, offset, value); }
  void SetI16(int offset, std::int16_t value) { WriteI16(record_, offset, value); }
  void SetI32(int offset, std::int32_t value) { WriteI32(record_, offset, value); }
  void SetF32(int offset, float value) { WriteF32(record_, offset, value); }
  // Stored cut at `capacity` characters.
  void SetStr(int offset, int capacity, std::string_view utf8) {
    WriteCountedString(record_, offset, capacity, utf8);
  }

 private:
  Bytes record_;
};

}  // namespace kordavelt
