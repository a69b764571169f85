// The commands of a table window's "&Правка" menu, the selection and the
// movement of the current cell.

#include <algorithm>

#include "base/dial_list.h"
#include "base/paste_values.h"
#include "table/table_driver.h"
#include "table/table_export.h"
#include "table/table_window.h"

namespace kordavelt {
namespace {

constexpr int kFindLength = 40;

}  // namespace

// --- Moving --------------------------------------------------------------------------

bool TableWindow::AskSelect(int col, int row) { return owner_.OnSelect(form_, col, row); }

bool TableWindow::MoveTo(GridCell cell) {
  if (layout_.ColCount() == 0) return false;
  cell.row = std::clamp(cell.row, layout_.FixedRows(), std::max(layout_.RowCount() - 1, 0));
  cell.col = std::clamp(cell.col, layout_.FixedCols(), layout_.ColCount() - 1);
  if (formView_) cell.col = 1;
  if (cell == current_) return true;
  const bool allowed = formView_ ? AskSelect(cell.row, record_) : AskSelect(cell.col, cell.row);
  if (!allowed) return false;
  current_ = cell;
  Publish();
  Notify(OnRepaint);
  // Whether a value can be pasted depends on the cell.
  Notify(OnCommandsChanged);
  return true;
}

bool TableWindow::MoveBy(int rows, int cols) {
  return MoveTo(GridCell{current_.row + rows, current_.col + cols});
}

bool TableWindow::PageBy(int pages, Size client) {
  if (formView_) {
    // The one-record view pages through the records.
    const int record = std::clamp(record_ + pages, 1, std::max(rows_, 1));
    if (record == record_ || !AskSelect(current_.row, record)) return false;
    SetCurRow(record);
    return true;
  }
  const int step = std::max(layout_.VisibleRows(client), 1);
  return MoveBy(pages * step, 0);
}

bool TableWindow::MoveToEdge(bool last) {
  return MoveTo(GridCell{last ? layout_.RowCount() - 1 : layout_.FixedRows(), current_.col});
}

void TableWindow::ShowCurrent(Size client) { layout_.ScrollToShow(current_, client); }

// --- Selection --------------------------------------------------------------------------

bool TableWindow::RowSelected(int row) const {
  if (selFirst_ == -1) return true;
  return selFirst_ > 0 && row >= selFirst_ && row <= selLast_;
}

void TableWindow::MousePress(GridCell cell) {
  if (formView_) {
    ClearSelection();
    if (cell.col == 1) MoveTo(cell);
    return;
  }
  if (cell.row < 1) return;
  // A press in a frozen column does not move the current cell: it selects
  // that row; a press elsewhere moves there and clears the selection.
  if (cell.col < layout_.FixedCols() && cell.row <= rows_) {
    selFirst_ = selLast_ = cell.row;
    Notify(OnRepaint);
    Notify(OnCommandsChanged);
    return;
  }
  ClearSelection();
  MoveTo(cell);
}

void TableWindow::MouseDrag(int row) {
  if (formView_ || selFirst_ <= 0) return;
  const int last = std::clamp(row, selFirst_, std::max(rows_, selFirst_));
  if (last == selLast_) return;
  selLast_ = last;
  Notify(OnRepaint);
}

void TableWindow::SelectRow() {
  if (formView_) return;
  if (selFirst_ == current_.row) {
    ClearSelection();
    return;
  }
  if (current_.row > rows_) return;
  selFirst_ = selLast_ = current_.row;
  Notify(OnRepaint);
  Notify(OnCommandsChanged);
}

void TableWindow::SelectAll() {
  if (formView_) return;
  selFirst_ = -1;
  selLast_ = rows_;
  Notify(OnRepaint);
  Notify(OnCommandsChanged);
}

void TableWindow::ClearSelection() {
  if (selFirst_ == 0 && selLast_ == 0) return;
  selFirst_ = selLast_ = 0;
  Notify(OnRepaint);
  Notify(OnCommandsChanged);
}

// --- Delete and undo ----------------------------------------------------------------------

void TableWindow::DeleteSelected() {
  if (selFirst_ <= 0) return;
  // Rows stay where they are during the loop: owners mark them deleted and
  // remove them afterwards.
  TableDriver driver(owner_, form_, env_.ui);
  driver.Delete(selFirst_, selLast_);
  selFirst_ = selLast_ = 0;
  // The deleting moved the owner's current row; the window's stays. The
  // next row read lets the owner drop the deleted rows.
  Publish();
  cachedRow_ = -1;
  Line(ClampRow(current_.row));
  Sync();
  current_.row = ClampRow(current_.row);
  Publish();
  Redraw();
  Notify(OnCommandsChanged);
  Notify(env_.onTableChanged);
}

bool TableWindow::HasUndoDelete() const {
  return undoJournal_.canUndo != nullptr || owner_.HasUndoDelete();
}

bool TableWindow::CanUndoDelete() const {
  if (undoJournal_.canUndo) return undoJournal_.canUndo();
  return owner_.HasUndoDelete() && owner_.CanUndoDelete();
}

void TableWindow::UndoDelete() {
  if (!CanUndoDelete()) return;
  // A journal refreshes the windows itself once its rows are back.
  const bool journal = undoJournal_.undo != nullptr;
  if (journal) {
    undoJournal_.undo();
  } else {
    owner_.OnUndoDelete(form_);
  }
  Sync();
  Redraw();
  Notify(OnCommandsChanged);
  if (!journal) Notify(env_.onTableChanged);
}

void TableWindow::NewRow() {
  if (!appendable_ || formView_) return;
  MoveTo(GridCell{rows_ + 1, current_.col});
}

// --- Copy and paste ---------------------------------------------------------------------

std::string TableWindow::Copy() {
  if (env_.starting) return {};
  TableDriver driver(owner_, form_, env_.ui);
  Publish();
  std::string text;
  if (selFirst_ == -1) {
    text = driver.CopyAll();
  } else if (selFirst_ > 0) {
    text = driver.CopyRows(selFirst_, selLast_);
  } else {
    text = driver.CopyCell();
  }
  cachedRow_ = -1;
  Notify(OnCommandsChanged);
  return text;
}

bool TableWindow::CanPaste() {
  if (inCommit_ || env_.starting) return false;
  const std::string text = env_.ui.ClipboardText();
  if (text.empty()) return false;
  if (!PastesAsOneValue(text)) return owner_.HasPasteLine();
  return CurrentCellTakesTyping();
}

bool TableWindow::CurrentCellTakesTyping() {
  if (!owner_.HasEdit()) return false;
  const int row = CurRow();
  const int col = CurCol();
  const int lastRow = formView_ ? rows_ : LastGridRow();
  if (row < 1 || row > lastRow || col < 0 || col >= ColCount()) return false;
  // The edit letter that counts is the one the owner gives with the row.
  Publish();
  cachedRow_ = -1;
  Line(row);
  const char letter = EditLetter(form_.editCodes, col);
  return letter != 'Y' && letter != 'Z';
}

int TableWindow::Paste() {
  if (inCommit_) return 0;
  const std::string text = env_.ui.ClipboardText();
  if (text.empty()) return 0;
  TableDriver driver(owner_, form_, env_.ui);
  driver.SetBeepOnInvalid(false);
  Publish();
  const int taken = driver.PasteText(text);
  cachedRow_ = -1;
  Sync();
  Redraw();
  if (taken > 0) Notify(env_.onTableChanged);
  return taken;
}

bool TableWindow::CopyToFile() {
  if (env_.starting) return false;
  const bool written = ExportTable(owner_, form_, env_.ui, env_.files, env_.csv);
  form_.exporting = false;
  Redraw();
  return written;
}

// --- Find -------------------------------------------------------------------------------

bool TableWindow::Scan(int fromRow) {
  const int column = CurCol();
  for (int row = std::max(fromRow, 1); row <= rows_; ++row) {
    if (ListItem(Line(row), column).find(findText_) == std::string::npos) continue;
    SetCurRow(row);
    return true;
  }
  env_.ui.ShowInfo(form_.caption, "Не найдено " + findText_);
  return false;
}

bool TableWindow::AskFindText(std::string text) {
  const std::string prompt = "Найти " + std::string(TrimBlanks(ListItem(form_.head1, CurCol())));
  if (!env_.ui.InputText(form_.caption, prompt, text, kFindLength)) return false;
  findText_ = std::string(TrimBlanks(text));
  return true;
}

void TableWindow::Find() {
  if (env_.starting) return;
  if (owner_.HasFind()) {
    owner_.OnFind(form_);
    Sync();
    Redraw();
    return;
  }
  if (AskFindText(findText_)) Scan(1);
}

void TableWindow::FindNext() {
  if (env_.starting) return;
  if (owner_.HasFind()) {
    owner_.OnFindNext(form_);
    Sync();
    Redraw();
    return;
  }
  if (findText_.empty()) {
    std::string text;
    const std::string prompt = "Найти " + std::string(TrimBlanks(ListItem(form_.head1, CurCol())));
    if (!env_.ui.InputText(form_.caption, prompt, text, kFindLength)) return;
    findText_ = std::string(TrimBlanks(text));
  }
  Scan(CurRow() + 1);
}

// --- Freeze -----------------------------------------------------------------------------

bool TableWindow::CanFreeze() const { return !formView_ && frozenCols_ + 1 < ColCount(); }

void TableWindow::Freeze() {
  if (!CanFreeze()) return;
  SetFrozenCols(frozenCols_ + 1);
  Notify(OnLayoutChanged);
  Notify(OnCommandsChanged);
}

void TableWindow::Unfreeze() {
  if (formView_ || frozenCols_ == 0) return;
  SetFrozenCols(frozenCols_ - 1);
  Notify(OnLayoutChanged);
  Notify(OnCommandsChanged);
}

// --- Form view -----------------------------------------------------------------------------

bool TableWindow::CanFormView() const { return rows_ > 0 && ColCount() > 3; }

void TableWindow::ToggleFormView() {
  if (formView_) {
    LeaveFormView();
  } else if (CanFormView()) {
    EnterFormView();
  } else {
    return;
  }
  Redraw();
  Notify(OnFormViewChanged);
  Notify(OnLayoutChanged);
  Notify(OnCommandsChanged);
}

void TableWindow::EnterFormView() {
  ClearSelection();
  saved_.current = current_;
  saved_.frozenCols = frozenCols_;
  saved_.topRow = layout_.TopRow();
  saved_.leftCol = layout_.LeftCol();
  saved_.colWidths.clear();
  for (int c = 0; c < layout_.ColCount(); ++c) saved_.colWidths.push_back(layout_.ColWidth(c));
  record_ = current_.row >= 1 && current_.row <= rows_ ? current_.row : 1;
  const int column = current_.col;
  formView_ = true;
  RelayoutForm();
  current_ = GridCell{std::clamp(column, layout_.FixedRows(), std::max(ColCount() - 1, 0)), 1};
  Publish();
}

void TableWindow::RelayoutForm() {
  const int columns = ColCount();
  const int margins = 2 * env_.HorizontalMargin();
  int labelWidth = 0;
  for (int c = 0; c < columns; ++c) {
    labelWidth = std::max(labelWidth, env_.TextExtent(ColumnLabel(c)).width);
  }
  layout_.SetColumns(2);
  layout_.SetColWidth(0, labelWidth + margins);
  layout_.SetColWidth(1, env_.TextExtent("12345678.99").width + margins);
  layout_.SetFixedCols(1);
  layout_.SetRows(columns);
  layout_.SetRowHeight(env_.RowHeight());
  const int fixedRows = std::clamp(saved_.frozenCols, 0, std::max(columns - 1, 0));
  layout_.SetFixedRows(std::vector<int>(fixedRows, env_.RowHeight()));
  layout_.SetTopRow(fixedRows);
  layout_.SetLeftCol(1);
}

void TableWindow::LeaveFormView() {
  const int column = current_.row;
  const int record = record_;
  formView_ = false;
  frozenCols_ = saved_.frozenCols;
  layout_.SetFixedRows({});
  layout_.SetColumns(0);
  HeaderWidths();
  for (int c = 0; c < std::min<int>(layout_.ColCount(), saved_.colWidths.size()); ++c) {
    layout_.SetColWidth(c, saved_.colWidths[c]);
  }
  RelayoutTable();
  current_ = GridCell{ClampRow(record), column};
  RelayoutTable();
  layout_.SetTopRow(saved_.topRow);
  layout_.SetLeftCol(saved_.leftCol);
  Publish();
}

}  // namespace kordavelt
