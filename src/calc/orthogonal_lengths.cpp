// Line lengths from the plan positions of their nodes.

#include <cmath>

#include "calc/calc_class.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "model/source_numbers.h"
#include "ui/ui_host.h"

namespace kordavelt {

namespace {

// Buttons of the question, counted from 11.
constexpr int kForAll = 12;
constexpr int kBelowOrthogonal = 13;
constexpr int kBelowStraight = 14;

struct Point {
  long double x = 0, y = 0, z = 0;
};

// Length field of a line object of kinds 11 … 14.
float LineLength(int kind, Bytes record) {
  switch (kind) {
    case kKindCableLine:
      return CableLineRec(record).L();
    case kKindWiring:
      return WiringRec(record).L();
    case kKindOverheadLine:
      return OverheadLineRec(record).L();
    default:
      return TrunkingRec(record).L();
  }
}

void SetLineLength(int kind, Bytes record, float value) {
  switch (kind) {
    case kKindCableLine:
      CableLineRec(record).SetL(value);
      break;
    case kKindWiring:
      WiringRec(record).SetL(value);
      break;
    case kKindOverheadLine:
      OverheadLineRec(record).SetL(value);
      break;
    default:
      TrunkingRec(record).SetL(value);
      break;
  }
}

}  // namespace

void CalcClass::OrthogonalLengths() {
  if (!model_.Usable()) return;
  const int choice =
      model_.Ui().ShowDialog(kCaptionNetwork, "Расчет ортогональных длин линий (ВЛ, КЛ и др.)",
                             "Отменить#Для всех#Для L<Lortho#Для L<Lmin", IconKind::Question);
  if (choice != kForAll && choice != kBelowOrthogonal && choice != kBelowStraight) return;
  if (invalid_) CalcNetwork();

  const long double margin = model_.Settings().OrthogonalLengthFactor();
  tbClass* nodes = model_.Nodes();
  const auto position = [&](int node, Point& point) {
    if (!modelClass::SeekExact(nodes, node)) return false;
    const NodeRec rec(nodes->Record());
    point = {static_cast<long double>(rec.X()), static_cast<long double>(rec.Y()),
             static_cast<long double>(rec.Z())};
    return true;
  };

  for (const int number : SourceNumbers(model_)) {
    if (!TraceTree(number)) continue;
    for (int i = 1; i <= count_; ++i) {
      const int kind = Element(i).kind;
      if (kind < kKindCableLine || kind > kKindTrunkingK) continue;
      Point a;
      Point b;
      if (tree_[i].toNode == 0 || !position(tree_[i].fromNode, a) ||
          !position(tree_[i].toNode, b)) {
        continue;
      }
      const long double dx = std::fabs(a.x - b.x);
      const long double dy = std::fabs(a.y - b.y);
      const long double dz = std::fabs(a.z - b.z);
      const long double orthogonal = dx + dy + margin * dz;
      const long double straight = std::sqrt(dx * dx + dy * dy + dz * dz);
      tbClass* objects = model_.OpenObjectTable(kind);
      if (!modelClass::SeekExact(objects, BranchKeyOf(Element(i)))) continue;
      const float length = LineLength(kind, objects->Record());
      const bool replace = choice == kForAll ||
                           (choice == kBelowOrthogonal && length < orthogonal) ||
                           (choice == kBelowStraight && length < straight);
      if (!replace) continue;
      SetLineLength(kind, objects->Record(), static_cast<float>(orthogonal));
      objects->MarkModified();
    }
  }
  for (int kind = kKindCableLine; kind <= kKindTrunkingK; ++kind) {
    if (tbClass* objects = model_.OpenObjectTable(kind)) objects->Flush();
  }
  model_.Refresh(RefreshSender::None, 1);
}

}  // namespace kordavelt
