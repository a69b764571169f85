#pragma once

// The table protocol: how every table of the program (object tables, data
// tables, the reference book, results, settings and choice dialogs) talks to
// the window that shows it.
//
// The window knows nothing about the data. Its owner gives the layout —
// caption, name, header lines, one display letter and one edit letter per
// column, field names for export, the row count — and answers callbacks: the
// window asks for one row at a time as a '#'-list (OnLine), and hands back
// committed edits (OnEdit), deletions (OnDelete) and pasted lines
// (OnPasteLine). The callbacks read and write a TableForm, the state the
// window shares with its owner, so an owner is written the same way whether
// a Qt window, a test or the command line drives it (see TableDriver).

#include <cstdint>
#include <string>
#include <string_view>

#include "draw/color.h"

namespace kordavelt {

// At most this many columns: the letter strings and default field names have 40 places.
inline constexpr int kMaxTableColumns = 40;

// Why OnLine is being called.
enum class LineContext : int {
  Show = 0,       // painting, editing, find, export or print
  SingleRow = 1,  // a single-row copy or a single-line paste
  FirstRow = 2,   // the first row of a multi-row copy or paste
  NextRow = 3,    // every following row of it
};

// What the owner asks the window to repaint after an edit.
enum class Refresh : int {
  CloseWindow = 0,
  All = 1,
  CurrentRow = 2,
};

// The state a table window shares with its owner during a callback.
struct TableForm {
  // --- Layout, set by the owner ----------------------------------------------
  std::string caption;
  std::string name;   // export name of the table (section / element name)
  std::string title;  // '#'-list of title lines above the grid; empty for none
  std::string head1;  // '#'-list, one item per column including column 0
  std::string head2;
  std::string displayCodes = std::string(kMaxTableColumns - 1, 'C');
  std::string editCodes = std::string(kMaxTableColumns - 1, 'X');
  std::string fieldNames = DefaultFieldNames();
  int rowCount = 0;
  bool appendable = false;  // rows may be appended, deleted and pasted

  // --- One row: OnLine reads lineNo and context, sets line ----------------------
  int lineNo = -1;  // the row to describe, 1-based
  LineContext context = LineContext::Show;
  bool exporting = false;  // a file export writes the rows: owners may give raw values
  std::string line;        // '#'-list of the row's cells, column 0 first
  Color lineColor;         // text colour of the row
  bool lineColorSet = false;
  // A row may carry a colour of its own without colouring its text, which
  // a light colour would make unreadable: its pictures (a colour swatch) in
  // `pictureColor`, its cells on the light `lineBackground`.
  Color pictureColor;
  bool pictureColorSet = false;
  Color lineBackground;
  bool lineBackgroundSet = false;
  std::string listItems;  // choices of the current 'L' cell

  // --- The current cell and a committed edit -------------------------------------
  int curRow = 1;  // data row, 1-based
  int curCol = 1;
  std::string editText;  // trimmed text of the edit
  std::int32_t editInt = 0;
  double editReal = 0;
  Refresh refresh = Refresh::CurrentRow;

  // The default field names of export: "f1#f2#…#f40".
  static std::string DefaultFieldNames();
};

// The owner of a table. Only OnLine is required; an owner without OnEdit
// makes every commit choose the row (in a dialog), one without OnPasteLine
// takes no paste.
class TableOwner {
 public:
  virtual ~TableOwner() = default;

  // Fills form.line for row form.lineNo; may set lineColor, editCodes and listItems.
  virtual void OnLine(TableForm& form) = 0;

  virtual bool HasEdit() const { return false; }
  // Applies a committed edit of cell (form.curRow, form.curCol); reports
  // through form.refresh.
  virtual void OnEdit(TableForm& /*form*/) {}
  // A value typed into a read-only cell ('Y', 'Z') was dropped; form.editText
  // holds it. Owners whose cells are computed or taken from elsewhere say
  // why, so that the engineer does not see the value silently come back.
  virtual void OnReadOnlyEdit(TableForm& /*form*/) {}

  // Deletes (or marks deleted) row form.curRow.
  virtual void OnDelete(TableForm& /*form*/) {}

  // May replace form.line before a single-row copy.
  virtual void OnCopyLine(TableForm& /*form*/) {}

  virtual bool HasPasteLine() const { return false; }
  // Takes one pasted line held in form.line.
  virtual void OnPasteLine(TableForm& /*form*/) {}

  // Owners with a search of their own replace the window's find and find
  // next ("&Найти", "Найти &ещё").
  virtual bool HasFind() const { return false; }
  virtual void OnFind(TableForm& /*form*/) {}
  virtual void OnFindNext(TableForm& /*form*/) {}

  // Asked before cell (row, column) becomes current; false refuses the move.
  // In the one-record view `column` is the table column of the grid row and
  // `row` the current record.
  virtual bool OnSelect(TableForm& /*form*/, int /*column*/, int /*row*/) { return true; }

  // Owners that can bring deleted rows back show "&Отменить удаление".
  virtual bool HasUndoDelete() const { return false; }
  virtual bool CanUndoDelete() const { return false; }
  virtual void OnUndoDelete(TableForm& /*form*/) {}
};

}  // namespace kordavelt
