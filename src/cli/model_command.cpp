#include "cli/model_command.h"

#include <optional>

#include "cli/console_ui_host.h"
#include "model/model_class.h"
#include "storage/file_path.h"
#include "table/number_format.h"

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

// The model opened with its tables; nullopt-like false after a message.
bool OpenModel(modelClass& model, const std::string& path, const CliContext& context) {
  if (!context.files.Exists(path)) {
    context.ui.ShowError(path, "Файл не найден");
    return false;
  }
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

std::string Counts(modelClass& model) {
  return "узлов " + FormatNumber(model.Nodes()->Count()) + ", ветвей " +
         FormatNumber(model.Branches()->Count());
}

}  // namespace

int RunRestore(const std::vector<std::string>& args, const CliContext& context) {
  std::vector<std::string> files;
  bool deleteHidden = false;
  for (const std::string& arg : args) {
    if (arg == "--delete-hidden") {
      deleteHidden = true;
    } else if (arg.starts_with("--")) {
      return UsageError(context, "неверный ключ «" + arg + "»");
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 1) return UsageError(context, "нужен один файл модели");

  CommandUiHost ui(context.err, deleteHidden, {});
  // A reference book missing beside the model is created there, never elsewhere.
  modelClass model(ui, context.files, FolderOf(files[0]) + "kordavelt-cli");
  if (!OpenModel(model, files[0], context)) return kExitUsage;
  const std::string before = Counts(model);
  model.Restore();
  context.out << files[0] << ": восстановление выполнено; было " << before << ", стало "
              << Counts(model) << "\n";
  model.SetAskToSave(false);
  return model.CloseFile() ? kExitOk : kExitProblems;
}

int RunPack(const std::vector<std::string>& args, const CliContext& context) {
  for (const std::string& arg : args) {
    if (arg.starts_with("--")) return UsageError(context, "неверный ключ «" + arg + "»");
  }
  if (args.empty() || args.size() > 2) {
    return UsageError(context, "нужен файл модели и, если нужно, имя упакованной копии");
  }
  CommandUiHost ui(context.err, false, args.size() == 2 ? args[1] : std::string());
  modelClass model(ui, context.files, FolderOf(args[0]) + "kordavelt-cli");
  if (!OpenModel(model, args[0], context)) return kExitUsage;
  const bool packed = model.PackFile();
  const std::string result = model.FileName();
  if (model.IsOpen()) {
    model.SetAskToSave(false);
    model.CloseFile();
  }
  if (!packed) return kExitProblems;
  context.out << args[0] << ": упакованная копия " << result << "\n";
  return kExitOk;
}

}  // namespace kordavelt
