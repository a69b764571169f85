#include "cli/book_command.h"

#include <optional>

#include "cli/exchange_options.h"
#include "cli/scratch_file_system.h"
#include "cli/write_session.h"
#include "exchange/get_class.h"
#include "refbook/book_exchange.h"
#include "refbook/book_owner.h"
#include "refbook/spr_class.h"

namespace kordavelt {
namespace {

// The options of an import (one or more exchange files) or an export
// (exactly one); nullopt after a usage message.
std::optional<ExchangeOptions> ParseOptions(const std::vector<std::string>& args, bool exporting,
                                            const CliContext& context, int& exitCode) {
  std::optional<ExchangeOptions> options =
      ParseExchangeOptions(args, exporting, false, context, exitCode);
  if (!options) return std::nullopt;
  if (options->files.size() < 2 || (exporting && options->files.size() != 2)) {
    exitCode = UsageError(context, "нужны два файла: справочник и файл обмена");
    return std::nullopt;
  }
  return options;
}

// The refused cells of a file and its skipped sections, one line each, on
// the error stream.
void PrintImportProblems(const CliContext& context, const std::string& path,
                         const BookImportReport& report) {
  for (const std::string& problem : report.problems) context.err << path << ": " << problem << '\n';
  if (report.problemCount > static_cast<int>(report.problems.size())) {
    context.err << path << ": всего ошибок: " << report.problemCount << '\n';
  }
  for (const std::string& note : report.notes) context.err << path << ": " << note << '\n';
}

}  // namespace

int RunImportBook(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  std::vector<std::string> rest = args;
  const bool appendDuplicates = TakeSwitch(rest, "--append-duplicates");
  const std::optional<ExchangeOptions> options = ParseOptions(rest, false, context, exitCode);
  if (!options) return exitCode;
  const std::string& bookPath = options->files[0];
  const std::vector<std::string> filePaths(options->files.begin() + 1, options->files.end());
  for (const std::string& path : filePaths) {
    if (!CheckReadable(path, context)) return kExitUsage;
  }

  // The types are added to the book in memory; the book on disk changes
  // only when every file was read, and a new book appears only then.
  WriteSession session(context, bookPath, db::kReferenceBookExtension);
  if (!session.Begin(WriteSession::kMayCreate)) return session.ExitCode();
  sprClass book(context.ui, session.Files());
  if (!book.OpenBook(bookPath)) return kExitUsage;
  BookOwner owner(book, context.ui);
  BookImportReport total;
  bool failed = false;
  // Files in the order given: types a later file names (brands, trip units,
  // motors) must come from an earlier one.
  for (const std::string& path : filePaths) {
    GetClass file(context.ui, context.files, options->csv.separator);
    if (!file.OpenPath(path, ImportVariantOfPath(path))) {
      failed = true;
      continue;
    }
    const BookImportReport report = ImportBookSections(owner, file, {appendDuplicates});
    PrintImportProblems(context, path, report);
    total.added += report.added;
    total.skippedDuplicates += report.skippedDuplicates;
    failed = failed || !report.Succeeded();
  }
  owner.CloseTable();
  book.CloseBook();
  if (book.IsOpen() || book.IoFailed()) failed = true;
  context.out << bookPath << ": " << total.Summary() << '\n';
  if (failed) {
    context.ui.ShowError(bookPath, "Справочник не изменён");
    return kExitProblems;
  }
  return session.Commit() ? kExitOk : session.ExitCode();
}

int RunExportBook(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  const std::optional<ExchangeOptions> options = ParseOptions(args, true, context, exitCode);
  if (!options) return exitCode;
  const std::string& bookPath = options->files[0];
  const std::string& outPath = options->files[1];
  // Export never creates a book: an absent one is a mistyped name.
  if (!CheckReadable(bookPath, context)) return kExitUsage;

  // Only reads: the book stays as it is, even where it could be written.
  ScratchFileSystem scratch(context.files);
  scratch.OnNote = [&context](const std::string& file, const std::string& note) {
    context.ui.ShowInfo(file, note);
  };
  sprClass book(context.ui, scratch);
  if (!book.OpenBook(bookPath)) return kExitUsage;
  BookOwner owner(book, context.ui);
  const bool written = ExportWholeBook(owner, context.ui, context.files, outPath,
                                       options->VariantFor(outPath), options->csv);
  owner.CloseTable();
  book.CloseBook();
  if (!written) return kExitProblems;
  context.out << outPath << ": справочник выгружен\n";
  return kExitOk;
}

}  // namespace kordavelt
