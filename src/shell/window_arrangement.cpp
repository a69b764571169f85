#include "shell/window_arrangement.h"

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

}  // namespace kordavelt
