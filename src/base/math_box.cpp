#include "base/math_box.h"

#include <cmath>

namespace kordavelt {

long double Power(long double exponent, long double base) {
  if (!(base > 0)) return 0;
  return std::exp2(exponent * std::log2(base));
}

}  // namespace kordavelt
