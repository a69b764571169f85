#pragma once

// kordavelt-cli check FILE: every damage of a database file, one per line:
// the engine's (the index), then, for a model, the model's (model_check.h)
// and, for a reference book, the book's (book_check.h). Exit code 1 when
// there is any, 0 with a short line when there is none.

#include <string>
#include <vector>

#include "cli/cli_main.h"

namespace kordavelt {

int RunCheck(const std::vector<std::string>& args, const CliContext& context);

}  // namespace kordavelt
