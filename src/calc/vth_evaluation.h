#pragma once

// Operation times of a protective device read from its characteristic.
//
// The current shift s is the ln of the transformation ratios between the
// device and the fault point: a fault current I seen at the fault is I·e^−s
// at the device. The lower curve gives the shortest, the upper curve the
// longest operation time. A missing characteristic (null, or an attachment
// that is no characteristic) behaves as an empty one: it never operates.

#include "calc/vth_class.h"

namespace kordavelt {

// ln 0.005 s: no device operates faster.
inline constexpr long double kLnFastestTime = -5.2983174L;
// ln t below the first point of a curve (e^10 s, beyond any time shown).
inline constexpr long double kLnTimeBelowCurve = 10.0L;
// Times are capped here; also the time at a current that is not positive.
inline constexpr long double kLongestTimeS = 9999.0L;

// ln t of one curve of the characteristic at x = ln I − s.
long double CurveTime(const vth_class& characteristic, const VthCurve& curve, long double x);

// ln t of the lower and upper curve at ln I (kA) with the current shift s.
long double LowerTime(const vth_class& characteristic, long double shift, long double lnCurrent);
long double UpperTime(const vth_class& characteristic, long double shift, long double lnCurrent);
long double LowerTime(const ElementAttachment* characteristic, long double shift,
                      long double lnCurrent);
long double UpperTime(const ElementAttachment* characteristic, long double shift,
                      long double lnCurrent);

// Operation time in s at the current I (kA): e^LowerTime or e^UpperTime,
// 9999 when I ≤ 0 and never above 9999.
long double ShortestTime(const vth_class& characteristic, long double shift, long double currentKA);
long double LongestTime(const vth_class& characteristic, long double shift, long double currentKA);
long double ShortestTime(const ElementAttachment* characteristic, long double shift,
                         long double currentKA);
long double LongestTime(const ElementAttachment* characteristic, long double shift,
                        long double currentKA);

}  // namespace kordavelt
