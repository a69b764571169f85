#pragma once

// One row of a reference-book table added as a new type: the routine behind
// both the import of a category from a file and a paste into the window.
//
// The row's items are those the window shows (and export writes): item 0
// the row number, then the columns in order, the code last. Numbers, lists,
// enumerations by their texts, characteristics as 224 hexadecimal digits;
// referenced types by name — the cable's brand, the breaker's trip unit and
// the mechanism's motor (none when the name is unknown), the series of
// breakers and trip units (an unknown series is added). A code of 1 or more
// gives the first free code from it upward, any other the automatic code.

#include <cstdint>
#include <string_view>

namespace kordavelt {

class sprClass;

// Adds the row to `table` and returns the new type's code; 0 when no record
// could be added. Template rows (table 2) carry no code: they keep the code
// after the last.
std::int32_t ImportBookRow(sprClass& book, int table, std::string_view items);

}  // namespace kordavelt
