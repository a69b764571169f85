#pragma once

// The UiHost of the command line. Nobody sits at it to answer, so it writes
// and declines:
//  - every message window goes to the error stream as "caption: text", the
//    '#' line breaks of the text turned into new lines, and is answered as if
//    closed without a button (2). Through the boxes of UiHost that gives each
//    box its closing answer: AskYesNo Yes, AskNoYes and AskYesNoSafe No,
//    AskYesNoCancel Cancel;
//  - text inputs, lists, colour and symbol choices, table dialogs and file
//    dialogs are cancelled (a list answers its initial item, a symbol choice 0);
//  - the clipboard lives in memory, progress windows are silent and never
//    report a cancel, and the warning sound is not made.

#include <ostream>
#include <string>

#include "ui/ui_host.h"

namespace kordavelt {

class ConsoleUiHost : public UiHost {
 public:
  explicit ConsoleUiHost(std::ostream& err) : err_(err) {}

  int ShowDialog(std::string_view caption, std::string_view text, std::string_view buttons,
                 IconKind icon) override;
  bool InputText(std::string_view caption, std::string_view prompt, std::string& text,
                 int maxLength) override;
  int ChooseFromList(std::string_view caption, std::string_view items, int initial) override;
  bool ChooseColour(Color& colour) override;
  bool ChooseFont(FontChoice& font) override;
  int ChooseSymbol(std::string_view caption, int count, const SymbolPainter& paint) override;
  std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) override;
  std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override;
  std::string ClipboardText() override { return clipboard_; }
  void SetClipboardText(std::string_view text) override { clipboard_ = std::string(text); }
  std::unique_ptr<ProgressWindow> OpenProgress(std::string_view caption,
                                               std::string_view text) override;
  void Beep() override {}
  bool ShowTableDialog(TableOwner& owner, TableForm& form, std::string_view menu) override;

 private:
  std::ostream& err_;
  std::string clipboard_;
};

}  // namespace kordavelt
