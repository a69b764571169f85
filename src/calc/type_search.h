#pragma once

// The search of the automatic equipment choice in one table of the reference
// book. Codes are composed so that, within a series, the key order of a table
// is the order of increasing size (cross-section or rated current); the
// search walks that order from the present type:
//
//  - when the present type does not meet the requirement, it moves forward to
//    the next type of the same series while the one reached still does not
//    meet it, never to a smaller size; the last type reached is taken, the
//    largest of the series when none meets the requirement;
//  - when the present type meets it, it moves backward while the previous type
//    of the series, not larger, still meets it strictly, and takes the
//    smallest reached.
//
// Types of other series between two types of the series are passed over: the
// codes of several brands or names with the same leading fields interleave.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/le_bytes.h"

namespace kordavelt {

class sprClass;

// How the search judges the records of one table.
struct TypeSearchRules {
  // True when a type belongs to the series of the present type.
  std::function<bool(Bytes type)> inSeries;
  // The size that grows along a series: cross-section, rated current or power.
  std::function<long double(Bytes type)> size;
  // True when a type meets the requirement; `strict` asks for strictly
  // greater values than required.
  std::function<bool(Bytes type, bool strict)> satisfies;
};

// A type of the reference book with a copy of its record.
struct CatalogueType {
  std::int32_t code = 0;
  int recordNumber = 0;
  std::vector<std::uint8_t> record;
};

// `offered` meets `required`: not below it, or above it when `strict`.
bool Meets(long double offered, long double required, bool strict);

// A type name without leading and trailing blanks.
std::string TrimmedName(std::string_view typeName);

// The series a named type belongs to: its name up to the first "-", without
// leading and trailing blanks ("ПН2-100" and "ПН2" are both of series "ПН2").
std::string SeriesName(std::string_view typeName);

// The type chosen for an object whose present type is `present` in `table`;
// the present type itself when no other one is better. Code 0 when the book
// has no such type (nothing can be chosen then).
CatalogueType SearchType(sprClass& book, int table, std::int32_t present,
                         const TypeSearchRules& rules);

}  // namespace kordavelt
