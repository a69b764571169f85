#include "calc/equipment_choice.h"

#include "calc/calc_class.h"
#include "calc/choice_kinds.h"
#include "calc/prepare_context.h"
#include "model/model_kinds.h"
#include "model/object_records.h"

namespace kordavelt {
namespace {

// Bit of the branch flags by which the user fixes an object's type.
constexpr std::uint8_t kTypeFixed = 0x02;

// The kinds the calculation re-marks for motors and equivalent motors.
constexpr int kKindSynchronousMotor = 41;
constexpr int kKindAsynchronousMotor = 42;
constexpr int kKindEquivalentAsync = 54;
constexpr int kKindEquivalentSync = 55;

bool LeftAlone(const ElementRec& e) {
  if ((e.branchFlags & kTypeFixed) != 0) return true;
  switch (e.kind) {
    case kKindProtectiveDevice:
    case kKindSynchronousMotor:
    case kKindAsynchronousMotor:
    case kKindCapacitorBank:
    case kKindLighting:
    case kKindPowerSource:
    case kKindReceiver:
    case kKindEquivalentAsync:
    case kKindEquivalentSync:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool StoreChosenType(PrepareContext& ctx, int kind, std::int32_t key, std::int32_t code,
                     const std::function<void(Bytes object)>& alsoChange) {
  const Bytes object = ctx.Object(kind, key);
  if (object.empty()) return false;
  // Every kind with a catalogue type keeps its code first in the record.
  TypeOnlyRec(object).SetType(code);
  if (alsoChange) alsoChange(object);
  ctx.SaveObject(kind);
  return true;
}

bool ChooseEquipment(modelClass& model, const ElementRec& element) {
  if (LeftAlone(element) || model.Book() == nullptr) return false;
  PrepareContext ctx(model);
  switch (element.kind) {
    case kKindCableLine:
      return ChooseCableType(ctx, element);
    case kKindWiring:
      return ChooseWireType(ctx, element);
    case kKindOverheadLine:
      return ChooseOverheadWireType(ctx, element);
    case kKindBreaker:
      return ChooseBreakerType(ctx, element);
    case kKindFuse:
      return ChooseFuseType(ctx, element);
    case kKindTransformer:
      return ChooseTransformerType(ctx, element);
    default:
      return ChooseRatedDeviceType(ctx, element);
  }
}

int ChooseEquipmentOfTree(CalcClass& calc) {
  int changed = 0;
  for (int i = 1; i <= calc.Count(); ++i) {
    if (ChooseEquipment(calc.Model(), calc.Element(i))) ++changed;
  }
  return changed;
}

}  // namespace kordavelt
