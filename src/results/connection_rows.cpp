#include "results/connection_rows.h"

#include "calc/calc_class.h"
#include "model/model_kinds.h"
#include "model/source_numbers.h"
#include "results/network_names.h"

namespace kordavelt {
namespace {

bool SameConnection(const ConnectionRow& row, const ElementRec& e) {
  return row.startNode == e.startNode && row.endNode == e.endNode;
}

}  // namespace

bool IsResultDeviceKind(int kind) {
  return kind == kKindProtectiveDevice || kind == kKindBreaker || kind == kKindFuse;
}

bool IsResultLineKind(int kind) { return kind >= kKindCableLine && kind <= kKindTrunkingK; }

void ForEachTracedSource(CalcClass& calc, const std::function<void(int source)>& visit) {
  for (const int source : SourceNumbers(calc.Model())) {
    if (calc.TraceTree(source)) visit(source);
  }
}

void PairConnections(const CalcClass& calc, std::vector<ConnectionRow>& rows) {
  for (int i = 2; i <= calc.Count(); ++i) {
    ElementRec& e = calc.Element(i);
    const bool device = IsResultDeviceKind(e.kind);
    if (!device && !IsResultLineKind(e.kind)) continue;
    ConnectionRow* last = rows.empty() ? nullptr : &rows.back();
    const bool joins = last != nullptr && SameConnection(*last, e) && last->line == nullptr &&
                       (!device || last->device == nullptr);
    if (!joins) {
      rows.push_back({nullptr, nullptr, e.startNode, e.endNode});
      last = &rows.back();
    }
    (device ? last->device : last->line) = &e;
  }
}

}  // namespace kordavelt
