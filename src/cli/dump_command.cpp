#include "cli/dump_command.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "base/cp1251.h"
#include "base/hex_text.h"
#include "base/number_format.h"
#include "model/model_layouts.h"
#include "model/model_tables.h"
#include "refbook/book_layouts.h"
#include "storage/db_reader.h"

namespace kordavelt {
namespace {

constexpr std::size_t kRawBytesPerLine = 32;
constexpr std::size_t kHexChunk = 128;  // BytesToHex takes at most this many bytes

struct DumpArgs {
  std::string path;
  std::optional<int> table;
  bool hex = false;  // --hex: no decoding by record layout
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

// The layout by which a table of a model or reference-book file is decoded;
// nullptr when it is to be dumped in hexadecimal: no layout known, --hex, a
// file of unknown kind, or records of another length than the layout's.
const RecordLayout* DecodingLayout(DbReader& reader, const DbTableInfo& table, bool hex) {
  if (hex || !reader.Kind()) return nullptr;
  const RecordLayout* layout = *reader.Kind() == db::FileKind::Model
                                   ? ModelTableLayout(table.number)
                                   : BookRecordLayout(table.number);
  const int dataLength = table.rawBlock ? db::kPageSize : table.slotLength - 4;
  if (layout == nullptr ||
      (table.rawBlock ? layout->dataLength > dataLength : layout->dataLength != dataLength)) {
    return nullptr;
  }
  return layout;
}

// Bits of the low part of a table's keys when the key is a pair: node and
// slot (branches, far ends, markings, objects, branch drawings) or group and
// number (receivers); 0 for plain keys.
int KeyShift(int table) {
  if (table == kReceiverTable) return 10;
  const bool branchKeyed = table == kBranchTable || table == kFarEndTable ||
                           table == kMarkingTable || table == kXYBranchTable ||
                           (table > kObjectTableBase && table < kObjectTableBase + 100);
  return branchKeyed ? 8 : 0;
}

// A counted string in double quotes; quotes, backslashes and control
// characters escaped so that a record stays on its line.
std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      quoted += "\\x" + Hex(ConstBytes(reinterpret_cast<const std::uint8_t*>(&c), 1));
    } else {
      quoted += c;
    }
  }
  return quoted + '"';
}

std::string FieldValue(ConstBytes data, const FieldDef& field) {
  const std::string text = FieldText(data, field);
  return field.type == FieldType::String ? Quoted(text) : text;
}

// key [node.slot]  name=value name=value ...
std::string DecodedRecord(const DbRecord& record, const RecordLayout& layout) {
  std::string line = RightAligned(std::to_string(record.key), 11);
  if (const int shift = KeyShift(layout.table); shift != 0) {
    const std::string code = FormatCode(record.key, shift);
    line += "  " + RightAligned(code.empty() ? "0.0" : code, 9);
  }
  line += ' ';
  for (const FieldDef& field : layout.fields) {
    line += ' ' + std::string(field.name) + '=' + FieldValue(record.data, field);
  }
  return line;
}

int DumpRecords(DbReader& reader, const DbTableInfo& table, const std::string& path,
                const CliContext& context, bool hex) {
  const DbTableContents contents = reader.ReadTable(table.number);
  const RecordLayout* layout = DecodingLayout(reader, table, hex);
  context.out << "Таблица № " << table.number;
  if (layout != nullptr) context.out << " (" << layout->name << ")";
  context.out << ": длина записи " << table.slotLength - 4 << ", записей "
              << contents.records.size() << '\n';
  for (const DbRecord& record : contents.records) {
    if (layout != nullptr) {
      context.out << DecodedRecord(record, *layout) << '\n';
    } else {
      context.out << RightAligned(std::to_string(record.key), 11) << "  " << Hex(record.data)
                  << '\n';
    }
  }
  std::vector<DbProblem> problems = reader.HeaderProblems();
  problems.insert(problems.end(), contents.problems.begin(), contents.problems.end());
  return ReportProblems(problems, path, context);
}

// The bytes of a raw block by offset, in hexadecimal.
void HexBlock(ConstBytes bytes, const CliContext& context) {
  for (std::size_t at = 0; at < bytes.size(); at += kRawBytesPerLine) {
    char offset[8];
    char* const end = std::to_chars(offset, offset + sizeof offset, at, 16).ptr;
    std::transform(offset, end, offset,
                   [](char c) { return c >= 'a' ? static_cast<char>(c - 'a' + 'A') : c; });
    context.out << RightAligned(std::string_view(offset, end - offset), 4) << "  "
                << Hex(bytes.subspan(at, std::min(kRawBytesPerLine, bytes.size() - at))) << '\n';
  }
}

// The fields of a raw block, one a line: decimal offset, name=value.
void DecodedBlock(ConstBytes bytes, const RecordLayout& layout, const CliContext& context) {
  const ConstBytes data = bytes.first(static_cast<std::size_t>(layout.dataLength));
  for (const FieldDef& field : layout.fields) {
    context.out << RightAligned(std::to_string(field.offset), 5) << "  " << field.name << '='
                << FieldValue(data, field) << '\n';
  }
}

int DumpRawBlock(DbReader& reader, const DbTableInfo& table, const std::string& path,
                 const CliContext& context, bool hex) {
  const DbRawBlock block = reader.ReadRawBlock(table.number);
  const RecordLayout* layout = DecodingLayout(reader, table, hex);
  if (layout != nullptr && block.bytes.size() < static_cast<std::size_t>(layout->dataLength)) {
    layout = nullptr;  // a page that could not be read whole
  }
  context.out << "Блок данных № " << table.number;
  if (layout != nullptr) context.out << " (" << layout->name << ")";
  context.out << ", страница " << table.rootPage << '\n';
  if (layout != nullptr) {
    DecodedBlock(block.bytes, *layout, context);
  } else {
    HexBlock(block.bytes, context);
  }
  std::vector<DbProblem> problems = reader.HeaderProblems();
  problems.insert(problems.end(), block.problems.begin(), block.problems.end());
  return ReportProblems(problems, path, context);
}

// Parses FILE, --table T and --hex; a message and nothing on any other argument.
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
    } else if (arg == "--hex") {
      parsed.hex = true;
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
    return table.rawBlock ? DumpRawBlock(reader, table, parsed->path, context, parsed->hex)
                          : DumpRecords(reader, table, parsed->path, context, parsed->hex);
  }
  context.ui.ShowError(parsed->path,
                       "Таблица № " + std::to_string(*parsed->table) + " не используется");
  return kExitUsage;
}

}  // namespace kordavelt
