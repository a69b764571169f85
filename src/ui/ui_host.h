#pragma once

// The program's window services, as the core sees them.
//
// Core code never opens a window: it asks its UiHost. The Qt program gives
// real dialogs, the command line prints and answers with defaults, and tests
// script the answers and check every text. A handful of primitives are
// virtual; the message boxes of the program (ShowError, AskYesNo, ...) and the
// number inputs are built on them here, once, so every host answers alike.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "draw/color.h"
#include "ui/table_owner.h"

namespace kordavelt {

class Canvas;

// Answers compared throughout the program.
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;
inline constexpr int kAnswerCancel = 2;
// ShowDialog answers 10 + the number of the button pressed, counted from 1.
inline constexpr int kFirstButton = 11;

enum class IconKind : int {
  Warning = 0,
  Stop = 1,
  Information = 2,
  Question = 3,
  None = 4,
};

// An open or save dialog. The filter is a list of description|pattern pairs
// such as "Базы данных (*.LVN)|*.LVN" (see file_filter.h).
struct FileDialogRequest {
  std::string title;
  std::string filter;
  std::string defaultExtension;  // without the dot
  std::string initialPath;       // folder, or folder and file name
  bool confirmOverwrite = false;
  // When set, receives the 1-based number of the filter entry the user chose
  // (a host without filter choice leaves it unchanged).
  int* chosenFilter = nullptr;
};

// A font as the user chooses it in the font dialog: family, size in points
// and style (0 regular, 1 italic, 2 bold, 3 bold italic).
struct FontChoice {
  std::string name = "Arial";
  int pointSize = 10;
  int style = 0;
  friend bool operator==(const FontChoice&, const FontChoice&) = default;
};

// A modal progress window with a cancel button, polled by long transfers.
class ProgressWindow {
 public:
  virtual ~ProgressWindow() = default;
  virtual void SetText(std::string_view text) = 0;
  virtual void SetProgress(int done, int total) = 0;
  // True once the user asked to stop; also keeps the window responsive.
  virtual bool Cancelled() = 0;
};

// Draws symbol `index` (1-based) of a palette into the cell whose top-left
// corner is (left, top) and whose side is `size` pixels.
using SymbolPainter = std::function<void(Canvas& canvas, int index, int left, int top, int size)>;

class UiHost {
 public:
  virtual ~UiHost() = default;

  // --- Primitives every host provides -------------------------------------

  // A message window: `text` and `buttons` are '#'-lists (lines, captions).
  // Returns 10 + the number of the button pressed (11 for the first), or 2
  // when the window is closed without a button.
  virtual int ShowDialog(std::string_view caption, std::string_view text, std::string_view buttons,
                         IconKind icon) = 0;

  // The same window with button `defaultButton` (1-based) as the one that
  // has the focus and that Enter presses; a host without such a notion
  // shows the plain window.
  virtual int ShowDialogWithDefault(std::string_view caption, std::string_view text,
                                    std::string_view buttons, IconKind icon,
                                    int /*defaultButton*/) {
    return ShowDialog(caption, text, buttons, icon);
  }

  // A text input: prompt lines ('#'-list), the current text preset and
  // selected, at most maxLength characters. True with the new text on
  // accept; false with the text unchanged on cancel.
  virtual bool InputText(std::string_view caption, std::string_view prompt, std::string& text,
                         int maxLength) = 0;

  // A list of '#'-separated items; the chosen index, or `initial` when cancelled.
  virtual int ChooseFromList(std::string_view caption, std::string_view items, int initial) = 0;

  virtual bool ChooseColour(Color& colour) = 0;

  // The font dialog (screen and printer fonts) preset with `font`; true with
  // the chosen font, false with `font` unchanged when cancelled.
  virtual bool ChooseFont(FontChoice& font) = 0;

  // A palette of `count` symbols; the chosen symbol number (1-based) or 0.
  // Nothing is shown, and 0 answered, for fewer than two symbols.
  virtual int ChooseSymbol(std::string_view caption, int count, const SymbolPainter& paint) = 0;

  // The chosen file's full path, or nothing when the user cancels.
  virtual std::optional<std::string> AskOpenFileName(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) = 0;

  virtual std::string ClipboardText() = 0;
  virtual void SetClipboardText(std::string_view text) = 0;

  virtual std::unique_ptr<ProgressWindow> OpenProgress(std::string_view caption,
                                                       std::string_view text) = 0;

  // The warning sound of an invalid entry.
  virtual void Beep() = 0;

  // A modal table over `owner`, laid out by `form` (caption, title, headers,
  // letters, row count, appendable, and the current row and column to start
  // on). `menu` is a '#'-list of four captions: print, edit, ok, cancel;
  // an empty item leaves that command out. True when the dialog closed with
  // ok (an owner without OnEdit: a committed cell chooses its row); the
  // final current row and column are left in the form.
  virtual bool ShowTableDialog(TableOwner& owner, TableForm& form, std::string_view menu) = 0;

  // The modal choice among rows behind ShowChoiceDialog: "Выбор" or
  // "Отмена", fitted to every row. Hosts that place it differently from
  // other tables override it.
  virtual bool ShowChoiceTable(TableOwner& owner, TableForm& form) {
    return ShowTableDialog(owner, form, "##Выбор#Отмена");
  }

  // --- The program's message boxes, built on ShowDialog -------------------

  void ShowError(std::string_view caption, std::string_view text);
  void ShowInfo(std::string_view caption, std::string_view text);

  // "Да#Нет": 6 or 7; closing the window answers 6.
  int AskYesNo(std::string_view caption, std::string_view text);
  // "Нет#Да": 6 or 7; closing the window answers 7.
  int AskNoYes(std::string_view caption, std::string_view text);
  // "Да#Нет#Отменить": 6, 7 or 2; closing the window answers 2.
  int AskYesNoCancel(std::string_view caption, std::string_view text);
  // "Да#Нет" for a question that guards a deletion or a loss of data: "Нет"
  // is the default button and closing the window answers 7, so neither a
  // stray Enter nor a stray close destroys anything.
  int AskYesNoSafe(std::string_view caption, std::string_view text);

  // Number inputs through InputText (at most 10 characters): an entry that is
  // not a number beeps and asks again with the typed text. Cancel answers
  // false and leaves the value unchanged.
  bool InputReal(std::string_view caption, std::string_view prompt, double& value);
  bool InputInteger(std::string_view caption, std::string_view prompt, int& value);

  // A modal choice among the rows of `owner`: "Выбор" or "Отмена". With no
  // rows it answers false at once and sets the row to 1.
  bool ShowChoiceDialog(TableOwner& owner, TableForm& form);
};

}  // namespace kordavelt
