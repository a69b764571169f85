#include "cli/console_ui_host.h"

namespace kordavelt {
namespace {

class SilentProgress : public ProgressWindow {
 public:
  void SetText(std::string_view) override {}
  void SetProgress(int, int) override {}
  bool Cancelled() override { return false; }
};

}  // namespace

int ConsoleUiHost::ShowDialog(std::string_view caption, std::string_view text,
                              std::string_view /*buttons*/, IconKind /*icon*/) {
  std::string lines(text);
  for (char& c : lines) {
    if (c == '#') c = '\n';
  }
  if (!caption.empty()) err_ << caption << ": ";
  err_ << lines << '\n';
  return kAnswerCancel;
}

bool ConsoleUiHost::InputText(std::string_view, std::string_view, std::string&, int) {
  return false;
}

int ConsoleUiHost::ChooseFromList(std::string_view, std::string_view, int initial) {
  return initial;
}

bool ConsoleUiHost::ChooseColour(Color&) { return false; }

bool ConsoleUiHost::ChooseFont(FontChoice&) { return false; }

int ConsoleUiHost::ChooseSymbol(std::string_view, int, const SymbolPainter&) { return 0; }

std::optional<std::string> ConsoleUiHost::AskOpenFileName(const FileDialogRequest&) {
  return std::nullopt;
}

std::optional<std::string> ConsoleUiHost::AskSaveFileName(const FileDialogRequest&) {
  return std::nullopt;
}

std::unique_ptr<ProgressWindow> ConsoleUiHost::OpenProgress(std::string_view, std::string_view) {
  return std::make_unique<SilentProgress>();
}

bool ConsoleUiHost::ShowTableDialog(TableOwner&, TableForm&, std::string_view) { return false; }

}  // namespace kordavelt
