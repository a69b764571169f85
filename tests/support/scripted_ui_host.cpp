#include "support/scripted_ui_host.h"

#include <gtest/gtest.h>

#include "base/dial_list.h"

namespace kordavelt::testing {
namespace {

class ScriptedProgress : public ProgressWindow {
 public:
  explicit ScriptedProgress(int cancelOnPoll) : cancelOnPoll_(cancelOnPoll) {}
  void SetText(std::string_view) override {}
  void SetProgress(int, int) override {}
  bool Cancelled() override { return cancelOnPoll_ > 0 && ++polls_ >= cancelOnPoll_; }

 private:
  int cancelOnPoll_;
  int polls_ = 0;
};

std::string Describe(const UiCall& call) {
  return call.kind + " \"" + call.caption + "\": " + call.text;
}

}  // namespace

ScriptedUiHost::~ScriptedUiHost() {
  EXPECT_TRUE(answers_.empty()) << answers_.size() << " scripted answer(s) were never asked for";
}

void ScriptedUiHost::Queue(AnswerKind kind, std::string text, int number, Color colour) {
  answers_.push_back(Answer{kind, std::move(text), number, colour, {}, {}});
}

void ScriptedUiHost::AnswerTable(TableScript script) {
  answers_.push_back(Answer{AnswerKind::Table, {}, 0, {}, {}, std::move(script)});
}

void ScriptedUiHost::ChooseTableRow(int row) {
  AnswerTable([row](TableOwner&, TableForm& form) {
    form.curRow = row;
    return true;
  });
}

void ScriptedUiHost::CancelTable() { Queue(AnswerKind::Cancel); }

void ScriptedUiHost::PressButton(std::string caption) {
  Queue(AnswerKind::Button, std::move(caption));
}
void ScriptedUiHost::CloseWindow() { Queue(AnswerKind::Close); }
void ScriptedUiHost::EnterText(std::string text) { Queue(AnswerKind::Text, std::move(text)); }
void ScriptedUiHost::CancelInput() { Queue(AnswerKind::Cancel); }
void ScriptedUiHost::ChooseItem(int index) { Queue(AnswerKind::Item, {}, index); }
void ScriptedUiHost::PickColour(Color colour) { Queue(AnswerKind::Colour, {}, 0, colour); }
void ScriptedUiHost::PickFont(FontChoice font) {
  answers_.push_back(Answer{AnswerKind::Font, {}, 0, {}, std::move(font), {}});
}
void ScriptedUiHost::PickSymbol(int number) { Queue(AnswerKind::Symbol, {}, number); }
void ScriptedUiHost::ChooseFile(std::string path, int filter) {
  Queue(AnswerKind::File, std::move(path), filter);
}
void ScriptedUiHost::CancelProgressOnPoll(int poll) { Queue(AnswerKind::ProgressCancel, {}, poll); }

std::vector<std::string> ScriptedUiHost::Messages() const {
  std::vector<std::string> messages;
  for (const UiCall& call : calls_) {
    if (call.kind == "dialog") messages.push_back(call.caption + ": " + call.text);
  }
  return messages;
}

const ScriptedUiHost::Answer* ScriptedUiHost::Take(const UiCall& call,
                                                   std::initializer_list<AnswerKind> accepted) {
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected " << Describe(call) << " (no answer scripted)";
    return nullptr;
  }
  for (AnswerKind kind : accepted) {
    if (answers_.front().kind == kind) {
      taken_ = answers_.front();
      answers_.pop_front();
      return &taken_;
    }
  }
  ADD_FAILURE() << "the scripted answer does not fit " << Describe(call);
  return nullptr;
}

int ScriptedUiHost::ShowDialog(std::string_view caption, std::string_view text,
                               std::string_view buttons, IconKind icon) {
  calls_.push_back({"dialog", std::string(caption), std::string(text), std::string(buttons), icon});
  if (ListCount(buttons) == 1) return kFirstButton;  // a note with "Ok" only
  const Answer* answer = Take(calls_.back(), {AnswerKind::Button, AnswerKind::Close});
  if (answer == nullptr || answer->kind == AnswerKind::Close) return kAnswerCancel;
  for (int i = 0; i < ListCount(buttons); ++i) {
    if (ListItem(buttons, i) == answer->text) return kFirstButton + i;
  }
  ADD_FAILURE() << "no button \"" << answer->text << "\" in " << Describe(calls_.back());
  return kAnswerCancel;
}

int ScriptedUiHost::ShowDialogWithDefault(std::string_view caption, std::string_view text,
                                          std::string_view buttons, IconKind icon,
                                          int defaultButton) {
  const std::size_t index = calls_.size();
  const int answer = ShowDialog(caption, text, buttons, icon);
  calls_[index].defaultButton = defaultButton;
  return answer;
}

bool ScriptedUiHost::InputText(std::string_view caption, std::string_view prompt, std::string& text,
                               int maxLength) {
  calls_.push_back({"input", std::string(caption), std::string(prompt), {}, IconKind::None});
  const Answer* answer =
      Take(calls_.back(), {AnswerKind::Text, AnswerKind::Cancel, AnswerKind::Close});
  if (answer == nullptr || answer->kind != AnswerKind::Text) return false;
  EXPECT_LE(static_cast<int>(answer->text.size()), maxLength)
      << "the input box holds at most " << maxLength << " characters";
  text = answer->text;
  return true;
}

int ScriptedUiHost::ChooseFromList(std::string_view caption, std::string_view items, int initial) {
  calls_.push_back({"list", std::string(caption), std::string(items), {}, IconKind::None});
  const Answer* answer = Take(calls_.back(), {AnswerKind::Item, AnswerKind::Cancel});
  return answer != nullptr && answer->kind == AnswerKind::Item ? answer->number : initial;
}

bool ScriptedUiHost::ChooseColour(Color& colour) {
  calls_.push_back({"colour", {}, {}, {}, IconKind::None});
  const Answer* answer = Take(calls_.back(), {AnswerKind::Colour, AnswerKind::Cancel});
  if (answer == nullptr || answer->kind != AnswerKind::Colour) return false;
  colour = answer->colour;
  return true;
}

bool ScriptedUiHost::ChooseFont(FontChoice& font) {
  calls_.push_back({"font", {}, font.name, {}, IconKind::None});
  const Answer* answer = Take(calls_.back(), {AnswerKind::Font, AnswerKind::Cancel});
  if (answer == nullptr || answer->kind != AnswerKind::Font) return false;
  font = answer->font;
  return true;
}

int ScriptedUiHost::ChooseSymbol(std::string_view caption, int count, const SymbolPainter&) {
  if (count < 2) return 0;
  calls_.push_back({"symbol", std::string(caption), std::to_string(count), {}, IconKind::None});
  const Answer* answer = Take(calls_.back(), {AnswerKind::Symbol, AnswerKind::Cancel});
  return answer != nullptr && answer->kind == AnswerKind::Symbol ? answer->number : 0;
}

std::optional<std::string> ScriptedUiHost::AnswerFileDialog(const char* kind,
                                                            const FileDialogRequest& request) {
  calls_.push_back({kind, request.title, request.filter, {}, IconKind::None});
  const Answer* answer = Take(calls_.back(), {AnswerKind::File, AnswerKind::Cancel});
  if (answer == nullptr || answer->kind != AnswerKind::File) return std::nullopt;
  if (request.chosenFilter != nullptr) *request.chosenFilter = answer->number;
  return answer->text;
}

std::optional<std::string> ScriptedUiHost::AskOpenFileName(const FileDialogRequest& request) {
  return AnswerFileDialog("open", request);
}

std::optional<std::string> ScriptedUiHost::AskSaveFileName(const FileDialogRequest& request) {
  return AnswerFileDialog("save", request);
}

std::unique_ptr<ProgressWindow> ScriptedUiHost::OpenProgress(std::string_view caption,
                                                             std::string_view text) {
  calls_.push_back({"progress", std::string(caption), std::string(text), {}, IconKind::None});
  int cancelOnPoll = 0;
  if (!answers_.empty() && answers_.front().kind == AnswerKind::ProgressCancel) {
    cancelOnPoll = answers_.front().number;
    answers_.pop_front();
  }
  return std::make_unique<ScriptedProgress>(cancelOnPoll);
}

bool ScriptedUiHost::ShowTableDialog(TableOwner& owner, TableForm& form, std::string_view menu) {
  calls_.push_back({"table", form.caption, form.head1, std::string(menu), IconKind::None});
  const Answer* answer = Take(calls_.back(), {AnswerKind::Table, AnswerKind::Cancel});
  if (answer == nullptr || answer->kind != AnswerKind::Table) return false;
  const TableScript script = answer->table;
  return script(owner, form);
}

}  // namespace kordavelt::testing
