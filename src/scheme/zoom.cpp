#include "scheme/zoom.h"

#include <cmath>
#include <cstdlib>

namespace kordavelt {
namespace {

// The step that shows `span` grid steps (plus a margin of 8) in `size` device units.
long long FitStep(int size, int first, int last) {
  const double span = static_cast<double>(last) - first + 8;
  return std::max(1LL, std::llround(std::max(size, 0) / span));
}

// The origin that centres the span first … last in `size` device units.
long long Centred(int first, int last, int size, int step) {
  return FloorDiv(static_cast<long long>(first) + last - std::max(size, 0) / step, 2);
}

// The origin that puts grid coordinate `centre` in the middle of `size` units.
long long AroundCentre(int centre, int size, int step) {
  return centre - FloorDiv(std::max(size, 0) / 2, step);
}

long long ChoiceStep(ScaleChoice choice, int fontHeight, const FitArea& area) {
  const GridRect& e = area.extents;
  switch (choice) {
    case ScaleChoice::Full:
      return fontHeight;
    case ScaleChoice::ThreeQuarters:
      return fontHeight * 3 / 4;
    case ScaleChoice::Half:
      return fontHeight / 2;
    case ScaleChoice::Quarter:
      return fontHeight / 4;
    case ScaleChoice::Tenth:
      return fontHeight / 10 + 1;
    case ScaleChoice::FitWidth:
      return e.Empty() ? fontHeight : FitStep(area.width, e.left, e.right);
    case ScaleChoice::FitHeight:
      return e.Empty() ? fontHeight : FitStep(area.height, e.top, e.bottom);
    case ScaleChoice::WholeScheme:
      return e.Empty() ? fontHeight
                       : std::min(FitStep(area.width, e.left, e.right),
                                  FitStep(area.height, e.top, e.bottom));
  }
  return fontHeight;
}

}  // namespace

ScaleChoice ScaleChoiceOf(int index) {
  return index >= 0 && index < kScaleChoiceCount ? static_cast<ScaleChoice>(index)
                                                 : ScaleChoice::Full;
}

int BoundFontHeight(int fontHeight) { return BoundStep(std::llabs(fontHeight)); }

ViewState ViewOfRecord(int x0, int y0, int st, int scale, int fontHeight) {
  return {ClampToGrid(x0), ClampToGrid(y0), BoundStep(st > 0 ? st : BoundFontHeight(fontHeight)),
          static_cast<int>(ScaleChoiceOf(scale))};
}

int ZoomPercent(int step, int fontHeight) {
  return static_cast<int>(BoundStep(step) * 100LL / BoundFontHeight(fontHeight));
}

int ScaleIndexOfStep(int step, int fontHeight) {
  const int quotient = (BoundFontHeight(fontHeight) - 1) / BoundStep(step);
  if (quotient <= 2) return quotient;
  return quotient <= 4 ? 3 : 4;
}

ViewState WheelZoom(const ViewState& view, bool towardsUser, DevicePoint mouse, int fontHeight) {
  const int step = BoundStep(view.step);
  int next = step;
  if (towardsUser && step > 2) next = step - 1;
  if (!towardsUser && 2LL * step < 3LL * BoundFontHeight(fontHeight)) next = BoundStep(step + 1);

  ViewState zoomed = view;
  zoomed.step = next;
  zoomed.scale = ScaleIndexOfStep(next, fontHeight);
  if (const std::optional<GridPoint> under = view.Transform().ToGrid(mouse)) {
    // The same rounding as ToGrid, so that the point maps back exactly.
    zoomed.x0 =
        ClampToGrid(under->x - static_cast<long long>(std::floor((mouse.x + next / 2) / next)));
    zoomed.y0 =
        ClampToGrid(under->y - static_cast<long long>(std::floor((mouse.y + next / 2) / next)));
  }
  return zoomed;
}

ViewState ChooseScale(const ViewState& view, ScaleChoice choice, int fontHeight,
                      const FitArea& area) {
  const int height = BoundFontHeight(fontHeight);
  const GridPoint centre =
      view.Transform()
          .ToGrid(DevicePoint{std::max(area.width, 0) / 2.0, std::max(area.height, 0) / 2.0})
          .value_or(GridPoint{view.x0, view.y0});
  const int step = BoundStep(ChoiceStep(choice, height, area));
  long long x0 = AroundCentre(centre.x, area.width, step);
  long long y0 = AroundCentre(centre.y, area.height, step);

  const GridRect& e = area.extents;
  if (!e.Empty()) {
    const long long spanX = static_cast<long long>(e.right) - e.left;
    const long long spanY = static_cast<long long>(e.bottom) - e.top;
    if (choice == ScaleChoice::FitWidth) {
      x0 = static_cast<long long>(e.left) - 6;
      if (spanY * step < area.height) y0 = Centred(e.top, e.bottom, area.height, step);
    } else if (choice == ScaleChoice::FitHeight) {
      y0 = static_cast<long long>(e.top) - 6;
      if (spanX * step < area.width - 8) x0 = Centred(e.left, e.right, area.width, step);
    } else if (choice == ScaleChoice::WholeScheme) {
      x0 = Centred(e.left, e.right, area.width, step);
      y0 = Centred(e.top, e.bottom, area.height, step);
    }
  }
  return {ClampToGrid(x0), ClampToGrid(y0), step, static_cast<int>(choice)};
}

ViewState ZoomToRect(const ViewState& view, const GridRect& rect, int width, int height,
                     int fontHeight) {
  const long long w = static_cast<long long>(rect.right) - rect.left;
  const long long h = static_cast<long long>(rect.bottom) - rect.top;
  if (w < 4 || h < 4) return view;
  const int step = BoundStep(std::min(std::max(width, 0) / w, std::max(height, 0) / h));
  return {ClampToGrid(rect.left), ClampToGrid(rect.top), step, ScaleIndexOfStep(step, fontHeight)};
}

}  // namespace kordavelt
