#include "calc/type_search.h"

#include <optional>

#include "refbook/spr_class.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

// The record on which `table` stands, copied, with its code and number.
CatalogueType CurrentType(tbClass& table) {
  const Bytes record = table.Record();
  return {table.Key(), table.RecordNumber(), {record.begin(), record.end()}};
}

// The nearest type of the series after (`step` 1) or before (`step` −1)
// record number `from`; none when the table ends first.
std::optional<CatalogueType> NeighbourInSeries(tbClass& table, int from, int step,
                                               const TypeSearchRules& rules) {
  for (int n = from + step; n >= 1; n += step) {
    table.GoTo(n);
    if (table.Status() != kStatusOk || table.Record().empty()) return std::nullopt;
    if (rules.inSeries(table.Record())) return CurrentType(table);
  }
  return std::nullopt;
}

CatalogueType SearchForward(tbClass& table, CatalogueType current, const TypeSearchRules& rules) {
  while (!rules.satisfies(current.record, false)) {
    auto next = NeighbourInSeries(table, current.recordNumber, 1, rules);
    if (!next || rules.size(next->record) < rules.size(current.record)) break;
    current = std::move(*next);
  }
  return current;
}

CatalogueType SearchBackward(tbClass& table, CatalogueType current, const TypeSearchRules& rules) {
  for (;;) {
    auto previous = NeighbourInSeries(table, current.recordNumber, -1, rules);
    if (!previous || rules.size(previous->record) > rules.size(current.record) ||
        !rules.satisfies(previous->record, true)) {
      break;
    }
    current = std::move(*previous);
  }
  return current;
}

}  // namespace

bool Meets(long double offered, long double required, bool strict) {
  return strict ? offered > required : offered >= required;
}

std::string TrimmedName(std::string_view typeName) {
  const auto first = typeName.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return std::string(typeName.substr(first, typeName.find_last_not_of(' ') - first + 1));
}

std::string SeriesName(std::string_view typeName) {
  return TrimmedName(typeName.substr(0, typeName.find('-')));
}

CatalogueType SearchType(sprClass& book, int table, std::int32_t present,
                         const TypeSearchRules& rules) {
  if (present == 0 || !book.FindType(table, present)) return {};
  tbClass& types = *book.BookTable(table);
  CatalogueType current = CurrentType(types);
  if (rules.satisfies(current.record, false))
    return SearchBackward(types, std::move(current), rules);
  return SearchForward(types, std::move(current), rules);
}

}  // namespace kordavelt
