#include "cli/dump_command.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "storage/cp1251.h"
#include "storage/db_reader.h"
#include "table/hex_text.h"

namespace kordavelt {
namespace {

constexpr std::size_t kRawBytesPerLine = 32;
constexpr std::size_t kHexChunk = 128;  // BytesToHex takes at most this many bytes

struct DumpArgs {
  std::string path;
  std::optional<int> table;
};

// The column texts right-aligned under their headings.
std::string RightAligned(std::string_view text, std::size_t width) {
  const std::size_t length = Utf8Length(text);
  return std::string(width > length ? width - length : 0, ' ') + std::string(text);
}

std::string Hex(ConstBytes bytes) {
  std::string text;
  for (std::size_t at = 0; at < bytes.size(); at += kHexChunk) {
    text += BytesToHex(bytes.subspan(at, std::min(kHexChunk, bytes.size() - at)));
  }
  return text;
}

std::string KindName(std::optional<db::FileKind> kind) {
  if (!kind) return "неизвестный файл";
  return *kind == db::FileKind::Model ? "модель сети" : "справочник оборудования";
}

// Problems go to the error stream, captioned with the file name as the
// engine's messages are.
int ReportProblems(const std::vector<DbProblem>& problems, const std::string& path,
                   const CliContext& context) {
  for (const DbProblem& problem : problems) context.ui.ShowError(path, problem.text);
  return problems.empty() ? kExitOk : kExitProblems;
}

int DumpTableList(DbReader& reader, const std::string& path, const CliContext& context) {
  context.out << path << ": " << KindName(reader.Kind()) << ", последняя страница "
              << reader.PageCount() << '\n';
  const std::vector<DbTableInfo> tables = reader.Tables();
  if (tables.empty()) {
    context.out << "Таблиц нет\n";
  } else {
    const std::vector<std::string> headings = {"Таблица", "Слот", "Записей", "Корень", "Уровней"};
    std::string line;
    for (const std::string& heading : headings) line += (line.empty() ? "" : "  ") + heading;
    context.out << line << '\n';
    for (const DbTableInfo& table : tables) {
      const std::string levels =
          table.rawBlock ? "блок" : (table.levels == 0 ? "-" : std::to_string(table.levels));
      const std::vector<std::string> cells = {
          std::to_string(table.number), std::to_string(table.slotLength),
          std::to_string(table.recordCount), std::to_string(table.rootPage), levels};
      line.clear();
      for (std::size_t i = 0; i < cells.size(); ++i) {
        line += (i == 0 ? "" : "  ") + RightAligned(cells[i], Utf8Length(headings[i]));
      }
      context.out << line << '\n';
    }
  }
  return ReportProblems(reader.HeaderProblems(), path, context);
}

int DumpRecords(DbReader& reader, const DbTableInfo& table, const std::string& path,
                const CliContext& context) {
  const DbTableContents contents = reader.ReadTable(table.number);
  context.out << "Таблица № " << table.number << ": длина записи " << table.slotLength - 4
              << ", записей " << contents.records.size() << '\n';
  for (const DbRecord& record : contents.records) {
    context.out << RightAligned(std::to_string(record.key), 11) << "  " << Hex(record.data) << '\n';
  }
  std::vector<DbProblem> problems = reader.HeaderProblems();
  problems.insert(problems.end(), contents.problems.begin(), contents.problems.end());
  return ReportProblems(problems, path, context);
}

int DumpRawBlock(DbReader& reader, const DbTableInfo& table, const std::string& path,
                 const CliContext& context) {
  const DbRawBlock block = reader.ReadRawBlock(table.number);
  context.out << "Блок данных № " << table.number << ", страница " << table.rootPage << '\n';
  const ConstBytes bytes(block.bytes);
  for (std::size_t at = 0; at < bytes.size(); at += kRawBytesPerLine) {
    char offset[8];
    char* const end = std::to_chars(offset, offset + sizeof offset, at, 16).ptr;
    std::transform(offset, end, offset,
                   [](char c) { return c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c; });
    context.out << RightAligned(std::string_view(offset, end - offset), 4) << "  "
                << Hex(bytes.subspan(at, std::min(kRawBytesPerLine, bytes.size() - at))) << '\n';
  }
  std::vector<DbProblem> problems = reader.HeaderProblems();
  problems.insert(problems.end(), block.problems.begin(), block.problems.end());
  return ReportProblems(problems, path, context);
}

// Parses FILE and --table T; a message and nothing on any other argument.
std::optional<DumpArgs> ParseArgs(const std::vector<std::string>& args, const CliContext& context,
                                  int& exitCode) {
  DumpArgs parsed;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--table") {
      if (i + 1 == args.size()) {
        exitCode = UsageError(context, "после --table нужен номер таблицы");
        return std::nullopt;
      }
      const std::string& number = args[++i];
      int table = 0;
      const auto [end, error] =
          std::from_chars(number.data(), number.data() + number.size(), table);
      if (error != std::errc{} || end != number.data() + number.size() ||
          !db::IsTableNumber(table)) {
        exitCode = UsageError(context, "номер таблицы «" + number + "» не от 1 до 333");
        return std::nullopt;
      }
      parsed.table = table;
    } else if (arg.starts_with("--")) {
      exitCode = UsageError(context, "неизвестный ключ «" + arg + "»");
      return std::nullopt;
    } else if (parsed.path.empty()) {
      parsed.path = arg;
    } else {
      exitCode = UsageError(context, "команде dump нужен один файл");
      return std::nullopt;
    }
  }
  if (parsed.path.empty()) {
    exitCode = UsageError(context, "команде dump нужен файл");
    return std::nullopt;
  }
  return parsed;
}

}  // namespace

int RunDump(const std::vector<std::string>& args, const CliContext& context) {
  int exitCode = kExitOk;
  const std::optional<DumpArgs> parsed = ParseArgs(args, context, exitCode);
  if (!parsed) return exitCode;

  const auto file = OpenDatabaseFile(parsed->path, context);
  if (file == nullptr) return kExitUsage;
  DbReader reader(*file, FileKindFromPath(parsed->path));
  if (!reader.Accepted()) return ReportProblems(reader.HeaderProblems(), parsed->path, context);
  if (!parsed->table) return DumpTableList(reader, parsed->path, context);

  for (const DbTableInfo& table : reader.Tables()) {
    if (table.number != *parsed->table) continue;
    return table.rawBlock ? DumpRawBlock(reader, table, parsed->path, context)
                          : DumpRecords(reader, table, parsed->path, context);
  }
  context.ui.ShowError(parsed->path,
                       "Таблица № " + std::to_string(*parsed->table) + " не используется");
  return kExitUsage;
}

}  // namespace kordavelt
