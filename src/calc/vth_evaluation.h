#pragma once

// Operation times of a protective device read from its characteristic.
//
// The current shift s is the ln of the transformation ratios between the
// device and the fault point: a fault current I seen at the fault is I·e^−s
// at the device. The lower curve gives the shortest, the upper curve the
// longest operation time. A missing characteristic (null, or an attachment
// that is no characteristic) behaves as an empty one: it never operates.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

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

// One curve of a characteristic at one current shift, read at many currents.
// Where the curve's time does not depend on the current — its instantaneous
// step, a constant short-time part, below its first point — the time comes
// without a logarithm or an exponential: the current is placed against the
// zone bounds e^(ln I + s), and only a current within a hair's breadth of a
// bound, or in a sloping part, is read as ShortestTime and LongestTime read
// it. The times are theirs bit for bit.
class CurveReading {
 public:
  // No characteristic: it never operates.
  CurveReading() = default;
  CurveReading(const vth_class& characteristic, const VthCurve& curve, long double shift);

  // The operation time in s at `currentKA`.
  long double Time(long double currentKA) const;
  // e^(ln I) of the curve's point `k` (0 … 6), kA: the current it stands for.
  long double PointCurrent(int k) const { return pointCurrents_[k]; }

 private:
  // The currents just below and just above e^(v + s): beyond them the
  // comparison of ln I − s with v is certain.
  struct Bound {
    long double low = 0;
    long double high = 0;
  };
  enum class Side : std::uint8_t { Below, Above, Unsure };

  static Bound BoundAt(float v, long double shift);
  static Side Place(const Bound& bound, long double currentKA);
  long double Read(long double currentKA) const;

  const vth_class* characteristic_ = nullptr;
  const VthCurve* curve_ = nullptr;
  long double shift_ = 0;
  bool separateStep_ = false;         // points 6 and 7 form an instantaneous step
  bool risingShortTime_ = false;      // the short-time part rises towards ln Imax
  Bound step_, stepStart_, stepEnd_;  // points 7, 6 and 5
  Bound threshold_, upperEnd_;        // ln Im and ln Imax
  Bound overload_[4];                 // points 1 … 4
  long double stepTime_ = 0, stepEndTime_ = 0, shortTime_ = 0, belowTime_ = 0;
  std::array<long double, kCurvePoints> pointCurrents_{};
};

// The readings of the characteristics a calculation meets, prepared once
// for every curve of equal points and shift: the devices of one type share
// them. The characteristics must stay in place and unchanged while it is
// used; Clear forgets them all (a new calculation prepares the
// characteristics anew).
class CurveReadings {
 public:
  CurveReadings();
  ~CurveReadings();
  CurveReadings(const CurveReadings&) = delete;
  CurveReadings& operator=(const CurveReadings&) = delete;

  void Clear();

  // The reading of the upper curve (the longest times) or of the lower one
  // (the shortest) of `characteristic` at `shift`; it lives as long as this
  // object. A missing characteristic reads as one that never operates.
  const CurveReading& Longest(const ElementAttachment* characteristic, long double shift);
  const CurveReading& Shortest(const ElementAttachment* characteristic, long double shift);

 private:
  struct Entry;
  const CurveReading& Of(const ElementAttachment* characteristic, long double shift, bool upper);

  // One characteristic object read at one shift, its upper or lower curve.
  struct Use {
    const ElementAttachment* characteristic = nullptr;
    long double shift = 0;
    bool upper = false;
    bool operator==(const Use& other) const;
  };
  struct UseHash {
    std::size_t operator()(const Use& use) const;
  };

  CurveReading none_;
  std::vector<std::unique_ptr<Entry>> entries_;
  std::unordered_multimap<std::uint64_t, const Entry*> byPoints_;
  // The readings by characteristic object: the stages meet one object at
  // several elements and in turn, and comparing the object is cheaper than
  // comparing its points. The latest ones stand in a small table before.
  std::unordered_map<Use, const CurveReading*, UseHash> byUse_;
  struct Recent {
    Use use;
    const CurveReading* reading = nullptr;
  };
  static constexpr std::size_t kRecent = 64;
  std::array<Recent, kRecent> recent_{};
};

}  // namespace kordavelt
