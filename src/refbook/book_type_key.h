#pragma once

// Whether the book holds a type already, so that importing a catalogue file
// a second time does not give every type twice.
//
// Two types are the same when the engineer cannot tell them apart by their
// designation: the name as the book stores it (cut to its field, blanks at
// the ends not counted), and where one name stands for a range of sizes,
// the sizes that the object tables show with it (TypeDesignation): a
// cable's brand, conductors and sections; a wire's section (and
// conductors); the rated current of trunking and fuses; a transformer's
// power and high voltage; a current transformer's ratio. Sizes compare as
// stored, so 1.5 and 1.50 are one size.

#include <set>
#include <string>

#include "base/le_bytes.h"

namespace kordavelt {

class sprClass;

// The designation of a record of `table` as one comparable text.
std::string BookTypeKey(int table, ConstBytes record);

// The designations of every type of `table`.
std::set<std::string> BookTypeKeys(sprClass& book, int table);

}  // namespace kordavelt
