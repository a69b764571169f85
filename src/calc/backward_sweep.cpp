// The backward sweep: walking the TreeList from its last element to the
// source branch, every section level sums the currents of the elements below
// it; a closed section merges into its parent where sections join, and the
// design-load method is applied where sections join and at supply elements.

#include <algorithm>
#include <vector>

#include "calc/backward_walk.h"
#include "calc/calc_class.h"
#include "calc/design_loads.h"
#include "calc/load_flow.h"
#include "calc/prepare_context.h"
#include "calc/prepare_elements.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "model/source_loads.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

constexpr int kKindDriveLoad = 46;

struct BranchInfo {
  std::uint8_t flags = 0;
  std::uint8_t kind = 0;
  std::int32_t keyEnd = 0;
};

// The branch record of TreeList[position] as the trace read it (which set the
// element's flags from it too).
BranchInfo TracedBranch(const CalcClass& calc, int position, const ElementRec& e) {
  return {e.branchFlags, static_cast<std::uint8_t>(calc.BranchKind(position)),
          calc.BranchKeyEnd(position)};
}

// Ко or Iзад of the node at the element's downstream end: the node of the
// far-end key, or of its own key when the tree passes it backwards.
long double DownstreamNodeValue(modelClass& model, const ElementRec& e, const BranchInfo& b) {
  const int node = e.signedKey < 0 ? NodeOfKey(-e.signedKey) : NodeOfKey(b.keyEnd);
  if (node <= 0 || !StandOn(model.Nodes(), node)) return 0;
  return NodeRec(model.Nodes()->Record()).Ko();
}

// Regime category and utilisation Кв of a receiver connection's group.
struct ReceiverGroup {
  bool found = false;
  int regime = 0;
  float kv = 0;
};

ReceiverGroup GroupOfReceiver(modelClass& model, const ElementRec& e) {
  tbClass* objects = model.OpenObjectTable(kKindReceiver);
  if (!StandOn(objects, BranchKeyOf(e))) return {};
  const std::int32_t receiver = ReceiverObjectRec(objects->Record()).ReceiverKey();
  if (receiver <= 0 || !StandOn(model.Groups(), GroupOfKey(receiver))) return {};
  const GroupRec group(model.Groups()->Record());
  return {true, std::min<int>(group.Regim(), kCategoryEpisodic), group.Kv()};
}

// A section starts at its terminal element: the accumulator takes the
// element's own currents and, for receivers under the category methods,
// their category and utilisation sums.
void StartSection(modelClass& model, LevelAccumulator& acc, const ElementRec& e,
                  const BranchInfo& b, int loadMethod) {
  acc = LevelAccumulator{};
  acc.phases = {e.ia, e.ib, e.ic};
  acc.iStart = e.iStart;
  acc.tStart = e.tStart;
  acc.iSelfStart = e.iSelfStart;
  const bool categorised = loadMethod == static_cast<int>(LoadMethod::DemandFactor) ||
                           loadMethod == static_cast<int>(LoadMethod::DesignFactor) ||
                           loadMethod == static_cast<int>(LoadMethod::GivenCurrent);
  if (b.kind == kKindReceiver && categorised) {
    const ReceiverGroup group = GroupOfReceiver(model, e);
    if (group.found) {
      const bool drive = e.kind == kKindDriveLoad;
      const int category = drive ? kCategoryDrive : group.regime;
      if (drive) acc.factor = static_cast<float>(kDriveFactor);
      for (int p = 0; p < 3; ++p) acc.categories[category][p] = acc.phases[p];
      // Drives have a fixed factor of their own and stay out of the
      // utilisation sums, or "ТПЭП" would count them twice.
      if (loadMethod == static_cast<int>(LoadMethod::DesignFactor) && !drive) {
        for (int p = 0; p < 3; ++p) {
          acc.sumKiI[p] = acc.phases[p] * (static_cast<long double>(group.kv) * acc.factor);
          acc.sumI2[p] = acc.phases[p].re * acc.phases[p].re;
        }
      }
    }
  }
  acc.iDesign = LargestPhase(acc.phases) * acc.factor;
  acc.largestChild = acc.iDesign;
}

// Installed power of a terminal element, kW: the Pном of a receiver's group
// or the Pуст of an equivalent motor; nothing for the other kinds.
long double TerminalInstalledPower(modelClass& model, const ElementRec& e, const BranchInfo& b) {
  if (b.kind == kKindEquivalentMotor) {
    tbClass* motors = model.OpenObjectTable(kKindEquivalentMotor);
    if (!StandOn(motors, BranchKeyOf(e))) return 0;
    return EquivalentMotorRec(motors->Record()).Pust();
  }
  if (b.kind != kKindReceiver) return 0;
  tbClass* objects = model.OpenObjectTable(kKindReceiver);
  if (!StandOn(objects, BranchKeyOf(e))) return 0;
  const std::int32_t receiver = ReceiverObjectRec(objects->Record()).ReceiverKey();
  if (receiver <= 0 || !StandOn(model.Groups(), GroupOfKey(receiver))) return 0;
  return GroupRec(model.Groups()->Record()).P();
}

// The section's sums flow through the element.
void TakeFromSection(ElementRec& e, const LevelAccumulator& acc) {
  e.ia = acc.phases[0];
  e.ib = acc.phases[1];
  e.ic = acc.phases[2];
  e.iStart = acc.iStart;
  e.tStart = acc.tStart;
  e.iDesign = acc.iDesign;
  e.iSelfStart = acc.iSelfStart;
}

}  // namespace

bool BackwardSweep(CalcClass& calc) {
  modelClass& model = calc.Model();
  const int loadMethod = model.Settings().LoadMethod();
  std::vector<LevelAccumulator> levels(kSweepLevels);
  std::vector<long double> installed(kSweepLevels, 0);  // kW per level, merged like `levels`
  // One context for the sweep: each catalogue type is read once.
  PrepareContext ctx(model);
  const auto close = [&](int parent, int child) {
    MergeAccumulator(levels[parent], levels[child], loadMethod);
    installed[parent] += installed[child];
    installed[child] = 0;
  };
  return WalkBackwards(calc, close, [&](int i, ElementRec& e, int level, int previous) {
    const BranchInfo branch = TracedBranch(calc, i, e);
    e.kind = branch.kind;
    LevelAccumulator& acc = levels[level];
    if (e.endOfSection != 0) {
      // A section that ends in a line or a device carries nothing.
      if (!IsTerminalKind(e.kind)) TakeFromSection(e, LevelAccumulator{});
      if (!PrepareElement(ctx, calc, i)) return false;
      StartSection(model, acc, e, branch, loadMethod);
      installed[level] = TerminalInstalledPower(model, e, branch);
      e.iDesign = acc.iDesign;
    } else {
      TakeFromSection(e, acc);
      if (!PrepareElement(ctx, calc, i)) return false;
      if (level < previous || e.classCode != kClassOrdinary) {
        ApplyDesignLoad(acc, loadMethod, e.classCode, DownstreamNodeValue(model, e, branch));
      }
      e.iDesign = acc.iDesign;
    }
    e.installedPower = static_cast<float>(installed[level]);
    if (e.kt > 0 && e.kt != 1) ScaleAccumulator(acc, e.kt);
    return true;
  });
}

}  // namespace kordavelt
