// Editing in a table window: what opens when an edit starts, and how the
// edited text reaches the owner.

#include <algorithm>

#include "base/dial_list.h"
#include "draw/picture_string.h"
#include "table/table_driver.h"
#include "table/table_window.h"

namespace kordavelt {
namespace {

// Shown in the drop-down of a list cell that has no choices.
constexpr std::string_view kNoChoices = "Нет#данныx";

bool ReadOnlyLetter(char letter) { return letter == 'X' || letter == 'Y' || letter == 'Z'; }

// The editor shows a picture cell's text without its drawing.
std::string WithoutPicture(std::string_view item) {
  if (!Picture::IsPicture(item)) return std::string(item);
  return Picture::Parse(item).TrailingText();
}

std::vector<std::string> Choices(std::string_view list) {
  if (list.empty()) list = kNoChoices;
  std::vector<std::string> choices;
  for (int i = 0; i < ListCount(list); ++i) choices.push_back(ListItem(list, i));
  return choices;
}

}  // namespace

EditorRequest TableWindow::BeginEdit(EditTrigger trigger, std::string_view typed) {
  EditorRequest request;
  if (inCommit_ || selFirst_ != 0 || ColCount() == 0) return request;
  const int row = CurRow();
  const int col = CurCol();
  const int lastRow = formView_ ? rows_ : LastGridRow();
  if (row < 1 || row > lastRow || col < 0 || col >= ColCount()) return request;

  Publish();
  cachedRow_ = -1;
  const std::string item = ListItem(Line(row), col);
  const char letter = EditLetter(form_.editCodes, col);
  const char display =
      col < static_cast<int>(form_.displayCodes.size()) ? form_.displayCodes[col] : 0;
  editText_ = display == 'D' && ReadOnlyLetter(letter) ? std::string() : WithoutPicture(item);
  editRow_ = row;
  editCell_ = GridCell{row, col};
  editLetter_ = letter;

  const bool press = trigger == EditTrigger::Enter || trigger == EditTrigger::DoubleClick ||
                     trigger == EditTrigger::Space;
  if (letter == 'X' && press) {
    // An action cell acts at once, with nothing typed.
    request.kind = EditorRequest::Kind::Committed;
    request.commit = Commit(row, col, "");
    return request;
  }
  if (letter == 'L' && (press || trigger == EditTrigger::OtherKey)) {
    request.kind = EditorRequest::Kind::List;
    request.choices = Choices(form_.listItems);
    return request;
  }
  request.kind = EditorRequest::Kind::Inline;
  request.text = trigger == EditTrigger::Character ? std::string(typed) : editText_;
  return request;
}

CommitResult TableWindow::EndEdit(EditEnd end, std::string_view text) {
  if (!Editing()) return {};
  switch (end) {
    case EditEnd::Escape:
    case EditEnd::Elsewhere:
      CancelEdit();
      return {};
    default:
      break;
  }
  // An emptied list cell keeps its choice.
  const std::string typed = editLetter_ == 'L' && text.empty() ? editText_ : std::string(text);
  return Commit(editCell_.row, editCell_.col, typed);
}

CommitResult TableWindow::ChooseFromList(int index) {
  if (!Editing()) return {};
  const std::vector<std::string> choices = Choices(form_.listItems);
  if (index < 0 || index >= static_cast<int>(choices.size())) {
    CancelEdit();
    return {};
  }
  return Commit(editCell_.row, editCell_.col, choices[index]);
}

void TableWindow::CancelEdit() {
  editRow_ = 0;
  editCell_ = {};
  Notify(OnRepaint);
}

CommitResult TableWindow::CommitText(std::string_view text) {
  if (selFirst_ != 0 || ColCount() == 0) return {};
  return Commit(CurRow(), CurCol(), text);
}

CommitResult TableWindow::Commit(int row, int col, std::string_view text) {
  CommitResult result;
  if (inCommit_) return result;
  editRow_ = 0;
  editCell_ = {};
  inCommit_ = true;
  const GridCell remembered = current_;
  const int recordBefore = record_;

  TableDriver driver(owner_, form_, env_.ui);
  driver.SetBeepOnInvalid(false);
  result.committed = driver.CommitEdit(row, col, text);
  result.rowChosen = driver.RowChosen();
  result.closeWindow =
      result.committed && owner_.HasEdit() && form_.refresh == Refresh::CloseWindow;

  // The owner may have moved the current cell (a row appended, say); that
  // move stands, otherwise the cell current before the commit comes back.
  const int ownerRow = form_.curRow;
  const int ownerCol = form_.curCol;
  cachedRow_ = -1;
  Sync();
  if (formView_) {
    record_ = ownerRow != row ? std::clamp(ownerRow, 1, std::max(rows_, 1)) : recordBefore;
  } else if (ownerRow != row || ownerCol != col) {
    current_ = GridCell{ClampRow(ownerRow),
                        std::clamp(ownerCol, layout_.FixedCols(), std::max(ColCount() - 1, 0))};
  } else {
    current_ = GridCell{ClampRow(remembered.row), remembered.col};
  }
  Publish();
  inCommit_ = false;
  Notify(OnRepaint);
  Notify(OnCommandsChanged);
  if (result.committed && owner_.HasEdit()) Notify(env_.onTableChanged);
  return result;
}

}  // namespace kordavelt
