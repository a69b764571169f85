#pragma once

// "Teplo": the heat release of the electrical equipment per room, one row per
// room in key order (number, name, air temperature, volume, heat release),
// on a light tint of the room's colour.

#include "results/snapshot_table.h"

namespace kordavelt {

class HeatTable : public SnapshotTable {
 public:
  using SnapshotTable::SnapshotTable;

  static constexpr const char* kCaption = "Тепловыделения электрооборудования";

 protected:
  bool Build(TableForm& form) override;
};

}  // namespace kordavelt
