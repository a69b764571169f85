// The table window's behaviour without a widget: the edit letters, the
// commands of "&Правка", the selection, the form view and the sizing. A
// fault here reaches every table of the program at once: a lost edit, a
// deletion of the wrong rows, a paste that calls the owner with the wrong
// context.

#include "table/table_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "draw/picture_string.h"
#include "draw/svg_canvas.h"
#include "support/recording_owner.h"
#include "support/scripted_ui_host.h"
#include "table/table_painter.h"

namespace kordavelt {
namespace {

using testing::RecordingOwner;
using testing::ScriptedUiHost;

// A cable table of five rows: number, brand, length (a number), code (hex).
class TableWindowTest : public ::testing::Test {
 protected:
  TableWindowTest() {
    env.measure = &measure;
    env.font.height = 13;
    env.Remeasure();
    form.caption = "Кабели";
    form.head1 = "№#Марка#Длина-#Тип";
    form.head2 = "#кв.мм#м#";
    form.displayCodes = "CLCC";
    form.editCodes = "XTNH";
    owner.rows = {"1#ААБл 3х95#120#1a", "2#ВВГ 4х16#-#0", "3#АВВГ#35#FF", "4#АВВГ#40#1",
                  "5#АПвБбШв#55#2"};
    form.rowCount = static_cast<int>(owner.rows.size());
  }

  TableWindow& Window() {
    if (!window) window = std::make_unique<TableWindow>(owner, form, env);
    return *window;
  }

  // Types `text` into cell (row, col) and presses Enter.
  CommitResult Type(int row, int col, const std::string& text) {
    Window().MoveTo(GridCell{row, col});
    const EditorRequest editor = Window().BeginEdit(EditTrigger::F2);
    EXPECT_EQ(editor.kind, EditorRequest::Kind::Inline);
    return Window().EndEdit(EditEnd::Enter, text);
  }

  ScriptedUiHost ui;
  MemoryFileSystem files;
  SvgCanvas measure{100, 100};
  TableEnvironment env{ui, files};
  RecordingOwner owner;
  TableForm form;
  std::unique_ptr<TableWindow> window;
};

// --- Layout -------------------------------------------------------------------------

TEST_F(TableWindowTest, AHeaderStartingWithUnderscoreShowsNoHeaderRow) {
  form.head1 = "______#__________";
  form.head2.clear();
  TableWindow& w = Window();
  EXPECT_EQ(w.Layout().RowHeightOf(0), 0);
  // Columns as wide as the underscores (0.6 × 13 per character) and two margins.
  EXPECT_EQ(w.Layout().ColWidth(0), 47 + 8);
  EXPECT_EQ(w.Layout().ColWidth(1), 78 + 8);
}

TEST_F(TableWindowTest, TwoHeaderLinesMakeTheHeaderTwoTextLinesHigh) {
  EXPECT_EQ(Window().Layout().RowHeightOf(0), 26);
  form.head2.clear();
  Window().Sync();
  EXPECT_EQ(Window().Layout().RowHeightOf(0), 13);
}

TEST_F(TableWindowTest, TheOwnersNewRowCountAndAppendRowAreTakenOver) {
  TableWindow& w = Window();
  EXPECT_EQ(w.Layout().RowCount(), 6);
  form.appendable = true;
  owner.rows.push_back("6#АСБ#10#3");
  form.rowCount = 6;
  w.Sync();
  EXPECT_EQ(w.RowCount(), 6);
  EXPECT_EQ(w.Layout().RowCount(), 8);  // header, six rows, the append row
}

TEST_F(TableWindowTest, FitToContentWidensColumnsToTheirWidestCellWithinTheScreen) {
  TableWindow& w = Window();
  const std::optional<Size> size = w.FitToContent(0, 0, true, Size{1000, 1000});
  ASSERT_TRUE(size);
  // "ААБл 3х95" is 9 characters: 70 pixels and two margins.
  EXPECT_EQ(w.Layout().ColWidth(1), 70 + 8);
  EXPECT_EQ(size->width, w.Layout().TotalWidth());
  EXPECT_EQ(size->height, 26 + 1 + 5 * 16);
  const std::optional<Size> small = w.FitToContent(0, 0, true, Size{60, 40});
  ASSERT_TRUE(small);
  EXPECT_LE(small->width, 60);
  EXPECT_EQ(small->height, 40);
  env.starting = true;
  EXPECT_FALSE(w.FitToContent(0, 0, true, Size{1000, 1000}));
}

TEST_F(TableWindowTest, FitToContentKeepsRoomForTheTitle) {
  form.title = "Очень длинный заголовок таблицы кабелей";
  const std::optional<Size> size = Window().FitToContent(2, 0, false, Size{2000, 1000});
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, Window().TitleWidth() + 20);
}

// --- Edit letters ----------------------------------------------------------------------

TEST_F(TableWindowTest, TypingADashOverADashCommitsAnEmptyText) {
  ASSERT_TRUE(Type(2, 2, "-").committed);
  ASSERT_EQ(owner.edits.size(), 1u);
  EXPECT_EQ(owner.edits[0].text, "");
  EXPECT_EQ(owner.edits[0].row, 2);
}

TEST_F(TableWindowTest, HexadecimalCellsUpperCaseAndCountEveryPlace) {
  Type(1, 3, "1a");
  Type(1, 3, "1G");
  ASSERT_EQ(owner.edits.size(), 2u);
  EXPECT_EQ(owner.edits[0].integer, 26);
  EXPECT_EQ(owner.edits[1].integer, 16);
}

TEST_F(TableWindowTest, ANumberThatDoesNotParseIsDroppedSilently) {
  EXPECT_FALSE(Type(1, 2, "12..5").committed);
  EXPECT_TRUE(owner.edits.empty());
  EXPECT_EQ(ui.Beeps(), 0);
  EXPECT_TRUE(ui.Calls().empty());
}

TEST_F(TableWindowTest, AnActionCellActsAtOnceOnEnterWithNothingTyped) {
  TableWindow& w = Window();
  w.MoveTo(GridCell{3, 0});
  w.SetFrozenCols(0);
  w.MoveTo(GridCell{3, 0});
  const EditorRequest editor = w.BeginEdit(EditTrigger::Enter);
  EXPECT_EQ(editor.kind, EditorRequest::Kind::Committed);
  ASSERT_EQ(owner.edits.size(), 1u);
  EXPECT_EQ(owner.edits[0].row, 3);
  EXPECT_EQ(owner.edits[0].col, 0);
  EXPECT_EQ(owner.edits[0].text, "");
}

TEST_F(TableWindowTest, ACharacterTypedIntoATextCellOpensTheEditorWithIt) {
  Window().MoveTo(GridCell{2, 1});
  const EditorRequest editor = Window().BeginEdit(EditTrigger::Character, "А");
  EXPECT_EQ(editor.kind, EditorRequest::Kind::Inline);
  EXPECT_EQ(editor.text, "А");
  EXPECT_TRUE(Window().Editing());
  // Leaving the cell another way forgets the edit.
  Window().EndEdit(EditEnd::Elsewhere, "АБ");
  EXPECT_FALSE(Window().Editing());
  EXPECT_TRUE(owner.edits.empty());
}

TEST_F(TableWindowTest, AListCellOpensItsChoicesAndCommitsTheOneChosen) {
  form.editCodes = "XLNH";
  owner.columnLists = {"", "Медь#Алюминий"};
  Window().MoveTo(GridCell{1, 1});
  const EditorRequest editor = Window().BeginEdit(EditTrigger::Enter);
  ASSERT_EQ(editor.kind, EditorRequest::Kind::List);
  EXPECT_EQ(editor.choices, (std::vector<std::string>{"Медь", "Алюминий"}));
  Window().ChooseFromList(1);
  ASSERT_EQ(owner.edits.size(), 1u);
  EXPECT_EQ(owner.edits[0].text, "Алюминий");
  EXPECT_EQ(owner.edits[0].integer, 1);
}

TEST_F(TableWindowTest, AListWithoutChoicesSaysSoAndCommitsNothing) {
  form.editCodes = "XLNH";
  Window().MoveTo(GridCell{1, 1});
  const EditorRequest editor = Window().BeginEdit(EditTrigger::Space);
  ASSERT_EQ(editor.kind, EditorRequest::Kind::List);
  EXPECT_EQ(editor.choices, (std::vector<std::string>{"Нет", "данныx"}));
  Window().ChooseFromList(0);
  EXPECT_TRUE(owner.edits.empty());
}

TEST_F(TableWindowTest, ReadOnlyCellsNeverCommit) {
  form.editCodes = "XYZH";
  EXPECT_FALSE(Type(1, 1, "ВВГ").committed);
  EXPECT_FALSE(Type(1, 2, "7").committed);
  EXPECT_TRUE(owner.edits.empty());
}

TEST_F(TableWindowTest, NoEditStartsWhileRowsAreSelected) {
  Window().SelectAll();
  EXPECT_EQ(Window().BeginEdit(EditTrigger::F2).kind, EditorRequest::Kind::None);
}

TEST_F(TableWindowTest, ACommitWithoutOnEditChoosesTheRow) {
  owner.withEdit = false;
  Window().MoveTo(GridCell{4, 1});
  const CommitResult result = Window().BeginEdit(EditTrigger::Enter).commit;
  EXPECT_FALSE(result.committed);  // 'T' cell: Enter opens the editor first
  const CommitResult chosen = Window().EndEdit(EditEnd::Enter, "АВВГ");
  EXPECT_TRUE(chosen.rowChosen);
  EXPECT_EQ(Window().CurRow(), 4);
}

TEST_F(TableWindowTest, AnOwnerThatAsksToCloseTheWindowIsHeard) {
  owner.afterEdit = [](TableForm& f) { f.refresh = Refresh::CloseWindow; };
  EXPECT_TRUE(Type(2, 1, "ВВГнг").closeWindow);
}

TEST_F(TableWindowTest, ARowAppendedByTheOwnerStaysCurrent) {
  form.appendable = true;
  owner.afterEdit = [this](TableForm& f) {
    owner.rows.push_back("6#" + f.editText + "#0#0");
    f.rowCount = 6;
    f.curRow = 6;
  };
  Type(6, 1, "АСБ");
  EXPECT_EQ(Window().RowCount(), 6);
  EXPECT_EQ(Window().CurRow(), 6);
  EXPECT_EQ(Window().Line(6), "6#АСБ#0#0");
}

// --- Commands ---------------------------------------------------------------------------

TEST_F(TableWindowTest, DeletingSelectedRowsThreeToFiveCallsTheOwnerForEachInTurn) {
  TableWindow& w = Window();
  w.MousePress(GridCell{3, 0});  // the frozen column selects the row
  w.MouseDrag(5);
  EXPECT_TRUE(w.CanDelete());
  w.DeleteSelected();
  EXPECT_EQ(owner.deleted, (std::vector<int>{3, 4, 5}));
  EXPECT_EQ(w.SelFirst(), 0);
  EXPECT_FALSE(w.CanDelete());
  w.DeleteSelected();
  EXPECT_EQ(owner.deleted.size(), 3u);
}

// "Отменить удаление" stayed hidden in the data windows: their deletions are
// kept by the model's journal, not by their owners.
TEST_F(TableWindowTest, AJournalOutsideTheOwnerOffersAndUndoesTheDeletions) {
  TableWindow& w = Window();
  EXPECT_FALSE(w.HasUndoDelete()) << "the recording owner undoes nothing itself";
  bool kept = false;
  int undone = 0;
  w.SetUndoJournal({[&] { return kept; },
                    [&] {
                      ++undone;
                      kept = false;
                    }});
  EXPECT_TRUE(w.HasUndoDelete());
  EXPECT_FALSE(w.CanUndoDelete());
  w.UndoDelete();
  EXPECT_EQ(undone, 0) << "nothing kept, nothing undone";

  w.MousePress(GridCell{2, 0});
  w.DeleteSelected();
  kept = true;  // the journal took the deleted record
  EXPECT_TRUE(w.CanUndoDelete());
  w.UndoDelete();
  EXPECT_EQ(undone, 1);
  EXPECT_FALSE(w.CanUndoDelete());
}

TEST_F(TableWindowTest, APressOnADataCellMovesThereAndClearsTheSelection) {
  TableWindow& w = Window();
  w.MousePress(GridCell{2, 0});
  EXPECT_EQ(w.SelFirst(), 2);
  w.MousePress(GridCell{4, 2});
  EXPECT_EQ(w.SelFirst(), 0);
  EXPECT_EQ(w.CurRow(), 4);
  EXPECT_EQ(w.CurCol(), 2);
  w.SelectRow();
  EXPECT_EQ(w.SelFirst(), 4);
  w.SelectRow();
  EXPECT_EQ(w.SelFirst(), 0);
}

TEST_F(TableWindowTest, CopyFollowsTheSelection) {
  TableWindow& w = Window();
  w.MoveTo(GridCell{2, 1});
  EXPECT_EQ(w.Copy(), "ВВГ 4х16");
  w.SelectRow();
  EXPECT_EQ(w.Copy(), "2\tВВГ 4х16\t-\t0\tскрыто");
  w.MouseDrag(3);
  EXPECT_EQ(w.Copy(), "2\tВВГ 4х16\t-\t0\r\n3\tАВВГ\t35\tFF\r\n");
  w.SelectAll();
  const std::string all = w.Copy();
  EXPECT_EQ(all.substr(0, all.find("\r\n1\t")), "Кабели\r\n\r\n№\tМарка, кв.мм\tДлинам\tТип");
  EXPECT_EQ(ui.Clipboard(), all);
}

TEST_F(TableWindowTest, PastingOneValueCommitsItIntoTheCurrentCell) {
  Window().MoveTo(GridCell{3, 2});
  ui.SetClipboard("12\r\n");
  EXPECT_TRUE(Window().CanPaste());
  EXPECT_EQ(Window().Paste(), 1);
  ASSERT_EQ(owner.edits.size(), 1u);
  EXPECT_EQ(owner.edits[0].row, 3);
  EXPECT_EQ(owner.edits[0].real, 12);
}

TEST_F(TableWindowTest, PastingTwoLinesHandsThemToTheOwnerWithTheirContexts) {
  ui.SetClipboard("7\tАСБ\t10\r\n8\tСБ\t20\r\n");
  EXPECT_EQ(Window().Paste(), 2);
  ASSERT_EQ(owner.pasted.size(), 2u);
  EXPECT_EQ(owner.pasted[0], std::make_pair(std::string("7#АСБ#10"), LineContext::FirstRow));
  EXPECT_EQ(owner.pasted[1].second, LineContext::NextRow);
  owner.withPaste = false;
  EXPECT_FALSE(Window().CanPaste());
  EXPECT_EQ(Window().Paste(), 0);
}

// "Вставить" stayed disabled over a cell that takes typing, and was offered
// where the value could go nowhere.
TEST_F(TableWindowTest, PasteIsOfferedByTheClipboardAndTheCurrentCell) {
  owner.rowCodes = "XTNZ";  // the code column is computed
  TableWindow& w = Window();
  w.MoveTo(GridCell{2, 2});
  EXPECT_FALSE(w.CanPaste()) << "an empty clipboard";
  ui.SetClipboard("12\r\n");
  EXPECT_TRUE(w.CanPaste());
  w.MoveTo(GridCell{2, 3});
  EXPECT_FALSE(w.CanPaste()) << "a read-only cell takes no value";
  ui.SetClipboard("1\tА\r\n2\tБ\r\n");
  EXPECT_TRUE(w.CanPaste()) << "lines go to the owner, whatever the cell";
  owner.withPaste = false;
  EXPECT_FALSE(w.CanPaste());

  // A single value is typed into the cell also where the owner takes no lines.
  ui.SetClipboard("70");
  w.MoveTo(GridCell{4, 2});
  EXPECT_TRUE(w.CanPaste());
  EXPECT_EQ(w.Paste(), 1);
  ASSERT_EQ(owner.edits.size(), 1u);
  EXPECT_EQ(owner.edits[0].row, 4);
  EXPECT_EQ(owner.edits[0].integer, 70);
  owner.withEdit = false;  // a choice dialog: a commit would choose the row
  EXPECT_FALSE(w.CanPaste());
  EXPECT_EQ(w.Paste(), 0);
}

TEST_F(TableWindowTest, MovingTheCurrentCellAnnouncesTheCommandsAgain) {
  int announced = 0;
  TableWindow& w = Window();
  w.OnCommandsChanged = [&] { ++announced; };
  w.MoveTo(GridCell{3, 2});
  EXPECT_EQ(announced, 1);
  w.MoveTo(GridCell{3, 2});
  EXPECT_EQ(announced, 1) << "no move, nothing to announce";
}

TEST_F(TableWindowTest, FindAsksForTheTextAndStopsOnTheFirstRowHoldingIt) {
  TableWindow& w = Window();
  w.MoveTo(GridCell{1, 1});
  ui.EnterText("АВВГ");
  w.Find();
  EXPECT_EQ(w.CurRow(), 3);
  EXPECT_EQ(ui.Calls().back().text, "Найти Марка");
  w.FindNext();
  EXPECT_EQ(w.CurRow(), 4);
  w.FindNext();
  EXPECT_EQ(w.CurRow(), 4);
  EXPECT_EQ(ui.Messages().back(), "Кабели: Не найдено АВВГ");
}

TEST_F(TableWindowTest, FreezingKeepsOneColumnFreeAndUnfreezingStopsAtNone) {
  TableWindow& w = Window();
  EXPECT_EQ(w.FrozenCols(), 1);
  w.Freeze();
  w.Freeze();
  EXPECT_EQ(w.FrozenCols(), 3);
  EXPECT_FALSE(w.CanFreeze());
  w.Freeze();
  EXPECT_EQ(w.FrozenCols(), 3);
  EXPECT_EQ(w.CurCol(), 3);  // never left of the frozen columns
  for (int i = 0; i < 5; ++i) w.Unfreeze();
  EXPECT_EQ(w.FrozenCols(), 0);
}

// --- Form view ----------------------------------------------------------------------------

TEST_F(TableWindowTest, ThreeColumnsHaveNoFormView) {
  form.head1 = "№#Марка#Длина";
  TableWindow& w = Window();
  EXPECT_FALSE(w.CanFormView());
  w.ToggleFormView();
  EXPECT_FALSE(w.FormView());
}

TEST_F(TableWindowTest, TheFormViewShowsOneRecordAndComesBackToTheSameCell) {
  TableWindow& w = Window();
  w.MoveTo(GridCell{4, 2});
  w.ToggleFormView();
  ASSERT_TRUE(w.FormView());
  EXPECT_EQ(w.Layout().ColCount(), 2);
  EXPECT_EQ(w.Layout().RowCount(), 4);
  EXPECT_EQ(w.CurRow(), 4);
  EXPECT_EQ(w.CurCol(), 2);
  EXPECT_EQ(w.Content(GridCell{1, 0}).text, "Марка, кв.мм");
  EXPECT_EQ(w.Content(GridCell{2, 1}).text, "40");
  // Edits go to the record's cell.
  EXPECT_TRUE(Type(3, 1, "7").committed);
  EXPECT_EQ(owner.edits.back().row, 4);
  EXPECT_EQ(owner.edits.back().col, 3);
  w.ToggleFormView();
  EXPECT_FALSE(w.FormView());
  EXPECT_EQ(w.Layout().ColCount(), 4);
  EXPECT_EQ(w.CurRow(), 4);
  EXPECT_EQ(w.CurCol(), 3);
}

// --- What the other windows learn ----------------------------------------------------------

// Open tables showed stale values until "Обновить": every change an owner
// takes is announced, and only those.
TEST_F(TableWindowTest, EditsDeletionsAndPastesThatReachTheOwnerAreAnnounced) {
  int announced = 0;
  env.onTableChanged = [&] { ++announced; };
  TableWindow& w = Window();
  Type(2, 2, "70");
  EXPECT_EQ(announced, 1);
  Type(2, 2, "семь");  // no number: dropped
  EXPECT_EQ(announced, 1);

  w.MousePress(GridCell{3, 0});
  w.DeleteSelected();
  EXPECT_EQ(announced, 2);

  ui.SetClipboard("6\tАСБ\t10\t3\r\n7\tАСБ\t20\t4\r\n");
  EXPECT_EQ(w.Paste(), 2);
  EXPECT_EQ(announced, 3);

  // A choice dialog's row chosen changes nothing.
  owner.withEdit = false;
  Type(1, 2, "80");
  EXPECT_EQ(announced, 3);
}

// --- Painting -------------------------------------------------------------------------------

TEST_F(TableWindowTest, CheckBoxColumnsShowTheCheckedPictureForAnythingButZeros) {
  form.head1 = "№#Есть";
  form.head2.clear();
  form.displayCodes = "CD";
  owner.rows = {"1#1", "2#Да", "3#", "4#000"};
  form.rowCount = 4;
  SvgCanvas canvas(200, 200);
  PaintTable(Window(), canvas, Size{200, 200});
  int checkMarks = 0;
  int boxes = 0;
  for (const std::string& element : canvas.Elements()) {
    if (element.starts_with("<polyline")) ++checkMarks;
    if (element.starts_with("<rect") && element.find("fill=\"none\"") != std::string::npos) ++boxes;
  }
  EXPECT_EQ(boxes, 4);
  EXPECT_EQ(checkMarks, 2);
}

// A light room colour used as the text colour made its rows unreadable: a
// row may tint its background and keep its colour for its swatch alone.
TEST_F(TableWindowTest, ARowsOwnColourTintsItsCellsAndPaintsItsSwatchButNotItsText) {
  constexpr Color kYellow{255, 255, 0};
  constexpr Color kPale{255, 255, 191};
  owner.rows[1] = std::string("2#ВВГ 4х16#-#") + std::string(kColourSwatch);
  owner.colours = [&](TableForm& f) {
    if (f.lineNo != 2) return;
    f.pictureColor = kYellow;
    f.pictureColorSet = true;
    f.lineBackground = kPale;
    f.lineBackgroundSet = true;
  };
  TableWindow& w = Window();
  w.MoveTo(GridCell{4, 1});
  const CellContent text = w.Content(GridCell{2, 1});
  EXPECT_EQ(text.colour, env.rowColour);
  EXPECT_TRUE(text.tinted);
  EXPECT_FALSE(w.Content(GridCell{3, 1}).tinted) << "the next row has no tint of its own";

  SvgCanvas canvas(300, 200);
  PaintTable(w, canvas, Size{300, 200});
  int tintedCells = 0;
  int yellowSwatchParts = 0;
  for (const std::string& element : canvas.Elements()) {
    if (element.find("fill=\"" + SvgColor(kPale) + "\"") != std::string::npos) ++tintedCells;
    if (element.find(SvgColor(kYellow)) != std::string::npos) ++yellowSwatchParts;
    if (element.starts_with("<text") && element.find("ВВГ") != std::string::npos) {
      EXPECT_EQ(element.find(SvgColor(kYellow)), std::string::npos) << element;
    }
  }
  EXPECT_EQ(tintedCells, 3) << "the data cells of row 2; its number keeps the fixed face";
  EXPECT_GT(yellowSwatchParts, 0);
}

TEST_F(TableWindowTest, TheCurrentCellAndSelectedRowsArePaintedHighlighted) {
  TableWindow& w = Window();
  w.MoveTo(GridCell{2, 1});
  EXPECT_TRUE(w.Content(GridCell{2, 1}).highlighted);
  EXPECT_FALSE(w.Content(GridCell{2, 2}).highlighted);
  w.MousePress(GridCell{4, 0});
  EXPECT_TRUE(w.Content(GridCell{4, 3}).highlighted);
  SvgCanvas canvas(300, 200);
  PaintTable(w, canvas, Size{300, 200});
  const std::string highlight = "fill=\"" + SvgColor(env.colours.highlight) + "\"";
  int highlighted = 0;
  for (const std::string& element : canvas.Elements()) {
    if (element.find(highlight) != std::string::npos) ++highlighted;
  }
  EXPECT_EQ(highlighted, 1 + 4);  // the current cell and the four cells of row 4
}

}  // namespace
}  // namespace kordavelt
