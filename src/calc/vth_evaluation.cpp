#include "calc/vth_evaluation.h"

#include <algorithm>
#include <cmath>

#include "base/math_box.h"

namespace kordavelt {
namespace {

// Steps 1 and 2 of the reading; index k − 1 holds point k.
long double ReadCurve(const vth_class& c, const VthCurve& curve, long double x) {
  const auto& I = curve.lnCurrent;
  const auto& T = curve.lnTime;

  // A lower curve whose point 6 does not lie below point 5 has a separate
  // instantaneous step; both curves then take it from points 6 and 7.
  if (c.lower.lnCurrent[4] <= c.lower.lnCurrent[5]) {
    if (x >= I[6]) return T[6];
    if (x > I[5]) return Interpolate(T[6], T[5], I[6], I[5], x);
    if (x >= I[4] && x <= I[5]) return T[5];
  }

  // Instantaneous or short-time threshold. Inside the short-time zone the time
  // rises towards its upper end, but not beyond the overload curve's point 5
  // (nor is a set tm longer than point 5 cut down by that limit).
  if (x >= c.lnIm) {
    long double t = c.lnTm;
    const long double upperEnd = c.lnImax;
    if (upperEnd > kLnImaxIgnored && upperEnd > x) {
      const long double ceiling = std::max<long double>(T[4], c.lnTm);
      t = std::min(t + 2 * (upperEnd - x), ceiling);
    }
    return t;
  }

  // Overload part: the segment that starts at the highest point not above x.
  for (int k = 3; k >= 0; --k) {
    if (x >= I[k]) return Interpolate(T[k + 1], T[k], I[k + 1], I[k], x);
  }
  return kLnTimeBelowCurve;
}

long double Exp(long double lnTime) { return std::min(std::exp(lnTime), kLongestTimeS); }

}  // namespace

long double CurveTime(const vth_class& characteristic, const VthCurve& curve, long double x) {
  const long double t = ReadCurve(characteristic, curve, x);
  // A damaged curve (NaN) reads as no operation rather than spreading NaN.
  if (std::isnan(t)) return kLnTimeBelowCurve;
  return std::max(t, kLnFastestTime);
}

long double LowerTime(const vth_class& characteristic, long double shift, long double lnCurrent) {
  return CurveTime(characteristic, characteristic.lower, lnCurrent - shift);
}

long double UpperTime(const vth_class& characteristic, long double shift, long double lnCurrent) {
  return CurveTime(characteristic, characteristic.upper, lnCurrent - shift);
}

long double LowerTime(const ElementAttachment* characteristic, long double shift,
                      long double lnCurrent) {
  const vth_class* c = AsCharacteristic(characteristic);
  return c ? LowerTime(*c, shift, lnCurrent) : kLnTimeBelowCurve;
}

long double UpperTime(const ElementAttachment* characteristic, long double shift,
                      long double lnCurrent) {
  const vth_class* c = AsCharacteristic(characteristic);
  return c ? UpperTime(*c, shift, lnCurrent) : kLnTimeBelowCurve;
}

long double ShortestTime(const vth_class& characteristic, long double shift,
                         long double currentKA) {
  if (!(currentKA > 0)) return kLongestTimeS;
  return Exp(LowerTime(characteristic, shift, std::log(currentKA)));
}

long double LongestTime(const vth_class& characteristic, long double shift, long double currentKA) {
  if (!(currentKA > 0)) return kLongestTimeS;
  return Exp(UpperTime(characteristic, shift, std::log(currentKA)));
}

long double ShortestTime(const ElementAttachment* characteristic, long double shift,
                         long double currentKA) {
  const vth_class* c = AsCharacteristic(characteristic);
  return c ? ShortestTime(*c, shift, currentKA) : kLongestTimeS;
}

long double LongestTime(const ElementAttachment* characteristic, long double shift,
                        long double currentKA) {
  const vth_class* c = AsCharacteristic(characteristic);
  return c ? LongestTime(*c, shift, currentKA) : kLongestTimeS;
}

}  // namespace kordavelt
