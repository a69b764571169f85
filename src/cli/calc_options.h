#pragma once

// The options of `kordavelt-cli calc` and `kordavelt-cli elements`:
//
//   MODEL                 the model file (one, required)
//   --book BOOK           the reference book, looked for as by the model's own
//                         settings with BOOK's folder taken as the program's
//   --regime N            regime N (1 … 8, as the table of regimes numbers
//                         them) is the current one for the run
//   --choice              the calculation with the automatic equipment choice
//   --set OFFSET=VALUE    a settings value for this run (repeatable)
//   --out FILE            the table or listing into FILE instead of the output
// and, for calc only:
//   --table ID[:N]        Rez, KJur, Loads, Potr, Teplo, Tree[:source] (1 by
//                         default) or Cells:node (its number or designation);
//                         an unknown table is refused with one line naming
//                         the known ones
//   --format F            text (default), csv, txt or xml
//   --variant N           the exchange file variant 1 … 7 itself
//   --separator C, --quotes   the CSV separator and quoting
// Anything else is a usage error.

#include <optional>
#include <string>
#include <vector>

#include "cli/cli_main.h"
#include "cli/setting_override.h"
#include "exchange/export_variant.h"

namespace kordavelt {

struct CalcOptions {
  std::string model;
  std::string book;
  std::optional<int> regime;  // 0 … 7
  bool choice = false;
  std::vector<SettingOverride> settings;
  std::string out;

  std::string table;  // empty: no table
  int tableArgument = 0;
  // Cells:DESIGNATION: the node, found by its designation once the model is
  // open (tableArgument is then 0).
  std::string tableNode;
  // nullopt: the aligned text table; otherwise the exchange file variant.
  std::optional<ExportVariant> variant;
  CsvOptions csv;
};

// The options of `args`; nullopt after the usage message, with `exitCode`
// set. `elements` refuses the table options.
std::optional<CalcOptions> ParseCalcOptions(const std::vector<std::string>& args, bool elements,
                                            const CliContext& context, int& exitCode);

}  // namespace kordavelt
