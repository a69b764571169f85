#pragma once

// Drives a TableOwner exactly as the table window does, without a window:
// reading rows, committing typed edits (converted by the column's edit
// letter), deleting, copying and pasting. Tests, the command line and the
// file export use it; the window's own commit follows the same rules
// (ConvertEdit).

#include <string>
#include <string_view>

#include "ui/table_owner.h"
#include "ui/ui_host.h"

namespace kordavelt {

// The edit letter of `column` in `editCodes`; a column beyond the letters has
// none (0), which edits as free text.
char EditLetter(std::string_view editCodes, int column);

// Converts the trimmed text of an edit by its edit letter into form.editText,
// editInt and editReal (form.listItems gives the choices of an 'L' cell).
// False when the edit is not committed: a text that is not a number in a
// number cell, a list text that matches no choice, a read-only cell.
//   'N', 'I', 'R'  number: only "-.1234567890Ee" are kept; an empty text is 0
//   'H'            hexadecimal, upper-cased; other characters count as places
//   'L'            the exact text of one of the choices
//   'Y', 'Z'       read-only
//   'X', 'T', other  the text as typed
bool ConvertEdit(char letter, std::string_view text, TableForm& form);

// The one-line name of a column from its two header items: "Uн" and "кВ"
// give "Uн, кВ"; a first item ending in '-' takes the second directly in
// place of the '-'; a unit of four or more plain letters follows a blank.
std::string HeaderLabel(std::string_view head1Item, std::string_view head2Item);

// Clipboard text that pastes as one value into the current cell: no TAB, and
// a line end only at its very end.
bool PastesAsOneValue(std::string_view clipboard);

class TableDriver {
 public:
  TableDriver(TableOwner& owner, TableForm& form, UiHost& ui);

  // The '#'-list of row `row` (1-based) as the owner gives it for `context`.
  std::string Line(int row, LineContext context = LineContext::Show);
  // Item `col` of the row, trimmed.
  std::string Cell(int row, int col);

  int RowCount() const;
  // The number of columns: the items of head1, at most kMaxTableColumns.
  int ColCount() const;

  // Commits `text` typed into cell (row, col) as the window does: reads the
  // row, converts the text by the cell's edit letter, then calls OnEdit with
  // the cell current, or, for an owner without OnEdit, chooses the row (see
  // RowChosen). The append row (RowCount() + 1) of an appendable table may be
  // edited. False when nothing was committed; an invalid number also beeps,
  // and another value typed into a read-only cell goes to OnReadOnlyEdit.
  bool CommitEdit(int row, int col, std::string_view text);
  // True once a commit chose a row of an owner without OnEdit.
  bool RowChosen() const { return rowChosen_; }
  // An invalid number beeps unless turned off (the window drops it silently).
  void SetBeepOnInvalid(bool beep) { beepOnInvalid_ = beep; }

  // Calls OnDelete with each row current in turn; rows stay where they are.
  void Delete(int row);
  void Delete(int first, int last);

  // The clipboard text of a copy of rows first…last (also put on the
  // clipboard). One row: all items of the line (after OnCopyLine), TAB
  // separated. Several: one CR LF ended line per row of the shown columns.
  // A check box is copied as its value ("Да", "Нет"), which a paste takes.
  std::string CopyRows(int first, int last);
  // The whole table: title (or caption), an empty line, the header labels,
  // then every row.
  std::string CopyAll();
  // The current cell's item, as a copy without selection gives it.
  std::string CopyCell();

  // Pastes clipboard text as the window does: a single value (see
  // PastesAsOneValue) is committed into the current cell as if typed there,
  // so only into a table with OnEdit; anything else goes line by line to
  // OnPasteLine with TABs turned into '#', so only into a table with
  // OnPasteLine. Returns the number of lines taken (1 for a committed single
  // value).
  int PasteText(std::string_view clipboard);

 private:
  std::string CopyLines(int first, int last);

  TableOwner& owner_;
  TableForm& form_;
  UiHost& ui_;
  bool rowChosen_ = false;
  bool beepOnInvalid_ = true;
};

}  // namespace kordavelt
