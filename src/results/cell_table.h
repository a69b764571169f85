#pragma once

// "Cells": the cell filling of a switchboard. The node's connection type (a
// composition template of the reference book) lists the equipment kinds of
// a cell; one row per connection leaving the node, with its name, its
// installed power and, per kind of the template, the type of that equipment
// found on the connection.

#include <vector>

#include "results/snapshot_table.h"

namespace kordavelt {

class CellTable : public SnapshotTable {
 public:
  CellTable(CalcClass& calc, int node) : SnapshotTable(calc), node_(node) {}

  static constexpr const char* kCaption = "Заполнение ячеек";
  static constexpr const char* kMessageCaption = "Результат";

 protected:
  bool Build(TableForm& form) override;

 private:
  // The kinds of the node's template, in slot order; empty without one.
  std::vector<int> TemplateKinds();
  // The elements of the connection that starts at TreeList position `first`.
  std::vector<int> Connection(int first);
  std::string RowText(const std::vector<int>& connection);
  // The node the tree enters element `position` from, and leaves it by.
  int EntryNode(int position);
  int ExitNode(int position);

  int node_;
  std::vector<int> kinds_;
};

}  // namespace kordavelt
