#pragma once

// The numbers of the model's power sources in key order, read before the
// caller moves the source table (a calculation does, source by source).

#include <vector>

namespace kordavelt {

class modelClass;

std::vector<int> SourceNumbers(modelClass& model);

}  // namespace kordavelt
