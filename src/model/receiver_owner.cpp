#include "model/receiver_owner.h"

#include <algorithm>
#include <limits>

#include "base/dial_list.h"
#include "base/number_format.h"
#include "base/paste_values.h"
#include "draw/color.h"
#include "model/data_texts.h"
#include "model/group_owner.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_records.h"
#include "model/receiver_ops.h"
#include "model/receiver_paste.h"
#include "model/room_at.h"
#include "model/source_loads.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

// Colouring modes of the scheme that colour receiver rows.
constexpr int kColouringBySources = 2;
constexpr int kColouringByRooms = 3;

}  // namespace

ReceiverOwner::ReceiverOwner(modelClass& model, UiHost& ui, GroupOwner& groups)
    : model_(model), ui_(ui), groups_(groups) {
  form_.name = "EP";
  form_.appendable = true;
  ShowReceivers();
}

void ReceiverOwner::ShowReceivers() {
  listMode_ = false;
  form_.caption = std::string(kCaption);
  form_.head1 =
      " № #Обозначение# Наименование электроприемника #Фаза#  X  #  Y  #  Z  #ИП#Пом.#Ветвь";
  form_.head2 =
      "   #           #                               #    #  м  #  м  #  м  # №# №  #     ";
  form_.displayCodes = "CLLCCCCCCCC";
  form_.editCodes = "NTXLNNNNNNN";
  Reload();
}

void ReceiverOwner::ShowReceiverList() {
  listMode_ = true;
  form_.caption = std::string(kListCaption);
  form_.head1 =
      "Код#Обозначение#  Наименование  #Обозначение#ИП#Поме-# X # Y # Z #Фаза#Вид#    Тип    "
      "#Uном#Число# Pном # CosФ #Iном#Iпуск#CosФп# tп # Само-#Режим# Kз # Кв # tц # Nэп #Nраб# "
      "Код #Включено";
  form_.head2 =
      "   #    ЭП     #электроприемника# группы ЭП #№ #щение# м # м # м #    #   #           # В  "
      "# фаз # кВт  #      # А  #  А  #     #  c #запуск#     #    #    # мин#     #    "
      "#Ветви#";
  form_.displayCodes = "CCLCCCCCCCCCCCCCCCCCCCCCCCCC";
  form_.editCodes = "NTTTNNNNNLLXNNNNNNNNXLNNNNNNT";
  AutoLoads();
  Reload();
}

void ReceiverOwner::Reload() {
  rows_.Rebuild(model_);
  stale_ = false;
  form_.rowCount = rows_.Rows();
  form_.curRow = std::clamp(form_.curRow, 1, rows_.Rows() + 1);
  form_.refresh = Refresh::All;
}

void ReceiverOwner::Sort() {
  const std::int32_t current = rows_.Key(form_.curRow);
  rows_.SortBy(model_, form_.curCol);
  stale_ = false;
  Rebuilt(form_, current);
}

void ReceiverOwner::Sync(TableForm& form) {
  if (!stale_) return;
  rows_.Rebuild(model_);
  stale_ = false;
  form.rowCount = rows_.Rows();
  form.curRow = std::clamp(form.curRow, 1, rows_.Rows() + 1);
  form.refresh = Refresh::All;
}

void ReceiverOwner::Rebuilt(TableForm& form, std::int32_t current) {
  rows_.Rebuild(model_);
  form.rowCount = rows_.Rows();
  const int row = rows_.RowOf(current);
  form.curRow = row != 0 ? row : std::clamp(form.curRow, 1, rows_.Rows() + 1);
  form.refresh = Refresh::All;
}

void ReceiverOwner::AutoLoads() {
  if (!model_.Settings().AutoCalc()) return;
  ComputeSourceLoads(model_, model_.Settings());
  if (OnSourceLoads) OnSourceLoads();
}

// --- Rows ------------------------------------------------------------------------------

std::string ReceiverOwner::ReceiverLine(std::int32_t key) {
  const ReceiverRec receiver(model_.Receivers()->Record());
  std::string line = FormatCode(key, 10) + "#" + receiver.Marking() + "#";
  const std::int16_t x = receiver.X();
  const std::int16_t y = receiver.Y();
  const std::int16_t z = receiver.Z();
  const int source = receiver.SourceNumber();
  const int room = receiver.Room();
  const int phase = receiver.PhaseIndex();
  const std::int32_t branch = receiver.BranchKey();
  tbClass* groups = model_.Groups();
  if (modelClass::SeekExact(groups, GroupOfKey(key))) line += GroupRec(groups->Record()).Name();
  line += "#" + ListItem(kPhaseList, phase);
  line += AppendNumber(x) + AppendNumber(y) + AppendNumber(z);
  line += AppendNumber(source) + AppendNumber(room);
  line += "#" + FormatCode(branch, 8);
  return line;
}

void ReceiverOwner::SetRowColour(std::int32_t key, TableForm& form) {
  const int mode = model_.Settings().ColouringMode();
  if (mode != kColouringBySources && mode != kColouringByRooms) return;
  if (!modelClass::SeekExact(model_.Receivers(), key)) return;
  const ReceiverRec receiver(model_.Receivers()->Record());
  std::int32_t colour = 0;
  if (mode == kColouringBySources) {
    tbClass* sources = model_.Sources();
    if (!modelClass::SeekExact(sources, receiver.SourceNumber())) return;
    colour = SourceRec(sources->Record()).Colour();
  } else {
    tbClass* rooms = model_.Rooms();
    if (!modelClass::SeekExact(rooms, receiver.Room())) return;
    colour = RoomRec(rooms->Record()).Color();
  }
  form.lineColor = Color::FromColorRef(static_cast<std::uint32_t>(colour));
  form.lineColorSet = true;
}

void ReceiverOwner::OnLine(TableForm& form) {
  Sync(form);
  const int column = form.curCol;
  form.listItems.clear();
  if (!listMode_) {
    if (column == 3) form.listItems = std::string(kPhaseList);
  } else if (column == 9) {
    form.listItems = std::string(kPhaseList);
  } else if (column == 10) {
    form.listItems = std::string(kGroupKindList);
  } else if (column == 21) {
    form.listItems = std::string(kRegimeList);
  }
  const std::int32_t key = rows_.Key(form.lineNo);
  const int columns = ListCount(form_.head1);
  if (key == 0 || !modelClass::SeekExact(model_.Receivers(), key)) {
    form.line = std::string(columns - 1, '#');
    if (listMode_) form.editCodes = "NTTTNNNNNLLXNNNNNNNNXLNNNNNNT";
    return;
  }
  if (listMode_) {
    form.line = ListLine(key, form.editCodes);
  } else {
    form.line = ReceiverLine(key);
  }
  SetRowColour(key, form);
}

// --- Edits -----------------------------------------------------------------------------

std::int32_t ReceiverOwner::Append(TableForm& form) {
  const int group = groups_.CurrentGroup();
  if (group == 0 || !modelClass::SeekExact(model_.Groups(), group)) {
    ui_.ShowError(form_.caption,
                  "Не выбрана группа для нового электроприемника#Выберите ее в окне "
                  "\"Группы электроприемников\"");
    return 0;
  }
  const std::int32_t key = AddReceiver(model_, group);
  if (key == 0) {
    if (FreeReceiverNumber(*model_.Receivers(), group) == 0) {
      ui_.ShowError(form_.caption, "Электроприемников в группе#не может быть больше 1024");
    }
    return 0;
  }
  Rebuilt(form, key);
  AutoLoads();
  return key;
}

void ReceiverOwner::EditCode(std::int32_t key, TableForm& form) {
  int group = 0;
  int number = 0;
  if (!ParseReceiverCode(form.editText, group, number)) {
    ui_.Beep();
    return;
  }
  if (!modelClass::SeekExact(model_.Groups(), group)) {
    ui_.ShowError(form_.caption, "Нет такой группы");
    return;
  }
  if (number == 0) return;
  if (number > kMaxReceiverInGroup) {
    ui_.Beep();
    return;
  }
  const std::int32_t target = ReceiverKey(group, number);
  if (target == key) return;
  if (modelClass::SeekExact(model_.Receivers(), target)) {
    ui_.ShowError(form_.caption, "Код ЭП используется");
    return;
  }
  if (MoveReceiver(model_, key, target)) Rebuilt(form, target);
}

void ReceiverOwner::EditField(std::int32_t key, Field field, TableForm& form) {
  tbClass* receivers = model_.Receivers();
  if (field == Field::Designation) {
    if (modelClass::SeekExact(receivers, key) && !SetReceiverDesignation(model_, form.editText)) {
      ui_.ShowError(form_.caption, "Обозначение " + form.editText + " уже используется");
    }
    return;
  }
  const auto fitsInt16 = [&] {
    return form.editInt >= std::numeric_limits<std::int16_t>::min() &&
           form.editInt <= std::numeric_limits<std::int16_t>::max();
  };
  if ((field == Field::X || field == Field::Y || field == Field::Z) && !fitsInt16()) {
    ui_.Beep();
    return;
  }
  if (field == Field::Source && (form.editInt < 0 || form.editInt > kMaxSourceNumber)) {
    ui_.Beep();
    return;
  }
  if (!modelClass::SeekExact(receivers, key)) return;
  ReceiverRec receiver(receivers->Record());
  const auto value16 = static_cast<std::int16_t>(form.editInt);
  switch (field) {
    case Field::Phase:
      receiver.SetPhaseIndex(static_cast<std::uint8_t>(form.editInt));
      break;
    case Field::X:
      receiver.SetX(value16);
      break;
    case Field::Y:
      receiver.SetY(value16);
      break;
    case Field::Z:
      receiver.SetZ(value16);
      break;
    case Field::Source:
      receiver.SetSourceNumber(static_cast<std::uint8_t>(form.editInt));
      break;
    case Field::Designation:
      break;
  }
  receivers->MarkModifiedAndFlush();
  if (field == Field::X || field == Field::Y || field == Field::Z) {
    // A receiver without a room takes the room its new position lies in.
    if (receiver.Room() == 0) {
      const std::int32_t room = RoomAt(model_, receiver.X(), receiver.Y(), receiver.Z());
      if (room > 0 && room <= std::numeric_limits<std::uint16_t>::max() &&
          modelClass::SeekExact(receivers, key)) {
        ReceiverRec(receivers->Record()).SetRoom(static_cast<std::uint16_t>(room));
        receivers->MarkModifiedAndFlush();
      }
    }
  }
  if (field == Field::Source) AutoLoads();
}

void ReceiverOwner::EditReceiver(std::int32_t key, TableForm& form) {
  switch (form.curCol) {
    case 0:
      EditCode(key, form);
      break;
    case 1:
      EditField(key, Field::Designation, form);
      break;
    case 2:
      groups_.ShowGroup(GroupOfKey(key));
      break;
    case 3:
      EditField(key, Field::Phase, form);
      break;
    case 4:
      EditField(key, Field::X, form);
      break;
    case 5:
      EditField(key, Field::Y, form);
      break;
    case 6:
      EditField(key, Field::Z, form);
      break;
    case 7:
      EditField(key, Field::Source, form);
      break;
    case 8:
      ExplainKept(key, "Помещение электроприемника находится по его координатам X, Y, Z", form);
      break;
    case 9:
      ExplainKept(key, "Ветвь электроприемника задается в перечне ЭП", form);
      break;
    default:
      break;
  }
}

void ReceiverOwner::ExplainKept(std::int32_t key, std::string_view why, const TableForm& form) {
  if (form.editText.empty() || !modelClass::SeekExact(model_.Receivers(), key)) return;
  std::string editCodes;
  const std::string line = listMode_ ? ListLine(key, editCodes) : ReceiverLine(key);
  if (TrimBlanks(ListItem(line, form.curCol)) == form.editText) return;
  ui_.ShowInfo(form_.caption, why);
}

void ReceiverOwner::OnEdit(TableForm& form) {
  Sync(form);
  if (model_.Receivers() == nullptr || model_.Groups() == nullptr) return;
  std::int32_t key = rows_.Key(form.curRow);
  if (key == 0) {
    key = Append(form);
    if (key == 0) return;
  }
  if (listMode_) {
    EditList(key, form);
  } else {
    EditReceiver(key, form);
  }
}

void ReceiverOwner::OnDelete(TableForm& form) {
  const std::int32_t key = rows_.Key(form.curRow);
  if (key == 0 || !DeleteReceiver(model_, key)) return;
  stale_ = true;
  AutoLoads();
}

void ReceiverOwner::OnPasteLine(TableForm& form) {
  if (!listMode_) return;
  const std::int32_t key = ImportReceiverRow(model_, form.line);
  if (key == 0) return;
  Rebuilt(form, key);
  groups_.Reload();
}

}  // namespace kordavelt
