#pragma once

// The zoom of the scheme window: the step (device units per grid step) is
// the zoom, and 100 % means one step per font height. Here: the view a page
// record keeps, the zoom percentage, the scale choices of the view settings,
// the wheel zoom and the zoom by rectangle.
//
// Every step this file produces lies within kMinStep … kMaxStep: the 50 %,
// 25 % and 10 % choices with tiny fonts, a fit to a page without content and
// a step read from a damaged or imported page record (0 or less, or huge)
// never reach 0 or overflow. Every origin lies within the int16 range.

#include <string_view>

#include "scheme/grid.h"
#include "scheme/view_transform.h"

namespace kordavelt {

// The scale choices, in the order of their list.
enum class ScaleChoice : int {
  Full = 0,  // 100 %
  ThreeQuarters,
  Half,
  Quarter,
  Tenth,
  FitWidth,
  FitHeight,
  WholeScheme,
};
inline constexpr int kScaleChoiceCount = 8;
inline constexpr std::string_view kScaleChoiceList =
    "100%#75%#50%#25%#10%#По ширине#По высоте#Вся схема";

// A scale index of a record or a list: one outside the list counts as 100 %.
ScaleChoice ScaleChoiceOf(int index);

// Where the window looks and how close: the grid point at its left top
// corner, the step and the index of the scale choice.
struct ViewState {
  int x0 = 0;
  int y0 = 0;
  int step = 16;
  int scale = 0;

  ViewTransform Transform(double unitsPerStep = 1.0) const {
    return ViewTransform({x0, y0}, step, step, unitsPerStep);
  }
  friend constexpr bool operator==(const ViewState&, const ViewState&) = default;
};

// A font height as the zoom uses it: its absolute value, within the step bounds.
int BoundFontHeight(int fontHeight);
// The view a page record keeps: St 0 (or less, in a damaged record) means
// the font height; origins and scale index are taken within their bounds.
ViewState ViewOfRecord(int x0, int y0, int st, int scale, int fontHeight);

// What the status bar shows: step × 100 div font height.
int ZoomPercent(int step, int fontHeight);
// The scale index a step stands for after a wheel zoom: (font height - 1)
// div step of 0 gives 0 (100 %), 1 gives 1, 2 gives 2, 3 or 4 give 3, more 4.
int ScaleIndexOfStep(int step, int fontHeight);

// One wheel notch at device point `mouse` (the window centre when the mouse
// is outside the drawing): towards the user the step shrinks by 1, not
// below 2; away from the user it grows by 1 while it is below 1.5 × font
// height. The grid point under `mouse` stays under it.
ViewState WheelZoom(const ViewState& view, bool towardsUser, DevicePoint mouse, int fontHeight);

// The area a scale choice fits: the drawing area's size in device units and
// the extents of the page's content (empty for a page without content).
struct FitArea {
  int width = 0;
  int height = 0;
  GridRect extents;
};

// The view after choosing a scale: the grid point at the centre of the area
// stays there, except that the fits bring the content into view.
ViewState ChooseScale(const ViewState& view, ScaleChoice choice, int fontHeight,
                      const FitArea& area);

// The zoom by rectangle: the dragged rectangle (grid points) becomes the
// visible area when it is at least 4 steps wide and high; otherwise the view
// stays as it was.
ViewState ZoomToRect(const ViewState& view, const GridRect& rect, int width, int height,
                     int fontHeight);

}  // namespace kordavelt
