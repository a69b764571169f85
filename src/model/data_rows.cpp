#include "model/data_rows.h"

#include <algorithm>

#include "storage/tb_class.h"
#include "ui/table_owner.h"

namespace kordavelt {

void DataRows::Rebuild(tbClass* table) {
  keys_.clear();
  stale_ = false;
  if (table == nullptr) return;
  table->GoTo(0);
  while (table->Next()) keys_.push_back(table->Key());
}

void DataRows::Sync(tbClass* table, TableForm& form) {
  if (!stale_) return;
  Rebuild(table);
  form.rowCount = Rows();
  form.curRow = std::clamp(form.curRow, 1, Rows() + 1);
  form.refresh = Refresh::All;
}

std::int32_t DataRows::Key(int row) const {
  return row >= 1 && row <= Rows() ? keys_[static_cast<std::size_t>(row - 1)] : 0;
}

int DataRows::RowOf(std::int32_t key) const {
  const auto at = std::find(keys_.begin(), keys_.end(), key);
  return at == keys_.end() ? 0 : static_cast<int>(at - keys_.begin()) + 1;
}

}  // namespace kordavelt
