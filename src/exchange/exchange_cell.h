#pragma once

// Checks of one cell of an exchange file before an import stores it. The
// accessors of GetClass read "abc", "nan" or "1.5" as some number (0, or
// the integer part); an import that must not damage a model asks these
// first: the whole trimmed text must be the value, and the value must fit
// the field it goes to.
//
// Each check answers the reason a cell is refused, in the program's words
// ("не число", "не целое число", "вне диапазона 0…255"), or an empty text
// when the cell is good; the value read is given back.

#include <cstdint>
#include <string>
#include <string_view>

namespace kordavelt {

// A finite number in decimal notation with "." as separator: no "nan",
// "inf", hexadecimal or trailing text, and none beyond the range of double.
std::string CheckNumberCell(std::string_view text, double& value);

// A number without fraction ("12", "12.0") within min … max.
std::string CheckIntegerCell(std::string_view text, std::int64_t min, std::int64_t max,
                             std::int64_t& value);

// A number a 32-bit float holds: finite and within ±3.4E+38.
std::string CheckFloatCell(std::string_view text);

// A key written as two integers "a.b", a × 2^shift + b (a node and its slot,
// a group and its receiver number), or as one integer, the key itself (0 or
// negative: a row found by its designation).
struct CodeForm {
  int shift = 8;
  std::int64_t highMax = 0;
  std::int64_t lowMax = 0;
  std::string_view highName;  // "узел", "группа": named in the reason
  std::string_view lowName;   // "присоединение", "номер"
};
std::string CheckCodeCell(std::string_view text, const CodeForm& form, std::int64_t& code);

}  // namespace kordavelt
