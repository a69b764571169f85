// The drawing lists of a page. Guards against elements of another page
// drawn on this one, extents that forget what is scrolled out of view (the
// scroll bars could then not reach it) and a fixed cap that silently drops
// elements of a large page.

#include "scheme/drawing_lists.h"

#include <gtest/gtest.h>

#include "scheme_test_geometry.h"

namespace kordavelt {
namespace {

using testing::Branch;
using testing::Node;

TEST(DrawingLists, OnlyThePagesElementsInViewAreListedButAllCountForTheExtents) {
  const std::vector<NodeGeometry> nodes = {Node(1, 0, 0, 10), Node(2, 500, 40, 6, true),
                                           Node(3, -900, -900, 3, false, 2)};
  std::vector<BranchGeometry> branches = {Branch(257, {2, 0, 8}), Branch(513, {0, 40, 500})};
  branches.push_back(Branch(769, {-5, -5, 5}));
  branches.back().page = 2;

  const DrawingLists lists = BuildDrawingLists(nodes, branches, 1, GridRect{-10, -10, 100, 30});
  EXPECT_EQ(lists.nodes, std::vector<std::size_t>{0});
  EXPECT_EQ(lists.branches, (std::vector<std::size_t>{0}));
  EXPECT_EQ(lists.extents, (GridRect{0, 0, 500, 46}));

  const DrawingLists second = BuildDrawingLists(nodes, branches, 2, GridRect{-1000, -1000, 0, 0});
  EXPECT_EQ(second.nodes, std::vector<std::size_t>{2});
  EXPECT_EQ(second.branches, std::vector<std::size_t>{2});
}

TEST(DrawingLists, APageHoldsMoreElementsThanTheOldFixedLists) {
  std::vector<NodeGeometry> nodes;
  std::vector<BranchGeometry> branches;
  for (int i = 0; i < 32000; ++i) {
    nodes.push_back(Node(i + 1, i % 200, i / 200, 2));
    branches.push_back(Branch(256 * (i + 1) + 1, {i % 200, i / 200, i % 200 + 1}));
  }
  const DrawingLists lists =
      BuildDrawingLists(nodes, branches, 1, GridRect{kGridMin, kGridMin, kGridMax, kGridMax});
  EXPECT_EQ(lists.nodes.size(), 32000u);
  EXPECT_EQ(lists.branches.size(), 32000u);
}

}  // namespace
}  // namespace kordavelt
