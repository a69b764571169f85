#include "calc/load_envelopes.h"
#include "calc/backward_walk.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calc/calc_class.h"
#include "calc/prepare_elements.h"

namespace kordavelt {
namespace {

// ln of a current or time of 0, and the ln t of a load that lasts.
constexpr float kLnZero = -20.0f;
constexpr float kLnLasting = 20.0f;

float LnOrZero(long double value) {
  if (!(value > 0)) return kLnZero;
  return std::max(kLnZero, static_cast<float>(std::log(value)));
}

// What a terminal element adds: its working current, lasting, and its
// largest start when that draws more.
LoadEnvelope TerminalEnvelope(const ElementRec& e) {
  if (!IsTerminalKind(e.kind)) return {};
  LoadEnvelope envelope{{LnOrZero(e.checkCurrent / 1000.0L), kLnLasting}};
  if (e.checkCompanion > e.checkCurrent) {
    envelope.push_back({LnOrZero(e.checkCompanion / 1000.0L), LnOrZero(e.tStart)});
  }
  return envelope;
}

// Drops every point that another point reaches or exceeds in both current
// and time; the rest runs with rising currents and falling times.
void KeepUpperEnvelope(LoadEnvelope& envelope) {
  std::sort(envelope.begin(), envelope.end(), [](const EnvelopePoint& a, const EnvelopePoint& b) {
    return a.lnCurrent != b.lnCurrent ? a.lnCurrent < b.lnCurrent : a.lnTime < b.lnTime;
  });
  LoadEnvelope kept;
  float longest = -std::numeric_limits<float>::infinity();
  for (auto point = envelope.rbegin(); point != envelope.rend(); ++point) {
    if (point->lnTime > longest) {
      kept.push_back(*point);
      longest = point->lnTime;
    }
  }
  std::reverse(kept.begin(), kept.end());
  envelope = std::move(kept);
}

// Merges neighbours into (larger current, longer time) where that raises the
// staircase least, until the envelope fits the characteristic.
void MergeToCapacity(LoadEnvelope& envelope) {
  while (envelope.size() > static_cast<std::size_t>(kEnvelopePoints)) {
    std::size_t cheapest = 0;
    long double smallestArea = std::numeric_limits<long double>::infinity();
    for (std::size_t k = 0; k + 1 < envelope.size(); ++k) {
      const long double width =
          static_cast<long double>(envelope[k + 1].lnCurrent) - envelope[k].lnCurrent;
      const long double height =
          static_cast<long double>(envelope[k].lnTime) - envelope[k + 1].lnTime;
      if (width * height < smallestArea) {
        smallestArea = width * height;
        cheapest = k;
      }
    }
    envelope[cheapest].lnCurrent = envelope[cheapest + 1].lnCurrent;
    envelope.erase(envelope.begin() + static_cast<std::ptrdiff_t>(cheapest) + 1);
  }
}

// Currents referred through a transformer; a current of 0 stays 0.
void ShiftCurrents(LoadEnvelope& envelope, long double kt) {
  const long double shift = std::log(kt);
  for (EnvelopePoint& point : envelope) {
    if (point.lnCurrent > kLnZero) point.lnCurrent = static_cast<float>(point.lnCurrent + shift);
  }
}

void Store(const LoadEnvelope& envelope, vth_class& characteristic) {
  characteristic.ClearEnvelope();
  const int count = std::min<int>(static_cast<int>(envelope.size()), kEnvelopePoints);
  for (int k = 0; k < count; ++k) characteristic.envelope[k] = envelope[k];
  characteristic.envelopeCount = count > 0 ? count - 1 : 0;
}

}  // namespace

void JoinEnvelopes(LoadEnvelope& into, const LoadEnvelope& other) {
  into.insert(into.end(), other.begin(), other.end());
  KeepUpperEnvelope(into);
  MergeToCapacity(into);
}

bool LoadEnvelopes(CalcClass& calc) {
  std::vector<LoadEnvelope> levels(kSweepLevels);
  const auto close = [&](int parent, int child) {
    JoinEnvelopes(levels[parent], levels[child]);
    levels[child].clear();
  };
  return WalkBackwards(calc, close, [&](int, ElementRec& e, int level, int) {
    LoadEnvelope& envelope = levels[level];
    if (e.endOfSection != 0) envelope = TerminalEnvelope(e);
    if (auto* characteristic = dynamic_cast<vth_class*>(e.characteristic)) {
      Store(envelope, *characteristic);
    }
    if (e.kt > 0 && e.kt != 1) ShiftCurrents(envelope, e.kt);
    return true;
  });
}

}  // namespace kordavelt
