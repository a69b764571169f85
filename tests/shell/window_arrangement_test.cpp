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

// "Oкна каскадом" changed nothing; a cascade must leave every title bar in
// sight and no window beyond the area.
TEST(WindowArrangementTest, CascadeShiftsEachWindowByAStepAndKeepsItInside) {
  std::vector<Rect> children = {{300, 300, 500, 400}, {0, 0, 900, 100}, {50, 50, 250, 750}};
  const Rect area{0, 40, 800, 580};
  Cascade(children, area, 25);
  EXPECT_EQ(children[0], (Rect{0, 40, 200, 140})) << "the first at the top left, its size kept";
  EXPECT_EQ(children[1], (Rect{25, 65, 800, 165})) << "too wide: up to the right edge";
  EXPECT_EQ(children[2], (Rect{50, 90, 250, 580})) << "too tall: down to the bottom";
}

TEST(WindowArrangementTest, ACascadeTooDeepForTheAreaStartsAgainAtTheTopLeft) {
  std::vector<Rect> children(5, Rect{0, 0, 100, 100});
  Cascade(children, Rect{0, 0, 400, 200}, 40);
  EXPECT_EQ(children[2].left, 80);
  EXPECT_EQ(children[3].left, 0) << "120 would leave less than half the height";
  EXPECT_EQ(children[4].top, 40);
}

}  // namespace
}  // namespace kordavelt
