#include "scheme/view_settings_owner.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/dial_list.h"
#include "base/number_format.h"
#include "draw/picture_string.h"
#include "scheme/zoom.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

enum Row : int {
  kFontRow = 1,
  kLineWidthRow,
  kColouredTextRow,
  kScaleRow,
  kGridRow,
  kExternalScaleRow,
  kStampRow,
  kSwitchMarkerRow,
  kRoundNodesRow,
  kWideBusbarsRow,
  kCableMarksRow,
  kArrowsRow,
  kAutoSyncRow,
  kAutoScrollRow,
  kCrossHairRow,
  kEditModeRow,
};

struct FlagRow {
  int row;
  std::string_view caption;
  bool ViewSettings::*flag;
};
constexpr FlagRow kFlagRows[] = {
    {kColouredTextRow, "Цветной текст", &ViewSettings::colouredText},
    {kGridRow, "Координатная сетка", &ViewSettings::dotGrid},
    {kSwitchMarkerRow, "Маркер - выключатель", &ViewSettings::switchMarkers},
    {kRoundNodesRow, "Узлы-кружки", &ViewSettings::roundNodes},
    {kWideBusbarsRow, "Узлы-широкие шины", &ViewSettings::wideBusbars},
    {kCableMarksRow, "Значки кабелей", &ViewSettings::cableMarks},
    {kArrowsRow, "Стрелки направлений ветвей", &ViewSettings::branchArrows},
    {kAutoSyncRow, "Автосинхронизация", &ViewSettings::autoSync},
    {kAutoScrollRow, "Автопрокрутка", &ViewSettings::autoScroll},
    {kCrossHairRow, "Перекрестье", &ViewSettings::crossHair},
};

const FlagRow* FlagRowOf(int row) {
  for (const FlagRow& flag : kFlagRows) {
    if (flag.row == row) return &flag;
  }
  return nullptr;
}

std::string CheckBox(bool checked) { return std::string(checked ? kCheckedBox : kUncheckedBox); }

std::string ListRow(std::string_view caption, std::string_view list, int index) {
  return std::string(caption) + "#" + ListItem(list, index);
}

}  // namespace

ViewSettingsOwner::ViewSettingsOwner(SchemeViewChoices& choices, UiHost& ui)
    : choices_(choices), ui_(ui) {
  static_assert(kScaleRow == Row::kScaleRow && kStampRow == Row::kStampRow &&
                kEditModeRow == Row::kEditModeRow);
  form_.caption = std::string(kCaption);
  form_.head1 = "_____________________#____";
  form_.displayCodes = "LC";
  form_.editCodes = "XX";
  form_.rowCount = kRows;
}

bool ViewSettingsOwner::Show() {
  form_.curRow = kFontRow;
  form_.curCol = 1;
  return ui_.ShowTableDialog(*this, form_, kMenu);
}

void ViewSettingsOwner::OnLine(TableForm& form) {
  const ViewSettings& s = choices_.settings;
  form.editCodes = "XX";
  form.listItems.clear();
  if (const FlagRow* flag = FlagRowOf(form.lineNo)) {
    form.line = std::string(flag->caption) + "#" + CheckBox(s.*flag->flag);
    return;
  }
  switch (form.lineNo) {
    case kFontRow:
      form.line = ListRow("Размер шрифта", kFontFactorList, FontFactorIndex(s.fontFactor));
      form.editCodes = "XL";
      form.listItems = std::string(kFontFactorList);
      break;
    case kLineWidthRow:
      form.line = "Толщина линий" + AppendNumber(s.lineWidth);
      form.editCodes = "XN";
      break;
    case kScaleRow:
      form.line = ListRow("Масштаб", kScaleChoiceList, choices_.scale);
      form.editCodes = "XL";
      form.listItems = std::string(kScaleChoiceList);
      break;
    case kExternalScaleRow:
      form.line = "Внешний масштаб, мм на шаг" + AppendNumber(s.externalScale);
      form.editCodes = "XN";
      break;
    case kStampRow:
      form.line = ListRow("Размер шрифта штампа", kStampSizeList, choices_.stampSize);
      form.editCodes = "XL";
      form.listItems = std::string(kStampSizeList);
      break;
    case kEditModeRow:
      form.line = "Редактирование схемы#" + CheckBox(choices_.editMode);
      break;
    default:
      form.line = "#";
      break;
  }
}

bool ViewSettingsOwner::EditRow(TableForm& form) {
  ViewSettings& s = choices_.settings;
  if (const FlagRow* flag = FlagRowOf(form.curRow)) {
    s.*flag->flag = !(s.*flag->flag);
    return true;
  }
  if (form.curRow == kEditModeRow) {
    choices_.editMode = !choices_.editMode;
    return true;
  }
  // List and number rows take the value cell; their label changes nothing.
  if (form.curCol != 1 || form.editText.empty()) return false;
  switch (form.curRow) {
    case kFontRow:
      s.fontFactor = FontFactorOfIndex(form.editInt);
      return true;
    case kLineWidthRow:
      s.lineWidth = std::clamp(form.editInt, 0, kMaxLineWidth);
      return true;
    case kScaleRow:
      choices_.scale = static_cast<int>(ScaleChoiceOf(form.editInt));
      return true;
    case kExternalScaleRow:
      if (!std::isfinite(form.editReal)) return false;
      s.externalScale = static_cast<float>(std::clamp(form.editReal, 0.0, kMaxExternalScale));
      return true;
    case kStampRow:
      choices_.stampSize = std::clamp(form.editInt, 0, 3);
      return true;
    default:
      return false;
  }
}

void ViewSettingsOwner::OnEdit(TableForm& form) {
  if (!EditRow(form)) return;
  form.refresh = Refresh::All;
  if (OnChanged) OnChanged(form.curRow);
}

}  // namespace kordavelt
