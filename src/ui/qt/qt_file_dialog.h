#pragma once

// Open and save dialogs from a FileDialogRequest.

#include <QFileDialog>
#include <optional>
#include <string>

#include "ui/ui_host.h"

namespace kordavelt {

// Configures `dialog` as the request asks: title, filters, default
// extension, initial folder and file, overwrite confirmation.
void ConfigureFileDialog(QFileDialog& dialog, const FileDialogRequest& request,
                         QFileDialog::AcceptMode mode);

// The chosen file's full path, or nothing when cancelled.
std::optional<std::string> RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                                         QFileDialog::AcceptMode mode);

}  // namespace kordavelt
