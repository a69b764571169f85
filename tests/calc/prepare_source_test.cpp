// The source's own impedances from its busbar short-circuit currents: the
// time constant completed and saved, an open single-phase loop, and source
// data that would need a negative zero-sequence impedance.

#include <gtest/gtest.h>

#include <cmath>

#include "calc/prepare_test_support.h"
#include "calc/vth_class.h"
#include "model/model_kinds.h"
#include "model/object_records.h"

namespace kordavelt::testing {
namespace {

class Sources : public PrepareScenario {
 protected:
  std::int32_t SourceWith(float ik3, float ik1, float ta) {
    const std::int32_t key = m.Source(n1, "Т1").branch;
    EditObject<SourceObjectRec>(kKindPowerSource, key, [&](SourceObjectRec& s) {
      s.SetIk3(ik3);
      s.SetIk1(ik1);
      s.SetTa(ta);
    });
    return key;
  }
  // Phase EMF at the default maximum EMF 1.05 and 380 V.
  const double emf = 1.05 * 380 / 1.732051;
};

TEST_F(Sources, TimeConstantSplitsTheImpedanceAndTheLoopGivesZ0) {
  const ElementRec& e = Prepare(SourceWith(20, 10, 0.02f));
  const double wt = 314.15927 * 0.02;
  const double r1 = emf / 20 / std::sqrt(wt * wt + 1);
  const double rLoop = 3 * emf / 10 / std::sqrt(wt * wt + 1);
  EXPECT_TRUE(lastResult);
  EXPECT_EQ(e.classCode, 150);
  EXPECT_NEAR(e.z1.re, r1, 1e-4);
  EXPECT_NEAR(e.z1.im, r1 * wt, 1e-3);
  EXPECT_NEAR(e.z0.re, rLoop - 2 * r1, 1e-3);
  EXPECT_NEAR(e.z0.im, (rLoop - 2 * r1) * wt, 1e-2);
  // The source never operates but carries a characteristic for the checks.
  EXPECT_NE(AsCharacteristic(e.characteristic), nullptr);
}

TEST_F(Sources, ZeroTimeConstantTakesXOverRTenAndIsSaved) {
  const std::int32_t key = SourceWith(20, 0, 0);
  const ElementRec& e = Prepare(key);
  EXPECT_NEAR(e.z1.im, 0.995 * emf / 20, 1e-4);
  EXPECT_NEAR(e.z1.re, 0.0995 * emf / 20, 1e-4);
  EXPECT_NEAR(ObjectValue<SourceObjectRec>(kKindPowerSource, key, &SourceObjectRec::Ta),
              10 / 314.15927, 1e-7);
  // No single-phase current: a loop of 30000·E, practically open.
  const double rLoop = 30000 * emf / std::sqrt(101.0);
  EXPECT_NEAR(e.z0.re, rLoop - 2 * e.z1.re, 1.0);
}

TEST_F(Sources, MissingShortCircuitCurrentLeavesNoImpedance) {
  const ElementRec& e = Prepare(SourceWith(0, 5, 0.02f));
  EXPECT_TRUE(lastResult);
  EXPECT_TRUE(IsZero(e.z1));
  EXPECT_TRUE(IsZero(e.z0));
}

TEST_F(Sources, SinglePhaseCurrentAboveOneAndAHalfThreePhaseStopsTheSource) {
  Prepare(SourceWith(10, 16, 0.02f));
  EXPECT_FALSE(lastResult);
  ASSERT_FALSE(m.ui.Messages().empty());
  EXPECT_EQ(m.ui.Messages().back(), "Расчет сети: Ошибка в параметрах ИП");
}

}  // namespace
}  // namespace kordavelt::testing
