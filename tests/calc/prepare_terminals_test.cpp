// Terminal elements: the currents each load draws on its phases, motor
// loads re-marked with their sub-transient impedance, a switched-off
// receiver drawing nothing, and the equivalent motor's voltage put right.

#include <gtest/gtest.h>

#include <cmath>

#include "calc/prepare_terminals.h"
#include "calc/prepare_test_support.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"

namespace kordavelt::testing {
namespace {

constexpr double kSqrt3 = 1.732051;

class Terminals : public PrepareScenario {
 protected:
  // A receiver of a group with P = 10 kW, Q = 5 kvar, Кз 0.8, Iпуск 100 A at
  // cos φп 0.4; `kind` the group's kind index, `phases` the connection.
  ModelBuilder::Tied Load(int kind, int phases, float unom = 380) {
    const int group = m.Group("Насос");
    tbClass* groups = m->Groups();
    if (modelClass::SeekExact(groups, group)) {
      GroupRec g(groups->Record());
      g.SetP(10);
      g.SetQ(5);
      g.SetKz(0.8f);
      g.SetUnom(unom);
      g.SetClass(static_cast<std::uint8_t>(kind));
      g.SetIstart(100);
      g.SetCosFstart(0.4f);
      g.SetTstart(5);
      g.SetKeyType(901);
      groups->MarkModifiedAndFlush();
    }
    const ModelBuilder::Tied tied = m.Receiver(n2, group, "М1");
    tbClass* receivers = m->Receivers();
    if (modelClass::SeekExact(receivers, tied.number)) {
      ReceiverRec(receivers->Record()).SetPhaseIndex(static_cast<std::uint8_t>(phases));
      receivers->MarkModifiedAndFlush();
    }
    return tied;
  }
};

void ExpectNear(const Complex& z, double re, double im, double tolerance = 1e-3) {
  EXPECT_NEAR(z.re, re, tolerance);
  EXPECT_NEAR(z.im, im, tolerance);
}

TEST_F(Terminals, ThreePhaseLoadDrawsItsCurrentOnEveryPhaseInTurn) {
  const ElementRec& e = Prepare(Load(0, kConnectionABC0).branch);
  const double k = 1000 * 0.8 / (kSqrt3 * 380);
  ExpectNear(e.ia, 10 * k, -5 * k);
  ExpectNear(e.ib, (kOperatorA2 * e.ia).re, (kOperatorA2 * e.ia).im, 1e-5);
  ExpectNear(e.ic, (kOperatorA * e.ia).re, (kOperatorA * e.ia).im, 1e-5);
  EXPECT_NEAR(e.iPermissible, std::hypot(10.0, 5.0) / 380 / kSqrt3 * 1000, 1e-3);
  ExpectNear(e.iStart, 40, -100 * std::sqrt(1 - 0.16));
  EXPECT_EQ(e.tStart, 5.0f);
  EXPECT_EQ(e.kind, kKindReceiver);
}

TEST_F(Terminals, SingleAndTwoPhaseLoadsSitOnTheirPhases) {
  const double k = 1000 * 0.8 / 220;
  const ElementRec& b = Prepare(Load(0, kConnectionB0, 220).branch);
  // At phase B's angle: (10 − j5)·k turned by a² (−120°).
  const double c120 = -0.5, s120 = -std::sqrt(3.0) / 2;
  ExpectNear(b.ib, 10 * k * c120 + 5 * k * s120, 10 * k * s120 - 5 * k * c120);
  EXPECT_TRUE(IsZero(b.ia));
  EXPECT_TRUE(IsZero(b.ic));

  const ElementRec& ab = Prepare(Load(0, kConnectionAB).branch);
  const Complex i{static_cast<float>(10 * 1000 * 0.8 / 380),
                  static_cast<float>(-5 * 1000 * 0.8 / 380)};
  const Complex at30 = i * Complex{static_cast<float>(std::cos(3.1415927 / 6)), 0.5f};
  ExpectNear(ab.ia, at30.re, at30.im);
  ExpectNear(ab.ib, -at30.re, -at30.im);
  EXPECT_TRUE(IsZero(ab.ic));
}

TEST_F(Terminals, SwitchedOffReceiverDrawsNothing) {
  const ModelBuilder::Tied load = Load(0, kConnectionABC0);
  m.SetStatus(load.branch, 0);
  const ElementRec& e = Prepare(load.branch);
  EXPECT_TRUE(IsZero(e.ia));
  EXPECT_TRUE(IsZero(e.iStart));
  EXPECT_EQ(e.iPermissible, 0.0f);
}

TEST_F(Terminals, AsynchronousMotorIsRemarkedWithItsSubtransientImpedance) {
  Type<book::AsyncMotorRec>(book::kAsyncMotorTable, 901, [](book::AsyncMotorRec& t) {
    t.SetEfficiency(90);
    t.SetRs(0.02f);
    t.SetRr(0.03f);
    t.SetXd2(0.15f);
  });
  const ElementRec& e = Prepare(Load(1, kConnectionABC0).branch);
  EXPECT_EQ(e.kind, 42);
  const double share = 1 - (1 - 0.8) * 90 / 100.0;
  const double k = 1000 / (380 * kSqrt3) * share;
  ExpectNear(e.ia, 10 * k, -5 * k);
  const double base = 380.0 * 380 / std::hypot(10.0, 5.0);
  ExpectNear(e.z1, (0.96 * 0.02 + 0.03) * base, 0.15 * base, 1e-2);
}

TEST_F(Terminals, ElectricDriveGroupIsRemarkedIntoItsLoadCategory) {
  EXPECT_EQ(Prepare(Load(4, kConnectionABC).branch).kind, 46);
}

TEST_F(Terminals, EquivalentMotorVoltageFarFromTheNetworkIsPutRight) {
  const std::int32_t key = Object<EquivalentMotorRec>(
      kKindEquivalentMotor,
      [](auto& em) {
        em.SetPust(100);
        em.SetQ(60);
        em.SetUnom(6000);
        em.SetPnom1(30);
        em.SetIstart1(300);
        em.SetCosFstart(0.5f);
        em.SetKind(1);
      },
      false);
  const ElementRec& e = Prepare(key);
  EXPECT_EQ(ObjectValue<EquivalentMotorRec>(kKindEquivalentMotor, key, &EquivalentMotorRec::Unom),
            380.0f);
  EXPECT_EQ(e.kind, 54);
  const double k = 1000 / (380 * kSqrt3);
  ExpectNear(e.ia, 100 * k, -60 * k);
  const double im = 30 * k;
  ExpectNear(e.iStart, 100 * k - im + 150, -60 * k + im * 0.6 - 300 * std::sqrt(0.75), 1e-2);
  const double base = 380.0 * 380 / std::hypot(100.0, 60.0);
  ExpectNear(e.z1, 0.07 * base, 0.18 * base, 1e-2);
}

TEST_F(Terminals, CapacitorBankInStarLeadsOnEveryPhase) {
  Type<book::CapacitorBankRec>(book::kCapacitorBankTable, 951, [](book::CapacitorBankRec& c) {
    c.SetUnom(400);
    c.SetCnom(600);
    c.SetDP(0.16f);
  });
  const std::int32_t key = Object<CapacitorBankRec>(
      kKindCapacitorBank,
      [](auto& c) {
        c.SetType(951);
        c.SetNbk(2);
      },
      false);
  const ElementRec& e = Prepare(key);
  const double re = 380.0 / (400.0 * 400) * 0.16 * 1000 * 2 * 0.192449980755;
  const double im = 380 * 314.15927 * 600e-6 * 2 * 0.192449980755;
  ExpectNear(e.ia, re, im);
  EXPECT_NEAR(e.iPermissible, std::hypot(re, im), 1e-3);
}

}  // namespace
}  // namespace kordavelt::testing
