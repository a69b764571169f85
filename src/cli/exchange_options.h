#pragma once

// The options the exchange commands share (import-book, export-book,
// import-model, export-model): the file names in order and
//   --separator C   the CSV separator (all),
//   --variant N     the file variant 1 … 7 (exporting only; without it the
//                   exchange file's extension decides, ExportVariantOfPath),
//   --quotes        texts in quotes (exporting only),
//   --book BOOK     the reference book (when the command takes one).
// Any other "--" argument is a usage error.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_main.h"
#include "exchange/export_variant.h"

namespace kordavelt {

struct ExchangeOptions {
  std::vector<std::string> files;
  std::string book;
  CsvOptions csv;
  std::optional<int> variant;  // --variant N, when given

  // The variant of --variant, else the one the extension of `path` asks for.
  ExportVariant VariantFor(const std::string& path) const;
};

// Takes every `name` out of `args`: a switch only one command knows, read
// before the shared options. True when there was one.
bool TakeSwitch(std::vector<std::string>& args, std::string_view name);

// The options of `args`; nullopt after the usage message, with `exitCode` set.
std::optional<ExchangeOptions> ParseExchangeOptions(const std::vector<std::string>& args,
                                                    bool exporting, bool takesBook,
                                                    const CliContext& context, int& exitCode);

}  // namespace kordavelt
