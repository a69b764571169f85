#pragma once

// RoomOwner: the owner of the modal table "Здания и помещения", one row per
// room in key order and an append row: name, air temperature, hazard
// classes, the room's box and its colour. The colour shows as the swatch of
// the last column and a light tint of the row; the text keeps the standard
// colour, which stays readable whatever colour the room has.

#include <cstdint>
#include <optional>
#include <string_view>

#include "draw/color.h"
#include "model/data_rows.h"
#include "ui/table_owner.h"

namespace kordavelt {

class modelClass;
class RoomRec;
class UiHost;

// The light background a room's rows are drawn on, in the rooms table and
// the heat table; none for a room without a colour of its own (0, black).
std::optional<Color> RoomTint(const RoomRec& room);

class RoomOwner : public TableOwner {
 public:
  static constexpr std::string_view kCaption = "Здания и помещения";
  static constexpr std::string_view kMenu = "Печать#Правка#Выбрать#Отмена";

  RoomOwner(modelClass& model, UiHost& ui);

  TableForm& Form() { return form_; }
  void Reload();
  // "&Помещения": the modal table; true when it closed with "Выбрать".
  bool EditRooms();

  void OnLine(TableForm& form) override;
  bool HasEdit() const override { return true; }
  void OnEdit(TableForm& form) override;
  void OnDelete(TableForm& form) override;

 private:
  std::int32_t AppendRoom(TableForm& form);
  void Renumber(std::int32_t room, std::int32_t number, TableForm& form);

  modelClass& model_;
  UiHost& ui_;
  DataRows rows_;
  TableForm form_;
};

}  // namespace kordavelt
