#pragma once

// ReceiverOwner: the owner of the receivers window "Электроприемники" and of
// the same window reconfigured as the list "Перечень электроприемников",
// which adds every receiver's group data, branch and switching states and
// takes pasted receivers. Rows follow the key order or the sort order chosen
// with "Сортировка"; an append row adds a receiver to the group current in
// the groups window.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "model/receiver_rows.h"
#include "ui/table_owner.h"

namespace kordavelt {

class GroupOwner;
class modelClass;
class UiHost;

class ReceiverOwner : public TableOwner {
 public:
  static constexpr std::string_view kCaption = "Электроприемники";
  static constexpr std::string_view kListCaption = "Перечень электроприемников";

  ReceiverOwner(modelClass& model, UiHost& ui, GroupOwner& groups);

  TableForm& Form() { return form_; }
  bool ListMode() const { return listMode_; }
  // The receivers window's own layout.
  void ShowReceivers();
  // The layout of the list; with automatic calculation on, the source loads
  // are computed first.
  void ShowReceiverList();
  // Reads the receivers again in the current order.
  void Reload();
  // "Сортировка" by the current column.
  void Sort();
  ReceiverOrder Order() const { return rows_.Order(); }

  // Source loads were computed: the sources window repaints.
  std::function<void()> OnSourceLoads;

  void OnLine(TableForm& form) override;
  bool HasEdit() const override { return true; }
  void OnEdit(TableForm& form) override;
  void OnDelete(TableForm& form) override;
  bool HasPasteLine() const override { return listMode_; }
  void OnPasteLine(TableForm& form) override;
  void OnReadOnlyEdit(TableForm& form) override;

 private:
  void Sync(TableForm& form);
  void Rebuilt(TableForm& form, std::int32_t current);
  // ComputeSourceLoads when automatic calculation is on.
  void AutoLoads();

  std::string ReceiverLine(std::int32_t key);
  std::string ListLine(std::int32_t key, std::string& editCodes);
  void SetRowColour(std::int32_t key, TableForm& form);

  // Appends a receiver to the groups window's current group; its key or 0.
  std::int32_t Append(TableForm& form);
  void EditCode(std::int32_t key, TableForm& form);
  void EditReceiver(std::int32_t key, TableForm& form);
  void EditList(std::int32_t key, TableForm& form);
  // The receiver fields both layouts edit.
  enum class Field { Designation, Phase, X, Y, Z, Source };
  void EditField(std::int32_t key, Field field, TableForm& form);
  void MoveToGroupOf(std::int32_t key, std::string_view designation, TableForm& form);
  // A value typed into a column the program fills itself (room, branch):
  // the message why, when the text differs from what the cell shows.
  void ExplainKept(std::int32_t key, std::string_view why, const TableForm& form);

  modelClass& model_;
  UiHost& ui_;
  GroupOwner& groups_;
  ReceiverRows rows_;
  bool stale_ = false;
  bool listMode_ = false;
  TableForm form_;
};

}  // namespace kordavelt
