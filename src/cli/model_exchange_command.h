#pragma once

// A whole model moved through an exchange file from the command line:
//   kordavelt-cli import-model MODEL.LVN FILE [--book BOOK.SPR] [--separator C]
//       the rows of FILE (CSV, TXT or XML by its extension) merged into the
//       model, which is created when it does not exist;
//   kordavelt-cli export-model MODEL.LVN OUT [--variant N] [--separator C] [--quotes]
//                                            [--book BOOK.SPR]
//       every section of the model written to OUT (variant 1 … 7, CSV by default).
// The model's reference book is looked for beside the model; --book (an
// existing book) names the book a new model uses and the folder searched next.

#include <string>
#include <vector>

#include "cli/cli_main.h"

namespace kordavelt {

int RunImportModel(const std::vector<std::string>& args, const CliContext& context);
int RunExportModel(const std::vector<std::string>& args, const CliContext& context);

}  // namespace kordavelt
