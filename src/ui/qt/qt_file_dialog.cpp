#include "ui/qt/qt_file_dialog.h"

#include <QFileInfo>

#include "base/qt/qt_text.h"
#include "ui/file_filter.h"

namespace kordavelt {

void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request,
                         QFileDialog::AcceptMode mode) {
  dialog.setWindowTitle(ToQString(request.title));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  const QString filter = ToQString(ToQtFileFilter(request.filter));
  if (!filter.isEmpty()) dialog.setNameFilters(filter.split(QStringLiteral(";;")));
  dialog.setDefaultSuffix(ToQString(request.defaultExtension));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);

  // The initial path names a folder, or a folder and a file to preselect.
  const QString initial = ToQString(request.initialPath);
  if (initial.isEmpty()) return;
  const QFileInfo info(initial);
  if (info.isDir()) {
    dialog.setDirectory(info.absoluteFilePath());
  } else {
    dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
  }
}

std::optional<std::string> RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                                         QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent);
  ConfigureFileDialog(dialog, request, mode);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  if (request.chosenFilter != nullptr) {
    const qsizetype chosen = dialog.nameFilters().indexOf(dialog.selectedNameFilter());
    if (chosen >= 0) *request.chosenFilter = static_cast<int>(chosen) + 1;
  }
  return ToUtf8(QFileInfo(files.first()).absoluteFilePath());
}

}  // namespace kordavelt
