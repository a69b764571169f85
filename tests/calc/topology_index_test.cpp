// The connections the trace walks, read once instead of sought node by node.
// The faults guarded: a branch of the neighbouring node's slots taken for
// one of this node's (or one of its own missed), far ends out of their
// order, a branch found by key in the wrong record, a node's level that does
// not follow what the calculation writes, and a model numbered far beyond its
// size, whose nodes must still be found. The tables themselves, sought as the
// trace once sought them, are the reference.

#include "calc/topology_index.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "model/model_builder.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "storage/tb_class.h"

namespace kordavelt::testing {
namespace {

struct Seen {
  std::vector<std::int32_t> leaving;  // keys
  std::vector<int> records;
  std::vector<std::uint16_t> statuses;
  std::vector<std::int32_t> arriving;
  int nodeRecord = 0;

  bool operator==(const Seen&) const = default;
};

// What the tables say about `node`, sought key by key.
Seen FromTables(modelClass& model, int node) {
  Seen seen;
  tbClass* branches = model.Branches();
  branches->Seek(BranchKey(node, 0));
  while (branches->Status() <= kStatusGreater && !branches->Record().empty() &&
         NodeOfKey(branches->Key()) == node) {
    seen.leaving.push_back(branches->Key());
    seen.records.push_back(branches->RecordNumber());
    seen.statuses.push_back(BranchRec(branches->Record()).Status());
    if (!branches->Next()) break;
  }
  tbClass* farEnds = model.FarEnds();
  farEnds->Seek(BranchKey(node, 0));
  while (farEnds->Status() <= kStatusGreater && !farEnds->Record().empty() &&
         NodeOfKey(farEnds->Key()) == node) {
    seen.arriving.push_back(FarEndRec(farEnds->Record()).BranchKey());
    if (!farEnds->Next()) break;
  }
  if (node > 0 && modelClass::SeekExact(model.Nodes(), node)) {
    seen.nodeRecord = model.Nodes()->RecordNumber();
  }
  return seen;
}

Seen FromIndex(const TopologyIndex& index, int node) {
  Seen seen;
  for (const TopologyIndex::Branch& b : index.Leaving(node)) {
    seen.leaving.push_back(b.key);
    seen.records.push_back(b.record);
    seen.statuses.push_back(b.status);
  }
  for (const std::int32_t key : index.Arriving(node)) seen.arriving.push_back(key);
  seen.nodeRecord = index.NodeRecord(node);
  return seen;
}

// A mesh of boards joined both ways, several branches per node, some
// switched off, a node with nothing connected, and a source.
std::vector<int> BuildMesh(ModelBuilder& m, std::vector<int> nodes) {
  if (nodes.empty()) nodes = {m.Node(), m.Node(), m.Node(), m.Node(), m.Node(), m.Node()};
  const int count = static_cast<int>(nodes.size());
  m.Source(nodes[0], "Т1");
  for (int i = 0; i + 1 < count; ++i) {
    m.Cable(nodes[i], nodes[i + 1]);
    if (i % 2 == 0) m.Branch(kKindBreaker, nodes[i + 1], nodes[i]);  // against the flow
  }
  m.Cable(nodes[count - 1], nodes[1]);
  const std::int32_t off = m.Cable(nodes[2], nodes[count - 2]);
  m.SetStatus(off, 0xFE);
  m.Branch(kKindReceiver, nodes[3]);  // leads nowhere
  nodes.push_back(m.Node());          // nothing connected
  return nodes;
}

void ExpectTheTablesView(ModelBuilder& m, const std::vector<int>& nodes) {
  const TopologyIndex index(m.model);
  for (const int node : nodes) {
    for (const int probe : {node - 1, node, node + 1}) {
      EXPECT_EQ(FromIndex(index, probe), FromTables(m.model, probe)) << "node " << probe;
    }
    for (const std::int32_t key : FromTables(m.model, node).leaving) {
      const TopologyIndex::Branch* found = index.Find(key);
      ASSERT_NE(found, nullptr) << key;
      ASSERT_TRUE(modelClass::SeekExact(m->Branches(), key));
      EXPECT_EQ(found->record, m->Branches()->RecordNumber());
      EXPECT_EQ(found->keyEnd, BranchRec(m->Branches()->Record()).KeyEnd());
      EXPECT_EQ(found->kind, BranchRec(m->Branches()->Record()).Kind());
    }
    EXPECT_EQ(index.Find(BranchKey(node, kMaxSlot)), nullptr);
  }
  EXPECT_EQ(index.NodeRecord(0), 0);
}

TEST(TopologyIndex, EachNodeSeesTheBranchesAndFarEndsTheTablesHoldInTheirOrder) {
  ModelBuilder m;
  ExpectTheTablesView(m, BuildMesh(m, {}));
}

TEST(TopologyIndex, NodesNumberedFarBeyondTheModelAreFoundAllTheSame) {
  ModelBuilder m;
  m->Settings().SetMaxNodeNumber(kLargestKeyedNode);
  std::vector<int> nodes;
  for (const int number : {12, 3'000'000, 3'000'001, 5'000'000, 7'999'999, 8'000'000}) {
    m->Nodes()->Insert(number);
    m->Nodes()->MarkModifiedAndFlush();
    nodes.push_back(number);
  }
  ExpectTheTablesView(m, BuildMesh(m, nodes));
}

TEST(TopologyIndex, AVoltageLevelWrittenThroughIsReadBack) {
  ModelBuilder m;
  const int n1 = m.Node(), n2 = m.Node();
  m.Cable(n1, n2);
  ASSERT_TRUE(modelClass::SeekExact(m->Nodes(), n2));
  NodeRec(m->Nodes()->Record()).SetUnom(2);
  m->Nodes()->MarkModifiedAndFlush();

  TopologyIndex index(m.model);
  EXPECT_EQ(index.NodeVoltage(n2), 2);
  index.SetNodeVoltage(n2, 4);
  EXPECT_EQ(index.NodeVoltage(n2), 4);
  EXPECT_EQ(index.NodeVoltage(n1), 0);
  index.SetNodeVoltage(n2 + 100, 4);  // no such node: nothing to keep
  EXPECT_EQ(index.NodeRecord(n2 + 100), 0);
}

}  // namespace
}  // namespace kordavelt::testing
