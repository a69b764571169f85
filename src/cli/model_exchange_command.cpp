#include "cli/model_exchange_command.h"

#include <optional>

#include "cli/exchange_options.h"
#include "cli/scratch_file_system.h"
#include "cli/write_session.h"
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
  if (!options.book.empty() && !CheckReadable(options.book, context)) {
    exitCode = kExitUsage;
    return std::nullopt;
  }
  return parsed;
}

// Opens (or creates) the model with its tables; false after a message.
bool OpenModel(modelClass& model, const std::string& path, bool create, const CliContext& context) {
  model.SetFileName(path);
  if (!model.Files().Exists(path)) {
    if (!create) return CheckReadable(path, context);
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

// True when every change reached the file (in memory, for a command that
// commits it afterwards).
bool CloseModel(modelClass& model) {
  model.SetAskToSave(false);
  const bool closed = model.CloseFile();
  return closed && !model.IoFailed();
}

// Every problem the check of the file found, one a line, and how many there
// were in all when not every one was kept.
void ShowImportProblems(const ModelImportCounts& counts, const std::string& filePath,
                        const CliContext& context) {
  for (const std::string& problem : counts.problems)
    context.err << filePath << ": " << problem << '\n';
  if (counts.problemCount > static_cast<int>(counts.problems.size())) {
    context.err << filePath << ": … всего ошибок: " << counts.problemCount << '\n';
  }
}

}  // namespace

int RunImportModel(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  const std::optional<ExchangeOptions> options = ParseOptions(args, false, context, exitCode);
  if (!options) return exitCode;
  const std::string& modelPath = options->files[0];
  const std::string& filePath = options->files[1];
  if (!CheckReadable(filePath, context)) return kExitUsage;

  // The import works on the model in memory; the model on disk changes only
  // when every row was read and applied, and a new model appears only then.
  WriteSession session(context, modelPath, db::kModelExtension);
  if (!session.Begin(WriteSession::kMayCreate)) return session.ExitCode();
  modelClass model(context.ui, session.Files(), ProgramPath(*options));
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
  bool failed = file.Failed() || counts.refused;
  if (!CloseModel(model)) failed = true;
  if (counts.refused) {
    ShowImportProblems(counts, filePath, context);
    context.ui.ShowError(modelPath, "Файл не принят, модель не изменена");
    return kExitProblems;
  }
  context.out << modelPath << ": строк принято " << counts.applied << ", пропущено "
              << counts.skipped << '\n';
  if (failed) {
    context.ui.ShowError(modelPath, "Модель не изменена");
    return kExitProblems;
  }
  return session.Commit() ? kExitOk : session.ExitCode();
}

int RunExportModel(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  const std::optional<ExchangeOptions> options = ParseOptions(args, true, context, exitCode);
  if (!options) return exitCode;
  const std::string& modelPath = options->files[0];
  const std::string& outPath = options->files[1];
  if (outPath == modelPath) return UsageError(context, "файл обмена не может заменить модель");

  // Only reads: the model, its backup and its book stay as they are.
  ScratchFileSystem scratch(context.files);
  scratch.OnNote = [&context](const std::string& file, const std::string& note) {
    context.ui.ShowInfo(file, note);
  };
  modelClass model(context.ui, scratch, ProgramPath(*options));
  if (!OpenModel(model, modelPath, false, context)) return kExitUsage;
  PutClass put(context.ui, context.files, options->csv);
  bool written = put.OpenPath(outPath, options->VariantFor(outPath), false);
  if (written) written = WriteModel(model, put);
  if (put.IsOpen() && !put.Close()) written = false;
  CloseModel(model);
  if (!written) return kExitProblems;
  context.out << outPath << ": модель выгружена\n";
  return kExitOk;
}

}  // namespace kordavelt
