#include "ui/ui_host.h"

#include "base/number_format.h"

namespace kordavelt {
namespace {

constexpr int kNumberInputLength = 10;

}  // namespace

void UiHost::ShowError(std::string_view caption, std::string_view text) {
  ShowDialog(caption, text, "Ok", IconKind::Stop);
}

void UiHost::ShowInfo(std::string_view caption, std::string_view text) {
  ShowDialog(caption, text, "Ok", IconKind::Information);
}

int UiHost::AskYesNo(std::string_view caption, std::string_view text) {
  const int answer = ShowDialog(caption, text, "Да#Нет", IconKind::Question);
  return answer == kFirstButton + 1 ? kAnswerNo : kAnswerYes;
}

int UiHost::AskNoYes(std::string_view caption, std::string_view text) {
  const int answer = ShowDialog(caption, text, "Нет#Да", IconKind::Question);
  return answer == kFirstButton + 1 ? kAnswerYes : kAnswerNo;
}

int UiHost::AskYesNoCancel(std::string_view caption, std::string_view text) {
  switch (ShowDialog(caption, text, "Да#Нет#Отменить", IconKind::Question)) {
    case kFirstButton:
      return kAnswerYes;
    case kFirstButton + 1:
      return kAnswerNo;
    default:
      return kAnswerCancel;
  }
}

int UiHost::AskYesNoSafe(std::string_view caption, std::string_view text) {
  const int answer = ShowDialogWithDefault(caption, text, "Да#Нет", IconKind::Question, 2);
  return answer == kFirstButton ? kAnswerYes : kAnswerNo;
}

bool UiHost::InputReal(std::string_view caption, std::string_view prompt, double& value) {
  std::string text = FormatNumber(value);
  while (InputText(caption, prompt, text, kNumberInputLength)) {
    if (ParseNumber(text, value)) return true;
    Beep();
  }
  return false;
}

bool UiHost::InputInteger(std::string_view caption, std::string_view prompt, int& value) {
  std::string text = std::to_string(value);
  while (InputText(caption, prompt, text, kNumberInputLength)) {
    if (ParseInteger(text, value)) return true;
    Beep();
  }
  return false;
}

bool UiHost::ShowChoiceDialog(TableOwner& owner, TableForm& form) {
  if (form.rowCount <= 0) {
    form.curRow = 1;
    return false;
  }
  return ShowChoiceTable(owner, form);
}

}  // namespace kordavelt
