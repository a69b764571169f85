#include "model/source_numbers.h"

#include "model/model_class.h"
#include "storage/tb_class.h"

namespace kordavelt {

std::vector<int> SourceNumbers(modelClass& model) {
  std::vector<int> numbers;
  tbClass* sources = model.Sources();
  if (sources == nullptr) return numbers;
  sources->GoTo(0);
  while (sources->Next() && !sources->Record().empty()) numbers.push_back(sources->Key());
  return numbers;
}

}  // namespace kordavelt
