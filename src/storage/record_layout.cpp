#include "storage/record_layout.h"

#include <algorithm>
#include <string>

#include "base/hex_text.h"
#include "base/number_format.h"
#include "storage/counted_string.h"

namespace kordavelt {
namespace {

using enum FieldType;

constexpr std::size_t kHexChunk = 128;  // BytesToHex takes at most this many bytes

}  // namespace

std::string FieldText(ConstBytes record, const FieldDef& field) {
  const std::size_t at = static_cast<std::size_t>(field.offset);
  switch (field.type) {
    case U8:
      return std::to_string(ReadU8(record, at));
    case I8:
      return std::to_string(static_cast<std::int8_t>(ReadU8(record, at)));
    case U16:
      return std::to_string(ReadU16(record, at));
    case I16:
      return std::to_string(ReadI16(record, at));
    case I32:
      return std::to_string(ReadI32(record, at));
    case F32:
      return FormatNumber(ReadF32(record, at));
    case String:
      return ReadCountedString(record, at, static_cast<std::size_t>(field.size));
    case Raw: {
      if (at >= record.size()) return {};
      const ConstBytes bytes =
          record.subspan(at, std::min(static_cast<std::size_t>(field.size), record.size() - at));
      std::string text;
      for (std::size_t from = 0; from < bytes.size(); from += kHexChunk) {
        text += BytesToHex(bytes.subspan(from, std::min(kHexChunk, bytes.size() - from)));
      }
      return text;
    }
  }
  return {};
}

}  // namespace kordavelt
