#pragma once

// The cells of an imported row that the book would not take as they stand.
//
// The row import reads what it can and makes 0 of the rest; a catalogue
// file with "abc", "nan", "1e309" or an empty cell where a resistance
// belongs would so give types with zeros that the calculation then trusts.
// Import therefore checks every row first: numbers must be decimal, finite
// and fit their field (whole numbers within their byte), value lists must
// hold positive numbers and no more than their slots, enumerations must be
// one of their texts (or the number export writes for a value without
// text), characteristics 224 hexadecimal digits, template slots kind names.
//
// An empty cell is refused where a number is required. It may stand for the
// code (the type then gets its automatic code), for a value the window
// leaves blank when it is 0 (Imax of a trip unit), for an empty value list
// or characteristic, and for an enumeration (the field keeps what the name
// gave it, or 0).

#include <string>
#include <string_view>
#include <vector>

namespace kordavelt {

struct BookCellProblem {
  int column = 0;      // 1-based column of the table
  std::string text;    // the cell, trimmed
  std::string reason;  // "не число", "пустое значение", ...
};

// The refused cells of a row of `table` (item 0 the row number, then the
// columns in order); empty when the row can be added as it is.
std::vector<BookCellProblem> CheckBookRow(int table, std::string_view items);

// The column as the engineer finds it: its exchange name (the file's
// header) and, where the window heads it otherwise, that heading, e.g.
// "R1 (Rф)".
std::string BookColumnLabel(int table, int column);

}  // namespace kordavelt
