#include "shell/window_arrangement.h"

#include <algorithm>

namespace kordavelt {
namespace {

// One direction: the span [low, high) brought inside [areaLow, areaHigh).
void FitSpan(int& low, int& high, int areaLow, int areaHigh) {
  if (high - low > areaHigh - areaLow) {
    low = areaLow;
    high = areaHigh;
    return;
  }
  int shift = 0;
  if (high > areaHigh) shift = areaHigh - high;
  if (low + shift < areaLow) shift = areaLow - low;
  low += shift;
  high += shift;
}

}  // namespace

void ArrangeInside(std::vector<Rect>& children, Rect area) {
  for (Rect& child : children) {
    FitSpan(child.left, child.right, area.left, area.right);
    FitSpan(child.top, child.bottom, area.top, area.bottom);
  }
}

void Cascade(std::vector<Rect>& children, Rect area, int step) {
  const int lastOffset = std::min(area.Width(), area.Height()) / 2;
  int offset = 0;
  for (Rect& child : children) {
    if (offset > lastOffset) offset = 0;
    const int width = std::min(child.Width(), area.Width() - offset);
    const int height = std::min(child.Height(), area.Height() - offset);
    child = Rect{area.left + offset, area.top + offset, area.left + offset + width,
                 area.top + offset + height};
    offset += std::max(step, 1);
  }
}

}  // namespace kordavelt
