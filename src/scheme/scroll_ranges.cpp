#include "scheme/scroll_ranges.h"

#include <algorithm>

namespace kordavelt {
namespace {

ScrollRange RangeOf(int first, int last, int origin, int visible) {
  const long long half = visible / 2;
  ScrollRange range;
  range.min = ClampToGrid(std::min<long long>(first - half, origin));
  range.max = ClampToGrid(std::max<long long>(last - half, origin));
  range.largeChange = std::max(visible / 2, 1);
  range.smallChange = visible <= 16 ? 2 : visible / 8;
  return range;
}

}  // namespace

ScrollRanges ScrollRangesOf(const GridRect& extents, const ViewState& view, int width, int height) {
  const ViewTransform transform = view.Transform();
  const int visibleX = std::max(width, 0) / transform.StepX();
  const int visibleY = std::max(height, 0) / transform.StepY();
  GridRect content = extents;
  if (content.Empty()) content = transform.VisibleArea(width, height);
  return {RangeOf(content.left, content.right, view.x0, visibleX),
          RangeOf(content.top, content.bottom, view.y0, visibleY)};
}

int WheelScroll(int origin, int notches, int visibleSteps, int first, int last) {
  const long long notch = std::max(visibleSteps / 16, 1);
  long long moved = origin - static_cast<long long>(notches) * notch;
  if (first <= last) moved = std::clamp(moved, first - 9 * notch, last - 8 * notch);
  return ClampToGrid(moved);
}

}  // namespace kordavelt
