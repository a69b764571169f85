#pragma once

// RoomOwner: the owner of the modal table "Здания и помещения", one row per
// room in key order and an append row: name, air temperature, hazard
// classes, the room's box and its colour.

#include <cstdint>
#include <string_view>

#include "model/data_rows.h"
#include "table/table_owner.h"

namespace kordavelt {

class modelClass;
class UiHost;

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
