#include "model/source_owner.h"

#include <algorithm>
#include <cmath>

#include "base/cp1251.h"
#include "base/dial_list.h"
#include "base/number_format.h"
#include "base/paste_values.h"
#include "draw/color.h"
#include "model/data_texts.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "model/receiver_ops.h"
#include "model/source_loads.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

constexpr int kColumns = 9;
constexpr double kInvSqrt3 = 0.57735;
constexpr int kListedVoltages = 5;
constexpr int kBranchColumn = 8;

}  // namespace

SourceOwner::SourceOwner(modelClass& model, UiHost& ui) : model_(model), ui_(ui) {
  form_.caption = std::string(kCaption);
  form_.name = "IP";
  form_.head1 = " № # Обозначение #Uном#Цвет#  Sр   #  Pр   #  Qр  #  Iр  #Ветвь";
  form_.head2 = "   #             # В  #    #  кВА  #  кВт  # квар #  А   #";
  form_.displayCodes = "CLCCCCCCCCCCC";
  form_.editCodes = "NTLXXXXXXXXXX";
  form_.appendable = true;
  Reload();
}

void SourceOwner::Reload() {
  rows_.Rebuild(model_.Sources());
  form_.rowCount = rows_.Rows();
  form_.curRow = std::clamp(form_.curRow, 1, rows_.Rows() + 1);
  form_.refresh = Refresh::All;
}

void SourceOwner::UpdateLoads() {
  ComputeSourceLoads(model_, model_.Settings());
  form_.refresh = Refresh::All;
  if (OnRepaint) OnRepaint();
}

void SourceOwner::OnLine(TableForm& form) {
  rows_.Sync(model_.Sources(), form);
  const ModelSettings& settings = model_.Settings();
  form.listItems.clear();
  if (form.curCol == 2) {
    for (int i = 0; i < kListedVoltages; ++i) {
      if (i > 0) form.listItems += '#';
      form.listItems += FormatNumber(settings.NominalVoltage(i));
    }
  }
  const std::int32_t key = rows_.Key(form.lineNo);
  tbClass* sources = model_.Sources();
  if (key == 0 || !modelClass::SeekExact(sources, key)) {
    form.line = std::string(kColumns - 1, '#');
    return;
  }
  const SourceRec source(sources->Record());
  const double unom = settings.NominalVoltage(source.VoltageIndex());
  const double p = source.DesignP();
  const double q = source.DesignQ();
  const double s = std::hypot(p, q);
  form.line = std::to_string(key) + "#" + source.Marking() + AppendNumber(unom);
  form.line +=
      "#" + (form.exporting ? std::to_string(source.Colour()) : std::string(kColourSwatch));
  form.line += AppendNumber(s) + AppendNumber(p) + AppendNumber(q);
  form.line += AppendNumber(unom != 0 ? s * 1000 * kInvSqrt3 / unom : 0.0);
  form.line += "#" + FormatCode(source.BranchKey(), 8);
  form.lineColor = Color::FromColorRef(static_cast<std::uint32_t>(source.Colour()));
  form.lineColorSet = true;
}

std::int32_t SourceOwner::AppendSource(TableForm& form) {
  tbClass* sources = model_.Sources();
  const std::int32_t key = std::max(sources->LastKey(), 0) + 1;
  if (key > kMaxSourceNumber) {
    ui_.ShowError(kCaption, "Номер ИП должен быть меньше 256");
    return 0;
  }
  sources->Insert(key);
  if (sources->Status() != kStatusOk) return 0;
  sources->MarkModifiedAndFlush();
  rows_.Rebuild(sources);
  form.rowCount = rows_.Rows();
  form.curRow = rows_.RowOf(key);
  form.refresh = Refresh::All;
  return key;
}

void SourceOwner::Renumber(std::int32_t source, std::int32_t number, TableForm& form) {
  tbClass* sources = model_.Sources();
  if (number == source) return;
  if (number > kMaxSourceNumber) {
    ui_.ShowError(kCaption, "Номер ИП должен быть меньше 256");
    return;
  }
  if (number <= 0) {
    ui_.Beep();
    return;
  }
  if (modelClass::SeekExact(sources, number)) {
    ui_.ShowError(kCaption, "Номер источника занят");
    return;
  }
  if (!modelClass::SeekExact(sources, source)) return;
  const std::int32_t branch = SourceRec(sources->Record()).BranchKey();
  sources->ChangeKey(number);
  // The source object on the branch names its source by number.
  tbClass* objects = branch != 0 ? model_.OpenObjectTable(kKindPowerSource) : nullptr;
  if (modelClass::SeekExact(objects, branch)) {
    SourceObjectRec object(objects->Record());
    if (object.SourceNumber() == source) {
      object.SetSourceNumber(number);
      objects->MarkModifiedAndFlush();
    }
  }
  MarkaClass& index = model_.Designations();
  if (modelClass::SeekExact(sources, number)) {
    const std::string designation = SourceRec(sources->Record()).Marking();
    if (!designation.empty() && index.KeyOf(designation) == source) {
      index.Remove(designation);
      index.Add(designation, number);
    }
  }
  rows_.Rebuild(sources);
  form.rowCount = rows_.Rows();
  form.curRow = std::max(rows_.RowOf(number), 1);
  form.refresh = Refresh::All;
}

void SourceOwner::OnEdit(TableForm& form) {
  rows_.Sync(model_.Sources(), form);
  tbClass* sources = model_.Sources();
  if (sources == nullptr) return;
  std::int32_t key = rows_.Key(form.curRow);
  if (key == 0) {
    key = AppendSource(form);
    if (key == 0) return;
  }
  if (form.curCol == 0) {
    Renumber(key, form.editInt, form);
    return;
  }
  if (!modelClass::SeekExact(sources, key)) return;
  SourceRec source(sources->Record());
  switch (form.curCol) {
    case 1: {
      const std::string text(Utf8Prefix(form.editText, SourceRec::kMarkingCapacity));
      if (!ReplaceDesignation(model_.Designations(), source.Marking(), text, key)) {
        ui_.ShowError(kCaption, "Обозначение " + text + " уже используется");
        return;
      }
      source.SetMarking(text);
      break;
    }
    case 2:
      source.SetVoltageIndex(static_cast<std::uint8_t>(form.editInt));
      break;
    case 3: {
      Color colour = Color::FromColorRef(static_cast<std::uint32_t>(source.Colour()));
      if (!ui_.ChooseColour(colour)) return;
      if (!modelClass::SeekExact(sources, key)) return;
      SourceRec(sources->Record()).SetColour(static_cast<std::int32_t>(colour.ColorRef()));
      break;
    }
    default:
      ExplainComputed(form);
      UpdateLoads();
      return;
  }
  sources->MarkModifiedAndFlush();
}

// The load columns act as "compute again"; a value typed there is not taken.
void SourceOwner::ExplainComputed(TableForm& form) {
  if (form.editText.empty()) return;
  TableForm shown = form;
  shown.lineNo = form.curRow;
  OnLine(shown);
  if (TrimBlanks(ListItem(shown.line, form.curCol)) == form.editText) return;
  ui_.ShowInfo(kCaption, form.curCol == kBranchColumn
                             ? "Ветвь источника задается его присоединением к узлу"
                             : "Sр, Pр, Qр и Iр рассчитываются по электроприемникам источника");
}

void SourceOwner::OnDelete(TableForm& form) {
  const std::int32_t key = rows_.Key(form.curRow);
  tbClass* sources = model_.Sources();
  if (key == 0 || !modelClass::SeekExact(sources, key)) return;
  const SourceRec source(sources->Record());
  const std::string designation = source.Marking();
  const std::int32_t branch = source.BranchKey();
  MarkaClass& index = model_.Designations();
  if (!designation.empty() && index.KeyOf(designation) == key) index.Remove(designation);
  sources->Delete();
  rows_.MarkStale();

  tbClass* objects = branch != 0 ? model_.OpenObjectTable(kKindPowerSource) : nullptr;
  if (!modelClass::SeekExact(objects, branch)) return;
  if (ui_.AskYesNoSafe(kCaption, "Удалить ИП из модели") != kAnswerYes) return;
  if (modelClass::SeekExact(objects, branch)) objects->Delete();
  model_.DeleteBranch(branch, 0);
}

}  // namespace kordavelt
