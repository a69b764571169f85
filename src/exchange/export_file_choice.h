#pragma once

// Choosing the file a table is written to: the save dialog with the seven
// variants, the forced extension, and the question about an existing file.

#include <optional>
#include <string>
#include <string_view>

#include "exchange/export_variant.h"
#include "storage/file_layer.h"
#include "ui/ui_host.h"

namespace kordavelt {

struct ExportTarget {
  std::string path;
  ExportVariant variant = ExportVariant::Csv;
  bool append = false;
};

// Asks for the file (dialog `title`, starting at `initialPath`); for an
// existing file asks whether to replace it, append to it or cancel. An XML
// file is never appended to: `appendRefusal` + file + "#действие не
// выполняется" is shown instead. Nothing when the user cancels or the append
// is refused.
std::optional<ExportTarget> ChooseExportFile(UiHost& ui, FileSystem& fileSystem,
                                             std::string_view title, std::string_view initialPath,
                                             std::string_view appendRefusal);

// The message of a refused XML append.
std::string AppendRefusedText(std::string_view refusal, std::string_view path);

}  // namespace kordavelt
