#include "calc/vth_evaluation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>

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

// A damaged curve (NaN) reads as no operation rather than spreading NaN.
long double Settled(long double t) {
  if (std::isnan(t)) return kLnTimeBelowCurve;
  return std::max(t, kLnFastestTime);
}

// Shifts read alike: equal ones, and any two that are not a number (every
// comparison with them fails the same way).
bool SameShift(long double a, long double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// A zone bound is certain this far, relative, from e^(v + s): far beyond the
// rounding of ln I and of the bound itself.
constexpr long double kBoundMargin = 1e-9L;

}  // namespace

long double CurveTime(const vth_class& characteristic, const VthCurve& curve, long double x) {
  return Settled(ReadCurve(characteristic, curve, x));
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

// --- Prepared readings ------------------------------------------------------------------

CurveReading::CurveReading(const vth_class& characteristic, const VthCurve& curve,
                           long double shift)
    : characteristic_(&characteristic), curve_(&curve), shift_(shift) {
  const auto& I = curve.lnCurrent;
  const auto& T = curve.lnTime;
  separateStep_ = characteristic.lower.lnCurrent[4] <= characteristic.lower.lnCurrent[5];
  const long double upperEnd = characteristic.lnImax;
  risingShortTime_ = upperEnd > kLnImaxIgnored;
  step_ = BoundAt(I[6], shift);
  stepStart_ = BoundAt(I[5], shift);
  stepEnd_ = BoundAt(I[4], shift);
  threshold_ = BoundAt(characteristic.lnIm, shift);
  upperEnd_ = BoundAt(characteristic.lnImax, shift);
  for (int k = 0; k < 4; ++k) overload_[k] = BoundAt(I[k], shift);
  stepTime_ = Exp(Settled(T[6]));
  stepEndTime_ = Exp(Settled(T[5]));
  shortTime_ = Exp(Settled(characteristic.lnTm));
  belowTime_ = Exp(Settled(kLnTimeBelowCurve));
  for (int k = 0; k < kCurvePoints; ++k) {
    pointCurrents_[k] = std::exp(static_cast<long double>(I[k]));
  }
}

CurveReading::Bound CurveReading::BoundAt(float v, long double shift) {
  const double at = std::exp(static_cast<double>(v + shift));
  // Where e^(v + s) is no usable number every current is read.
  if (!(at > 0) || !std::isfinite(at)) return {0, std::numeric_limits<long double>::infinity()};
  return {at * (1 - kBoundMargin), at * (1 + kBoundMargin)};
}

CurveReading::Side CurveReading::Place(const Bound& bound, long double currentKA) {
  if (currentKA >= bound.high) return Side::Above;
  if (currentKA <= bound.low) return Side::Below;
  return Side::Unsure;
}

long double CurveReading::Read(long double currentKA) const {
  return Exp(CurveTime(*characteristic_, *curve_, std::log(currentKA) - shift_));
}

// The zones in the order ReadCurve tries them; a sloping part or an unsure
// side is read in full.
long double CurveReading::Time(long double currentKA) const {
  if (characteristic_ == nullptr || !(currentKA > 0)) return kLongestTimeS;
  if (separateStep_) {
    const Side step = Place(step_, currentKA);
    if (step == Side::Above) return stepTime_;
    if (step == Side::Unsure || Place(stepStart_, currentKA) != Side::Below) {
      return Read(currentKA);
    }
    const Side end = Place(stepEnd_, currentKA);
    if (end == Side::Above) return stepEndTime_;
    if (end == Side::Unsure) return Read(currentKA);
  }
  const Side threshold = Place(threshold_, currentKA);
  if (threshold == Side::Above) {
    if (!risingShortTime_) return shortTime_;
    return Place(upperEnd_, currentKA) == Side::Above ? shortTime_ : Read(currentKA);
  }
  if (threshold == Side::Unsure) return Read(currentKA);
  for (int k = 3; k >= 0; --k) {
    if (Place(overload_[k], currentKA) != Side::Below) return Read(currentKA);
  }
  return belowTime_;
}

struct CurveReadings::Entry {
  // What ReadCurve reads of a characteristic for one curve.
  std::array<float, 17> points{};
  bool separateStep = false;
  long double shift = 0;
  CurveReading reading;

  static std::array<float, 17> PointsOf(const vth_class& c, const VthCurve& curve) {
    std::array<float, 17> points{};
    std::copy(curve.lnCurrent.begin(), curve.lnCurrent.end(), points.begin());
    std::copy(curve.lnTime.begin(), curve.lnTime.end(), points.begin() + kCurvePoints);
    points[14] = c.lnIm;
    points[15] = c.lnTm;
    points[16] = c.lnImax;
    return points;
  }

  // A multiplicative mix of the points' bits, the step flag and the shift.
  static std::uint64_t Hash(const std::array<float, 17>& points, bool separate, long double s) {
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](std::uint64_t word) {
      hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
      hash ^= hash >> 29;
    };
    for (const float v : points) {
      std::uint32_t bits = 0;
      std::memcpy(&bits, &v, sizeof bits);
      mix(bits);
    }
    const double shift = static_cast<double>(s);
    std::uint64_t shiftBits = 0;
    std::memcpy(&shiftBits, &shift, sizeof shiftBits);
    mix(shiftBits ^ (separate ? 1 : 0));
    return hash;
  }

  bool Reads(const std::array<float, 17>& other, bool separate, long double s) const {
    // Bit for bit: a −0 against a 0 counts as another curve.
    return separateStep == separate && SameShift(shift, s) &&
           std::memcmp(points.data(), other.data(), sizeof(points)) == 0;
  }
};

CurveReadings::CurveReadings() = default;
CurveReadings::~CurveReadings() = default;

const CurveReading& CurveReadings::Longest(const ElementAttachment* characteristic,
                                           long double shift) {
  return Of(characteristic, shift, true);
}

const CurveReading& CurveReadings::Shortest(const ElementAttachment* characteristic,
                                            long double shift) {
  return Of(characteristic, shift, false);
}

void CurveReadings::Clear() {
  entries_.clear();
  byPoints_.clear();
  byUse_.clear();
  recent_.fill({});
}

std::size_t CurveReadings::UseHash::operator()(const Use& use) const {
  return std::hash<const void*>{}(use.characteristic) * 31 +
         std::hash<double>{}(static_cast<double>(use.shift)) * 2 + (use.upper ? 1 : 0);
}

bool CurveReadings::Use::operator==(const Use& other) const {
  return characteristic == other.characteristic && SameShift(shift, other.shift) &&
         upper == other.upper;
}

const CurveReading& CurveReadings::Of(const ElementAttachment* characteristic, long double shift,
                                      bool upper) {
  // One key for every shift that is not a number.
  if (std::isnan(shift)) shift = std::numeric_limits<long double>::quiet_NaN();
  const Use use{characteristic, shift, upper};
  Recent& recent =
      recent_[(reinterpret_cast<std::uintptr_t>(characteristic) / alignof(std::max_align_t) * 2 +
               (upper ? 1 : 0)) %
              kRecent];
  if (recent.reading != nullptr && recent.use == use) return *recent.reading;
  if (const auto known = byUse_.find(use); known != byUse_.end()) {
    recent = {use, known->second};
    return *known->second;
  }
  const vth_class* c = AsCharacteristic(characteristic);
  if (c == nullptr) return none_;
  const VthCurve& curve = upper ? c->upper : c->lower;
  const auto points = Entry::PointsOf(*c, curve);
  const bool separate = c->lower.lnCurrent[4] <= c->lower.lnCurrent[5];
  const std::uint64_t key = Entry::Hash(points, separate, shift);
  const Entry* found = nullptr;
  for (auto [at, end] = byPoints_.equal_range(key); at != end; ++at) {
    if (at->second->Reads(points, separate, shift)) {
      found = at->second;
      break;
    }
  }
  if (found == nullptr) {
    entries_.push_back(std::make_unique<Entry>(Entry{points, separate, shift, {*c, curve, shift}}));
    found = entries_.back().get();
    byPoints_.emplace(key, found);
  }
  byUse_.emplace(use, &found->reading);
  recent = {use, &found->reading};
  return found->reading;
}

}  // namespace kordavelt
