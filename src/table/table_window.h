#pragma once

// TableWindow: what the table window does, without a widget. Every table of
// the program — object and data tables, the reference book, results,
// settings and choice dialogs — is shown by one such window over its owner
// (the line protocol of table_owner.h). The window asks the owner for one
// row at a time, keeps only the last row asked for, and gives every table
// the same commands: delete, undo delete, new row, copy, paste, copy to
// file, select row, select all, find, find next, freeze, unfreeze and the
// one-record form view. Committed edits go back to the owner converted by
// the column's edit letter.
//
// The Qt form (table/qt) shows the grid this class lays out and paints
// (table_painter.h), opens the editors it asks for, and forwards keys and
// mouse presses; tests drive the same class directly.
//
// Rows and columns: data rows count from 1 (grid row r in table view, below
// the header row 0); columns from 0 (column 0 is the row's number in most
// tables and frozen at the start). In form view the grid shows one record:
// a row per table column, the column's label on the left, its value on the
// right; CurRow() is then the record and CurCol() the table column.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "table/grid_layout.h"
#include "table/table_environment.h"
#include "ui/table_owner.h"

namespace kordavelt {

// What a key or mouse gesture that may start an edit was.
enum class EditTrigger {
  Enter,
  Space,
  Character,  // a typed character (given as text)
  F2,
  DoubleClick,
  OtherKey,  // another key without a character
};

// The keys that end an inline edit.
enum class EditEnd {
  Tab,
  Enter,
  PageUp,
  PageDown,
  Up,
  Down,
  MousePress,   // a left mouse press in the grid
  Deactivated,  // the window lost activation
  Escape,       // forgets the edit
  Elsewhere,    // any other way of leaving the cell: no commit
};

// What a commit asks of the window.
struct CommitResult {
  bool committed = false;    // the owner took the edit (or a row was chosen)
  bool rowChosen = false;    // a dialog without OnEdit: the row was chosen
  bool closeWindow = false;  // the owner asked to close the window
};

// What the window must open when an edit starts.
struct EditorRequest {
  enum class Kind {
    None,       // refused (rows are selected, no owner, no cell)
    Inline,     // a one-line editor over the cell holding `text`
    List,       // a drop-down list of `choices` under the cell
    Committed,  // an action cell: the commit has been made already
  };
  Kind kind = Kind::None;
  std::string text;
  std::vector<std::string> choices;
  CommitResult commit;  // of a Committed request
};

// Deletions kept by a journal outside the owner (the model's, for its data
// windows): the window's "&Отменить удаление" asks it instead of the owner.
// `undo` brings the rows back and refreshes whatever shows them.
struct UndoJournal {
  std::function<bool()> canUndo;
  std::function<void()> undo;
};

// One cell as the painter shows it.
struct CellContent {
  enum class Kind { Header, Fixed, Data };
  Kind kind = Kind::Data;
  std::string text;   // header: first line; else the cell's item
  std::string text2;  // header: second line
  char letter = 0;    // display letter
  Color colour;
  Color pictureColour;            // pictures of the cell ...
  bool ownPictureColour = false;  // ... when a swatch keeps it, highlighted too
  bool tinted = false;            // the row has a background of its own ...
  Color background;               // ... in this colour
  bool highlighted = false;       // current cell or selected row
};

class TableWindow {
 public:
  TableWindow(TableOwner& owner, TableForm& form, TableEnvironment& environment);

  TableOwner& Owner() const { return owner_; }
  TableForm& Form() const { return form_; }
  TableEnvironment& Environment() const { return env_; }

  // --- Configuration ---------------------------------------------------------

  // Takes over what the owner changed in the form: headers, title, row
  // count, appendable. Called after every callback and before painting.
  void Sync();
  void SetHead1(std::string head1);
  void SetHead2(std::string head2);
  void SetTitle(std::string title);
  void SetRowCount(int rows);
  void SetAppendable(bool appendable);
  void SetHorzLines(bool on);
  bool HorzLines() const { return horzLines_; }
  // The table font changed: margins, row heights and the layout follow; a
  // form view is switched off and on again to measure anew.
  void ApplyFont();

  int RowCount() const;
  int ColCount() const;
  int CurRow() const;
  void SetCurRow(int row);
  int CurCol() const;
  void SetCurCol(int col);
  int FrozenCols() const { return frozenCols_; }
  void SetFrozenCols(int count);
  bool FormView() const { return formView_; }
  // Title lines above the grid (trimmed items of the title).
  std::vector<std::string> TitleLines() const;

  // --- The grid ----------------------------------------------------------------

  const GridLayout& Layout() const { return layout_; }
  GridLayout& Layout() { return layout_; }
  // The grid cell that is current.
  GridCell CurrentCell() const;
  CellContent Content(GridCell cell);
  // The '#'-list of data row `row`, read through OnLine once while it stays
  // the row last asked for.
  const std::string& Line(int row);
  // Forgets the row kept, so the next paint asks the owner again.
  void Redraw();

  // Sizes the columns and answers the client size the grid wants: the first
  // `cols` columns (all that fit when 0), `rows` rows (all when 0), at most
  // `available`, at least the widest title line + 20 wide. With
  // `measureData` every row is read and each column made as wide as its
  // widest cell. Nothing happens while the program starts or in form view.
  std::optional<Size> FitToContent(int cols, int rows, bool measureData, Size available);
  // The widest title line in bold.
  int TitleWidth() const;

  // --- Moving and selecting -----------------------------------------------------

  // Makes a grid cell current (asking OnSelect); false when refused.
  bool MoveTo(GridCell cell);
  bool MoveBy(int rows, int cols);
  // Page Up / Page Down by the rows on screen; Home / End of the table.
  bool PageBy(int pages, Size client);
  bool MoveToEdge(bool last);
  // The view scrolled so the current cell shows.
  void ShowCurrent(Size client);

  int SelFirst() const { return selFirst_; }
  int SelLast() const { return selLast_; }
  bool RowSelected(int row) const;
  // A left mouse press on a cell (the view moved nothing yet).
  void MousePress(GridCell cell);
  // The mouse moved over `row` with the left button down.
  void MouseDrag(int row);
  void SelectRow();  // "Вы&делить строку"
  void SelectAll();  // "В&ыделить всё"
  void ClearSelection();

  // --- Commands of "&Правка" ----------------------------------------------------

  bool CanDelete() const { return selFirst_ > 0; }
  void DeleteSelected();
  // "&Отменить удаление" is there for an owner that undoes, or with a journal.
  bool HasUndoDelete() const;
  bool CanUndoDelete() const;
  void UndoDelete();
  void SetUndoJournal(UndoJournal journal) { undoJournal_ = std::move(journal); }
  void NewRow();
  // Copies as the selection says; the text put on the clipboard.
  std::string Copy();
  // "&Вставить": the clipboard holds lines and the owner takes pasted lines,
  // or it holds one value and the current cell takes typing (that value is
  // typed into it). Reads the current row for its edit letter.
  bool CanPaste();
  // The lines taken (1 for a single value committed into the current cell).
  int Paste();
  // Writes the table into an exchange file the user chooses.
  bool CopyToFile();
  void Find();
  void FindNext();
  bool CanFreeze() const;
  void Freeze();
  bool CanUnfreeze() const { return frozenCols_ > 0; }
  void Unfreeze();
  // "&Форма" works for a table with rows and more than three columns.
  bool CanFormView() const;
  void ToggleFormView();

  // --- Editing ---------------------------------------------------------------------

  // Starts an edit of the current cell; `typed` is the character typed.
  EditorRequest BeginEdit(EditTrigger trigger, std::string_view typed = {});
  bool Editing() const { return editRow_ > 0; }
  GridCell EditedCell() const { return editCell_; }
  // Ends an open inline edit with `text` the way `end` says: commits or forgets.
  CommitResult EndEdit(EditEnd end, std::string_view text);
  // Commits a choice of the drop-down list.
  CommitResult ChooseFromList(int index);
  // Forgets an open edit.
  void CancelEdit();
  // Commits `text` into the current cell as if typed there.
  CommitResult CommitText(std::string_view text);

  // --- Notifications to the view ----------------------------------------------------

  std::function<void()> OnRepaint;          // cells changed
  std::function<void()> OnLayoutChanged;    // columns, rows or title changed
  std::function<void()> OnCommandsChanged;  // enabled states of the commands
  std::function<void()> OnFormViewChanged;  // switched into or out of form view

 private:
  // The current cell into the form, where owners read it.
  void Publish();
  void ApplyHead1();
  void ApplyHead2();
  void ApplyRows();
  void RelayoutTable();
  void RelayoutForm();
  int HeaderHeight() const;
  void HeaderWidths();
  int CellWidth(std::string_view item, char letter) const;
  std::string HeaderItem1(int col) const;
  std::string HeaderItem2(int col) const;
  std::string ColumnLabel(int col) const;
  std::string Shown(std::string_view item, char letter) const;
  // The colours of the row last read into a data cell's content.
  void RowColours(CellContent& content) const;
  // Where a row becomes current: clamped to the grid.
  int ClampRow(int row) const;
  int LastGridRow() const;
  bool AskSelect(int col, int row);
  // A value typed into the current cell would reach the owner.
  bool CurrentCellTakesTyping();
  CommitResult Commit(int row, int col, std::string_view text);
  // The search text asked for, starting from `text`; false when cancelled.
  bool AskFindText(std::string text);
  bool Scan(int fromRow);
  void Notify(const std::function<void()>& hook) const {
    if (hook) hook();
  }
  void EnterFormView();
  void LeaveFormView();

  TableOwner& owner_;
  TableForm& form_;
  TableEnvironment& env_;
  GridLayout layout_;

  // What the window shows of the form, to see what the owner changed.
  std::string head1_;
  std::string head2_;
  std::string title_;
  int rows_ = 0;
  bool appendable_ = false;
  bool horzLines_ = false;
  int frozenCols_ = 1;

  // The current cell in table view (grid row, column).
  GridCell current_{1, 1};
  int selFirst_ = 0;
  int selLast_ = 0;

  int publishedRow_ = 1;
  int publishedCol_ = 1;

  int cachedRow_ = -1;
  std::string cachedLine_;
  Color cachedColour_;
  Color cachedPictureColour_;
  bool cachedOwnPictureColour_ = false;
  bool cachedTinted_ = false;
  Color cachedBackground_;

  int editRow_ = 0;
  GridCell editCell_;
  std::string editText_;
  char editLetter_ = 0;
  bool inCommit_ = false;

  std::string findText_;
  UndoJournal undoJournal_;

  // The form view and the table view kept for the way back.
  bool formView_ = false;
  struct SavedTableView {
    GridCell current;
    int frozenCols = 1;
    int topRow = 1;
    int leftCol = 1;
    std::vector<int> colWidths;
  } saved_;
  int record_ = 1;
};

}  // namespace kordavelt
