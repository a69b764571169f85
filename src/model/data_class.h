#pragma once

// DataClass: the data windows of an open model — sources, receivers (and
// their list), groups — and the modal rooms table, with the hooks that keep
// them in step: a receiver appended joins the groups window's current group,
// deleted groups reload the receivers, computed loads repaint the sources.

#include <array>
#include <string_view>

#include "model/group_owner.h"
#include "model/receiver_owner.h"
#include "model/room_owner.h"
#include "model/source_owner.h"

namespace kordavelt {

class modelClass;
class UiHost;

// An item of the model's data menu.
struct DataMenuItem {
  std::string_view caption;
  std::string_view shortcut;
};

class DataClass {
 public:
  DataClass(modelClass& model, UiHost& ui);

  SourceOwner& Sources() { return sources_; }
  ReceiverOwner& Receivers() { return receivers_; }
  GroupOwner& Groups() { return groups_; }
  RoomOwner& Rooms() { return rooms_; }

  // The receivers window in its own layout, or as the list.
  void ShowReceivers() { receivers_.ShowReceivers(); }
  void ShowReceiverList() { receivers_.ShowReceiverList(); }
  // "&Помещения": the modal rooms table.
  bool EditRooms() { return rooms_.EditRooms(); }
  // Every window reads its rows again (after an import, an undo).
  void ReloadAll();

  // The data items of the model menu in their order, after the general
  // properties item and before the regimes item.
  static const std::array<DataMenuItem, 5>& MenuItems();

 private:
  GroupOwner groups_;
  ReceiverOwner receivers_;
  SourceOwner sources_;
  RoomOwner rooms_;
};

}  // namespace kordavelt
