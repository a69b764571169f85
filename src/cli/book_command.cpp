#include "cli/book_command.h"

#include <optional>

#include "cli/exchange_options.h"
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

}  // namespace

int RunImportBook(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  const std::optional<ExchangeOptions> options = ParseOptions(args, false, context, exitCode);
  if (!options) return exitCode;
  const std::string& bookPath = options->files[0];
  const std::vector<std::string> filePaths(options->files.begin() + 1, options->files.end());
  for (const std::string& path : filePaths) {
    if (!context.files.Exists(path)) {
      context.ui.ShowError(path, "Файл не найден");
      return kExitUsage;
    }
  }

  sprClass book(context.ui, context.files);
  if (!book.OpenBook(bookPath)) return kExitUsage;
  BookOwner owner(book, context.ui);
  int added = 0;
  bool failed = false;
  // Files in the order given: types a later file names (brands, trip units,
  // motors) must come from an earlier one.
  for (const std::string& path : filePaths) {
    GetClass file(context.ui, context.files, options->csv.separator);
    if (!file.OpenPath(path, ImportVariantOfPath(path))) {
      failed = true;
      continue;
    }
    added += ImportBookSections(owner, file);
    failed = failed || file.Failed();
  }
  owner.CloseTable();
  book.CloseBook();
  context.out << bookPath << ": добавлено типов: " << added << '\n';
  return failed ? kExitProblems : kExitOk;
}

int RunExportBook(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  const std::optional<ExchangeOptions> options = ParseOptions(args, true, context, exitCode);
  if (!options) return exitCode;
  const std::string& bookPath = options->files[0];
  const std::string& outPath = options->files[1];
  // Export never creates a book: an absent one is a mistyped name.
  if (!context.files.Exists(bookPath)) {
    context.ui.ShowError(bookPath, "Файл не найден");
    return kExitUsage;
  }

  sprClass book(context.ui, context.files);
  if (!book.OpenBook(bookPath)) return kExitUsage;
  BookOwner owner(book, context.ui);
  const bool written = ExportWholeBook(owner, context.ui, context.files, outPath,
                                       ExportVariantFromIndex(options->variant), options->csv);
  owner.CloseTable();
  book.CloseBook();
  if (!written) return kExitProblems;
  context.out << outPath << ": справочник выгружен\n";
  return kExitOk;
}

}  // namespace kordavelt
