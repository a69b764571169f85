#include "cli/book_command.h"

#include <charconv>
#include <optional>

#include "exchange/get_class.h"
#include "refbook/book_exchange.h"
#include "refbook/book_owner.h"
#include "refbook/spr_class.h"

namespace kordavelt {
namespace {

// The options after the two file names; nullopt after a usage message.
struct BookOptions {
  std::vector<std::string> files;
  CsvOptions csv;
  int variant = 1;
};

std::optional<int> ParseSmallNumber(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<BookOptions> ParseOptions(const std::vector<std::string>& args, bool exporting,
                                        const CliContext& context, int& exitCode) {
  // import-book takes one or more exchange files, export-book exactly one.
  BookOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--separator" && hasValue && args[i + 1].size() == 1) {
      options.csv.separator = args[++i][0];
    } else if (exporting && arg == "--variant" && hasValue) {
      const std::optional<int> variant = ParseSmallNumber(args[++i]);
      if (!variant || *variant < 1 || *variant > 7) {
        exitCode = UsageError(context, "вариант файла должен быть от 1 до 7");
        return std::nullopt;
      }
      options.variant = *variant;
    } else if (exporting && arg == "--quotes") {
      options.csv.quotes = true;
    } else if (arg.starts_with("--")) {
      exitCode = UsageError(context, "неверный ключ «" + arg + "»");
      return std::nullopt;
    } else {
      options.files.push_back(arg);
    }
  }
  if (options.files.size() < 2 || (exporting && options.files.size() != 2)) {
    exitCode = UsageError(context, "нужны два файла: справочник и файл обмена");
    return std::nullopt;
  }
  return options;
}

}  // namespace

int RunImportBook(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  const std::optional<BookOptions> options = ParseOptions(args, false, context, exitCode);
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
  const std::optional<BookOptions> options = ParseOptions(args, true, context, exitCode);
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
