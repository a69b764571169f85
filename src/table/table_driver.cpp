#include "table/table_driver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "base/cp1251.h"
#include "base/dial_list.h"
#include "base/number_format.h"
#include "base/paste_values.h"
#include "draw/picture_string.h"

namespace kordavelt {
namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

bool ConvertNumber(std::string_view text, TableForm& form) {
  std::string kept;
  for (char c : text) {
    if (std::string_view("-.1234567890Ee").find(c) != std::string_view::npos) kept += c;
  }
  double value = 0;
  // An emptied cell commits 0 with an empty text: owners read it as "no value".
  if (!text.empty() && (!ParseNumber(kept, value) || !std::isfinite(value))) return false;
  const double whole = std::trunc(value);
  form.editText = kept;
  form.editReal = value;
  form.editInt =
      whole < std::numeric_limits<std::int32_t>::min()   ? std::numeric_limits<std::int32_t>::min()
      : whole > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                         : static_cast<std::int32_t>(whole);
  return true;
}

void ConvertHex(std::string_view text, TableForm& form) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  // Places are counted in characters from the right; a character that is not
  // a digit takes its place and adds nothing. 32-bit arithmetic, as the
  // value is a 32-bit word: places beyond the eighth add nothing either.
  std::uint32_t value = 0;
  std::uint32_t weight = 1;
  for (std::size_t i = upper.size(); i-- > 0;) {
    if (IsContinuationByte(upper[i])) continue;
    const std::size_t digit = std::string_view("0123456789ABCDEF").find(upper[i]);
    if (digit != std::string_view::npos) value += static_cast<std::uint32_t>(digit) * weight;
    weight *= 16;
  }
  form.editText = upper;
  form.editInt = static_cast<std::int32_t>(value);
  form.editReal = value;
}

bool ConvertListChoice(std::string_view text, TableForm& form) {
  const int count = ListCount(form.listItems);
  for (int k = 0; k < count; ++k) {
    const std::string choice = ListItem(form.listItems, k);
    if (choice != text) continue;
    form.editInt = k;
    form.editText = choice;
    double value = 0;
    form.editReal = ParseNumber(choice, value) && std::isfinite(value) ? value : 0;
    return true;
  }
  return false;
}

// A check box copies as the value it stands for, which a paste reads back;
// any other picture cell as "@": its drawing has no text.
std::string CopiedItem(std::string_view item) {
  item = TrimBlanks(item);
  if (const std::optional<std::string_view> value = CheckBoxValue(item)) return std::string(*value);
  return item.find('@') != std::string_view::npos ? "@" : std::string(item);
}

std::string WithTabs(std::string text) {
  std::replace(text.begin(), text.end(), '#', '\t');
  return text;
}

std::string WithoutTabs(std::string text) {
  std::replace(text.begin(), text.end(), '\t', '#');
  return text;
}

// Splits pasted text into lines at CR LF, CR or LF; a break at the very end
// makes no empty line.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

}  // namespace

char EditLetter(std::string_view editCodes, int column) {
  if (column < 0 || column >= static_cast<int>(editCodes.size())) return 0;
  return editCodes[column];
}

bool ConvertEdit(char letter, std::string_view text, TableForm& form) {
  text = TrimBlanks(text);
  form.editInt = 0;
  form.editReal = 0;
  switch (letter) {
    case 'Y':
    case 'Z':
      return false;
    case 'N':
    case 'I':
    case 'R':
      return ConvertNumber(text, form);
    case 'H':
      ConvertHex(text, form);
      return true;
    case 'L':
      return ConvertListChoice(text, form);
    default:
      form.editText = std::string(text);
      return true;
  }
}

std::string HeaderLabel(std::string_view head1Item, std::string_view head2Item) {
  std::string label(TrimBlanks(head1Item));
  const std::string_view unit = TrimBlanks(head2Item);
  if (label.empty()) label = " ";
  if (label.back() == '-') {
    label.pop_back();
    return label + std::string(unit);
  }
  if (unit.empty()) return label;
  const bool symbolAfterFirst = unit.find_first_of("*/.", 1) != std::string_view::npos;
  const bool reactiveUnit = std::string_view("кварМвар").find(unit) != std::string_view::npos;
  if (Utf8Length(unit) < 4 || symbolAfterFirst || reactiveUnit) {
    return label + ", " + std::string(unit);
  }
  return label + " " + std::string(unit);
}

TableDriver::TableDriver(TableOwner& owner, TableForm& form, UiHost& ui)
    : owner_(owner), form_(form), ui_(ui) {}

std::string TableDriver::Line(int row, LineContext context) {
  form_.lineNo = row;
  form_.context = context;
  form_.line.clear();
  owner_.OnLine(form_);
  return form_.line;
}

std::string TableDriver::Cell(int row, int col) {
  return std::string(TrimBlanks(ListItem(Line(row), col)));
}

int TableDriver::RowCount() const { return std::max(form_.rowCount, 0); }

int TableDriver::ColCount() const { return std::min(ListCount(form_.head1), kMaxTableColumns); }

bool TableDriver::CommitEdit(int row, int col, std::string_view text) {
  if (row == 0) row = 1;
  const int lastRow = RowCount() + (form_.appendable ? 1 : 0);
  if (row < 1 || row > lastRow || col < 0 || col >= ColCount()) return false;

  // The edited cell is the current one while its row is read: owners give the
  // choice list and the edit letter of the current column from OnLine.
  form_.curRow = row;
  form_.curCol = col;
  // The letter that counts is the one in force after the row was read.
  const std::string shown(TrimBlanks(ListItem(Line(row), col)));
  const char letter = EditLetter(form_.editCodes, col);
  std::string typed(TrimBlanks(text));
  // An 'L' cell committed without typing keeps its current choice.
  if (letter == 'L' && typed.empty()) typed = shown;
  // "-" typed over a cell that shows "-" clears it.
  if (typed == "-" && shown == "-") typed.clear();

  if (!ConvertEdit(letter, typed, form_)) {
    if (beepOnInvalid_ && (letter == 'N' || letter == 'I' || letter == 'R')) ui_.Beep();
    // Passing through a read-only cell is no edit; typing another value is.
    if ((letter == 'Y' || letter == 'Z') && !typed.empty() && typed != shown) {
      form_.editText = typed;
      owner_.OnReadOnlyEdit(form_);
    }
    return false;
  }
  form_.refresh = Refresh::CurrentRow;
  if (!owner_.HasEdit()) {
    rowChosen_ = true;
    return true;
  }
  owner_.OnEdit(form_);
  return true;
}

void TableDriver::Delete(int row) { Delete(row, row); }

void TableDriver::Delete(int first, int last) {
  first = std::max(first, 1);
  last = std::min(last, RowCount());
  for (int row = first; row <= last; ++row) {
    form_.curRow = row;
    owner_.OnDelete(form_);
  }
}

std::string TableDriver::CopyLines(int first, int last) {
  std::string text;
  const int columns = ColCount();
  for (int row = first; row <= last; ++row) {
    const std::string line = Line(row, row == first ? LineContext::FirstRow : LineContext::NextRow);
    for (int c = 0; c < columns; ++c) {
      if (c > 0) text += '\t';
      text += CopiedItem(ListItem(line, c));
    }
    text += "\r\n";
  }
  return text;
}

std::string TableDriver::CopyRows(int first, int last) {
  first = std::max(first, 1);
  last = std::min(last, RowCount());
  std::string text;
  if (first == last) {
    Line(first, LineContext::SingleRow);
    owner_.OnCopyLine(form_);
    text = WithTabs(WithCheckBoxValues(form_.line));
  } else if (first < last) {
    text = CopyLines(first, last);
  }
  ui_.SetClipboardText(text);
  return text;
}

std::string TableDriver::CopyAll() {
  std::string text;
  if (form_.title.empty()) {
    text = form_.caption;
  } else {
    for (int i = 0; i < ListCount(form_.title); ++i) {
      if (i > 0) text += '\r';
      text += TrimBlanks(ListItem(form_.title, i));
    }
  }
  text += "\r\n\r\n";
  for (int c = 0; c < ColCount(); ++c) {
    if (c > 0) text += '\t';
    text += HeaderLabel(ListItem(form_.head1, c), ListItem(form_.head2, c));
  }
  text += "\r\n";
  if (RowCount() > 0) text += CopyLines(1, RowCount());
  ui_.SetClipboardText(text);
  return text;
}

std::string TableDriver::CopyCell() {
  const std::string text = WithCheckBoxValues(ListItem(Line(form_.curRow), form_.curCol));
  ui_.SetClipboardText(text);
  return text;
}

bool PastesAsOneValue(std::string_view clipboard) {
  return clipboard.find('\t') == std::string_view::npos && SplitLines(clipboard).size() <= 1;
}

int TableDriver::PasteText(std::string_view clipboard) {
  const bool singleValue = PastesAsOneValue(clipboard);
  // One value is typed into the current cell, as any table that edits takes
  // it; lines need an owner that takes them.
  if (singleValue ? !owner_.HasEdit() : !owner_.HasPasteLine()) return 0;
  form_.editText = std::string(clipboard);
  const std::vector<std::string_view> lines = SplitLines(clipboard);
  if (singleValue) {
    form_.context = LineContext::SingleRow;
    return CommitEdit(form_.curRow, form_.curCol, lines.empty() ? std::string_view() : lines[0])
               ? 1
               : 0;
  }
  int taken = 0;
  for (std::string_view line : lines) {
    form_.line = WithoutTabs(std::string(line));
    form_.context = taken == 0 ? LineContext::FirstRow : LineContext::NextRow;
    owner_.OnPasteLine(form_);
    ++taken;
  }
  return taken;
}

}  // namespace kordavelt
