#include "results/voltage_deviation.h"

#include "model/element_rec.h"
#include "results/snapshot_table.h"

namespace kordavelt {
namespace {

std::string DeviationCell(const ElementRec& e, float u) {
  const double reference = ReferenceVoltage(e);
  if (!(reference > 0) || u >= kNotComputed) return Dashes(1);
  return NumberCell((u / reference - 1) * 100);
}

}  // namespace

std::string WorkingDeviationCell(const ElementRec& e) { return DeviationCell(e, e.uWork); }

std::string StartingDeviationCell(const ElementRec& e) { return DeviationCell(e, e.uStart); }

}  // namespace kordavelt
