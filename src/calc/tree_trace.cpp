// Tracing the radial tree of one power source into the TreeList.

#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "calc/calc_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "ui/ui_host.h"

namespace kordavelt {

std::string CalcClass::SourceName(int source) {
  tbClass* sources = model_.Sources();
  if (source <= 0 || !modelClass::SeekExact(sources, source)) return {};
  return SourceRec(sources->Record()).Marking();
}

void CalcClass::CollectChildren(const TopologyIndex& topology, int node, std::int32_t entered,
                                std::vector<Child>& keys) {
  const std::uint16_t on = static_cast<std::uint16_t>(1u << model_.Regime());
  const std::int32_t skip = std::abs(entered);

  // Branches starting here, in slot order.
  for (const TopologyIndex::Branch& branch : topology.Leaving(node)) {
    if (branch.key != skip && (branch.status & on) != 0) {
      keys.push_back({branch.key, branch.record, branch.keyEnd, branch.kind, branch.phase});
    }
  }
  // Branches ending here, found through the far ends.
  for (const std::int32_t key : topology.Arriving(node)) {
    if (key <= 0 || key == skip) continue;
    const TopologyIndex::Branch* branch = topology.Find(key);
    if (branch != nullptr && (branch->status & on) != 0) {
      keys.push_back({-key, branch->record, branch->keyEnd, branch->kind, branch->phase});
    }
  }
}

bool CalcClass::RefuseTree(const std::string& why) {
  model_.Ui().ShowError(kCaptionNetwork, "Дерево от ИП № " + std::to_string(tracedSource_) + " " +
                                             why + "#Расчет остановлен");
  count_ = 0;
  return false;
}

CalcClass::Taken CalcClass::TakeBranch(const TopologyIndex& topology, const Child& child,
                                       int fromNode, int level, int& nextNode) {
  if (child.record < 1 || child.record > modelClass::kMaxRecords) return Taken::SectionEnd;
  ++count_;
  TreeEntry& entry = tree_[count_];
  entry = {};
  entry.record = child.record;
  entry.fromNode = fromNode;
  entry.keyEnd = child.keyEnd;
  entry.signedKey = child.signedKey;
  entry.level = static_cast<std::uint16_t>(level);
  entry.kind = child.kind;
  entry.flags = child.flags;

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
  const int record = topology.NodeRecord(next);
  if (record == 0) return Taken::SectionEnd;
  entry.toNode = next;
  entry.toNodeVoltage = topology.NodeVoltage(next);
  if (visited_[record] != 0) {
    model_.Ui().ShowError(kCaptionNetwork,
                          "Участок замкнут#Узел № " + std::to_string(next) + " в кольце");
    return Taken::Failed;
  }
  visited_[record] = 1;
  entry.toRecord = record;
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

  // A calculation run reads the connections once for all its sources.
  if (!topologyHeld_) topology_.Build(model_);
  const TopologyIndex& topology = topology_;

  const TopologyIndex::Branch* ownBranch = own < 0 ? nullptr : topology.Find(own);
  if (ownBranch == nullptr) {
    // The source's branch is gone: the source is no longer placed.
    if (modelClass::SeekExact(sources, source)) {
      SourceRec(sources->Record()).SetBranchKey(0);
      sources->MarkModifiedAndFlush();
    }
    return false;
  }
  if ((ownBranch->status & (1u << model_.Regime())) == 0) {
    AppendProtocol("ИП отключен; ");
    return false;
  }
  sourceBranch_ = own;
  // The tree is walked first and written into the model afterwards: a tree
  // beyond the limits is refused before anything is changed.
  const bool walked = WalkTree(topology);
  if (count_ > 0) WriteTree();
  return walked;
}

// The walk proper: depth-first preorder into tree_, levels growing where a
// node has two or more children.
bool CalcClass::WalkTree(const TopologyIndex& topology) {
  const TopologyIndex::Branch& ownBranch = *topology.Find(sourceBranch_);
  const std::int32_t own = ownBranch.key;
  // The source's own branch is element 1; its start node is the root.
  const int root = NodeOfKey(own);
  const Child first{own, ownBranch.record, ownBranch.keyEnd, ownBranch.kind, ownBranch.phase};
  if (first.record < 1 || first.record > modelClass::kMaxRecords) return false;
  count_ = 1;
  deepest_ = 1;
  tree_[1] = {};
  tree_[1].record = first.record;
  tree_[1].fromNode = root;
  tree_[1].toNode = root;
  tree_[1].keyEnd = first.keyEnd;
  tree_[1].signedKey = own;
  tree_[1].level = 1;
  tree_[1].kind = first.kind;
  tree_[1].flags = first.flags;
  rootRecord_ = topology.NodeRecord(root);
  if (rootRecord_ != 0) {
    tree_[1].toNodeVoltage = topology.NodeVoltage(root);
    visited_[rootRecord_] = 1;
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
      CollectChildren(topology, node, keys[cursor[level]].signedKey, keys);
      if (keys.size() > static_cast<std::size_t>(kKeyListSize)) return RefuseTree("слишком велико");
      const int children = static_cast<int>(keys.size()) - mark;
      tree_[count_].endOfSection = 0;
      if (children == 0) {
        tree_[count_].endOfSection = 1;
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
      switch (TakeBranch(topology, keys[cursor[level]], node, level, next)) {
        case Taken::Failed:
          return false;
        case Taken::SectionEnd:
          tree_[count_].endOfSection = 1;
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

// The walked elements into their records, and each node reached to the
// element that feeds it.
void CalcClass::WriteTree() {
  for (int i = 1; i <= count_; ++i) {
    const TreeEntry& entry = tree_[i];
    ElementRec& element = *model_.Element(entry.record);
    element.signedKey = entry.signedKey;
    element.kind = entry.kind;
    element.branchFlags = entry.flags;
    element.level = entry.level;
    element.endOfSection = entry.endOfSection;
  }
  if (rootRecord_ != 0) model_.SetNodeFeeder(rootRecord_, tree_[1].record);
  for (int i = 2; i <= count_; ++i) {
    if (tree_[i].toRecord != 0) model_.SetNodeFeeder(tree_[i].toRecord, tree_[i].record);
  }
}

}  // namespace kordavelt
