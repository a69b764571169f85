#include "calc/feeding_network.h"

#include <algorithm>
#include <cmath>

#include "calc/calc_class.h"
#include "model/element_rec.h"
#include "model/model_kinds.h"

namespace kordavelt {
namespace {

// Kinds the calculation gives motor loads and equivalent motors.
constexpr int kKindSyncMotorLoad = 41;
constexpr int kKindAsyncMotorLoad = 42;
constexpr int kKindAsyncEquivalent = 54;
constexpr int kKindSyncEquivalent = 55;

// The reactance share of a source's own impedance in the Z04 companion.
constexpr double kCompanionReactance = 0.4;
// Element currents are in A, the equivalents' currents in kA.
constexpr double kAmpsPerKiloamp = 1000;

ComplexD ToD(const Complex& z) { return {z.re, z.im}; }

ComplexD Companion(const ComplexD& z) { return {z.real(), z.imag() * kCompanionReactance}; }

// a / b by the plain formula (b is never zero here): std::complex's division
// rescales against overflow at a cost larger than the rest of the reduction.
ComplexD Quotient(const ComplexD& a, const ComplexD& b) {
  const double divisor = std::norm(b);
  return {(a.real() * b.real() + a.imag() * b.imag()) / divisor,
          (a.imag() * b.real() - a.real() * b.imag()) / divisor};
}

// The transformation ratio that refers values across the element; 1 when it has none.
double RatioOf(const ElementRec& e) { return e.kt > 0 && e.kt != 1 ? e.kt : 1.0; }

bool IsAsynchronous(int kind) {
  return kind == kKindAsyncMotorLoad || kind == kKindAsyncEquivalent;
}

// The power source at maximum EMF behind its impedance (the source branch's Z1).
FeedingSource SupplySource(const ElementRec& e) {
  FeedingSource source;
  source.emf = {e.emf, 0};
  source.z = ToD(e.z1);
  source.z04 = Companion(source.z);
  return source;
}

FeedingSource ScaledCurrents(FeedingSource source, double initialFactor, double ratedFactor) {
  source.asyncInitial *= initialFactor;
  source.syncInitial *= initialFactor;
  source.asyncRated *= ratedFactor;
  source.syncRated *= ratedFactor;
  return source;
}

// Resistance multiplied by `factor`, reactance kept; negative parts (a point
// beyond the line's end) count as none.
ComplexD Heated(const Complex& z, double factor) {
  return {std::max(0.0, z.re * factor), std::max(0.0, static_cast<double>(z.im))};
}

// FeedingOf(InSeries(source, Zs)) for an active source, given |Z + Zs|²
// (not zero).
FaultFeeding FeedingThrough(const FeedingSource& source, double seriesNorm) {
  const double reduction = std::sqrt(std::norm(source.z) / seriesNorm);
  return {std::sqrt(std::norm(source.emf) / seriesNorm), source.asyncInitial * reduction,
          source.asyncRated, source.syncInitial * reduction, source.syncRated};
}

}  // namespace

bool FeedingSource::Active() const { return std::norm(emf) > 0 && std::norm(z) > 0; }

FaultFeeding FeedingOf(const FeedingSource& network) {
  if (!network.Active()) return {};
  return {std::sqrt(std::norm(network.emf) / std::norm(network.z)), network.asyncInitial,
          network.asyncRated, network.syncInitial, network.syncRated};
}

bool IsMachineKind(int kind) {
  return kind == kKindSyncMotorLoad || kind == kKindAsyncMotorLoad || kind == kKindGenerator ||
         kind == kKindAsyncEquivalent || kind == kKindSyncEquivalent;
}

FeedingSource MachineSource(const ElementRec& e) {
  FeedingSource source;
  if (!IsMachineKind(e.kind)) return source;
  source.emf = ToD(e.emfMotor);
  source.z = ToD(e.z1);
  source.z04 = Companion(source.z);
  if (!source.Active()) return {};
  const double initial = std::sqrt(std::norm(source.emf) / std::norm(source.z));
  // The rated current of the machine: its permissible current, which the
  // preparation sets from the rated power; the running current otherwise.
  const double rated = (e.iPermissible > 0 ? e.iPermissible : Abs(e.ia)) / kAmpsPerKiloamp;
  if (IsAsynchronous(e.kind)) {
    source.asyncInitial = initial;
    source.asyncRated = rated;
  } else {
    source.syncInitial = initial;
    source.syncRated = rated;
  }
  return source;
}

FeedingSource Parallel(const FeedingSource& a, const FeedingSource& b) {
  if (!a.Active()) return b;
  if (!b.Active()) return a;
  const ComplexD sum = a.z + b.z;
  if (std::norm(sum) == 0) return a;
  FeedingSource both;
  both.z = Quotient(a.z * b.z, sum);
  both.emf = Quotient(a.emf * b.z + b.emf * a.z, sum);
  const ComplexD sum04 = a.z04 + b.z04;
  both.z04 = std::norm(sum04) > 0 ? Quotient(a.z04 * b.z04, sum04) : ComplexD{};
  both.asyncInitial = a.asyncInitial + b.asyncInitial;
  both.asyncRated = a.asyncRated + b.asyncRated;
  both.syncInitial = a.syncInitial + b.syncInitial;
  both.syncRated = a.syncRated + b.syncRated;
  return both;
}

FeedingSource InSeries(const FeedingSource& source, const ComplexD& z) {
  if (!source.Active()) return source;
  FeedingSource longer = source;
  longer.z += z;
  longer.z04 += z;
  // |Z| / |Z + Zs| with one root.
  const double after = std::norm(longer.z);
  const double reduction = after > 0 ? std::sqrt(std::norm(source.z) / after) : 1.0;
  return ScaledCurrents(longer, reduction, 1);
}

FeedingSource ReferredUp(const FeedingSource& source, double kt) {
  if (!source.Active() || !(kt > 0) || kt == 1) return source;
  FeedingSource referred = ScaledCurrents(source, kt, kt);
  referred.emf /= kt;
  referred.z /= kt * kt;
  referred.z04 /= kt * kt;
  return referred;
}

FeedingSource ReferredDown(const FeedingSource& source, double kt) {
  if (!source.Active() || !(kt > 0) || kt == 1) return source;
  return ReferredUp(source, 1 / kt);
}

// --- The tree ----------------------------------------------------------------------------

FeedingNetwork::FeedingNetwork(const CalcClass& calc) { Build(calc); }

void FeedingNetwork::Build(const CalcClass& calc) {
  calc_ = &calc;
  count_ = calc.Count();
  LinkParents();
  CollectBelow();
  CollectAbove();
}

// The parent of an element is the element that ends at the node where it
// starts: the element before it within a series section, otherwise the last
// element of the level above (the one whose end node opened the section).
void FeedingNetwork::LinkParents() {
  parent_.assign(count_ + 1, 0);
  std::vector<int> lastAtLevel(CalcClass::kMaxLevel + 2, 0);
  for (int i = 1; i <= count_; ++i) {
    const ElementRec& e = calc_->Element(i);
    const int level = std::clamp<int>(e.level, 1, CalcClass::kMaxLevel + 1);
    if (i > 1) {
      const ElementRec& before = calc_->Element(i - 1);
      const bool continues = before.level == e.level && before.endOfSection == 0;
      parent_[i] = continues ? i - 1 : lastAtLevel[level - 1];
    }
    lastAtLevel[level] = i;
  }

  childBegin_.assign(count_ + 2, 0);
  for (int i = 2; i <= count_; ++i) ++childBegin_[parent_[i] + 1];
  for (int p = 1; p <= count_ + 1; ++p) childBegin_[p] += childBegin_[p - 1];
  children_.assign(count_, 0);
  std::vector<int> fill(childBegin_.begin(), childBegin_.end() - 1);
  for (int i = 2; i <= count_; ++i) children_[fill[parent_[i]]++] = i;
}

void FeedingNetwork::CollectBelow() {
  belowEnd_.assign(count_ + 1, FeedingSource{});
  belowStart_.assign(count_ + 1, FeedingSource{});
  // Children follow their parent in the list: walking backwards, every
  // subtree is complete before its parent is reached.
  for (int i = count_; i >= 2; --i) {
    belowStart_[i] = BelowStart(i);
    FeedingSource& atParent = belowEnd_[parent_[i]];
    atParent = Parallel(atParent, belowStart_[i]);
  }
}

void FeedingNetwork::CollectAbove() {
  aboveStart_.assign(count_ + 1, FeedingSource{});
  for (int p = 1; p <= count_; ++p) {
    const int first = childBegin_[p];
    const int last = childBegin_[p + 1];
    if (first == last) continue;
    // Each child sees the parent's upstream side and all its siblings:
    // prefixes from the front, suffixes from the back, no subtraction.
    FeedingSource prefix = AboveEnd(p);
    for (int k = first; k < last; ++k) {
      aboveStart_[children_[k]] = prefix;
      prefix = Parallel(prefix, belowStart_[children_[k]]);
    }
    FeedingSource after;
    for (int k = last - 1; k >= first; --k) {
      FeedingSource& start = aboveStart_[children_[k]];
      start = Parallel(start, after);
      after = Parallel(after, belowStart_[children_[k]]);
    }
  }
}

FeedingSource FeedingNetwork::BelowStart(int position) const {
  const ElementRec& e = calc_->Element(position);
  if (IsMachineKind(e.kind)) return MachineSource(e);
  return ReferredUp(InSeries(belowEnd_[position], ToD(e.z1)), RatioOf(e));
}

FeedingSource FeedingNetwork::AboveEnd(int position) const {
  const ElementRec& e = calc_->Element(position);
  if (position == 1) return SupplySource(e);
  return InSeries(ReferredDown(aboveStart_[position], RatioOf(e)), ToD(e.z1));
}

FeedingSource FeedingNetwork::AtElement(int position) const {
  const ElementRec& e = calc_->Element(position);
  if (IsMachineKind(e.kind)) return Parallel(aboveStart_[position], belowStart_[position]);
  return Parallel(AboveEnd(position), belowEnd_[position]);
}

FeedingSource FeedingNetwork::AlongLine(int position, const Complex& zToPoint,
                                        double resistanceFactor) const {
  const ElementRec& e = calc_->Element(position);
  const ComplexD toPoint = Heated(zToPoint, resistanceFactor);
  const ComplexD beyond = Heated(e.z1 - zToPoint, resistanceFactor);
  return Parallel(InSeries(aboveStart_[position], toPoint), InSeries(belowEnd_[position], beyond));
}

FaultFeeding FeedingNetwork::FeedingAlongLine(int position, const Complex& zToPoint,
                                              double resistanceFactor) const {
  return LineFeeding(*this, position, zToPoint).At(resistanceFactor);
}

// --- Faults along a line ---------------------------------------------------------------

LineFeeding::LineFeeding(const FeedingNetwork& network, int position, const Complex& zToPoint)
    : above_(network.aboveStart_[position]),
      below_(network.belowEnd_[position]),
      toPoint_(zToPoint),
      beyond_(network.calc_->Element(position).z1 - zToPoint),
      aboveNorm_(std::norm(above_.z)),
      belowNorm_(std::norm(below_.z)) {}

// Both sides in parallel, each through its part of the line:
//   |E| / |Z| = |Ea·Zb + Eb·Za| / |Za·Zb|,
// which needs neither the equivalent's E and Z nor a complex division; the
// machines' initial currents are reduced as InSeries reduces them. A side
// that feeds nothing drops out as Parallel drops it.
FaultFeeding LineFeeding::At(double resistanceFactor) const {
  const ComplexD za = above_.z + Heated(toPoint_, resistanceFactor);
  const ComplexD zb = below_.z + Heated(beyond_, resistanceFactor);
  const double normA = std::norm(za);
  const double normB = std::norm(zb);
  const bool aboveFeeds = above_.Active() && normA > 0;
  const bool belowFeeds = below_.Active() && normB > 0;
  if (!belowFeeds) return aboveFeeds ? FeedingThrough(above_, normA) : FaultFeeding{};
  if (!aboveFeeds) return FeedingThrough(below_, normB);
  if (std::norm(za + zb) == 0) return FeedingThrough(above_, normA);

  // FeedingThrough of each side without its current, which the parallel
  // combination replaces.
  const double reductionA = std::sqrt(aboveNorm_ / normA);
  const double reductionB = std::sqrt(belowNorm_ / normB);
  FaultFeeding both;
  both.current = std::sqrt(std::norm(above_.emf * zb + below_.emf * za) / (normA * normB));
  both.asyncInitial = above_.asyncInitial * reductionA + below_.asyncInitial * reductionB;
  both.asyncRated = above_.asyncRated + below_.asyncRated;
  both.syncInitial = above_.syncInitial * reductionA + below_.syncInitial * reductionB;
  both.syncRated = above_.syncRated + below_.syncRated;
  return both;
}

}  // namespace kordavelt
