// The program compares box answers with 6, 7 and 2 everywhere; a wrong
// mapping of a button or of a closed window answers a question the user never
// answered. These cases drive the boxes through the scripted host.

#include "ui/ui_host.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

using testing::ScriptedUiHost;

TEST(MessageBoxes, ErrorAndInfoShowOneOkButtonWithTheirIcons) {
  ScriptedUiHost ui;
  ui.ShowError("БД", "Ошибка формата файла базы данных");
  ui.ShowInfo("Расчет сети", "Готово#Ошибок нет");
  ASSERT_EQ(ui.Calls().size(), 2u);
  EXPECT_EQ(ui.Calls()[0].buttons, "Ok");
  EXPECT_EQ(ui.Calls()[0].icon, IconKind::Stop);
  EXPECT_EQ(ui.Calls()[1].icon, IconKind::Information);
  EXPECT_EQ(ui.Messages()[1], "Расчет сети: Готово#Ошибок нет");
}

TEST(MessageBoxes, YesNoButtonsAnswerSixAndSeven) {
  ScriptedUiHost ui;
  ui.PressButton("Да");
  ui.PressButton("Нет");
  EXPECT_EQ(ui.AskYesNo("c", "q"), kAnswerYes);
  EXPECT_EQ(ui.AskYesNo("c", "q"), kAnswerNo);
  EXPECT_EQ(ui.Calls()[0].buttons, "Да#Нет");
  EXPECT_EQ(ui.Calls()[0].icon, IconKind::Question);
}

TEST(MessageBoxes, NoYesPutsNoFirstAndStillAnswersByMeaning) {
  ScriptedUiHost ui;
  ui.PressButton("Нет");
  ui.PressButton("Да");
  EXPECT_EQ(ui.AskNoYes("c", "Изменить длину таблицы № 5"), kAnswerNo);
  EXPECT_EQ(ui.AskNoYes("c", "Изменить длину таблицы № 5"), kAnswerYes);
  EXPECT_EQ(ui.Calls()[0].buttons, "Нет#Да");
}

TEST(MessageBoxes, ClosingTheWindowGivesEachBoxItsOwnAnswer) {
  ScriptedUiHost ui;
  for (int i = 0; i < 4; ++i) ui.CloseWindow();
  EXPECT_EQ(ui.AskYesNo("c", "q"), kAnswerYes);
  EXPECT_EQ(ui.AskNoYes("c", "q"), kAnswerNo);
  EXPECT_EQ(ui.AskYesNoCancel("c", "Cохранить изменения ?"), kAnswerCancel);
  EXPECT_EQ(ui.AskYesNoSafe("c", "Удалить ВТХ ?"), kAnswerNo)
      << "closing a question that guards a deletion must not delete";
}

TEST(MessageBoxes, YesNoCancelMapsAllThreeButtons) {
  ScriptedUiHost ui;
  ui.PressButton("Да");
  ui.PressButton("Нет");
  ui.PressButton("Отменить");
  EXPECT_EQ(ui.AskYesNoCancel("c", "q"), kAnswerYes);
  EXPECT_EQ(ui.AskYesNoCancel("c", "q"), kAnswerNo);
  EXPECT_EQ(ui.AskYesNoCancel("c", "q"), kAnswerCancel);
}

TEST(MessageBoxes, SafeQuestionStillAnswersYesWhenYesIsPressed) {
  ScriptedUiHost ui;
  ui.PressButton("Да");
  EXPECT_EQ(ui.AskYesNoSafe("c", "q"), kAnswerYes);
}

TEST(MessageBoxes, CustomButtonRowAnswersTenPlusTheButtonNumber) {
  ScriptedUiHost ui;
  ui.PressButton("Три");
  EXPECT_EQ(ui.ShowDialog("c", "q", "Один#Два#Три", IconKind::None), 13);
}

TEST(NumberInputs, InvalidTextBeepsAndAsksAgainWithTheTypedText) {
  ScriptedUiHost ui;
  ui.EnterText("12a");
  ui.EnterText("");
  ui.EnterText("12");
  int value = 5;
  EXPECT_TRUE(ui.InputInteger("Номер", "Узел", value));
  EXPECT_EQ(value, 12);
  EXPECT_EQ(ui.Beeps(), 2);
  EXPECT_EQ(ui.Calls().size(), 3u);
}

TEST(NumberInputs, CancelLeavesTheValueUnchanged) {
  ScriptedUiHost ui;
  ui.EnterText("abc");
  ui.CancelInput();
  double value = 0.4;
  EXPECT_FALSE(ui.InputReal("Напряжение", "Uном, кВ", value));
  EXPECT_DOUBLE_EQ(value, 0.4);
  EXPECT_EQ(ui.Beeps(), 1);
}

TEST(NumberInputs, RealInputAcceptsDecimalNotation) {
  ScriptedUiHost ui;
  ui.EnterText(" 0.69 ");
  double value = 0.4;
  EXPECT_TRUE(ui.InputReal("Напряжение", "Uном, кВ", value));
  EXPECT_DOUBLE_EQ(value, 0.69);
}

TEST(ScriptedHost, AnUnexpectedQuestionFailsTheTest) {
  // The harness itself: a question nobody scripted must not pass silently.
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUiHost ui;
        ui.AskYesNo("c", "Удалить?");
      },
      "unexpected dialog");
}

TEST(ScriptedHost, AnUnusedAnswerFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUiHost ui;
        ui.PressButton("Да");
      },
      "never asked for");
}

}  // namespace
}  // namespace kordavelt
