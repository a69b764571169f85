#include "table/qt/qt_ui_host.h"

#include "table/qt/qt_table_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QPointer>

#include "base/qt/qt_text.h"
#include "draw/qt/qpainter_canvas.h"
#include "table/qt/qt_table_environment.h"
#include "ui/qt/qt_file_dialog.h"
#include "ui/qt/qt_input_dialog.h"
#include "ui/qt/qt_list_dialog.h"
#include "ui/qt/qt_message_dialog.h"
#include "ui/qt/qt_progress_window.h"
#include "ui/qt/qt_symbol_palette.h"

namespace kordavelt {
namespace {

// The window that asked has the keyboard again once the dialog is gone
// (Ctrl+Z right after the question of a deletion), also where no window
// manager hands it back.
class KeyboardBack {
 public:
  KeyboardBack() : asking_(QApplication::activeWindow()) {}
  ~KeyboardBack() {
    if (asking_ != nullptr && asking_->isVisible()) asking_->activateWindow();
  }
  KeyboardBack(const KeyboardBack&) = delete;
  KeyboardBack& operator=(const KeyboardBack&) = delete;

 private:
  QPointer<QWidget> asking_;
};

}  // namespace

QtUiHost::QtUiHost(QWidget* parentWindow) : parent_(parentWindow) {}

QtUiHost::~QtUiHost() = default;

void QtUiHost::SetParentWindow(QWidget* parentWindow) { parent_ = parentWindow; }

int QtUiHost::ShowDialog(std::string_view caption, std::string_view text, std::string_view buttons,
                         IconKind icon) {
  const KeyboardBack keyboard;
  return RunMessageDialog(parent_, caption, text, buttons, icon);
}

int QtUiHost::ShowDialogWithDefault(std::string_view caption, std::string_view text,
                                    std::string_view buttons, IconKind icon, int defaultButton) {
  const KeyboardBack keyboard;
  return RunMessageDialog(parent_, caption, text, buttons, icon, defaultButton);
}

bool QtUiHost::InputText(std::string_view caption, std::string_view prompt, std::string& text,
                         int maxLength) {
  const KeyboardBack keyboard;
  return RunInputDialog(parent_, caption, prompt, text, maxLength);
}

int QtUiHost::ChooseFromList(std::string_view caption, std::string_view items, int initial) {
  const KeyboardBack keyboard;
  return RunListDialog(parent_, caption, items, initial);
}

bool QtUiHost::ChooseColour(Color& colour) {
  const KeyboardBack keyboard;
  const QColor chosen =
      QColorDialog::getColor(QColor(colour.r, colour.g, colour.b), parent_, QString());
  if (!chosen.isValid()) return false;
  colour = Color{static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
                 static_cast<std::uint8_t>(chosen.blue())};
  return true;
}

bool QtUiHost::ChooseFont(FontChoice& font) {
  const KeyboardBack keyboard;
  QFont current(ToQString(font.name), font.pointSize);
  current.setItalic((font.style & 1) != 0);
  current.setBold((font.style & 2) != 0);
  bool accepted = false;
  const QFont chosen = QFontDialog::getFont(&accepted, current, parent_);
  if (!accepted) return false;
  font.name = ToUtf8(chosen.family());
  font.pointSize = chosen.pointSize() > 0 ? chosen.pointSize() : font.pointSize;
  font.style = (chosen.italic() ? 1 : 0) + (chosen.bold() ? 2 : 0);
  return true;
}

int QtUiHost::ChooseSymbol(std::string_view caption, int count, const SymbolPainter& paint) {
  const KeyboardBack keyboard;
  return RunSymbolPalette(parent_, caption, count, paint);
}

std::optional<std::string> QtUiHost::AskOpenFileName(const FileDialogRequest& request) {
  const KeyboardBack keyboard;
  return RunFileDialog(parent_, request, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtUiHost::AskSaveFileName(const FileDialogRequest& request) {
  const KeyboardBack keyboard;
  return RunFileDialog(parent_, request, QFileDialog::AcceptSave);
}

std::string QtUiHost::ClipboardText() { return ToUtf8(QGuiApplication::clipboard()->text()); }

void QtUiHost::SetClipboardText(std::string_view text) {
  QGuiApplication::clipboard()->setText(ToQString(text));
}

std::unique_ptr<ProgressWindow> QtUiHost::OpenProgress(std::string_view caption,
                                                       std::string_view text) {
  return std::make_unique<QtProgressWindow>(parent_, caption, text);
}

void QtUiHost::Beep() { QApplication::beep(); }

QtTableEnvironment& QtUiHost::TableEnvironmentOf() {
  if (environment_ != nullptr) return *environment_;
  if (ownEnvironment_ == nullptr) {
    ownFiles_ = std::make_unique<DiskFileSystem>();
    ownEnvironment_ = std::make_unique<QtTableEnvironment>(*this, *ownFiles_);
  }
  return *ownEnvironment_;
}

bool QtUiHost::ShowTableDialog(TableOwner& owner, TableForm& form, std::string_view menu) {
  const KeyboardBack keyboard;
  return RunTableDialog(parent_, TableEnvironmentOf(), owner, form, menu, TableDialogKind::Table);
}

bool QtUiHost::ShowChoiceTable(TableOwner& owner, TableForm& form) {
  const KeyboardBack keyboard;
  return RunTableDialog(parent_, TableEnvironmentOf(), owner, form, "##Выбор#Отмена",
                        TableDialogKind::Choice);
}

}  // namespace kordavelt
