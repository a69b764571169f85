#include "model/group_owner.h"

#include <algorithm>

#include "base/number_format.h"
#include "model/data_texts.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/receiver_ops.h"
#include "model/source_loads.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

constexpr int kColumns = 19;
// The highest group number whose receiver keys fit the 32-bit key.
constexpr std::int32_t kMaxGroup = 2097151;

}  // namespace

GroupOwner::GroupOwner(modelClass& model, UiHost& ui)
    : model_(model), ui_(ui), columns_(model.Book(), ui) {
  form_.caption = std::string(kCaption);
  form_.name = "GEP";
  form_.head1 =
      " № #   Наименование   #Вид#    Тип    #Uном#Число# Pном # CosФ #Iном#Iпуск#CosФп# tп # "
      "Само-#Режим# Kз # Кв # tц # Nэп #Nраб";
  form_.head2 =
      "   # электроприемника #   #   мотора  # В  # фаз # кВт  #      # А  #  А  #     #  c "
      "#запуск#     #    #    # мин#     #    ";
  form_.displayCodes = "CLCCCCCCCCCCCCCCCCCC";
  form_.editCodes = "NTLXXNNNNNNNNXLNNNZZ";
  form_.appendable = true;
  Reload();
}

void GroupOwner::Reload() {
  rows_.Rebuild(model_.Groups());
  form_.rowCount = rows_.Rows();
  form_.curRow = std::clamp(form_.curRow, 1, rows_.Rows() + 1);
  form_.refresh = Refresh::All;
}

int GroupOwner::CurrentGroup() {
  rows_.Sync(model_.Groups(), form_);
  return rows_.Key(form_.curRow);
}

void GroupOwner::ShowGroup(int group) {
  rows_.Sync(model_.Groups(), form_);
  const int row = rows_.RowOf(group);
  if (row != 0) form_.curRow = row;
}

void GroupOwner::OnLine(TableForm& form) {
  rows_.Sync(model_.Groups(), form);
  form.listItems = form.curCol == kGroupColumnKind ? std::string(kGroupKindList)
                   : form.curCol == 13             ? std::string(kRegimeList)
                                                   : std::string();
  const std::int32_t key = rows_.Key(form.lineNo);
  tbClass* groups = model_.Groups();
  if (key == 0 || !modelClass::SeekExact(groups, key)) {
    form.line = std::string(kColumns - 1, '#');
    form.editCodes = "NTLXNNNNZNNNXLNNNZZ";
    return;
  }
  const GroupRec group(groups->Record());
  form.line = std::to_string(key) + "#" + group.Name() + columns_.Cells(group);
  form.editCodes = columns_.EditLetters(group);
}

std::int32_t GroupOwner::AppendGroup(TableForm& form) {
  tbClass* groups = model_.Groups();
  if (groups == nullptr) return 0;
  const std::int32_t key = std::max(groups->LastKey(), 0) + 1;
  if (key > kMaxGroup) {
    ui_.Beep();
    return 0;
  }
  groups->Insert(key);
  if (groups->Status() != kStatusOk) return 0;
  GroupRec group(groups->Record());
  group.SetClass(kGroupKindNone);
  group.SetKz(1);
  group.SetKv(1);
  group.SetTc(1440);
  groups->MarkModifiedAndFlush();
  rows_.Rebuild(groups);
  form.rowCount = rows_.Rows();
  form.curRow = rows_.RowOf(key);
  form.refresh = Refresh::All;
  return key;
}

void GroupOwner::Renumber(std::int32_t group, std::int32_t number, TableForm& form) {
  tbClass* groups = model_.Groups();
  if (number == group) return;
  if (GroupHasReceivers(*model_.Receivers(), group)) {
    ui_.ShowError(kCaption,
                  "В группе имеются электроприемники!#Пока в этом случае код изменять запрещено");
    return;
  }
  if (number <= 0 || number > kMaxGroup) {
    ui_.Beep();
    return;
  }
  // Keys stay unique.
  if (modelClass::SeekExact(groups, number)) {
    ui_.ShowError(kCaption, "Номер группы занят");
    return;
  }
  if (!modelClass::SeekExact(groups, group)) return;
  groups->ChangeKey(number);
  rows_.Rebuild(groups);
  form.rowCount = rows_.Rows();
  form.curRow = std::max(rows_.RowOf(number), 1);
  form.refresh = Refresh::All;
}

void GroupOwner::OnEdit(TableForm& form) {
  rows_.Sync(model_.Groups(), form);
  tbClass* groups = model_.Groups();
  if (groups == nullptr || model_.Receivers() == nullptr) return;
  std::int32_t key = rows_.Key(form.curRow);
  if (key == 0) {
    key = AppendGroup(form);
    if (key == 0) return;
  }
  if (form.curCol == 0) {
    Renumber(key, form.editInt, form);
  } else if (modelClass::SeekExact(groups, key) &&
             columns_.Edit(GroupRec(groups->Record()), form.curCol, form)) {
    // The book's dialog positions only book tables: the group is still current.
    if (modelClass::SeekExact(groups, key)) groups->MarkModifiedAndFlush();
    form.refresh = Refresh::All;
  }
  if (OnGroupsChanged) OnGroupsChanged();
}

void GroupOwner::OnReadOnlyEdit(TableForm& form) {
  rows_.Sync(model_.Groups(), form);
  tbClass* groups = model_.Groups();
  const std::int32_t key = rows_.Key(form.curRow);
  if (key == 0 || !modelClass::SeekExact(groups, key)) return;
  const std::string reason = columns_.ReadOnlyReason(GroupRec(groups->Record()), form.curCol);
  if (!reason.empty()) ui_.ShowInfo(kCaption, reason);
}

void GroupOwner::OnDelete(TableForm& form) {
  const std::int32_t key = rows_.Key(form.curRow);
  tbClass* groups = model_.Groups();
  tbClass* receivers = model_.Receivers();
  if (key == 0 || receivers == nullptr || !modelClass::SeekExact(groups, key)) return;
  if (GroupHasReceivers(*receivers, key)) {
    if (ui_.AskYesNoSafe(kCaption, "Будут удалены все электроприемники группы!") != kAnswerYes) {
      return;
    }
    // At most one pass per receiver number, should a deletion fail.
    for (int n = 0; n < kMaxReceiverInGroup && GroupHasReceivers(*receivers, key); ++n) {
      if (!DeleteReceiver(model_, receivers->Key())) break;
    }
    if (model_.Settings().AutoCalc()) ComputeSourceLoads(model_, model_.Settings());
    if (OnReceiversChanged) OnReceiversChanged();
  }
  if (modelClass::SeekExact(groups, key)) groups->Delete();
  rows_.MarkStale();
}

}  // namespace kordavelt
