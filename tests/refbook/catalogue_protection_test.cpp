// The protective devices of the delivered reference book against the
// standards they are sold under. Read as the calculation reads them, a fuse
// type's two curves must pass through the gates of its own link rating: one
// characteristic shared by several links, narrower than each link's band,
// made disconnection times optimistic for the larger links and selectivity
// optimistic for the smaller. A breaker series must not gain resistance with
// its rating, as it did where a fit below 50 A met a table above it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "calc/vth_class.h"
#include "calc/vth_evaluation.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/catalogue_book.h"
#include "refbook/value_list.h"

namespace kordavelt::testing {
namespace {

// The shortest and longest operation times, s, of a fuse type at `multiple`
// times its link rating, read from its stored characteristic.
struct FuseTimes {
  vth_class characteristic;
  double Shortest(double multiple) const {
    return static_cast<double>(ShortestTime(characteristic, 0, multiple));
  }
  double Longest(double multiple) const {
    return static_cast<double>(LongestTime(characteristic, 0, multiple));
  }
};

// A hair above a curve's first point, which float rounding of the stored ln
// values might otherwise put below the curve.
constexpr double kJustAbove = 1.0001;

// The times the curves give at a gate, within the 1 % that storing ln values
// as floats and reading them back leaves.
void ExpectTime(double seconds, double gate, const std::string& what) {
  EXPECT_NEAR(seconds / gate, 1.0, 0.01) << what << ": " << seconds << " s against " << gate;
}

// The gG gates of one link rating, A: the conventional non-fusing and fusing
// currents (multiples of In) and time, the currents of the pre-arcing time
// gates, and the pre-arcing I²t at 0.01 s (A²s, 0 where the standard gives none).
struct GgGates {
  double inf, inF, conventionalS;
  double min10s, max5s, min01s, max01s;
  double i2tMin, i2tMax;
};

// IEC 60269-1 tables 2, 3 and 7 (16 … 630 A); IEC 60269-2 tables II and III (2 … 10 A).
const std::map<int, GgGates> kGgGates = {
    {2, {1.5, 2.1, 3600, 3.7, 9.2, 6.0, 23.0, 0, 0}},
    {4, {1.5, 2.1, 3600, 7.8, 18.5, 14.0, 47.0, 0, 0}},
    {6, {1.5, 1.9, 3600, 11.0, 28.0, 26.0, 72.0, 0, 0}},
    {10, {1.5, 1.9, 3600, 22.0, 46.5, 58.0, 111.0, 0, 0}},
    {16, {1.25, 1.6, 3600, 33, 65, 85, 150, 0.3e3, 1.0e3}},
    {20, {1.25, 1.6, 3600, 42, 85, 110, 200, 0.5e3, 1.8e3}},
    {25, {1.25, 1.6, 3600, 52, 110, 150, 260, 1.0e3, 3.0e3}},
    {32, {1.25, 1.6, 3600, 75, 150, 200, 350, 1.8e3, 5.0e3}},
    {40, {1.25, 1.6, 3600, 95, 190, 260, 450, 3.0e3, 9.0e3}},
    {50, {1.25, 1.6, 3600, 125, 250, 350, 610, 5.0e3, 16.0e3}},
    {63, {1.25, 1.6, 3600, 160, 320, 450, 820, 9.0e3, 27.0e3}},
    {80, {1.25, 1.6, 7200, 215, 425, 610, 1100, 16.0e3, 46.0e3}},
    {100, {1.25, 1.6, 7200, 290, 580, 820, 1450, 27.0e3, 86.0e3}},
    {125, {1.25, 1.6, 7200, 355, 715, 1100, 1910, 46.0e3, 140.0e3}},
    {160, {1.25, 1.6, 7200, 460, 950, 1450, 2590, 86.0e3, 250.0e3}},
    {200, {1.25, 1.6, 10800, 610, 1250, 1910, 3420, 140.0e3, 400.0e3}},
    {250, {1.25, 1.6, 10800, 750, 1650, 2590, 4500, 250.0e3, 760.0e3}},
    {315, {1.25, 1.6, 10800, 1050, 2200, 3420, 6000, 400.0e3, 1300.0e3}},
    {400, {1.25, 1.6, 10800, 1420, 2840, 4500, 8060, 760.0e3, 2250.0e3}},
    {500, {1.25, 1.6, 14400, 1780, 3800, 6000, 10600, 1300.0e3, 3800.0e3}},
    {630, {1.25, 1.6, 14400, 2200, 5100, 8060, 14140, 2250.0e3, 7500.0e3}},
};

// The fuse types of one utilisation category ("gG" or "aM", the start of the
// name) by link rating.
std::map<int, book::FuseRec> FusesOf(std::vector<CatalogueType>& types, std::string_view kind) {
  std::map<int, book::FuseRec> fuses;
  for (CatalogueType& type : types) {
    const book::FuseRec fuse(type.Data());
    if (fuse.Type().starts_with(kind)) fuses.emplace(static_cast<int>(fuse.Inom()), fuse);
  }
  return fuses;
}

// The calculation takes a fuse's rated current as its link current, rates
// the fuse by it and chooses the next type by it: a type is one link.
TEST_F(Catalogue, EveryFuseTypeIsOneLinkRatedByItsRatedCurrent) {
  for (CatalogueType& type : Types(book::kFuseTable)) {
    const book::FuseRec fuse(type.Data());
    EXPECT_EQ(ValueListValues(fuse.SettingI()), std::vector<float>{fuse.Inom()}) << fuse.Type();
  }
  for (const char* kind : {"gG", "aM"}) {
    std::set<int> ratings;
    for (const auto& [rating, fuse] : FusesOf(Types(book::kFuseTable), kind)) {
      ratings.insert(rating);
    }
    for (const auto& [rating, gates] : kGgGates) {
      EXPECT_TRUE(ratings.contains(rating)) << kind << " " << rating << " A";
    }
  }
}

TEST_F(Catalogue, GgFuseCurvesPassThroughTheGatesOfTheirOwnRating) {
  const std::map<int, book::FuseRec> fuses = FusesOf(Types(book::kFuseTable), "gG");
  for (const auto& [rating, fuse] : fuses) {
    SCOPED_TRACE(fuse.Type() + " " + std::to_string(rating) + " A");
    const auto gates = kGgGates.find(rating);
    ASSERT_NE(gates, kGgGates.end()) << "a link rating the standard has no gates for";
    const GgGates& g = gates->second;
    const FuseTimes t{vth_class::FromBlock(fuse.Vth())};
    const double in = rating;
    // Conventional currents: no melting at Inf, operation at If within the
    // time (read no longer than the 9999 s the program shows at most).
    const double conventional = std::min<double>(g.conventionalS, kLongestTimeS);
    ExpectTime(t.Shortest(kJustAbove * g.inf), conventional, "Inf");
    ExpectTime(t.Longest(kJustAbove * g.inF), conventional, "If");
    EXPECT_GE(t.Shortest(0.99 * g.inf), kLongestTimeS) << "melts below Inf";
    // The pre-arcing gates bound the band on both sides.
    ExpectTime(t.Shortest(g.min10s / in), 10, "Imin(10 s)");
    ExpectTime(t.Longest(g.max5s / in), 5, "Imax(5 s)");
    ExpectTime(t.Shortest(g.min01s / in), 0.1, "Imin(0.1 s)");
    ExpectTime(t.Longest(g.max01s / in), 0.1, "Imax(0.1 s)");
    if (g.i2tMin > 0) {
      ExpectTime(t.Shortest(std::sqrt(g.i2tMin / 0.01) / in), 0.01, "I²t min at 0.01 s");
      ExpectTime(t.Longest(std::sqrt(g.i2tMax / 0.01) / in), 0.01, "I²t max at 0.01 s");
    }
  }
  EXPECT_EQ(fuses.size(), kGgGates.size());
}

// aM links protect motor circuits against short circuits only: they do not
// melt below 4 In, and the gates in multiples of In are the same for every rating.
TEST_F(Catalogue, AmFuseCurvesPassThroughTheMotorCircuitGates) {
  const std::map<int, book::FuseRec> fuses = FusesOf(Types(book::kFuseTable), "aM");
  EXPECT_FALSE(fuses.empty());
  for (const auto& [rating, fuse] : fuses) {
    SCOPED_TRACE(fuse.Type() + " " + std::to_string(rating) + " A");
    const FuseTimes t{vth_class::FromBlock(fuse.Vth())};
    EXPECT_GE(t.Shortest(3.9), kLongestTimeS);
    ExpectTime(t.Shortest(kJustAbove * 4), 60, "4 In");
    ExpectTime(t.Longest(kJustAbove * 6.3), 60, "6.3 In");
    ExpectTime(t.Shortest(8), 0.5, "8 In");
    ExpectTime(t.Shortest(10), 0.2, "10 In");
    ExpectTime(t.Longest(12.5), 0.5, "12.5 In");
    ExpectTime(t.Longest(19), 0.1, "19 In");
  }
}

// Within a series (its code) a larger breaker has heavier contacts and
// releases: neither its resistance nor its reactance rises with the rating.
TEST_F(Catalogue, BreakerImpedancesDoNotRiseWithTheRatingWithinASeries) {
  std::map<std::uint16_t, std::multimap<float, book::BreakerRec>> series;
  for (CatalogueType& type : Types(book::kBreakerTable)) {
    const book::BreakerRec breaker(type.Data());
    series[breaker.Seria()].emplace(breaker.Inom(), breaker);
  }
  for (const auto& [code, byRating] : series) {
    for (auto smaller = byRating.begin(), it = std::next(smaller); it != byRating.end();
         smaller = it++) {
      SCOPED_TRACE(it->second.Type() + " after " + smaller->second.Type());
      EXPECT_GT(it->second.R1(), 0);
      EXPECT_LE(it->second.R1(), smaller->second.R1());
      EXPECT_LE(it->second.X1(), smaller->second.X1());
    }
  }
  EXPECT_GE(series.size(), 5u);
}

}  // namespace
}  // namespace kordavelt::testing
