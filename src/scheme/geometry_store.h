#pragma once

// Reading the scheme geometry for a redraw and writing back what its check
// repaired. Reading walks every XYNode and XYBranch record once, checks it
// (branch_check.h) and keeps what can be drawn; nothing is written while the
// scheme is drawn. After painting, the window writes the repairs with
// SaveRepairs and shows the log's reports.

#include <cstdint>
#include <vector>

#include "scheme/branch_check.h"
#include "scheme/scheme_geometry.h"

namespace kordavelt {

class tbClass;

struct CheckedGeometry {
  // Every record that can be drawn, repaired where needed, in table order,
  // whatever its subscheme.
  std::vector<NodeGeometry> nodes;
  std::vector<BranchGeometry> branches;
  // Indices into the lists above of the records the check repaired.
  std::vector<std::size_t> repairedNodes;
  std::vector<std::size_t> repairedBranches;
  // Record numbers of the records under key 0, to be deleted.
  std::vector<std::int32_t> droppedNodeRecords;
  std::vector<std::int32_t> droppedBranchRecords;

  bool HasRepairs() const {
    return !repairedNodes.empty() || !repairedBranches.empty() || !droppedNodeRecords.empty() ||
           !droppedBranchRecords.empty();
  }
};

// Reads and checks every record of the XYNode and XYBranch tables (either
// may be null: no records).
CheckedGeometry ReadGeometry(tbClass* xyNodes, tbClass* xyBranches, RepairLog& log);

// Writes the repaired records back and deletes the dropped ones. A record
// is touched only while it still holds the key it was read under; the
// number of records written or deleted.
int SaveRepairs(tbClass* xyNodes, tbClass* xyBranches, const CheckedGeometry& geometry);

}  // namespace kordavelt
