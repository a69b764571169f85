#pragma once

// Repairing and packing a model from the command line:
//   kordavelt-cli restore MODEL.LVN [--delete-hidden]
//       the repair of the model's tables ("Восстановление"); with
//       --delete-hidden the branches and nodes the scheme does not show are
//       deleted as well; written only when the repaired model passes the
//       check;
//   kordavelt-cli restore MODEL.LVN --from-backup
//       the model's backup "<name>.~LVN" (its last good state) put back in
//       its place; a model whose writer died is kept as
//       "<name>.interrupted.LVN";
//   kordavelt-cli pack MODEL.LVN [OUT.LVN]
//       a packed copy of the model, "<name>!.LVN" unless OUT is given; the
//       model itself is only read.
// A command that changes a file changes it all or nothing (write_session.h);
// the state before it stays as the backup.

#include <string>
#include <vector>

#include "cli/cli_main.h"

namespace kordavelt {

int RunRestore(const std::vector<std::string>& args, const CliContext& context);
int RunPack(const std::vector<std::string>& args, const CliContext& context);

}  // namespace kordavelt
