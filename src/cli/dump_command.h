#pragma once

// kordavelt-cli dump FILE [--table T [--hex]]: the table list of a database
// file, or the records of one table (in a model or reference-book file
// decoded field by field where the layout is known, else key and data in
// hexadecimal), or the bytes of one raw block. Exit code 1 when the file is
// damaged where it was read.

#include <string>
#include <vector>

#include "cli/cli_main.h"

namespace kordavelt {

int RunDump(const std::vector<std::string>& args, const CliContext& context);

}  // namespace kordavelt
