#include "scheme/drawing_lists.h"

#include "scheme/branch_path.h"

namespace kordavelt {

GridRect BranchBounds(const BranchGeometry& branch) { return BranchPath::Of(branch).Bounds(); }

DrawingLists BuildDrawingLists(std::span<const NodeGeometry> nodes,
                               std::span<const BranchGeometry> branches, int page,
                               const GridRect& visible) {
  DrawingLists lists;
  lists.page = page;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i].page != page) continue;
    const GridRect bounds = nodes[i].Bounds();
    lists.extents.Include(bounds);
    if (bounds.Intersects(visible)) lists.nodes.push_back(i);
  }
  for (std::size_t i = 0; i < branches.size(); ++i) {
    if (branches[i].page != page) continue;
    const GridRect bounds = BranchBounds(branches[i]);
    lists.extents.Include(bounds);
    if (bounds.Intersects(visible)) lists.branches.push_back(i);
  }
  return lists;
}

}  // namespace kordavelt
