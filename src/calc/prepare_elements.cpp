#include "calc/prepare_elements.h"

#include <memory>
#include <optional>

#include "calc/calc_class.h"
#include "calc/prepare_context.h"
#include "calc/prepare_devices.h"
#include "calc/prepare_lines.h"
#include "calc/prepare_protection.h"
#include "calc/prepare_source.h"
#include "calc/prepare_terminals.h"
#include "calc/protection_characteristic.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

struct BranchState {
  int kind = 0;
  bool switchedOn = true;
};

// The kind of the object the branch carries and whether it is on in the
// current regime. Without a branch record the element's kind stands, with
// the kinds the calculation re-marks taken back to the object's.
BranchState ReadBranch(modelClass& model, const ElementRec& e) {
  tbClass* branches = model.Branches();
  if (modelClass::SeekExact(branches, BranchKeyOf(e))) {
    const BranchRec branch(branches->Record());
    return {branch.Kind(), ((branch.Status() >> model.Regime()) & 1) != 0};
  }
  switch (e.kind) {
    case 41:
    case 42:
      return {kKindReceiver, true};
    case 54:
    case 55:
      return {kKindEquivalentMotor, true};
    default:
      return {e.kind, true};
  }
}

// Hands the element's characteristic to the model, which owns it; none frees
// the previous one. A characteristic the element already holds takes the new
// values in place, sparing an allocation per device and calculation.
void Attach(modelClass& model, ElementRec& e, int record, std::optional<vth_class> c) {
  if (!c) {
    model.SetAttachment(record, nullptr);
  } else if (auto* held = dynamic_cast<vth_class*>(model.Attachment(record))) {
    *held = std::move(*c);
  } else {
    model.SetAttachment(record, std::make_unique<vth_class>(std::move(*c)));
  }
  e.characteristic = model.Attachment(record);
}

bool PrepareTerminalElement(PrepareContext& ctx, ElementRec& e, const BranchState& branch) {
  ClearTerminal(e);
  switch (branch.kind) {
    case kKindReceiver:
      PrepareReceiver(ctx, e, branch.switchedOn);
      break;
    case kKindGenerator:
      PrepareGenerator(ctx, e);
      break;
    case kKindSockets:
      PrepareSockets(ctx, e);
      break;
    case kKindCapacitorBank:
      PrepareCapacitorBank(ctx, e);
      break;
    case kKindEquivalentMotor:
      PrepareEquivalentMotor(ctx, e);
      break;
    default:
      break;  // lighting: no object of its own
  }
  return true;
}

bool PrepareWithBranch(PrepareContext& ctx, ElementRec& e, int record, int nextPosition,
                       const BranchState& branch) {
  modelClass& model = ctx.Model();
  e.kind = static_cast<std::uint8_t>(branch.kind);

  switch (branch.kind) {
    case kKindNode:
    case kKindCurrentRelay:
      return true;
    case kKindPowerSource: {
      const bool ok = PrepareSource(ctx, e);
      // The source never operates, but the selectivity checks need an object.
      if (AsCharacteristic(model.Attachment(record)) == nullptr) {
        Attach(model, e, record, SourceCharacteristic());
      }
      e.characteristic = model.Attachment(record);
      return ok;
    }
    default:
      break;
  }
  if (IsTerminalKind(branch.kind)) {
    Attach(model, e, record, std::nullopt);
    return PrepareTerminalElement(ctx, e, branch);
  }

  ClearElementParameters(e);
  std::optional<vth_class> characteristic;
  switch (branch.kind) {
    case kKindAbstractBranch:
      PrepareAbstractBranch(ctx, e);
      break;
    case kKindCableLine:
      PrepareCableLine(ctx, e);
      break;
    case kKindWiring:
      PrepareWiring(ctx, e);
      break;
    case kKindOverheadLine:
      PrepareOverheadLine(ctx, e);
      break;
    case kKindTrunkingK:
      PrepareCatalogueTrunking(ctx, e);
      break;
    case kKindTrunkingN:
      PrepareBuiltTrunking(ctx, e);
      break;
    case kKindProtectiveDevice:
      characteristic = PrepareProtectiveDevice(ctx, e);
      e.nextElement = nextPosition;
      break;
    case kKindBreaker:
      characteristic = PrepareBreaker(ctx, e);
      e.nextElement = nextPosition;
      break;
    case kKindFuse:
      characteristic = PrepareFuse(ctx, e);
      e.nextElement = nextPosition;
      break;
    case kKindSwitch:
      PrepareSwitch(ctx, e);
      break;
    case kKindStarter:
      PrepareStarter(ctx, e);
      break;
    case kKindTransformer:
      PrepareTransformer(ctx, e);
      break;
    case kKindStabiliser:
      PrepareStabiliser(ctx, e);
      break;
    case kKindReactor:
      PrepareReactor(ctx, e);
      break;
    case kKindCurrentTransformer:
      PrepareCurrentTransformer(ctx, e);
      break;
    default:
      break;
  }
  Attach(model, e, record, std::move(characteristic));
  return true;
}

}  // namespace

bool IsTerminalKind(int kind) {
  switch (kind) {
    case 41:
    case 42:
    case kKindCapacitorBank:
    case kKindSockets:
    case kKindLighting:
    case kKindGenerator:
    case kKindReceiver:
    case kKindEquivalentMotor:
    case 54:
    case 55:
      return true;
    default:
      return false;
  }
}

bool PrepareElement(CalcClass& calc, int position) {
  PrepareContext ctx(calc.Model());
  return PrepareElement(ctx, calc, position);
}

bool PrepareElement(PrepareContext& ctx, CalcClass& calc, int position) {
  if (position < 1 || position > calc.Count()) return true;
  const int next = position < calc.Count() ? position + 1 : 0;
  // The trace took only branches switched on in the current regime.
  return PrepareWithBranch(ctx, calc.Element(position), calc.RecordNumber(position), next,
                           {calc.BranchKind(position), true});
}

bool PrepareElement(modelClass& model, ElementRec& e, int record, int nextPosition) {
  PrepareContext ctx(model);
  return PrepareWithBranch(ctx, e, record, nextPosition, ReadBranch(model, e));
}

}  // namespace kordavelt
