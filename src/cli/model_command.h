#pragma once

// Repairing and packing a model from the command line:
//   kordavelt-cli restore MODEL.LVN [--delete-hidden]
//       the repair of the model's tables ("Восстановление"); with
//       --delete-hidden the branches and nodes the scheme does not show are
//       deleted as well;
//   kordavelt-cli pack MODEL.LVN [OUT.LVN]
//       a packed copy of the model, "<name>!.LVN" unless OUT is given.
// The model's backup "<name>.~LVN" is taken at the open, as the program does.

#include <string>
#include <vector>

#include "cli/cli_main.h"

namespace kordavelt {

int RunRestore(const std::vector<std::string>& args, const CliContext& context);
int RunPack(const std::vector<std::string>& args, const CliContext& context);

}  // namespace kordavelt
