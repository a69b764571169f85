#pragma once

// The network calculation from the command line:
//   kordavelt-cli calc MODEL.LVN [options]
//       calculates the whole network, prints the status line and, with
//       --table, one result table (aligned text, or an exchange file);
//   kordavelt-cli elements MODEL.LVN [options]
//       calculates, then writes one JSON object per line for every element
//       of every source's traced tree.
// The options are those of calc_options.h. Exit codes: 0 when every step
// went through, 1 when the calculation or the table reported a problem (or
// no source was calculated), 2 for bad arguments or a model that does not
// open. Without --choice the model file is never written.

#include <string>
#include <vector>

#include "cli/cli_main.h"

namespace kordavelt {

int RunCalc(const std::vector<std::string>& args, const CliContext& context);
int RunElements(const std::vector<std::string>& args, const CliContext& context);

}  // namespace kordavelt
