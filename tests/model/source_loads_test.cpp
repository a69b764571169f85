// Design loads of the sources by every load method, and the room a point lies
// in. A wrong factor here misstates every source's load the calculation and
// the engineer start from.

#include "model/source_loads.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/model_builder.h"
#include "model/model_keys.h"
#include "model/model_records.h"
#include "model/room_at.h"

namespace kordavelt {
namespace {

using testing::ModelBuilder;

struct Plant {
  ModelBuilder m;
  int source = 0;

  Plant() {
    const int node = m.Node();
    source = m.Source(node, "Т1").number;
  }

  // A group of `count` receivers fed by `feeder`, with P, Q and its factors.
  int Group(float p, float q, int regime = 0, int kind = 0, float kv = 1, float kz = 1,
            int count = 1, int feeder = -1) {
    const int group = m.Group();
    SetGroup(group, p, q, regime, kind, kv, kz);
    for (int n = 1; n <= count; ++n) {
      tbClass* receivers = m->Receivers();
      receivers->Insert(ReceiverKey(group, n));
      ReceiverRec(receivers->Record())
          .SetSourceNumber(static_cast<std::uint8_t>(feeder < 0 ? source : feeder));
      receivers->MarkModifiedAndFlush();
    }
    return group;
  }
  void SetGroup(int group, float p, float q, int regime, int kind, float kv, float kz) {
    ASSERT_TRUE(modelClass::SeekExact(m->Groups(), group));
    GroupRec record(m->Groups()->Record());
    record.SetP(p);
    record.SetQ(q);
    record.SetRegim(static_cast<std::uint8_t>(regime));
    record.SetClass(static_cast<std::uint8_t>(kind));
    record.SetKv(kv);
    record.SetKz(kz);
    m->Groups()->MarkModifiedAndFlush();
  }
  std::pair<float, float> Load(int method, int number = 0) {
    EXPECT_TRUE(ComputeSourceLoads(m.model, method));
    EXPECT_TRUE(modelClass::SeekExact(m->Sources(), number == 0 ? source : number));
    const SourceRec record(m->Sources()->Record());
    return {record.DesignP(), record.DesignQ()};
  }
};

TEST(DesignCoefficientTest, FollowsTheTableAndInterpolatesBetweenRows) {
  EXPECT_NEAR(DesignCoefficient(4, 0.1), 3.43, 1e-9);
  EXPECT_NEAR(DesignCoefficient(200, 0.6), 1.05, 1e-9);
  EXPECT_NEAR(DesignCoefficient(10, 0.1), 3.43 + (1.84 - 3.43) * 6 / 16, 1e-9);
  EXPECT_NEAR(DesignCoefficient(20, 0.2), (1.84 + 1.34) / 2, 1e-9);
  EXPECT_NEAR(DesignCoefficient(10000, 0.45), 1.0, 1e-9);
}

TEST(SourceLoadsTest, KzMethodTakesTheFullLoadWhenTheFactorsMultiplyToZero) {
  Plant plant;
  plant.Group(50, 30, 0, 0, 0.8f, 0);
  const auto [p, q] = plant.Load(0);
  EXPECT_FLOAT_EQ(p, 50);
  EXPECT_FLOAT_EQ(q, 30);
}

TEST(SourceLoadsTest, KzMethodSumsEveryFedReceiverWithItsGroupFactors) {
  Plant plant;
  plant.Group(10, 5, 0, 0, 0.5f, 0.8f, 3);
  plant.Group(100, 0, 0, 0, 1, 1, 1, 0);   // not fed
  plant.Group(100, 0, 0, 0, 1, 1, 1, 99);  // fed by a source that does not exist
  const auto [p, q] = plant.Load(4);
  EXPECT_FLOAT_EQ(p, 3 * 0.4f * 10);
  EXPECT_FLOAT_EQ(q, 3 * 0.4f * 5);
}

TEST(SourceLoadsTest, DemandFactorsBySizeRegimeAndKind) {
  const auto loadOf = [](float p, int regime, int kind) {
    Plant plant;
    plant.Group(p, 0, regime, kind);
    return plant.Load(2).first / p;
  };
  EXPECT_NEAR(loadOf(50, 1, 0), 0.35, 1e-6) << "a small periodic group";
  EXPECT_NEAR(loadOf(120, 1, 0), 0.7, 1e-6) << "a large periodic group";
  EXPECT_NEAR(loadOf(50, 0, 0), 0.7, 1e-6) << "continuous";
  EXPECT_NEAR(loadOf(50, 1, 4), 0.85, 1e-6) << "kind ЭД";
  EXPECT_NEAR(loadOf(500, 2, 4), 0.15, 1e-6) << "episodic wins over everything";
}

TEST(SourceLoadsTest, DesignFactorMethodUsesEffectiveNumberAndUtilisation) {
  Plant plant;
  // Ten equal receivers: nэ = 10; Кв × Кз = 0.1 gives Kи = 0.1.
  plant.Group(10, 4, 0, 0, 0.1f, 1, 10);
  const auto [p, q] = plant.Load(3);
  const double kr = 3.43 + (1.84 - 3.43) * 6 / 16;
  EXPECT_NEAR(p, 100 * kr * 0.1, 1e-3);
  EXPECT_NEAR(q, 40 * kr * 0.1, 1e-3);
}

TEST(SourceLoadsTest, DesignFactorMethodServesSourcesNumberedAbove32) {
  Plant plant;
  tbClass* sources = plant.m->Sources();
  sources->Insert(40);
  sources->MarkModifiedAndFlush();
  plant.Group(20, 0, 0, 0, 1, 1, 4, 40);
  EXPECT_NEAR(plant.Load(3, 40).first, 80, 1e-3) << "Kи = 1 gives Kр = 1";
  EXPECT_FLOAT_EQ(plant.Load(3).first, 0) << "source 1 feeds nothing";
}

TEST(SourceLoadsTest, LoadsAreClearedBeforeTheyAreSummed) {
  Plant plant;
  const int group = plant.Group(10, 0);
  EXPECT_FLOAT_EQ(plant.Load(0).first, 10);
  tbClass* receivers = plant.m->Receivers();
  ASSERT_TRUE(modelClass::SeekExact(receivers, ReceiverKey(group, 1)));
  ReceiverRec(receivers->Record()).SetSourceNumber(0);
  receivers->MarkModifiedAndFlush();
  EXPECT_FLOAT_EQ(plant.Load(0).first, 0);
}

TEST(RoomAtTest, APointLiesInTheFirstRoomWhoseBoxHoldsIt) {
  ModelBuilder m;
  tbClass* rooms = m->Rooms();
  const auto room = [&](int key, float dy) {
    rooms->Insert(key);
    RoomRec record(rooms->Record());
    record.SetDX(10);
    record.SetDY(dy);
    record.SetDZ(3);
    rooms->MarkModifiedAndFlush();
  };
  room(1, 2);
  EXPECT_EQ(RoomAt(m.model, 5, 3, 1), 0) << "a room 10 × 2 × 3 does not hold y = 3";
  room(2, 4);
  room(3, 4);
  EXPECT_EQ(RoomAt(m.model, 5, 3, 1), 2);
  EXPECT_EQ(RoomAt(m.model, 10, 4, 3), 2) << "the walls belong to the room";
  EXPECT_EQ(RoomAt(m.model, 10.5, 3, 1), 0);
}

}  // namespace
}  // namespace kordavelt
