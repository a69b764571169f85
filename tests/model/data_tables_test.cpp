// An engineer at the data windows: groups, receivers and their list, sources
// and rooms. Each case guards a rule whose breach loses receivers, breaks the
// unique keys or shows the wrong receiver under a code, or an edit refused
// without a word, so that the typed value silently comes back.

#include <gtest/gtest.h>

#include "base/dial_list.h"
#include "base/number_format.h"
#include "model/data_class.h"
#include "model/data_texts.h"
#include "model/model_builder.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"
#include "table/table_driver.h"

namespace kordavelt {
namespace {

using testing::ModelBuilder;

struct Windows {
  ModelBuilder m;
  DataClass data{m.model, m.ui};
  TableDriver groups{data.Groups(), data.Groups().Form(), m.ui};
  TableDriver receivers{data.Receivers(), data.Receivers().Form(), m.ui};
  TableDriver sources{data.Sources(), data.Sources().Form(), m.ui};
  TableDriver rooms{data.Rooms(), data.Rooms().Form(), m.ui};

  bool Append(TableDriver& table, int col, std::string_view text) {
    table.Line(1);
    return table.CommitEdit(table.RowCount() + 1, col, text);
  }
  GroupRec Group(int group) {
    EXPECT_TRUE(modelClass::SeekExact(m->Groups(), group));
    return GroupRec(m->Groups()->Record());
  }
  bool HasReceiver(std::int32_t key) { return modelClass::SeekExact(m->Receivers(), key); }
};

TEST(GroupWindowTest, AppendedGroupGetsItsDefaultsAndMotorRowsLockTheirData) {
  Windows w;
  ASSERT_TRUE(w.Append(w.groups, 1, "Насосы"));
  EXPECT_EQ(w.groups.Cell(1, 0), "1");
  EXPECT_EQ(w.groups.Cell(1, 1), "Насосы");
  EXPECT_FLOAT_EQ(w.Group(1).Kz(), 1);
  EXPECT_FLOAT_EQ(w.Group(1).Kv(), 1);
  EXPECT_FLOAT_EQ(w.Group(1).Tc(), 1440);

  ASSERT_TRUE(w.groups.CommitEdit(1, 4, "380"));
  EXPECT_EQ(w.Group(1).Nphase(), 3) << "a voltage without phases means three";
  ASSERT_TRUE(w.groups.CommitEdit(1, 6, "30"));
  ASSERT_TRUE(w.groups.CommitEdit(1, 7, "0.8"));
  EXPECT_NEAR(w.Group(1).Q(), 22.5, 1e-4);
  ASSERT_TRUE(w.groups.CommitEdit(1, 6, "60"));
  EXPECT_NEAR(w.Group(1).Q(), 45, 1e-4) << "Pном keeps the angle";
  EXPECT_EQ(w.groups.Cell(1, 7), "0.8");
  EXPECT_NEAR(std::stod(w.groups.Cell(1, 8)), 75 / 380.0 * 1000 / 1.732051, 1e-2);

  // A heater without Q has cos φ 1, not 0.
  ASSERT_TRUE(w.Append(w.groups, 6, "10"));
  EXPECT_EQ(w.groups.Cell(2, 7), "1");
}

// Pном of a motor group comes from its type: the typed value used to come
// back without a word.
TEST(GroupWindowTest, ValuesTheMotorTypeOrTheProgramGiveSayWhyTheyAreNotTaken) {
  Windows w;
  tbClass* motors = w.m->Book()->OpenBookTable(book::kAsyncMotorTable);
  motors->Insert(4201);
  book::AsyncMotorRec motor(motors->Record());
  motor.SetType("4А132М4");
  motor.SetPnom(11);
  motors->MarkModifiedAndFlush();
  const int group = w.m.Group("Насосы");
  GroupRec pumps = w.Group(group);
  pumps.SetClass(kGroupKindAsync);
  pumps.SetKeyType(4201);
  w.m->Groups()->MarkModifiedAndFlush();
  w.data.Groups().Reload();
  ASSERT_EQ(w.groups.Cell(1, 6), "11");

  EXPECT_FALSE(w.groups.CommitEdit(1, 6, "15"));
  EXPECT_EQ(w.m.ui.Messages().back(),
            "Группы электроприемников: Pном берется из типа двигателя 4А132М4 в справочнике.#"
            "Выберите другой тип или снимите его (\"-\").");
  const std::size_t messages = w.m.ui.Messages().size();
  EXPECT_FALSE(w.groups.CommitEdit(1, 6, "11"));
  EXPECT_EQ(w.m.ui.Messages().size(), messages) << "the value it shows is no edit";
  EXPECT_FALSE(w.groups.CommitEdit(1, 17, "3"));
  EXPECT_EQ(w.m.ui.Messages().back(),
            "Группы электроприемников: Nэп и Nраб программа считает сама:#электроприемники "
            "группы и питаемые из них");

  // The receiver list shows the group's columns and says the same.
  const int node = w.m.Node();
  w.m.Receiver(node, group, "Н1");
  w.data.ShowReceiverList();
  EXPECT_FALSE(w.receivers.CommitEdit(1, 14, "15"));
  EXPECT_TRUE(w.m.ui.Messages().back().starts_with(
      "Перечень электроприемников: Pном берется из типа двигателя 4А132М4"));

  // Without a type Pном is typed in; Iном is computed, cos φ kept in range.
  w.m.ui.PressButton("Да");
  ASSERT_TRUE(w.receivers.CommitEdit(1, 11, "-"));
  ASSERT_TRUE(w.groups.CommitEdit(1, 6, "15"));
  EXPECT_FLOAT_EQ(w.Group(group).P(), 15);
  EXPECT_FALSE(w.groups.CommitEdit(1, 8, "40"));
  EXPECT_EQ(w.m.ui.Messages().back(),
            "Группы электроприемников: Iном рассчитывается по Pном, CosФ и Uном группы");
  ASSERT_TRUE(w.groups.CommitEdit(1, 7, "1.5"));
  EXPECT_EQ(w.m.ui.Messages().back(), "Группы электроприемников: CosФ - от -1 до 1, кроме 0");
  ASSERT_TRUE(w.groups.CommitEdit(1, 2, "Освещение"));
  ASSERT_TRUE(w.groups.CommitEdit(1, 3, ""));
  EXPECT_EQ(w.m.ui.Messages().back(),
            "Группы электроприемников: Тип двигателя выбирается для групп вида АД и СД");
  EXPECT_EQ(w.m.ui.Beeps(), 0);
}

TEST(GroupWindowTest, RenumberingIsRefusedWhileTheGroupHasReceiversOrTheNumberIsTaken) {
  Windows w;
  const int pumps = w.m.Group("Насосы");
  w.m.Group("Вентиляторы");
  w.data.Groups().Reload();
  ASSERT_TRUE(w.groups.CommitEdit(1, 0, "2"));
  EXPECT_EQ(w.m.ui.Messages().back(), "Группы электроприемников: Номер группы занят");
  EXPECT_TRUE(modelClass::SeekExact(w.m->Groups(), pumps));

  ASSERT_TRUE(w.groups.CommitEdit(1, 0, "7"));
  EXPECT_EQ(w.groups.Cell(2, 0), "7");
  w.data.Groups().ShowGroup(7);
  ASSERT_TRUE(w.Append(w.receivers, 1, "Н1"));
  ASSERT_TRUE(w.groups.CommitEdit(2, 0, "9"));
  EXPECT_EQ(w.m.ui.Messages().back(),
            "Группы электроприемников: В группе имеются электроприемники!#Пока в этом случае "
            "код изменять запрещено");
}

TEST(GroupWindowTest, DeletingAGroupAsksAndThenTakesAllItsReceiversAlong) {
  Windows w;
  const int node = w.m.Node();
  const int group = w.m.Group("Насосы");
  const auto r1 = w.m.Receiver(node, group, "Н1");
  const auto r2 = w.m.Receiver(node, group, "Н2");
  w.data.ReloadAll();

  w.m.ui.PressButton("Нет");
  w.groups.Delete(1);
  EXPECT_TRUE(w.HasReceiver(r1.number));
  EXPECT_EQ(w.groups.Cell(1, 0), "1");

  w.m.ui.PressButton("Да");
  w.groups.Delete(1);
  EXPECT_FALSE(w.HasReceiver(r1.number));
  EXPECT_FALSE(w.HasReceiver(r2.number));
  EXPECT_FALSE(modelClass::SeekExact(w.m->Branches(), r1.branch));
  EXPECT_FALSE(modelClass::SeekExact(w.m->OpenObjectTable(kKindReceiver), r2.branch));
  EXPECT_FALSE(modelClass::SeekExact(w.m->Groups(), group));
  EXPECT_EQ(w.m->Designations().KeyOf("Н1"), 0);
  EXPECT_EQ(w.groups.RowCount(), 1) << "until the deletions end";
  w.groups.Line(1);
  EXPECT_EQ(w.groups.RowCount(), 0);
  EXPECT_EQ(w.receivers.RowCount(), 0);
}

TEST(ReceiverWindowTest, AppendingJoinsTheCurrentGroupUntilItIsFull) {
  Windows w;
  ASSERT_FALSE(w.Append(w.receivers, 1, "Н1") && w.HasReceiver(ReceiverKey(1, 1)))
      << "no group: nothing added";
  EXPECT_EQ(w.m.ui.Messages().back(),
            "Электроприемники: Не выбрана группа для нового электроприемника#Выберите ее в окне "
            "\"Группы электроприемников\"");
  const int group = w.m.Group("Насосы");
  w.data.Groups().Reload();
  ASSERT_TRUE(w.groups.CommitEdit(1, 5, "1"));
  ASSERT_TRUE(w.Append(w.receivers, 1, "Н1"));
  ASSERT_TRUE(w.HasReceiver(ReceiverKey(group, 1)));
  const ReceiverRec first(w.m->Receivers()->Record());
  EXPECT_EQ(first.Marking(), "Н1");
  EXPECT_EQ(first.PhaseIndex(), 2) << "one phase: A0";
  EXPECT_EQ(w.receivers.Cell(1, 3), "A0");
  EXPECT_EQ(w.Group(group).ReceiverCount(), 1);

  for (int n = 2; n <= kMaxReceiverInGroup; ++n) {
    w.m->Receivers()->Insert(ReceiverKey(group, n));
  }
  GroupRec full = w.Group(group);
  full.SetReceiverCount(kMaxReceiverInGroup);
  w.m->Groups()->MarkModifiedAndFlush();
  w.data.Receivers().Reload();
  w.Append(w.receivers, 1, "Н1024");
  EXPECT_EQ(w.m.ui.Messages().back(),
            "Электроприемники: Электроприемников в группе#не может быть больше 1024");
  EXPECT_EQ(w.Group(group).ReceiverCount(), kMaxReceiverInGroup);
}

TEST(ReceiverWindowTest, CodeColumnMovesTheReceiverWithinTheRules) {
  Windows w;
  const int node = w.m.Node();
  w.m.Group("Насосы");
  const int fans = w.m.Group("Вентиляторы");
  const auto pump = w.m.Receiver(node, 1, "Н1");
  w.m.Receiver(node, 1, "Н2");
  w.data.Receivers().Reload();

  ASSERT_TRUE(w.receivers.CommitEdit(1, 0, "1.0"));
  EXPECT_TRUE(w.HasReceiver(pump.number)) << "number 0 changes nothing";
  ASSERT_TRUE(w.receivers.CommitEdit(1, 0, "9.1"));
  EXPECT_EQ(w.m.ui.Messages().back(), "Электроприемники: Нет такой группы");
  ASSERT_TRUE(w.receivers.CommitEdit(1, 0, "1.2"));
  EXPECT_EQ(w.m.ui.Messages().back(), "Электроприемники: Код ЭП используется");

  ASSERT_TRUE(w.receivers.CommitEdit(1, 0, "2.70"));
  const std::int32_t moved = ReceiverKey(fans, 70);
  ASSERT_TRUE(w.HasReceiver(moved));
  EXPECT_EQ(w.receivers.Cell(2, 0), "2.70");
  EXPECT_EQ(w.receivers.Cell(2, 2), "Вентиляторы");
  EXPECT_EQ(w.m->Designations().KeyOf("Н1"), moved);
  EXPECT_EQ(w.Group(1).ReceiverCount(), 1);
  EXPECT_EQ(w.Group(fans).ReceiverCount(), 1);
  tbClass* objects = w.m->OpenObjectTable(kKindReceiver);
  ASSERT_TRUE(modelClass::SeekExact(objects, pump.branch));
  EXPECT_EQ(ReceiverObjectRec(objects->Record()).ReceiverKey(), moved);

  w.data.ShowReceiverList();
  EXPECT_EQ(w.receivers.Cell(2, 0), "2.70");
  EXPECT_EQ(w.receivers.Cell(2, 3), "Н1") << "the group's first receiver names it";
}

TEST(ReceiverWindowTest, CoordinatesPlaceAReceiverWithoutRoomInTheRoomThatHoldsIt) {
  Windows w;
  tbClass* rooms = w.m->Rooms();
  rooms->Insert(4);
  RoomRec room(rooms->Record());
  room.SetDX(10);
  room.SetDY(4);
  room.SetDZ(3);
  rooms->MarkModifiedAndFlush();
  w.m.Group();
  w.data.ReloadAll();
  ASSERT_TRUE(w.Append(w.receivers, 4, "5"));
  ASSERT_TRUE(w.receivers.CommitEdit(1, 5, "3"));
  EXPECT_EQ(w.receivers.Cell(1, 8), "4");
  EXPECT_FALSE(w.receivers.CommitEdit(1, 6, "40000") && w.receivers.Cell(1, 6) == "40000");
}

TEST(ReceiverWindowTest, DesignationsStayUnique) {
  Windows w;
  const int node = w.m.Node();
  const int group = w.m.Group();
  w.m.Receiver(node, group, "Н1");
  w.m.Receiver(node, group, "Н2");
  w.data.Receivers().Reload();
  ASSERT_TRUE(w.receivers.CommitEdit(2, 1, "н1"));
  EXPECT_EQ(w.receivers.Cell(2, 1), "Н2") << "taken, whatever the letter case";
  EXPECT_EQ(w.m.ui.Messages().back(), "Электроприемники: Обозначение н1 уже используется");
  ASSERT_TRUE(w.receivers.CommitEdit(2, 1, "Н3"));
  EXPECT_EQ(w.m->Designations().KeyOf("Н3"), ReceiverKey(group, 2));
  EXPECT_EQ(w.m->Designations().KeyOf("Н2"), 0);
}

TEST(ReceiverWindowTest, SortingCyclesThroughDescendingAscendingAndKeyOrder) {
  Windows w;
  const int node = w.m.Node();
  const int group = w.m.Group();
  for (const char* name : {"Б", "В", "А"}) w.m.Receiver(node, group, name);
  w.data.Receivers().Reload();
  const auto order = [&] {
    return w.receivers.Cell(1, 1) + w.receivers.Cell(2, 1) + w.receivers.Cell(3, 1);
  };
  w.data.Receivers().Form().curCol = 1;
  w.data.Receivers().Sort();
  EXPECT_EQ(order(), "ВБА");
  w.data.Receivers().Sort();
  EXPECT_EQ(order(), "АБВ");
  w.data.Receivers().Sort();
  EXPECT_EQ(order(), "БВА");
}

TEST(ReceiverListTest, GroupColumnsAskFirstAndSwitchingFollowsTheBranch) {
  Windows w;
  const int node = w.m.Node();
  const int group = w.m.Group("Насосы");
  const auto pump = w.m.Receiver(node, group, "Н1");
  w.data.ShowReceiverList();
  EXPECT_EQ(w.receivers.Cell(1, 28), "++++++++");

  w.m.ui.PressButton("Нет");
  ASSERT_TRUE(w.receivers.CommitEdit(1, 2, "Мешалки"));
  EXPECT_EQ(w.Group(group).Name(), "Насосы");
  w.m.ui.PressButton("Да");
  ASSERT_TRUE(w.receivers.CommitEdit(1, 14, "15"));
  EXPECT_FLOAT_EQ(w.Group(group).P(), 15);

  ASSERT_TRUE(w.receivers.CommitEdit(1, 28, "+-+"));
  EXPECT_EQ(w.m.StatusOf(pump.branch), 0b101);
  EXPECT_EQ(w.receivers.Cell(1, 28), "+-+-----");
}

TEST(ReceiverListTest, PastedRowsFindOrCreateTheirGroupAndReceiver) {
  Windows w;
  w.data.ShowReceiverList();
  w.m.ui.SetClipboard(
      "0\tМ1\tНасос\t\t\t\t\t\t\t\tMS\t\t380\t0\t30\t50\t\t120\t0.3\t2\tI\t0.8\t0.9\t10\t\t1.5\r\n"
      "0\tМ2\tНасос\tМ1\t\t\t\t\t\t\tMS\t\t380\t0\t30\t50\t\t120\t0.3\t2\tI\t0.8\t0.9\t10\t\t1."
      "5\r\n");
  EXPECT_EQ(w.receivers.PasteText(w.m.ui.Clipboard()), 2);
  ASSERT_TRUE(w.HasReceiver(ReceiverKey(1, 1)));
  ASSERT_TRUE(w.HasReceiver(ReceiverKey(1, 2))) << "М2 joins the group М1 names";
  const GroupRec group = w.Group(1);
  EXPECT_EQ(group.Class(), 2) << "MS is a synchronous motor";
  EXPECT_FLOAT_EQ(group.Q(), 40);
  EXPECT_EQ(group.Nphase(), 3);
  EXPECT_EQ(group.Regim(), 1);
  EXPECT_FLOAT_EQ(group.Kpv(), 1.5f);
  EXPECT_EQ(group.ReceiverCount(), 2);
  EXPECT_EQ(w.receivers.Cell(2, 1), "М2");
}

TEST(SourceWindowTest, NumbersStayWithinRangeAndUnique) {
  Windows w;
  const int node = w.m.Node();
  const auto t1 = w.m.Source(node, "Т1");
  w.data.Sources().Reload();
  ASSERT_TRUE(w.Append(w.sources, 1, "Т2"));
  EXPECT_EQ(w.sources.Cell(2, 0), "2");
  EXPECT_EQ(w.sources.Cell(1, 8), FormatCode(t1.branch, 8));

  ASSERT_TRUE(w.sources.CommitEdit(2, 0, "256"));
  ASSERT_TRUE(w.sources.CommitEdit(2, 0, "1"));
  EXPECT_EQ(w.m.ui.Messages()[0], "Источники питания.: Номер ИП должен быть меньше 256");
  EXPECT_EQ(w.m.ui.Messages()[1], "Источники питания.: Номер источника занят");

  ASSERT_TRUE(w.sources.CommitEdit(1, 0, "7"));
  tbClass* objects = w.m->OpenObjectTable(kKindPowerSource);
  ASSERT_TRUE(modelClass::SeekExact(objects, t1.branch));
  EXPECT_EQ(SourceObjectRec(objects->Record()).SourceNumber(), 7);
  EXPECT_EQ(w.m->Designations().KeyOf("Т1"), 7);
}

// Sр … Iр act as "compute again"; a value typed there is not taken, and
// the window says so.
TEST(SourceWindowTest, ATypedLoadIsReplacedByTheComputedOneWithTheReason) {
  Windows w;
  w.m.Source(w.m.Node(), "Т1");
  w.data.Sources().Reload();
  ASSERT_TRUE(w.sources.CommitEdit(1, 5, ""));
  EXPECT_TRUE(w.m.ui.Messages().empty()) << "the action itself needs no word";
  ASSERT_TRUE(w.sources.CommitEdit(1, 5, "100"));
  EXPECT_EQ(w.m.ui.Messages().back(),
            "Источники питания.: Sр, Pр, Qр и Iр рассчитываются по электроприемникам источника");
  EXPECT_EQ(w.sources.Cell(1, 5), "0");

  w.m.Source(w.m.Node(), "Т2");
  w.data.Sources().Reload();
  ASSERT_TRUE(w.sources.CommitEdit(2, 1, "т1"));
  EXPECT_EQ(w.m.ui.Messages().back(), "Источники питания.: Обозначение т1 уже используется");
  EXPECT_EQ(w.sources.Cell(2, 1), "Т2");
}

TEST(SourceWindowTest, DeletingASourceAsksWhetherItsObjectLeavesTheModel) {
  Windows w;
  const int node = w.m.Node();
  const auto t1 = w.m.Source(node, "Т1");
  w.data.Sources().Reload();
  w.m.ui.PressButton("Да");
  w.sources.Delete(1);
  EXPECT_EQ(w.m.ui.Messages().back(), "Источники питания.: Удалить ИП из модели");
  EXPECT_FALSE(modelClass::SeekExact(w.m->Sources(), t1.number));
  EXPECT_FALSE(modelClass::SeekExact(w.m->Branches(), t1.branch));
  EXPECT_EQ(w.m->Designations().KeyOf("Т1"), 0);
}

TEST(RoomTableTest, RoomsAreAppendedWarmAndRenumberedOnlyToFreeNumbers) {
  Windows w;
  w.m.ui.AnswerTable([&](TableOwner&, TableForm&) {
    EXPECT_TRUE(w.Append(w.rooms, 1, "Насосная"));
    EXPECT_TRUE(w.Append(w.rooms, 1, "Щитовая"));
    EXPECT_TRUE(w.rooms.CommitEdit(2, 0, "1"));
    EXPECT_TRUE(w.rooms.CommitEdit(1, 3, "В-Ia"));
    return true;
  });
  EXPECT_TRUE(w.data.EditRooms());
  EXPECT_EQ(w.m.ui.Messages().back(), "Здания и помещения: Номер помещения занят");
  EXPECT_EQ(w.rooms.Cell(1, 2), "20");
  EXPECT_EQ(w.rooms.Cell(1, 3), "В-Ia");
  EXPECT_EQ(w.rooms.Cell(2, 1), "Щитовая");
}

// Yellow or cyan text on white cannot be read: the room's colour fills the
// swatch and tints the row, the text keeps the standard colour.
TEST(RoomTableTest, ARoomsColourShowsInItsSwatchAndTintNotInItsText) {
  Windows w;
  tbClass* rooms = w.m->Rooms();
  rooms->Insert(1);
  RoomRec(rooms->Record()).SetColor(0xFFFF00);  // cyan
  rooms->MarkModifiedAndFlush();
  rooms->Insert(2);
  rooms->MarkModifiedAndFlush();
  w.data.Rooms().Reload();
  TableForm& form = w.data.Rooms().Form();

  EXPECT_EQ(ListItem(w.rooms.Line(1), 12), kColourSwatch);
  EXPECT_FALSE(form.lineColorSet);
  EXPECT_TRUE(form.pictureColorSet);
  EXPECT_EQ(form.pictureColor, (Color{0, 255, 255}));
  EXPECT_TRUE(form.lineBackgroundSet);
  EXPECT_EQ(form.lineBackground, (Color{191, 255, 255}));

  form.lineBackgroundSet = false;
  w.rooms.Line(2);
  EXPECT_FALSE(form.lineBackgroundSet) << "a room without a colour of its own has no tint";
}

}  // namespace
}  // namespace kordavelt
