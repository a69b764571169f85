#pragma once

// The program's main window.

#include <QMainWindow>
#include <QString>

namespace kordavelt {

class UiHost;

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(UiHost& ui, QWidget* parent = nullptr);

  UiHost& Ui() const { return ui_; }

  // The model named on the command line, opened once the window is shown.
  void SetModelToOpen(const QString& path) { modelToOpen_ = path; }
  const QString& ModelToOpen() const { return modelToOpen_; }

 private:
  UiHost& ui_;
  QString modelToOpen_;
};

}  // namespace kordavelt
