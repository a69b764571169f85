// Drives the table engine over arbitrary bytes taken as a database file.
//
// The input is the file (its whole 2048-byte pages) followed by an operation
// script (the bytes past the last whole page). Every table in use is opened,
// scanned, searched and edited, raw blocks are read and written, the script
// runs, and a small file is packed once; a table that drops the file's ok
// flag gets the file reopened for the next one. The work per input is
// bounded so that one run stays within milliseconds.
//
// Beyond never crashing, the engine must agree with a model of the tables
// whenever the file came in sound and in the engine's own shape (tight upper
// keys, no empty page beside others, no reusable slot or kept root naming a
// page in use): every count, position, key and record it reports, and the
// file it leaves behind, read back with DbReader, must be what the operations
// imply. Injected read and write failures, or the file outgrowing the test's
// size limit, switch the model off for the rest of the run.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine_fuzz_host.h"
#include "engine_fuzz_script.h"
#include "engine_fuzz_shape.h"
#include "storage/db_format.h"
#include "storage/db_reader.h"
#include "storage/dbf_class.h"
#include "storage/file_layer.h"
#include "storage/tb_class.h"
#include "ui/ui_host.h"

namespace {

using namespace kordavelt;
using namespace kordavelt::fuzz;

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

constexpr std::int32_t kMaxKey = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinKey = std::numeric_limits<std::int32_t>::min();
// Units of work per input, for the tables in the file and for the script:
// one per engine call, one per record scanned or copied.
constexpr int kVisitBudget = 3000;
constexpr int kScriptBudget = 3000;
// The file is packed only when its tables hold at most this many records.
constexpr int kPackLimit = 1500;
constexpr int kJournalCapacity = dbfClass::kJournalCapacity;

// --- The model ----------------------------------------------------------------------------

struct Record {
  std::int32_t key = 0;
  std::vector<std::uint8_t> data;
};

enum class Kind { Unused, RawBlock, Table };

struct TableModel {
  Kind kind = Kind::Unused;
  int length = 0;
  std::vector<Record> records;
  std::vector<std::uint8_t> block;  // what is known of a raw block, from its start
  bool blockHasPage = false;        // a block without a page gets a new one when written
};

struct Deleted {
  int table = 0;
  Record record;
};

std::vector<std::uint8_t> Pattern(std::int32_t key, int fill, std::size_t length) {
  std::vector<std::uint8_t> data(length);
  for (std::size_t i = 0; i < length; ++i) {
    data[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(key) * 31u + fill + i * 7u);
  }
  return data;
}

bool Same(ConstBytes a, const std::vector<std::uint8_t>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

// Index of the first record with a key greater than k, or not less than k.
std::size_t UpperBound(const std::vector<Record>& records, std::int32_t k) {
  return static_cast<std::size_t>(
      std::upper_bound(records.begin(), records.end(), k,
                       [](std::int32_t key, const Record& r) { return key < r.key; }) -
      records.begin());
}
std::size_t LowerBound(const std::vector<Record>& records, std::int32_t k) {
  return static_cast<std::size_t>(
      std::lower_bound(records.begin(), records.end(), k,
                       [](const Record& r, std::int32_t key) { return r.key < key; }) -
      records.begin());
}

// Every positioning reads the current record, whatever state it left.
void NoteNothing(tbClass& table) {
  static_cast<void>(table.Key());
  static_cast<void>(std::as_const(table).Record());
}

// --- One run ------------------------------------------------------------------------------

class EngineRun {
 public:
  EngineRun(ConstBytes file, ConstBytes script);
  void Run();

 private:
  // The file.
  bool Checking() const { return model_ && !files_.Fault().happened; }
  int InputSlotLength(int t) const {
    return ReadI16(input_, t == db::kScratchTable ? db::kPageSize - 2 : db::DescriptorOffset(t));
  }
  bool Spend(int units);
  bool OpenDatabase();
  // Closes and opens the file again, switching read-only on or off in between.
  void Reopen(bool toggleReadOnly = false);
  void EnsureOk();
  void ForgetClosedState();

  // Tables.
  tbClass* OpenTable(int t, int length);
  tbClass* Current();
  int SelectTable();
  int SelectLength(int t);
  std::int32_t SelectKey(const tbClass* table);
  void FreeTable(int t);

  // Operations, each checked against the model while it holds.
  void Insert(tbClass& table, std::int32_t k, int fill);
  void InsertRun(tbClass& table);
  void Delete(tbClass& table);
  void DeleteRun(tbClass& table);
  void Seek(tbClass& table, std::int32_t k);
  void GoTo(tbClass& table, std::int32_t n);
  void Scan(tbClass& table);
  void ChangeKey(tbClass& table, std::int32_t k);
  void Undo();
  void LastKey(tbClass& table);
  void EditRecord(tbClass& table, int fill);
  void SetJournal(bool on);
  void WriteBlock(int t, int length, int fill);
  void ReadBlock(int t, int length);
  void ClearTable(int t);
  void CopyTable(tbClass& table, int target);
  void ChangeLength(int t, int length);
  void Pack();
  void CheckPosition(tbClass& table);

  // Phases.
  void VisitTables();
  void VisitRawBlocks();
  void RunScript();
  void RunOp(EngineOp op);
  void CheckFinalFile();

  std::vector<std::uint8_t> input_;
  Script script_;
  QuietUi ui_;
  FaultyFileSystem files_;
  std::unique_ptr<dbfClass> db_;
  std::string signature_;
  std::string extension_;
  db::FileKind kind_ = db::FileKind::Model;
  int budget_ = kVisitBudget;
  bool model_ = false;
  bool packed_ = false;
  bool visitedAll_ = false;
  int current_ = 0;
  int currentLength_ = 0;
  std::array<TableModel, db::kMaxTables + 1> tables_;
  std::array<int, db::kMaxTables + 1> knownCounts_{};  // -1 when never opened
  std::deque<Deleted> journal_;
  bool journalOn_ = false;
};

EngineRun::EngineRun(ConstBytes file, ConstBytes script)
    : input_(file.begin(), file.end()), script_(script) {
  knownCounts_.fill(-1);
  const bool referenceBook = !input_.empty() && input_[0] == db::kReferenceBookSignature.size();
  kind_ = referenceBook ? db::FileKind::ReferenceBook : db::FileKind::Model;
  signature_ = std::string(db::SignatureOf(kind_));
  extension_ = std::string(db::ExtensionOf(kind_));

  // Kinds and lengths as the header states them; records only for the model.
  for (int t = 1; t <= db::kMaxTables; ++t) {
    const int slot = InputSlotLength(t);
    tables_[t].kind = slot == db::kSlotRawBlock     ? Kind::RawBlock
                      : db::IsTableSlotLength(slot) ? Kind::Table
                                                    : Kind::Unused;
    tables_[t].length = slot - db::kKeySize;
  }
  MemoryFile original(input_, true);
  DbReader reader(original, kind_);
  model_ = InEngineShape(original, reader);
  if (!model_) return;
  for (const DbTableInfo& info : reader.Tables()) {
    TableModel& table = tables_[info.number];
    if (info.rawBlock) {
      table.kind = Kind::RawBlock;
      table.block = reader.ReadRawBlock(info.number).bytes;
      table.blockHasPage = info.rootPage != 0;
      continue;
    }
    table.kind = Kind::Table;
    table.length = info.slotLength - db::kKeySize;
    if (info.number == db::kScratchTable) continue;  // its records are never kept
    for (DbRecord& record : reader.ReadTable(info.number).records) {
      table.records.push_back({record.key, std::move(record.data)});
    }
  }
}

bool EngineRun::Spend(int units) {
  if (budget_ < units) {
    budget_ = 0;
    return false;
  }
  budget_ -= units;
  return true;
}

// --- The file ---------------------------------------------------------------------------------

bool EngineRun::OpenDatabase() {
  const std::string name = "m." + extension_;
  files_.Memory().Put(name, input_);
  db_ = std::make_unique<dbfClass>(ui_, files_, extension_, signature_);
  db_->SetFileName(name);
  db_->OnRecordDeleted = [](dbfClass& file, tbClass& table) {
    Require(&file == &table.File() && !table.Record().empty());
  };
  return db_->OpenFile();
}

// Closing drops the journal, the open tables and the scratch table's records.
void EngineRun::ForgetClosedState() {
  journal_.clear();
  TableModel& scratch = tables_[db::kScratchTable];
  scratch.records.clear();
  if (scratch.kind == Kind::RawBlock) {
    scratch.block.assign(db::kPageSize, 0);
    scratch.blockHasPage = false;
  }
}

void EngineRun::Reopen(bool toggleReadOnly) {
  if (!Spend(1)) return;
  if (db_->IsOpen()) {
    db_->SetAskToSave(false);
    if (!db_->CloseFile()) {
      // Writes failed: the file stays open; without failures it must close.
      files_.Fault().failWrites = 0;
      files_.Fault().failReads = 0;
      if (!db_->CloseFile()) {
        db_.reset();
        return;
      }
    }
  }
  ForgetClosedState();
  if (toggleReadOnly) db_->SetReadOnly(!db_->ReadOnly());
  const bool opened = db_->OpenFile();
  if (Checking()) Require(opened);
  journalOn_ = db_->JournalCount() >= 0;
}

void EngineRun::EnsureOk() {
  if (db_ != nullptr && (!db_->IsOpen() || !db_->Ok())) Reopen();
}

// --- Tables --------------------------------------------------------------------------------

tbClass* EngineRun::OpenTable(int t, int length) {
  if (db_ == nullptr || !Spend(2)) return nullptr;
  EnsureOk();
  if (db_ == nullptr || !db_->IsOpen()) return nullptr;
  const bool valid = db::IsTableNumber(t) && db::IsTableSlotLength(length + db::kKeySize);
  TableModel& model = tables_[db::IsTableNumber(t) ? t : 0];
  if (valid && model.kind == Kind::Table && model.length != length) {
    // The length question is closed, which answers No: the table stays as it is.
    tbClass* refused = db_->OpenTable(t, length, NoteNothing);
    if (Checking()) {
      Require(refused == nullptr && !db_->Ok() && db_->OpenStatus() == kStatusRefused);
    }
    EnsureOk();
    return nullptr;
  }
  // A raw block opened as a table becomes one; a table made in a read-only
  // file (the scratch table is made anew after every open) is never written,
  // so opening it again reads pages that never were. Neither is modelled.
  const bool madeAnew = model.kind == Kind::Unused || t == db::kScratchTable;
  if (valid && (model.kind == Kind::RawBlock || (madeAnew && db_->ReadOnly()))) model_ = false;

  tbClass* table = db_->OpenTable(t, length, NoteNothing);
  if (Checking()) journal_.clear();
  if (table != nullptr) knownCounts_[t] = table->Count();
  if (table == nullptr || !db_->Ok()) {
    // Only a number or length no table can have, or a full file, refuses.
    if (Checking()) Require(!valid || db_->PageCount() >= db::kMaxPageNumber - 1);
    EnsureOk();
    return nullptr;
  }
  current_ = t;
  currentLength_ = length;
  if (Checking()) {
    if (model.kind == Kind::Unused) {
      model.kind = Kind::Table;
      model.length = length;
      model.records.clear();
    }
    Require(!table->Damaged() && table->Count() == model.records.size());
    Require(table->RecordLength() == length);
    if (!model.records.empty()) {
      Require(table->RecordNumber() == 1 && table->Key() == model.records[0].key);
    }
  }
  return table;
}

tbClass* EngineRun::Current() {
  if (db_ == nullptr || current_ == 0) return nullptr;
  EnsureOk();
  if (db_ == nullptr) return nullptr;
  if (tbClass* table = db_->Table(current_)) return table;
  return OpenTable(current_, currentLength_);
}

// Mostly a number in use; sometimes any number, 0 and the scratch table among them.
int EngineRun::SelectTable() {
  const std::uint8_t choice = script_.Byte();
  if (choice >= 0xC0) return script_.U16() % (db::kMaxTables + 1);
  std::vector<int> inUse;
  for (int t = 1; t <= db::kMaxTables; ++t) {
    if (tables_[t].kind != Kind::Unused || knownCounts_[t] >= 0) inUse.push_back(t);
  }
  if (inUse.empty() || choice >= 0x80) return 1 + choice % 16;
  return inUse[choice % inUse.size()];
}

int EngineRun::SelectLength(int t) {
  const std::uint8_t choice = script_.Byte();
  switch (choice % 8) {
    case 0:
      if (db::IsTableNumber(t) && tables_[t].kind == Kind::Table) return tables_[t].length;
      return 34;
    case 1:
      return 4;
    case 2:
      return 34;
    case 3:
      return 164;
    case 4:
      return db::kPageSize - db::kKeySize;  // one record per page: two levels come soon
    case 5:
      return 1 + choice / 8;
    case 6:
      return choice < 128 ? 0 : db::kPageSize;  // lengths no table can have
    default:
      return 1000 + choice;
  }
}

std::int32_t EngineRun::SelectKey(const tbClass* table) {
  const std::uint8_t choice = script_.Byte();
  switch (choice % 4) {
    case 0:
      return static_cast<std::int8_t>(script_.Byte());
    case 1:
      return script_.I32();
    case 2: {
      static constexpr std::int32_t kSpecial[] = {kMinKey, -1, 0, 1, kMaxKey - 1, kMaxKey};
      return kSpecial[(choice / 4) % std::size(kSpecial)];
    }
    default: {
      // A key the table holds, give or take one.
      const std::vector<Record>& records = tables_[current_].records;
      const std::uint16_t pick = script_.U16();
      if (Checking() && table != nullptr && !records.empty()) {
        const std::int32_t key = records[pick % records.size()].key;
        const int step = choice / 4 % 3 - 1;
        if ((step < 0 && key == kMinKey) || (step > 0 && key == kMaxKey)) return key;
        return key + step;
      }
      return choice / 4;
    }
  }
}

void EngineRun::FreeTable(int t) {
  if (db_ == nullptr || !db::IsTableNumber(t)) return;
  if (tbClass* table = db_->Table(t)) {
    const int flushed = table->Flush();
    if (Checking())
      Require(flushed == kStatusOk || (db_->ReadOnly() && flushed == kStatusReadOnly));
    table->Free();
    Require(db_->Table(t) == nullptr);
  }
}

// --- Operations --------------------------------------------------------------------------------

// Key and record of a position that names a record must be that record's.
void EngineRun::CheckPosition(tbClass& table) {
  if (!Checking()) return;
  const std::vector<Record>& records = tables_[table.TableNumber()].records;
  Require(table.Count() == records.size());
  const std::int32_t n = table.RecordNumber();
  if (n < 1 || n > static_cast<std::int32_t>(records.size()) || table.Record().empty()) return;
  const Record& expected = records[static_cast<std::size_t>(n - 1)];
  Require(table.Key() == expected.key && Same(table.Record(), expected.data));
}

void EngineRun::Insert(tbClass& table, std::int32_t k, int fill) {
  if (!Spend(1)) return;
  const int before = table.Count();
  table.Insert(k);
  const bool checking = Checking();
  if (checking) journal_.clear();
  TableModel& model = tables_[table.TableNumber()];
  if (table.Status() == kStatusOk) {
    knownCounts_[table.TableNumber()] = table.Count();
    Require(table.Key() == k && table.Record().size() == table.RecordLength());
    Require(std::all_of(table.Record().begin(), table.Record().end(),
                        [](std::uint8_t b) { return b == 0; }));
    const std::vector<std::uint8_t> data = Pattern(k, fill, table.RecordLength());
    std::copy(data.begin(), data.end(), table.Record().begin());
    // An odd fill leaves the record unwritten until the table moves or flushes.
    if (fill % 2 == 0) {
      table.MarkModifiedAndFlush();
    } else {
      table.MarkModified();
    }
    if (!Checking()) return;
    Require(table.Status() == kStatusOk && table.Count() == before + 1);
    const std::size_t at = UpperBound(model.records, k);
    Require(table.RecordNumber() == static_cast<std::int32_t>(at + 1));
    model.records.insert(model.records.begin() + static_cast<std::ptrdiff_t>(at), {k, data});
    return;
  }
  if (!Checking()) return;
  Require(table.Count() == before);
  if (db_->ReadOnly()) {
    Require(table.Status() == kStatusReadOnly);
  } else {
    // Only the limits of the format refuse an insert.
    Require(table.Status() == kStatusTableFull);
    Require(before >= db::kMaxRecords || db_->PageCount() >= db::kMaxPageNumber - 3);
  }
}

void EngineRun::InsertRun(tbClass& table) {
  const int count = RunLength(script_.Byte());
  const std::uint8_t mode = script_.Byte();
  std::int32_t key = SelectKey(&table);
  const int fill = script_.Byte();
  std::uint32_t random = static_cast<std::uint32_t>(key) | 1u;
  for (int i = 0; i < count && budget_ > 0; ++i) {
    switch (mode % 4) {
      case 0:  // ascending: appends pages at the end
        key = key == kMaxKey ? key : key + 1;
        break;
      case 1:  // descending: splits the first page again and again
        key = key == kMinKey ? key : key - 1;
        break;
      case 2:  // scattered
        random = random * 1103515245u + 12345u;
        key = static_cast<std::int32_t>(random >> 8) % 100000;
        break;
      default:  // one key many times
        break;
    }
    Insert(table, key, fill + i);
  }
}

void EngineRun::Delete(tbClass& table) {
  if (!Spend(1)) return;
  const int before = table.Count();
  const std::int32_t n = table.RecordNumber();
  const std::int32_t key = table.Key();
  const std::vector<std::uint8_t> data(table.Record().begin(), table.Record().end());
  table.Delete();
  if (table.Status() == kStatusOk) knownCounts_[table.TableNumber()] = table.Count();
  if (!Checking()) return;
  TableModel& model = tables_[table.TableNumber()];
  if (table.Status() != kStatusOk) {
    Require(table.Count() == before);
    return;
  }
  Require(table.Count() == before - 1);
  Require(n >= 1 && n <= static_cast<std::int32_t>(model.records.size()));
  const std::size_t at = static_cast<std::size_t>(n - 1);
  Require(model.records[at].key == key && model.records[at].data == data);
  if (journalOn_) {
    if (journal_.size() == kJournalCapacity) journal_.pop_front();
    journal_.push_back({table.TableNumber(), std::move(model.records[at])});
  }
  model.records.erase(model.records.begin() + static_cast<std::ptrdiff_t>(at));
  // The record number now names the record that followed.
  Require(table.RecordNumber() == n);
  CheckPosition(table);
  Require(db_->JournalCount() == (journalOn_ ? static_cast<int>(journal_.size()) : -1));
}

void EngineRun::DeleteRun(tbClass& table) {
  const int count = RunLength(script_.Byte());
  std::uint32_t random = script_.U16() | 1u;
  for (int i = 0; i < count && budget_ > 0 && table.Count() > 0; ++i) {
    random = random * 1103515245u + 12345u;
    GoTo(table, static_cast<std::int32_t>((random >> 8) % table.Count()) + 1);
    Delete(table);
  }
}

void EngineRun::Seek(tbClass& table, std::int32_t k) {
  if (!Spend(1)) return;
  table.Seek(k);
  if (!Checking()) return;
  const std::vector<Record>& records = tables_[table.TableNumber()].records;
  const std::size_t at = LowerBound(records, k);
  const std::int32_t n = table.RecordNumber();
  switch (table.Status()) {
    case kStatusOk:  // the first record of key k
      Require(at < records.size() && records[at].key == k);
      Require(n == static_cast<std::int32_t>(at + 1));
      break;
    case kStatusGreater:  // the first record of a greater key
      Require(at < records.size() && records[at].key > k);
      Require(n == static_cast<std::int32_t>(at + 1));
      break;
    case kStatusBeyond:  // beyond every key: the last record
      Require(at == records.size() && !records.empty());
      Require(n == static_cast<std::int32_t>(records.size()));
      break;
    case kStatusEmptyPage:
      Require(records.empty() && n == 1);
      break;
    default:
      Require(false);
  }
  CheckPosition(table);
}

void EngineRun::GoTo(tbClass& table, std::int32_t n) {
  if (!Spend(1)) return;
  table.GoTo(n);
  if (!Checking()) return;
  const std::int32_t count = static_cast<std::int32_t>(tables_[table.TableNumber()].records.size());
  if (n < 1) {
    Require(table.Status() == kStatusGreater && table.RecordNumber() == 0);
  } else if (n > count) {
    Require(table.Status() == kStatusBeyond && table.RecordNumber() == count + 1);
  } else {
    Require(table.Status() == kStatusOk && table.RecordNumber() == n);
    Require(!table.Record().empty());
  }
  CheckPosition(table);
}

// GoTo(0), then Next while it answers true: every record once, in order.
void EngineRun::Scan(tbClass& table) {
  if (!Spend(1)) return;
  table.GoTo(0);
  const int count = table.Count();
  int visited = 0;
  bool complete = false;
  while (Spend(1)) {
    const std::int32_t before = table.RecordNumber();
    if (!table.Next()) {
      complete = true;
      break;
    }
    Require(table.RecordNumber() == before + 1);
    ++visited;
    Require(visited <= count);
    CheckPosition(table);
  }
  if (Checking() && complete) {
    Require(visited == static_cast<int>(tables_[table.TableNumber()].records.size()));
    Require(table.Status() == kStatusBeyond && table.RecordNumber() == count + 1);
    // Prev from past the end lands on the last record.
    if (count > 0) {
      Require(table.Prev() && table.RecordNumber() == count);
      CheckPosition(table);
    }
  }
}

void EngineRun::ChangeKey(tbClass& table, std::int32_t k) {
  if (!Spend(2)) return;
  const int before = table.Count();
  const std::int32_t n = table.RecordNumber();
  const std::int32_t oldKey = table.Key();
  const std::vector<std::uint8_t> data(table.Record().begin(), table.Record().end());
  const std::size_t journalBefore = journal_.size();
  table.ChangeKey(k);
  if (!Checking()) return;
  TableModel& model = tables_[table.TableNumber()];
  const int status = table.Status();
  Require(table.Count() == before);
  if (status != kStatusOk && status != kStatusTableFull) {
    // The delete was refused: nothing moved, the journal is as it was.
    Require(db_->JournalCount() == (journalOn_ ? static_cast<int>(journalBefore) : -1));
    return;
  }
  // Moved to k, or, when k could not be inserted, back under its old key.
  const std::int32_t newKey = status == kStatusOk ? k : oldKey;
  Require(n >= 1 && n <= static_cast<std::int32_t>(model.records.size()));
  const std::size_t from = static_cast<std::size_t>(n - 1);
  Require(model.records[from].key == oldKey && model.records[from].data == data);
  model.records.erase(model.records.begin() + static_cast<std::ptrdiff_t>(from));
  const std::size_t at = UpperBound(model.records, newKey);
  model.records.insert(model.records.begin() + static_cast<std::ptrdiff_t>(at), {newKey, data});
  journal_.clear();
  Require(table.Key() == newKey && table.RecordNumber() == static_cast<std::int32_t>(at + 1));
  CheckPosition(table);
  Require(db_->JournalCount() == (journalOn_ ? 0 : -1));
}

// Restores the journalled records, last deleted first, unless the key is back.
void EngineRun::Undo() {
  if (db_ == nullptr || !Spend(1 + 2 * std::max(db_->JournalCount(), 0))) return;
  // Near the page limit an undo insert may be refused; the model cannot tell which.
  if (Checking() &&
      db_->PageCount() + 3 * static_cast<int>(journal_.size()) + 8 > db::kMaxPageNumber) {
    model_ = false;
  }
  db_->UndoDeletions();
  if (!Checking()) return;
  for (auto entry = journal_.rbegin(); entry != journal_.rend(); ++entry) {
    if (db_->Table(entry->table) == nullptr) continue;
    std::vector<Record>& records = tables_[entry->table].records;
    const std::size_t at = LowerBound(records, entry->record.key);
    if (at < records.size() && records[at].key == entry->record.key) continue;
    if (records.size() >= db::kMaxRecords) continue;
    records.insert(records.begin() + static_cast<std::ptrdiff_t>(at), entry->record);
  }
  journal_.clear();
  Require(db_->JournalCount() == (journalOn_ ? 0 : -1));
  for (int t = 1; t <= db::kMaxTables; ++t) {
    if (tbClass* table = db_->Table(t)) CheckPosition(*table);
  }
}

void EngineRun::LastKey(tbClass& table) {
  if (!Spend(1)) return;
  const std::int32_t n = table.RecordNumber();
  const std::int32_t key = table.Key();
  const std::int32_t last = table.LastKey();
  // The position is kept, unless the table turned out to be damaged.
  if (!table.Damaged()) Require(table.RecordNumber() == n && table.Key() == key);
  if (!Checking()) return;
  const std::vector<Record>& records = tables_[table.TableNumber()].records;
  Require(last == (records.empty() ? 0 : records.back().key));
}

void EngineRun::EditRecord(tbClass& table, int fill) {
  if (!Spend(1)) return;
  const std::int32_t n = table.RecordNumber();
  if (table.Record().empty() || n < 1 || n > table.Count()) return;
  CheckPosition(table);
  const std::vector<std::uint8_t> data = Pattern(table.Key(), fill, table.RecordLength());
  std::copy(data.begin(), data.end(), table.Record().begin());
  if (fill % 2 == 0) {
    table.MarkModifiedAndFlush();
  } else {
    table.MarkModified();
  }
  if (!Checking() || db_->ReadOnly()) {
    if (Checking()) model_ = false;  // the change stays in memory only
    return;
  }
  Require(fill % 2 != 0 || table.Status() == kStatusOk);
  tables_[table.TableNumber()].records[static_cast<std::size_t>(n - 1)].data = data;
}

void EngineRun::SetJournal(bool on) {
  if (db_ == nullptr || !Spend(1)) return;
  db_->SetJournalOn(on);
  journalOn_ = on;
  if (!on) journal_.clear();
  if (Checking()) Require(db_->JournalCount() == (on ? static_cast<int>(journal_.size()) : -1));
}

void EngineRun::WriteBlock(int t, int length, int fill) {
  if (db_ == nullptr || !Spend(1)) return;
  const std::vector<std::uint8_t> data = Pattern(t, fill, static_cast<std::size_t>(length));
  const bool written = db_->WriteBlock(t, data);
  if (!Checking()) return;
  TableModel& model = tables_[t];
  const bool allowed = db::IsTableNumber(t) && model.kind != Kind::Table && !db_->ReadOnly();
  Require(written == allowed || db_->PageCount() >= db::kMaxPageNumber);
  if (!written) return;
  const std::size_t length2048 = std::min<std::size_t>(data.size(), db::kPageSize);
  // Past the written bytes a page keeps what it held: the block's earlier
  // bytes, or whatever a new or reused page held before.
  if (model.kind != Kind::RawBlock || !model.blockHasPage) model.block.clear();
  model.kind = Kind::RawBlock;
  model.blockHasPage = true;
  if (model.block.size() < length2048) model.block.resize(length2048);
  std::copy_n(data.begin(), length2048, model.block.begin());
}

void EngineRun::ReadBlock(int t, int length) {
  if (db_ == nullptr || !Spend(1)) return;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(length), 0xA5);
  const bool read = db_->ReadBlock(t, buffer);
  if (!Checking() || !db::IsTableNumber(t)) return;
  const TableModel& model = tables_[t];
  if (model.kind != Kind::RawBlock) return;
  Require(read);
  const std::size_t known = std::min({buffer.size(), model.block.size(), std::size_t{2048}});
  Require(std::equal(model.block.begin(), model.block.begin() + static_cast<std::ptrdiff_t>(known),
                     buffer.begin()));
}

void EngineRun::ClearTable(int t) {
  if (db_ == nullptr || !db::IsTableNumber(t) || !Spend(1)) return;
  FreeTable(t);
  if (current_ == t) current_ = 0;
  // The header of a read-only file is never written; the page of a cleared
  // raw block may pass for the root of a table when the number is used again.
  if (db_->ReadOnly() || tables_[t].kind == Kind::RawBlock) model_ = false;
  db_->ClearTable(t);
  tables_[t] = TableModel{};
  knownCounts_[t] = -1;
}

void EngineRun::CopyTable(tbClass& table, int target) {
  // A table registered under the target would be written over behind its back.
  if ((db::IsTableNumber(target) && db_->Table(target) != nullptr) || !Spend(2 + table.Count())) {
    return;
  }
  const bool free = db::IsTableNumber(target) && tables_[target].kind == Kind::Unused;
  const bool roomy = db_->PageCount() + 2 * table.Count() + 8 <= db::kMaxPageNumber;
  const int status = db_->CopyTable(table, *db_, target);
  if (Checking()) {
    if (db_->ReadOnly()) {
      Require(status == kStatusReadOnly);
    } else if (!free) {
      Require(status == 2);
    } else if (roomy) {
      Require(status == kStatusOk);
    } else if (status != kStatusOk) {
      model_ = false;  // copied part of the way
    }
  }
  if (status == kStatusOk && db::IsTableNumber(target)) {
    TableModel& model = tables_[target];
    model.kind = Kind::Table;
    model.length = table.RecordLength();
    model.records = tables_[table.TableNumber()].records;
    knownCounts_[target] = table.Count();
  }
  CheckPosition(table);
}

// Opens table t with another length and answers Yes to the question: its
// records keep their keys and the common start of their data, and the
// scratch table that carried them is cleared.
void EngineRun::ChangeLength(int t, int length) {
  if (db_ == nullptr || !db::IsTableNumber(t) || t == db::kScratchTable) return;
  TableModel& model = tables_[t];
  if (model.kind != Kind::Table || model.length == length ||
      !db::IsTableSlotLength(length + db::kKeySize) ||
      !Spend(4 + 2 * static_cast<int>(model.records.size()))) {
    return;
  }
  // Table t may stay registered: the new object replaces it. The scratch
  // table carries the records and must not be held open meanwhile.
  FreeTable(db::kScratchTable);
  if (Checking() &&
      db_->PageCount() + 4 * static_cast<int>(model.records.size()) + 16 > db::kMaxPageNumber) {
    model_ = false;
  }
  ui_.PressSecondButtonNext();
  tbClass* table = db_->OpenTable(t, length, NoteNothing);
  ui_.ForgetAnswers();
  if (Checking()) journal_.clear();
  if (table == nullptr || !db_->Ok()) {
    if (Checking()) Require(db_->ReadOnly() && table == nullptr);
    EnsureOk();
    return;
  }
  current_ = t;
  currentLength_ = length;
  knownCounts_[t] = table->Count();
  knownCounts_[db::kScratchTable] = -1;
  tables_[db::kScratchTable] = TableModel{};
  if (!Checking()) return;
  Require(!db_->ReadOnly());
  model.length = length;
  for (Record& record : model.records) record.data.resize(static_cast<std::size_t>(length), 0);
  Require(table->Count() == model.records.size() && table->RecordLength() == length);
  CheckPosition(*table);
}

void EngineRun::Pack() {
  if (db_ == nullptr || packed_) return;
  // Every table of the file was opened once, so its count is known; one that
  // failed to open fails as fast when packing.
  if (!visitedAll_) return;
  int records = 0;
  for (int t = 1; t < db::kScratchTable; ++t) {
    records +=
        Checking() ? static_cast<int>(tables_[t].records.size()) : std::max(knownCounts_[t], 0);
  }
  if (records > kPackLimit || !Spend(10 + 2 * records)) return;
  packed_ = true;
  const bool done = db_->PackFile();
  current_ = 0;
  if (!Checking()) {
    EnsureOk();
    return;
  }
  Require(done && db_->IsOpen() && db_->Ok());
  ForgetClosedState();
  for (TableModel& table : tables_) table.blockHasPage = table.kind == Kind::RawBlock;
  tables_[db::kScratchTable] = TableModel{};
  knownCounts_[db::kScratchTable] = -1;
}

// --- Phases --------------------------------------------------------------------------------------

// Every table in use: opened, scanned, searched, edited, undone, freed.
void EngineRun::VisitTables() {
  for (int t = 1; t <= db::kMaxTables && budget_ > 0; ++t) {
    const int slot = InputSlotLength(t);
    if (slot < db::kMinTableSlot) continue;
    tbClass* table = OpenTable(t, slot - db::kKeySize);
    if (table == nullptr) continue;
    Scan(*table);
    const std::int32_t last = table->LastKey();
    for (const std::int32_t k : {last, last - 1, 0, kMinKey, kMaxKey, table->Key()}) {
      Seek(*table, k);
    }
    LastKey(*table);
    Insert(*table, 3, 1);
    Insert(*table, -40, 2);
    Insert(*table, kMaxKey, 3);
    ChangeKey(*table, 2);
    Delete(*table);
    GoTo(*table, 1);
    Delete(*table);
    GoTo(*table, table->Count());
    Delete(*table);
    Undo();
    Seek(*table, 2);
    FreeTable(t);
  }
  visitedAll_ = budget_ > 0;
}

void EngineRun::VisitRawBlocks() {
  ReadBlock(0, 16);
  WriteBlock(0, 16, 0);
  for (int t = 1; t <= db::kMaxTables && budget_ > 0; ++t) {
    const int slot = InputSlotLength(t);
    if (slot == db::kSlotRawBlock) {
      ReadBlock(t, db::kPageSize);
      WriteBlock(t, 1469, t);
      ReadBlock(t, db::kPageSize + 10);
    } else if (slot >= db::kMinTableSlot) {
      WriteBlock(t, 10, t);  // refused: the number holds a table
    }
  }
}

void EngineRun::RunOp(EngineOp op) {
  if (db_ == nullptr) return;
  switch (op) {
    case kOpOpen: {
      const int t = SelectTable();
      OpenTable(t, SelectLength(t));
      return;
    }
    case kOpJournal:
      SetJournal(script_.Byte() % 2 == 0);
      return;
    case kOpReopen:
      Reopen();
      return;
    case kOpReadOnly:
      Reopen(true);
      return;
    case kOpWriteBlock: {
      const int t = SelectTable();
      const int length = script_.U16() % (db::kPageSize + 100);
      WriteBlock(t, length, script_.Byte());
      return;
    }
    case kOpReadBlock: {
      const int t = SelectTable();
      ReadBlock(t, script_.U16() % (db::kPageSize + 100));
      return;
    }
    case kOpClearTable:
      ClearTable(SelectTable());
      return;
    case kOpUndo:
      Undo();
      return;
    case kOpPack:
      Pack();
      return;
    case kOpFailWrites:
      files_.Fault().failWrites = script_.Byte() % 4;
      return;
    case kOpFailReads:
      files_.Fault().failReads = script_.Byte() % 4;
      return;
    default:
      break;
  }

  tbClass* table = Current();
  if (table == nullptr) return;
  switch (op) {
    case kOpInsert: {
      const std::int32_t key = SelectKey(table);
      Insert(*table, key, script_.Byte());
      return;
    }
    case kOpInsertRun:
      InsertRun(*table);
      return;
    case kOpDelete:
      Delete(*table);
      return;
    case kOpDeleteRun:
      DeleteRun(*table);
      return;
    case kOpSeek:
      Seek(*table, SelectKey(table));
      return;
    case kOpGoTo:
      GoTo(*table, static_cast<std::int16_t>(script_.U16()));
      return;
    case kOpNext:
      if (Spend(1)) {
        const std::int32_t n = table->RecordNumber();
        GoTo(*table, n + 1);
      }
      return;
    case kOpPrev:
      if (Spend(1)) {
        const std::int32_t n = table->RecordNumber();
        GoTo(*table, n - 1);
      }
      return;
    case kOpScan:
      Scan(*table);
      return;
    case kOpChangeKey:
      ChangeKey(*table, SelectKey(table));
      return;
    case kOpLastKey:
      LastKey(*table);
      return;
    case kOpEditRecord:
      EditRecord(*table, script_.Byte());
      return;
    case kOpCopyTable:
      CopyTable(*table, SelectTable());
      return;
    case kOpChangeLength:
      ChangeLength(table->TableNumber(), SelectLength(0));
      return;
    case kOpFree:
      FreeTable(table->TableNumber());
      return;
    case kOpFlush:
      if (Spend(1)) {
        if (script_.Byte() % 2 == 0) {
          table->Flush();
        } else {
          db_->FlushAll();
        }
      }
      return;
    default:
      return;
  }
}

void EngineRun::RunScript() {
  while (!script_.Done() && budget_ > 0 && db_ != nullptr) {
    RunOp(static_cast<EngineOp>(script_.Byte() % kOpCount));
  }
}

// The file left behind reads back as the model says, sound and in the engine's shape.
void EngineRun::CheckFinalFile() {
  if (db_ == nullptr || !db_->IsOpen()) return;
  db_->SetAskToSave(false);
  const std::string name = db_->FileName();
  const bool closed = db_->CloseFile();
  if (!Checking()) return;
  Require(closed);
  ForgetClosedState();
  const std::vector<std::uint8_t>* bytes = files_.Memory().Find(name);
  Require(bytes != nullptr);
  MemoryFile file(*bytes, true);
  DbReader reader(file, kind_);
  Require(InEngineShape(file, reader));

  std::array<Kind, db::kMaxTables + 1> kinds{};
  for (const DbTableInfo& info : reader.Tables()) {
    kinds[info.number] = info.rawBlock ? Kind::RawBlock : Kind::Table;
    const TableModel& model = tables_[info.number];
    Require(model.kind == kinds[info.number]);
    if (info.rawBlock) {
      const std::vector<std::uint8_t> block = reader.ReadRawBlock(info.number).bytes;
      Require(std::equal(model.block.begin(), model.block.end(), block.begin()));
      continue;
    }
    Require(info.slotLength == model.length + db::kKeySize);
    if (info.number == db::kScratchTable) continue;
    const DbTableContents contents = reader.ReadTable(info.number);
    Require(contents.records.size() == model.records.size());
    for (std::size_t i = 0; i < model.records.size(); ++i) {
      Require(contents.records[i].key == model.records[i].key);
      Require(contents.records[i].data == model.records[i].data);
    }
  }
  for (int t = 1; t <= db::kMaxTables; ++t) {
    if (kinds[t] == Kind::Unused) Require(tables_[t].kind == Kind::Unused);
  }
}

void EngineRun::Run() {
  if (!OpenDatabase()) return;
  SetJournal(true);
  VisitTables();
  VisitRawBlocks();
  budget_ = kScriptBudget;
  RunScript();
  EnsureOk();
  Pack();
  CheckFinalFile();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::size_t fileSize = size / db::kPageSize * db::kPageSize;
  const ConstBytes input(data, size);
  EngineRun run(input.first(fileSize), input.subspan(fileSize));
  run.Run();
  return 0;
}
