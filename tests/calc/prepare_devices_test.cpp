// Transformers, reactors, stabilisers and protective elements: ratios and
// impedances referred to the side the tree leaves by, the vector-group shift
// with its sign, and the characteristics the protective elements get.

#include <gtest/gtest.h>

#include <cmath>

#include "calc/prepare_devices.h"
#include "calc/prepare_test_support.h"
#include "calc/vth_class.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/vth_block.h"

namespace kordavelt::testing {
namespace {

class Devices : public PrepareScenario {
 protected:
  // A 630 kVA 10/0.4 kV D/Y0 transformer, tap step 2.5 %, at tap +2.
  std::int32_t Transformer() {
    Type<book::TransformerRec>(book::kTransformerTable, 501, [](book::TransformerRec& t) {
      t.SetType("ТМ");
      t.SetSnom(630);
      t.SetDK(2.5f);
      t.SetR0(9.7f);
      t.SetX0(85);
      t.SetGroup(kGroupDY0);
    });
    return Object<TransformerRec>(kKindTransformer, [](TransformerRec& t) {
      t.SetType(501);
      t.SetPk(7.6f);
      t.SetUk(5.5f);
      t.SetUv(10);
      t.SetUn(0.4f);
      t.SetNreg(2);
    });
  }
};

TEST_F(Devices, TransformerInItsOwnDirectionIsReferredToTheLowSide) {
  const ElementRec& e = Prepare(Transformer(), 10000);
  EXPECT_NEAR(e.kt, 0.4 / 10 * 1.05, 1e-6);
  EXPECT_EQ(e.classCode, 150);
  EXPECT_EQ(e.phaseShift, 1);
  EXPECT_EQ(e.unom, 400.0f);
  EXPECT_NEAR(e.iPermissible, 630 / 1.732051 / 0.4, 1e-2);
  const double r1 = 0.16 * 7.6e6 / (630.0 * 630.0);
  const double zk = 0.16 * 5.5e4 / 630;
  EXPECT_NEAR(e.z1.re, r1 * 0.95, 1e-3);
  EXPECT_NEAR(e.z1.im, std::sqrt(zk * zk - r1 * r1) * 0.95, 1e-3);
  EXPECT_EQ(e.z0, (Complex{9.7f, 85.0f}));
}

TEST_F(Devices, TransformerAgainstItsDirectionHasTheInverseRatioAndShift) {
  const ElementRec& e = Prepare(-Transformer(), 400);
  EXPECT_NEAR(e.kt, 10 / 0.4 / 1.05, 1e-3);
  EXPECT_EQ(e.phaseShift, -1);
  EXPECT_EQ(e.unom, 10000.0f);
  EXPECT_NEAR(e.iPermissible, 630 / 1.732051 / 10, 1e-3);
  EXPECT_NEAR(e.z1.re, 100 * 7.6e6 / (630.0 * 630.0) * 0.95, 1e-1);
}

TEST(VectorGroups, OnlyY0Y0PassesTheZeroSequenceAndOnlyDYLeavesNoEarthedNeutral) {
  EXPECT_EQ(VectorGroupShift(kGroupY0Y0), 0);
  for (int g : {kGroupDY0, kGroupYY0, kGroupYZ, kGroupDZ}) EXPECT_EQ(VectorGroupShift(g), 1) << g;
  EXPECT_EQ(VectorGroupShift(kGroupDY), -1);
  EXPECT_EQ(VectorGroupShift(200), 0);  // a damaged index
}

TEST_F(Devices, ReactorLossesGiveItsResistanceAndStabiliserItsCurrentInAmperes) {
  Type<book::ReactorRec>(book::kReactorTable, 601, [](book::ReactorRec& r) {
    r.SetInom(400);
    r.SetDP(2);
    r.SetXnom(50);
  });
  Type<book::StabiliserRec>(book::kStabiliserTable, 602, [](book::StabiliserRec& s) {
    s.SetUnom(380);
    s.SetSnom(100);
  });
  const auto typed = [](std::int32_t code) {
    return std::function<void(TypeOnlyRec&)>([code](TypeOnlyRec& r) { r.SetType(code); });
  };
  const ElementRec& reactor = Prepare(Object<TypeOnlyRec>(kKindReactor, typed(601)));
  EXPECT_NEAR(reactor.z1.re, 2e6 / (400.0 * 400.0), 1e-4);
  EXPECT_EQ(reactor.z1.im, 50.0f);
  EXPECT_EQ(reactor.z0, reactor.z1);
  const ElementRec& stabiliser = Prepare(Object<TypeOnlyRec>(kKindStabiliser, typed(602)));
  EXPECT_NEAR(stabiliser.iPermissible, 100 / 1.732051 / 380 * 1000, 1e-3);
  EXPECT_TRUE(IsZero(stabiliser.z1));
}

TEST_F(Devices, FuseCharacteristicIsShiftedToItsLinkCurrentAndOwnedByTheModel) {
  Type<book::FuseRec>(book::kFuseTable, 701, [](book::FuseRec& f) {
    f.SetInom(100);
    SetVthPoint(f.Vth(), 1, {std::log(2.0f), std::log(100.0f)});
    SetVthPoint(f.Vth(), 8, {std::log(3.0f), std::log(1000.0f)});
  });
  const std::int32_t key = Object<FuseRec>(kKindFuse, [](FuseRec& f) {
    f.SetType(701);
    f.SetIpv(63);
  });
  const ElementRec& e = Prepare(key);
  EXPECT_EQ(e.iPermissible, 100.0f);
  EXPECT_NEAR(e.z1.re, 68.251 * std::pow(100.0, -0.9959), 1e-5);
  EXPECT_EQ(e.nextElement, 7);
  const vth_class* c = AsCharacteristic(e.characteristic);
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c, m->Attachment(Record(key)));
  EXPECT_NEAR(c->lnIr, std::log(0.063), 1e-6);
  EXPECT_NEAR(c->lower.lnCurrent[0], std::log(2 * 0.063), 1e-6);
  EXPECT_NEAR(c->upper.lnTime[0], std::log(1000.0), 1e-5);
}

TEST_F(Devices, ProtectiveDeviceWithoutSettingsHasNoCharacteristicAndFreesTheOldOne) {
  const std::int32_t key = Object<ProtectiveDeviceRec>(kKindProtectiveDevice, [](auto& d) {
    d.SetIr(100);
    d.SetIm(1000);
    d.SetTm(0.1f);
  });
  ASSERT_NE(AsCharacteristic(Prepare(key).characteristic), nullptr);
  EditObject<ProtectiveDeviceRec>(kKindProtectiveDevice, key, [](auto& d) {
    d.SetIr(0);
    d.SetIm(0);
    d.SetTm(0);
  });
  const ElementRec& e = Prepare(key);
  EXPECT_EQ(e.characteristic, nullptr);
  EXPECT_EQ(m->Attachment(Record(key)), nullptr);
}

TEST_F(Devices, BreakerSettingInMultiplesOfTheReleaseCurrent) {
  Type<book::TripUnitRec>(book::kTripUnitTable, 801, [](book::TripUnitRec& u) {
    u.SetIrUnit(1);
    u.SetImUnit(2);
    SetVthPoint(u.Vth(), 1, {std::log(1.2f), std::log(3600.0f)});
  });
  Type<book::BreakerRec>(book::kBreakerTable, 802, [](book::BreakerRec& b) {
    b.SetInom(250);
    b.SetR1(0.4f);
    b.SetX1(0.5f);
    b.SetTripUnit(801);
  });
  const std::int32_t key = Object<BreakerRec>(kKindBreaker, [](BreakerRec& b) {
    b.SetType(802);
    b.SetInom(200);
    b.SetIr(0.8f);
    b.SetIm(10);
    b.SetTm(0.02f);
  });
  const ElementRec& e = Prepare(key);
  EXPECT_EQ(e.z1, (Complex{0.4f, 0.5f}));
  EXPECT_EQ(e.iPermissible, 250.0f);
  const vth_class* c = AsCharacteristic(e.characteristic);
  ASSERT_NE(c, nullptr);
  EXPECT_NEAR(c->lnIr, std::log(0.16), 1e-6);  // 0.8 × In 200 A
  EXPECT_NEAR(c->lnIm, std::log(1.6), 1e-6);   // 10 × Ir
  EXPECT_NEAR(c->lnTm, std::log(0.02), 1e-6);
}

}  // namespace
}  // namespace kordavelt::testing
