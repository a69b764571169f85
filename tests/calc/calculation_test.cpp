// The whole calculation of a feeder, every stage as the menu runs it: a
// 100 A breaker on 0.4 kV busbars protecting a copper 4 × 95 mm² cable to a
// 20 kW heater. On 50 m the breaker trips fast at every minimum fault;
// on 1000 m the single-phase fault at the far end is too weak for it, and
// only that is reported. The minimum currents are checked against the
// textbook loop formulas, independently of the code.

#include "calc/calculation.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "calc/element_checks.h"
#include "calc/network_sketch.h"
#include "refbook/vth_block.h"

namespace kordavelt::testing {
namespace {

class WholeCalculation : public NetworkSketch {
 protected:
  WholeCalculation() {
    ModelSettings& settings = s.m->Settings();
    settings.SetNormalVoltageDeviation(-10);
    settings.SetMaxVoltageDrop(10);
    settings.SetStartVoltageDeviation(-30);
    settings.SetSelectivityFactor(1.15f);
  }

  // Source (10 kA, 8 kA single-phase) → 100 A breaker → cable of `lengthM` → 20 kW heater.
  void Build(float lengthM) {
    Type<book::TripUnitRec>(book::kTripUnitTable, 801, [](book::TripUnitRec& u) {
      Curve(u.Vth(), 1, {1.05, 1.5, 2, 4, 6, 8, 10}, {7200, 60, 20, 3, 1, 0.05, 0.02});
      Curve(u.Vth(), 8, {1.3, 2, 3, 6, 10, 12, 15}, {7200, 120, 40, 1.2, 0.2, 0.1, 0.05});
    });
    Type<book::BreakerRec>(book::kBreakerTable, 802, [](book::BreakerRec& b) {
      b.SetInom(100);
      b.SetIswitch(25);
      b.SetTripUnit(801);
    });
    const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node();
    source = Source(n1, 400, 0);
    Edit<SourceObjectRec>(kKindPowerSource, source.branch, [](SourceObjectRec& o) { o.SetIk1(8); });
    breaker = s.m.Breaker(n1, n2);
    Edit<BreakerRec>(kKindBreaker, breaker, [](BreakerRec& b) { b.SetType(802); });
    cable = Cable(n2, n3, lengthM);
    far = n3;
    Load(n3, Group(20, 1));
    ASSERT_TRUE(s.calc.CalcSource(source.number));
  }

  static void Curve(Bytes block, int first, const double (&multiples)[7],
                    const double (&times)[7]) {
    for (int k = 0; k < 7; ++k) {
      SetVthPoint(
          block, first + k,
          {static_cast<float>(std::log(multiples[k])), static_cast<float>(std::log(times[k]))});
    }
  }

  std::string Violations(std::int32_t key) { return ViolationText(Of(key).violations); }

  ModelBuilder::Tied source;
  std::int32_t breaker = 0, cable = 0;
  int far = 0;  // the heater's node
};

TEST_F(WholeCalculation, ShortFeederPassesEveryCheck) {
  Build(50);
  EXPECT_EQ(Violations(breaker), "");
  EXPECT_EQ(Violations(cable), "");
  EXPECT_TRUE(s.Calculated(source.number));
  // The breaker protects the cable: its times are those of the cable's
  // faults, well inside a second; the cable is the breaker's zone.
  const ElementRec& b = Of(breaker);
  for (int type = 0; type < 3; ++type) EXPECT_LT(b.tkMin[type], 1) << type;
  EXPECT_LT(Of(cable).tProtect[0], 1);
  EXPECT_GT(Of(cable).ikMaxAlong[0], Of(cable).ikMaxAlong[2]);
}

TEST_F(WholeCalculation, LongFeederFailsOnlyTheSinglePhaseSensitivity) {
  Build(1000);
  const ElementRec& c = Of(cable);
  const ElementRec& b = Of(breaker);
  // Single-phase minimum at the far end: 3E / |2·Z1Σ + Z0Σ|, the conductors
  // heated by the fault only a little in 0.05 s (well under 1 %).
  const C z1Source = ToC(s.calc.Element(1).z1), z0Source = ToC(s.calc.Element(1).z0);
  const C loop = 2.0 * (z1Source + ToC(c.z1)) + z0Source + ToC(c.z0);
  const double e = 400 / std::sqrt(3.0);
  const double ik1 = 3 * e / std::abs(loop);  // V / mΩ = kA
  EXPECT_NEAR(b.ikMin[0], ik1, 0.01 * ik1);
  const double ik3 = e / std::abs(z1Source + ToC(c.z1));
  EXPECT_NEAR(b.ikMin[2], ik3, 0.01 * ik3);
  // 0.53 kA is 5.3 × Ir: the upper curve reads seconds there.
  EXPECT_GT(b.tkMin[0], 1);
  EXPECT_LT(b.tkMin[2], 1);
  EXPECT_EQ(Violations(breaker), "#Кч1ф!");
}

// A calculation keeps its working tables and the readings of the
// characteristics for the next one; a setting changed in between must be
// read anew. Halving the breaker's reference current makes the far
// single-phase fault trip it within a second.
TEST_F(WholeCalculation, ASettingChangedBetweenCalculationsIsReadAnew) {
  Build(1000);
  ASSERT_EQ(Violations(breaker), "#Кч1ф!");
  const float slowTime = Of(cable).tProtect[1];
  Edit<BreakerRec>(kKindBreaker, breaker, [](BreakerRec& b) { b.SetIr(50); });
  ASSERT_TRUE(s.calc.CalcSource(source.number));
  EXPECT_LT(Of(breaker).tkMin[0], 1);
  EXPECT_EQ(Violations(breaker), "");
  EXPECT_LT(Of(cable).tProtect[1], slowTime);
}

// The working tables a calculation keeps were grown by a larger tree: a
// smaller one calculated in them must come out as from a fresh calculation,
// nothing of the larger tree left in its loops, feeding or readings.
TEST_F(WholeCalculation, TablesKeptFromALargerTreeGiveTheResultsOfAFreshCalculation) {
  Build(200);
  Load(far, Motor(15, 0.88, 200, 4));
  const int busbars = s.m.Node();
  const auto large = s.FedSource(busbars, "Т2", 12);
  Edit<SourceObjectRec>(kKindPowerSource, large.branch, [](SourceObjectRec& o) { o.SetUr(400); });
  for (int outlet = 0; outlet < 12; ++outlet) {
    const int board = s.m.Node(), end = s.m.Node();
    const std::int32_t device = s.m.Breaker(busbars, board);
    Edit<BreakerRec>(kKindBreaker, device, [](BreakerRec& b) { b.SetType(802); });
    Cable(board, end, 30.0f + 10 * outlet);
    Load(end, outlet % 3 == 0 ? Motor(30, 0.88, 400, 5) : Group(15, 0.9));
  }
  ASSERT_TRUE(s.calc.CalcSource(large.number));
  ASSERT_TRUE(s.calc.CalcSource(source.number));

  struct Results {
    std::array<float, 3> ikMin, tkMin, ikMaxAlong;
    std::array<float, 4> tProtect, tempProtect, joule;
    float ikMax, iPeak, iBreak, ikd, uWork;
    Complex feedEmf, feedZ;
    std::uint32_t violations;
    bool operator==(const Results&) const = default;
  };
  const auto results = [this] {
    std::vector<Results> all;
    for (int i = 1; i <= s.calc.Count(); ++i) {
      const ElementRec& e = s.calc.Element(i);
      all.push_back({e.ikMin, e.tkMin, e.ikMaxAlong, e.tProtect, e.tempProtect, e.joule, e.ikMax,
                     e.iPeak, e.iBreak, e.ikd, e.uWork, e.feedEmf, e.feedZ, e.violations});
    }
    return all;
  };
  const std::vector<Results> kept = results();
  ASSERT_EQ(kept.size(), 5u);

  CalcClass fresh(s.m.model);
  ASSERT_TRUE(fresh.CalcSource(source.number));
  ASSERT_TRUE(s.calc.TraceTree(source.number));
  EXPECT_TRUE(results() == kept);
}

}  // namespace
}  // namespace kordavelt::testing
