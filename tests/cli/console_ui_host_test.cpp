#include "cli/console_ui_host.h"

#include <gtest/gtest.h>

#include <sstream>

namespace kordavelt {
namespace {

// Catches messages printed with their '#' separators, or without the caption
// that names the file they are about.
TEST(ConsoleUiHost, MessagesGoToTheErrorStreamLineByLine) {
  std::ostringstream err;
  ConsoleUiHost host(err);
  host.ShowError("net.LVN", "Проблемы файла БД!#Попытка восстановления.");
  host.ShowInfo("", "Без заголовка");
  EXPECT_EQ(err.str(), "net.LVN: Проблемы файла БД!\nПопытка восстановления.\nБез заголовка\n");
}

// Catches a console that answers Yes to a question guarding a loss of data:
// each box gets the answer it gives when closed without a button.
TEST(ConsoleUiHost, QuestionsGetTheClosingAnswerOfTheirBox) {
  std::ostringstream err;
  ConsoleUiHost host(err);
  EXPECT_EQ(host.ShowDialog("c", "t", "A#B", IconKind::Question), kAnswerCancel);
  EXPECT_EQ(host.AskYesNo("c", "t"), kAnswerYes);
  EXPECT_EQ(host.AskNoYes("c", "Изменить длину таблицы № 5"), kAnswerNo);
  EXPECT_EQ(host.AskYesNoCancel("c", "Cохранить изменения ?"), kAnswerCancel);
  EXPECT_EQ(host.AskYesNoSafe("c", "t"), kAnswerNo);
}

// Catches an input or a choice that invents an answer nobody gave.
TEST(ConsoleUiHost, InputsChoicesAndFileDialogsAreCancelled) {
  std::ostringstream err;
  ConsoleUiHost host(err);
  std::string text = "старый";
  EXPECT_FALSE(host.InputText("c", "p", text, 10));
  EXPECT_EQ(text, "старый");
  int number = 42;
  EXPECT_FALSE(host.InputInteger("c", "p", number));
  EXPECT_EQ(number, 42);
  EXPECT_EQ(host.ChooseFromList("c", "a#b#c", 2), 2);
  Color colour{};
  EXPECT_FALSE(host.ChooseColour(colour));
  EXPECT_EQ(host.ChooseSymbol("c", 5, {}), 0);
  EXPECT_EQ(host.AskOpenFileName({}), std::nullopt);
  EXPECT_EQ(host.AskSaveFileName({}), std::nullopt);
  EXPECT_FALSE(host.OpenProgress("c", "t")->Cancelled());
  host.SetClipboardText("буфер");
  EXPECT_EQ(host.ClipboardText(), "буфер");
  EXPECT_EQ(err.str(), "");
}

}  // namespace
}  // namespace kordavelt
