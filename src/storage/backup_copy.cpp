#include "storage/backup_copy.h"

#include "storage/db_reader.h"
#include "storage/file_errors.h"
#include "storage/file_path.h"
#include "storage/file_replace.h"

namespace kordavelt {

std::string FirstStructuralProblem(FileSystem& files, const std::string& path) {
  std::unique_ptr<RandomAccessFile> file = files.Open(path, OpenMode::ReadOnly);
  if (file == nullptr) {
    const int error = files.AccessError(path, OpenMode::ReadOnly);
    return FileErrorText(error != 0 ? error : -EIO);
  }
  DbReader reader(*file, std::nullopt);
  const std::vector<DbProblem> problems = reader.Check();
  return problems.empty() ? std::string() : problems.front().text;
}

bool FileIsSound(FileSystem& files, const std::string& path) {
  return files.Exists(path) && FirstStructuralProblem(files, path).empty();
}

std::string InterruptedPathOf(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < FileNameStart(path)) return path + ".interrupted";
  return path.substr(0, dot) + ".interrupted" + path.substr(dot);
}

int RestoreFromBackup(FileSystem& files, const std::string& path, const std::string& backup) {
  if (files.Exists(path)) {
    if (const int error = ReplaceFileByCopy(files, path, InterruptedPathOf(path)); error != 0) {
      return error;
    }
  }
  return ReplaceFileByCopy(files, backup, path);
}

}  // namespace kordavelt
