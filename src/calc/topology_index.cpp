#include "calc/topology_index.h"

#include <algorithm>
#include <utility>

#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

// Node numbers up to this many beyond the records read are kept in tables
// by number; a model numbered more sparsely looks its nodes up.
constexpr long long kDenseNodesBeyondRecords = 65536;

// Visits every record of `table` in key order with its position hook set
// aside: standing on a far end would position the branch table, and a
// reading pass wants nothing moved but itself.
template <class Visit>
void ReadAll(tbClass* table, Visit&& visit) {
  if (table == nullptr) return;
  struct HookAside {
    tbClass& table;
    tbClass::PositionHook hook;
    explicit HookAside(tbClass& t) : table(t) { std::swap(hook, table.OnPosition); }
    ~HookAside() { std::swap(hook, table.OnPosition); }
    HookAside(const HookAside&) = delete;
    HookAside& operator=(const HookAside&) = delete;
  } aside(*table);
  table->GoTo(0);
  while (table->Next()) {
    if (!table->Record().empty()) visit(*table);
  }
}

// Per-slot begin offsets of a list whose entries come in slot order; slots
// without entries begin where the next one does.
template <class SlotOf>
void Begins(std::vector<int>& begin, int slots, int count, SlotOf&& slotOf) {
  begin.assign(static_cast<std::size_t>(slots) + 1, 0);
  int i = 0;
  for (int slot = 0; slot <= slots; ++slot) {
    while (i < count && slotOf(i) < slot) ++i;
    begin[static_cast<std::size_t>(slot)] = i;
  }
}

}  // namespace

TopologyIndex::TopologyIndex(modelClass& model) { Build(model); }

void TopologyIndex::Build(modelClass& model) {
  branches_.clear();
  farKeys_.clear();
  arriving_.clear();
  sparseNodes_.clear();
  // Keys below zero name no node the trace can reach: they are not kept.
  ReadAll(model.Branches(), [this](tbClass& table) {
    if (table.Key() < 0) return;
    const BranchRec branch(table.Record());
    branches_.push_back({table.Key(), branch.KeyEnd(), static_cast<int>(table.RecordNumber()),
                         branch.Status(), branch.Kind(), branch.Phase()});
  });
  ReadAll(model.FarEnds(), [this](tbClass& table) {
    if (table.Key() < 0) return;
    farKeys_.push_back(table.Key());
    arriving_.push_back(FarEndRec(table.Record()).BranchKey());
  });
  struct NodeRead {
    int node;
    int record;
    std::uint8_t voltage;
  };
  std::vector<NodeRead> nodes;
  ReadAll(model.Nodes(), [&nodes](tbClass& table) {
    if (table.Key() < 0) return;
    const int record = static_cast<int>(table.RecordNumber());
    nodes.push_back({table.Key(), record >= 1 && record <= modelClass::kMaxRecords ? record : 0,
                     NodeRec(table.Record()).Unom()});
  });

  int largest = 0;
  if (!branches_.empty()) largest = std::max(largest, NodeOfKey(branches_.back().key));
  if (!farKeys_.empty()) largest = std::max(largest, NodeOfKey(farKeys_.back()));
  if (!nodes.empty()) largest = std::max(largest, nodes.back().node);
  const long long records =
      static_cast<long long>(branches_.size() + farKeys_.size() + nodes.size());
  slots_ = largest + 1;
  if (largest > records + kDenseNodesBeyondRecords) {
    for (const Branch& b : branches_) sparseNodes_.push_back(NodeOfKey(b.key));
    for (const std::int32_t key : farKeys_) sparseNodes_.push_back(NodeOfKey(key));
    for (const NodeRead& n : nodes) sparseNodes_.push_back(n.node);
    std::sort(sparseNodes_.begin(), sparseNodes_.end());
    sparseNodes_.erase(std::unique(sparseNodes_.begin(), sparseNodes_.end()), sparseNodes_.end());
    slots_ = static_cast<int>(sparseNodes_.size());
  }
  const int slots = slots_;

  Begins(leavingBegin_, slots, static_cast<int>(branches_.size()),
         [this](int i) { return Slot(NodeOfKey(branches_[i].key)); });
  Begins(arrivingBegin_, slots, static_cast<int>(farKeys_.size()),
         [this](int i) { return Slot(NodeOfKey(farKeys_[i])); });
  nodeRecords_.assign(static_cast<std::size_t>(slots), 0);
  nodeVoltages_.assign(static_cast<std::size_t>(slots), 0);
  std::vector<bool> seen(static_cast<std::size_t>(slots), false);
  for (const NodeRead& n : nodes) {
    const int slot = Slot(n.node);
    // A key read twice: the first record stands, as a search finds it.
    if (slot < 0 || seen[static_cast<std::size_t>(slot)]) continue;
    seen[static_cast<std::size_t>(slot)] = true;
    nodeRecords_[static_cast<std::size_t>(slot)] = n.record;
    nodeVoltages_[static_cast<std::size_t>(slot)] = n.voltage;
  }
}

int TopologyIndex::Slot(int node) const {
  if (node < 0) return -1;
  if (sparseNodes_.empty()) return node < slots_ ? node : -1;
  const auto found = std::lower_bound(sparseNodes_.begin(), sparseNodes_.end(), node);
  if (found == sparseNodes_.end() || *found != node) return -1;
  return static_cast<int>(found - sparseNodes_.begin());
}

std::span<const TopologyIndex::Branch> TopologyIndex::Leaving(int node) const {
  const int slot = Slot(node);
  if (slot < 0) return {};
  const auto s = static_cast<std::size_t>(slot);
  return std::span<const Branch>(branches_).subspan(
      static_cast<std::size_t>(leavingBegin_[s]),
      static_cast<std::size_t>(leavingBegin_[s + 1] - leavingBegin_[s]));
}

std::span<const std::int32_t> TopologyIndex::Arriving(int node) const {
  const int slot = Slot(node);
  if (slot < 0) return {};
  const auto s = static_cast<std::size_t>(slot);
  return std::span<const std::int32_t>(arriving_).subspan(
      static_cast<std::size_t>(arrivingBegin_[s]),
      static_cast<std::size_t>(arrivingBegin_[s + 1] - arrivingBegin_[s]));
}

const TopologyIndex::Branch* TopologyIndex::Find(std::int32_t key) const {
  if (key < 0) return nullptr;
  for (const Branch& branch : Leaving(NodeOfKey(key))) {
    if (branch.key == key) return &branch;
  }
  return nullptr;
}

int TopologyIndex::NodeRecord(int node) const {
  const int slot = node > 0 ? Slot(node) : -1;
  return slot < 0 ? 0 : nodeRecords_[static_cast<std::size_t>(slot)];
}

std::uint8_t TopologyIndex::NodeVoltage(int node) const {
  const int slot = node > 0 ? Slot(node) : -1;
  return slot < 0 ? 0 : nodeVoltages_[static_cast<std::size_t>(slot)];
}

void TopologyIndex::SetNodeVoltage(int node, std::uint8_t index) {
  const int slot = node > 0 ? Slot(node) : -1;
  if (slot >= 0) nodeVoltages_[static_cast<std::size_t>(slot)] = index;
}

}  // namespace kordavelt
