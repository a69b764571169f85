// "Состав параметров": its rows, the bits its clicks invert, the table
// column that rows 1 … 4 do not have, and what happens however it closes.

#include "results/parameter_choice.h"

#include <gtest/gtest.h>

#include "draw/picture_string.h"
#include "model/model_builder.h"
#include "results/label_groups.h"
#include "table/table_driver.h"

namespace kordavelt::testing {
namespace {

class ParameterChoice : public ::testing::Test {
 protected:
  std::int32_t Scheme() { return m->Settings().SchemeParameterGroups(); }
  std::int32_t Table() { return m->Settings().TableParameterGroups(); }
  // The scheme set as the model file holds it.
  std::int32_t SchemeOnDisk() {
    ModelSettings written;
    written.Read(m.model);
    return written.SchemeParameterGroups();
  }

  ModelBuilder m;
  ParameterChoiceOwner choice{m.model};
};

TEST_F(ParameterChoice, RowsShowCaptionsAndBothSetsWithTableBoxesFromRowFive) {
  m->Settings().SetTableParameterGroups(1 << 5);
  TableDriver driver(choice, choice.Form(), m.ui);
  EXPECT_EQ(driver.RowCount(), kLabelGroupCount);
  EXPECT_EQ(driver.Line(2), "Обозначения (маркировки)#" + std::string(kCheckedBox) + "#");
  EXPECT_EQ(driver.Line(6),
            "Координаты размещения#" + std::string(kUncheckedBox) + "#" + std::string(kCheckedBox));
  EXPECT_EQ(driver.Cell(15, 0), "Максимальные токи КЗ (I\")");
}

TEST_F(ParameterChoice, EachClickInvertsOneBitOfItsColumnsSet) {
  TableDriver driver(choice, choice.Form(), m.ui);
  EXPECT_TRUE(driver.CommitEdit(1, 1, ""));
  EXPECT_EQ(Scheme(), 714 | 1);
  EXPECT_TRUE(driver.CommitEdit(32, 2, ""));
  EXPECT_TRUE(driver.CommitEdit(32, 2, ""));
  EXPECT_TRUE(driver.CommitEdit(6, 2, ""));
  EXPECT_EQ(Table(), 1 << 5);
  // Rows 1 … 4 have no table column.
  EXPECT_FALSE(driver.CommitEdit(3, 2, ""));
  EXPECT_EQ(Table(), 1 << 5);
}

// Would catch a change lost because the dialog was left with Esc.
TEST_F(ParameterChoice, LeavingWithEscKeepsTheChangeWritesTheSettingsAndBringsTheViewsAlong) {
  int rebuilt = 0;
  bool buttonEnabled = true;
  choice.OnObjectsRebuild = [&] { ++rebuilt; };
  choice.OnChoiceButton = [&](bool enabled) { buttonEnabled = enabled; };
  m.ui.AnswerTable([this](TableOwner& owner, TableForm& form) {
    TableDriver(owner, form, m.ui).CommitEdit(13, 1, "");
    return false;
  });
  choice.Show("Главная");
  EXPECT_EQ(m.ui.Calls().back().caption, "Главная");
  EXPECT_EQ(m.ui.Calls().back().buttons, "##Применить#");
  EXPECT_EQ(SchemeOnDisk(), 714 | (1 << 12));
  EXPECT_EQ(rebuilt, 1);
  EXPECT_FALSE(buttonEnabled);
}

}  // namespace
}  // namespace kordavelt::testing
