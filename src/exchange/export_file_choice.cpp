#include "exchange/export_file_choice.h"

namespace kordavelt {

std::string AppendRefusedText(std::string_view refusal, std::string_view path) {
  return std::string(refusal) + std::string(path) + "#действие не выполняется";
}

std::optional<ExportTarget> ChooseExportFile(UiHost& ui, FileSystem& fileSystem,
                                             std::string_view title, std::string_view initialPath,
                                             std::string_view appendRefusal) {
  int filter = 1;
  FileDialogRequest request{std::string(title), std::string(kExportFilter), "CSV",
                            std::string(initialPath), false};
  request.chosenFilter = &filter;
  const std::optional<std::string> chosen = ui.AskSaveFileName(request);
  if (!chosen || chosen->empty()) return std::nullopt;

  ExportTarget target;
  target.variant = ExportVariantFromIndex(filter);
  const std::string_view extension = ForcedExtension(target.variant);
  target.path = extension.empty() ? *chosen : ChangeExtension(*chosen, extension);

  if (fileSystem.Exists(target.path)) {
    const int answer =
        ui.ShowDialog(title, "Существующий файл", "Обновить#Добавить#Отменить", IconKind::Question);
    if (answer == kFirstButton + 1) {
      if (IsXml(target.variant)) {
        ui.ShowError(title, AppendRefusedText(appendRefusal, target.path));
        return std::nullopt;
      }
      target.append = true;
    } else if (answer != kFirstButton) {
      return std::nullopt;
    }
  }
  return target;
}

}  // namespace kordavelt
