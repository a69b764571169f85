// The zoom. Guards against a step that reaches 0 (a division by zero in
// every transform after it) from tiny fonts, the reduced scale choices or a
// damaged page record; a wheel zoom that lets the point under the mouse
// wander; and fits that miss the content.

#include "scheme/zoom.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

TEST(Zoom, APageRecordsStepIsBoundedWhateverItHolds) {
  EXPECT_EQ(ViewOfRecord(5, 6, 0, 2, 16), (ViewState{5, 6, 16, 2}));
  EXPECT_EQ(ViewOfRecord(5, 6, -3, 2, 16).step, 16);
  EXPECT_EQ(ViewOfRecord(5, 6, 30000, 2, 16).step, kMaxStep);
  EXPECT_EQ(ViewOfRecord(5, 6, 0, 99, 16).scale, 0);
  EXPECT_EQ(ViewOfRecord(5, 6, 0, -1, 16).scale, 0);
  EXPECT_EQ(ViewOfRecord(0, 0, 0, 0, -16).step, 16);
  EXPECT_EQ(ViewOfRecord(0, 0, 0, 0, 0).step, kMinStep);
}

TEST(Zoom, TheScaleChoicesDivideTheFontHeight) {
  const ViewState view;
  const FitArea area{800, 600, {}};
  const int steps[] = {16, 12, 8, 4, 2};
  for (int choice = 0; choice < 5; ++choice) {
    const ViewState chosen = ChooseScale(view, ScaleChoiceOf(choice), 16, area);
    EXPECT_EQ(chosen.step, steps[choice]) << choice;
    EXPECT_EQ(chosen.scale, choice);
  }
}

TEST(Zoom, NoChoiceReachesAStepOfZeroWithTinyFonts) {
  for (const int font : {0, 1, 2, 3}) {
    for (int choice = 0; choice < kScaleChoiceCount; ++choice) {
      for (const FitArea& area : {FitArea{0, 0, {}}, FitArea{0, 0, GridRect{0, 0, 30000, 30000}},
                                  FitArea{100000, 100000, GridRect{0, 0, 0, 0}}}) {
        const int step = ChooseScale(ViewState{}, ScaleChoiceOf(choice), font, area).step;
        ASSERT_GE(step, kMinStep) << font << " " << choice;
        ASSERT_LE(step, kMaxStep) << font << " " << choice;
      }
    }
  }
}

TEST(Zoom, TheWheelKeepsThePointUnderTheMouseAndStaysWithinItsBounds) {
  const DevicePoint mouse{203, 77};
  ViewState view{100, 50, 16, 0};
  const GridPoint under = *view.Transform().ToGrid(mouse);
  for (int notch = 0; notch < 30; ++notch) {
    view = WheelZoom(view, true, mouse, 16);
    ASSERT_EQ(view.Transform().ToGrid(mouse), under) << "step " << view.step;
  }
  EXPECT_EQ(view.step, 2);
  EXPECT_EQ(view.scale, 4);
  for (int notch = 0; notch < 40; ++notch) {
    view = WheelZoom(view, false, mouse, 16);
    ASSERT_EQ(view.Transform().ToGrid(mouse), under) << "step " << view.step;
  }
  EXPECT_EQ(view.step, 24);
  EXPECT_EQ(view.scale, 0);
}

TEST(Zoom, TheFitsBringTheContentIntoView) {
  const FitArea area{800, 600, GridRect{0, 0, 92, 40}};
  EXPECT_EQ(ChooseScale(ViewState{}, ScaleChoice::FitWidth, 16, area), (ViewState{-6, -18, 8, 5}));
  const ViewState height = ChooseScale(ViewState{}, ScaleChoice::FitHeight, 16, area);
  EXPECT_EQ(height.step, 13);
  EXPECT_EQ(height.y0, -6);
  EXPECT_EQ(ChooseScale(ViewState{}, ScaleChoice::WholeScheme, 16, area),
            (ViewState{-4, -18, 8, 7}));
}

TEST(Zoom, ARectangleSmallerThanFourStepsLeavesTheView) {
  const ViewState view{1, 2, 16, 0};
  EXPECT_EQ(ZoomToRect(view, GridRect{10, 20, 13, 40}, 800, 600, 16), view);
  EXPECT_EQ(ZoomToRect(view, GridRect{10, 20, 30, 30}, 800, 600, 16), (ViewState{10, 20, 40, 0}));
  EXPECT_EQ(ZoomToRect(view, GridRect{10, 20, 30, 30}, 0, 0, 16).step, kMinStep);
}

}  // namespace
}  // namespace kordavelt
