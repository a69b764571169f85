#pragma once

// The backup of a database file as the last good state: whether a file is
// sound enough to become one, and putting it back in place of a file whose
// writer died.

#include <string>

#include "storage/file_layer.h"

namespace kordavelt {

// The first problem the structural check finds in the file at `path` (the
// file's own header message when it is not a database at all); empty when
// the file is sound.
std::string FirstStructuralProblem(FileSystem& files, const std::string& path);
bool FileIsSound(FileSystem& files, const std::string& path);

// "<name>.interrupted.<ext>": where a file whose writer died is kept when
// its backup is put back, so that nothing written before the end is lost.
std::string InterruptedPathOf(const std::string& path);

// Puts the backup back in place of the file at `path`: the file is copied
// aside first (InterruptedPathOf), then replaced by a copy of the backup,
// which stays. At no moment is there no file at `path`. 0, or a negative
// error code (the file as it was).
int RestoreFromBackup(FileSystem& files, const std::string& path, const std::string& backup);

}  // namespace kordavelt
