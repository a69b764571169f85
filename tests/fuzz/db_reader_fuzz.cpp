// Feeds arbitrary bytes to the database reader as a file: the table list,
// every table and raw block, and the check of the whole file. Besides never
// crashing, the reader must agree with itself: a table that reads without a
// problem comes back in key order with the descriptor's count and full-length
// records, and a table the check finds sound reads without a problem.

#include <cstddef>
#include <cstdint>
#include <set>
#include <vector>

#include "storage/db_reader.h"

namespace {

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kordavelt;
  MemoryFile file(std::vector<std::uint8_t>(data, data + size), true);
  DbReader reader(file, std::nullopt);

  const std::vector<DbTableInfo> tables = reader.Tables();
  std::set<int> soundTables;
  for (const DbTableInfo& table : tables) {
    if (table.rawBlock) {
      Require(reader.ReadRawBlock(table.number).bytes.size() == db::kPageSize);
      continue;
    }
    const DbTableContents contents = reader.ReadTable(table.number);
    Require(contents.records.size() <= db::kMaxRecords);
    if (!contents.problems.empty()) continue;
    soundTables.insert(table.number);
    if (table.number == db::kScratchTable) continue;
    Require(static_cast<int>(contents.records.size()) == table.recordCount);
    for (std::size_t i = 0; i < contents.records.size(); ++i) {
      Require(static_cast<int>(contents.records[i].data.size()) == table.slotLength - 4);
      Require(i == 0 || contents.records[i - 1].key <= contents.records[i].key);
    }
  }

  std::set<int> damagedTables;
  for (const DbProblem& problem : reader.Check()) damagedTables.insert(problem.table);
  for (const DbTableInfo& table : tables) {
    if (!table.rawBlock && !damagedTables.contains(table.number)) {
      Require(soundTables.contains(table.number));
    }
  }
  return 0;
}
