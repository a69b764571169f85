#pragma once

// Numeric lists: numbers written as text separated by '#' (or by ';' ',' '_'
// as typed by the user), the form in which the reference book and the model
// settings keep characteristic curves, standard series and value lists.
//
// The lookups come twice: on the list text, as the series are stored, and on
// numbers already converted with ItemsAsReals, for callers that look up the
// same series many times.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kordavelt {

// The most numbers a value list of the reference book holds.
inline constexpr int kMaxListNumbers = 21;

// IndexOfText's answer for a text that is not in the list.
inline constexpr int kTextAbsent = 255;

// Converts the first numbers.size() items (at most 21) of a user-typed list into
// numbers; the whole span is zero-filled first and an item that is not a number
// stays 0. Separators ';' ',' '_' count as '#', repeated separators as one, and
// a trailing separator is ignored. A text containing '-' is a range instead:
// "0.4-0.69" gives 0.4, 0, 0.69 (and no other separator is converted).
void ListToNumbers(std::string_view text, std::span<float> numbers);

// The inverse of ListToNumbers for the first numbers.size() entries (at most 21):
// empty when the first two entries add up to 0; the range "v0-v2" when v1 = 0
// and v2 > 0; otherwise v0 followed by every further entry, each after the
// separator, up to the first that is not positive.
std::string NumbersToList(std::span<const float> numbers, char separator);

// NumbersToList with '#' before every item: a table-row cell, "#" alone when empty.
std::string NumbersToHashList(std::span<const float> numbers);

// Item `index` counted from 1 converted to a number; 0 for index 0, for an
// index past the end and for an item that is not a number.
double ItemAsReal(std::string_view list, int index);
int ItemAsInteger(std::string_view list, int index);

// Every item converted (an item that is not a number gives 0).
std::vector<float> ItemsAsReals(std::string_view list);

// 1-based index of the value nearest to x in an ascending list: the first
// value not below x (the last value when x exceeds all), or the value before
// it when x is strictly closer to that one, so a tie goes to the higher value.
// At most 255. On an empty span, 0.
int NearestIndex(std::string_view list, long double x);
int NearestIndex(std::span<const float> values, long double x);

// 1-based index of the first value not below x in an ascending list; the last
// index when x exceeds all values. On an empty span, 0.
int CeilingIndex(std::string_view list, long double x);
int CeilingIndex(std::span<const float> values, long double x);

// Piecewise-linear y(x) through the points (xs[i], ys[i]) of two parallel
// lists (as many points as the shorter list has), extended along the first
// and last segments beyond the ends. Two points with the same x give the
// larger of their y. A single point gives its y; no point at all, 0.
long double InterpolateInLists(std::string_view xs, std::string_view ys, long double x);
long double InterpolateInLists(std::span<const float> xs, std::span<const float> ys, long double x);

// 0-based index of the first item equal to text, kTextAbsent (255) when none is.
int IndexOfText(std::string_view text, std::string_view list);

}  // namespace kordavelt
