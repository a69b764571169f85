#include "cli/model_command.h"

#include <optional>

#include "base/number_format.h"
#include "cli/console_ui_host.h"
#include "cli/write_session.h"
#include "model/model_class.h"
#include "storage/backup_copy.h"
#include "storage/db_reader.h"
#include "storage/file_errors.h"
#include "storage/file_path.h"
#include "storage/file_replace.h"

namespace kordavelt {
namespace {

// The console's answers, except for the two questions these commands answer
// from their arguments: deleting the hidden elements, and the packed copy's name.
class CommandUiHost : public ConsoleUiHost {
 public:
  CommandUiHost(std::ostream& err, bool deleteHidden, std::string packTarget)
      : ConsoleUiHost(err), deleteHidden_(deleteHidden), packTarget_(std::move(packTarget)) {}

  int ShowDialog(std::string_view caption, std::string_view text, std::string_view buttons,
                 IconKind icon) override {
    if (deleteHidden_ && caption == "Восстановление") return kFirstButton;
    return ConsoleUiHost::ShowDialog(caption, text, buttons, icon);
  }

  std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override {
    return packTarget_.empty() ? request.initialPath : packTarget_;
  }

 private:
  bool deleteHidden_;
  std::string packTarget_;
};

// The model opened with its tables; false after a message.
bool OpenModel(modelClass& model, const std::string& path, const CliContext& context) {
  if (!CheckReadable(path, context)) return false;
  model.SetFileName(path);
  if (!model.OpenFile()) return false;
  if (!model.Usable()) {
    context.ui.ShowError(path, "Таблицы модели не открываются");
    model.SetAskToSave(false);
    model.CloseFile();
    return false;
  }
  return true;
}

// Closes the model; true when every change reached the file in memory.
bool CloseModel(modelClass& model) {
  model.SetAskToSave(false);
  const bool closed = !model.IsOpen() || model.CloseFile();
  return closed && !model.IoFailed();
}

std::string Counts(modelClass& model) {
  return "узлов " + FormatNumber(model.Nodes()->Count()) + ", ветвей " +
         FormatNumber(model.Branches()->Count());
}

// The problems of a model image, as `check` lists them.
std::vector<std::string> ProblemsOf(const std::vector<std::uint8_t>& contents) {
  std::vector<std::string> texts;
  for (const DbProblem& problem : ProblemsOfImage(contents)) texts.push_back(problem.text);
  return texts;
}

void ShowProblems(const CliContext& context, const std::vector<std::string>& problems) {
  for (const std::string& problem : problems) context.err << problem << '\n';
}

// restore --from-backup: the last good state put back in place of the model.
int RestoreFromBackup(const std::string& path, const CliContext& context) {
  WriteSession session(context, path, db::kModelExtension);
  const unsigned options = WriteSession::kAcceptDamaged | WriteSession::kAcceptInterrupted;
  if (!session.Begin(options)) return session.ExitCode();
  std::vector<std::uint8_t> backup;
  if (const int error = ReadWholeFile(context.files, session.BackupPath(), backup); error != 0) {
    context.ui.ShowError(session.BackupPath(),
                         "Копия не читается: " + FileErrorText(error) + "#Модель не изменена.");
    return kExitProblems;
  }
  const std::vector<std::string> problems = ProblemsOf(backup);
  if (!problems.empty()) {
    ShowProblems(context, problems);
    context.ui.ShowError(session.BackupPath(), "Копия повреждена#Модель не изменена.");
    return kExitProblems;
  }
  const bool interrupted = session.FoundInterrupted();
  if (!session.Commit(backup)) return session.ExitCode();
  context.out << path << ": модель возвращена к копии " << session.BackupPath();
  if (interrupted) context.out << "; прерванный файл сохранён как " << InterruptedPathOf(path);
  context.out << "\n";
  return kExitOk;
}

}  // namespace

int RunRestore(const std::vector<std::string>& args, const CliContext& context) {
  std::vector<std::string> files;
  bool deleteHidden = false;
  bool fromBackup = false;
  for (const std::string& arg : args) {
    if (arg == "--delete-hidden") {
      deleteHidden = true;
    } else if (arg == "--from-backup") {
      fromBackup = true;
    } else if (arg.starts_with("--")) {
      return UsageError(context, "неверный ключ «" + arg + "»");
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 1) return UsageError(context, "нужен один файл модели");
  if (fromBackup && deleteHidden) {
    return UsageError(context, "--from-backup и --delete-hidden не сочетаются");
  }
  const std::string& path = files[0];
  if (fromBackup) return RestoreFromBackup(path, context);

  // The repair works on the model in memory and is written only when the
  // repaired model passes the check.
  WriteSession session(context, path, db::kModelExtension);
  if (!session.Begin(WriteSession::kAcceptDamaged)) return session.ExitCode();
  CommandUiHost ui(context.err, deleteHidden, {});
  modelClass model(ui, session.Files(), FolderOf(path) + "kordavelt-cli");
  if (!OpenModel(model, path, context)) {
    context.ui.ShowError(path,
                         "Модель не восстановлена и не изменена.#Вернуть её последнее целое "
                         "состояние: " +
                             std::string(kCliName) + " restore " + path + " --from-backup");
    return kExitProblems;
  }
  const std::string before = Counts(model);
  model.Restore();
  const std::string after = Counts(model);
  if (!CloseModel(model)) {
    context.ui.ShowError(path, "Модель не восстановлена и не изменена");
    return kExitProblems;
  }
  const std::vector<std::string> problems = ProblemsOf(*session.Files().Contents(path));
  if (!problems.empty()) {
    ShowProblems(context, problems);
    context.ui.ShowError(path,
                         "После восстановления модель по-прежнему не проходит проверку; "
                         "она не изменена.#Вернуть её последнее целое состояние: " +
                             std::string(kCliName) + " restore " + path + " --from-backup");
    return kExitProblems;
  }
  if (!session.Commit()) return session.ExitCode();
  context.out << path << ": восстановление выполнено; было " << before << ", стало " << after
              << "\n";
  return kExitOk;
}

int RunPack(const std::vector<std::string>& args, const CliContext& context) {
  for (const std::string& arg : args) {
    if (arg.starts_with("--")) return UsageError(context, "неверный ключ «" + arg + "»");
  }
  if (args.empty() || args.size() > 2) {
    return UsageError(context, "нужен файл модели и, если нужно, имя упакованной копии");
  }
  const std::string& source = args[0];
  CommandUiHost ui(context.err, false, args.size() == 2 ? args[1] : std::string());
  // The model is only read; the packed copy is made in memory and written
  // whole in place of the target.
  const std::string target =
      args.size() == 2 ? args[1] : dbfClass::PackedNameOf(source, db::kModelExtension);
  if (target == source) return UsageError(context, "упакованная копия не может заменить модель");
  WriteSession session(context, target, db::kModelExtension);
  if (!session.Begin(WriteSession::kMayCreate | WriteSession::kAcceptDamaged)) {
    return session.ExitCode();
  }
  modelClass model(ui, session.Files(), FolderOf(source) + "kordavelt-cli");
  if (!OpenModel(model, source, context)) return kExitUsage;
  // What the open itself changed stays in memory: no question at the close.
  model.SetAskToSave(false);
  const bool packed = model.PackFile();
  const bool closed = CloseModel(model);
  if (!packed || !closed) {
    context.ui.ShowError(target, "Упакованная копия не записана");
    return kExitProblems;
  }
  if (!session.Commit()) return session.ExitCode();
  context.out << source << ": упакованная копия " << target << "\n";
  return kExitOk;
}

}  // namespace kordavelt
