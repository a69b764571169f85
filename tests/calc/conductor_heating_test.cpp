// Conductor heating during a fault: the end temperature after a Joule
// integral, and the resistance a heated line presents to the fault current.

#include "calc/conductor_heating.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kordavelt {
namespace {

// A copper 95 mm² cable at 50 °C working temperature, 20 + j6 mΩ.
ElementRec CopperCable() {
  ElementRec e;
  e.kind = 11;
  e.z1 = {20.0f, 6.0f};
  e.tempWork = 50;
  e.tempConstant = 234;
  e.adiabaticConstant = static_cast<float>(19.58 / (95.0 * 95.0));
  e.nonAdiabaticA = static_cast<float>(0.29 * 0.29 / 95);
  e.nonAdiabaticB = static_cast<float>(0.06 / 95);
  return e;
}

TEST(ConductorHeating, AdiabaticTemperatureAndResistance) {
  const ElementRec e = CopperCable();
  // 10 kA for 0.5 s: Bt = 50 kA²·s.
  const double k = 50 * 19.58 / (95.0 * 95.0);
  EXPECT_NEAR(static_cast<double>(HeatingFactor(e, 50, 0.5, false)), k, 1e-6);
  const double end = std::exp(k) * (50 + 228) - 228;
  EXPECT_NEAR(static_cast<double>(HeatedTemperature(50, k)), end, 1e-6);
  const Complex z = HeatedZ1(e, 50, 0.5, false);
  EXPECT_NEAR(z.re, 20 * (234 + end) / (234 + 50), 1e-4);
  EXPECT_FLOAT_EQ(z.im, 6);  // the reactance does not heat
}

TEST(ConductorHeating, NonAdiabaticHeatingIsLower) {
  const ElementRec e = CopperCable();
  const double divisor = std::sqrt(2.0 * 0.29 * 0.29 / 95) + 1 + 2.0 * 0.06 / 95;
  EXPECT_NEAR(static_cast<double>(HeatingFactor(e, 50, 2, true)),
              static_cast<double>(HeatingFactor(e, 50, 2, false)) / divisor, 1e-9);
  EXPECT_LT(HeatedZ1(e, 50, 2, true).re, HeatedZ1(e, 50, 2, false).re);
}

TEST(ConductorHeating, FactorIsLimitedToFive) {
  const ElementRec e = CopperCable();
  const double end = std::exp(5.0) * (50 + 228) - 228;
  EXPECT_NEAR(HeatedZ1(e, 1e6, 1, false).re, 20 * (234 + end) / (234 + 50), 1e-2);
}

TEST(ConductorHeating, OnlyLinesWithAWorkingTemperatureHeat) {
  ElementRec breaker = CopperCable();
  breaker.kind = 21;
  EXPECT_EQ(HeatedZ1(breaker, 50, 0.5, false), breaker.z1);
  ElementRec cold = CopperCable();
  cold.tempWork = 0;
  EXPECT_EQ(HeatedZ1(cold, 50, 0.5, false), cold.z1);
  EXPECT_EQ(HeatedZ1(CopperCable(), 0, 0.5, false), CopperCable().z1);
  EXPECT_TRUE(IsLineKind(13));
  EXPECT_FALSE(IsLineKind(14));
}

}  // namespace
}  // namespace kordavelt
