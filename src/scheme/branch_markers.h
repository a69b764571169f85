#pragma once

// The markers at a branch's connection points (its first point, and its last
// point unless an object stands there). With P the point, u the direction of
// the adjoining segment away from P, step the device step along it, t the
// third step across it (tx across a vertical segment, ty across a horizontal
// one) and t1 = tx1:
//  1. a circle of radius t1 around P;
//  2. a stub along the segment from t1 to step - 2t;
//  3. over the next 2t, ending one grid step from P: a cable line with cable
//     marks on gets a triangle, its base 2t wide across the branch at the
//     stub's end and its apex on the branch 2t further; otherwise, with
//     switch markers on, a box 2t wide and 2t long; with them off, nothing
//     for a branch switched on, and for one switched off a gap of 2t with a
//     bar 2t wide and 2 units thick across its middle. Triangles and boxes
//     are filled with the branch colour when the branch is switched off, with
//     the background when it is on;
//  4. the branch line goes on from the marker's far end (from the stub's end
//     when nothing was drawn).

#include <vector>

#include "scheme/grid.h"
#include "scheme/view_settings.h"
#include "scheme/view_transform.h"

namespace kordavelt {

enum class MarkerKind { None, Triangle, Box, Gap };

struct EndMarker {
  DevicePoint point;
  double circleRadius = 0;
  DevicePoint stubFrom;
  DevicePoint stubTo;
  MarkerKind kind = MarkerKind::None;
  std::vector<DevicePoint> outline;  // the triangle or the box, closed
  bool filled = false;               // with the branch colour, else with the background
  DevicePoint barFrom;               // the bar across a gap
  DevicePoint barTo;
  double barThickness = 2;
  DevicePoint lineFrom;  // where the branch line goes on
};

// The marker at grid point `p`, whose adjoining segment runs away from it
// along the y axis (`vertical`) or the x axis, towards larger coordinates
// for `direction` +1 and smaller ones for -1.
EndMarker PlaceEndMarker(GridPoint p, bool vertical, int direction, const ViewTransform& transform,
                         const ViewSettings& settings, bool cableLine, bool switchedOn);

}  // namespace kordavelt
