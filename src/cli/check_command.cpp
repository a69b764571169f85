#include "cli/check_command.h"

#include "cli/book_check.h"
#include "cli/write_session.h"
#include "model/model_check.h"
#include "storage/db_reader.h"
#include "storage/file_path.h"
#include "storage/writer_mark.h"

namespace kordavelt {
namespace {

// The engine's problems of the file, then those of the model or the book its
// signature names.
std::vector<DbProblem> CheckFile(DbReader& reader) {
  std::vector<DbProblem> problems = reader.Check();
  std::vector<DbProblem> own;
  if (reader.Kind() == db::FileKind::Model) own = CheckModelTables(reader);
  if (reader.Kind() == db::FileKind::ReferenceBook) own = CheckBookTables(reader);
  problems.insert(problems.end(), own.begin(), own.end());
  return problems;
}

// What the writer mark says of the file: a writer that died while it wrote
// leaves a file that may hold half its changes, whatever its structure
// says; one that writes now may change it under the check.
void CheckWriter(const std::string& path, const CliContext& context,
                 std::vector<DbProblem>& problems) {
  const WriterStatus status = ProbeWriter(context.files, path);
  const std::optional<db::FileKind> kind = FileKindFromPath(path);
  if (status.state == WriterState::Interrupted) {
    const std::string backup =
        kind ? BackupPathOf(path, db::ExtensionOf(*kind)) : std::string("его копия");
    const std::string text = InterruptedWriteText(path, backup, status.writer);
    std::string line = text;
    for (char& c : line) {
      if (c == '#') c = ' ';
    }
    problems.insert(problems.begin(), {0, line});
  } else if (status.state == WriterState::Live && status.writer.writing) {
    const std::string who = DescribeWriter(status.writer);
    context.ui.ShowInfo(path, "Файл открыт для записи другой программой" +
                                  (who.empty() ? "" : " (" + who + ")") +
                                  " и может меняться во время проверки");
  }
}

}  // namespace

int RunCheck(const std::vector<std::string>& args, const CliContext& context) {
  if (args.size() != 1) return UsageError(context, "команде check нужен один файл");
  const std::string& path = args.front();
  if (path.starts_with("--")) return UsageError(context, "неизвестный ключ «" + path + "»");

  const auto file = OpenDatabaseFile(path, context);
  if (file == nullptr) return kExitUsage;
  DbReader reader(*file, FileKindFromPath(path));
  std::vector<DbProblem> problems = CheckFile(reader);
  CheckWriter(path, context, problems);
  if (problems.empty()) {
    context.out << path << ": ошибок не найдено\n";
    return kExitOk;
  }
  for (const DbProblem& problem : problems) context.out << problem.text << '\n';
  context.out << path << ": найдено ошибок: " << problems.size() << '\n';
  return kExitProblems;
}

}  // namespace kordavelt
