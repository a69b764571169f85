// The table "Настройка вида схемы", driven as the user does. Guards against
// a row that edits another setting, a line width beyond 0 … 5, a list row
// that stores the wrong choice, and a change that does not reach the window.

#include "scheme/view_settings_owner.h"

#include <gtest/gtest.h>

#include "draw/picture_string.h"
#include "support/scripted_ui_host.h"
#include "table/table_driver.h"

namespace kordavelt {
namespace {

class ViewSettingsOwnerTest : public ::testing::Test {
 protected:
  ViewSettingsOwnerTest() {
    owner.OnChanged = [this](int row) { changed.push_back(row); };
  }

  testing::ScriptedUiHost ui;
  SchemeViewChoices choices;
  ViewSettingsOwner owner{choices, ui};
  TableDriver table{owner, owner.Form(), ui};
  std::vector<int> changed;
};

TEST_F(ViewSettingsOwnerTest, TheTableShowsEverySettingInItsRow) {
  ui.AnswerTable([](TableOwner&, TableForm& form) {
    EXPECT_EQ(form.caption, "Настройка вида схемы");
    EXPECT_EQ(form.head1, "_____________________#____");
    EXPECT_EQ(form.rowCount, 16);
    return false;
  });
  owner.Show();
  EXPECT_EQ(table.Line(1), "Размер шрифта#100%");
  EXPECT_EQ(table.Line(3), "Цветной текст#" + std::string(kCheckedBox));
  EXPECT_EQ(table.Line(4), "Масштаб#100%");
  EXPECT_EQ(table.Line(6), "Внешний масштаб, мм на шаг#0");
  EXPECT_EQ(table.Line(7), "Размер шрифта штампа#Нет штампа");
  EXPECT_EQ(table.Line(16), "Редактирование схемы#" + std::string(kUncheckedBox));
}

TEST_F(ViewSettingsOwnerTest, ListAndNumberRowsStoreTheirValues) {
  EXPECT_TRUE(table.CommitEdit(1, 1, "150%"));
  EXPECT_EQ(choices.settings.fontFactor, 4);
  EXPECT_TRUE(table.CommitEdit(4, 1, "По ширине"));
  EXPECT_EQ(choices.scale, 5);
  EXPECT_TRUE(table.CommitEdit(7, 1, "300%"));
  EXPECT_EQ(choices.stampSize, 3);
  EXPECT_TRUE(table.CommitEdit(6, 1, "2.5"));
  EXPECT_EQ(choices.settings.externalScale, 2.5f);
  EXPECT_TRUE(table.CommitEdit(2, 1, "9"));
  EXPECT_EQ(choices.settings.lineWidth, 5);
  EXPECT_TRUE(table.CommitEdit(2, 1, "-3"));
  EXPECT_EQ(choices.settings.lineWidth, 0);
  EXPECT_EQ(changed, (std::vector<int>{1, 4, 7, 6, 2, 2}));
}

TEST_F(ViewSettingsOwnerTest, EachCheckRowTogglesItsOwnSetting) {
  for (int row : {3, 5, 8, 9, 10, 11, 12, 13, 14, 15}) {
    const ViewSettings before = choices.settings;
    table.CommitEdit(row, 1, "");
    EXPECT_NE(choices.settings, before) << row;
    table.CommitEdit(row, 1, "");
    EXPECT_EQ(choices.settings, before) << row;
  }
  table.CommitEdit(16, 1, "");
  EXPECT_TRUE(choices.editMode);
}

}  // namespace
}  // namespace kordavelt
