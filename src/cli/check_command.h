#pragma once

// kordavelt-cli check FILE: every damage of a database file, one per line.
// Exit code 1 when there is any, 0 with a short line when there is none.

#include <string>
#include <vector>

#include "cli/cli_main.h"

namespace kordavelt {

int RunCheck(const std::vector<std::string>& args, const CliContext& context);

}  // namespace kordavelt
