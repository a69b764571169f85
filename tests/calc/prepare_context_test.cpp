// The context the preparation keeps over a whole sweep: catalogue types read
// once, protective characteristics computed once per type and setting. Each
// case guards a way such sharing goes wrong: a key that leaves out the table
// or a setting hands one element another's values, and a write into the book
// that misses the kept copy makes later elements of the same type disagree.

#include <gtest/gtest.h>

#include <cmath>

#include "calc/prepare_context.h"
#include "calc/prepare_lines.h"
#include "calc/prepare_protection.h"
#include "calc/prepare_test_support.h"
#include "model/model_kinds.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/vth_block.h"

namespace kordavelt::testing {
namespace {

class KeptTypes : public PrepareScenario {
 protected:
  ElementRec& ElementOf(std::int32_t key) {
    ElementRec& e = *m->Element(Record(key));
    e.signedKey = key;
    e.unom = 380;
    return e;
  }

  // A release in multiples of In (Ir) and of Ir (Im) whose first point lies
  // at `multiple` × Ir and `seconds`.
  void Release(std::int32_t code, float multiple, float seconds) {
    Type<book::TripUnitRec>(book::kTripUnitTable, code, [=](book::TripUnitRec& u) {
      u.SetIrUnit(1);
      u.SetImUnit(2);
      SetVthPoint(u.Vth(), 1, {std::log(multiple), std::log(seconds)});
    });
  }

  std::int32_t Breaker(std::int32_t type, float irMultiple) {
    return Object<BreakerRec>(kKindBreaker, [type, irMultiple](BreakerRec& b) {
      b.SetType(type);
      b.SetInom(200);
      b.SetIr(irMultiple);
      b.SetIm(10);
      b.SetTm(0.02f);
    });
  }
};

TEST_F(KeptTypes, SameCodeInTwoTablesGivesEachTableItsOwnType) {
  Type<book::FuseRec>(book::kFuseTable, 900, [](book::FuseRec& f) { f.SetInom(63); });
  Type<book::BreakerRec>(book::kBreakerTable, 900, [](book::BreakerRec& b) { b.SetInom(250); });
  PrepareContext ctx(m.model);

  EXPECT_EQ(book::FuseRec(ctx.CachedBookType(book::kFuseTable, 900)).Inom(), 63.0f);
  EXPECT_EQ(book::BreakerRec(ctx.CachedBookType(book::kBreakerTable, 900)).Inom(), 250.0f);
  EXPECT_TRUE(ctx.CachedBookType(book::kFuseTable, 901).empty());
  EXPECT_TRUE(ctx.CachedBookType(book::kFuseTable, 0).empty());
  // Kept: the second read gives the same bytes without asking the book.
  EXPECT_EQ(ctx.CachedBookType(book::kFuseTable, 900).data(),
            ctx.CachedBookType(book::kFuseTable, 900).data());
}

TEST_F(KeptTypes, BreakersShareACharacteristicOnlyWhenTypeAndSettingsAgree) {
  Release(801, 1.2f, 3600);
  Release(811, 2, 60);
  Type<book::BreakerRec>(book::kBreakerTable, 802, [](book::BreakerRec& b) {
    b.SetInom(250);
    b.SetTripUnit(801);
  });
  Type<book::BreakerRec>(book::kBreakerTable, 812, [](book::BreakerRec& b) {
    b.SetInom(250);
    b.SetTripUnit(811);
  });
  const std::int32_t first = Breaker(802, 0.8f);
  const std::int32_t lower = Breaker(802, 0.5f);
  const std::int32_t same = Breaker(802, 0.8f);
  const std::int32_t otherRelease = Breaker(812, 0.8f);

  PrepareContext ctx(m.model);
  const auto a = PrepareBreaker(ctx, ElementOf(first));
  const auto b = PrepareBreaker(ctx, ElementOf(lower));
  const auto c = PrepareBreaker(ctx, ElementOf(same));
  const auto d = PrepareBreaker(ctx, ElementOf(otherRelease));
  ASSERT_TRUE(a && b && c && d);
  EXPECT_NEAR(a->lnIr, std::log(0.16), 1e-6);
  EXPECT_NEAR(b->lnIr, std::log(0.10), 1e-6);
  EXPECT_NEAR(b->lnIm, std::log(1.0), 1e-6);  // 10 × its own Ir
  EXPECT_NEAR(a->lower.lnTime[0], std::log(3600.0), 1e-4);
  EXPECT_EQ(c->lower, a->lower);
  EXPECT_EQ(c->lnIm, a->lnIm);
  EXPECT_NEAR(d->lower.lnCurrent[0], std::log(2 * 0.16), 1e-6);
  EXPECT_NEAR(d->lower.lnTime[0], std::log(60.0), 1e-5);
}

TEST_F(KeptTypes, FusesOfOneTypeWithOtherLinksKeepTheirOwnCurrents) {
  Type<book::FuseRec>(book::kFuseTable, 701, [](book::FuseRec& f) {
    f.SetInom(100);
    SetVthPoint(f.Vth(), 1, {std::log(2.0f), std::log(100.0f)});
  });
  const auto fuse = [&](float link) {
    return Object<FuseRec>(kKindFuse, [link](FuseRec& f) {
      f.SetType(701);
      f.SetIpv(link);
    });
  };
  const std::int32_t small = fuse(63);
  const std::int32_t rated = fuse(0);  // the type's own 100 A
  PrepareContext ctx(m.model);
  const auto a = PrepareFuse(ctx, ElementOf(small));
  const auto b = PrepareFuse(ctx, ElementOf(rated));
  ASSERT_TRUE(a && b);
  EXPECT_NEAR(a->lnIr, std::log(0.063), 1e-6);
  EXPECT_NEAR(b->lnIr, std::log(0.1), 1e-6);
}

TEST_F(KeptTypes, WireDiameterCompletedOnceReachesTheBookAndTheNextWiring) {
  constexpr std::int32_t kWire = 4002;
  Type<book::InsulatedWireRec>(book::kInsulatedWireTable, kWire, [](book::InsulatedWireRec& w) {
    w.SetCrossCectF(10);
    w.SetR1(1.8f);
    w.SetIpermissAir(80);
  });
  const auto wiring = [&] {
    return Object<WiringRec>(kKindWiring, [](WiringRec& w) {
      w.SetType(kWire);
      w.SetL(10);
      w.SetWireSpacing(10);
    });
  };
  const std::int32_t first = wiring();
  const std::int32_t second = wiring();
  PrepareContext ctx(m.model);
  ElementRec& a = ElementOf(first);
  PrepareWiring(ctx, a);
  ElementRec& b = ElementOf(second);
  PrepareWiring(ctx, b);

  const double d = 2 * std::sqrt(10 / 3.1415927);
  ASSERT_TRUE(Book().FindType(book::kInsulatedWireTable, kWire));
  EXPECT_NEAR(book::InsulatedWireRec(Book().CurrentRecord(book::kInsulatedWireTable)).Diameter(), d,
              1e-5);
  EXPECT_NEAR(a.z1.im, 0.06297205 * std::log(2 * 10 / d) * 10, 1e-4);
  EXPECT_EQ(b.z1, a.z1);
}

}  // namespace
}  // namespace kordavelt::testing
