#include "shell/format_settings.h"

#include <algorithm>
#include <string>

#include "base/number_format.h"
#include "draw/picture_string.h"
#include "exchange/exchange_text.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

enum Row : int {
  kFontRow = 1,
  kDigitsRow,
  kMinNullRow,
  kDefaultColourRow,
  kOfflineColourRow,
  kSelectColourRow,
  kToolbarRow,
  kSeparatorRow,
  kQuotesRow,
};

constexpr int kMaxDigits = 10;

struct ColourRow {
  std::string_view label;
  std::uint32_t DisplaySettings::*colour;
};
// Rows 4, 5 and 6.
constexpr ColourRow kColourRows[] = {
    {"Цвет стандартный#", &DisplaySettings::colorDefault},
    {"Цвет отключенного#", &DisplaySettings::colorOffline},
    {"Цвет выделенного#", &DisplaySettings::colorSelect},
};

std::string CheckBox(bool checked) { return std::string(checked ? kCheckedBox : kUncheckedBox); }

void Call(const std::function<void()>& hook) {
  if (hook) hook();
}

}  // namespace

FormatSettingsOwner::FormatSettingsOwner(DisplaySettings& settings, UiHost& ui)
    : settings_(settings), ui_(ui) {
  form_.caption = std::string(kCaption);
  form_.head1 = "_____________________#_______________";
  form_.displayCodes = "LC";
  form_.editCodes = "XX";
  form_.rowCount = kRows;
}

bool FormatSettingsOwner::Show() {
  form_.curRow = kDigitsRow;
  form_.curCol = 1;
  return ui_.ShowTableDialog(*this, form_, kMenu);
}

void FormatSettingsOwner::OnLine(TableForm& form) {
  const DisplaySettings& s = settings_;
  form.editCodes = "XX";
  form.lineColorSet = false;
  switch (form.lineNo) {
    case kFontRow:
      form.line = "Шрифт#" + s.fontName + "(" + std::to_string(s.fontSize) + ")";
      break;
    case kDigitsRow:
      form.line = "Значащих цифр" + AppendNumber(s.digits);
      form.editCodes = "XN";
      break;
    case kMinNullRow:
      form.line = "Минимум не нуль" + AppendNumber(s.minNull);
      form.editCodes = "XN";
      break;
    case kDefaultColourRow:
    case kOfflineColourRow:
    case kSelectColourRow: {
      const ColourRow& row = kColourRows[form.lineNo - kDefaultColourRow];
      form.line = std::string(row.label) + std::string(kColourSwatch);
      // The swatch is drawn in the row's colour.
      form.lineColor = Color::FromColorRef(s.*row.colour);
      form.lineColorSet = true;
      break;
    }
    case kToolbarRow:
      form.line = "Панель инструментов#" + CheckBox(!s.toolbarHidden);
      break;
    case kSeparatorRow:
      form.line = "Разделитель для CSV#" + std::string(1, s.csvSeparator);
      form.editCodes = "XT";
      break;
    case kQuotesRow:
      form.line = "Кавычки для \"текста\" CSV#" + CheckBox(s.csvQuotes);
      break;
    default:
      form.line = "#";
      break;
  }
}

bool FormatSettingsOwner::EditColour(std::uint32_t& colour) {
  Color chosen = Color::FromColorRef(colour);
  if (!ui_.ChooseColour(chosen)) return false;
  colour = chosen.ColorRef();
  return true;
}

bool FormatSettingsOwner::EditRow(TableForm& form) {
  DisplaySettings& s = settings_;
  // Number and text rows take what is typed into the value; their label
  // cell is an action that changes nothing.
  const bool valueCell = form.curCol == 1;
  switch (form.curRow) {
    case kFontRow: {
      FontChoice font = s.Font();
      if (!ui_.ChooseFont(font)) return false;
      s.SetFont(font);
      Call(OnFontChanged);
      return true;
    }
    case kDigitsRow:
      // An emptied cell commits no number.
      if (!valueCell || form.editText.empty()) return false;
      s.digits = std::clamp(form.editInt, 0, kMaxDigits);
      ApplyNumberFormat(s);
      Call(OnRepaintAll);
      return true;
    case kMinNullRow:
      if (!valueCell || form.editText.empty() || !(form.editReal < 1)) return false;
      s.minNull = static_cast<float>(form.editReal);
      ApplyNumberFormat(s);
      Call(OnRepaintAll);
      return true;
    case kDefaultColourRow:
    case kOfflineColourRow:
    case kSelectColourRow:
      if (!EditColour(s.*kColourRows[form.curRow - kDefaultColourRow].colour)) return false;
      // The selection colour shows with the next selection: only the other
      // two repaint what is on screen.
      if (form.curRow != kSelectColourRow) Call(OnRepaintAll);
      return true;
    case kToolbarRow:
      s.toolbarHidden = !s.toolbarHidden;
      if (OnToolbarChanged) OnToolbarChanged(!s.toolbarHidden);
      Call(OnRepaintAll);
      return true;
    case kSeparatorRow: {
      if (!valueCell || form.editText.empty()) return false;
      // Only a character the CSV files can use is taken (printable ASCII, not
      // '#' or a quote), so the row never shows a separator the export
      // would replace by ','.
      const char first = form.editText.front();
      if (CsvSeparator(CsvOptions{first, false}) != first) {
        ui_.Beep();
        return false;
      }
      s.csvSeparator = first;
      return true;
    }
    case kQuotesRow:
      s.csvQuotes = !s.csvQuotes;
      return true;
    default:
      return false;
  }
}

void FormatSettingsOwner::OnEdit(TableForm& form) {
  if (!EditRow(form)) return;
  form.refresh = Refresh::All;
  Call(OnReLayout);
}

}  // namespace kordavelt
