#include "cli/model_exchange_command.h"

#include <optional>

#include "cli/exchange_options.h"
#include "exchange/get_class.h"
#include "exchange/put_class.h"
#include "model/model_class.h"
#include "model/model_export.h"
#include "model/model_import.h"
#include "refbook/book_exchange.h"
#include "storage/file_path.h"

namespace kordavelt {
namespace {

std::optional<ExchangeOptions> ParseOptions(const std::vector<std::string>& args, bool exporting,
                                            const CliContext& context, int& exitCode) {
  std::optional<ExchangeOptions> parsed =
      ParseExchangeOptions(args, exporting, true, context, exitCode);
  if (!parsed) return std::nullopt;
  ExchangeOptions& options = *parsed;
  if (options.files.size() != 2) {
    exitCode = UsageError(context, "нужны два файла: модель и файл обмена");
    return std::nullopt;
  }
  // A book that is not there would be replaced by an empty one of another name.
  if (!options.book.empty() && !context.files.Exists(options.book)) {
    context.ui.ShowError(options.book, "Файл не найден");
    exitCode = kExitUsage;
    return std::nullopt;
  }
  return parsed;
}

// Opens (or creates) the model with its tables; false after a message.
bool OpenModel(modelClass& model, const std::string& path, bool create, const CliContext& context) {
  model.SetFileName(path);
  if (!context.files.Exists(path)) {
    if (!create) {
      context.ui.ShowError(path, "Файл не найден");
      return false;
    }
    if (!model.CreateFile()) return false;
  }
  if (!model.OpenFile()) return false;
  if (!model.Usable()) {
    context.ui.ShowError(path, "Таблицы модели не открываются");
    model.SetAskToSave(false);
    model.CloseFile();
    return false;
  }
  return true;
}

// The model's book is looked for beside the model, then in the folder of
// --book: the program's folder, as far as the model can tell.
std::string ProgramPath(const ExchangeOptions& options) {
  return FolderOf(options.book.empty() ? options.files[0] : options.book) + "kordavelt-cli";
}

void CloseModel(modelClass& model) {
  model.SetAskToSave(false);
  model.CloseFile();
}

}  // namespace

int RunImportModel(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  const std::optional<ExchangeOptions> options = ParseOptions(args, false, context, exitCode);
  if (!options) return exitCode;
  const std::string& modelPath = options->files[0];
  const std::string& filePath = options->files[1];
  if (!context.files.Exists(filePath)) {
    context.ui.ShowError(filePath, "Файл не найден");
    return kExitUsage;
  }

  modelClass model(context.ui, context.files, ProgramPath(*options));
  if (!options->book.empty()) {
    const std::string bookName = FileNameOf(options->book);
    model.OnGeneralProperties = [bookName](modelClass& created) {
      created.Settings().SetReferenceBookName(bookName);
      created.WriteSettings();
    };
  }
  if (!OpenModel(model, modelPath, true, context)) return kExitUsage;

  GetClass file(context.ui, context.files, options->csv.separator);
  if (!file.OpenPath(filePath, ImportVariantOfPath(filePath))) {
    CloseModel(model);
    return kExitProblems;
  }
  const ModelImportCounts counts = ReadModel(model, file);
  const bool failed = file.Failed();
  CloseModel(model);
  context.out << modelPath << ": строк принято " << counts.applied << ", пропущено "
              << counts.skipped << '\n';
  return failed ? kExitProblems : kExitOk;
}

int RunExportModel(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  const std::optional<ExchangeOptions> options = ParseOptions(args, true, context, exitCode);
  if (!options) return exitCode;
  const std::string& modelPath = options->files[0];
  const std::string& outPath = options->files[1];

  modelClass model(context.ui, context.files, ProgramPath(*options));
  if (!OpenModel(model, modelPath, false, context)) return kExitUsage;
  PutClass put(context.ui, context.files, options->csv);
  bool written = put.OpenPath(outPath, ExportVariantFromIndex(options->variant), false);
  if (written) written = WriteModel(model, put);
  if (put.IsOpen() && !put.Close()) written = false;
  CloseModel(model);
  if (!written) return kExitProblems;
  context.out << outPath << ": модель выгружена\n";
  return kExitOk;
}

}  // namespace kordavelt
