#include "results/results_window.h"

#include <algorithm>

#include "calc/calc_class.h"

namespace kordavelt {

ResultsWindow::ResultsWindow(CalcClass& calc) : calc_(calc) {}

const std::array<ResultsMenuItem, 7>& ResultsWindow::MenuItems() {
  static constexpr std::array<ResultsMenuItem, 7> kItems{{
      {"&Нагрузки ИП", "F3", "Loads"},
      {"&Таблица расчетов", "F3", "Rez"},
      {"Кабельный &журнал", "F4", "KJur"},
      {"Заполнение ячеек", "F5", "Cells"},
      {"&Потребители (xyz)", "F6", "Potr"},
      {"&Тепловыделения", "F7", "Teplo"},
      {"Обновить", "", kRefreshId},
  }};
  return kItems;
}

bool ResultsWindow::Command(std::string_view id) { return id == kRefreshId ? Refresh() : Show(id); }

bool ResultsWindow::Show(std::string_view id, int argument) {
  if (!Build(id, argument)) return false;
  if (OnShow) OnShow();
  return true;
}

bool ResultsWindow::Refresh() {
  if (!BuildAgain()) return false;
  if (OnShow) OnShow();
  return true;
}

bool ResultsWindow::Rebuild() {
  if (table_ == nullptr || (table_->NeedsResults() && calc_.Invalid())) return false;
  return BuildAgain();
}

bool ResultsWindow::BuildAgain() {
  if (table_ == nullptr) return false;
  const int row = form_.curRow;
  const int column = form_.curCol;
  // A copy: Build replaces the id it is given.
  const std::string id = shownId_;
  if (!Build(id, shownArgument_)) return false;
  form_.curRow = std::clamp(row, 1, std::max(form_.rowCount, 1));
  form_.curCol = column;
  return true;
}

bool ResultsWindow::Build(std::string_view id, int argument) {
  int node = argument;
  if (id == "Cells" && node == 0 && SelectedNode) node = SelectedNode();
  std::unique_ptr<ResultTable> table = MakeResultTable(calc_, id, node);
  if (table == nullptr) return false;
  // Built aside: a table that refuses leaves the one shown in place.
  TableForm built;
  if (!table->Open(built)) return false;
  table_ = std::move(table);
  form_ = std::move(built);
  shownId_ = std::string(id);
  shownArgument_ = argument;
  return true;
}

void ResultsWindow::OnLine(TableForm& form) {
  if (table_ == nullptr) {
    form.line.clear();
    return;
  }
  table_->OnLine(form);
}

bool ResultsWindow::HasEdit() const { return table_ != nullptr && table_->HasEdit(); }

void ResultsWindow::OnEdit(TableForm& form) {
  if (table_ != nullptr) table_->OnEdit(form);
}

void ResultsWindow::OnDelete(TableForm& form) {
  if (table_ != nullptr) table_->OnDelete(form);
}

void ResultsWindow::OnCopyLine(TableForm& form) {
  if (table_ != nullptr) table_->OnCopyLine(form);
}

bool ResultsWindow::HasPasteLine() const { return table_ != nullptr && table_->HasPasteLine(); }

void ResultsWindow::OnPasteLine(TableForm& form) {
  if (table_ != nullptr) table_->OnPasteLine(form);
}

}  // namespace kordavelt
