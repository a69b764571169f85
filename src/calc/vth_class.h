#pragma once

// vth_class: the time-current characteristic of one protective device in
// memory. Two boundary curves of 7 points in natural logarithms — the lower
// curve gives the shortest operation times, the upper curve the longest —
// with the thresholds of the instantaneous and short-time parts.
//
// Currents are ln multiples of the reference current as stored in a VTH block
// (fuse and trip-unit types, protective-device objects), or ln kA once the
// calculation has shifted them by ln Ir. Times are ln seconds. Points 6 and 7
// of a curve describe its instantaneous zone.
//
// The model owns the characteristic of an element as the element's
// attachment, so the object is freed with the element record.

#include <array>

#include "base/le_bytes.h"
#include "model/model_class.h"

namespace kordavelt {

inline constexpr int kCurvePoints = 7;
inline constexpr int kEnvelopePoints = 21;

// ln Im and ln tm of a characteristic without an instantaneous part.
inline constexpr float kLnNoThreshold = 20.0f;
// ln Imax without a short-time zone; values up to kLnImaxIgnored are ignored.
inline constexpr float kLnNoShortTimeZone = -20.0f;
inline constexpr float kLnImaxIgnored = -10.0f;
// ln 10000 s: the time of every point of an empty characteristic.
inline constexpr float kLnEmptyTime = 9.21034037f;

// One boundary curve; index 0 is point 1.
struct VthCurve {
  std::array<float, kCurvePoints> lnCurrent{};
  std::array<float, kCurvePoints> lnTime{kLnEmptyTime, kLnEmptyTime, kLnEmptyTime, kLnEmptyTime,
                                         kLnEmptyTime, kLnEmptyTime, kLnEmptyTime};

  friend bool operator==(const VthCurve&, const VthCurve&) = default;
};

// One point of the envelope of the loads below a device (ln kA, ln s).
struct EnvelopePoint {
  float lnCurrent = -20.0f;
  float lnTime = -20.0f;
};

class vth_class : public ElementAttachment {
 public:
  // A default characteristic is empty: every current point 0 and every time
  // ln 10000 s, no instantaneous part, so it never operates within 9999 s.
  vth_class() { ClearEnvelope(); }
  vth_class(const vth_class&) = default;
  vth_class& operator=(const vth_class&) = default;
  ~vth_class() override = default;

  // The curves of a 112-byte VTH block (points 1-7 the lower, 8-14 the upper
  // curve); everything else as in an empty characteristic. A value that is
  // not a finite number (a damaged file) is read as 0.
  static vth_class FromBlock(ConstBytes block);
  // Writes the two curves into a VTH block; a block shorter than 112 bytes
  // receives what fits.
  void ToBlock(Bytes block) const;

  // True when some point of either curve is not (0, 0), as in a block that
  // holds a characteristic.
  bool HasPoints() const;

  // Adds lnShift to the 7 currents of both curves (multiples of Ir to kA).
  void ShiftCurrents(long double lnShift);
  // Adds lnShift to the times of points 1 ... lastPoint of both curves (the
  // time setting acts on the overload part, not on the instantaneous zone).
  void ShiftTimes(long double lnShift, int lastPoint);
  // Points 1 ... lastPoint of both curves become (lnCurrent, lnTime).
  void SetPoints(int lastPoint, float lnCurrent, float lnTime);

  // Envelope cleared to (−20, −20) with the first time 20, no points counted.
  void ClearEnvelope();

  VthCurve lower;
  VthCurve upper;
  float lnIr = 0;                     // reference current, ln kA
  float lnIm = kLnNoThreshold;        // instantaneous or short-time threshold, ln kA
  float lnTm = kLnNoThreshold;        // its time, ln s
  float lnImax = kLnNoShortTimeZone;  // upper end of the short-time zone, ln kA
  std::array<EnvelopePoint, kEnvelopePoints> envelope{};
  int envelopeCount = 0;  // index of the envelope's last point
};

// The characteristic an element holds, or null when it holds none.
const vth_class* AsCharacteristic(const ElementAttachment* attachment);

}  // namespace kordavelt
