#include "cli/check_command.h"

#include "storage/db_reader.h"

namespace kordavelt {

int RunCheck(const std::vector<std::string>& args, const CliContext& context) {
  if (args.size() != 1) return UsageError(context, "команде check нужен один файл");
  const std::string& path = args.front();
  if (path.starts_with("--")) return UsageError(context, "неизвестный ключ «" + path + "»");

  const auto file = OpenDatabaseFile(path, context);
  if (file == nullptr) return kExitUsage;
  DbReader reader(*file, FileKindFromPath(path));
  const std::vector<DbProblem> problems = reader.Check();
  if (problems.empty()) {
    context.out << path << ": ошибок не найдено\n";
    return kExitOk;
  }
  for (const DbProblem& problem : problems) context.out << problem.text << '\n';
  context.out << path << ": найдено ошибок: " << problems.size() << '\n';
  return kExitProblems;
}

}  // namespace kordavelt
