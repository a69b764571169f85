#pragma once

// The check of a model file beyond the engine's. The engine sees only its
// index (pages, counts, ascending keys), so a data page of zeros, or a page of
// another table copied over one of the model's, reads to it as sound records.
// The model check reads every model table through DbReader and names what no
// operation of the program leaves behind:
//   - a key outside its table's range: a node 0, a branch of node 0, a far end
//     in slot 0, a receiver number 1024, a subscheme 256;
//   - a key twice where keys are unique: every model table but the node
//     positions of the scheme, where a node has one record per subscheme and
//     the node with its subscheme is unique;
//   - a field beyond its bounds: a branch kind that is no object kind, a
//     reference that is no key of what it refers to, a voltage index past the
//     settings' six voltages, a float that is no number, a string longer than
//     its capacity;
//   - a model table whose record length is not the model's, and a settings
//     block without its marker.
// A model the program wrote passes it, whatever edits made the model.

#include <vector>

#include "storage/db_reader.h"
#include "storage/file_layer.h"

namespace kordavelt {

// The problems of the model's own tables in the file `reader` reads; the
// engine's problems are not among them (DbReader::Check gives those).
std::vector<DbProblem> CheckModelTables(DbReader& reader);

// Every problem of a model file: the engine's first, then the model's.
// Empty for a sound model.
std::vector<DbProblem> CheckModelFile(RandomAccessFile& file);

}  // namespace kordavelt
