// The result tables over whole calculated networks: how devices and cables
// pair into rows, what each table shows when there is nothing to show, the
// temperature limits, the header texts, the cable journal's consumers and
// the three variants of the loads table.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base/number_format.h"
#include "calc/element_checks.h"
#include "calc/network_sketch.h"
#include "results/result_tables.h"
#include "table/table_driver.h"

namespace kordavelt::testing {
namespace {

// Columns of the table of cables and protective devices.
constexpr int kColDevice = 8;
constexpr int kColCable = 16;
constexpr int kColLength = 20;
constexpr int kColTempStart = 29;
constexpr int kColTempBackup = 30;
constexpr int kColMin1 = 32;
constexpr int kColViolations = 35;

class ResultTables : public NetworkSketch {
 protected:
  // Opens table `id` into form_; false when it refused.
  bool Open(std::string_view id, int argument = 0) {
    table_ = MakeResultTable(s.calc, id, argument);
    form_ = TableForm{};
    return table_ != nullptr && table_->Open(form_);
  }
  std::string At(int row, int col) {
    TableDriver driver(*table_, form_, s.m.ui);
    return driver.Cell(row, col);
  }
  int Rows() const { return form_.rowCount; }

  // A receiver with a designation, of a group of P kW at cos 0.9.
  std::int32_t Consumer(int node, std::string_view marking, double kw = 20) {
    return s.m.Receiver(node, Group(kw, 0.9), marking).branch;
  }

  std::unique_ptr<ResultTable> table_;
  TableForm form_;
};

// --- Rows of the table of cables and protective devices ----------------------------

// Pairing used to put the device and its cable on separate rows, or a second
// cable into the row of the first.
TEST_F(ResultTables, DeviceAndLineShareTheRowOfTheirConnection) {
  const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node(), n4 = s.m.Node();
  Source(n1, 400, 0);
  s.m.Breaker(n1, n2);
  Cable(n2, n3, 100);
  Cable(n3, n4, 50);
  s.Name(n4, "ЩР-1");
  Consumer(n4, "М1");
  s.calc.CalcNetwork();

  ASSERT_TRUE(Open("Rez"));
  ASSERT_EQ(Rows(), 2);
  // Row 1: the breaker (no type in the book) with the first cable.
  EXPECT_EQ(At(1, 0), "1");
  EXPECT_EQ(At(1, 1), std::to_string(n1));  // no designation: the node number
  EXPECT_EQ(At(1, 3), "ЩР-1");
  EXPECT_EQ(At(1, 4), "Узел");
  EXPECT_EQ(At(1, kColDevice), "?");
  EXPECT_EQ(At(1, kColCable), "ВВГ-4*95");
  EXPECT_EQ(At(1, kColLength), "100");
  // Row 2: the second cable alone, "-" in every device cell.
  EXPECT_EQ(At(2, kColCable), "ВВГ-4*95");
  EXPECT_EQ(At(2, kColLength), "50");
  for (int col = kColDevice; col < kColDevice + 8; ++col) EXPECT_EQ(At(2, col), "-") << col;
  for (int col = kColMin1; col < kColMin1 + 3; ++col) EXPECT_EQ(At(2, col), "-") << col;
  // The installed power below the connection: the 20 kW receiver.
  EXPECT_EQ(At(1, 5), "20");
}

// The checks' findings showed nowhere in the program: each row names the
// conditions its device or its cable violates, in the order of the codes.
TEST_F(ResultTables, EachRowNamesTheConditionsItsDeviceAndCableViolate) {
  const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node(), n4 = s.m.Node();
  Source(n1, 400, 0);
  const std::int32_t breaker = s.m.Breaker(n1, n2);
  const std::int32_t first = Cable(n2, n3, 100);
  const std::int32_t second = Cable(n3, n4, 50);
  s.calc.CalcNetwork();
  Of(breaker).violations = 1u << kViolationSensitivity1;
  Of(first).violations = 1u << kViolationPermissible;
  Of(second).violations = 0;

  ASSERT_TRUE(Open("Rez"));
  ASSERT_EQ(Rows(), 2);
  EXPECT_EQ(At(1, kColViolations), "Iдоп!Кч1ф!");
  EXPECT_EQ(At(2, kColViolations), "");
}

TEST_F(ResultTables, TerminalConnectionShowsReceiverAndGroup) {
  const int n1 = s.m.Node(), n2 = s.m.Node();
  Source(n1, 400, 0);
  Cable(n1, n2, 100);
  const int group = Group(30, 0.9);
  ASSERT_TRUE(modelClass::SeekExact(s.m->Groups(), group));
  GroupRec(s.m->Groups()->Record()).SetName("Насос");
  s.m->Groups()->MarkModifiedAndFlush();
  s.m.Receiver(n2, group, "Н-1");
  s.calc.CalcNetwork();

  ASSERT_TRUE(Open("Rez"));
  ASSERT_EQ(Rows(), 1);
  EXPECT_EQ(At(1, 3), "Н-1");
  EXPECT_EQ(At(1, 4), "Насос");
  // The cable carries the receiver's working current, ≈ 48 A at 400 V.
  EXPECT_EQ(At(1, 6), "48");
}

// Temperatures are shown as the limits only above 260 and 370 °C.
TEST_F(ResultTables, TemperaturesAboveTheLimitsShowAsTheLimit) {
  const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node();
  Source(n1, 400, 0);
  const std::int32_t hot = Cable(n1, n2, 100);
  const std::int32_t warm = Cable(n2, n3, 100);
  s.calc.CalcNetwork();
  Of(hot).tempProtect = {300, 0, 380, 360};
  Of(warm).tempProtect = {255, 0, 370, 371};

  ASSERT_TRUE(Open("Rez"));
  ASSERT_EQ(Rows(), 2);
  EXPECT_EQ(At(1, kColTempStart), ">250");
  EXPECT_EQ(At(1, kColTempBackup), ">350");
  EXPECT_EQ(At(1, kColTempBackup + 1), "360");
  EXPECT_EQ(At(2, kColTempStart), "255");
  EXPECT_EQ(At(2, kColTempBackup), "370");
  EXPECT_EQ(At(2, kColTempBackup + 1), ">350");
}

TEST_F(ResultTables, CableTableHeadersAreThoseOfTheProgram) {
  const int n1 = s.m.Node(), n2 = s.m.Node();
  Source(n1, 400, 0);
  Cable(n1, n2, 10);
  ASSERT_TRUE(Open("Rez"));  // the results are out of date: a full calculation runs first
  EXPECT_FALSE(s.calc.Invalid());
  EXPECT_EQ(form_.caption, "Таблица расчета кабелей и защитных аппаратов");
  TableDriver driver(*table_, form_, s.m.ui);
  // The program's 35 columns, then the violated conditions.
  EXPECT_EQ(driver.ColCount(), 36);
  EXPECT_NE(form_.head1.find("#Iотс#I\"авт#i уд#Тип кабеля#"), std::string::npos);
  EXPECT_NE(form_.head1.find("#Iкmin1#Iкmin2#Iкmin3#Нарушения"), std::string::npos);
  EXPECT_NE(form_.head2.find("# °С # °С # °С  #  кА  #  кА  #  кА  "), std::string::npos);
  // Every row has a cell for every column.
  const std::string line = driver.Line(1);
  EXPECT_EQ(std::count(line.begin(), line.end(), '#'), 35);
}

TEST_F(ResultTables, TablesWithNothingToShowRefuseWithTheirMessage) {
  const int n1 = s.m.Node();
  Source(n1, 400, 0);
  EXPECT_FALSE(Open("Rez"));
  EXPECT_EQ(s.LastMessage(),
            "Таблица расчета кабелей и защитных аппаратов: Нет ни кабелей ни автоматов");
  EXPECT_FALSE(Open("KJur"));
  EXPECT_EQ(s.LastMessage(), "Кабельный журнал для раскладки: Нет ни кабелей ни ВЛ");
  EXPECT_FALSE(Open("Teplo"));
  EXPECT_EQ(s.LastMessage(), "Тепловыделения электрооборудования: Нет списка помещений");
  EXPECT_FALSE(Open("Cells", 0));
  EXPECT_EQ(s.LastMessage(), "Результат: Следует выделить узел");
  EXPECT_FALSE(Open("Cells", n1));
  EXPECT_EQ(s.LastMessage(), "Результат: Для узла должен быть указан тип присоединения");
  EXPECT_EQ(MakeResultTable(s.calc, "Nope"), nullptr);
}

// --- Cable journal ----------------------------------------------------------------

TEST_F(ResultTables, CableJournalRunsFromTheSourceToTheConsumer) {
  const int n1 = s.m.Node(), n2 = s.m.Node(), n3 = s.m.Node();
  Source(n1, 400, 0);
  const std::int32_t feeder = Cable(n1, n2, 120);
  s.Name(n2, "ЩР-2");
  Cable(n2, n3, 30);
  Consumer(n3, "М2");
  s.m->Designations().AddMarking("К-1", feeder, *s.m->Markings());

  ASSERT_TRUE(Open("KJur"));
  EXPECT_EQ(form_.fieldNames,
            "Nom#From#To#Name#Marka#Vid#Unom#Type#CrossSect#N#L#Idop#Idop1#Iras#dU");
  ASSERT_EQ(Rows(), 2);
  // From the source busbar (no designation: the source's name) to ЩР-2.
  EXPECT_EQ(At(1, 1), "Т1");
  EXPECT_EQ(At(1, 2), "ЩР-2");
  EXPECT_EQ(At(1, 4), "К-1");
  EXPECT_EQ(At(1, 5), "Откр");
  EXPECT_EQ(At(1, 6), "1000");
  EXPECT_EQ(At(1, 7), "ВВГ");
  EXPECT_EQ(At(1, 8), "4x95");
  EXPECT_EQ(At(1, 10), "120");
  EXPECT_EQ(At(1, 11), "220");  // one cable in air
  // From ЩР-2 to the receiver and its group.
  EXPECT_EQ(At(2, 1), "ЩР-2");
  EXPECT_EQ(At(2, 2), "М2");
  EXPECT_EQ(At(2, 3), "Электроприемник");
}

// --- Loads of the power sources -------------------------------------------------

TEST_F(ResultTables, LoadsRefuseMoreThan32Sources) {
  for (int i = 0; i < 33; ++i) s.FedSource(s.m.Node(), "И" + std::to_string(i));
  EXPECT_FALSE(Open("Loads"));
  EXPECT_EQ(s.LastMessage(), "Результаты: Число источников более 32 !");
}

class LoadsTable : public ResultTables {
 protected:
  // Two groups on source 1: 10 kW × 2 receivers (periodic) and 40 kW × 1.
  void Build(int method) {
    s.m->Settings().SetLoadMethod(method);
    const int n1 = s.m.Node(), n2 = s.m.Node();
    Source(n1, 400, 0);
    Cable(n1, n2, 50);
    small_ = NetworkFixture::Group(10, 0.8, 400, 1, 0.5f);
    large_ = NetworkFixture::Group(40, 0.8, 400, 0, 0.5f);
    s.m.Receiver(n2, small_, "М1");
    s.m.Receiver(n2, small_, "М2");
    s.m.Receiver(n2, large_, "М3");
    s.m->AssignFeedingSources();
    s.calc.CalcNetwork();
  }
  int small_ = 0;
  int large_ = 0;
};

TEST_F(LoadsTable, LoadFactorVariantListsGroupsByPowerThenTheSums) {
  Build(0);
  ASSERT_TRUE(Open("Loads"));
  EXPECT_EQ(form_.title, "Расчет нагрузок источников питания#по коэффициентам загрузки");
  EXPECT_EQ(form_.head1, " № #Наименование#Рном#CosФ#КПД# Pp # Qр # Kз # N #1");
  EXPECT_EQ(form_.head2, "   #            # кВт#    # % #кВт #квар#    #   #Т1");
  ASSERT_EQ(Rows(), 2 + 3);
  EXPECT_EQ(At(1, 0), std::to_string(large_));
  EXPECT_EQ(At(1, 5), "20");  // 40 kW × Кв 0.5
  EXPECT_EQ(At(2, 0), std::to_string(small_));
  EXPECT_EQ(At(2, 5), "10");  // 2 × 10 kW × 0.5
  EXPECT_EQ(At(2, 8), "2");
  EXPECT_EQ(At(2, 9), "2");  // both fed by source 1
  EXPECT_EQ(At(3, 1), "Sр(кВА)");
  EXPECT_EQ(At(4, 1), "Pр(кВт)");
  EXPECT_EQ(At(4, 9), "30");
  EXPECT_EQ(At(5, 1), "Qр(квар)");
  EXPECT_EQ(At(5, 9), "22.5");
  EXPECT_EQ(At(3, 9), "37.5");
}

TEST_F(LoadsTable, DemandFactorVariantNamesTheRegime) {
  Build(2);
  ASSERT_TRUE(Open("Loads"));
  EXPECT_EQ(form_.title, "Расчет нагрузок источников питания#методом ТЭП");
  ASSERT_EQ(Rows(), 2 + 3);
  EXPECT_EQ(At(1, 7), "Длит.");
  EXPECT_EQ(At(1, 8), "0.7");
  EXPECT_EQ(At(2, 7), "Период.");
  EXPECT_EQ(At(2, 8), "0.35");
  // Eight empty cells after the label in this variant.
  EXPECT_EQ(At(4, 1), "Pр(кВт)");
  EXPECT_EQ(At(4, 10), "35");  // 0.7 × 40 + 0.35 × 20
}

TEST_F(LoadsTable, DesignFactorVariantAddsEffectiveNumberUtilisationAndKr) {
  Build(3);
  ASSERT_TRUE(Open("Loads"));
  EXPECT_EQ(form_.title, "Расчет нагрузок методом#коэффициента расчетной мощности");
  ASSERT_EQ(Rows(), 2 + 6);
  EXPECT_EQ(At(3, 1), "Nэф");
  EXPECT_EQ(At(3, 9), "2");  // 60² / (40² + 2 · 10²)
  EXPECT_EQ(At(4, 1), "Kи");
  EXPECT_EQ(At(4, 9), "0.5");
  EXPECT_EQ(At(5, 1), "Kр");
  EXPECT_EQ(At(8, 1), "Qр(квар)");
}

// --- Other tables ---------------------------------------------------------------

// A yellow or cyan room drawn as text on white could not be read: the
// room's colour tints the row, the text keeps the standard colour.
TEST_F(ResultTables, HeatReleaseRowPerRoomOnALightTintOfItsColour) {
  tbClass* rooms = s.m->Rooms();
  rooms->Insert(3);
  RoomRec room(rooms->Record());
  room.SetName("Насосная");
  room.SetTv(25);
  room.SetDX(10);
  room.SetDY(4);
  room.SetDZ(3);
  room.SetQtv(0.5f);
  room.SetColor(0x00FFFF);  // yellow
  rooms->MarkModifiedAndFlush();
  rooms->Insert(4);  // a room whose colour was never chosen
  rooms->MarkModifiedAndFlush();

  ASSERT_TRUE(Open("Teplo"));
  ASSERT_EQ(Rows(), 2);
  TableDriver driver(*table_, form_, s.m.ui);
  EXPECT_EQ(driver.Line(1), "3#Насосная#25#120#0.5");
  EXPECT_FALSE(form_.lineColorSet);
  EXPECT_TRUE(form_.lineBackgroundSet);
  EXPECT_EQ(form_.lineBackground, (Color{255, 255, 191}));
  driver.Line(2);
  EXPECT_FALSE(form_.lineColorSet);
  EXPECT_FALSE(form_.lineBackgroundSet) << "black is no colour of the room's own";
}

TEST_F(ResultTables, ConsumersThenDesignatedNodesWithCoordinates) {
  const int n2 = s.m.Node();
  s.Place(n2, 5, 6, 7);
  s.Name(n2, "ЩР-3");
  const auto receiver = s.m.Receiver(n2, Group(5, 0.9), "Л1");
  ASSERT_TRUE(modelClass::SeekExact(s.m->Receivers(), receiver.number));
  ReceiverRec(s.m->Receivers()->Record()).SetX(11);
  s.m->Receivers()->MarkModifiedAndFlush();

  ASSERT_TRUE(Open("Potr"));
  ASSERT_EQ(Rows(), 2);
  EXPECT_EQ(At(1, 1), "Электроприемник");
  EXPECT_EQ(At(1, 2), "Л1");
  EXPECT_EQ(At(1, 3), "11");
  EXPECT_EQ(At(2, 2), "ЩР-3");
  EXPECT_EQ(At(2, 5), "7");
}

TEST_F(ResultTables, TreeListsEveryElementWithDirectionAndKeys) {
  const int n1 = s.m.Node(), n2 = s.m.Node();
  const auto source = Source(n1, 400, 0);
  const std::int32_t cable = Cable(n1, n2, 10);
  s.m.Receiver(n2, Group(5, 0.9), "Л1");

  ASSERT_TRUE(Open("Tree", source.number));
  EXPECT_EQ(form_.title, "Дерево от ИП №" + std::to_string(source.number));
  EXPECT_EQ(form_.head1, " № #_#Начало#Конец#Обозначение#Уровень#Объект");
  ASSERT_EQ(Rows(), 3);
  EXPECT_EQ(At(1, 4), "Т1");
  EXPECT_EQ(At(1, 6), "Источник питания");
  EXPECT_EQ(At(2, 1), "+");
  EXPECT_EQ(At(2, 2), FormatCode(cable, 8));
  EXPECT_EQ(At(2, 3), std::to_string(n2) + ".1");
  EXPECT_EQ(At(3, 4), "Л1");
  EXPECT_EQ(At(3, 6), "Электроприемник");
}

}  // namespace
}  // namespace kordavelt::testing
