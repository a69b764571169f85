#pragma once

// The record layouts of the model's tables as data (see storage/record_layout.h).

#include "storage/record_layout.h"

namespace kordavelt {

// The layout of a model table, or nullptr for a table whose layout is not known.
const RecordLayout* ModelTableLayout(int table);

}  // namespace kordavelt
