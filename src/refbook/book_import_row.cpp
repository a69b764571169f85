#include "refbook/book_import_row.h"

#include <functional>
#include <limits>
#include <string>
#include <utility>

#include "refbook/book_categories.h"
#include "refbook/book_cells.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/kind_names.h"
#include "refbook/spr_class.h"
#include "refbook/vth_block.h"
#include "storage/counted_string.h"
#include "table/dial_list.h"
#include "table/paste_values.h"

namespace kordavelt {
namespace {

using F = BookField;

// The search of the free code from a code the row brings goes as far as it must.
constexpr int kUnboundedSearch = 30;

// The first type of `table`, in code order, whose name is `name` and that
// `accept` takes; 0 when there is none.
std::int32_t FindByName(sprClass& book, int table, std::string_view name,
                        const std::function<bool(ConstBytes)>& accept = {}) {
  tbClass* open = book.OpenBookTable(table);
  if (open == nullptr || name.empty()) return 0;
  const int limit = open->Count();
  open->GoTo(0);
  for (int i = 0; i < limit && open->Next(); ++i) {
    const ConstBytes record = std::as_const(*open).Record();
    if (BookRecordName(table, record) == name && (!accept || accept(record))) return open->Key();
  }
  return 0;
}

// A breaker series by name, added with the next code when unknown; 0 for none.
std::uint16_t SeriesByName(sprClass& book, const std::string& name) {
  if (name.empty() || name == "-") return 0;
  const std::int32_t found = FindByName(book, book::kBreakerSeriesTable, name);
  if (found > 0 && found <= std::numeric_limits<std::uint16_t>::max()) {
    return static_cast<std::uint16_t>(found);
  }
  tbClass* series = book.OpenBookTable(book::kBreakerSeriesTable);
  if (series == nullptr) return 0;
  const std::int32_t code = std::max(series->LastKey(), 0) + 1;
  if (code > std::numeric_limits<std::uint16_t>::max()) return 0;
  series->Insert(code);
  if (series->Status() != kStatusOk) return 0;
  book::BreakerSeriesRec(series->Record()).SetName(name);
  series->MarkModifiedAndFlush();
  return static_cast<std::uint16_t>(code);
}

// An enumeration by its text; a number where export wrote one for a value
// without text; otherwise 0.
int ChoiceIndex(std::string_view items, int i, std::string_view choices) {
  const int index = GetIndex(items, i, choices);
  if (index != kNoIndex) return index;
  return GetInt(items, i);
}

// The object kind whose name the slot shows; 0 for none.
int SlotKindByName(const std::string& name) {
  if (name.empty()) return 0;
  for (int kind : TemplateSlotKinds()) {
    if (KindName(kind) == name) return kind;
  }
  const std::string other = KindName(0);
  for (int kind = 1; kind <= 255; ++kind) {
    const std::string kindName = KindName(kind);
    if (kindName == name && kindName != other) return kind;
  }
  return 0;
}

void ReadColumn(sprClass& book, int table, const BookColumn& column, std::string_view items, int i,
                Bytes record) {
  const std::string item = GetStr(items, i);
  switch (column.field) {
    case F::Number: {
      float value = 0;
      if (!ParseBookFloat(item, value)) value = 0;
      WriteF32(record, column.offset, value);
      break;
    }
    case F::Byte: {
      const std::int32_t value = GetInt(items, i);
      WriteU8(record, column.offset, value >= 0 && value <= 255 ? value : 0);
      break;
    }
    case F::SignedByte: {
      const std::int32_t value = GetInt(items, i);
      WriteU8(record, column.offset,
              static_cast<std::uint8_t>(value >= -128 && value <= 127 ? value : 0));
      break;
    }
    case F::Name:
      WriteCountedString(record, column.offset, column.size, item);
      DeriveBookFlags(table, record);
      break;
    case F::Choice: {
      const int mask = (1 << column.size) - 1;
      int index = ChoiceIndex(items, i, column.choices);
      if (index < 0 || index > mask) index = 0;
      const int bits = ReadU8(record, column.offset) & ~(mask << column.shift);
      WriteU8(record, column.offset, static_cast<std::uint8_t>(bits | (index << column.shift)));
      break;
    }
    case F::Values: {
      const std::vector<float> slots = ParseBookValueList(item, column.size);
      for (int k = 0; k < column.size; ++k) WriteF32(record, column.offset + 4 * k, slots[k]);
      break;
    }
    case F::Vth:
      if (static_cast<std::size_t>(column.offset) + kVthBytes <= record.size()) {
        VthFromHex(item, record.subspan(column.offset, kVthBytes));
      }
      break;
    case F::Check: {
      const bool set =
          item == ListItem(kCheckMarks, 0) || GetBool(items, i) || GetInt(items, i) != 0;
      WriteU8(record, column.offset, set ? 1 : 0);
      break;
    }
    case F::Slot:
      WriteU8(record, column.offset, static_cast<std::uint8_t>(SlotKindByName(item)));
      break;
    case F::Brand:
      WriteI32(record, column.offset, FindByName(book, book::kCableBrandTable, item));
      break;
    case F::Series:
      WriteU16(record, column.offset, SeriesByName(book, item));
      break;
    case F::TripUnit: {
      // Trip units of several series may share a name: the breaker's own
      // series is taken first.
      const std::uint16_t series = book::BreakerRec(record).Seria();
      std::int32_t unit = FindByName(book, book::kTripUnitTable, item, [&](ConstBytes other) {
        return ReadU16(other, 281) == series;
      });
      if (unit == 0) unit = FindByName(book, book::kTripUnitTable, item);
      WriteI32(record, column.offset, unit);
      break;
    }
    case F::MotorKind: {
      const int kind = item.empty() ? 0 : ChoiceIndex(items, i, kMotorKindTexts);
      WriteU8(record, column.offset, kind >= 0 && kind <= 255 ? kind : 0);
      break;
    }
    case F::MotorType: {
      const int kind = ReadU8(record, column.offset - 1);
      const int motorTable = kind == 1   ? book::kAsyncMotorTable
                             : kind == 2 ? book::kSynchronousMachineTable
                                         : 0;
      WriteI32(record, column.offset, motorTable == 0 ? 0 : FindByName(book, motorTable, item));
      break;
    }
    case F::Qnom:
    case F::Code:
      break;
  }
}

}  // namespace

std::int32_t ImportBookRow(sprClass& book, int table, std::string_view items) {
  const std::span<const BookColumn> columns = BookColumns(table);
  if (columns.empty()) return 0;
  tbClass* open = book.OpenBookTable(table);
  if (open == nullptr) return 0;
  const std::int32_t last = open->LastKey();
  if (last == std::numeric_limits<std::int32_t>::max()) return 0;
  open->Insert(std::max(last, 0) + 1);
  if (open->Status() != kStatusOk) return 0;
  const std::int32_t appended = open->Key();
  open->MarkModifiedAndFlush();

  // References are looked up in other tables only, so the new record stays
  // current while its columns are read.
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const Bytes record = book.CurrentRecord(table);
    if (record.empty()) return 0;
    ReadColumn(book, table, columns[c], items, static_cast<int>(c) + 1, record);
  }
  open->MarkModifiedAndFlush();

  if (BookCodeColumn(table) == 0) return appended;
  const std::int32_t code = GetInt(items, ListCount(items) - 1);
  const std::int32_t given = code >= 1 ? book.GiveFreeCode(table, code, kUnboundedSearch)
                                       : book.AssignAutomaticCode(table);
  return given != 0 ? given : appended;
}

}  // namespace kordavelt
