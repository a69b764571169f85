// An engineer at the reference-book window: entering types row by row, the
// defaults the book fills in, codes, the category rules and dialogs,
// deleting and pasting.

#include "refbook/book_owner.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/dial_list.h"
#include "base/number_format.h"
#include "refbook/automatic_code.h"
#include "refbook/book_builder.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/spr_class.h"
#include "refbook/vth_block.h"
#include "table/table_driver.h"

namespace kordavelt {
namespace {

using testing::AddAsyncMotor;
using testing::AddCableBrand;
using testing::AddTripUnit;
using testing::AddType;
using testing::TestBook;

const std::string kCheckedBox = "@s0r22DDp6B35447BC2e";
const std::string kEmptyBox = "@s0r22DDe";

struct Window {
  explicit Window(int table = 0) {
    if (table != 0) {
      EXPECT_TRUE(owner.ShowTable(table));
    }
  }

  // Types `text` into a cell as the window commits it: the edited cell is
  // current when the row is read.
  bool Type(int row, int col, std::string_view text) {
    owner.Form().curRow = row;
    owner.Form().curCol = col;
    return driver.CommitEdit(row, col, text);
  }
  // Types into the append row.
  bool Append(int col, std::string_view text) { return Type(driver.RowCount() + 1, col, text); }
  std::string Cell(int row, int col) { return driver.Cell(row, col); }
  int Rows() {
    driver.Line(1);
    return driver.RowCount();
  }
  Bytes Record(int table, std::int32_t code) {
    return book().FindType(table, code) ? book().CurrentRecord(table) : Bytes{};
  }
  sprClass& book() { return t.book; }

  TestBook t;
  BookOwner owner{t.book, t.ui};
  TableDriver driver{owner, owner.Form(), t.ui};
};

TEST(BookOwnerTest, ShowingACategoryLaysTheWindowOut) {
  Window w;
  EXPECT_FALSE(w.owner.ShowTable(94)) << "the series have no category";
  EXPECT_FALSE(w.owner.SelectSection("SUnknown"));
  ASSERT_TRUE(w.owner.SelectSection("SPriz"));
  const TableForm& form = w.owner.Form();
  EXPECT_EQ(w.owner.Table(), book::kCableTable);
  EXPECT_EQ(w.owner.Category(), 2);
  EXPECT_EQ(form.caption, "Кабели") << "the window names the category it shows";
  EXPECT_EQ(form.name, "SPriz");
  EXPECT_EQ(ListItem(form.head1, 2), "      Тип      ");
  EXPECT_EQ(form.fieldNames.substr(0, 8), "NN#Unom#");
  EXPECT_TRUE(form.appendable);
  EXPECT_EQ(w.driver.RowCount(), 0);
  EXPECT_EQ(w.driver.Cell(1, 0), "•••");
  EXPECT_EQ(ListCount(w.driver.Line(1)), 15);
}

TEST(BookOwnerTest, CopperCableGetsItsDefaults) {
  Window w(book::kCableBrandTable);
  ASSERT_TRUE(w.Append(1, "ВВГ"));
  ASSERT_TRUE(w.owner.ShowTable(book::kCableTable));

  ASSERT_TRUE(w.Append(1, "380"));
  EXPECT_EQ(w.Rows(), 1);
  w.t.ui.ChooseTableRow(1);  // the brand dialog
  ASSERT_TRUE(w.Type(1, 2, ""));
  EXPECT_EQ(w.Cell(1, 2), "ВВГ");
  ASSERT_TRUE(w.Type(1, 3, "4"));
  ASSERT_TRUE(w.Type(1, 4, "16"));
  EXPECT_EQ(w.Cell(1, 8), "1.15");
  EXPECT_EQ(w.Cell(1, 9), "0.09");
  EXPECT_EQ(w.Cell(1, 10), "2.12");
  EXPECT_EQ(w.Cell(1, 11), "1.14");
  EXPECT_EQ(w.Cell(1, 6), "115");
  EXPECT_EQ(w.Cell(1, 7), "80");

  // A typed resistance stays; clearing it brings the default back.
  ASSERT_TRUE(w.Type(1, 8, "1.2"));
  EXPECT_EQ(w.Cell(1, 8), "1.2");
  ASSERT_TRUE(w.Type(1, 8, "0"));
  EXPECT_EQ(w.Cell(1, 8), "1.15");

  // The charging current follows the susceptance while it is 0.
  ASSERT_TRUE(w.Type(1, 12, "100"));
  EXPECT_NEAR(std::stof(w.Cell(1, 13)), 380 * 0.00173205 * 100 * 0.55, 1e-3);
  ASSERT_TRUE(w.Type(1, 12, "200"));
  EXPECT_NEAR(std::stof(w.Cell(1, 13)), 380 * 0.00173205 * 100 * 0.55, 1e-3);
}

TEST(BookOwnerTest, CableDefaultsNeedVoltageSectionAndBrand) {
  Window w;
  const std::int32_t aluminium = AddCableBrand(w.book(), "АВВГ");
  ASSERT_TRUE(w.owner.ShowTable(book::kCableTable));
  ASSERT_TRUE(w.Append(3, "4"));
  ASSERT_TRUE(w.Type(1, 4, "95"));
  EXPECT_EQ(w.Cell(1, 8), "0") << "no voltage yet";
  ASSERT_TRUE(w.Type(1, 1, "1000"));
  EXPECT_EQ(w.Cell(1, 8), "0") << "no brand: material and sheath unknown";

  w.t.ui.ChooseTableRow(1);
  ASSERT_TRUE(w.Type(1, 2, ""));
  const book::CableRec cable(w.Record(book::kCableTable, w.owner.Rows().Code(1)));
  EXPECT_EQ(cable.Type(), aluminium);
  EXPECT_FLOAT_EQ(cable.R1(), 31.0f / 95);
  EXPECT_FLOAT_EQ(cable.R0(), 1.665f) << "aluminium, PVC sheath, four cores";
  EXPECT_EQ(cable.IpermissEarch(), 240);

  ASSERT_TRUE(w.Type(1, 2, "-"));
  EXPECT_EQ(w.Cell(1, 2), "");
  EXPECT_EQ(book::CableRec(w.Record(book::kCableTable, w.owner.Rows().Code(1))).Type(), 0);
}

TEST(BookOwnerTest, CodeColumn) {
  Window w(book::kTrunkingTable);
  ASSERT_TRUE(w.Append(1, "ШРА"));
  ASSERT_TRUE(w.Type(1, 2, "380"));
  ASSERT_TRUE(w.Type(1, 3, "250"));
  ASSERT_TRUE(w.Append(1, "ШМА"));
  EXPECT_EQ(w.Cell(1, 9), "1");
  EXPECT_EQ(w.Cell(2, 9), "2");

  // 0: the automatic code; the row moves to its place in code order.
  ASSERT_TRUE(w.Type(1, 9, "0"));
  const Bytes shra = w.Record(book::kTrunkingTable, w.owner.Rows().Code(2));
  const std::int32_t automatic = ComposedCode(book::kTrunkingTable, shra, 0);
  EXPECT_EQ(w.Cell(2, 1), "ШРА");
  EXPECT_EQ(w.Cell(2, 9), std::to_string(automatic));
  EXPECT_EQ(w.owner.Form().curRow, 2) << "the cursor follows the record";

  // A code taken by another type is refused after the warning.
  char hex[16];
  std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(automatic));
  w.t.ui.PressButton("Да");
  ASSERT_TRUE(w.Type(1, 9, hex));
  std::vector<std::string> messages = w.t.ui.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].rfind("Справочник: Изменение кода изделия может вести#", 0), 0u);
  EXPECT_EQ(messages[1], "Справочник: Код " + std::to_string(automatic) + " занят");
  EXPECT_EQ(w.Cell(1, 1), "ШМА");
  EXPECT_EQ(w.Cell(1, 9), "2");

  // Declining the warning changes nothing.
  w.t.ui.PressButton("Нет");
  ASSERT_TRUE(w.Type(1, 9, "7"));
  EXPECT_EQ(w.Cell(1, 9), "2");

  // A free code, typed in hexadecimal, is taken.
  w.t.ui.PressButton("Да");
  ASSERT_TRUE(w.Type(1, 9, "1a"));
  EXPECT_EQ(w.Cell(1, 9), "26");
  EXPECT_EQ(w.Cell(2, 1), "ШРА");
  EXPECT_EQ(w.t.ui.Messages().size(), 4u);
}

TEST(BookOwnerTest, DecimalCodeColumnAndTypesWithoutAutomaticCode) {
  Window w(book::kRelayTable);
  ASSERT_TRUE(w.Append(1, "РТЛ"));
  ASSERT_TRUE(w.Append(1, "РТТ"));
  w.t.ui.PressButton("Да");
  ASSERT_TRUE(w.Type(1, 6, "20"));
  EXPECT_EQ(w.Cell(2, 1), "РТЛ");
  EXPECT_EQ(w.Cell(2, 6), "20");
  // Relays have no automatic code: 0 keeps the code.
  ASSERT_TRUE(w.Type(2, 6, "0"));
  EXPECT_EQ(w.Cell(2, 6), "20");
  // Contact resistance from the rated current.
  ASSERT_TRUE(w.Type(2, 3, "100"));
  EXPECT_NEAR(std::stod(w.Cell(2, 4)), 68.251 * std::pow(100, -0.9959), 1e-3);
}

TEST(BookOwnerTest, TemplateSlotsStayPacked) {
  Window w(book::kTemplateTable);
  ASSERT_TRUE(w.Append(1, "Фидер двигателя с автоматом и пускателем"));
  EXPECT_EQ(w.Cell(1, 1), "Фидер двигателя с автоматом и пу") << "cut to 32 characters";
  // The kind list: 51, 3, 11, 12, 13, 14, 15, 22, 21, 20, 23, 24, 25, ...
  w.t.ui.ChooseTableRow(9);  // circuit breaker
  ASSERT_TRUE(w.Type(1, 5, ""));
  EXPECT_EQ(w.Cell(1, 2), "Автомат") << "moved left into slot 0";
  EXPECT_EQ(w.Cell(1, 5), "");
  w.t.ui.ChooseTableRow(13);  // starter
  ASSERT_TRUE(w.Type(1, 3, ""));
  w.t.ui.ChooseTableRow(3);  // cable
  ASSERT_TRUE(w.Type(1, 10, ""));
  EXPECT_EQ(w.Cell(1, 3), "Пусковой аппарат");
  EXPECT_EQ(w.Cell(1, 4), "Кабель");

  // "-" removes a slot, the later ones move left.
  ASSERT_TRUE(w.Type(1, 2, "-"));
  EXPECT_EQ(w.Cell(1, 2), "Пусковой аппарат");
  EXPECT_EQ(w.Cell(1, 3), "Кабель");
  EXPECT_EQ(w.Cell(1, 4), "");
  const book::CompositionTemplateRec composition(w.Record(book::kTemplateTable, 1));
  EXPECT_EQ(composition.Slot(0), 25);
  EXPECT_EQ(composition.Slot(1), 11);
  EXPECT_EQ(composition.Slot(2), 0);

  // A cancelled kind dialog changes nothing.
  w.t.ui.CancelTable();
  ASSERT_TRUE(w.Type(1, 2, ""));
  EXPECT_EQ(w.Cell(1, 2), "Пусковой аппарат");
}

TEST(BookOwnerTest, NamesDeriveFlagsAndListsSetThem) {
  Window w(book::kCableBrandTable);
  ASSERT_TRUE(w.Append(1, "ААБл"));
  EXPECT_EQ(w.Cell(1, 2), "Алюминий");
  EXPECT_EQ(w.Cell(1, 4), "Aлюминий");
  EXPECT_EQ(w.Cell(1, 5), "Есть");
  ASSERT_TRUE(w.Type(1, 3, "СПЭ"));
  ASSERT_TRUE(w.Type(1, 5, "Нет"));
  EXPECT_EQ(w.Cell(1, 3), "СПЭ");
  EXPECT_EQ(w.Cell(1, 5), "Нет");
  EXPECT_FALSE(w.Type(1, 4, "Медь")) << "not a sheath";
  // A new name derives the flags again.
  ASSERT_TRUE(w.Type(1, 1, "ВВГ"));
  EXPECT_EQ(w.Cell(1, 2), "Медь");
  EXPECT_EQ(w.Cell(1, 3), "ПВХ");

  ASSERT_TRUE(w.owner.ShowTable(book::kBareWireTable));
  ASSERT_TRUE(w.Append(1, "АС"));
  ASSERT_TRUE(w.Type(1, 3, "50"));
  EXPECT_EQ(w.Cell(1, 2), "Алюминий");
  EXPECT_EQ(w.Cell(1, 5), "0.6");
  EXPECT_EQ(w.Cell(1, 6), "210");
  ASSERT_TRUE(w.Type(1, 2, "Сталь"));
  EXPECT_EQ(w.Cell(1, 5), "3.4");

  ASSERT_TRUE(w.owner.ShowTable(book::kInsulatedWireTable));
  ASSERT_TRUE(w.Append(4, "2.5"));
  EXPECT_EQ(w.Cell(1, 6), "7.36");
  EXPECT_EQ(w.Cell(1, 7), "65");
  EXPECT_EQ(w.Cell(1, 8), "30");
  ASSERT_TRUE(w.Type(1, 1, "АПВ"));
  EXPECT_EQ(w.Cell(1, 2), "Алюминий");
  EXPECT_EQ(w.Cell(1, 8), "24");
}

TEST(BookOwnerTest, ApparatusDefaults) {
  Window w(book::kTrunkingTable);
  ASSERT_TRUE(w.Append(3, "200"));
  EXPECT_EQ(w.Cell(1, 5), "0") << "below 250 A";
  ASSERT_TRUE(w.Type(1, 3, "250"));
  EXPECT_EQ(w.Cell(1, 5), "0.21");
  EXPECT_EQ(w.Cell(1, 6), "0.21");
  EXPECT_EQ(w.Cell(1, 7), "0.57");
  EXPECT_EQ(w.Cell(1, 8), "1.68");

  ASSERT_TRUE(w.owner.ShowTable(book::kBreakerTable));
  ASSERT_TRUE(w.Append(4, "100"));
  EXPECT_EQ(w.Cell(1, 8), "2.15");
  EXPECT_EQ(w.Cell(1, 9), "1.2");
  EXPECT_EQ(w.Cell(1, 1), "-") << "no series";
  EXPECT_EQ(w.Cell(1, 7), "-") << "no trip unit";

  ASSERT_TRUE(w.owner.ShowTable(book::kTransformerTable));
  ASSERT_TRUE(w.Append(2, "400"));
  ASSERT_TRUE(w.Type(1, 4, "0.4"));
  ASSERT_TRUE(w.Type(1, 6, "5.5"));
  ASSERT_TRUE(w.Type(1, 7, "4.5"));
  EXPECT_EQ(w.Cell(1, 11), "5.5");
  EXPECT_EQ(w.Cell(1, 12), "17.139");
  EXPECT_FALSE(w.Type(1, 10, "200") && w.Cell(1, 10) == "200");
  ASSERT_TRUE(w.Type(1, 10, "-3"));
  EXPECT_EQ(w.Cell(1, 10), "-3");
  ASSERT_TRUE(w.Type(1, 13, "D/Y0"));
  EXPECT_EQ(w.Cell(1, 13), "D/Y0");

  ASSERT_TRUE(w.owner.ShowTable(book::kCurrentTransformerTable));
  ASSERT_TRUE(w.Append(3, "100"));
  ASSERT_TRUE(w.Type(1, 4, "5"));
  EXPECT_NEAR(std::stod(w.Cell(1, 7)), 331.29 * std::pow(20, -2.0406), 1e-3);

  ASSERT_TRUE(w.owner.ShowTable(book::kCapacitorBankTable));
  ASSERT_TRUE(w.Append(2, "400"));
  ASSERT_TRUE(w.Type(1, 3, "50"));
  EXPECT_EQ(w.Cell(1, 3), "50");
  EXPECT_NEAR(std::stod(w.Cell(1, 4)), 50 / (400.0 * 400 * 0.31416) * 1e6, 1e-2);
}

TEST(BookOwnerTest, Machines) {
  Window w(book::kAsyncMotorTable);
  ASSERT_TRUE(w.Append(5, "1450"));
  EXPECT_EQ(w.Cell(1, 6), "3.3333");
  EXPECT_EQ(w.Cell(1, 11), "0.0333") << "Rs from the slip";
  EXPECT_FALSE(w.Type(1, 4, "1.2") && w.Cell(1, 4) == "1.2");
  ASSERT_TRUE(w.Type(1, 3, "15"));
  EXPECT_EQ(w.Cell(1, 4), "1") << "cos φ 1 once there is a power";
  ASSERT_TRUE(w.Type(1, 4, "0.85"));
  EXPECT_EQ(w.Cell(1, 4), "0.85");

  ASSERT_TRUE(w.owner.ShowTable(book::kSynchronousMachineTable));
  ASSERT_TRUE(w.Append(10, "0.01"));
  EXPECT_EQ(w.Cell(1, 13), "0") << "Xd″ comes with a rating";
  ASSERT_TRUE(w.Type(1, 2, "400"));
  EXPECT_EQ(w.Cell(1, 11), "1.1");
  EXPECT_EQ(w.Cell(1, 12), "0.32");
  EXPECT_EQ(w.Cell(1, 13), "0.21");
  EXPECT_EQ(w.Cell(1, 14), FormatNumber(0.21f / 0.01f / 314.15927));
}

TEST(BookOwnerTest, TripUnitUnitsAndCharacteristic) {
  Window w(book::kTripUnitTable);
  ASSERT_TRUE(w.Append(2, "ТР"));
  EXPECT_EQ(w.Cell(1, 4), "1") << "an Ir setting is always there";
  EXPECT_EQ(w.Cell(1, 5), "*In");
  ASSERT_TRUE(w.Type(1, 3, "100;160;250"));
  ASSERT_TRUE(w.Type(1, 4, "0.4;0.5;0.6;0.8;1"));
  EXPECT_EQ(w.Cell(1, 4), "0.4;0.5;0.6;0.8;1");
  EXPECT_EQ(w.Cell(1, 5), "*In");
  ASSERT_TRUE(w.Type(1, 4, "63-100"));
  EXPECT_EQ(w.Cell(1, 4), "63-100");
  EXPECT_EQ(w.Cell(1, 5), "A");
  ASSERT_TRUE(w.Type(1, 5, "*Ir"));
  EXPECT_EQ(w.Cell(1, 5), "*In") << "Ir is in A or *In only";

  EXPECT_EQ(w.Cell(1, 8), "") << "no unit without a setting";
  ASSERT_TRUE(w.Type(1, 7, "5;10"));
  EXPECT_EQ(w.Cell(1, 8), "*Ir");
  ASSERT_TRUE(w.Type(1, 11, "1000"));
  EXPECT_EQ(w.Cell(1, 12), "A");
  ASSERT_TRUE(w.Type(1, 12, "*In"));
  EXPECT_EQ(w.Cell(1, 12), "*In");
  EXPECT_EQ(w.Cell(1, 9), "") << "Imax only when positive";

  EXPECT_EQ(w.Cell(1, 15), kEmptyBox);
  ASSERT_TRUE(w.Type(1, 15, ""));
  EXPECT_EQ(w.Cell(1, 15), kCheckedBox);
  ASSERT_TRUE(w.Type(1, 15, ""));
  EXPECT_EQ(w.Cell(1, 15), kEmptyBox);

  // The characteristic: 224 digits store it, fewer are ignored, "0" asks.
  const std::string empty(224, '0');
  EXPECT_EQ(w.Cell(1, 13), empty);
  std::string hex;
  for (int i = 0; i < 112; ++i) hex += "0123456789ABCDEF"[i % 16], hex += 'A';
  ASSERT_TRUE(w.Type(1, 13, hex));
  EXPECT_EQ(w.Cell(1, 13), hex);
  ASSERT_TRUE(w.Type(1, 13, "ABCD"));
  EXPECT_EQ(w.Cell(1, 13), hex);
  w.t.ui.PressButton("Нет");
  ASSERT_TRUE(w.Type(1, 13, "0"));
  EXPECT_EQ(w.Cell(1, 13), hex);
  w.t.ui.PressButton("Да");
  ASSERT_TRUE(w.Type(1, 13, "-"));
  EXPECT_EQ(w.Cell(1, 13), empty);
  EXPECT_EQ(w.t.ui.Messages().back(), "Справочник: Удалить ВТХ ?");

  // An empty edit opens the editor on a copy, with the time axis of tm.
  ASSERT_TRUE(w.Type(1, 13, "")) << "no editor bound: nothing happens";
  ASSERT_TRUE(w.Type(1, 10, "0.1;0.3"));
  std::string title;
  double axis = 0;
  w.owner.editCharacteristic = [&](const std::string& t, double a, Bytes block) {
    title = t;
    axis = a;
    SetVthValue(block, 1, 2.5f);
    return true;
  };
  ASSERT_TRUE(w.Type(1, 13, ""));
  EXPECT_EQ(title, "Расцепитель ТР");
  EXPECT_NEAR(axis, std::log(0.3f), 1e-6);
  EXPECT_EQ(VthValue(book::TripUnitRec(w.Record(book::kTripUnitTable, 1)).Vth(), 1), 2.5f);
  w.owner.editCharacteristic = [](const std::string&, double, Bytes block) {
    SetVthValue(block, 1, 7.0f);
    return false;
  };
  ASSERT_TRUE(w.Type(1, 13, ""));
  EXPECT_EQ(VthValue(book::TripUnitRec(w.Record(book::kTripUnitTable, 1)).Vth(), 1), 2.5f)
      << "a cancelled editor leaves the block";
}

TEST(BookOwnerTest, FuseListsAndCharacteristicTitle) {
  Window w(book::kFuseTable);
  ASSERT_TRUE(w.Append(1, "ПН2"));
  ASSERT_TRUE(w.Type(1, 5, "100,125;160_"));
  EXPECT_EQ(w.Cell(1, 5), "100;125;160");
  std::string title;
  double axis = -1;
  w.owner.editCharacteristic = [&](const std::string& t, double a, Bytes) {
    title = t;
    axis = a;
    return false;
  };
  ASSERT_TRUE(w.Type(1, 6, ""));
  EXPECT_EQ(title, "Предохранитель ПН2");
  EXPECT_EQ(axis, 0);
}

TEST(BookOwnerTest, BreakerSeriesAndTripUnit) {
  Window w;
  const std::int32_t unit = AddTripUnit(w.book(), "МТЗ", 0, {100});
  ASSERT_TRUE(w.owner.ShowTable(book::kBreakerTable));
  ASSERT_TRUE(w.Append(2, "ВА88-35"));

  // The series dialog: row 1 is "none"; a new series is typed into the
  // append row, then chosen.
  w.t.ui.AnswerTable([&](TableOwner& owner, TableForm& form) {
    TableDriver dialog(owner, form, w.t.ui);
    EXPECT_EQ(form.head1, "  №  #Серия автоматических выключателей");
    EXPECT_EQ(dialog.RowCount(), 1);
    dialog.Line(1);
    EXPECT_EQ(form.editCodes, "XX");
    EXPECT_TRUE(dialog.CommitEdit(2, 1, "ВА88"));
    EXPECT_EQ(dialog.RowCount(), 2);
    EXPECT_EQ(dialog.Cell(2, 1), "ВА88");
    dialog.Line(2);
    EXPECT_EQ(form.editCodes, "XX") << "a named series keeps its name";
    form.curRow = 2;
    return true;
  });
  ASSERT_TRUE(w.Type(1, 1, ""));
  EXPECT_EQ(w.Cell(1, 1), "ВА88");
  EXPECT_EQ(book::BreakerRec(w.Record(book::kBreakerTable, w.owner.Rows().Code(1))).Seria(), 1);

  // Row 1 takes no name and is never deleted; an unnamed row may be named;
  // Enter on a row chooses it.
  w.t.ui.AnswerTable([&](TableOwner& owner, TableForm& form) {
    TableDriver dialog(owner, form, w.t.ui);
    EXPECT_EQ(form.curRow, 2) << "the breaker's series is preselected";
    EXPECT_TRUE(dialog.CommitEdit(3, 1, "ВА57"));
    dialog.Delete(1);
    dialog.Delete(2);
    EXPECT_EQ(dialog.RowCount(), 3) << "rows stay while rows are deleted";
    dialog.Line(1);
    EXPECT_EQ(dialog.RowCount(), 2);
    EXPECT_EQ(dialog.Cell(2, 1), "ВА57");
    EXPECT_TRUE(dialog.CommitEdit(1, 1, "Х"));
    EXPECT_EQ(dialog.Cell(1, 1), "");
    EXPECT_EQ(form.refresh, Refresh::CloseWindow) << "the commit chose row 1";
    return false;
  });
  ASSERT_TRUE(w.Type(1, 1, ""));
  EXPECT_EQ(w.Cell(1, 1), "") << "series 0, which exists and has no name";
  EXPECT_EQ(book::BreakerRec(w.Record(book::kBreakerTable, w.owner.Rows().Code(1))).Seria(), 0);

  // The trip unit: chosen in its dialog, "-" removes it, a lost one shows "?".
  w.t.ui.AnswerTable([&](TableOwner& owner, TableForm& form) {
    TableDriver dialog(owner, form, w.t.ui);
    EXPECT_EQ(form.caption, "Расцепители автоматов");
    EXPECT_EQ(dialog.Cell(1, 1), "МТЗ");
    EXPECT_EQ(dialog.Cell(1, 3), "100");
    form.curRow = 1;
    return true;
  });
  ASSERT_TRUE(w.Type(1, 7, ""));
  EXPECT_EQ(w.Cell(1, 7), "МТЗ");
  ASSERT_TRUE(w.book().FindType(book::kTripUnitTable, unit));
  w.book().BookTable(book::kTripUnitTable)->Delete();
  EXPECT_EQ(w.Cell(1, 7), "?");
  ASSERT_TRUE(w.Type(1, 7, "-"));
  EXPECT_EQ(w.Cell(1, 7), "-");
}

TEST(BookOwnerTest, MechanismKindAndMotor) {
  Window w;
  AddAsyncMotor(w.book(), "АИР160", 380, 15, 1460);
  AddType(w.book(), book::kSynchronousMachineTable, "СДН", 5);
  ASSERT_TRUE(w.owner.ShowTable(book::kMechanismTable));
  ASSERT_TRUE(w.Append(1, "Насос"));
  EXPECT_EQ(w.Cell(1, 2), "");
  ASSERT_TRUE(w.Type(1, 3, "")) << "no kind: no motor dialog";
  ASSERT_TRUE(w.Type(1, 2, "АД"));
  EXPECT_EQ(w.Cell(1, 2), "АД");
  w.t.ui.AnswerTable([&](TableOwner& owner, TableForm& form) {
    TableDriver dialog(owner, form, w.t.ui);
    EXPECT_EQ(form.caption, "Типы двигателей");
    EXPECT_EQ(dialog.Cell(1, 1), "АИР160");
    EXPECT_EQ(dialog.Cell(1, 5), "1460");
    form.curRow = 1;
    return true;
  });
  ASSERT_TRUE(w.Type(1, 3, ""));
  EXPECT_EQ(w.Cell(1, 3), "АИР160");
  ASSERT_TRUE(w.Type(1, 2, "СД"));
  EXPECT_EQ(w.Cell(1, 3), "") << "another kind clears the motor";
  ASSERT_TRUE(w.Type(1, 10, "Квадратичная"));
  EXPECT_EQ(w.Cell(1, 10), "Квадратичная");
}

TEST(BookOwnerTest, DeletingSelectedRowsDeletesThoseTypes) {
  Window w(book::kSwitchTable);
  for (const char* name : {"Р1", "Р2", "Р3", "Р4"}) ASSERT_TRUE(w.Append(1, name));
  w.driver.Delete(2, 3);
  EXPECT_EQ(w.Rows(), 2);
  EXPECT_EQ(w.Cell(1, 1), "Р1");
  EXPECT_EQ(w.Cell(2, 1), "Р4");
  EXPECT_EQ(w.driver.Cell(3, 0), "•••");
  w.driver.Delete(3);  // the append row: nothing
  EXPECT_EQ(w.Rows(), 2);
  // Deleted types come back with the deletion journal: every one deleted
  // since the last type was added.
  w.driver.Delete(1);
  EXPECT_EQ(w.Rows(), 1);
  ASSERT_TRUE(w.owner.HasUndoDelete());
  ASSERT_TRUE(w.owner.CanUndoDelete());
  w.owner.OnUndoDelete(w.owner.Form());
  EXPECT_FALSE(w.owner.CanUndoDelete());
  EXPECT_EQ(w.Rows(), 4);
  EXPECT_EQ(w.Cell(1, 1), "Р1");
  EXPECT_EQ(w.Cell(3, 1), "Р3");
  // A type added empties the journal: older deletions stay deleted.
  w.driver.Delete(2);
  ASSERT_TRUE(w.Append(1, "Р5"));
  EXPECT_FALSE(w.owner.CanUndoDelete());
}

TEST(BookOwnerTest, PastedRowsBecomeTypes) {
  Window w(book::kStabiliserTable);
  EXPECT_EQ(w.driver.PasteText("1\tСТ-1\t220\t10\t220\t0.5\t0\r\n2\tСТ-2\t380\t25\t380\t1\t77\r\n"),
            2);
  EXPECT_EQ(w.Rows(), 2);
  EXPECT_EQ(w.Cell(1, 1), "СТ-2");
  EXPECT_EQ(w.Cell(1, 6), "77") << "a code from the row is kept";
  EXPECT_EQ(w.Cell(2, 1), "СТ-1");
  EXPECT_EQ(w.Cell(2, 3), "10");
  // A row copied from the window pastes back as an equal type.
  const std::string copied = w.driver.CopyRows(1, 1);
  w.owner.Form().curRow = 1;
  EXPECT_EQ(w.driver.PasteText(copied + "\r\n"), 1);
  EXPECT_EQ(w.Rows(), 3);
  EXPECT_EQ(w.Cell(2, 1), "СТ-2");
  EXPECT_EQ(w.Cell(2, 6), "78") << "the first free code from 77 up";
}

TEST(BookOwnerTest, CategoryDialogAndRememberedRows) {
  Window w;
  AddType(w.book(), book::kReactorTable, "РТ", 10);
  AddType(w.book(), book::kReactorTable, "РБ", 20);
  w.t.ui.AnswerTable([&](TableOwner& owner, TableForm& form) {
    TableDriver dialog(owner, form, w.t.ui);
    EXPECT_EQ(form.caption, "Справочник");
    EXPECT_EQ(form.title, "Вид оборудования");
    EXPECT_EQ(dialog.RowCount(), 21);
    EXPECT_EQ(dialog.Cell(2, 0), "@l101Gp02221402p0E2E1C0Ee");
    EXPECT_EQ(dialog.Cell(13, 1), "Реакторы");
    form.curRow = 13;
    return true;
  });
  ASSERT_TRUE(w.owner.ChooseCategory());
  EXPECT_EQ(w.owner.Table(), book::kReactorTable);
  EXPECT_EQ(w.owner.Form().name, "STT") << "sections are named by category number - 1";
  w.owner.Form().curRow = 2;
  ASSERT_TRUE(w.owner.ShowTable(book::kCableTable));
  EXPECT_EQ(w.owner.Form().curRow, 1);
  ASSERT_TRUE(w.owner.ShowTable(book::kReactorTable));
  EXPECT_EQ(w.owner.Form().curRow, 2) << "each table keeps its row";

  w.t.ui.CancelTable();
  EXPECT_FALSE(w.owner.ChooseCategory());
  EXPECT_EQ(w.owner.Table(), book::kReactorTable);
}

TEST(BookOwnerTest, SelectionDialogPositionsOnTheChosenType) {
  Window w;
  AddType(w.book(), book::kReactorTable, "РТ", 10);
  AddType(w.book(), book::kReactorTable, "РБ", 20);
  w.t.ui.AnswerTable([&](TableOwner& owner, TableForm& form) {
    TableDriver dialog(owner, form, w.t.ui);
    EXPECT_EQ(form.caption, "Из справочника");
    EXPECT_EQ(form.title, "Реакторы токоограничивающие");
    EXPECT_EQ(ListCount(form.head1), 5) << "the leading columns only";
    EXPECT_EQ(form.editCodes.find_first_not_of('X'), std::string::npos);
    EXPECT_FALSE(dialog.CommitEdit(1, 1, "РТТ") && dialog.Cell(1, 1) == "РТТ");
    EXPECT_EQ(form.curRow, 1);
    form.curRow = 2;
    return true;
  });
  ASSERT_TRUE(w.owner.ChooseType(book::kReactorTable));
  EXPECT_EQ(w.book().BookTable(book::kReactorTable)->Key(), 20);
  w.t.ui.AnswerTable([&](TableOwner&, TableForm& form) {
    EXPECT_EQ(form.curRow, 2) << "the last choice is preselected";
    return false;
  });
  EXPECT_FALSE(w.owner.ChooseType(book::kReactorTable));
  EXPECT_FALSE(w.owner.ChooseType(book::kBreakerSeriesTable));
}

TEST(BookOwnerTest, SaveAsShowsTheTableAgainFromTheNewFile) {
  Window w(book::kSwitchTable);
  ASSERT_TRUE(w.Append(1, "РЕ19"));
  w.owner.Form().curRow = 2;
  w.t.ui.ChooseFile("Копия.SPR");
  ASSERT_TRUE(w.owner.SaveAs());
  EXPECT_EQ(w.book().FileName(), "Копия.SPR");
  EXPECT_EQ(w.owner.Table(), book::kSwitchTable);
  EXPECT_EQ(w.owner.Form().curRow, 2);
  EXPECT_EQ(w.Rows(), 1);
  EXPECT_EQ(w.Cell(1, 1), "РЕ19");
  ASSERT_TRUE(w.Type(1, 2, "660"));
  EXPECT_EQ(w.Cell(1, 2), "660");

  w.t.ui.CancelInput();
  EXPECT_FALSE(w.owner.SaveAs());
  EXPECT_EQ(w.Cell(1, 1), "РЕ19");
}

}  // namespace
}  // namespace kordavelt
