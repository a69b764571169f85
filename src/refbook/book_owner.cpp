#include "refbook/book_owner.h"

#include <algorithm>
#include <limits>

#include "base/dial_list.h"
#include "refbook/book_categories.h"
#include "refbook/book_dialogs.h"
#include "refbook/book_import_row.h"
#include "refbook/spr_class.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

constexpr std::string_view kCodeWarning =
    "Изменение кода изделия может вести#к потере типов элементов схемы.#Для исправления "
    "необходимо типы#элементов переопределить";

bool ValidTable(int table) { return table >= 1 && table <= 100; }

}  // namespace

BookOwner::BookOwner(sprClass& book, UiHost& ui) : book_(book), ui_(ui) {
  // Deleted types are kept in the book's journal until the next insert, so
  // the window can bring them back.
  book_.SetJournalOn(true);
  ResetRows();
  form_.caption = std::string(kCaption);
  form_.appendable = true;
}

// --- The category shown ------------------------------------------------------------

bool BookOwner::ChooseCategory() {
  const std::optional<int> category = ChooseBookCategory(ui_, std::max(category_, 1));
  return category && ShowCategory(*category);
}

bool BookOwner::ShowCategory(int category) {
  const BookTableLayout* layout = BookLayoutOfCategory(category);
  return layout != nullptr && ShowTable(layout->table);
}

bool BookOwner::ShowTable(int table) {
  const BookTableLayout* layout = BookLayoutOfTable(table);
  if (layout == nullptr) return false;
  tbClass* handle = book_.OpenBookTable(table);
  if (handle == nullptr) return false;
  if (table_ != 0) currentRows_[table_] = form_.curRow;

  table_ = table;
  category_ = layout->category;
  rows_.Rebuild(handle);
  rowsStale_ = false;

  // The window is captioned with the category it shows.
  form_.caption = std::string(layout->caption);
  form_.name = std::string(BookSectionOfCategory(category_));
  form_.title.clear();
  form_.head1 = std::string(layout->head1);
  form_.head2 = std::string(layout->head2);
  form_.displayCodes = std::string(layout->displayCodes);
  form_.editCodes = std::string(layout->editCodes);
  form_.fieldNames = BookFieldNames(*layout);
  form_.appendable = true;
  form_.rowCount = rows_.Rows();
  form_.curRow = std::clamp(currentRows_[table], 1, rows_.Rows() + 1);
  form_.curCol = 1;
  form_.lineNo = -1;
  form_.refresh = Refresh::All;
  return true;
}

bool BookOwner::SelectSection(std::string_view name) {
  const int category = BookCategoryOfSection(name);
  return category != 0 && ShowCategory(category);
}

void BookOwner::CloseTable() {
  if (table_ != 0) currentRows_[table_] = form_.curRow;
  table_ = 0;
  category_ = 0;
  rows_.Clear();
  rowsStale_ = false;
  form_.rowCount = 0;
}

void BookOwner::RefreshRows() {
  rows_.Rebuild(table_ != 0 ? book_.OpenBookTable(table_) : nullptr);
  rowsStale_ = false;
  form_.rowCount = rows_.Rows();
  form_.curRow = std::clamp(form_.curRow, 1, rows_.Rows() + 1);
}

void BookOwner::SyncRows(TableForm& form) {
  if (!rowsStale_) return;
  RefreshRows();
  form.rowCount = rows_.Rows();
  form.curRow = std::clamp(form.curRow, 1, rows_.Rows() + 1);
  form.refresh = Refresh::All;
}

void BookOwner::RememberRows(int topRow, int currentRow) {
  if (!ValidTable(table_)) return;
  topRows_[table_] = std::max(topRow, 1);
  currentRows_[table_] = std::max(currentRow, 1);
}

int BookOwner::TopRow(int table) const { return ValidTable(table) ? topRows_[table] : 1; }

int BookOwner::CurrentRow(int table) const {
  if (table == table_ && table_ != 0) return form_.curRow;
  return ValidTable(table) ? currentRows_[table] : 1;
}

void BookOwner::ResetRows() {
  topRows_.fill(1);
  currentRows_.fill(1);
  chosenRows_.fill(1);
}

// --- Commands ----------------------------------------------------------------------

std::int32_t BookOwner::ImportRow(std::string_view items) {
  if (table_ == 0) return 0;
  SyncRows(form_);
  const std::int32_t code = ImportBookRow(book_, table_, items);
  if (code == 0) return 0;
  if (rows_.RowOf(code) != 0) {
    // A code shown already: a table with repeated codes is read anew.
    RefreshRows();
  } else {
    rows_.Add(code);
    form_.rowCount = rows_.Rows();
  }
  return code;
}

bool BookOwner::SaveAs() {
  if (table_ != 0) currentRows_[table_] = form_.curRow;
  const bool saved = book_.SaveAs();
  const int shown = table_;
  if (shown != 0 && !ShowTable(shown)) CloseTable();
  return saved;
}

bool BookOwner::ChooseType(int table) {
  if (!ValidTable(table)) return false;
  return ChooseBookType(book_, ui_, table, chosenRows_[table]);
}

// --- The table protocol ------------------------------------------------------------

void BookOwner::OnLine(TableForm& form) {
  SyncRows(form);
  form.listItems = std::string(BookColumnChoices(table_, form.curCol));
  const int row = form.lineNo;
  const int columns = static_cast<int>(BookColumns(table_).size());
  if (row < 1 || row > rows_.Rows()) {
    form.line = std::string(kAppendRowMark) + std::string(columns, '#');
    return;
  }
  const std::int32_t code = rows_.Code(row);
  form.line = std::to_string(row);
  if (book_.FindType(table_, code)) {
    form.line += BookRecordCells(book_, table_, book_.CurrentRecord(table_), code, form.exporting);
  } else {
    // A record deleted a moment ago: its row stays, empty, until the rows are read again.
    form.line += std::string(columns, '#');
  }
}

Bytes BookOwner::PositionOnRow(tbClass& table, int row, bool append, TableForm& form) {
  if (!append) {
    if (!book_.FindType(table_, rows_.Code(row))) return {};
    return book_.CurrentRecord(table_);
  }
  const std::int32_t last = table.LastKey();
  if (last == std::numeric_limits<std::int32_t>::max()) {
    ui_.Beep();
    return {};
  }
  const std::int32_t code = std::max(last, 0) + 1;
  table.Insert(code);
  if (table.Status() != kStatusOk) return {};
  table.MarkModifiedAndFlush();
  rows_.Add(code);
  form.rowCount = rows_.Rows();
  form.curRow = rows_.RowOf(code);
  form.refresh = Refresh::All;
  return book_.CurrentRecord(table_);
}

void BookOwner::OnEdit(TableForm& form) {
  SyncRows(form);
  if (table_ == 0 || form.curCol < 1) return;
  tbClass* table = book_.OpenBookTable(table_);
  if (table == nullptr) return;
  const bool append = form.curRow > rows_.Rows();
  const Bytes record = PositionOnRow(*table, form.curRow, append, form);
  if (record.empty()) return;
  if (form.curCol == BookCodeColumn(table_)) {
    EditCode(*table, form.editInt, form);
    return;
  }
  if (EditField(record, form.curCol, form)) {
    // The dialogs of some columns position other tables only; this one is
    // still on the edited record.
    table->MarkModifiedAndFlush();
  }
}

void BookOwner::EditCode(tbClass& table, std::int32_t code, TableForm& form) {
  const std::int32_t old = table.Key();
  std::int32_t now = old;
  if (code == 0) {
    now = book_.AssignAutomaticCode(table_);
    if (now == 0) now = old;
  } else {
    if (code < 0) {
      ui_.Beep();
      return;
    }
    if (ui_.AskYesNoSafe(kCaption, kCodeWarning) != kAnswerYes) return;
    if (code == old) return;
    if (book_.FindType(table_, code)) {
      ui_.ShowError(kCaption, "Код " + std::to_string(code) + " занят");
      return;
    }
    if (!book_.FindType(table_, old)) return;
    table.ChangeKey(code);
    if (table.Status() != kStatusOk || table.Key() != code) {
      RefreshRows();
      form.rowCount = rows_.Rows();
      form.refresh = Refresh::All;
      return;
    }
    now = code;
  }
  if (now != old) {
    rows_.Change(old, now);
    form.curRow = std::max(rows_.RowOf(now), 1);
  }
  form.refresh = Refresh::All;
}

void BookOwner::OnDelete(TableForm& form) {
  if (table_ == 0) return;
  const int row = form.curRow;
  if (row < 1 || row > rows_.Rows()) return;
  if (!book_.FindType(table_, rows_.Code(row))) return;
  tbClass* table = book_.BookTable(table_);
  if (table == nullptr) return;
  table->Delete();
  rowsStale_ = true;
}

bool BookOwner::CanUndoDelete() const { return book_.JournalCount() > 0; }

void BookOwner::OnUndoDelete(TableForm& form) {
  book_.UndoDeletions();
  RefreshRows();
  form.rowCount = rows_.Rows();
  form.refresh = Refresh::All;
}

void BookOwner::OnPasteLine(TableForm& form) {
  ImportRow(form.line);
  form.rowCount = rows_.Rows();
  form.refresh = Refresh::All;
}

}  // namespace kordavelt
