#include "refbook/standard_series.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "base/dial_list.h"
#include "base/number_list.h"

namespace kordavelt {
namespace {

TEST(StandardSeriesTest, NearestIndexExamples) {
  EXPECT_EQ(CurrentIndex(2.5), 5);
  EXPECT_EQ(CurrentIndex(2.8), 5);  // 2.5 is nearer than 3.2
  EXPECT_EQ(CurrentIndex(2.9), 6);
  EXPECT_EQ(CurrentIndex(0.5), 1);
  EXPECT_EQ(CurrentIndex(200000), 47);
  EXPECT_EQ(SectionIndex(2), 3);  // a tie between 1.5 and 2.5 goes to the larger
  EXPECT_EQ(SectionIndex(95), 12);
  EXPECT_EQ(VoltageIndex(380), 4);
  EXPECT_EQ(VoltageIndex(400), 5);  // tie 380 / 420
  EXPECT_EQ(VoltageIndex(1e9), 12);
  EXPECT_EQ(PowerIndex(630), 20);
  // 10000 stands twice: the first of the two is found.
  EXPECT_EQ(PowerIndex(10000), 26);
  EXPECT_EQ(PowerIndex(11000), 27);
}

TEST(StandardSeriesTest, TiesInSeriesWhoseValuesAreNoFloatGoToTheLarger) {
  // 1.425 lies halfway between 1.25 and 1.6; in float precision it would not.
  EXPECT_EQ(CurrentIndex(1.425), 3);
  EXPECT_EQ(CurrentIndex(5.65), 9);  // halfway between 5 and 6.3
}

TEST(StandardSeriesTest, HostileNumbers) {
  EXPECT_EQ(CurrentIndex(std::nan("")), 1);
  EXPECT_EQ(CurrentIndex(-5), 1);
  EXPECT_EQ(CurrentIndex(std::numeric_limits<double>::infinity()), 47);
  EXPECT_EQ(CurrentIndex(-std::numeric_limits<double>::infinity()), 1);
  EXPECT_EQ(SeriesNearestIndex({}, 5), 0);
}

TEST(StandardSeriesTest, SeriesTextsAreAscendingWithTheirCounts) {
  EXPECT_EQ(ListCount(VoltageSeries()), 12);
  EXPECT_EQ(ListCount(CurrentSeries()), 47);
  EXPECT_EQ(ListCount(PowerSeries()), 38);
  EXPECT_EQ(ListCount(SectionSeries()), 22);
  for (std::string_view series :
       {VoltageSeries(), CurrentSeries(), PowerSeries(), SectionSeries()}) {
    const std::vector<float> values = ItemsAsReals(series);
    for (std::size_t i = 1; i < values.size(); ++i) EXPECT_LE(values[i - 1], values[i]) << series;
  }
}

}  // namespace
}  // namespace kordavelt
