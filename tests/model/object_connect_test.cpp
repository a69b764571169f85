// Connecting objects: the keys of a new branch, its far end and its object
// must agree with the slot rules, and a refused connection changes nothing.

#include "model/object_connect.h"

#include <gtest/gtest.h>

#include "model/model_builder.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/model_tables.h"

namespace kordavelt::testing {
namespace {

bool Has(tbClass* table, std::int32_t key) { return modelClass::SeekExact(table, key); }

TEST(ObjectConnectTest, ACableBetweenFreshNodesTakesSlotOneAtBothEnds) {
  ModelBuilder m;
  m->Settings().SetMinNodeNumber(5);
  ASSERT_EQ(m.Node(), 5);
  m->Settings().SetMinNodeNumber(9);
  ASSERT_EQ(m.Node(), 9);
  const std::int32_t cable = ConnectObject(m.model, kKindCableLine, 5, 9);
  EXPECT_EQ(cable, 1281);
  ASSERT_TRUE(Has(m->Branches(), 1281));
  const BranchRec branch(m->Branches()->Record());
  EXPECT_EQ(branch.KeyEnd(), 2305);
  EXPECT_EQ(branch.Kind(), kKindCableLine);
  EXPECT_EQ(branch.Status(), 0xFF) << "switched on in every regime";
  ASSERT_TRUE(Has(m->FarEnds(), 2305));
  EXPECT_EQ(FarEndRec(m->FarEnds()->Record()).BranchKey(), 1281);
  EXPECT_TRUE(Has(m->Table(kCableLineTable), 1281));
}

TEST(ObjectConnectTest, SourcesTakeSlotZeroAndOneEndedKindsHaveNoFarEnd) {
  ModelBuilder m;
  const int n = m.Node();
  EXPECT_EQ(m.Branch(kKindPowerSource, n), BranchKey(n, 0));
  EXPECT_EQ(m.Branch(kKindCableLine, n, m.Node()), BranchKey(n, 1));
  EXPECT_EQ(m.Branch(kKindPowerSource, n), BranchKey(n, 2)) << "slot 0 is taken";
  const std::int32_t bank = m.Branch(kKindCapacitorBank, n);
  ASSERT_TRUE(Has(m->Branches(), bank));
  EXPECT_EQ(BranchRec(m->Branches()->Record()).KeyEnd(), 0);
  EXPECT_FALSE(KindHasFarEnd(kKindReceiver));
  EXPECT_FALSE(KindHasFarEnd(kKindGenerator));
  EXPECT_TRUE(KindHasFarEnd(kKindTransformer));
}

TEST(ObjectConnectTest, AReceiverOfGroupTwoIsKeyed2051AndOneEnded) {
  ModelBuilder m;
  const int n = m.Node();
  m.Group();
  const int group = m.Group();
  m.Receiver(n, group);
  m.Receiver(n, group);
  const auto third = m.Receiver(n, group);
  EXPECT_EQ(third.number, 2051);
  ASSERT_TRUE(Has(m->Branches(), third.branch));
  EXPECT_EQ(BranchRec(m->Branches()->Record()).KeyEnd(), 0);
  EXPECT_EQ(BranchRec(m->Branches()->Record()).Kind(), kKindReceiver);
}

TEST(ObjectConnectTest, RefusalsGiveAMessageAndChangeNothing) {
  ModelBuilder m;
  const int a = m.Node();
  EXPECT_EQ(ConnectObject(m.model, kKindCableLine, a, a), 0);
  EXPECT_EQ(ConnectObject(m.model, kKindCableLine, a, 77), 0);
  EXPECT_EQ(ConnectObject(m.model, kKindCableLine, 78, a), 0);
  EXPECT_EQ(ConnectObject(m.model, 99, a, 0), 0);
  for (int i = 0; i < 255; ++i) ASSERT_NE(m.Branch(kKindSockets, a), 0);
  const int b = m.Node();
  EXPECT_EQ(ConnectObject(m.model, kKindCableLine, b, a), 0);
  EXPECT_EQ(m->Branches()->Count(), 255);
  EXPECT_EQ(m->FarEnds()->Count(), 0);
  EXPECT_EQ(m.ui.Messages(),
            (std::vector<std::string>{
                "Переключение: Нельзя замыкать ветвь на себя",
                "Подключение объекта: Узел № 77 не найден в модели",
                "Подключение объекта: Узел № 78 не найден в модели",
                "Подключение объекта: Неизвестный вид объекта 99",
                "Подключение объекта: К узлу № 1 присоединено 255 ветвей!#Свободного "
                "присоединения нет.",
            }));
}

}  // namespace
}  // namespace kordavelt::testing
