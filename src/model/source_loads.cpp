#include "model/source_loads.h"

#include <array>
#include <cmath>

#include "model/data_texts.h"
#include "model/model_keys.h"
#include "model/model_records.h"
#include "model/model_settings.h"
#include "model/model_tables.h"
#include "storage/dbf_class.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

// Kр × 100 by the effective number of receivers (rows) and Kи × 100 (columns).
constexpr std::array<double, 6> kNeBreakpoints{4, 20, 50, 100, 200, 10000};
constexpr std::array<double, 5> kKiBreakpoints{10, 30, 60, 80, 100};
constexpr double kDesignTable[6][5] = {
    {343, 214, 146, 114, 100}, {184, 134, 115, 106, 100}, {140, 116, 110, 104, 100},
    {121, 110, 107, 102, 100}, {115, 107, 105, 101, 100}, {100, 100, 100, 100, 100},
};

// The pair of breakpoints to interpolate between: the first one not below
// `value` and the one before it; the first two when the value is not above
// the first breakpoint, the last two when it is above all of them.
template <std::size_t N>
std::size_t UpperBreakpoint(const std::array<double, N>& points, double value) {
  std::size_t i = 1;
  while (i < N - 1 && points[i] < value) ++i;
  return i;
}

double Interpolate(double x0, double y0, double x1, double y1, double x) {
  return y0 + (y1 - y0) * (x - x0) / (x1 - x0);
}

struct SourceSums {
  bool exists = false;
  double p = 0;   // Σ k·P, or ΣP for "ТПЭП"
  double q = 0;   // Σ k·Q, or ΣQ
  double p2 = 0;  // ΣP²
  double kp = 0;  // Σ k·P
};

}  // namespace

double UsageFactor(const GroupRec& group) {
  const double k = static_cast<double>(group.Kv()) * group.Kz();
  return k == 0 ? 1.0 : k;
}

double DemandFactor(const GroupRec& group) {
  const double s = std::hypot(static_cast<double>(group.P()), static_cast<double>(group.Q()));
  double k = (s >= 100 || group.Regim() == kRegimeContinuous) ? 0.7 : 0.35;
  if (group.Class() == kGroupKindEd) k = 0.85;
  if (group.Regim() == kRegimeEpisodic) k = 0.15;
  return k;
}

double DesignCoefficient(double ne, double ki) {
  const double ki100 = ki * 100;
  const std::size_t c1 = UpperBreakpoint(kKiBreakpoints, ki100);
  const std::size_t r1 = UpperBreakpoint(kNeBreakpoints, ne);
  const auto atColumn = [&](std::size_t c) {
    return Interpolate(kNeBreakpoints[r1 - 1], kDesignTable[r1 - 1][c], kNeBreakpoints[r1],
                       kDesignTable[r1][c], ne);
  };
  const double kr100 = Interpolate(kKiBreakpoints[c1 - 1], atColumn(c1 - 1), kKiBreakpoints[c1],
                                   atColumn(c1), ki100);
  return kr100 / 100;
}

bool ComputeSourceLoads(dbfClass& model, const ModelSettings& settings) {
  return ComputeSourceLoads(model, settings.LoadMethod());
}

bool ComputeSourceLoads(dbfClass& model, int loadMethod) {
  tbClass* sources = model.Table(kSourceTable);
  tbClass* receivers = model.Table(kReceiverTable);
  tbClass* groups = model.Table(kGroupTable);
  if (sources == nullptr || receivers == nullptr || groups == nullptr) return false;

  std::array<SourceSums, kMaxSourceNumber + 1> sums{};
  sources->GoTo(0);
  while (sources->Next()) {
    const std::int32_t number = sources->Key();
    if (number >= 1 && number <= kMaxSourceNumber) sums[number].exists = true;
  }

  const auto method = static_cast<LoadMethod>(loadMethod);
  receivers->GoTo(0);
  while (receivers->Next()) {
    const int source = ReceiverRec(receivers->Record()).SourceNumber();
    if (source == 0 || !sums[source].exists) continue;
    groups->Seek(GroupOfKey(receivers->Key()));
    if (groups->Status() != kStatusOk || groups->Key() != GroupOfKey(receivers->Key())) continue;
    const GroupRec group(groups->Record());
    const double p = group.P();
    const double q = group.Q();
    SourceSums& sum = sums[source];
    if (method == LoadMethod::DesignFactor) {
      sum.p += p;
      sum.q += q;
      sum.p2 += p * p;
      sum.kp += UsageFactor(group) * p;
    } else {
      const double k =
          method == LoadMethod::DemandFactor ? DemandFactor(group) : UsageFactor(group);
      sum.p += k * p;
      sum.q += k * q;
    }
  }

  sources->GoTo(0);
  while (sources->Next()) {
    const std::int32_t number = sources->Key();
    double p = 0;
    double q = 0;
    if (number >= 1 && number <= kMaxSourceNumber) {
      const SourceSums& sum = sums[number];
      if (method != LoadMethod::DesignFactor) {
        p = sum.p;
        q = sum.q;
      } else if (sum.p > 0) {
        const double ne = sum.p * sum.p / sum.p2;
        const double ki = sum.kp / sum.p;
        const double kr = DesignCoefficient(ne, ki);
        p = sum.p * kr * ki;
        q = sum.q * kr * ki;
      }
    }
    SourceRec record(sources->Record());
    if (record.DesignP() == static_cast<float>(p) && record.DesignQ() == static_cast<float>(q)) {
      continue;
    }
    record.SetDesignP(static_cast<float>(p));
    record.SetDesignQ(static_cast<float>(q));
    sources->MarkModified();
  }
  sources->Flush();
  return true;
}

}  // namespace kordavelt
