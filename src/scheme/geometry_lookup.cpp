#include "scheme/geometry_lookup.h"

#include "model/model_tables.h"
#include "model/scheme_records.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

// The page of the current record of a geometry table; -1 for another table.
int PageOfCurrent(tbClass& table) {
  switch (table.TableNumber()) {
    case kXYNodeTable:
      return XYNodeRec(table.Record()).Page();
    case kXYBranchTable:
      return XYBranchRec(table.Record()).Page();
    default:
      return -1;
  }
}

// Visits the records of `key` in order until `visit` returns false.
template <class Visit>
void ForEachOfKey(tbClass* table, std::int32_t key, Visit visit) {
  if (table == nullptr) return;
  table->Seek(key);
  while (table->Status() == kStatusOk && !table->Record().empty() && table->Key() == key) {
    if (!visit(*table)) return;
    if (!table->Next()) return;
  }
}

}  // namespace

bool SeekOnPage(tbClass* table, std::int32_t key, int page) {
  bool found = false;
  ForEachOfKey(table, key, [&](tbClass& t) {
    found = PageOfCurrent(t) == page;
    return !found;
  });
  return found;
}

std::vector<int> PagesOf(tbClass* table, std::int32_t key) {
  std::vector<int> pages;
  ForEachOfKey(table, key, [&](tbClass& t) {
    pages.push_back(PageOfCurrent(t));
    return true;
  });
  return pages;
}

}  // namespace kordavelt
