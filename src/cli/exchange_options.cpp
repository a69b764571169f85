#include "cli/exchange_options.h"

#include <charconv>

namespace kordavelt {
namespace {

std::optional<int> ParseVariant(const std::string& text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 7) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

ExportVariant ExchangeOptions::VariantFor(const std::string& path) const {
  return variant ? ExportVariantFromIndex(*variant) : ExportVariantOfPath(path);
}

bool TakeSwitch(std::vector<std::string>& args, std::string_view name) {
  return std::erase(args, name) > 0;
}

std::optional<ExchangeOptions> ParseExchangeOptions(const std::vector<std::string>& args,
                                                    bool exporting, bool takesBook,
                                                    const CliContext& context, int& exitCode) {
  ExchangeOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--separator" && hasValue && args[i + 1].size() == 1) {
      options.csv.separator = args[++i][0];
    } else if (takesBook && arg == "--book" && hasValue) {
      options.book = args[++i];
    } else if (exporting && arg == "--variant" && hasValue) {
      const std::optional<int> variant = ParseVariant(args[++i]);
      if (!variant) {
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
  return options;
}

}  // namespace kordavelt
