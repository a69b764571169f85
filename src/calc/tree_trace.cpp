// Tracing the radial tree of one power source into the TreeList.

#include <cstdlib>
#include <utility>

#include "calc/calc_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "ui/ui_host.h"

namespace kordavelt {

namespace {

bool Readable(const tbClass& table) {
  return (table.Status() == kStatusOk || table.Status() == kStatusGreater) &&
         !table.Record().empty();
}

// Sets a table's position hook aside for a scope. Standing on a far end
// makes the model position the branch table on its branch; the trace reads
// the branches it needs itself, and with the hook every far end walked would
// cost a seek in the branch table and move it off the page read next.
class PositionHookAside {
 public:
  explicit PositionHookAside(tbClass* table) : table_(table) {
    if (table_ != nullptr) std::swap(hook_, table_->OnPosition);
  }
  ~PositionHookAside() {
    if (table_ != nullptr) std::swap(hook_, table_->OnPosition);
  }
  PositionHookAside(const PositionHookAside&) = delete;
  PositionHookAside& operator=(const PositionHookAside&) = delete;

 private:
  tbClass* table_;
  tbClass::PositionHook hook_;
};

}  // namespace

int CalcClass::NodeRecord(int node) {
  tbClass* nodes = model_.Nodes();
  if (node <= 0 || !modelClass::SeekExact(nodes, node)) return 0;
  const int record = nodes->RecordNumber();
  return record >= 1 && record <= modelClass::kMaxRecords ? record : 0;
}

std::int16_t CalcClass::NodeVoltageIndex() { return NodeRec(model_.Nodes()->Record()).Unom(); }

std::string CalcClass::SourceName(int source) {
  tbClass* sources = model_.Sources();
  if (source <= 0 || !modelClass::SeekExact(sources, source)) return {};
  return SourceRec(sources->Record()).Marking();
}

void CalcClass::CollectChildren(int node, std::int32_t entered, std::vector<Child>& keys) {
  tbClass* branches = model_.Branches();
  tbClass* farEnds = model_.FarEnds();
  const std::uint16_t on = static_cast<std::uint16_t>(1u << model_.Regime());
  const std::int32_t skip = std::abs(entered);

  // Branches starting here, in slot order.
  branches->Seek(BranchKey(node, 0));
  while (Readable(*branches) && NodeOfKey(branches->Key()) == node) {
    const BranchRec branch(branches->Record());
    if (branches->Key() != skip && (branch.Status() & on) != 0) {
      keys.push_back({branches->Key(), static_cast<int>(branches->RecordNumber()), branch.KeyEnd(),
                      branch.Kind(), branch.Phase()});
    }
    if (!branches->Next()) break;
  }

  // Branches ending here, found through the far ends.
  const PositionHookAside quiet(farEnds);
  farEnds->Seek(BranchKey(node, 0));
  while (Readable(*farEnds) && NodeOfKey(farEnds->Key()) == node) {
    const std::int32_t key = FarEndRec(farEnds->Record()).BranchKey();
    if (key > 0 && key != skip && modelClass::SeekExact(branches, key)) {
      const BranchRec branch(branches->Record());
      if ((branch.Status() & on) != 0) {
        keys.push_back({-key, static_cast<int>(branches->RecordNumber()), branch.KeyEnd(),
                        branch.Kind(), branch.Phase()});
      }
    }
    if (!farEnds->Next()) break;
  }
}

bool CalcClass::RefuseTree(const std::string& why) {
  model_.Ui().ShowError(kCaptionNetwork, "Дерево от ИП № " + std::to_string(tracedSource_) + " " +
                                             why + "#Расчет остановлен");
  count_ = 0;
  return false;
}

CalcClass::Taken CalcClass::TakeBranch(const Child& child, int fromNode, int level, int& nextNode) {
  if (child.record < 1 || child.record > modelClass::kMaxRecords) return Taken::SectionEnd;
  ++count_;
  ElementRec& element = *model_.Element(child.record);
  element.signedKey = child.signedKey;
  element.kind = child.kind;
  element.branchFlags = child.flags;
  element.level = static_cast<std::uint16_t>(level);
  element.endOfSection = 0;
  tree_[count_] = {child.record, fromNode, 0, child.keyEnd, child.kind, kUnknownVoltage};

  if (child.kind == kKindPowerSource && child.signedKey > 0) {
    // Another source feeds into this tree.
    std::string name;
    if (tbClass* objects = model_.OpenObjectTable(kKindPowerSource);
        modelClass::SeekExact(objects, child.signedKey)) {
      name = SourceName(SourceObjectRec(objects->Record()).SourceNumber());
    }
    model_.Ui().ShowError(kCaptionNetwork, "Участок имеет второй ИП#(" + name + ")");
    return Taken::Failed;
  }
  const int next = child.signedKey < 0 ? NodeOfKey(-child.signedKey)
                   : child.keyEnd != 0 ? NodeOfKey(child.keyEnd)
                                       : 0;
  if (next == 0) return Taken::SectionEnd;
  const int record = NodeRecord(next);
  if (record == 0) return Taken::SectionEnd;
  tree_[count_].toNode = next;
  tree_[count_].toNodeVoltage = NodeVoltageIndex();
  if (visited_[record] != 0) {
    model_.Ui().ShowError(kCaptionNetwork,
                          "Участок замкнут#Узел № " + std::to_string(next) + " в кольце");
    return Taken::Failed;
  }
  visited_[record] = 1;
  model_.SetNodeFeeder(record, child.record);
  nextNode = next;
  return Taken::Continue;
}

bool CalcClass::TraceTree(int source) {
  count_ = 0;
  deepest_ = 0;
  tracedSource_ = source;
  sourceBranch_ = 0;
  sourceName_.clear();
  sourceVoltageIndex_ = 0;
  UiHost& ui = model_.Ui();
  if (!model_.Usable()) return false;
  if (source == 0) {
    ui.ShowError(kCaptionNotDone, "Участок не подключен к ИП");
    return false;
  }
  visited_.assign(modelClass::kMaxRecords + 1, 0);

  tbClass* sources = model_.Sources();
  if (!modelClass::SeekExact(sources, source)) {
    ui.ShowError(kCaptionNotDone, "Нет ИП!#Это странно!");
    return false;
  }
  SourceRec sourceRec(sources->Record());
  sourceName_ = sourceRec.Marking();
  sourceVoltageIndex_ = sourceRec.VoltageIndex();
  const std::int32_t own = sourceRec.BranchKey();
  if (own == 0) return false;
  tbClass* branches = model_.Branches();
  if (own < 0 || !modelClass::SeekExact(branches, own)) {
    // The source's branch is gone: the source is no longer placed.
    if (modelClass::SeekExact(sources, source)) {
      SourceRec(sources->Record()).SetBranchKey(0);
      sources->MarkModifiedAndFlush();
    }
    return false;
  }
  const BranchRec ownBranch(branches->Record());
  if ((ownBranch.Status() & (1u << model_.Regime())) == 0) {
    AppendProtocol("ИП отключен; ");
    return false;
  }
  sourceBranch_ = own;

  // The source's own branch is element 1; its start node is the root.
  const int root = NodeOfKey(own);
  const Child first{own, static_cast<int>(branches->RecordNumber()), ownBranch.KeyEnd(),
                    ownBranch.Kind(), ownBranch.Phase()};
  if (first.record < 1 || first.record > modelClass::kMaxRecords) return false;
  count_ = 1;
  deepest_ = 1;
  ElementRec& head = *model_.Element(first.record);
  head.signedKey = own;
  head.kind = first.kind;
  head.branchFlags = first.flags;
  head.level = 1;
  head.endOfSection = 0;
  tree_[1] = {first.record, root, root, first.keyEnd, first.kind, kUnknownVoltage};
  if (const int record = NodeRecord(root); record != 0) {
    tree_[1].toNodeVoltage = NodeVoltageIndex();
    visited_[record] = 1;
    model_.SetNodeFeeder(record, first.record);
  }

  // keys holds, per open level, its sibling list; level L's list is
  // keys[begin[L] … end[L]) with the cursor on the branch being walked. The
  // list starts with the negated source branch so that it is not walked back.
  std::vector<Child> keys;
  keys.reserve(1024);
  keys.push_back({-own, first.record, first.keyEnd, first.kind, first.flags});
  std::array<int, kMaxLevel + 2> begin{};
  std::array<int, kMaxLevel + 2> cursor{};
  std::array<int, kMaxLevel + 2> end{};
  std::array<int, kMaxLevel + 2> entryNode{};  // the node a level's siblings start at
  int level = 1;
  begin[1] = cursor[1] = 0;
  end[1] = 1;
  entryNode[1] = root;
  int node = root;
  bool expanding = true;

  while (level >= 1) {
    if (level > deepest_) deepest_ = level;
    bool take = false;
    if (expanding) {
      const int mark = static_cast<int>(keys.size());
      CollectChildren(node, keys[cursor[level]].signedKey, keys);
      if (keys.size() > static_cast<std::size_t>(kKeyListSize)) return RefuseTree("слишком велико");
      const int children = static_cast<int>(keys.size()) - mark;
      Element(count_).endOfSection = 0;
      if (children == 0) {
        Element(count_).endOfSection = 1;
        expanding = false;
      } else if (children == 1) {
        // A series chain continues at the same level.
        keys[cursor[level]] = keys[mark];
        keys.resize(mark);
        take = true;
      } else {
        if (level + 1 > kMaxLevel) {
          return RefuseTree("имеет более " + std::to_string(kMaxLevel) + " уровней ветвления");
        }
        ++level;
        begin[level] = cursor[level] = mark;
        end[level] = static_cast<int>(keys.size());
        entryNode[level] = node;
        take = true;
      }
    }
    if (!expanding) {
      // Backtracking: the next sibling of the deepest level that has one.
      ++cursor[level];
      while (level >= 1 && cursor[level] >= end[level]) {
        keys.resize(begin[level]);
        --level;
        if (level >= 1) ++cursor[level];
      }
      if (level < 1) break;
      node = entryNode[level];
      take = true;
    }
    if (take) {
      if (count_ >= kTreeCapacity) {
        return RefuseTree("содержит более " + std::to_string(kTreeCapacity) + " элементов");
      }
      int next = 0;
      switch (TakeBranch(keys[cursor[level]], node, level, next)) {
        case Taken::Failed:
          return false;
        case Taken::SectionEnd:
          Element(count_).endOfSection = 1;
          expanding = false;
          break;
        case Taken::Continue:
          node = next;
          expanding = true;
          break;
      }
    }
  }
  return true;
}

}  // namespace kordavelt
