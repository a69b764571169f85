#pragma once

// The reference book's exchange files from the command line:
//   kordavelt-cli import-book BOOK.SPR FILE... [--separator C] [--append-duplicates]
//       adds every type of the files' sections to the book (created when
//       absent), file after file; types the book holds already are skipped
//       unless --append-duplicates; a file with a refused cell adds nothing,
//       its problems go to the error stream and the exit code is 1;
//   kordavelt-cli export-book BOOK.SPR OUT [--variant N] [--separator C] [--quotes]
//       writes every category that has types into OUT (variant 1 … 7 of
//       the table export, CSV by default).

#include <string>
#include <vector>

#include "cli/cli_main.h"

namespace kordavelt {

int RunImportBook(const std::vector<std::string>& args, const CliContext& context);
int RunExportBook(const std::vector<std::string>& args, const CliContext& context);

}  // namespace kordavelt
