#include "cli/calc_options.h"

#include <array>
#include <charconv>
#include <string_view>

namespace kordavelt {
namespace {

constexpr std::array<std::string_view, 5> kPlainTables = {"Rez", "KJur", "Loads", "Potr", "Teplo"};

std::optional<int> ParseInt(std::string_view text, int low, int high) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
    return std::nullopt;
  }
  return value;
}

// The tables --table knows, for the message that refuses another.
constexpr std::string_view kKnownTables = "Rez, KJur, Loads, Potr, Teplo, Tree[:ИП], Cells:УЗЕЛ";

// "Rez", "Tree", "Tree:2", "Cells:15", "Cells:ШР-1" into the identifier and
// its argument: a source number, a node number or a node's designation.
bool ParseTable(std::string_view text, CalcOptions& options) {
  const std::size_t colon = text.find(':');
  const std::string_view id = text.substr(0, colon);
  const bool hasArgument = colon != std::string_view::npos;
  for (const std::string_view plain : kPlainTables) {
    if (id == plain && !hasArgument) {
      options.table = std::string(id);
      return true;
    }
  }
  if (id != "Tree" && id != "Cells") return false;
  if (id == "Cells" && !hasArgument) return false;
  const std::string_view argumentText = hasArgument ? text.substr(colon + 1) : "1";
  std::optional<int> argument = ParseInt(argumentText, 1, id == "Tree" ? 255 : 65535);
  if (!argument && id == "Cells" && !argumentText.empty()) {
    options.tableNode = std::string(argumentText);
    argument = 0;
  }
  if (!argument) return false;
  options.table = std::string(id);
  options.tableArgument = *argument;
  return true;
}

std::optional<ExportVariant> VariantOfFormat(std::string_view format) {
  if (format == "csv") return ExportVariant::Csv;
  if (format == "txt") return ExportVariant::Txt;
  if (format == "xml") return ExportVariant::XmlElementsUtf8;
  return std::nullopt;
}

class Parser {
 public:
  Parser(const std::vector<std::string>& args, bool elements, const CliContext& context)
      : args_(args), elements_(elements), context_(context) {}

  std::optional<CalcOptions> Run(int& exitCode) {
    for (i_ = 0; i_ < args_.size(); ++i_) {
      if (!Take(args_[i_])) {
        exitCode = withUsage_ ? UsageError(context_, error_) : ArgumentError(context_, error_);
        return std::nullopt;
      }
    }
    if (!Finish()) {
      exitCode = UsageError(context_, error_);
      return std::nullopt;
    }
    return options_;
  }

 private:
  bool Fail(std::string text) {
    error_ = std::move(text);
    return false;
  }

  // The value after option `name`; nullopt (the error set) at the end of the arguments.
  std::optional<std::string> Value(const std::string& name) {
    if (i_ + 1 >= args_.size()) {
      error_ = "после " + name + " нужно значение";
      return std::nullopt;
    }
    return args_[++i_];
  }

  bool Take(const std::string& arg) {
    if (!arg.starts_with("--")) {
      if (!options_.model.empty()) return Fail("нужен один файл модели");
      options_.model = arg;
      return true;
    }
    if (arg == "--choice") {
      options_.choice = true;
      return true;
    }
    if (!elements_ && arg == "--quotes") {
      options_.csv.quotes = true;
      return true;
    }
    const bool known = arg == "--book" || arg == "--regime" || arg == "--set" || arg == "--out" ||
                       (!elements_ && (arg == "--table" || arg == "--format" ||
                                       arg == "--variant" || arg == "--separator"));
    if (!known) return Fail("неверный ключ «" + arg + "»");
    const std::optional<std::string> value = Value(arg);
    return value && TakeValue(arg, *value);
  }

  bool TakeValue(const std::string& arg, const std::string& value) {
    if (arg == "--book") {
      options_.book = value;
    } else if (arg == "--out") {
      options_.out = value;
    } else if (arg == "--regime") {
      const std::optional<int> regime = ParseInt(value, 1, 8);
      if (!regime) return Fail("номер режима должен быть от 1 до 8");
      options_.regime = *regime - 1;
    } else if (arg == "--set") {
      std::optional<SettingOverride> setting = ParseSettingOverride(value, error_);
      if (!setting) return false;
      options_.settings.push_back(std::move(*setting));
    } else if (arg == "--table") {
      if (!ParseTable(value, options_)) {
        // The message names the tables there are: the usage would add nothing.
        withUsage_ = false;
        return Fail("неизвестная таблица «" + value + "»; таблицы: " + std::string(kKnownTables));
      }
    } else if (arg == "--format") {
      if (value != "text" && !VariantOfFormat(value)) {
        return Fail("формат должен быть text, csv, txt или xml");
      }
      format_ = value;
    } else if (arg == "--variant") {
      const std::optional<int> variant = ParseInt(value, 1, 7);
      if (!variant) return Fail("вариант файла должен быть от 1 до 7");
      variantIndex_ = *variant;
    } else if (arg == "--separator") {
      if (value.size() != 1) return Fail("разделитель должен быть одним знаком");
      options_.csv.separator = value[0];
    }
    return true;
  }

  bool Finish() {
    if (options_.model.empty()) return Fail("нужен файл модели");
    if (variantIndex_ != 0 && format_ == "text") {
      return Fail("--variant задаёт файл обмена, а не текстовую таблицу");
    }
    if (variantIndex_ != 0) {
      options_.variant = ExportVariantFromIndex(variantIndex_);
    } else {
      options_.variant = VariantOfFormat(format_);
    }
    const bool tableOptions = !format_.empty() || variantIndex_ != 0;
    if (!elements_ && options_.table.empty() && (tableOptions || !options_.out.empty())) {
      return Fail("--format, --variant и --out нужны только вместе с --table");
    }
    return true;
  }

  const std::vector<std::string>& args_;
  bool elements_;
  const CliContext& context_;
  std::size_t i_ = 0;
  CalcOptions options_;
  std::string format_;
  int variantIndex_ = 0;
  std::string error_;
  bool withUsage_ = true;
};

}  // namespace

std::optional<CalcOptions> ParseCalcOptions(const std::vector<std::string>& args, bool elements,
                                            const CliContext& context, int& exitCode) {
  return Parser(args, elements, context).Run(exitCode);
}

}  // namespace kordavelt
