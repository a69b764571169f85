#pragma once

// Record layouts described as data.
//
// Every table of a model or a reference book has a fixed record layout. The
// typed views (one class per table, e.g. NodeRec) read and write the fields by
// offset through the little-endian accessors; the same layouts as tables of
// FieldDef serve whoever must walk a record field by field without knowing its
// type in advance: the command-line dump, the model exchange, and the tests
// that check the typed views against the layouts.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "base/le_bytes.h"

namespace kordavelt {

enum class FieldType {
  U8,
  I8,
  U16,
  I16,
  I32,
  F32,
  String,  // counted string[size]: a length byte and `size` characters (code page 1251)
  Raw,     // `size` bytes of no declared meaning here (unused spans, VTH blocks)
};

struct FieldDef {
  std::string_view name;  // the exchange name where there is one, else a short name of our own
  int offset = 0;
  FieldType type = FieldType::U8;
  int size = 0;  // String: capacity; Raw: byte count; otherwise unused
};

// Bytes a field occupies in the record.
constexpr int FieldWidth(const FieldDef& field) {
  switch (field.type) {
    case FieldType::U8:
    case FieldType::I8:
      return 1;
    case FieldType::U16:
    case FieldType::I16:
      return 2;
    case FieldType::I32:
    case FieldType::F32:
      return 4;
    case FieldType::String:
      return field.size + 1;
    case FieldType::Raw:
      return field.size;
  }
  return 0;
}

struct RecordLayout {
  int table = 0;
  std::string_view name;  // what the table holds, for listings
  int dataLength = 0;
  std::span<const FieldDef> fields;
};

// A field's value as text: numbers through FormatNumber (integers as they
// are), counted strings decoded, raw spans in hexadecimal.
std::string FieldText(ConstBytes record, const FieldDef& field);

}  // namespace kordavelt
