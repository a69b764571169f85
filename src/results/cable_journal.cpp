#include "results/cable_journal.h"

#include "base/number_format.h"
#include "calc/calc_class.h"
#include "model/element_rec.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"
#include "results/connection_rows.h"
#include "results/line_catalogue.h"
#include "results/network_names.h"
#include "results/voltage_deviation.h"

namespace kordavelt {

bool CableJournal::Build(TableForm& form) {
  form.caption = kCaption;
  form.name = "KJur";
  form.head1 =
      " № #Откуда# Куда #Наименование#Кабель#Вид#Uном#Тип#Сечение и#N# L #Iдоп#Iдоп'#Iрасч.#dU";
  form.head2 =
      "   #      #      #потребителя #      #   # В  #   #число жил# # м # А  # А  #  А  # % ";
  form.fieldNames = "Nom#From#To#Name#Marka#Vid#Unom#Type#CrossSect#N#L#Idop#Idop1#Iras#dU";

  ForEachTracedSource(Calc(), [&](int source) {
    const Busbar busbar = SourceBusbar(source);
    for (int i = 2; i <= Calc().Count() && !Full(); ++i) {
      const ElementRec& e = Calc().Element(i);
      if (IsResultLineKind(e.kind)) AddRow(FormatNumber(RowCount() + 1) + RowText(e, busbar));
    }
  });
  if (RowCount() == 0) {
    ShowMessage(kCaption, "Нет ни кабелей ни ВЛ");
    return false;
  }
  return true;
}

CableJournal::Busbar CableJournal::SourceBusbar(int source) {
  tbClass* sources = Model().Sources();
  if (!modelClass::SeekExact(sources, source)) return {};
  const SourceRec record(sources->Record());
  return {NodeOfKey(record.BranchKey()), record.Marking()};
}

std::string CableJournal::RowText(const ElementRec& line, const Busbar& busbar) {
  modelClass& model = Model();
  std::string from = MarkingText(model, NodeMarkingCode(line.startNode));
  if (from.empty()) {
    from = line.startNode == busbar.node && !busbar.name.empty()
               ? busbar.name
               : NodeDesignation(model, line.startNode);
  }
  const ConnectionEnd end = EndOfConnection(model, line);
  std::string text = Cell(from) + Cell(end.name) +
                     Cell(end.terminal ? end.detail : RoomOfNode(model, line.endNode));

  const LineCatalogue catalogue = ReadLineCatalogue(model, line);
  text += Cell(BranchDesignation(model, BranchKeyOf(line))) + Cell(catalogue.laying);
  if (catalogue.found) {
    text += (catalogue.unomV > 0 ? WholeCell(catalogue.unomV) : Cell("")) +
            Cell(catalogue.typeName) + Cell(catalogue.conductors);
  } else {
    text += Cell("?") + Cell("?") + Cell("?");
  }
  text += NumberCell(catalogue.parallel) + NumberCell(catalogue.lengthM);
  text += catalogue.found ? WholeCell(catalogue.permissibleA) : Cell("?");
  text += WholeCell(line.iPermissible) + WholeCell(line.checkCurrent);
  text += WorkingDeviationCell(line);
  return text;
}

}  // namespace kordavelt
