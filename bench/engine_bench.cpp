// The table engine on a real disk file: inserting a full table (32767
// records, the most a table holds) in ascending and in scattered key order,
// scanning it, and seeking keys in it, for the model's shortest common record
// (34 bytes) and its longest (164 bytes). bench_sqlite does the same work in
// SQLite for comparison.
//
// Every page write goes through a counting file system; the insert benchmarks
// report writes per insert overall and separately for the one-level phase
// (until the note of the switch to a two-level index) and the two-level phase.

#include <benchmark/benchmark.h>
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

#include "storage/db_format.h"
#include "storage/dbf_class.h"
#include "storage/file_layer.h"
#include "storage/tb_class.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

constexpr int kRecords = db::kMaxRecords;
constexpr int kSeeks = 10000;
constexpr int kTable = 5;

// Distinct keys 1 ... kRecords, ascending or shuffled with a fixed seed.
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

// A folder of its own under the system's temporary folder, removed at the end.
class TempFolder {
 public:
  TempFolder()
      : path_(std::filesystem::temp_directory_path() /
              ("kordavelt-bench-" + std::to_string(::getpid()) + "-" + std::to_string(++made_))) {
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  static inline int made_ = 0;
  std::filesystem::path path_;
};

// Counts the writes made through the files it opens.
class CountingFile final : public RandomAccessFile {
 public:
  CountingFile(std::unique_ptr<RandomAccessFile> file, std::int64_t& writes)
      : file_(std::move(file)), writes_(writes) {}
  std::int64_t Size() override { return file_->Size(); }
  std::int64_t ReadAt(std::uint64_t offset, Bytes buffer) override {
    return file_->ReadAt(offset, buffer);
  }
  std::int64_t WriteAt(std::uint64_t offset, ConstBytes data) override {
    ++writes_;
    return file_->WriteAt(offset, data);
  }
  int Flush() override { return file_->Flush(); }

 private:
  std::unique_ptr<RandomAccessFile> file_;
  std::int64_t& writes_;
};

class CountingFileSystem final : public FileSystem {
 public:
  std::int64_t Writes() const { return writes_; }
  std::unique_ptr<RandomAccessFile> Open(const std::string& path, OpenMode mode) override {
    std::unique_ptr<RandomAccessFile> file = disk_.Open(path, mode);
    if (file == nullptr) return nullptr;
    return std::make_unique<CountingFile>(std::move(file), writes_);
  }
  bool Exists(const std::string& path) override { return disk_.Exists(path); }
  std::int64_t FileSize(const std::string& path) override { return disk_.FileSize(path); }
  bool Remove(const std::string& path) override { return disk_.Remove(path); }
  bool Rename(const std::string& from, const std::string& to) override {
    return disk_.Rename(from, to);
  }
  bool Copy(const std::string& from, const std::string& to) override {
    return disk_.Copy(from, to);
  }

 private:
  DiskFileSystem disk_;
  std::int64_t writes_ = 0;
};

// Answers nothing and notes the switch to a two-level index.
class NoteUi final : public UiHost {
 public:
  bool SawTwoLevelNote() const { return sawTwoLevel_; }
  int ShowDialog(std::string_view, std::string_view text, std::string_view, IconKind) override {
    if (text.find("Переход на двухуровневый") != std::string_view::npos) sawTwoLevel_ = true;
    return kAnswerCancel;
  }
  bool InputText(std::string_view, std::string_view, std::string&, int) override { return false; }
  int ChooseFromList(std::string_view, std::string_view, int initial) override { return initial; }
  bool ChooseColour(Color&) override { return false; }
  bool ChooseFont(FontChoice&) override { return false; }
  int ChooseSymbol(std::string_view, int, const SymbolPainter&) override { return 0; }
  std::optional<std::string> AskOpenFileName(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> AskSaveFileName(const FileDialogRequest&) override { return {}; }
  std::string ClipboardText() override { return {}; }
  void SetClipboardText(std::string_view) override {}
  std::unique_ptr<ProgressWindow> OpenProgress(std::string_view, std::string_view) override {
    return nullptr;
  }
  void Beep() override {}
  bool ShowTableDialog(TableOwner&, TableForm&, std::string_view) override { return false; }

 private:
  bool sawTwoLevel_ = false;
};

// A new model file on disk with one open table of the given record length.
struct OpenModel {
  OpenModel(const std::string& path, int dataLength)
      : file(ui, files, std::string(db::kModelExtension), std::string(db::kModelSignature)) {
    std::filesystem::remove(path);
    file.SetFileName(path);
    if (!file.CreateFile() || !file.OpenFile()) throw std::runtime_error("cannot create " + path);
    table = file.OpenTable(kTable, dataLength);
    if (table == nullptr) throw std::runtime_error("cannot open the table");
  }
  ~OpenModel() {
    file.SetAskToSave(false);
    file.CloseFile();
  }

  NoteUi ui;
  CountingFileSystem files;
  dbfClass file;
  tbClass* table = nullptr;
};

// The program's idiom: insert the key, fill the record, write it.
void InsertRecord(tbClass& table, std::int32_t key) {
  table.Insert(key);
  Bytes record = table.Record();
  std::fill(record.begin(), record.end(), static_cast<std::uint8_t>(key));
  table.MarkModifiedAndFlush();
}

void BM_EngineInsert(benchmark::State& state) {
  const int dataLength = static_cast<int>(state.range(0));
  const std::vector<std::int32_t> keys = InsertKeys(state.range(1) != 0);
  TempFolder folder;
  double perInsert = 0;
  double perInsertOneLevel = 0;
  double perInsertTwoLevel = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto model = std::make_unique<OpenModel>(folder.File("insert.LVN"), dataLength);
    const std::int64_t writesBefore = model->files.Writes();
    int switchedAt = -1;
    std::int64_t writesAtSwitch = 0;
    state.ResumeTiming();
    for (int i = 0; i < kRecords; ++i) {
      const std::int64_t writesBeforeInsert = model->files.Writes();
      InsertRecord(*model->table, keys[static_cast<std::size_t>(i)]);
      if (switchedAt < 0 && model->ui.SawTwoLevelNote()) {
        switchedAt = i;
        writesAtSwitch = writesBeforeInsert;
      }
    }
    state.PauseTiming();
    if (model->table->Count() != kRecords) state.SkipWithError("records were refused");
    const std::int64_t writes = model->files.Writes() - writesBefore;
    perInsert = static_cast<double>(writes) / kRecords;
    if (switchedAt > 0) {
      perInsertOneLevel = static_cast<double>(writesAtSwitch - writesBefore) / switchedAt;
      perInsertTwoLevel =
          static_cast<double>(model->files.Writes() - writesAtSwitch) / (kRecords - switchedAt);
    }
    state.counters["one_level_records"] = switchedAt;
    model.reset();
    state.ResumeTiming();
  }
  state.counters["writes_per_insert"] = perInsert;
  state.counters["writes_per_insert_1level"] = perInsertOneLevel;
  state.counters["writes_per_insert_2level"] = perInsertTwoLevel;
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_EngineInsert)
    ->ArgNames({"length", "scattered"})
    ->ArgsProduct({{34, 164}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A full table, built once outside the timing.
std::unique_ptr<OpenModel> FullTable(const TempFolder& folder, int dataLength) {
  auto model = std::make_unique<OpenModel>(folder.File("full.LVN"), dataLength);
  for (const std::int32_t key : InsertKeys(true)) InsertRecord(*model->table, key);
  return model;
}

void BM_EngineScan(benchmark::State& state) {
  TempFolder folder;
  const std::unique_ptr<OpenModel> model = FullTable(folder, static_cast<int>(state.range(0)));
  tbClass& table = *model->table;
  for (auto _ : state) {
    std::int64_t sum = 0;
    table.GoTo(0);
    while (table.Next()) sum += table.Key() + table.Record()[0];
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kRecords);
}
BENCHMARK(BM_EngineScan)->ArgName("length")->Arg(34)->Arg(164)->Unit(benchmark::kMillisecond);

void BM_EngineSeek(benchmark::State& state) {
  TempFolder folder;
  const std::unique_ptr<OpenModel> model = FullTable(folder, static_cast<int>(state.range(0)));
  tbClass& table = *model->table;
  const std::vector<std::int32_t> keys = SeekKeys();
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (const std::int32_t key : keys) {
      table.Seek(key);
      sum += table.Record()[0];
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kSeeks);
}
BENCHMARK(BM_EngineSeek)->ArgName("length")->Arg(34)->Arg(164)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kordavelt
