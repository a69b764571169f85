// Load envelopes of protective elements. The faults guarded: sections joined
// out of current order, points that hide the envelope's shape, a transformer
// that does not refer the currents passing it, and an envelope cut to 21
// points that falls below a load.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "calc/load_envelopes.h"
#include "calc/network_sketch.h"
#include "refbook/vth_block.h"

namespace kordavelt::testing {
namespace {

class LoadEnvelopeSweep : public NetworkSketch {
 protected:
  LoadEnvelopeSweep() { s.calc.StopAfter(CalcStage::LoadEnvelopes); }

  // A 250 A breaker whose release has one overload point per curve.
  std::int32_t Breaker(int from, int to) {
    if (!s.m->Book()->FindType(book::kBreakerTable, 802)) {
      Type<book::TripUnitRec>(book::kTripUnitTable, 801, [](book::TripUnitRec& u) {
        SetVthPoint(u.Vth(), 1, {std::log(1.05f), std::log(3600.0f)});
      });
      Type<book::BreakerRec>(book::kBreakerTable, 802, [](book::BreakerRec& b) {
        b.SetInom(250);
        b.SetTripUnit(801);
      });
    }
    const std::int32_t key = s.m.Breaker(from, to);
    Edit<BreakerRec>(kKindBreaker, key, [](BreakerRec& b) { b.SetType(802); });
    return key;
  }

  // The envelope of branch `key` against (ln I, ln t) of currents in A
  // referred by `kt` and times in s.
  void ExpectEnvelope(std::int32_t key, double kt, const std::vector<std::pair<float, float>>& at) {
    const vth_class* c = AsCharacteristic(Of(key).characteristic);
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->envelopeCount, static_cast<int>(at.size()) - 1);
    for (std::size_t k = 0; k < at.size(); ++k) {
      EXPECT_NEAR(c->envelope[k].lnCurrent, std::log(at[k].first / 1000 * kt), 1e-5) << k;
      EXPECT_NEAR(c->envelope[k].lnTime, std::log(at[k].second), 1e-5) << k;
    }
  }
};

TEST_F(LoadEnvelopeSweep, LoadsJoinSortedByCurrentAndAreReferredThroughTheTransformer) {
  const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node(), n4 = s.m.Node();
  const auto source = Source(n1, 10000, 3);
  const std::int32_t above = Breaker(n1, n2);
  Transformer(n2, n3);
  const std::int32_t below = Breaker(n3, n4);
  const ElementRec& heater = Of(Load(n4, Group(100, 1)));            // ≈ 144 A, lasting
  const ElementRec& small = Of(Load(n4, Motor(30, 0.85, 250, 10)));  // 250 A for 10 s
  const ElementRec& large = Of(Load(n4, Motor(55, 0.88, 600, 2)));   // 600 A for 2 s
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  // The motors run on less than the heater: what lasts longest up to its
  // current is the heater, then the long start, then the large one.
  ASSERT_GT(heater.checkCurrent, large.checkCurrent);
  const std::vector<std::pair<float, float>> points = {{heater.checkCurrent, std::exp(20.0f)},
                                                       {small.checkCompanion, 10},
                                                       {large.checkCompanion, 2}};
  ExpectEnvelope(below, 1, points);
  ExpectEnvelope(above, 0.04, points);
}

TEST(LoadEnvelope, MoreThan21PointsAreMergedWithoutFallingBelowAnyLoad) {
  // 30 starts with rising currents and falling times, unevenly spaced.
  LoadEnvelope envelope, loads;
  for (int k = 0; k < 30; ++k) {
    loads.push_back({static_cast<float>(-3 + 0.1 * k + 0.03 * (k % 3)),
                     static_cast<float>(5 - 0.2 * k - 0.05 * (k % 4))});
  }
  JoinEnvelopes(envelope, loads);
  ASSERT_EQ(envelope.size(), static_cast<std::size_t>(kEnvelopePoints));
  for (std::size_t k = 1; k < envelope.size(); ++k) {
    EXPECT_GT(envelope[k].lnCurrent, envelope[k - 1].lnCurrent);
    EXPECT_LT(envelope[k].lnTime, envelope[k - 1].lnTime);
  }
  for (const EnvelopePoint& load : loads) {
    bool covered = false;
    for (const EnvelopePoint& p : envelope) {
      covered = covered || (p.lnCurrent >= load.lnCurrent && p.lnTime >= load.lnTime);
    }
    EXPECT_TRUE(covered) << load.lnCurrent;
  }
}

}  // namespace
}  // namespace kordavelt::testing
