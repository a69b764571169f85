#include "calc/vth_class.h"

#include <algorithm>
#include <cmath>

#include "refbook/vth_block.h"

namespace kordavelt {
namespace {

float Finite(float value) { return std::isfinite(value) ? value : 0.0f; }

int ClampPoint(int lastPoint) { return std::clamp(lastPoint, 0, kCurvePoints); }

void ForBothCurves(vth_class& c, auto&& action) {
  action(c.lower);
  action(c.upper);
}

}  // namespace

vth_class vth_class::FromBlock(ConstBytes block) {
  vth_class c;
  for (int k = 0; k < kCurvePoints; ++k) {
    const VthPoint low = VthPointAt(block, k + 1);
    const VthPoint up = VthPointAt(block, k + 1 + kCurvePoints);
    c.lower.lnCurrent[k] = Finite(low.lnCurrent);
    c.lower.lnTime[k] = Finite(low.lnTime);
    c.upper.lnCurrent[k] = Finite(up.lnCurrent);
    c.upper.lnTime[k] = Finite(up.lnTime);
  }
  return c;
}

void vth_class::ToBlock(Bytes block) const {
  for (int k = 0; k < kCurvePoints; ++k) {
    SetVthPoint(block, k + 1, {lower.lnCurrent[k], lower.lnTime[k]});
    SetVthPoint(block, k + 1 + kCurvePoints, {upper.lnCurrent[k], upper.lnTime[k]});
  }
}

bool vth_class::HasPoints() const {
  const auto nonZero = [](float v) { return v != 0.0f; };
  return std::any_of(lower.lnCurrent.begin(), lower.lnCurrent.end(), nonZero) ||
         std::any_of(lower.lnTime.begin(), lower.lnTime.end(), nonZero) ||
         std::any_of(upper.lnCurrent.begin(), upper.lnCurrent.end(), nonZero) ||
         std::any_of(upper.lnTime.begin(), upper.lnTime.end(), nonZero);
}

void vth_class::ShiftCurrents(long double lnShift) {
  ForBothCurves(*this, [&](VthCurve& curve) {
    for (float& v : curve.lnCurrent) v = static_cast<float>(v + lnShift);
  });
}

void vth_class::ShiftTimes(long double lnShift, int lastPoint) {
  const int last = ClampPoint(lastPoint);
  ForBothCurves(*this, [&](VthCurve& curve) {
    for (int k = 0; k < last; ++k) curve.lnTime[k] = static_cast<float>(curve.lnTime[k] + lnShift);
  });
}

void vth_class::SetPoints(int lastPoint, float lnCurrent, float lnTime) {
  const int last = ClampPoint(lastPoint);
  ForBothCurves(*this, [&](VthCurve& curve) {
    for (int k = 0; k < last; ++k) {
      curve.lnCurrent[k] = lnCurrent;
      curve.lnTime[k] = lnTime;
    }
  });
}

void vth_class::ClearEnvelope() {
  envelope.fill({});
  envelope[0].lnTime = kLnNoThreshold;
  envelopeCount = 0;
}

const vth_class* AsCharacteristic(const ElementAttachment* attachment) {
  return dynamic_cast<const vth_class*>(attachment);
}

}  // namespace kordavelt
