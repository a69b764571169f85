#pragma once

// Value lists of the reference book: a fixed number of float slots (10 or 5)
// holding ascending values ended by the first slot that is not positive, or,
// when the second slot is 0 and the third positive, the continuous range from
// the first to the third value.

#include <string>
#include <string_view>
#include <vector>

namespace kordavelt {

// The longest value list of a record.
inline constexpr int kMaxValueSlots = 10;

// Values separated by `sep` (";" in cells, "#" in choice lists), a range as
// first + "-" + third, numbers in the general number format. Empty when the
// list holds no value.
std::string FormatValueList(const std::vector<float>& slots, std::string_view sep);

// Typed text to `slotCount` slots (0 ... 21): values separated by ";", ",",
// "#" or "_", a trailing separator ignored; a text holding "-" is the range
// {number before, 0, number after}. Items that are not finite numbers read 0.
std::vector<float> ParseValueList(std::string_view text, int slotCount);

// The values in effect: the ascending values up to the first that is not
// positive, or the two ends of a range.
std::vector<float> ValueListValues(const std::vector<float>& slots);

// True when the slots hold a range.
bool IsValueRange(const std::vector<float>& slots);

}  // namespace kordavelt
