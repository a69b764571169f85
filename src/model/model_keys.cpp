#include "model/model_keys.h"

#include "base/number_format.h"

namespace kordavelt {

std::string MissingMarkingText(std::int32_t code) {
  if (SlotOfKey(code) == 0) return FormatNumber(NodeOfKey(code));
  return FormatCode(code, 8);
}

}  // namespace kordavelt
