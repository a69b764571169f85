#pragma once

// The record layouts of the reference-book tables as data, for whoever walks
// a record field by field without knowing its type: the command-line dump and
// the tests that check the typed views (book_records.h) against them.

#include "storage/record_layout.h"

namespace kordavelt {

// The layout of a book table, or nullptr for a number that is no book table.
const RecordLayout* BookRecordLayout(int table);

}  // namespace kordavelt
