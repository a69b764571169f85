#pragma once

// Reading the items of a '#'-list record as values: the accessors owners use
// in OnPasteLine on a pasted line, and the import reader (GetClass) on a
// record read from a file. Both follow the same rules, so a row copied out of
// a table and pasted back, or exported and imported, gives the same values.
//
// Item i is counted from 0; an item beyond the end of the record is empty.

#include <cstdint>
#include <string>
#include <string_view>

namespace kordavelt {

// Answer of GetIndex for an item that is not among the choices.
inline constexpr int kNoIndex = 255;

// The text without blanks and control characters at either end.
std::string_view TrimBlanks(std::string_view text);

// The integer value of the trimmed item: a decimal integer, or a decimal
// number cut to its integer part; 0 when it is not a number or out of range.
std::int32_t GetInt(std::string_view record, int i);

// The real value of the trimmed item; 0 when it is not a number.
double GetReal(std::string_view record, int i);

// True when the item's first character is one of "YDTДИ" ("Y", "Да", "T",
// "Истина"); an empty item counts as a blank and gives false.
bool GetBool(std::string_view record, int i);

// The trimmed item.
std::string GetStr(std::string_view record, int i);

// A key written as two numbers "a.b" (see FormatCode): (a << shift) + b; an
// item without '.' gives its integer value.
std::int32_t GetCode(std::string_view record, int i, int shift);

// The position (0-based) of the trimmed item among the items of the '#'-list
// `choices`, compared exactly; kNoIndex when it is not there.
int GetIndex(std::string_view record, int i, std::string_view choices);

}  // namespace kordavelt
