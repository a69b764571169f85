#include "scheme/geometry_store.h"

#include <algorithm>
#include <functional>

#include "model/scheme_records.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

// Visits every record of `table` in order.
void ForEachRecord(tbClass* table, const std::function<void(tbClass&)>& visit) {
  if (table == nullptr) return;
  table->GoTo(0);
  while (table->Next()) {
    if (!table->Record().empty()) visit(*table);
  }
}

// Positions `table` on record `number` when it still holds `key`.
bool AtRecord(tbClass* table, std::int32_t number, std::int32_t key) {
  if (table == nullptr || number < 1) return false;
  table->GoTo(number);
  return table->Status() == kStatusOk && !table->Record().empty() && table->Key() == key;
}

int DeleteRecords(tbClass* table, std::vector<std::int32_t> numbers) {
  // From the last record down, so that the numbers still ahead stay valid.
  std::sort(numbers.begin(), numbers.end(), std::greater<>());
  int deleted = 0;
  for (const std::int32_t number : numbers) {
    if (!AtRecord(table, number, 0)) continue;
    table->Delete();
    ++deleted;
  }
  return deleted;
}

}  // namespace

CheckedGeometry ReadGeometry(tbClass* xyNodes, tbClass* xyBranches, RepairLog& log) {
  CheckedGeometry geometry;
  ForEachRecord(xyNodes, [&](tbClass& table) {
    NodeGeometry node = NodeGeometryOf(table.Key(), XYNodeRec(table.Record()));
    node.record = table.RecordNumber();
    const CheckOutcome outcome = CheckNode(node);
    if (outcome == CheckOutcome::Dropped) {
      geometry.droppedNodeRecords.push_back(node.record);
      return;
    }
    if (outcome == CheckOutcome::Repaired) geometry.repairedNodes.push_back(geometry.nodes.size());
    geometry.nodes.push_back(node);
  });
  ForEachRecord(xyBranches, [&](tbClass& table) {
    BranchGeometry branch = BranchGeometryOf(table.Key(), XYBranchRec(table.Record()));
    branch.record = table.RecordNumber();
    const CheckOutcome outcome = CheckBranch(branch, log);
    if (outcome == CheckOutcome::Dropped) {
      geometry.droppedBranchRecords.push_back(branch.record);
      return;
    }
    if (outcome == CheckOutcome::Repaired) {
      geometry.repairedBranches.push_back(geometry.branches.size());
    }
    geometry.branches.push_back(branch);
  });
  return geometry;
}

int SaveRepairs(tbClass* xyNodes, tbClass* xyBranches, const CheckedGeometry& geometry) {
  int saved = 0;
  for (const std::size_t index : geometry.repairedNodes) {
    const NodeGeometry& node = geometry.nodes[index];
    if (!AtRecord(xyNodes, node.record, node.key)) continue;
    XYNodeRec record(xyNodes->Record());
    StoreNodeGeometry(node, record);
    xyNodes->MarkModifiedAndFlush();
    ++saved;
  }
  for (const std::size_t index : geometry.repairedBranches) {
    const BranchGeometry& branch = geometry.branches[index];
    if (!AtRecord(xyBranches, branch.record, branch.key)) continue;
    XYBranchRec record(xyBranches->Record());
    StoreBranchGeometry(branch, record);
    xyBranches->MarkModifiedAndFlush();
    ++saved;
  }
  saved += DeleteRecords(xyNodes, geometry.droppedNodeRecords);
  saved += DeleteRecords(xyBranches, geometry.droppedBranchRecords);
  return saved;
}

}  // namespace kordavelt
