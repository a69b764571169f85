#pragma once

// The program's window services as Qt dialogs.

#include <QPointer>
#include <QWidget>
#include <memory>

#include "ui/ui_host.h"

namespace kordavelt {

class FileSystem;
class QtTableEnvironment;

class QtUiHost : public UiHost {
 public:
  // Dialogs are owned by `parentWindow` (normally the main window) when set.
  explicit QtUiHost(QWidget* parentWindow = nullptr);
  ~QtUiHost() override;

  void SetParentWindow(QWidget* parentWindow);
  QWidget* ParentWindow() const { return parent_; }

  int ShowDialog(std::string_view caption, std::string_view text, std::string_view buttons,
                 IconKind icon) override;
  int ShowDialogWithDefault(std::string_view caption, std::string_view text,
                            std::string_view buttons, IconKind icon, int defaultButton) override;
  bool InputText(std::string_view caption, std::string_view prompt, std::string& text,
                 int maxLength) override;
  int ChooseFromList(std::string_view caption, std::string_view items, int initial) override;
  bool ChooseColour(Color& colour) override;
  bool ChooseFont(FontChoice& font) override;
  int ChooseSymbol(std::string_view caption, int count, const SymbolPainter& paint) override;
  std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override;
  std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override;
  std::string ClipboardText() override;
  void SetClipboardText(std::string_view text) override;
  std::unique_ptr<ProgressWindow> OpenProgress(std::string_view caption,
                                               std::string_view text) override;
  void Beep() override;
  bool ShowTableDialog(TableOwner& owner, TableForm& form, std::string_view menu) override;
  bool ShowChoiceTable(TableOwner& owner, TableForm& form) override;

  // The table font and colours of modal tables; without one the host makes
  // its own on first use.
  void SetTableEnvironment(QtTableEnvironment* environment) { environment_ = environment; }
  QtTableEnvironment& TableEnvironmentOf();

 private:
  QPointer<QWidget> parent_;
  QtTableEnvironment* environment_ = nullptr;
  std::unique_ptr<QtTableEnvironment> ownEnvironment_;
  std::unique_ptr<FileSystem> ownFiles_;
};

}  // namespace kordavelt
