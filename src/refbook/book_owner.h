#pragma once

// BookOwner: the owner of the reference-book window. It shows one category
// of the book at a time as a table — one row per type in code order and an
// append row — turns committed edits into record changes with the
// engineering defaults of each category, gives types their codes, deletes
// types, adds pasted and imported rows, and runs the book's dialogs.
//
// Every change is written to the record at once. The owner keeps no table
// pointer between calls: it asks the book for the table each time, so a
// book closed and reopened (Save as) leaves nothing dangling.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "base/le_bytes.h"
#include "refbook/book_cells.h"
#include "ui/table_owner.h"

namespace kordavelt {

class sprClass;
class tbClass;
class UiHost;

class BookOwner : public TableOwner {
 public:
  // The window's caption, also the caption of its messages.
  static constexpr std::string_view kCaption = "Справочник";

  BookOwner(sprClass& book, UiHost& ui);

  // The characteristic editor: edits `block` (a copy of the 112-byte
  // characteristic) under `title`; `timeAxisLn` is ln of the time axis in
  // seconds (0: the editor's own). True when the user confirmed, and the
  // block is then stored back. Without an editor an empty edit of the
  // characteristic does nothing.
  using CharacteristicEditor =
      std::function<bool(const std::string& title, double timeAxisLn, Bytes block)>;
  CharacteristicEditor editCharacteristic;

  // --- The category shown ----------------------------------------------------

  // "Вид оборудования": the category dialog; on "Выбор" shows that category.
  bool ChooseCategory();
  // Opens table `table` and shows it (layout, rows, remembered current row).
  // False for a table the window does not show or that cannot be opened.
  bool ShowTable(int table);
  bool ShowCategory(int category);
  // An exchange section: "SNode", "SPriz", … shows its category; false for a
  // name that is no section.
  bool SelectSection(std::string_view name);
  // Forgets the table shown (the window was closed).
  void CloseTable();

  sprClass& Book() { return book_; }
  int Table() const { return table_; }
  int Category() const { return category_; }
  TableForm& Form() { return form_; }
  const BookRowMap& Rows() const { return rows_; }
  // Re-reads the rows of the table shown, e.g. after deletions were undone.
  void RefreshRows();

  // The window's scroll position of the table shown, kept per table while the
  // book is open.
  void RememberRows(int topRow, int currentRow);
  int TopRow(int table) const;
  int CurrentRow(int table) const;
  // Every table back to row 1 (a book was opened).
  void ResetRows();

  // --- Commands ------------------------------------------------------------------

  // Adds one record to the table shown from a row's items (item 0 the row
  // number, then the columns in order, the code last), as import and paste
  // do. The code of the new record, 0 when nothing was added.
  std::int32_t ImportRow(std::string_view items);
  // "Сохранить как ...": the book packed under a new name and reopened from
  // it; the table shown is shown again.
  bool SaveAs();
  // "Из справочника": the selection dialog of `table`; on "Выбор" the table
  // is positioned on the chosen type and true returned.
  bool ChooseType(int table);

  // --- The table protocol ----------------------------------------------------------

  void OnLine(TableForm& form) override;
  bool HasEdit() const override { return true; }
  void OnEdit(TableForm& form) override;
  void OnDelete(TableForm& form) override;
  bool HasPasteLine() const override { return true; }
  void OnPasteLine(TableForm& form) override;
  // Types deleted since the last insert come back ("&Отменить удаление").
  bool HasUndoDelete() const override { return true; }
  bool CanUndoDelete() const override;
  void OnUndoDelete(TableForm& form) override;

 private:
  static constexpr int kMaxTable = 100;

  // Rows deleted since the map was read are shown empty until the deletions
  // end (the window deletes row after row without the rows moving); the next
  // other call reads the rows again.
  void SyncRows(TableForm& form);
  // The record of `row` made current (appended for the append row); its data
  // bytes, empty when there is none.
  Bytes PositionOnRow(tbClass& table, int row, bool append, TableForm& form);
  // The code column edit: 0 gives the automatic code, any other code asks
  // first and is refused when taken.
  void EditCode(tbClass& table, std::int32_t code, TableForm& form);
  // Stores an edit of column `column` into the current record and applies the
  // category's rules. False when the edit changed nothing to be written.
  bool EditField(Bytes record, int column, TableForm& form);
  // Columns of referenced types, characteristics, slots and computed values.
  bool EditSpecial(Bytes record, const BookColumn& column, TableForm& form);
  void ApplyRules(Bytes record, int column);
  bool EditCharacteristic(Bytes record, int offset, TableForm& form);
  void ApplyTemplateSlot(Bytes record, int slot, const std::string& text);

  sprClass& book_;
  UiHost& ui_;
  TableForm form_;
  int table_ = 0;
  int category_ = 0;
  BookRowMap rows_;
  bool rowsStale_ = false;
  std::array<int, kMaxTable + 1> topRows_{};
  std::array<int, kMaxTable + 1> currentRows_{};
  std::array<int, kMaxTable + 1> chosenRows_{};
};

}  // namespace kordavelt
