#pragma once

// "Tree": the listing of the traced tree of one source, "Дерево от ИП №",
// one row per element in TreeList order: position, direction, the start and
// end keys in the direction of travel, designation, section level and kind.

#include "results/snapshot_table.h"

namespace kordavelt {

struct ElementRec;

class TreeTable : public SnapshotTable {
 public:
  TreeTable(CalcClass& calc, int source) : SnapshotTable(calc), source_(source) {}

  static constexpr const char* kCaption = "Расчет сети";

 protected:
  bool Build(TableForm& form) override;
  bool NeedsResults() const override { return false; }

 private:
  std::string Designation(const ElementRec& e);

  int source_;
};

// The listing of the tree of the source feeding `node`, in a modal table
// with the commands print and edit.
void ShowSourceTree(CalcClass& calc, int node);

}  // namespace kordavelt
