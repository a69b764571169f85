// Design-load rules on section accumulators: the coefficient tables, the
// combination of starting currents, and the node values of the methods
// "Кз и Ко" and "Iзадан".

#include <gtest/gtest.h>

#include <cmath>

#include "calc/design_loads.h"
#include "calc/prepare_context.h"

namespace kordavelt {
namespace {

LevelAccumulator Balanced(float amps) {
  LevelAccumulator acc;
  acc.phases = {Complex{amps, 0}, kOperatorA2 * Complex{amps, 0}, kOperatorA * Complex{amps, 0}};
  acc.iStart = acc.phases[0];
  return acc;
}

TEST(DesignCoefficients, DistributionTableReadAndInterpolated) {
  EXPECT_NEAR(DistributionDesignCoefficient(2, 0.1L), 6.22, 1e-6);
  EXPECT_NEAR(DistributionDesignCoefficient(2, 0.05L), 6.22, 1e-6);  // Kи below 0.1
  EXPECT_NEAR(DistributionDesignCoefficient(4, 0.1L), (4.05 + 2.84) / 2, 1e-6);
  EXPECT_NEAR(DistributionDesignCoefficient(2, 0.25L), (3.39 + 2.45) / 2, 1e-6);
  EXPECT_EQ(DistributionDesignCoefficient(2, 0.8L), 1);
  EXPECT_EQ(DistributionDesignCoefficient(150, 0.1L), 1);
}

TEST(DesignCoefficients, SupplyTableTakesTheNextColumnOfReceivers) {
  EXPECT_NEAR(SupplyDesignCoefficient(6, 0.1L), 1.20, 1e-6);  // column 8
  EXPECT_NEAR(SupplyDesignCoefficient(60, 0.1L), 0.65, 1e-6);
  EXPECT_NEAR(SupplyDesignCoefficient(1, 0.9L), 1.14, 1e-6);  // Kи taken as 0.7
}

TEST(SectionMerge, LargerStartingMotorRunsWithTheOthersCurrent) {
  LevelAccumulator small = Balanced(10);
  small.iStart = {60, 0};
  small.tStart = 2;
  LevelAccumulator large = Balanced(20);
  large.iStart = {140, 0};
  large.tStart = 5;
  LevelAccumulator parent;
  MergeAccumulator(parent, large, 0);
  MergeAccumulator(parent, small, 0);
  EXPECT_NEAR(parent.iStart.re, 150, 1e-4);
  EXPECT_EQ(parent.tStart, 5);
  EXPECT_NEAR(parent.phases[0].re, 30, 1e-4);
  EXPECT_EQ(small.phases[0].re, 0);  // the child is cleared
}

TEST(SectionMerge, CategorySumsOnlyUnderTheCategoryMethods) {
  LevelAccumulator child = Balanced(10);
  child.categories[kCategoryPeriodic][0] = {10, 0};
  LevelAccumulator plain;
  LevelAccumulator categorised;
  LevelAccumulator copy = child;
  MergeAccumulator(plain, child, 1);
  MergeAccumulator(categorised, copy, 2);
  EXPECT_EQ(plain.categories[kCategoryPeriodic][0].re, 0);
  EXPECT_EQ(categorised.categories[kCategoryPeriodic][0].re, 10);
}

TEST(DesignLoadMethods, SimultaneityNeedsMoreThanTwoTenths) {
  LevelAccumulator acc = Balanced(100);
  acc.iDesign = {100, 0};
  ApplyDesignLoad(acc, 1, kClassOrdinary, 0.2L);
  EXPECT_NEAR(Abs(acc.iDesign), 100, 1e-3);
  ApplyDesignLoad(acc, 1, kClassOrdinary, 0.5L);
  EXPECT_NEAR(Abs(acc.iDesign), 50, 1e-3);
}

TEST(DesignLoadMethods, GivenCurrentOnlyLowersAPlausibleValue) {
  LevelAccumulator acc = Balanced(100);
  ApplyDesignLoad(acc, 4, kClassOrdinary, 150);  // larger than computed: no change
  EXPECT_NEAR(Abs(acc.iDesign), 100, 1e-3);
  ApplyDesignLoad(acc, 4, kClassOrdinary, 10);  // below a fifth: taken as a slip
  EXPECT_NEAR(Abs(acc.iDesign), 100, 1e-3);
  ApplyDesignLoad(acc, 4, kClassOrdinary, 80);
  EXPECT_NEAR(Abs(acc.iDesign), 80, 1e-3);
  EXPECT_NEAR(Abs(acc.phases[2]), 80, 1e-3);
}

TEST(DesignLoadMethods, TransformerRatioScalesCurrentsAndSquares) {
  LevelAccumulator acc = Balanced(100);
  acc.sumI2[0] = 10000;
  ScaleAccumulator(acc, 0.04L);
  EXPECT_NEAR(acc.phases[0].re, 4, 1e-5);
  EXPECT_NEAR(acc.sumI2[0], 16, 1e-3);
}

}  // namespace
}  // namespace kordavelt
