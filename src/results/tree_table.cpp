#include "results/tree_table.h"

#include "base/number_format.h"
#include "calc/calc_class.h"
#include "model/element_rec.h"
#include "model/model_class.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "refbook/kind_names.h"
#include "results/network_names.h"
#include "ui/ui_host.h"

namespace kordavelt {

bool TreeTable::Build(TableForm& form) {
  form.caption = kCaption;
  form.name = "Tree";
  form.title = "Дерево от ИП №" + FormatNumber(source_);
  form.head1 = " № #_#Начало#Конец#Обозначение#Уровень#Объект";
  form.head2.clear();
  form.displayCodes = "CCCCLCL" + std::string(kMaxTableColumns - 8, 'C');
  CalcClass& calc = Calc();
  if (!calc.TraceTree(source_)) return false;
  tbClass* branches = Model().Branches();
  for (int i = 1; i <= calc.Count() && !Full(); ++i) {
    const ElementRec& e = calc.Element(i);
    const std::int32_t key = BranchKeyOf(e);
    std::int32_t keyEnd = 0;
    if (modelClass::SeekExact(branches, key)) keyEnd = BranchRec(branches->Record()).KeyEnd();
    const bool forward = e.signedKey > 0;
    AddRow(FormatNumber(i) + Cell(forward ? "+" : "-") + AppendCode(forward ? key : keyEnd, 8) +
           AppendCode(forward ? keyEnd : key, 8) + Cell(Designation(e)) + NumberCell(e.level) +
           Cell(KindName(e.kind)));
  }
  return true;
}

std::string TreeTable::Designation(const ElementRec& e) {
  modelClass& model = Model();
  const std::int32_t key = BranchKeyOf(e);
  if (e.kind == kKindPowerSource) {
    tbClass* objects = model.OpenObjectTable(kKindPowerSource);
    if (!modelClass::SeekExact(objects, key)) return {};
    const std::int32_t source = SourceObjectRec(objects->Record()).SourceNumber();
    if (!modelClass::SeekExact(model.Sources(), source)) return {};
    return SourceRec(model.Sources()->Record()).Marking();
  }
  if (e.kind == kKindReceiver) return ReceiverOfBranch(model, key).name;
  return MarkingText(model, key);
}

void ShowSourceTree(CalcClass& calc, int node) {
  modelClass& model = calc.Model();
  TreeTable table(calc, model.FeedingSourceOfNode(node));
  TableForm form;
  if (!table.Open(form)) return;
  model.Ui().ShowTableDialog(table, form, "Печать#Правка##Закрыть");
}

}  // namespace kordavelt
