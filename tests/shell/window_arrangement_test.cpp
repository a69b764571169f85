// "&Размещение окон": children out of the client area come back inside.
// A wrong shift direction or a lost size would leave a window out of reach
// or change one the user had placed well.

#include "shell/window_arrangement.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

constexpr Rect kArea{0, 0, 800, 600};

TEST(WindowArrangementTest, AChildInsideStaysWhereItIs) {
  std::vector<Rect> children = {{10, 20, 300, 200}, {0, 0, 800, 600}};
  ArrangeInside(children, kArea);
  EXPECT_EQ(children[0], (Rect{10, 20, 300, 200}));
  EXPECT_EQ(children[1], kArea);
}

TEST(WindowArrangementTest, AChildSticksOutOnAnySideIsMovedBackKeepingItsSize) {
  std::vector<Rect> children = {
      {700, 500, 900, 700},  // right and bottom
      {-50, -30, 150, 170},  // left and top
      {100, 550, 300, 650},  // bottom only
  };
  ArrangeInside(children, kArea);
  EXPECT_EQ(children[0], (Rect{600, 400, 800, 600}));
  EXPECT_EQ(children[1], (Rect{0, 0, 200, 200}));
  EXPECT_EQ(children[2], (Rect{100, 500, 300, 600}));
}

TEST(WindowArrangementTest, AChildLargerThanTheAreaIsShrunkToItInThatDirection) {
  std::vector<Rect> children = {{300, 100, 1300, 300}, {-10, -10, 900, 700}};
  const Rect area{0, 40, 800, 580};  // below the toolbar, above the status bar
  ArrangeInside(children, area);
  EXPECT_EQ(children[0], (Rect{0, 100, 800, 300}));
  EXPECT_EQ(children[1], area);
}

}  // namespace
}  // namespace kordavelt
