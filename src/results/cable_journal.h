#pragma once

// "KJur": the cable journal for laying the cables. One row per line element
// (kinds 11 … 14) of every source's tree: where it runs from and to, the
// consumer, the line's designation, laying, voltage, type, conductors,
// count and length, its permissible and design currents and the voltage
// deviation at its end.

#include "results/snapshot_table.h"

namespace kordavelt {

struct ElementRec;

class CableJournal : public SnapshotTable {
 public:
  using SnapshotTable::SnapshotTable;

  static constexpr const char* kCaption = "Кабельный журнал для раскладки";

 protected:
  bool Build(TableForm& form) override;

 private:
  // The traced source's busbar node and name, for rows that start there.
  struct Busbar {
    int node = 0;
    std::string name;
  };
  Busbar SourceBusbar(int source);
  std::string RowText(const ElementRec& line, const Busbar& busbar);
};

}  // namespace kordavelt
