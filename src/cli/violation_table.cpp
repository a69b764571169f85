#include "cli/violation_table.h"

#include <cstdint>

#include "calc/calc_class.h"
#include "calc/element_checks.h"
#include "model/model_records.h"
#include "model/source_numbers.h"
#include "refbook/kind_names.h"
#include "results/network_names.h"
#include "storage/tb_class.h"

namespace kordavelt {

bool ViolationTable::Open(CalcClass& calc, TableForm& form) {
  rows_.clear();
  modelClass& model = calc.Model();
  tbClass* sources = model.Sources();
  for (const int source : SourceNumbers(model)) {
    if (!modelClass::SeekExact(sources, source) || SourceRec(sources->Record()).Calculated() == 0 ||
        !calc.TraceTree(source)) {
      continue;
    }
    for (int i = 1; i <= calc.Count(); ++i) {
      const ElementRec& e = calc.Element(i);
      if (e.violations == 0) continue;
      const std::string codes = ViolationText(e.violations);
      rows_.push_back(std::to_string(rows_.size() + 1) + '#' + std::to_string(source) + '#' +
                      BranchDesignation(model, BranchKeyOf(e)) + '#' + KindName(e.kind) + '#' +
                      codes.substr(1));
    }
  }
  form.caption = "Нарушения";
  form.name = "Violations";
  form.head1 = " № #ИП#Присоединение#Объект#Нарушения";
  form.head2.clear();
  form.displayCodes = "CCLLL";
  form.rowCount = static_cast<int>(rows_.size());
  return !rows_.empty();
}

void ViolationTable::OnLine(TableForm& form) {
  const int row = form.lineNo;
  form.line = row >= 1 && row <= static_cast<int>(rows_.size()) ? rows_[row - 1] : std::string();
}

}  // namespace kordavelt
