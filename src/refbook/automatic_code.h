#pragma once

// Automatic type codes: a 32-bit value assembled from bit fields of a type's
// parameters so that code order is catalogue order; the free-code search
// (sprClass::GiveFreeCode) then moves it up to the first code not taken.

#include <cstdint>

#include "base/le_bytes.h"

namespace kordavelt {

// The composed code of `record` (data bytes of a record of `table`). The start
// value brings bits of its own for table 93 (the record number) and table 11
// (the code of the brand); other tables ignore it. Every field is masked to
// its width and the result is never negative. 0 for tables without an
// automatic code.
std::int32_t ComposedCode(int table, ConstBytes record, std::int32_t startValue);

// The search width n of the free-code search (2^(n+1) - 1 steps at most);
// 0 for tables whose codes are never given automatically (2, 23, 94) and for
// numbers that are no book table.
int CodeSearchWidth(int table);

}  // namespace kordavelt
