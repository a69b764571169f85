#include "model/room_owner.h"

#include <algorithm>

#include "base/dial_list.h"
#include "base/number_format.h"
#include "draw/color.h"
#include "model/data_texts.h"
#include "model/model_class.h"
#include "model/model_records.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

constexpr int kColumns = 13;

}  // namespace

std::optional<Color> RoomTint(const RoomRec& room) {
  if (room.Color() == 0) return std::nullopt;
  return LightTint(Color::FromColorRef(static_cast<std::uint32_t>(room.Color())));
}

RoomOwner::RoomOwner(modelClass& model, UiHost& ui) : model_(model), ui_(ui) {
  form_.caption = std::string(kCaption);
  form_.name = "Room";
  form_.head1 =
      " № #   Наименование   # t # ВОЗ # ПОЗ #   X   #   Y   #   Z   #Длина#Ширина#Высота#Угол#"
      "Цвет";
  form_.head2 =
      "   #                  #°C #     #     #   м   #   м   #   м   #  м  #  м   #  м   #  ° "
      "#    ";
  form_.displayCodes = "CLCCCCCCCCCCC";
  form_.editCodes = "NTNLLNNNNNNNX";
  form_.appendable = true;
  Reload();
}

void RoomOwner::Reload() {
  rows_.Rebuild(model_.Rooms());
  form_.rowCount = rows_.Rows();
  form_.curRow = std::clamp(form_.curRow, 1, rows_.Rows() + 1);
}

bool RoomOwner::EditRooms() {
  Reload();
  form_.curCol = std::max(form_.curCol, 1);
  return ui_.ShowTableDialog(*this, form_, kMenu);
}

void RoomOwner::OnLine(TableForm& form) {
  rows_.Sync(model_.Rooms(), form);
  form.listItems = form.curCol == 3   ? std::string(kExplosionClassList)
                   : form.curCol == 4 ? std::string(kFireClassList)
                                      : std::string();
  const std::int32_t key = rows_.Key(form.lineNo);
  tbClass* rooms = model_.Rooms();
  if (key == 0 || !modelClass::SeekExact(rooms, key)) {
    form.line = std::string(kColumns - 1, '#');
    return;
  }
  const RoomRec room(rooms->Record());
  form.line = std::to_string(key) + "#" + room.Name() + AppendNumber(room.Tv());
  form.line += "#" + ListItem(kExplosionClassList, room.ExplosionClass());
  form.line += "#" + ListItem(kFireClassList, room.FireClass());
  for (const float value :
       {room.Xmin(), room.Ymin(), room.Zmin(), room.DX(), room.DY(), room.DZ(), room.Angle()}) {
    form.line += AppendNumber(value);
  }
  form.line += "#" + (form.exporting ? std::to_string(room.Color()) : std::string(kColourSwatch));
  form.pictureColor = Color::FromColorRef(static_cast<std::uint32_t>(room.Color()));
  form.pictureColorSet = true;
  if (const std::optional<Color> tint = RoomTint(room)) {
    form.lineBackground = *tint;
    form.lineBackgroundSet = true;
  }
}

std::int32_t RoomOwner::AppendRoom(TableForm& form) {
  tbClass* rooms = model_.Rooms();
  const std::int32_t key = std::max(rooms->LastKey(), 0) + 1;
  rooms->Insert(key);
  if (rooms->Status() != kStatusOk) return 0;
  RoomRec(rooms->Record()).SetTv(20);
  rooms->MarkModifiedAndFlush();
  rows_.Rebuild(rooms);
  form.rowCount = rows_.Rows();
  form.curRow = rows_.RowOf(key);
  form.refresh = Refresh::All;
  return key;
}

void RoomOwner::Renumber(std::int32_t room, std::int32_t number, TableForm& form) {
  tbClass* rooms = model_.Rooms();
  if (number == room) return;
  if (number <= 0) {
    ui_.Beep();
    return;
  }
  if (modelClass::SeekExact(rooms, number)) {
    ui_.ShowError(kCaption, "Номер помещения занят");
    return;
  }
  if (!modelClass::SeekExact(rooms, room)) return;
  rooms->ChangeKey(number);
  rows_.Rebuild(rooms);
  form.rowCount = rows_.Rows();
  form.curRow = std::max(rows_.RowOf(number), 1);
  form.refresh = Refresh::All;
}

void RoomOwner::OnEdit(TableForm& form) {
  rows_.Sync(model_.Rooms(), form);
  tbClass* rooms = model_.Rooms();
  if (rooms == nullptr) return;
  std::int32_t key = rows_.Key(form.curRow);
  if (key == 0) {
    key = AppendRoom(form);
    if (key == 0) return;
  }
  if (form.curCol == 0) {
    Renumber(key, form.editInt, form);
    return;
  }
  if (!modelClass::SeekExact(rooms, key)) return;
  RoomRec room(rooms->Record());
  const auto value = static_cast<float>(form.editReal);
  switch (form.curCol) {
    case 1:
      room.SetName(form.editText);
      break;
    case 2:
      room.SetTv(value);
      break;
    case 3:
      room.SetExplosionClass(static_cast<std::uint8_t>(form.editInt));
      break;
    case 4:
      room.SetFireClass(static_cast<std::uint8_t>(form.editInt));
      break;
    case 5:
      room.SetXmin(value);
      break;
    case 6:
      room.SetYmin(value);
      break;
    case 7:
      room.SetZmin(value);
      break;
    case 8:
      room.SetDX(value);
      break;
    case 9:
      room.SetDY(value);
      break;
    case 10:
      room.SetDZ(value);
      break;
    case 11:
      room.SetAngle(value);
      break;
    case 12: {
      Color colour = Color::FromColorRef(static_cast<std::uint32_t>(room.Color()));
      if (!ui_.ChooseColour(colour) || !modelClass::SeekExact(rooms, key)) return;
      RoomRec(rooms->Record()).SetColor(static_cast<std::int32_t>(colour.ColorRef()));
      form.refresh = Refresh::All;
      break;
    }
    default:
      return;
  }
  rooms->MarkModifiedAndFlush();
}

void RoomOwner::OnDelete(TableForm& form) {
  const std::int32_t key = rows_.Key(form.curRow);
  tbClass* rooms = model_.Rooms();
  if (key == 0 || !modelClass::SeekExact(rooms, key)) return;
  const std::string designation = RoomRec(rooms->Record()).Descript();
  MarkaClass& index = model_.Designations();
  if (!designation.empty() && index.KeyOf(designation) == key) index.Remove(designation);
  rooms->Delete();
  rows_.MarkStale();
}

}  // namespace kordavelt
