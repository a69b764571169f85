// The work of bench_engine done in SQLite, for comparison: a table of
// (id INTEGER PRIMARY KEY, data BLOB) with blobs of the engine's record
// length, no journal and no syncing, one prepared INSERT executed per record
// (every statement its own transaction, as every engine insert is written
// through), a full scan in key order and lookups by key.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRecords = 32767;  // as many as an engine table holds
constexpr int kSeeks = 10000;

// The same keys as bench_engine: 1 ... kRecords, ascending or shuffled.
std::vector<std::int32_t> InsertKeys(bool scattered) {
  std::vector<std::int32_t> keys(kRecords);
  std::iota(keys.begin(), keys.end(), 1);
  if (scattered) std::shuffle(keys.begin(), keys.end(), std::mt19937(20240601));
  return keys;
}

std::vector<std::int32_t> SeekKeys() {
  std::mt19937 random(7);
  std::uniform_int_distribution<std::int32_t> key(1, kRecords);
  std::vector<std::int32_t> keys(kSeeks);
  for (std::int32_t& k : keys) k = key(random);
  return keys;
}

void Check(int result, sqlite3* db, int expected = SQLITE_OK) {
  if (result != expected) throw std::runtime_error(sqlite3_errmsg(db));
}

// A database file in a folder of its own under the temporary folder.
class Database {
 public:
  Database()
      : folder_(std::filesystem::temp_directory_path() /
                ("kordavelt-sqlite-bench-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    Check(sqlite3_open((folder_ / "bench.db").string().c_str(), &db_), db_);
    Exec("PRAGMA journal_mode=OFF");
    Exec("PRAGMA synchronous=OFF");
    Exec("CREATE TABLE t(id INTEGER PRIMARY KEY, data BLOB)");
  }
  ~Database() {
    sqlite3_close(db_);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void Exec(const char* sql) {
    sqlite3_stmt* statement = Prepare(sql);
    while (sqlite3_step(statement) == SQLITE_ROW) {
    }
    sqlite3_finalize(statement);
  }
  sqlite3_stmt* Prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    Check(sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr), db_);
    return statement;
  }
  sqlite3* Handle() const { return db_; }

 private:
  std::filesystem::path folder_;
  sqlite3* db_ = nullptr;
};

void InsertAll(Database& db, const std::vector<std::int32_t>& keys, int dataLength) {
  sqlite3_stmt* insert = db.Prepare("INSERT INTO t(id, data) VALUES(?, ?)");
  std::vector<std::uint8_t> data(static_cast<std::size_t>(dataLength));
  for (const std::int32_t key : keys) {
    std::fill(data.begin(), data.end(), static_cast<std::uint8_t>(key));
    sqlite3_bind_int(insert, 1, key);
    sqlite3_bind_blob(insert, 2, data.data(), dataLength, SQLITE_STATIC);
    Check(sqlite3_step(insert), db.Handle(), SQLITE_DONE);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
}

void BM_SqliteInsert(benchmark::State& state) {
  const int dataLength = static_cast<int>(state.range(0));
  const std::vector<std::int32_t> keys = InsertKeys(state.range(1) != 0);
  for (auto _ : state) {
    state.PauseTiming();
    auto db = std::make_unique<Database>();
    state.ResumeTiming();
    InsertAll(*db, keys, dataLength);
    state.PauseTiming();
    db.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_SqliteInsert)
    ->ArgNames({"length", "scattered"})
    ->ArgsProduct({{34, 164}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_SqliteScan(benchmark::State& state) {
  Database db;
  InsertAll(db, InsertKeys(true), static_cast<int>(state.range(0)));
  sqlite3_stmt* scan = db.Prepare("SELECT id, data FROM t ORDER BY id");
  for (auto _ : state) {
    std::int64_t sum = 0;
    while (sqlite3_step(scan) == SQLITE_ROW) {
      sum += sqlite3_column_int(scan, 0) +
             static_cast<const std::uint8_t*>(sqlite3_column_blob(scan, 1))[0];
    }
    sqlite3_reset(scan);
    benchmark::DoNotOptimize(sum);
  }
  sqlite3_finalize(scan);
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_SqliteScan)->ArgName("length")->Arg(34)->Arg(164)->Unit(benchmark::kMillisecond);

void BM_SqliteSeek(benchmark::State& state) {
  Database db;
  InsertAll(db, InsertKeys(true), static_cast<int>(state.range(0)));
  sqlite3_stmt* lookup = db.Prepare("SELECT data FROM t WHERE id = ?");
  const std::vector<std::int32_t> keys = SeekKeys();
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (const std::int32_t key : keys) {
      sqlite3_bind_int(lookup, 1, key);
      if (sqlite3_step(lookup) == SQLITE_ROW) {
        sum += static_cast<const std::uint8_t*>(sqlite3_column_blob(lookup, 0))[0];
      }
      sqlite3_reset(lookup);
    }
    benchmark::DoNotOptimize(sum);
  }
  sqlite3_finalize(lookup);
  state.SetItemsProcessed(state.iterations() * kSeeks);
}
BENCHMARK(BM_SqliteSeek)->ArgName("length")->Arg(34)->Arg(164)->Unit(benchmark::kMillisecond);

}  // namespace
