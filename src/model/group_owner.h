#pragma once

// GroupOwner: the owner of the groups window "Группы электроприемников", one
// row per receiver group in key order and an append row. It also tells the
// receivers window which group is current (new receivers join it).

#include <cstdint>
#include <functional>
#include <string_view>

#include "model/data_rows.h"
#include "model/group_columns.h"
#include "ui/table_owner.h"

namespace kordavelt {

class modelClass;
class UiHost;

class GroupOwner : public TableOwner {
 public:
  static constexpr std::string_view kCaption = "Группы электроприемников";

  GroupOwner(modelClass& model, UiHost& ui);

  TableForm& Form() { return form_; }
  GroupColumns& Columns() { return columns_; }
  // Reads the groups again (a model opened, receivers imported).
  void Reload();

  // The group of the current row; 0 when the current row holds none.
  int CurrentGroup();
  // Makes the row of `group` current.
  void ShowGroup(int group);

  // Receivers were deleted with their group: the receivers window reloads.
  std::function<void()> OnReceiversChanged;
  // A group changed: the windows showing group data repaint.
  std::function<void()> OnGroupsChanged;

  void OnLine(TableForm& form) override;
  bool HasEdit() const override { return true; }
  void OnEdit(TableForm& form) override;
  void OnDelete(TableForm& form) override;
  void OnReadOnlyEdit(TableForm& form) override;

 private:
  // Appends group last + 1 with its defaults; its row becomes current.
  std::int32_t AppendGroup(TableForm& form);
  void Renumber(std::int32_t group, std::int32_t number, TableForm& form);

  modelClass& model_;
  UiHost& ui_;
  GroupColumns columns_;
  DataRows rows_;
  TableForm form_;
};

}  // namespace kordavelt
