#include "refbook/book_tables.h"

namespace kordavelt {
namespace {

struct BookTableInfo {
  int table;
  int length;
  int category;
};

// In category order; the breaker series last, without a category.
constexpr std::array<BookTableInfo, kBookTableCount> kTables{{
    {book::kTemplateTable, 49, 1},
    {book::kCableTable, 53, 2},
    {book::kInsulatedWireTable, 55, 3},
    {book::kBareWireTable, 38, 4},
    {book::kTrunkingTable, 49, 5},
    {book::kFuseTable, 183, 6},
    {book::kBreakerTable, 47, 7},
    {book::kRelayTable, 35, 8},
    {book::kSwitchTable, 39, 9},
    {book::kStarterTable, 35, 10},
    {book::kTransformerTable, 61, 11},
    {book::kStabiliserTable, 35, 12},
    {book::kReactorTable, 47, 13},
    {book::kCurrentTransformerTable, 48, 14},
    {book::kSynchronousMachineTable, 75, 15},
    {book::kAsyncMotorTable, 79, 16},
    {book::kGeneratorTable, 63, 17},
    {book::kCapacitorBankTable, 31, 18},
    {book::kTripUnitTable, 283, 19},
    {book::kMechanismTable, 49, 20},
    {book::kCableBrandTable, 30, 21},
    {book::kBreakerSeriesTable, 9, 0},
}};

const BookTableInfo* Find(int table) {
  for (const BookTableInfo& info : kTables) {
    if (info.table == table) return &info;
  }
  return nullptr;
}

}  // namespace

const std::array<int, kBookTableCount>& BookTables() {
  static const std::array<int, kBookTableCount> tables = [] {
    std::array<int, kBookTableCount> list{};
    for (std::size_t i = 0; i < kTables.size(); ++i) list[i] = kTables[i].table;
    return list;
  }();
  return tables;
}

int BookRecordLength(int table) {
  const BookTableInfo* info = Find(table);
  return info != nullptr ? info->length : 0;
}

bool IsBookTable(int table) { return Find(table) != nullptr; }

int CategoryTable(int category) {
  if (category < 1 || category > kCategoryCount) return 0;
  return kTables[static_cast<std::size_t>(category - 1)].table;
}

int TableCategory(int table) {
  const BookTableInfo* info = Find(table);
  return info != nullptr ? info->category : 0;
}

std::vector<int> Companions(int table) {
  switch (table) {
    case book::kCableTable:
      return {book::kCableBrandTable};
    case book::kBreakerTable:
      return {book::kBreakerSeriesTable, book::kTripUnitTable};
    case book::kTripUnitTable:
      return {book::kBreakerSeriesTable};
    case book::kMechanismTable:
      return {book::kAsyncMotorTable, book::kSynchronousMachineTable};
    default:
      return {};
  }
}

}  // namespace kordavelt
