// The driver is how tests and the command line act on a table as a user
// would; its commit, copy and paste must give owners exactly what the window
// gives them, or an owner tested through it misbehaves on screen.

#include "table/table_driver.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/dial_list.h"
#include "support/recording_owner.h"
#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

using testing::RecordingOwner;
using testing::ScriptedUiHost;

class TableDriverTest : public ::testing::Test {
 protected:
  TableDriverTest() {
    form.caption = "Кабели";
    form.head1 = "№#Марка#Длина-#Тип";
    form.head2 = "#кв.мм#м#";
    form.editCodes = "XTNH";
    owner.rows = {"1#ААБл 3х95#120#1a", "2#ВВГ 4х16#-#0", "3#@s0r22DDe#35#FF", "4#АВВГ#40#1",
                  "5#АПвБбШв#55#2"};
    form.rowCount = static_cast<int>(owner.rows.size());
  }

  RecordingOwner owner;
  TableForm form;
  ScriptedUiHost ui;
  TableDriver driver{owner, form, ui};
};

TEST_F(TableDriverTest, ReadsRowsAndTrimmedCells) {
  owner.rows[0] = "1# ААБл 3х95 #120";
  EXPECT_EQ(driver.RowCount(), 5);
  EXPECT_EQ(driver.ColCount(), 4);
  EXPECT_EQ(driver.Cell(1, 1), "ААБл 3х95");
  EXPECT_EQ(driver.Cell(1, 3), "") << "a missing item is an empty cell";
  EXPECT_EQ(form.lineNo, 1);
}

TEST_F(TableDriverTest, NumberCellKeepsOnlyNumberCharacters) {
  EXPECT_TRUE(driver.CommitEdit(2, 2, " 12a "));
  EXPECT_TRUE(driver.CommitEdit(2, 2, "1.5e2"));
  EXPECT_TRUE(driver.CommitEdit(2, 2, "-7.9 м"));
  ASSERT_EQ(owner.edits.size(), 3u);
  EXPECT_EQ(owner.edits[0].integer, 12);
  EXPECT_DOUBLE_EQ(owner.edits[1].real, 150);
  EXPECT_EQ(owner.edits[1].integer, 150);
  EXPECT_DOUBLE_EQ(owner.edits[2].real, -7.9);
  EXPECT_EQ(owner.edits[2].integer, -7);
  EXPECT_EQ(owner.edits[0].row, 2);
  EXPECT_EQ(owner.edits[0].col, 2);
  EXPECT_EQ(form.refresh, Refresh::CurrentRow);
}

TEST_F(TableDriverTest, InvalidNumberBeepsAndIsDropped) {
  EXPECT_FALSE(driver.CommitEdit(1, 2, "abc"));
  EXPECT_FALSE(driver.CommitEdit(1, 2, "1-2"));
  EXPECT_TRUE(owner.edits.empty());
  EXPECT_EQ(ui.Beeps(), 2);
}

TEST_F(TableDriverTest, DashOverDashCommitsAnEmptyText) {
  form.editCodes = "XTTH";
  ASSERT_TRUE(driver.CommitEdit(2, 2, "-"));
  EXPECT_EQ(owner.edits.back().text, "");
  ASSERT_TRUE(driver.CommitEdit(1, 2, "-"));
  EXPECT_EQ(owner.edits.back().text, "-") << "the cell did not show a dash";
}

TEST_F(TableDriverTest, HexCellCountsEveryCharacterAsAPlace) {
  ASSERT_TRUE(driver.CommitEdit(1, 3, "1a"));
  EXPECT_EQ(owner.edits.back().integer, 26);
  EXPECT_EQ(owner.edits.back().text, "1A");
  ASSERT_TRUE(driver.CommitEdit(1, 3, "1G"));
  EXPECT_EQ(owner.edits.back().integer, 16);
  ASSERT_TRUE(driver.CommitEdit(1, 3, "1Ж"));
  EXPECT_EQ(owner.edits.back().integer, 16) << "a Cyrillic letter is one place, not two bytes";
  ASSERT_TRUE(driver.CommitEdit(1, 3, "FFFFFFFF"));
  EXPECT_EQ(owner.edits.back().integer, -1);
  EXPECT_DOUBLE_EQ(owner.edits.back().real, 4294967295.0);
}

TEST_F(TableDriverTest, ListCellTakesOnlyAnExactChoice) {
  form.editCodes = "XLTT";
  form.listItems = "Медь#Алюминий#0.4";
  owner.rows[0] = "1#Алюминий";
  ASSERT_TRUE(driver.CommitEdit(1, 1, "Медь"));
  EXPECT_EQ(owner.edits.back().integer, 0);
  EXPECT_EQ(owner.edits.back().text, "Медь");
  ASSERT_TRUE(driver.CommitEdit(1, 1, "0.4"));
  EXPECT_EQ(owner.edits.back().integer, 2);
  EXPECT_DOUBLE_EQ(owner.edits.back().real, 0.4);
  ASSERT_TRUE(driver.CommitEdit(1, 1, "")) << "Enter on the cell keeps its choice";
  EXPECT_EQ(owner.edits.back().integer, 1);
  EXPECT_FALSE(driver.CommitEdit(1, 1, "медь"));
  EXPECT_EQ(owner.edits.size(), 3u);
  EXPECT_EQ(ui.Beeps(), 0);
}

TEST_F(TableDriverTest, ListCellOffersTheChoicesOfTheEditedColumn) {
  // Two list columns with different choices: the owner gives the list of the
  // current column, so the edited cell must be current while its row is read.
  form.editCodes = "XLLT";
  owner.columnLists = {"", "Медь#Алюминий", "ПВХ#Резина#Полиэтилен"};
  owner.rows[0] = "1#Медь#ПВХ#x";
  form.curCol = 1;
  ASSERT_TRUE(driver.CommitEdit(1, 2, "Резина"));
  EXPECT_EQ(owner.edits.back().col, 2);
  EXPECT_EQ(owner.edits.back().integer, 1);
  ASSERT_TRUE(driver.CommitEdit(1, 1, "Алюминий"));
  EXPECT_EQ(owner.edits.back().integer, 1);
}

TEST_F(TableDriverTest, ActionTextAndReadOnlyCells) {
  form.editCodes = "XXTZY";
  form.head1 += "#Прим";
  ASSERT_TRUE(driver.CommitEdit(1, 1, "")) << "'X' commits at once, also without text";
  ASSERT_TRUE(driver.CommitEdit(1, 2, "  новое значение "));
  EXPECT_EQ(owner.edits.back().text, "новое значение");
  EXPECT_FALSE(driver.CommitEdit(1, 3, "5"));
  EXPECT_FALSE(driver.CommitEdit(1, 4, "5"));
  EXPECT_EQ(owner.edits.size(), 2u);
  EXPECT_FALSE(driver.CommitEdit(1, 5, "x")) << "beyond the last column";
  EXPECT_FALSE(driver.CommitEdit(7, 1, "x")) << "beyond the last row";
}

// A computed cell that swallowed a typed value without a word left the
// engineer guessing; passing through the cell is no reason to say anything.
TEST_F(TableDriverTest, AnotherValueTypedIntoAReadOnlyCellReachesTheOwner) {
  form.editCodes = "XTZY";
  EXPECT_FALSE(driver.CommitEdit(1, 2, "120"));
  EXPECT_FALSE(driver.CommitEdit(1, 3, " 1a "));
  EXPECT_FALSE(driver.CommitEdit(1, 2, ""));
  EXPECT_TRUE(owner.readOnlyEdits.empty()) << "the shown value, or nothing, is no edit";

  EXPECT_FALSE(driver.CommitEdit(1, 2, "150"));
  EXPECT_FALSE(driver.CommitEdit(2, 3, "7"));
  EXPECT_EQ(owner.readOnlyEdits, (std::vector<std::string>{"150", "7"}));
  EXPECT_TRUE(owner.edits.empty());
  EXPECT_EQ(form.curCol, 3) << "the owner is told which cell";
  EXPECT_EQ(ui.Beeps(), 0);
}

TEST_F(TableDriverTest, ColumnBeyondTheLettersIsFreeText) {
  form.editCodes = "X";
  ASSERT_TRUE(driver.CommitEdit(1, 2, "abc"));
  EXPECT_EQ(owner.edits.back().text, "abc");
}

TEST_F(TableDriverTest, LetterSetByTheRowDecides) {
  form.editCodes = "XTTT";
  owner.rowCodes = "XNNN";  // the owner's OnLine switches the column to numbers
  EXPECT_FALSE(driver.CommitEdit(1, 1, "abc"));
  ASSERT_TRUE(driver.CommitEdit(1, 1, "4"));
  EXPECT_EQ(owner.edits.back().integer, 4);
}

TEST_F(TableDriverTest, AppendRowOnlyInAnAppendableTable) {
  form.editCodes = "XTTT";
  EXPECT_FALSE(driver.CommitEdit(6, 1, "новый"));
  form.appendable = true;
  ASSERT_TRUE(driver.CommitEdit(6, 1, "новый"));
  EXPECT_EQ(owner.edits.back().row, 6);
  EXPECT_FALSE(driver.CommitEdit(7, 1, "новый"));
}

TEST_F(TableDriverTest, OwnerWithoutEditChoosesTheRow) {
  owner.withEdit = false;
  EXPECT_FALSE(driver.RowChosen());
  ASSERT_TRUE(driver.CommitEdit(4, 1, ""));
  EXPECT_TRUE(driver.RowChosen());
  EXPECT_EQ(form.curRow, 4);
  EXPECT_TRUE(owner.edits.empty());
}

TEST_F(TableDriverTest, DeleteCallsOwnerForEachRowInTurn) {
  driver.Delete(3, 5);
  EXPECT_EQ(owner.deleted, (std::vector<int>{3, 4, 5}));
  driver.Delete(9);
  EXPECT_EQ(owner.deleted.size(), 3u);
}

TEST_F(TableDriverTest, CopyOfOneRowHasAllItemsOfTheLine) {
  const std::string text = driver.CopyRows(2, 2);
  EXPECT_EQ(text, "2\tВВГ 4х16\t-\t0\tскрыто");
  EXPECT_EQ(ui.Clipboard(), text);
  EXPECT_EQ(owner.lineContexts.back(), LineContext::SingleRow);
}

TEST_F(TableDriverTest, CopyOfSeveralRowsHasShownColumnsAndPictureMarks) {
  owner.rows[1] += "#лишнее";
  owner.rows[2] = "3#@s2r22GDxxr02DDe#35#FF";  // a colour swatch
  const std::string text = driver.CopyRows(2, 3);
  EXPECT_EQ(text, "2\tВВГ 4х16\t-\t0\r\n3\t@\t35\tFF\r\n");
  ASSERT_EQ(owner.lineContexts.size(), 2u);
  EXPECT_EQ(owner.lineContexts[0], LineContext::FirstRow);
  EXPECT_EQ(owner.lineContexts[1], LineContext::NextRow);
}

// A check box was copied as "@" or as its drawing, which no paste reads
// back: it copies as the value it stands for.
TEST_F(TableDriverTest, CheckBoxesCopyAsTheirValues) {
  EXPECT_EQ(driver.CopyRows(3, 3), "3\tНет\t35\tFF\tскрыто");
  owner.rows[2] = "3#@s0r22DDp6B35447BC2e#35#FF";
  EXPECT_EQ(driver.CopyRows(2, 3), "2\tВВГ 4х16\t-\t0\r\n3\tДа\t35\tFF\r\n");
  form.curRow = 3;
  form.curCol = 1;
  EXPECT_EQ(driver.CopyCell(), "Да");
}

TEST_F(TableDriverTest, CopyOfTheWholeTableStartsWithTitleAndLabels) {
  owner.rows.resize(1);
  form.rowCount = 1;
  form.title = " Журнал #кабелей";
  EXPECT_EQ(driver.CopyAll(),
            "Журнал\rкабелей\r\n\r\n№\tМарка, кв.мм\tДлинам\tТип\r\n"
            "1\tААБл 3х95\t120\t1a\r\n");
  form.title.clear();
  EXPECT_TRUE(driver.CopyAll().starts_with("Кабели\r\n\r\n"));
}

TEST_F(TableDriverTest, PasteOfOneValueCommitsIntoTheCurrentCell) {
  form.curRow = 2;
  form.curCol = 2;
  EXPECT_EQ(driver.PasteText("12"), 1);
  EXPECT_EQ(driver.PasteText("12\r\n"), 1);
  ASSERT_EQ(owner.edits.size(), 2u);
  EXPECT_EQ(owner.edits[1].integer, 12);
  EXPECT_EQ(owner.edits[1].row, 2);
  EXPECT_TRUE(owner.pasted.empty());
}

TEST_F(TableDriverTest, PasteOfLinesGoesToTheOwnerLineByLine) {
  EXPECT_EQ(driver.PasteText("1\tА\r\n2\tБ\r\n"), 2);
  ASSERT_EQ(owner.pasted.size(), 2u);
  EXPECT_EQ(owner.pasted[0].first, "1#А");
  EXPECT_EQ(owner.pasted[0].second, LineContext::FirstRow);
  EXPECT_EQ(owner.pasted[1].first, "2#Б");
  EXPECT_EQ(owner.pasted[1].second, LineContext::NextRow);
  EXPECT_EQ(form.editText, "1\tА\r\n2\tБ\r\n") << "the raw clipboard text";

  EXPECT_EQ(driver.PasteText("a\tb"), 1) << "a TAB makes a line even without a line end";
  EXPECT_EQ(driver.PasteText("x\ny"), 2) << "bare line feeds from other programs split too";
}

// Lines need OnPasteLine; one value is typed into the cell and needs OnEdit.
TEST_F(TableDriverTest, NoLinesWithoutPasteLineAndNoValueWithoutEdit) {
  owner.withPaste = false;
  form.curCol = 2;
  EXPECT_EQ(driver.PasteText("1\t2\r\n"), 0);
  EXPECT_TRUE(owner.pasted.empty());
  EXPECT_EQ(driver.PasteText("12"), 1);
  ASSERT_EQ(owner.edits.size(), 1u);
  owner.withEdit = false;
  EXPECT_EQ(driver.PasteText("13"), 0);
  EXPECT_FALSE(driver.RowChosen()) << "a pasted value never chooses a row";
}

TEST(HeaderLabel, JoinsNameAndUnitByTheUnitsShape) {
  EXPECT_EQ(HeaderLabel("Uн", "кВ"), "Uн, кВ");
  EXPECT_EQ(HeaderLabel(" Длина- ", "м"), "Длинам");
  EXPECT_EQ(HeaderLabel("Ток", "Ампер"), "Ток Ампер");
  EXPECT_EQ(HeaderLabel("Q", "квар"), "Q, квар");
  EXPECT_EQ(HeaderLabel("S", "кВ*А"), "S, кВ*А");
  EXPECT_EQ(HeaderLabel("Сеч", "кв.мм"), "Сеч, кв.мм");
  EXPECT_EQ(HeaderLabel("", "Фазы"), "  Фазы");
  EXPECT_EQ(HeaderLabel("Марка", ""), "Марка");
}

}  // namespace
}  // namespace kordavelt
