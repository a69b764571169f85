#pragma once

// The check of a reference book beyond the engine's, which reads a page of
// zeros as sound records: every table of the book has the record length the
// program opens it with (with another length the program would ask to convert
// the table, and the calculation could not open it); every type has a code
// the program gives, 1 and up (the breaker series also 0, "none"), once in
// its table; every float of every type is a number, and no string is longer
// than its capacity.

#include <vector>

#include "storage/db_reader.h"
#include "storage/file_layer.h"

namespace kordavelt {

// The problems of the book's own tables in the file `reader` reads; the
// engine's problems are not among them (DbReader::Check gives those).
std::vector<DbProblem> CheckBookTables(DbReader& reader);

// Every problem of a book file: the engine's first, then the book's.
std::vector<DbProblem> CheckBookFile(RandomAccessFile& file);

// The equipment types of the book: the records of all its categories, as the
// descriptors count them (which the engine's check holds against the index).
int CountBookTypes(DbReader& reader);

}  // namespace kordavelt
