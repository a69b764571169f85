#include "results/cable_table.h"

#include <vector>

#include "base/number_format.h"
#include "calc/calc_class.h"
#include "calc/element_checks.h"
#include "model/element_rec.h"
#include "model/model_class.h"
#include "refbook/kind_names.h"
#include "results/device_cells.h"
#include "results/line_catalogue.h"
#include "results/network_names.h"
#include "results/voltage_deviation.h"

namespace kordavelt {
namespace {

constexpr int kColumns = 36;

// Conductor temperatures at disconnection above these show as the limits
// they exceed: the limit at the start of the main protection's zone, and the
// limit under the backup protection.
constexpr double kMainLimitShownAbove = 260;
constexpr double kBackupLimitShownAbove = 370;

std::string TemperatureCell(double celsius, double shownAbove, const char* limitText) {
  return celsius > shownAbove ? Cell(limitText) : WholeCell(celsius);
}

// The cable's type, Iдоп, Kп, Iдоп' and length.
std::string CableCells(modelClass& model, const ElementRec* line) {
  if (line == nullptr) return Dashes(5);
  const LineCatalogue catalogue = ReadLineCatalogue(model, *line);
  std::string cells;
  if (catalogue.found) {
    const double rated = catalogue.permissibleA;
    cells = Cell(catalogue.designation) + WholeCell(rated) +
            (rated > 0 ? NumberCell(line->iPermissible / rated) : Dashes(1)) +
            WholeCell(line->iPermissible);
  } else {
    cells = Cell("?") + Dashes(3);
  }
  return cells + NumberCell(catalogue.lengthM);
}

// I″ along the cable, the protection times and temperatures at its start,
// thermal point and end.
std::string AlongCableCells(const ElementRec* line) {
  if (line == nullptr) return Dashes(9);
  std::string cells;
  for (const float current : line->ikMaxAlong) cells += NumberCell(current);
  for (const int point : {0, 2, 3}) cells += NumberCell(line->tProtect[point]);
  cells += TemperatureCell(line->tempProtect[0], kMainLimitShownAbove, ">250");
  cells += TemperatureCell(line->tempProtect[2], kBackupLimitShownAbove, ">350");
  cells += TemperatureCell(line->tempProtect[3], kBackupLimitShownAbove, ">350");
  return cells;
}

// The codes of the conditions the row's device or line violates
// ("Iдоп!Кч1ф!"), so that the table shows what the checks found.
std::string ViolationCell(const ConnectionRow& row) {
  std::uint32_t violations = 0;
  if (row.device != nullptr) violations |= row.device->violations;
  if (row.line != nullptr) violations |= row.line->violations;
  const std::string codes = ViolationText(violations);
  return Cell(codes.empty() ? codes : codes.substr(1));
}

std::string MinimumCurrentCells(const ElementRec* device) {
  if (device == nullptr) return Dashes(3);
  std::string cells;
  for (const float current : device->ikMin) cells += NumberCell(current);
  return cells;
}

}  // namespace

bool CableTable::Build(TableForm& form) {
  form.caption = kCaption;
  form.name = "Rez";
  form.head1 =
      " № #Шины#Присое-#Потре-#Наименование#Рном#Iрасч#Iпуск#Тип защитного#    Тип    # Iр # Im # "
      "tm #Iотс#I\"авт#i уд#Тип кабеля#Iдоп# Kп #Iдоп'# L #dUр#dUп#I\"нк#I\"ск#I\"кк#tо нк#tр "
      "ск#tр кк#T нк#T ск#T кк#Iкmin1#Iкmin2#Iкmin3#Нарушения";
  form.head2 =
      "   #    #динение#битель#            #кВт #  А  #  А  #  аппарата   #расцепителя#  А #  А # "
      "c  # А  # кА  # кА #          # А  #    #  А  # м # % # % # кА # кА # кА #  c  # с  #  с  # "
      "°С # °С # °С  #  кА  #  кА  #  кА  #         ";

  std::vector<ConnectionRow> rows;
  ForEachTracedSource(Calc(), [&](int) {
    // Rows are formatted while their source's tree is traced.
    const std::size_t first = rows.size();
    PairConnections(Calc(), rows);
    for (std::size_t r = first; r < rows.size(); ++r) {
      AddRow(RowText(static_cast<int>(r) + 1, rows[r]));
    }
  });
  if (RowCount() == 0) {
    ShowMessage(kCaption, "Нет ни кабелей ни автоматов");
    return false;
  }
  return true;
}

std::string CableTable::RowText(int number, const ConnectionRow& row) {
  modelClass& model = Model();
  std::string text = FormatNumber(number);
  const ElementRec* e = row.device != nullptr ? row.device : row.line;
  if (e == nullptr)
    return text + Cell("нет") + Cell("ни кабеля") + Cell("ни аппарата") + Blanks(kColumns - 4);

  text += Cell(NodeDesignation(model, row.startNode));
  text += Cell(BranchDesignation(model, BranchKeyOf(*e)));
  const ConnectionEnd end = EndOfConnection(model, *e);
  text += Cell(end.name) + Cell(end.terminal ? end.detail : KindName(e->endKind));
  text += NumberCell(e->installedPower) + WholeCell(e->checkCurrent) + WholeCell(e->checkCompanion);
  text += DeviceCells(model, row.device);
  text += CableCells(model, row.line);
  text += WorkingDeviationCell(*e) + StartingDeviationCell(*e);
  text += AlongCableCells(row.line);
  text += MinimumCurrentCells(row.device);
  text += ViolationCell(row);
  return text;
}

}  // namespace kordavelt
