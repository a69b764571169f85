#pragma once

// The common part of the result tables: the rows are built once, when the
// table is opened (and again on "Обновить"), and kept as their '#'-lists, so
// a window shows the results of that moment even after the calculation has
// traced other trees since.

#include <string>
#include <string_view>
#include <vector>

#include "draw/color.h"
#include "results/result_tables.h"

namespace kordavelt {

class CalcClass;
class modelClass;

// Rows per result table.
inline constexpr int kMaxResultRows = 10000;

// Every column of a result table is read-only.
inline const std::string kReadOnlyCodes(kMaxTableColumns - 1, 'Z');

class SnapshotTable : public ResultTable {
 public:
  explicit SnapshotTable(CalcClass& calc) : calc_(calc) {}

  // Brings the results up to date when the table reads them, then builds
  // the rows.
  bool Open(TableForm& form) final;
  void OnLine(TableForm& form) override;

 protected:
  // Sets the layout into `form` and adds the rows; false after the table's
  // message when there is nothing to show.
  virtual bool Build(TableForm& form) = 0;

  // Adds a row ('#'-list from column 0); false once the table is full.
  bool AddRow(std::string line);
  // A row on a light background of its own (text in the standard colour).
  bool AddRow(std::string line, Color background);
  int RowCount() const { return static_cast<int>(rows_.size()); }
  bool Full() const { return RowCount() >= kMaxResultRows; }

  CalcClass& Calc() { return calc_; }
  modelClass& Model();
  void ShowMessage(std::string_view caption, std::string_view text);

 private:
  struct Row {
    std::string line;
    Color background;
    bool tinted = false;
  };

  CalcClass& calc_;
  std::vector<Row> rows_;
};

// Cells of a row, each with its leading '#'.
std::string Cell(std::string_view text);
// A number in the program's number format.
std::string NumberCell(double x);
// A number in whole units (amperes, metres, degrees): rounded first.
std::string WholeCell(double x);
// "-" repeated `count` times, for values a row does not have.
std::string Dashes(int count);
// Empty cells.
std::string Blanks(int count);

}  // namespace kordavelt
