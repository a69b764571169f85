// The invariant checks: they stop the run in the builds that carry them and
// cost nothing, not even the evaluation of their condition, in the others.

#include "base/invariant.h"

#include <gtest/gtest.h>

namespace kordavelt {
namespace {

#ifdef KORDAVELT_CHECK_INVARIANTS

TEST(Invariant, ABrokenInvariantStopsTheRunNamingItsPlaceAndText) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const int slot = 40;
  EXPECT_DEATH(KORDAVELT_INVARIANT(slot < 32, "a slot lies within its page"),
               "invariant_test.cpp:[0-9]+: invariant broken: a slot lies within its page");
}

TEST(Invariant, AKeptInvariantLetsTheRunGoOn) {
  int evaluated = 0;
  KORDAVELT_INVARIANT(++evaluated == 1, "evaluated once");
  EXPECT_EQ(evaluated, 1);
}

#else

TEST(Invariant, WithoutChecksTheConditionIsNotEvaluated) {
  int evaluated = 0;
  KORDAVELT_INVARIANT(++evaluated == 1, "never evaluated");
  EXPECT_EQ(evaluated, 0);
}

#endif

}  // namespace
}  // namespace kordavelt
