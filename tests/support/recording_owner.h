#pragma once

// A table owner for tests of the table window and its driver: rows kept as
// '#'-lists, every callback recorded.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ui/table_owner.h"

namespace kordavelt::testing {

// Rows kept as '#'-lists; records every callback.
class RecordingOwner : public TableOwner {
 public:
  std::vector<std::string> rows;
  std::string rowCodes;  // when set, OnLine gives these edit letters
  bool withEdit = true;
  bool withPaste = true;
  std::vector<std::string> columnLists;       // when set, OnLine gives the current column's list
  std::function<void(TableForm&)> afterEdit;  // runs at the end of OnEdit
  std::function<void(TableForm&)> colours;    // when set, OnLine lets it colour the row

  struct Edit {
    int row, col;
    std::string text;
    std::int32_t integer;
    double real;
  };
  std::vector<Edit> edits;
  std::vector<int> deleted;
  std::vector<std::pair<std::string, LineContext>> pasted;
  std::vector<LineContext> lineContexts;
  std::vector<std::string> readOnlyEdits;  // values typed into read-only cells

  void OnLine(TableForm& form) override {
    lineContexts.push_back(form.context);
    const int index = form.lineNo - 1;
    form.line = index >= 0 && index < static_cast<int>(rows.size()) ? rows[index] : "";
    if (!rowCodes.empty()) form.editCodes = rowCodes;
    if (form.curCol >= 0 && form.curCol < static_cast<int>(columnLists.size()))
      form.listItems = columnLists[form.curCol];
    if (colours) colours(form);
  }
  bool HasEdit() const override { return withEdit; }
  void OnEdit(TableForm& form) override {
    edits.push_back({form.curRow, form.curCol, form.editText, form.editInt, form.editReal});
    if (afterEdit) afterEdit(form);
  }
  void OnReadOnlyEdit(TableForm& form) override { readOnlyEdits.push_back(form.editText); }
  void OnDelete(TableForm& form) override { deleted.push_back(form.curRow); }
  void OnCopyLine(TableForm& form) override { form.line += "#скрыто"; }
  bool HasPasteLine() const override { return withPaste; }
  void OnPasteLine(TableForm& form) override { pasted.emplace_back(form.line, form.context); }
};

}  // namespace kordavelt::testing
