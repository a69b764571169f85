#pragma once

// "Rez": the table of cables and protective devices. One row per connection
// between two nodes: the protective device and the line that follow each
// other on it, with the connection's bounds, the design and starting
// currents, the device's settings, the cable's permissible currents, the
// voltage deviations, the short-circuit currents along the cable with the
// protection times and conductor temperatures, the minimum currents at the
// end of the device's zone and, last, the codes of the conditions the row's
// device or line violates.

#include "results/connection_rows.h"
#include "results/snapshot_table.h"

namespace kordavelt {

class CableTable : public SnapshotTable {
 public:
  using SnapshotTable::SnapshotTable;

  static constexpr const char* kCaption = "Таблица расчета кабелей и защитных аппаратов";

 protected:
  bool Build(TableForm& form) override;

 private:
  std::string RowText(int number, const ConnectionRow& row);
};

}  // namespace kordavelt
