// The receiver list: the receivers window's second layout, with the group
// data, branch and switching states of every receiver.

#include "base/dial_list.h"
#include "base/number_format.h"
#include "model/data_texts.h"
#include "model/group_columns.h"
#include "model/group_owner.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "model/receiver_ops.h"
#include "model/receiver_owner.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

constexpr std::string_view kListLetters = "NTTTNNNNNLLXNNNNNNNNXLNNNNNNT";
// Columns 10 … 26 of the list are the group columns 2 … 18 of the groups window.
constexpr int kFirstGroupColumn = 10;
constexpr int kGroupColumnOffset = kFirstGroupColumn - kGroupColumnKind;
constexpr int kLastGroupColumn = kGroupColumnLast + kGroupColumnOffset;
constexpr int kBranchColumn = 27;
constexpr int kSwitchingColumn = 28;

// The group column a list column edits, 0 for other columns. Nэп and Nраб
// are counters and not edited.
int GroupColumnOf(int listColumn) {
  if (listColumn == 2) return kGroupColumnName;
  if (listColumn >= kFirstGroupColumn && listColumn <= kLastGroupColumn - 2) {
    return listColumn - kGroupColumnOffset;
  }
  return 0;
}

// "+" or "-" for regimes 0 … 7.
std::string SwitchingText(std::uint16_t status) {
  std::string text;
  for (int r = 0; r < 8; ++r) text += (status >> r & 1) != 0 ? '+' : '-';
  return text;
}

}  // namespace

std::string ReceiverOwner::ListLine(std::int32_t key, std::string& editCodes) {
  const ReceiverRec receiver(model_.Receivers()->Record());
  const std::string designation = receiver.Marking();
  const int source = receiver.SourceNumber();
  const int room = receiver.Room();
  const std::int16_t x = receiver.X();
  const std::int16_t y = receiver.Y();
  const std::int16_t z = receiver.Z();
  const int phase = receiver.PhaseIndex();
  const std::int32_t branch = receiver.BranchKey();
  const int group = GroupOfKey(key);

  // The group is named by the designation of its first receiver.
  std::string groupDesignation;
  tbClass* receivers = model_.Receivers();
  if (GroupHasReceivers(*receivers, group)) {
    groupDesignation = ReceiverRec(receivers->Record()).Marking();
  }

  editCodes = std::string(kListLetters);
  std::string groupName;
  std::string groupCells;
  tbClass* groups = model_.Groups();
  if (modelClass::SeekExact(groups, group)) {
    const GroupRec record(groups->Record());
    groupName = record.Name();
    groupCells = groups_.Columns().Cells(record);
    const std::string letters = groups_.Columns().EditLetters(record);
    for (int c = kGroupColumnKind; c <= kGroupColumnLast && c < static_cast<int>(letters.size());
         ++c) {
      editCodes[static_cast<std::size_t>(c + kGroupColumnOffset)] =
          letters[static_cast<std::size_t>(c)];
    }
  }
  // A group row that ends early (a motor type the book lacks) keeps the
  // branch columns in their places.
  const int groupCellCount = kGroupColumnLast - kGroupColumnKind + 1;
  for (int missing = groupCells.empty() ? groupCellCount
                                        : groupCellCount - ListCount(groupCells) + 1;
       missing > 0; --missing) {
    groupCells += '#';
  }

  std::string line = FormatCode(key, 10) + "#" + designation + "#" + groupName + "#" +
                     groupDesignation + AppendNumber(source) + AppendNumber(room) +
                     AppendNumber(x) + AppendNumber(y) + AppendNumber(z) + "#" +
                     ListItem(kPhaseList, phase) + groupCells + "#" + FormatCode(branch, 8) + "#";
  tbClass* branches = model_.Branches();
  if (branch != 0 && modelClass::SeekExact(branches, branch)) {
    line += SwitchingText(BranchRec(branches->Record()).Status());
  }
  return line;
}

void ReceiverOwner::MoveToGroupOf(std::int32_t key, std::string_view designation, TableForm& form) {
  const std::int32_t named = model_.Designations().KeyOf(designation);
  tbClass* receivers = model_.Receivers();
  // Only a receiver's designation names a group.
  if (named == 0 || !modelClass::SeekExact(receivers, named) ||
      FoldDesignation(ReceiverRec(receivers->Record()).Marking()) != FoldDesignation(designation)) {
    if (!designation.empty()) {
      ui_.ShowError(form_.caption,
                    "Нет электроприемника с обозначением " + std::string(designation) +
                        "#Группу называет обозначение одного из ее электроприемников");
    }
    return;
  }
  const int group = GroupOfKey(named);
  if (group == GroupOfKey(key)) return;
  const std::int32_t target = ReceiverKey(group, NumberInGroup(key));
  if (modelClass::SeekExact(receivers, target)) {
    ui_.ShowError(form_.caption, "Код ЭП используется");
    return;
  }
  if (MoveReceiver(model_, key, target)) Rebuilt(form, target);
}

void ReceiverOwner::OnReadOnlyEdit(TableForm& form) {
  const int column = form.curCol - kGroupColumnOffset;
  if (!listMode_ || column < kGroupColumnKind || column > kGroupColumnLast) return;
  const std::int32_t key = rows_.Key(form.curRow);
  tbClass* groups = model_.Groups();
  if (key == 0 || !modelClass::SeekExact(groups, GroupOfKey(key))) return;
  const std::string reason = groups_.Columns().ReadOnlyReason(GroupRec(groups->Record()), column);
  if (!reason.empty()) ui_.ShowInfo(form_.caption, reason);
}

void ReceiverOwner::EditList(std::int32_t key, TableForm& form) {
  const int column = form.curCol;
  if (const int groupColumn = GroupColumnOf(column); groupColumn != 0) {
    if (ui_.AskYesNoSafe(form_.caption, "Изменяется параметр для группы") != kAnswerYes) return;
    tbClass* groups = model_.Groups();
    const int group = GroupOfKey(key);
    if (modelClass::SeekExact(groups, group) &&
        groups_.Columns().Edit(GroupRec(groups->Record()), groupColumn, form) &&
        modelClass::SeekExact(groups, group)) {
      groups->MarkModifiedAndFlush();
      form.refresh = Refresh::All;
      if (groups_.OnGroupsChanged) groups_.OnGroupsChanged();
    }
    return;
  }
  tbClass* receivers = model_.Receivers();
  switch (column) {
    case 0:
      EditCode(key, form);
      break;
    case 1:
      EditField(key, Field::Designation, form);
      break;
    case 3:
      MoveToGroupOf(key, form.editText, form);
      break;
    case 4:
      EditField(key, Field::Source, form);
      break;
    case 5:
      ExplainKept(key, "Помещение электроприемника находится по его координатам X, Y, Z", form);
      break;
    case 6:
      EditField(key, Field::X, form);
      break;
    case 7:
      EditField(key, Field::Y, form);
      break;
    case 8:
      EditField(key, Field::Z, form);
      break;
    case 9:
      EditField(key, Field::Phase, form);
      break;
    case kBranchColumn: {
      // The receiver is tied to an existing receiver branch only.
      std::int32_t branch = 0;
      int node = 0;
      int slot = 0;
      if (!form.editText.empty()) {
        if (!ParseReceiverCode(form.editText, node, slot) || slot > kMaxSlot) {
          ui_.Beep();
          return;
        }
        branch = BranchKey(node, slot);
        tbClass* branches = model_.Branches();
        if (branch != 0 && (!modelClass::SeekExact(branches, branch) ||
                            BranchRec(branches->Record()).Kind() != kKindReceiver)) {
          ui_.Beep();
          return;
        }
      }
      if (!modelClass::SeekExact(receivers, key)) return;
      ReceiverRec(receivers->Record()).SetBranchKey(branch);
      receivers->MarkModifiedAndFlush();
      tbClass* objects = branch != 0 ? model_.OpenObjectTable(kKindReceiver) : nullptr;
      if (modelClass::SeekExact(objects, branch)) {
        ReceiverObjectRec(objects->Record()).SetReceiverKey(key);
        objects->MarkModifiedAndFlush();
      }
      break;
    }
    case kSwitchingColumn: {
      if (!modelClass::SeekExact(receivers, key)) return;
      const std::int32_t branch = ReceiverRec(receivers->Record()).BranchKey();
      tbClass* branches = model_.Branches();
      if (branch == 0 || !modelClass::SeekExact(branches, branch)) return;
      std::uint16_t status = 0;
      for (int r = 0; r < 8 && r < static_cast<int>(form.editText.size()); ++r) {
        if (form.editText[static_cast<std::size_t>(r)] == '+') status |= 1u << r;
      }
      BranchRec(branches->Record()).SetStatus(status);
      branches->MarkModifiedAndFlush();
      model_.Refresh(RefreshSender::None, 2);
      break;
    }
    default:
      break;
  }
}

}  // namespace kordavelt
