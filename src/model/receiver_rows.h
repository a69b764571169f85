#pragma once

// The rows of the receivers window: receiver keys in key order or in the
// sort order chosen with "Сортировка".

#include <cstdint>
#include <vector>

namespace kordavelt {

class modelClass;

enum class ReceiverOrder {
  Key,
  DesignationDescending,
  DesignationAscending,
  NameDescending,  // the group's name
  NameAscending,
  Power,  // ascending group Pном
};

class ReceiverRows {
 public:
  // Reads the receiver keys and sorts them by the current order.
  void Rebuild(modelClass& model);
  // "Сортировка" on `column`: 0 key order; 1 designation descending,
  // ascending, key order in turn; 2 the group's name likewise; any other
  // column ascending Pном of the group, then key order.
  void SortBy(modelClass& model, int column);
  ReceiverOrder Order() const { return order_; }

  int Rows() const { return static_cast<int>(keys_.size()); }
  // The key of row `row` (1-based), 0 outside the rows.
  std::int32_t Key(int row) const;
  // The row of `key`, 0 when it is not shown.
  int RowOf(std::int32_t key) const;

 private:
  std::vector<std::int32_t> keys_;
  ReceiverOrder order_ = ReceiverOrder::Key;
};

}  // namespace kordavelt
