#include "refbook/book_type_key.h"

#include <span>
#include <utility>

#include "base/paste_values.h"
#include "refbook/book_cells.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"

namespace kordavelt {
namespace {

enum class Size { Float, Byte, Code };

struct SizeField {
  Size kind;
  int offset;
};

// Brand, conductors, phase and neutral sections.
constexpr SizeField kCableSizes[] = {
    {Size::Code, 0}, {Size::Byte, 52}, {Size::Float, 16}, {Size::Float, 20}};
// Conductors, section.
constexpr SizeField kInsulatedWireSizes[] = {{Size::Byte, 49}, {Size::Float, 33}};
// A bare wire's section, the rated current of trunking.
constexpr SizeField kSizeAt21[] = {{Size::Float, 21}};
// Rated current of the fuse base.
constexpr SizeField kFuseSizes[] = {{Size::Float, 61}};
// Power, high voltage.
constexpr SizeField kTransformerSizes[] = {{Size::Float, 17}, {Size::Float, 21}};
// Primary and secondary current.
constexpr SizeField kCurrentTransformerSizes[] = {{Size::Float, 25}, {Size::Float, 29}};

// The fields that tell the types of one name apart, as the designation shows them.
std::span<const SizeField> SizesOf(int table) {
  switch (table) {
    case book::kCableTable:
      return kCableSizes;
    case book::kInsulatedWireTable:
      return kInsulatedWireSizes;
    case book::kBareWireTable:
    case book::kTrunkingTable:
      return kSizeAt21;
    case book::kFuseTable:
      return kFuseSizes;
    case book::kTransformerTable:
      return kTransformerSizes;
    case book::kCurrentTransformerTable:
      return kCurrentTransformerSizes;
    default:
      return {};
  }
}

std::string SizeText(ConstBytes record, const SizeField& size) {
  switch (size.kind) {
    case Size::Code:
      return std::to_string(ReadI32(record, size.offset));
    case Size::Byte:
      return std::to_string(ReadU8(record, size.offset));
    case Size::Float: {
      const float value = ReadF32(record, size.offset);
      return value == 0 ? "0" : BookNumberText(value, true);  // -0 is 0
    }
  }
  return {};
}

}  // namespace

std::string BookTypeKey(int table, ConstBytes record) {
  std::string key(TrimBlanks(BookRecordName(table, record)));
  for (const SizeField& size : SizesOf(table)) {
    key += '\x1f';
    key += SizeText(record, size);
  }
  return key;
}

std::set<std::string> BookTypeKeys(sprClass& book, int table) {
  std::set<std::string> keys;
  tbClass* open = book.OpenBookTable(table);
  if (open == nullptr) return keys;
  // A damaged table may not end where its count says.
  const int limit = open->Count();
  open->GoTo(0);
  for (int i = 0; i < limit && open->Next(); ++i) {
    keys.insert(BookTypeKey(table, std::as_const(*open).Record()));
  }
  return keys;
}

}  // namespace kordavelt
