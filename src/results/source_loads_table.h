#pragma once

// "Loads": the design loads of the power sources. One row per receiver group,
// in decreasing active power, with the group's data, its design load and, per
// source, the number of its receivers that source feeds; then the summary
// rows of every source. The columns follow the design-load method: load
// factors ("Кз", "Кз и Ко", "Iзадан"), demand factors ("ТЭП") or the design
// power coefficient ("ТПЭП").

#include <cstdint>
#include <vector>

#include "results/snapshot_table.h"

namespace kordavelt {

class SourceLoadsTable : public SnapshotTable {
 public:
  using SnapshotTable::SnapshotTable;

  static constexpr const char* kCaption = "Результаты";
  // Sources the table has columns for.
  static constexpr int kMaxSources = 32;

 protected:
  bool Build(TableForm& form) override;

 private:
  enum class Variant { LoadFactor, DemandFactor, DesignFactor };

  // One receiver group with the receivers each listed source feeds.
  struct GroupRow {
    std::int32_t key = 0;
    float p = 0;
    std::vector<int> fedBy;  // per source column
    int fed = 0;
  };
  // Per source column: the sums of the design power coefficient.
  struct SourceSums {
    double p = 0;
    double p2 = 0;
    double kp = 0;
  };

  void SetLayout(TableForm& form);
  void ReadGroups();
  void AddGroupRow(const GroupRow& row);
  void AddSummaryRows();

  Variant variant_ = Variant::LoadFactor;
  std::vector<int> sources_;
  std::vector<GroupRow> groups_;
  std::vector<SourceSums> sums_;
};

}  // namespace kordavelt
