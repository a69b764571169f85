#include "results/result_tables.h"

#include "results/cable_journal.h"
#include "results/cable_table.h"
#include "results/cell_table.h"
#include "results/consumer_table.h"
#include "results/heat_table.h"
#include "results/source_loads_table.h"
#include "results/tree_table.h"

namespace kordavelt {

std::unique_ptr<ResultTable> MakeResultTable(CalcClass& calc, std::string_view id, int argument) {
  if (id == "Rez") return std::make_unique<CableTable>(calc);
  if (id == "KJur") return std::make_unique<CableJournal>(calc);
  if (id == "Loads") return std::make_unique<SourceLoadsTable>(calc);
  if (id == "Potr") return std::make_unique<ConsumerTable>(calc);
  if (id == "Teplo") return std::make_unique<HeatTable>(calc);
  if (id == "Cells") return std::make_unique<CellTable>(calc, argument);
  if (id == "Tree") return std::make_unique<TreeTable>(calc, argument);
  return nullptr;
}

}  // namespace kordavelt
