#pragma once

// The result tables of the network calculation, as owners on the table
// protocol: the window of results, the command line and the tests open them
// alike.
//
//   auto table = MakeResultTable(calc, "Rez");
//   TableForm form;
//   if (table && table->Open(form)) ... form.rowCount rows through OnLine ...
//
// Identifiers: "Rez" (cables and protective devices), "KJur" (cable
// journal), "Loads" (loads of the power sources), "Potr" (coordinates of the
// consumers), "Teplo" (heat release), "Cells" (cell filling of node
// `argument`), "Tree" (the traced tree of source `argument`).

#include <memory>
#include <string_view>

#include "ui/table_owner.h"

namespace kordavelt {

class CalcClass;

class ResultTable : public TableOwner {
 public:
  // Builds the rows (running a full calculation first when the results are
  // out of date) and sets the layout into `form`. False, after the table's
  // message has been shown, when there is nothing to show.
  virtual bool Open(TableForm& form) = 0;
  // False for tables that read no calculation results: they can be built
  // again at any time without a calculation.
  virtual bool NeedsResults() const { return true; }
};

// The table named `id`; null for an unknown identifier.
std::unique_ptr<ResultTable> MakeResultTable(CalcClass& calc, std::string_view id,
                                             int argument = 0);

}  // namespace kordavelt
