// modelClass::Restore: repairs a model whose tables disagree, so that
// every branch has its nodes and far end, every far end its branch, and
// every object its branch.

#include <string>
#include <vector>

#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/model_tables.h"
#include "model/scheme_records.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

std::string Num(long long value) { return std::to_string(value); }

// Steps back one record after a deletion inside a scan over `table`.
void StepBack(int& n) { --n; }

}  // namespace

void modelClass::Restore() {
  if (!usable_) return;
  FarEndsQuiet quiet(*this);
  tbClass* nodes = Nodes();
  tbClass* branches = Branches();
  tbClass* farEnds = FarEnds();
  const auto ensureNode = [&](int node) {
    if (node > 0 && !SeekExact(nodes, node)) {
      nodes->Insert(node);
      if (nodes->Status() == kStatusOk) nodes->MarkModifiedAndFlush();
    }
  };

  // 1. Every branch gets its nodes and a far end that holds it.
  for (int n = 1; n <= branches->Count(); ++n) {
    branches->GoTo(n);
    if (branches->Status() != kStatusOk) break;
    const std::int32_t key = branches->Key();
    const std::int32_t end = BranchRec(branches->Record()).KeyEnd();
    ensureNode(NodeOfKey(key));
    if (end == 0) continue;
    ensureNode(NodeOfKey(end));
    if (SeekExact(farEnds, end)) {
      const std::int32_t holder = FarEndRec(farEnds->Record()).BranchKey();
      if (holder == key) continue;
      // Two branches claiming one far end, or a far end in a slot that a
      // branch start uses: the one that holds it keeps it, this one moves.
      bool claimed = false;
      if (SeekExact(branches, holder)) claimed = BranchRec(branches->Record()).KeyEnd() == end;
      if (!claimed && !SeekExact(branches, end)) {
        SeekExact(farEnds, end);
        FarEndRec(farEnds->Record()).SetBranchKey(key);
        farEnds->MarkModifiedAndFlush();
        branches->GoTo(n);
        continue;
      }
    } else if (!SeekExact(branches, end)) {
      farEnds->Insert(end);
      if (farEnds->Status() == kStatusOk) {
        FarEndRec(farEnds->Record()).SetBranchKey(key);
        farEnds->MarkModifiedAndFlush();
      }
      branches->GoTo(n);
      continue;
    }
    const std::int32_t moved = FreeSlotKey(NodeOfKey(end));
    if (moved != 0) {
      farEnds->Insert(moved);
      if (farEnds->Status() == kStatusOk) {
        FarEndRec(farEnds->Record()).SetBranchKey(key);
        farEnds->MarkModifiedAndFlush();
      }
    }
    branches->GoTo(n);
    if (branches->Status() != kStatusOk) break;
    BranchRec(branches->Record()).SetKeyEnd(moved);
    branches->MarkModifiedAndFlush();
  }

  // 2. Far ends whose branch is gone or ends elsewhere.
  for (int n = 1; n <= farEnds->Count(); ++n) {
    farEnds->GoTo(n);
    if (farEnds->Status() != kStatusOk) break;
    const std::int32_t key = farEnds->Key();
    const std::int32_t holder = FarEndRec(farEnds->Record()).BranchKey();
    const bool sound = SeekExact(branches, holder) && BranchRec(branches->Record()).KeyEnd() == key;
    if (sound) continue;
    farEnds->GoTo(n);
    farEnds->Delete();
    StepBack(n);
  }

  // 3. Objects give their branch its kind; objects without a branch go.
  tbClass* drawings = OpenSchemeTable(kXYBranchTable);
  for (const ObjectKind& kind : ObjectKinds()) {
    tbClass* objects = OpenObjectTable(kind.code);
    if (objects == nullptr) continue;
    for (int n = 1; n <= objects->Count(); ++n) {
      objects->GoTo(n);
      if (objects->Status() != kStatusOk) break;
      const std::int32_t key = objects->Key();
      if (SeekExact(branches, key)) {
        BranchRec branch(branches->Record());
        // An object left by a deleted branch of another kind, while the
        // branch has its own object: the stale one goes.
        if (branch.Kind() != kind.code) {
          tbClass* own = OpenObjectTable(branch.Kind());
          if (own != nullptr && own != objects && SeekExact(own, key)) {
            objects->GoTo(n);
            objects->Delete();
            StepBack(n);
            continue;
          }
          SeekExact(branches, key);
          branch = BranchRec(branches->Record());
        }
        if (branch.Kind() != kind.code) {
          branch.SetKind(static_cast<std::uint8_t>(kind.code));
          branches->MarkModifiedAndFlush();
        }
        if (SeekExact(drawings, key)) {
          XYBranchRec drawing(drawings->Record());
          if (drawing.ObjType() != kind.code) {
            drawing.SetObjType(static_cast<std::uint8_t>(kind.code));
            drawings->MarkModifiedAndFlush();
          }
        }
        continue;
      }
      objects->GoTo(n);
      objects->Delete();
      RemoveBranchDrawing(key);
      StepBack(n);
    }
  }

  // 4. Elements the scheme does not show.
  tbClass* positions = OpenSchemeTable(kXYNodeTable);
  std::vector<std::int32_t> hiddenBranches;
  std::vector<int> hiddenNodes;
  for (int n = 1; n <= branches->Count(); ++n) {
    branches->GoTo(n);
    if (branches->Status() != kStatusOk) break;
    const std::int32_t key = branches->Key();
    if (!SeekExact(drawings, key)) hiddenBranches.push_back(key);
  }
  for (int n = 1; n <= nodes->Count(); ++n) {
    nodes->GoTo(n);
    if (nodes->Status() != kStatusOk) break;
    const int node = nodes->Key();
    if (!SeekExact(positions, node)) hiddenNodes.push_back(node);
  }
  if (!hiddenBranches.empty() || !hiddenNodes.empty()) {
    // A model without a scheme (built by import or in the tables) has every
    // element hidden: deleting them is deleting the network, and the
    // question says so instead of offering it as a routine clean-up.
    const bool wholeNetwork = static_cast<int>(hiddenBranches.size()) == branches->Count() &&
                              static_cast<int>(hiddenNodes.size()) == nodes->Count();
    const std::string question =
        wholeNetwork ? "На схеме нет ни одного узла и ни одной ветви.#Удаление невидимых "
                       "объектов удалит всю сеть: узлов " +
                           Num(hiddenNodes.size()) + ", ветвей " + Num(hiddenBranches.size()) +
                           ".#Удалить всю сеть?"
                     : "Имеются невидимые объекты! (" + Num(hiddenNodes.size()) + "и" +
                           Num(hiddenBranches.size()) + ")#Выполнить их удаление?";
    if (Ui().AskYesNoSafe("Восстановление", question) == kAnswerYes) {
      for (const std::int32_t key : hiddenBranches) DeleteBranch(key, 0);
      for (const int node : hiddenNodes) {
        if (NodeExists(node) && !NodeHasBranches(node)) DeleteNode(node);
      }
    }
  }

  Ui().ShowInfo("Восстановление БДМ", "Восстановление выполнено");
  BuildDesignations();
  Refresh(RefreshSender::None, 2);
}

}  // namespace kordavelt
