#include "refbook/book_cells.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "base/dial_list.h"
#include "base/number_format.h"
#include "refbook/book_categories.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/brand_flags.h"
#include "refbook/engineering_defaults.h"
#include "refbook/kind_names.h"
#include "refbook/spr_class.h"
#include "refbook/value_list.h"
#include "refbook/vth_block.h"
#include "storage/counted_string.h"

namespace kordavelt {
namespace {

using F = BookField;

constexpr BookColumn Num(int offset) { return {F::Number, offset}; }
constexpr BookColumn Byte(int offset) { return {F::Byte, offset}; }
constexpr BookColumn Name(int capacity = 16) { return {F::Name, 0, capacity}; }
constexpr BookColumn Choice(int offset, int shift, int bits, std::string_view choices,
                            bool onlyWhenPositive = false) {
  return {F::Choice, offset, bits, shift, choices, onlyWhenPositive};
}
constexpr BookColumn Values(int offset, int slots) { return {F::Values, offset, slots}; }
constexpr BookColumn Field(BookField field, int offset = 0) { return {field, offset}; }
constexpr BookColumn Slot(int slot) { return {F::Slot, 33 + slot, slot}; }
constexpr BookColumn kCode = {F::Code};

// Column order is the order of each table's header; offsets are those of the
// record layouts.
constexpr std::array kTemplateColumns = {Name(32), Slot(0),  Slot(1),  Slot(2),  Slot(3), Slot(4),
                                         Slot(5),  Slot(6),  Slot(7),  Slot(8),  Slot(9), Slot(10),
                                         Slot(11), Slot(12), Slot(13), Slot(14), Slot(15)};
constexpr std::array kCableColumns = {Num(4),   Field(F::Brand, 0),
                                      Byte(52), Num(16),
                                      Num(20),  Num(8),
                                      Num(12),  Num(32),
                                      Num(36),  Num(40),
                                      Num(44),  Num(24),
                                      Num(28),  kCode};
constexpr std::array kInsulatedWireColumns = {Name(),   Choice(50, 7, 1, kConductorMaterials),
                                              Byte(49), Num(33),
                                              Num(37),  Num(45),
                                              Num(21),  Num(17),
                                              kCode};
constexpr std::array kBareWireColumns = {
    Name(), Choice(33, 6, 2, kBareWireMaterials), Num(21), Num(25), Num(29), Num(17), kCode};
constexpr std::array kTrunkingColumns = {Name(),  Num(17), Num(21), Num(25), Num(29),
                                         Num(33), Num(37), Num(41), kCode};
constexpr std::array kFuseColumns = {Name(),         Num(57),           Num(61), Num(65),
                                     Values(17, 10), Field(F::Vth, 71), kCode};
constexpr std::array kBreakerColumns = {
    Field(F::Series, 45),   Name(),  Num(17), Num(21), Num(25), Byte(41),
    Field(F::TripUnit, 37), Num(29), Num(33), kCode};
constexpr std::array kRelayColumns = {Name(), Num(17), Num(21), Num(25), Num(29), kCode};
constexpr std::array kSwitchColumns = {Name(), Num(17), Num(21), Num(25), Num(29), Num(33), kCode};
constexpr std::array kStarterColumns = {Name(), Num(17), Num(21), Num(25), Num(29), kCode};
constexpr std::array kTransformerColumns = {Name(),
                                            Num(17),
                                            Num(21),
                                            Num(25),
                                            Num(37),
                                            Num(29),
                                            Num(33),
                                            Num(41),
                                            Num(45),
                                            Field(F::SignedByte, 57),
                                            Num(49),
                                            Num(53),
                                            Choice(58, 0, 8, kConnectionGroups),
                                            kCode};
constexpr std::array kStabiliserColumns = {Name(), Num(17), Num(21), Num(25), Num(29), kCode};
constexpr std::array kReactorColumns = {Name(),  Num(17), Num(21), Num(37), Num(41),
                                        Num(25), Num(29), Num(33), kCode};
constexpr std::array kCurrentTransformerColumns = {Name(),   Num(17), Num(25), Num(29), Num(33),
                                                   Byte(37), Num(38), Num(42), kCode};
constexpr std::array kSynchronousColumns = {Name(),  Num(17), Num(29), Num(33), Num(21), Num(25),
                                            Num(37), Num(41), Num(45), Num(49), Num(53), Num(57),
                                            Num(61), Num(65), Num(69), kCode};
constexpr std::array kAsyncColumns = {Name(),  Num(17), Num(29), Num(33), Num(21), Num(49),
                                      Num(25), Num(37), Num(41), Num(45), Num(53), Num(57),
                                      Num(61), Num(65), Num(69), Num(73), kCode};
constexpr std::array kGeneratorColumns = {Name(),  Num(17), Num(29), Num(33), Num(21),
                                          Num(25), Num(37), Num(41), Num(45), Num(49),
                                          Num(53), Num(57), kCode};
constexpr std::array kCapacitorColumns = {Name(), Num(17), Field(F::Qnom), Num(21), Num(25), kCode};
constexpr std::array kTripUnitColumns = {Field(F::Series, 281),
                                         Name(),
                                         Values(17, 10),
                                         Values(57, 5),
                                         Choice(161, 0, 8, kSettingUnits, true),
                                         Values(77, 5),
                                         Values(97, 5),
                                         Choice(162, 0, 8, kSettingUnits, true),
                                         BookColumn{F::Number, 157, 0, 0, {}, true},
                                         Values(117, 5),
                                         Values(137, 5),
                                         Choice(163, 0, 8, kSettingUnits, true),
                                         Field(F::Vth, 169),
                                         Byte(168),
                                         Field(F::Check, 164),
                                         kCode};
constexpr std::array kMechanismColumns = {Name(),
                                          Field(F::MotorKind, 18),
                                          Field(F::MotorType, 19),
                                          Num(27),
                                          Num(23),
                                          Num(35),
                                          Num(31),
                                          Num(39),
                                          Num(43),
                                          Choice(17, 0, 8, kTorqueCharacteristics),
                                          kCode};
constexpr std::array kBrandColumns = {Name(),
                                      Choice(29, 7, 1, kConductorMaterials),
                                      Choice(29, 0, 3, kInsulationMaterials),
                                      Choice(29, 4, 3, kSheathMaterials),
                                      Choice(29, 3, 1, kArmourChoices),
                                      Num(17),
                                      Num(21),
                                      Num(25),
                                      kCode};

bool IsExactNumberText(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) {
      return false;
    }
  }
  return true;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

std::vector<float> ReadSlots(ConstBytes record, int offset, int count) {
  std::vector<float> slots(count);
  for (int i = 0; i < count; ++i) slots[i] = ReadF32(record, offset + 4 * i);
  return slots;
}

// The table a mechanism's motor type lives in, 0 for a kind without one.
int MotorTable(int kind) {
  if (kind == 1) return book::kAsyncMotorTable;
  if (kind == 2) return book::kSynchronousMachineTable;
  return 0;
}

std::string ChoiceText(const BookColumn& column, int value, bool exporting) {
  if (value < ListCount(column.choices)) return ListItem(column.choices, value);
  return exporting ? std::to_string(value) : std::string();
}

}  // namespace

std::span<const BookColumn> BookColumns(int table) {
  switch (table) {
    case book::kTemplateTable:
      return kTemplateColumns;
    case book::kCableTable:
      return kCableColumns;
    case book::kInsulatedWireTable:
      return kInsulatedWireColumns;
    case book::kBareWireTable:
      return kBareWireColumns;
    case book::kTrunkingTable:
      return kTrunkingColumns;
    case book::kFuseTable:
      return kFuseColumns;
    case book::kBreakerTable:
      return kBreakerColumns;
    case book::kRelayTable:
      return kRelayColumns;
    case book::kSwitchTable:
      return kSwitchColumns;
    case book::kStarterTable:
      return kStarterColumns;
    case book::kTransformerTable:
      return kTransformerColumns;
    case book::kStabiliserTable:
      return kStabiliserColumns;
    case book::kReactorTable:
      return kReactorColumns;
    case book::kCurrentTransformerTable:
      return kCurrentTransformerColumns;
    case book::kSynchronousMachineTable:
      return kSynchronousColumns;
    case book::kAsyncMotorTable:
      return kAsyncColumns;
    case book::kGeneratorTable:
      return kGeneratorColumns;
    case book::kCapacitorBankTable:
      return kCapacitorColumns;
    case book::kTripUnitTable:
      return kTripUnitColumns;
    case book::kMechanismTable:
      return kMechanismColumns;
    case book::kCableBrandTable:
      return kBrandColumns;
    default:
      return {};
  }
}

const BookColumn* BookColumnAt(int table, int column) {
  const std::span<const BookColumn> columns = BookColumns(table);
  if (column < 1 || column > static_cast<int>(columns.size())) return nullptr;
  return &columns[column - 1];
}

int BookCodeColumn(int table) {
  const std::span<const BookColumn> columns = BookColumns(table);
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (columns[i].field == F::Code) return static_cast<int>(i) + 1;
  }
  return 0;
}

std::string BookNumberText(double value, bool exact) {
  if (!exact) return FormatNumber(value);
  const float single = static_cast<float>(value);
  if (!std::isfinite(single)) return FormatNumber(value);
  // Plain notation: a value list reads "-" as a range, so no exponent.
  char buffer[64];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, single, std::chars_format::fixed);
  if (written.ec != std::errc()) return FormatNumber(value);
  return std::string(buffer, written.ptr);
}

std::string BookValueListText(const std::vector<float>& slots, bool exact) {
  if (!exact) return FormatValueList(slots, ";");
  if (slots.empty() || !(slots[0] > 0)) return {};
  if (slots.size() >= 3 && slots[1] == 0 && slots[2] > 0) {
    return BookNumberText(slots[0], true) + "-" + BookNumberText(slots[2], true);
  }
  std::string text;
  for (float value : slots) {
    if (!(value > 0)) break;
    if (!text.empty()) text += ';';
    text += BookNumberText(value, true);
  }
  return text;
}

bool ParseBookFloat(std::string_view text, float& value) {
  text = Trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (!IsExactNumberText(text)) return false;
  float parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(parsed)) {
    return false;
  }
  value = parsed;
  return true;
}

std::vector<float> ParseBookValueList(std::string_view text, int slotCount) {
  std::vector<float> slots(std::max(slotCount, 0), 0.0f);
  if (slots.empty()) return slots;
  text = Trim(text);
  const std::size_t dash = text.find('-');
  if (dash != std::string_view::npos) {
    float first = 0;
    float last = 0;
    if (!ParseBookFloat(text.substr(0, dash), first)) first = 0;
    if (!ParseBookFloat(text.substr(dash + 1), last)) last = 0;
    slots[0] = first;
    if (slots.size() >= 3) slots[2] = last;
    return slots;
  }
  std::size_t filled = 0;
  std::size_t start = 0;
  while (start <= text.size() && filled < slots.size()) {
    std::size_t end = text.find_first_of(";,#_", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view item = Trim(text.substr(start, end - start));
    if (!item.empty()) {
      float value = 0;
      slots[filled++] = ParseBookFloat(item, value) ? value : 0.0f;
    }
    start = end + 1;
  }
  return slots;
}

std::string ReferencedName(sprClass& book, int table, std::int32_t code, bool& found) {
  found = book.FindType(table, code);
  if (!found) return {};
  return BookRecordName(table, book.CurrentRecord(table));
}

std::string BookRecordCells(sprClass& book, int table, ConstBytes record, std::int32_t code,
                            bool exporting) {
  const std::span<const BookColumn> columns = BookColumns(table);
  std::string cells;
  const BookColumn* previous = nullptr;
  for (const BookColumn& column : columns) {
    cells += '#';
    switch (column.field) {
      case F::Number: {
        const float value = ReadF32(record, column.offset);
        if (column.onlyWhenPositive && !(value > 0) && !exporting) break;
        cells += BookNumberText(value, exporting);
        break;
      }
      case F::Byte:
        cells += std::to_string(ReadU8(record, column.offset));
        break;
      case F::SignedByte:
        cells += std::to_string(static_cast<std::int8_t>(ReadU8(record, column.offset)));
        break;
      case F::Name:
        cells += ReadCountedString(record, column.offset, column.size);
        break;
      case F::Choice: {
        if (column.onlyWhenPositive && !exporting && previous != nullptr &&
            !(ReadF32(record, previous->offset) > 0)) {
          break;
        }
        const int mask = (1 << column.size) - 1;
        cells +=
            ChoiceText(column, (ReadU8(record, column.offset) >> column.shift) & mask, exporting);
        break;
      }
      case F::Values:
        cells += BookValueListText(ReadSlots(record, column.offset, column.size), exporting);
        break;
      case F::Vth:
        cells += VthToHex(record.subspan(std::min<std::size_t>(column.offset, record.size())));
        break;
      case F::Check:
        cells += ListItemByFlag(ReadU8(record, column.offset) != 0, kCheckMarks);
        break;
      case F::Slot: {
        const int kind = ReadU8(record, column.offset);
        if (kind != 0) cells += KindName(kind);
        break;
      }
      case F::Brand: {
        const std::int32_t brand = ReadI32(record, column.offset);
        bool found = false;
        if (brand != 0) cells += ReferencedName(book, book::kCableBrandTable, brand, found);
        break;
      }
      case F::Series: {
        bool found = false;
        const std::string name =
            ReferencedName(book, book::kBreakerSeriesTable, ReadU16(record, column.offset), found);
        cells += found ? name : "-";
        break;
      }
      case F::TripUnit: {
        const std::int32_t unit = ReadI32(record, column.offset);
        bool found = false;
        const std::string name =
            unit == 0 ? std::string() : ReferencedName(book, book::kTripUnitTable, unit, found);
        cells += unit == 0 ? "-" : found ? name : "?";
        break;
      }
      case F::MotorKind: {
        const int kind = ReadU8(record, column.offset);
        if (kind == 0) break;
        if (kind < ListCount(kMotorKindTexts)) {
          cells += ListItem(kMotorKindTexts, kind);
        } else if (exporting) {
          cells += std::to_string(kind);
        }
        break;
      }
      case F::MotorType: {
        const std::int32_t motor = ReadI32(record, column.offset);
        const int motorTable = MotorTable(ReadU8(record, column.offset - 1));
        if (motor == 0 || motorTable == 0) break;
        bool found = false;
        const std::string name = ReferencedName(book, motorTable, motor, found);
        cells += found ? name : "?";
        break;
      }
      case F::Qnom:
        cells += BookNumberText(CapacitorPower(ReadF32(record, 17), ReadF32(record, 21)), false);
        break;
      case F::Code:
        cells += std::to_string(code);
        break;
    }
    previous = &column;
  }
  return cells;
}

void DeriveBookFlags(int table, Bytes record) {
  switch (table) {
    case book::kCableBrandTable: {
      book::CableBrandRec brand(record);
      brand.SetFlags(CableBrandFlags(brand.Type()));
      break;
    }
    case book::kInsulatedWireTable: {
      book::InsulatedWireRec wire(record);
      wire.SetFlags(InsulatedWireFlags(wire.Type()));
      break;
    }
    case book::kBareWireTable: {
      book::BareWireRec wire(record);
      wire.SetFlags(BareWireFlags(wire.Type()));
      break;
    }
    default:
      break;
  }
}

std::string_view BookColumnChoices(int table, int column) {
  const BookColumn* described = BookColumnAt(table, column);
  if (described == nullptr) return {};
  if (described->field == F::Choice) return described->choices;
  if (described->field == F::MotorKind) return kMechanismMotorKinds;
  return {};
}

void BookRowMap::Rebuild(tbClass* table) {
  codes_.clear();
  if (table == nullptr) return;
  // A damaged table may not end where its count says; never read more
  // records than a table can hold.
  const std::size_t limit = static_cast<std::size_t>(table->Count()) + 1;
  codes_.reserve(limit);
  table->GoTo(0);
  while (codes_.size() < limit && table->Next()) codes_.push_back(table->Key());
  std::stable_sort(codes_.begin(), codes_.end());
}

std::int32_t BookRowMap::Code(int row) const {
  if (row < 1 || row > Rows()) return 0;
  return codes_[row - 1];
}

int BookRowMap::RowOf(std::int32_t code) const {
  const auto found = std::lower_bound(codes_.begin(), codes_.end(), code);
  if (found == codes_.end() || *found != code) return 0;
  return static_cast<int>(found - codes_.begin()) + 1;
}

void BookRowMap::Add(std::int32_t code) {
  codes_.insert(std::upper_bound(codes_.begin(), codes_.end(), code), code);
}

void BookRowMap::Remove(std::int32_t code) {
  const auto found = std::lower_bound(codes_.begin(), codes_.end(), code);
  if (found != codes_.end() && *found == code) codes_.erase(found);
}

void BookRowMap::Change(std::int32_t from, std::int32_t to) {
  if (from == to) return;
  Remove(from);
  Add(to);
}

}  // namespace kordavelt
