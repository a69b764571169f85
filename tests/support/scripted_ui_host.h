#pragma once

// A UiHost for tests: it records every window the code under test opens,
// with caption and text, and answers from a queue that the test fills in the
// order the questions are expected. A question with no queued answer, or one
// that gets an answer of the wrong kind, fails the test; so does an answer
// left unused when the host goes away. Message boxes with the single button
// "Ok" need no answer.

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/ui_host.h"

namespace kordavelt::testing {

struct UiCall {
  std::string
      kind;  // "dialog", "input", "list", "colour", "font", "symbol", "open", "save", "progress"
  std::string caption;
  std::string text;     // dialog lines, input prompt, list items, file filter
  std::string buttons;  // dialog buttons
  IconKind icon = IconKind::None;
  int defaultButton = 1;  // the dialog button Enter presses
};

class ScriptedUiHost : public UiHost {
 public:
  ~ScriptedUiHost() override;

  // Queued answers, consumed in order.
  void PressButton(std::string caption);
  void CloseWindow();  // a dialog or input closed without a button
  void EnterText(std::string text);
  void CancelInput();  // input, list, colour, symbol or file dialog cancelled
  void ChooseItem(int index);
  void PickColour(Color colour);
  void PickFont(FontChoice font);
  void PickSymbol(int number);
  // A file dialog answers `path`, chosen under filter entry `filter` (1-based).
  void ChooseFile(std::string path, int filter = 1);
  // The next progress window reports a cancel on its n-th poll.
  void CancelProgressOnPoll(int poll);
  // The next table dialog: `script` acts on it as a user would (through a
  // TableDriver, say) and answers whether it closed with ok.
  using TableScript = std::function<bool(TableOwner& owner, TableForm& form)>;
  void AnswerTable(TableScript script);
  // The next table dialog closes with ok on row `row`, or is cancelled.
  void ChooseTableRow(int row);
  void CancelTable();

  const std::vector<UiCall>& Calls() const { return calls_; }
  // Every dialog as "caption: text", in order; the shortest way to check messages.
  std::vector<std::string> Messages() const;
  int Beeps() const { return beeps_; }
  const std::string& Clipboard() const { return clipboard_; }
  void SetClipboard(std::string text) { clipboard_ = std::move(text); }
  std::size_t PendingAnswers() const { return answers_.size(); }

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
  std::string ClipboardText() override { return clipboard_; }
  void SetClipboardText(std::string_view text) override { clipboard_ = std::string(text); }
  std::unique_ptr<ProgressWindow> OpenProgress(std::string_view caption,
                                               std::string_view text) override;
  void Beep() override { ++beeps_; }
  bool ShowTableDialog(TableOwner& owner, TableForm& form, std::string_view menu) override;

 private:
  enum class AnswerKind {
    Button,
    Close,
    Text,
    Cancel,
    Item,
    Colour,
    Font,
    Symbol,
    File,
    ProgressCancel,
    Table,
  };
  struct Answer {
    AnswerKind kind;
    std::string text;
    int number = 0;
    Color colour;
    FontChoice font;
    TableScript table;
  };

  void Queue(AnswerKind kind, std::string text = {}, int number = 0, Color colour = {});
  // The next answer when it is of one of the accepted kinds; otherwise the
  // test fails and nothing is consumed.
  const Answer* Take(const UiCall& call, std::initializer_list<AnswerKind> accepted);
  std::optional<std::string> AnswerFileDialog(const char* kind, const FileDialogRequest& request);

  std::vector<UiCall> calls_;
  std::deque<Answer> answers_;
  Answer taken_;
  std::string clipboard_;
  int beeps_ = 0;
};

}  // namespace kordavelt::testing
