#pragma once

// The connections of a model in memory, for tracing source trees: the
// branches leaving each node in key order, the branches ending at each node
// in the order of their far ends, and each node's record number and stored
// voltage level. It is read from the branch, far-end and node tables in one
// pass each, so that the trace asks no table for anything: a calculation
// reads it once and every source of the run walks it.
//
// It holds while the topology stands still. A calculation changes only the
// nodes' voltage levels, and writes them through SetNodeVoltage as well.
//
//   const TopologyIndex topology(model);
//   for (const TopologyIndex::Branch& b : topology.Leaving(node)) ...

#include <cstdint>
#include <span>
#include <vector>

namespace kordavelt {

class modelClass;

class TopologyIndex {
 public:
  // A branch record as the trace reads it.
  struct Branch {
    std::int32_t key = 0;
    std::int32_t keyEnd = 0;
    int record = 0;  // record number in the branch table
    std::uint16_t status = 0;
    std::uint8_t kind = 0;
    std::uint8_t phase = 0;
  };

  // Nothing read yet; Build reads a model.
  TopologyIndex() = default;
  explicit TopologyIndex(modelClass& model);

  // Reads the model's tables anew into the tables of the last reading.
  void Build(modelClass& model);

  // The branches whose key lies within node's slots, in key order.
  std::span<const Branch> Leaving(int node) const;
  // The branch keys the far ends of `node` name, in far-end key order.
  std::span<const std::int32_t> Arriving(int node) const;
  // The first branch with `key`; null when there is none.
  const Branch* Find(std::int32_t key) const;

  // The record number of node `node` in the node table (1 … 32767); 0 when
  // the node has no record.
  int NodeRecord(int node) const;
  // The voltage-level index the node's record holds.
  std::uint8_t NodeVoltage(int node) const;
  void SetNodeVoltage(int node, std::uint8_t index);

  // Records read: branches, far ends, nodes.
  int BranchCount() const { return static_cast<int>(branches_.size()); }

 private:
  // The place of a node in the per-node tables; −1 for a node nothing names.
  int Slot(int node) const;

  std::vector<Branch> branches_;
  std::vector<std::int32_t> farKeys_;   // far-end keys in table order
  std::vector<std::int32_t> arriving_;  // the branch key of each far end
  // Per node slot: where its branches and far ends begin (one more entry
  // closes the last), its record and voltage level.
  std::vector<int> leavingBegin_;
  std::vector<int> arrivingBegin_;
  std::vector<int> nodeRecords_;
  std::vector<std::uint8_t> nodeVoltages_;
  int slots_ = 0;
  // Node numbers of the slots when they are not the slots themselves (a
  // model numbered far beyond its size), ascending; empty otherwise.
  std::vector<int> sparseNodes_;
};

}  // namespace kordavelt
