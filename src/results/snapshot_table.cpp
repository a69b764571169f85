#include "results/snapshot_table.h"

#include <cmath>

#include "base/number_format.h"
#include "calc/calc_class.h"
#include "model/model_class.h"
#include "ui/ui_host.h"

namespace kordavelt {

bool SnapshotTable::Open(TableForm& form) {
  rows_.clear();
  if (!calc_.Model().Usable()) return false;
  if (NeedsResults() && calc_.Invalid()) calc_.CalcNetwork();
  form.editCodes = kReadOnlyCodes;
  form.lineNo = -1;
  if (!Build(form)) {
    rows_.clear();
    form.rowCount = 0;
    return false;
  }
  form.rowCount = RowCount();
  form.curRow = 1;
  return true;
}

void SnapshotTable::OnLine(TableForm& form) {
  if (form.lineNo < 1 || form.lineNo > RowCount()) {
    form.line.clear();
    return;
  }
  const Row& row = rows_[form.lineNo - 1];
  form.line = row.line;
  form.lineBackgroundSet = row.tinted;
  if (row.tinted) form.lineBackground = row.background;
}

bool SnapshotTable::AddRow(std::string line) {
  if (Full()) return false;
  rows_.push_back({std::move(line), Color{}, false});
  return true;
}

bool SnapshotTable::AddRow(std::string line, Color background) {
  if (Full()) return false;
  rows_.push_back({std::move(line), background, true});
  return true;
}

modelClass& SnapshotTable::Model() { return calc_.Model(); }

void SnapshotTable::ShowMessage(std::string_view caption, std::string_view text) {
  calc_.Model().Ui().ShowInfo(caption, text);
}

std::string Cell(std::string_view text) { return "#" + std::string(text); }

std::string NumberCell(double x) { return AppendNumber(x); }

std::string WholeCell(double x) { return AppendNumber(std::round(x)); }

std::string Dashes(int count) {
  std::string cells;
  for (int i = 0; i < count; ++i) cells += "#-";
  return cells;
}

std::string Blanks(int count) { return std::string(static_cast<std::size_t>(count), '#'); }

}  // namespace kordavelt
