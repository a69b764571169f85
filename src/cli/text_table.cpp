#include "cli/text_table.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "storage/cp1251.h"
#include "table/dial_list.h"
#include "table/paste_values.h"
#include "table/table_driver.h"

namespace kordavelt {
namespace {

using Cells = std::vector<std::string>;

Cells SplitRow(std::string_view line, int columns) {
  Cells cells;
  for (int c = 0; c < columns; ++c) {
    std::string item(TrimBlanks(ListItem(line, c)));
    if (item.find('@') != std::string::npos) item = "рис.";
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

std::string Joined(const Cells& cells, const std::vector<std::size_t>& widths, bool alignNumbers) {
  std::string line;
  for (std::size_t c = 0; c < cells.size(); ++c) {
    if (c > 0) line += "  ";
    line += Padded(cells[c], widths[c], alignNumbers && IsNumber(cells[c]));
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
  std::string text;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    const std::string line = Joined(rows[r], widths, r >= 2);
    // A table with one header line leaves the second one out.
    if (r == 1 && line == "\n") continue;
    text += line;
  }
  return text;
}

}  // namespace kordavelt
