#include "refbook/book_import_row.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <string>
#include <utility>

#include "base/dial_list.h"
#include "base/paste_values.h"
#include "refbook/book_categories.h"
#include "refbook/book_cells.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/kind_names.h"
#include "refbook/spr_class.h"
#include "refbook/vth_block.h"
#include "storage/counted_string.h"

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

// A breaker series by name; an unknown one is added with the next code when
// `add`, otherwise none.
std::uint16_t SeriesByName(sprClass& book, const std::string& name, bool add) {
  if (name.empty() || name == "-") return 0;
  const std::int32_t found = FindByName(book, book::kBreakerSeriesTable, name);
  if (found > 0 && found <= std::numeric_limits<std::uint16_t>::max()) {
    return static_cast<std::uint16_t>(found);
  }
  if (!add) return 0;
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

void ReadColumn(sprClass& book, int table, const BookColumn& column, std::string_view items, int i,
                Bytes record, bool addSeries) {
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
      if (item.empty()) break;
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
      WriteU8(record, column.offset, static_cast<std::uint8_t>(TemplateSlotKind(item)));
      break;
    case F::Brand:
      WriteI32(record, column.offset, FindByName(book, book::kCableBrandTable, item));
      break;
    case F::Series:
      WriteU16(record, column.offset, SeriesByName(book, item, addSeries));
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

// The row's cells read into a new, empty record of `table`.
std::vector<std::uint8_t> ReadRow(sprClass& book, int table, std::string_view items,
                                  bool addSeries) {
  std::vector<std::uint8_t> record(static_cast<std::size_t>(BookRecordLength(table)));
  const std::span<const BookColumn> columns = BookColumns(table);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    ReadColumn(book, table, columns[c], items, static_cast<int>(c) + 1, record, addSeries);
  }
  return record;
}

}  // namespace

int TemplateSlotKind(std::string_view name) {
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

std::vector<std::uint8_t> BookRowRecord(sprClass& book, int table, std::string_view items) {
  if (BookColumns(table).empty()) return {};
  return ReadRow(book, table, items, false);
}

std::int32_t ImportBookRow(sprClass& book, int table, std::string_view items) {
  if (BookColumns(table).empty()) return 0;
  tbClass* open = book.OpenBookTable(table);
  if (open == nullptr) return 0;
  const std::int32_t last = open->LastKey();
  if (last == std::numeric_limits<std::int32_t>::max()) return 0;
  open->Insert(std::max(last, 0) + 1);
  if (open->Status() != kStatusOk) return 0;
  const std::int32_t appended = open->Key();
  open->MarkModifiedAndFlush();

  // References are looked up in other tables only, so the new record stays
  // current while the row is read.
  const std::vector<std::uint8_t> row = ReadRow(book, table, items, true);
  const Bytes record = book.CurrentRecord(table);
  if (record.empty()) return 0;
  std::copy_n(row.begin(), std::min(row.size(), record.size()), record.begin());
  open->MarkModifiedAndFlush();

  // The code stands in its column, the last of a complete row; a row that a
  // spreadsheet padded with empty cells keeps it.
  const int codeColumn = BookCodeColumn(table);
  if (codeColumn == 0) return appended;
  const std::int32_t code = GetInt(items, codeColumn);
  const std::int32_t given = code >= 1 ? book.GiveFreeCode(table, code, kUnboundedSearch)
                                       : book.AssignAutomaticCode(table);
  return given != 0 ? given : appended;
}

}  // namespace kordavelt
