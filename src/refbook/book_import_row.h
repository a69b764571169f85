#pragma once

// One row of a reference-book table added as a new type: the routine behind
// both the import of a category from a file and a paste into the window.
//
// The row's items are those the window shows (and export writes): item 0
// the row number, then the columns in order, the code last. Numbers, lists,
// enumerations by their texts, characteristics as 224 hexadecimal digits;
// referenced types by name — the cable's brand, the breaker's trip unit and
// the mechanism's motor (none when the name is unknown), the series of
// breakers and trip units (an unknown series is added). An enumeration left
// empty keeps what the record holds (a wire's material derived from its
// name). The code column: a code of 1 or more gives the first free code from
// it upward, any other the automatic code.
//
// The row is read as it stands, a cell that does not read giving 0: import
// checks its rows first (book_row_check.h).

#include <cstdint>
#include <string_view>
#include <vector>

namespace kordavelt {

class sprClass;

// Adds the row to `table` and returns the new type's code; 0 when no record
// could be added. Template rows (table 2) carry no code: they keep the code
// after the last.
std::int32_t ImportBookRow(sprClass& book, int table, std::string_view items);

// The record the row gives, without adding it: what ImportBookRow stores,
// except that a series is only looked up (an unknown one reads as none).
// Empty for a table the window does not show.
std::vector<std::uint8_t> BookRowRecord(sprClass& book, int table, std::string_view items);

// The object kind a template slot names ("Кабель", "Автомат", …); 0 for an
// empty or unknown name.
int TemplateSlotKind(std::string_view name);

}  // namespace kordavelt
