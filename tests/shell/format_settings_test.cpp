// The format settings table "Настройка формата", driven as the user does.
// Each case guards an edit whose effect the rest of the program relies on:
// a number format that does not follow at once, a setting taken from a
// refused entry, a swatch drawn in another row's colour, a hook not called.

#include "shell/format_settings.h"

#include <gtest/gtest.h>

#include "base/number_format.h"
#include "draw/picture_string.h"
#include "support/scripted_ui_host.h"
#include "table/table_driver.h"

namespace kordavelt {
namespace {

using testing::ScriptedUiHost;

class FormatSettingsTest : public ::testing::Test {
 protected:
  FormatSettingsTest() {
    owner.OnFontChanged = [this] { events += "font;"; };
    owner.OnRepaintAll = [this] { events += "repaint;"; };
    owner.OnToolbarChanged = [this](bool visible) { events += visible ? "shown;" : "hidden;"; };
    owner.OnReLayout = [this] { events += "relayout;"; };
    ApplyNumberFormat(settings);
  }
  ~FormatSettingsTest() override {
    Digits = savedDigits_;
    MinNull = savedMinNull_;
  }

  // The edit of the value cell of `row`, as typed.
  bool Type(int row, std::string_view text) { return table.CommitEdit(row, 1, text); }

  int savedDigits_ = Digits;
  float savedMinNull_ = MinNull;
  ScriptedUiHost ui;
  DisplaySettings settings;
  FormatSettingsOwner owner{settings, ui};
  TableDriver table{owner, owner.Form(), ui};
  std::string events;
};

TEST_F(FormatSettingsTest, TheTableOpensOnTheDigitsRowWithItsLayout) {
  ui.AnswerTable([](TableOwner&, TableForm& form) {
    EXPECT_EQ(form.caption, "Настройка формата");
    EXPECT_EQ(form.head1, "_____________________#_______________");
    EXPECT_EQ(form.displayCodes, "LC");
    EXPECT_EQ(form.rowCount, 9);
    EXPECT_EQ(form.curRow, 2);
    return false;
  });
  EXPECT_FALSE(owner.Show());
  ASSERT_EQ(ui.Calls().size(), 1u);
  EXPECT_EQ(ui.Calls()[0].buttons, "###Закрыть");
}

TEST_F(FormatSettingsTest, EveryRowShowsItsSettingWithItsEditLetters) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"Шрифт#Arial(10)", "XX"},
      {"Значащих цифр#5", "XN"},
      {"Минимум не нуль#" + FormatNumber(0.000001f), "XN"},
      {"Цвет стандартный#@s2r22GDxxr02DDe", "XX"},
      {"Цвет отключенного#@s2r22GDxxr02DDe", "XX"},
      {"Цвет выделенного#@s2r22GDxxr02DDe", "XX"},
      {"Панель инструментов#@s0r22DDp6B35447BC2e", "XX"},
      {"Разделитель для CSV#,", "XT"},
      {"Кавычки для \"текста\" CSV#@s0r22DDe", "XX"},
  };
  for (int row = 1; row <= 9; ++row) {
    EXPECT_EQ(table.Line(row), rows[row - 1].first) << "row " << row;
    EXPECT_EQ(owner.Form().editCodes, rows[row - 1].second) << "row " << row;
  }
}

TEST_F(FormatSettingsTest, OnlyTheColourRowsAreDrawnInTheirOwnColour) {
  // The form keeps the last row's colour: a row after a colour row that
  // did not clear it would be painted silver or red.
  settings.colorDefault = 0x000080;
  table.Line(5);
  EXPECT_TRUE(owner.Form().lineColorSet);
  EXPECT_EQ(owner.Form().lineColor, Color::FromColorRef(0xC0C0C0));
  table.Line(4);
  EXPECT_EQ(owner.Form().lineColor, Color::FromColorRef(0x000080));
  table.Line(6);
  EXPECT_EQ(owner.Form().lineColor, Color::FromColorRef(0x0000FF));
  table.Line(7);
  EXPECT_FALSE(owner.Form().lineColorSet);
}

TEST_F(FormatSettingsTest, DigitsAreClampedAndTheNumberFormatFollowsAtOnce) {
  ASSERT_TRUE(Type(2, "12"));
  EXPECT_EQ(settings.digits, 10);
  EXPECT_EQ(Digits, 10);
  EXPECT_EQ(owner.Form().refresh, Refresh::All);
  EXPECT_EQ(events, "repaint;relayout;");
  ASSERT_TRUE(Type(2, "-3"));
  EXPECT_EQ(settings.digits, 0);
  ASSERT_TRUE(Type(2, "3"));
  EXPECT_EQ(FormatNumber(3.14159), "3.14");

  events.clear();
  ASSERT_TRUE(Type(2, ""));
  EXPECT_EQ(settings.digits, 3) << "an emptied cell is no number";
  ASSERT_FALSE(Type(2, "abc"));
  EXPECT_TRUE(table.CommitEdit(2, 0, ""));
  EXPECT_EQ(settings.digits, 3) << "Enter on the label changes nothing";
  EXPECT_EQ(events, "");
}

TEST_F(FormatSettingsTest, AMinimumNonZeroOfOneOrMoreIsIgnored) {
  ASSERT_TRUE(Type(3, "1"));
  ASSERT_TRUE(Type(3, "25"));
  EXPECT_FLOAT_EQ(settings.minNull, 0.000001f);
  EXPECT_EQ(events, "");
  ASSERT_TRUE(Type(3, "0.01"));
  EXPECT_FLOAT_EQ(settings.minNull, 0.01f);
  EXPECT_FLOAT_EQ(MinNull, 0.01f);
  EXPECT_EQ(FormatNumber(0.005), "0");
  EXPECT_EQ(events, "repaint;relayout;");
}

TEST_F(FormatSettingsTest, TheFontDialogStartsFromTheTableFontAndItsChoiceIsTaken) {
  ui.CancelInput();
  ASSERT_TRUE(table.CommitEdit(1, 0, ""));
  EXPECT_EQ(ui.Calls().back().text, "Arial");
  EXPECT_EQ(events, "") << "a cancelled dialog changes nothing";

  ui.PickFont({"Courier New", 12, 2});
  ASSERT_TRUE(table.CommitEdit(1, 1, ""));
  EXPECT_EQ(settings.fontName, "Courier New");
  EXPECT_EQ(settings.fontSize, 12);
  EXPECT_EQ(settings.fontStyle, 2);
  EXPECT_EQ(table.Cell(1, 1), "Courier New(12)");
  EXPECT_EQ(events, "font;relayout;");
}

TEST_F(FormatSettingsTest, ColourRowsTakeTheDialogsColourAndRepaintAsTheyShould) {
  ui.PickColour(Color{0, 128, 0});
  ASSERT_TRUE(table.CommitEdit(4, 1, ""));
  EXPECT_EQ(settings.colorDefault, 0x008000u);
  EXPECT_EQ(events, "repaint;relayout;");

  events.clear();
  ui.PickColour(Color{255, 255, 0});
  ASSERT_TRUE(table.CommitEdit(5, 1, ""));
  EXPECT_EQ(settings.colorOffline, 0x00FFFFu);
  EXPECT_EQ(events, "repaint;relayout;");

  // The selection colour shows with the next selection; nothing repaints.
  events.clear();
  ui.PickColour(Color{0, 0, 255});
  ASSERT_TRUE(table.CommitEdit(6, 1, ""));
  EXPECT_EQ(settings.colorSelect, 0xFF0000u);
  EXPECT_EQ(events, "relayout;");

  events.clear();
  ui.CancelInput();
  ASSERT_TRUE(table.CommitEdit(4, 1, ""));
  EXPECT_EQ(settings.colorDefault, 0x008000u);
  EXPECT_EQ(events, "");
}

TEST_F(FormatSettingsTest, TheToolbarAndQuotesRowsToggle) {
  ASSERT_TRUE(table.CommitEdit(7, 1, ""));
  EXPECT_TRUE(settings.toolbarHidden);
  EXPECT_EQ(table.Cell(7, 1), kUncheckedBox);
  ASSERT_TRUE(table.CommitEdit(7, 0, ""));
  EXPECT_FALSE(settings.toolbarHidden);
  EXPECT_EQ(events, "hidden;repaint;relayout;shown;repaint;relayout;");

  events.clear();
  ASSERT_TRUE(table.CommitEdit(9, 1, ""));
  EXPECT_TRUE(settings.csvQuotes);
  EXPECT_EQ(table.Cell(9, 1), kCheckedBox);
  EXPECT_TRUE(CsvOptionsOf(settings).quotes);
  EXPECT_EQ(events, "relayout;") << "CSV options change nothing on screen";
}

TEST_F(FormatSettingsTest, TheFirstCharacterTypedBecomesTheCsvSeparator) {
  ASSERT_TRUE(Type(8, ";x"));
  EXPECT_EQ(settings.csvSeparator, ';');
  EXPECT_EQ(table.Cell(8, 1), ";");

  // A separator the CSV files cannot use is refused: '#' would also break the row.
  for (const char* refused : {"#", "\"", "ж"}) {
    ASSERT_TRUE(Type(8, refused));
    EXPECT_EQ(settings.csvSeparator, ';') << refused;
  }
  EXPECT_EQ(ui.Beeps(), 3);
  ASSERT_TRUE(Type(8, ""));
  EXPECT_EQ(settings.csvSeparator, ';');
}

TEST_F(FormatSettingsTest, UnboundHooksAreNotCalled) {
  FormatSettingsOwner bare(settings, ui);
  TableDriver driver(bare, bare.Form(), ui);
  ui.PickFont({"Arial", 14, 0});
  ASSERT_TRUE(driver.CommitEdit(1, 1, ""));
  ASSERT_TRUE(driver.CommitEdit(7, 1, ""));
  EXPECT_EQ(settings.fontSize, 14);
  EXPECT_TRUE(settings.toolbarHidden);
}

}  // namespace
}  // namespace kordavelt
