#include "scheme/branch_check.h"

#include <utility>

#include "scheme/grid.h"
#include "scheme/path_tidy.h"

namespace kordavelt {
namespace {

// The stub of a path without segments: 3 steps from the first point, back
// the other way where that would leave the grid.
void MakeStub(BranchGeometry& branch) {
  const int first = branch.xy[0];
  branch.xy[2] = static_cast<std::int16_t>(first + 3 <= kGridMax ? first + 3 : first - 3);
  branch.nxy = 1;
}

// Repairs the path; true when anything changed.
bool RepairPath(BranchGeometry& branch) {
  bool repaired = false;
  if (branch.nxy > BranchGeometry::kMaxSegments) {
    branch.nxy = BranchGeometry::kMaxSegments;
    repaired = true;
  }
  while (branch.nxy > 0 && DropZeroFirstSegment(branch)) repaired = true;
  if (branch.nxy == 0) {
    MakeStub(branch);
    repaired = true;
  }
  return repaired;
}

}  // namespace

void RepairLog::Add(std::string text) {
  if (reported_.insert(text).second) pending_.push_back(std::move(text));
}

std::vector<std::string> RepairLog::TakePending() { return std::exchange(pending_, {}); }

CheckOutcome CheckNode(NodeGeometry& node) {
  if (node.key == 0) return CheckOutcome::Dropped;
  if (node.page != 0) return CheckOutcome::Sound;
  node.page = 1;
  return CheckOutcome::Repaired;
}

CheckOutcome CheckBranch(BranchGeometry& branch, RepairLog& log) {
  if (branch.key == 0) {
    log.Add("Ветвь с кодом \"0\" удаляется");
    return CheckOutcome::Dropped;
  }
  bool repaired = false;
  if (branch.page == 0) {
    branch.page = 1;
    repaired = true;
  }
  if (RepairPath(branch)) {
    log.Add("Ветвь с кодом " + std::to_string(branch.key) + " нарисована плохо");
    repaired = true;
  }
  return repaired ? CheckOutcome::Repaired : CheckOutcome::Sound;
}

}  // namespace kordavelt
