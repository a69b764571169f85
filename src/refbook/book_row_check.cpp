#include "refbook/book_row_check.h"

#include <cstdint>
#include <limits>

#include "base/dial_list.h"
#include "base/paste_values.h"
#include "exchange/exchange_cell.h"
#include "refbook/book_categories.h"
#include "refbook/book_cells.h"
#include "refbook/book_import_row.h"

namespace kordavelt {
namespace {

using F = BookField;

// A value of a list: a number above 0 as a float32 holds it (the first
// value not above 0 ends a list, and a 0 in the second slot would turn it
// into a range).
std::string CheckListValue(std::string_view text) {
  std::string reason = CheckFloatCell(text);
  double value = 0;
  if (reason.empty() && CheckNumberCell(text, value).empty() && !(static_cast<float>(value) > 0)) {
    reason = "нужно больше 0";
  }
  return reason.empty() ? reason : "в списке «" + std::string(text) + "»: " + reason;
}

// A value list as ParseBookValueList reads it: values separated by ";", ",",
// "#" or "_", or a range first-last when the text holds a "-".
std::string CheckValueList(std::string_view text, int slots) {
  const std::size_t dash = text.find('-');
  if (dash != std::string_view::npos) {
    for (std::string_view end : {text.substr(0, dash), text.substr(dash + 1)}) {
      std::string reason = CheckListValue(TrimBlanks(end));
      if (!reason.empty()) return reason;
    }
    return {};
  }
  int count = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find_first_of(";,#_", start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view value = TrimBlanks(text.substr(start, end - start));
    start = end + 1;
    if (value.empty()) continue;
    std::string reason = CheckListValue(value);
    if (!reason.empty()) return reason;
    ++count;
  }
  if (count > slots) return "больше " + std::to_string(slots) + " значений";
  return {};
}

std::string ChoiceList(std::string_view choices) {
  std::string list;
  for (int i = 0; i < ListCount(choices); ++i) {
    const std::string item(TrimBlanks(ListItem(choices, i)));
    if (item.empty() || item == "-") continue;
    if (!list.empty()) list += ", ";
    list += item;
  }
  return list;
}

// An enumeration: one of its texts, or the number export writes for a value
// without text.
std::string CheckChoice(std::string_view text, std::string_view choices, std::int64_t largest) {
  if (GetIndex(text, 0, choices) != kNoIndex) return {};
  std::int64_t index = 0;
  if (CheckIntegerCell(text, 0, largest, index).empty()) return {};
  return "не из списка: " + ChoiceList(choices);
}

std::string CheckInteger(std::string_view text, std::int64_t min, std::int64_t max) {
  std::int64_t value = 0;
  return CheckIntegerCell(text, min, max, value);
}

std::string CheckCharacteristic(std::string_view text) {
  if (text == "0" || text == "-") return {};
  if (text.size() == 224 && text.find_first_not_of("0123456789ABCDEFabcdef") == text.npos) {
    return {};
  }
  return "не 224 шестнадцатеричные цифры";
}

// Why the cell `text` (trimmed) cannot go into `column`; empty when it can.
std::string CheckCell(const BookColumn& column, std::string_view text) {
  const bool empty = text.empty();
  switch (column.field) {
    case F::Number:
      if (empty && column.onlyWhenPositive) return {};
      return CheckFloatCell(text);
    case F::Byte:
      return CheckInteger(text, 0, 255);
    case F::SignedByte:
      return CheckInteger(text, -128, 127);
    case F::Code:
      if (empty) return {};
      return CheckInteger(text, std::numeric_limits<std::int32_t>::min(),
                          std::numeric_limits<std::int32_t>::max());
    case F::Values:
      return CheckValueList(text, column.size);
    case F::Choice:
      return empty ? std::string() : CheckChoice(text, column.choices, (1 << column.size) - 1);
    case F::MotorKind:
      return empty || text == "-" ? std::string() : CheckChoice(text, kMotorKindTexts, 255);
    case F::Vth:
      return empty ? std::string() : CheckCharacteristic(text);
    case F::Slot:
      return empty || TemplateSlotKind(text) != 0 ? std::string() : "не вид объекта";
    case F::Name:
    case F::Check:
    case F::Brand:
    case F::Series:
    case F::TripUnit:
    case F::MotorType:
    case F::Qnom:
      // Texts, and references by name that import resolves or leaves none.
      return {};
  }
  return {};
}

}  // namespace

std::vector<BookCellProblem> CheckBookRow(int table, std::string_view items) {
  std::vector<BookCellProblem> problems;
  const std::span<const BookColumn> columns = BookColumns(table);
  for (std::size_t c = 0; c < columns.size(); ++c) {
    const int column = static_cast<int>(c) + 1;
    const std::string text = GetStr(items, column);
    std::string reason = CheckCell(columns[c], text);
    if (!reason.empty()) problems.push_back({column, text, std::move(reason)});
  }
  return problems;
}

std::string BookColumnLabel(int table, int column) {
  const BookTableLayout* layout = BookLayoutOfTable(table);
  if (layout == nullptr) return std::to_string(column);
  const std::string exchange(TrimBlanks(ListItem(BookFieldNames(*layout), column)));
  const std::string heading(TrimBlanks(ListItem(layout->head1, column)));
  if (exchange.empty()) return heading.empty() ? std::to_string(column) : heading;
  if (heading.empty() || heading == exchange) return exchange;
  return exchange + " (" + heading + ")";
}

}  // namespace kordavelt
