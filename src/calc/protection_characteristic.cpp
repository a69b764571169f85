#include "calc/protection_characteristic.h"

#include <algorithm>
#include <cmath>

#include "base/math_box.h"
#include "refbook/vth_block.h"

namespace kordavelt {
namespace {

constexpr int kOverloadPoints = 5;

float LnKA(long double amperes) { return static_cast<float>(std::log(amperes / 1000)); }

// A threshold in amperes when not below Ir, otherwise a multiple of Ir.
float ThresholdLnKA(long double value, long double irA) {
  return LnKA(value >= irA ? value : value * irA);
}

// The cut-off moves the overload points from the first one that reaches it
// onto the cut-off current, at the time the curve has there; above it the
// instantaneous step (point 6) takes over.
void ApplyCutOff(VthCurve& curve, float lnCut) {
  auto& I = curve.lnCurrent;
  auto& T = curve.lnTime;
  for (int j = 0; j < kOverloadPoints; ++j) {
    if (I[j] < lnCut) continue;
    const float t =
        j == 0 ? T[0] : static_cast<float>(Interpolate(T[j], T[j - 1], I[j], I[j - 1], lnCut));
    for (int k = j; k < kOverloadPoints; ++k) {
      I[k] = lnCut;
      T[k] = t;
    }
    break;
  }
  I[5] = std::max(I[5], I[4]);
}

}  // namespace

std::optional<vth_class> FuseCharacteristic(ConstBytes typeBlock, long double linkCurrentA) {
  if (!(linkCurrentA > 0)) return std::nullopt;
  vth_class c = vth_class::FromBlock(typeBlock);
  c.lnIr = LnKA(linkCurrentA);
  c.ShiftCurrents(c.lnIr);
  return c;
}

long double ReleaseThresholdKA(long double im, int mode, long double inA, long double irA) {
  switch (mode) {
    case 0:
      return im / 1000;
    case 1:
      return inA * im / 1000;
    case 2:
      return irA * im / 1000;
    default:
      return 0;
  }
}

std::optional<vth_class> BreakerCharacteristic(ConstBytes releaseBlock,
                                               const ReleaseSettings& settings) {
  const bool instantaneous = settings.imKA > 0 && settings.tmS > 0;
  const bool overload = !VthIsEmpty(releaseBlock);
  if (!(settings.irA > 0) && (overload || !instantaneous)) return std::nullopt;

  vth_class c = vth_class::FromBlock(releaseBlock);
  if (settings.irA > 0) {
    c.lnIr = LnKA(settings.irA);
    c.ShiftCurrents(c.lnIr);
  }
  if (settings.referenceTimeS > 0 && settings.trS > settings.referenceTimeS) {
    c.ShiftTimes(std::log(settings.trS / settings.referenceTimeS), kOverloadPoints);
  }
  if (instantaneous) {
    c.lnIm = static_cast<float>(std::log(settings.imKA));
    c.lnTm = static_cast<float>(std::log(settings.tmS));
    if (!overload) {
      c.SetPoints(kCurvePoints, c.lnIm, c.lnTm);
      c.lnIr = c.lnIm;
    }
  }
  return c;
}

std::optional<vth_class> DeviceCharacteristic(ConstBytes ownBlock, const DeviceSettings& s) {
  if (s.irA == 0 && s.im == 0 && s.tmS == 0) return std::nullopt;
  vth_class c;

  // Curves in multiples of Ir need a positive Ir to be placed at all.
  const bool curves = !VthIsEmpty(ownBlock) && s.irA > 0;
  if (curves) {
    c = vth_class::FromBlock(ownBlock);
    c.lnIr = LnKA(s.irA);
    c.ShiftCurrents(c.lnIr);
    if (s.trMultiple > 0) c.ShiftTimes(std::log(s.trMultiple), kOverloadPoints);
  }

  if (s.im > 0 && s.tmS > 0) {
    c.lnIm = ThresholdLnKA(s.im, s.irA);
    c.lnTm = static_cast<float>(std::log(s.tmS));
    if (!curves) {
      // All seven points, the instantaneous step included: left at (0, 0)
      // points 6 and 7 would read as a 1 s step at 1 kA.
      c.SetPoints(kCurvePoints, c.lnIm, c.lnTm);
      c.lnIr = c.lnIm;
    }
  }

  if (s.cutOff > 0) {
    const float lnCut = ThresholdLnKA(s.cutOff, s.irA);
    ApplyCutOff(c.lower, lnCut);
    ApplyCutOff(c.upper, lnCut);
  }

  c.lnImax = kLnNoShortTimeZone;
  if (s.imax > 0) {
    const float lnImax = ThresholdLnKA(s.imax, s.irA);
    if (lnImax > c.lnIm) c.lnImax = std::min(lnImax, c.lower.lnCurrent[4]);
  }
  return c;
}

}  // namespace kordavelt
