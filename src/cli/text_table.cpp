#include "cli/text_table.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "base/cp1251.h"
#include "base/dial_list.h"
#include "base/paste_values.h"
#include "draw/picture_string.h"
#include "table/table_driver.h"

namespace kordavelt {
namespace {

using Cells = std::vector<std::string>;

// The two header lines come before the rows.
constexpr std::size_t kHeaderLines = 2;

Cells SplitRow(std::string_view line, int columns) {
  Cells cells;
  for (int c = 0; c < columns; ++c) {
    std::string item(TrimBlanks(ListItem(line, c)));
    if (const std::optional<std::string_view> value = CheckBoxValue(item)) {
      item = std::string(*value);
    } else if (item.find('@') != std::string::npos) {
      item = "рис.";
    }
    cells.push_back(std::move(item));
  }
  return cells;
}

bool IsNumber(std::string_view text) {
  if (text.empty()) return false;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

std::string Padded(const std::string& cell, std::size_t width, bool right) {
  const std::string fill(width - std::min(width, Utf8Length(cell)), ' ');
  return right ? fill + cell : cell + fill;
}

// A column of numbers: every data cell that says anything is a number or
// "-" (a value the row has not). Such a column is aligned on the right
// whole, its headers with it, so that a header stands over its numbers and
// a "-" under them; a column of texts stays on the left.
std::vector<bool> NumberColumns(const std::vector<Cells>& rows, std::size_t columns) {
  std::vector<bool> numbers(columns, false);
  for (std::size_t c = 0; c < columns; ++c) {
    bool anyNumber = false;
    bool onlyNumbers = true;
    for (std::size_t r = kHeaderLines; r < rows.size(); ++r) {
      const std::string& cell = rows[r][c];
      if (IsNumber(cell)) {
        anyNumber = true;
      } else if (!cell.empty() && cell != "-") {
        onlyNumbers = false;
      }
    }
    numbers[c] = anyNumber && onlyNumbers;
  }
  return numbers;
}

std::string Joined(const Cells& cells, const std::vector<std::size_t>& widths,
                   const std::vector<bool>& right) {
  std::string line;
  for (std::size_t c = 0; c < cells.size(); ++c) {
    if (c > 0) line += "  ";
    line += Padded(cells[c], widths[c], right[c]);
  }
  line.erase(line.find_last_not_of(' ') + 1);
  return line + '\n';
}

}  // namespace

std::string RenderTextTable(TableOwner& owner, TableForm& form, UiHost& ui) {
  TableDriver driver(owner, form, ui);
  const int columns = driver.ColCount();
  std::vector<Cells> rows = {SplitRow(form.head1, columns), SplitRow(form.head2, columns)};
  for (int row = 1; row <= driver.RowCount(); ++row) {
    rows.push_back(SplitRow(driver.Line(row), columns));
  }

  std::vector<std::size_t> widths(static_cast<std::size_t>(columns), 0);
  for (const Cells& cells : rows) {
    for (std::size_t c = 0; c < cells.size(); ++c) {
      widths[c] = std::max(widths[c], Utf8Length(cells[c]));
    }
  }
  const std::vector<bool> right = NumberColumns(rows, widths.size());
  std::string text;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::string line = Joined(rows[r], widths, right);
    // A table with one header line leaves the second one out.
    if (r == 1 && line == "\n") continue;
    text += line;
  }
  return text;
}

}  // namespace kordavelt
