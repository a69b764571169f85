#include "objects/symbol_pictures.h"

#include <array>
#include <string_view>

#include "model/model_kinds.h"
#include "refbook/kind_names.h"

namespace kordavelt {
namespace {

// Groups 0 … 4; both circles, then the signs of the high- and low-voltage
// windings (star with earthed neutral, delta, star, zigzag).
constexpr std::array<std::string_view, 5> kGroupSymbols = {
    "@c0088c058Dp224462p244446p284A68p2A4A4Ce#404D",  // Y0/Y0
    "@c0088c058Dp41642441p284A68p2A4A4Ce#404D",       // D/Y0
    "@c0088c058Dp224462p4446p284A68p2A4A4Ce#404D",    // Y/Y0
    "@c0088c058Dp224462p4446p28682B6Be#404D",         // Y/Z
    "@c0088c058Dp41642441p28682B6Be#404D",            // D/Z
};

}  // namespace

std::string ConductorMark(int conductors) {
  std::string mark = "@l1015l0220";
  if (conductors >= 2) mark += "l0321";
  if (conductors >= 3) mark += "l0422";
  if (conductors >= 4) mark += "l0523";
  return mark + "e#1015";
}

std::string TransformerSymbol(int group) {
  if (group < 0 || group >= static_cast<int>(kGroupSymbols.size())) {
    return KindSymbol(kKindTransformer);
  }
  return std::string(kGroupSymbols[static_cast<std::size_t>(group)]);
}

}  // namespace kordavelt
