#pragma once

// "Potr": the coordinates of the consumers. One row per receiver (its
// group's name, its designation, X, Y, Z), then one per designated node (its
// room's name, its designation and the node's X, Y, Z).

#include "results/snapshot_table.h"

namespace kordavelt {

class ConsumerTable : public SnapshotTable {
 public:
  using SnapshotTable::SnapshotTable;

  static constexpr const char* kCaption = "Координаты потребителей";

 protected:
  bool Build(TableForm& form) override;

 private:
  void AddReceivers();
  void AddNodes();
};

}  // namespace kordavelt
