#include "results/voltage_deviation.h"

#include "calc/element_rec.h"
#include "results/snapshot_table.h"

namespace kordavelt {
namespace {

constexpr double kInvSqrt3 = 0.57735;

// Phase sets of one phase with the neutral (A0, B0, C0).
bool OnePhaseWithNeutral(int phaseSet) { return phaseSet == 9 || phaseSet == 10 || phaseSet == 12; }

std::string DeviationCell(const ElementRec& e, float u) {
  const double reference = OnePhaseWithNeutral(e.phaseSet) ? e.unom * kInvSqrt3 : e.unom;
  if (!(reference > 0) || u >= kNotComputed) return Dashes(1);
  return NumberCell((u / reference - 1) * 100);
}

}  // namespace

std::string WorkingDeviationCell(const ElementRec& e) { return DeviationCell(e, e.uWork); }

std::string StartingDeviationCell(const ElementRec& e) { return DeviationCell(e, e.uStart); }

}  // namespace kordavelt
