// The table engine against a plain model of what a table holds: thousands of
// mixed inserts, deletes, re-keyings, undos, positionings and reopenings per
// run, each checked at once for the status, the position, the key and the
// data it leaves, with full scans and a check of the file's bytes along the
// way. Catches records lost, duplicated, misplaced or swapped during page
// splits and index level changes, positions off by one, equal keys out of
// insertion order and index pages the file check finds unsound.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "storage/db_reader.h"
#include "storage/dbf_class.h"
#include "storage/tb_class.h"
#include "support/engine_reference.h"
#include "support/scripted_ui_host.h"

namespace kordavelt {
namespace {

using testing::FillPattern;
using testing::HasPattern;
using testing::ReferenceRecord;
using testing::ReferenceTable;
using testing::ScriptedUiHost;

constexpr int kTable = 5;
// Steps between full scans and file checks.
constexpr long kFullCheckEvery = 400;
constexpr std::int32_t kMaxKey = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinKey = std::numeric_limits<std::int32_t>::min();
const std::string kFileName = "diff.LVN";

const std::string kToTwoLevels = "Переход на двухуровневый индекс таблицы №5";
const std::string kSecondLevelSplit = "Деление вторичного индекса таблицы №5";
const std::string kSecondLevelRemoved = "Удаление страницы вторичного индекса таблицы №5";
const std::string kToOneLevel = "Переход с двухуровневого на одноуровневый индекс таблицы №5";

std::string Num(long long value) { return std::to_string(value); }

// The status GoTo(n) gives in a table of `count` records.
int GoToStatus(std::int32_t n, int count) {
  if (n < 1) return kStatusGreater;
  return n > count ? kStatusBeyond : kStatusOk;
}

// How a run grows and shrinks its table.
struct Plan {
  int length = 34;
  std::uint32_t seed = 1;
  // Tables that must pass through two levels grow until they do and then to
  // this multiple of the count they had then; the others grow to `growTo`.
  bool crossesTwoLevels = false;
  double growthAfterTwoLevels = 1.1;
  int growTo = 0;
  // After shrinking, delete every record and start again from nothing.
  bool drain = false;
  // Keys are drawn from -keyRange ... keyRange; 0 takes about as many keys
  // as records at the peak. A small range piles up equal keys across pages.
  int keyRange = 0;
};

// What Record() and Key() of the engine show. After a delete the engine may
// keep the following record in view or none (the page may have gone), so the
// model accepts either until it has looked.
struct Cursor {
  enum class Shows { Nothing, Record, RecordOrNothing };
  std::int32_t number = 0;
  Shows shows = Shows::Nothing;
  ReferenceRecord record;
};

// One run: a file in memory with table 5 open, the model beside it, and a
// random stream of operations from a fixed seed.
class DifferentialRun {
 public:
  explicit DifferentialRun(const Plan& plan) : plan_(plan), random_(plan.seed) {}

  // Empty when the engine and the model agreed all along, else where and how
  // they first differed.
  std::string Run();

 private:
  // --- Operations, each checked against the model --------------------------
  void Insert(std::int32_t k);
  void InsertRun();
  void DeleteCurrent();
  void DeleteAt(int n);
  void DeleteRunAt(int n, int records);
  void DeleteFirstOfKey(std::int32_t k);
  void ChangeKeyAt(int n, std::int32_t k);
  void Seek(std::int32_t k);
  void GoTo(std::int32_t n);
  void Step(bool forward);
  void Undo();
  void Reopen(bool destroyObject);
  void FullCheck();
  void FullCheckWhenDue();

  // --- Phases ------------------------------------------------------------------
  void GrowStep();
  void ShrinkStep(bool fromTheEnd);
  void Drain();
  void OverflowTheJournal();

  // --- Checks --------------------------------------------------------------------
  void Begin(const std::string& operation);
  void Fail(const std::string& what);
  bool Failed() const { return !failure_.empty(); }
  void ExpectStatus(int expected);
  void ExpectCursor();
  void ExpectTable();
  void ExpectMessages();
  void ExpectScan(bool forward);
  void ExpectFileMatches();
  // The model's cursor after GoTo(n) of the engine.
  void ModelGoTo(std::int32_t n);

  // --- Random choices ----------------------------------------------------------
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
  std::int32_t RandomKey();
  std::int32_t ExistingKey();
  std::int32_t SeekKey();
  int RandomRecordNumber() { return Uniform(1, std::max(1, model_.Count())); }

  Plan plan_;
  std::mt19937 random_;
  ScriptedUiHost ui_;
  MemoryFileSystem files_;
  std::unique_ptr<dbfClass> file_;
  tbClass* table_ = nullptr;
  ReferenceTable model_;
  Cursor cursor_;
  std::uint64_t nextSerial_ = 1;
  int keyRange_ = 1000;

  long step_ = 0;
  long nextFullCheck_ = kFullCheckEvery;
  std::string operation_;
  std::string failure_;
  std::size_t uiCallsSeen_ = 0;
  bool twoLevel_ = false;
  bool everTwoLevel_ = false;
};

// --- The run ------------------------------------------------------------------------

std::string DifferentialRun::Run() {
  file_ = std::make_unique<dbfClass>(ui_, files_, std::string(db::kModelExtension),
                                     std::string(db::kModelSignature));
  file_->SetFileName(kFileName);
  if (!file_->CreateFile() || !file_->OpenFile()) return "the file cannot be created";
  file_->SetJournalOn(true);
  table_ = file_->OpenTable(kTable, plan_.length);
  if (table_ == nullptr) return "table 5 cannot be opened";
  cursor_ = {1, Cursor::Shows::Nothing, {}};

  const int capacity = db::RecordsPerPage(plan_.length + db::kKeySize);
  // About as many keys as records at the peak, so duplicates are common.
  keyRange_ = plan_.crossesTwoLevels ? capacity * db::kMaxEntries : plan_.growTo;
  const long stepLimit = 40L * keyRange_ + 20000;
  if (plan_.keyRange > 0) keyRange_ = plan_.keyRange;

  int peak = 0;
  int target = plan_.crossesTwoLevels ? std::numeric_limits<int>::max() : plan_.growTo;
  while (!Failed() && model_.Count() < target) {
    GrowStep();
    FullCheckWhenDue();
    if (plan_.crossesTwoLevels && everTwoLevel_ && target == std::numeric_limits<int>::max()) {
      target = static_cast<int>(model_.Count() * plan_.growthAfterTwoLevels) + 1;
    }
    if (step_ > stepLimit) Fail("the table did not reach its size in " + Num(stepLimit) + " steps");
  }
  peak = model_.Count();
  if (plan_.crossesTwoLevels && !Failed() && !everTwoLevel_) {
    Fail("the index never became two-level");
  }
  if (!Failed()) OverflowTheJournal();

  // Most records go, first anywhere, then from the end, so that the
  // second-level pages empty one after another and the index folds back.
  while (!Failed() && model_.Count() > peak * 2 / 5) {
    ShrinkStep(false);
    FullCheckWhenDue();
  }
  // Equal or random keys inserted meanwhile may sit under any root entry: the
  // end goes on until the index has folded back.
  while (!Failed() && (model_.Count() > std::max(3, peak / 30) ||
                       (plan_.crossesTwoLevels && twoLevel_ && model_.Count() > 0))) {
    ShrinkStep(true);
    FullCheckWhenDue();
  }
  if (!Failed()) FullCheck();
  if (plan_.crossesTwoLevels && !Failed() && twoLevel_) {
    Fail("the index is still two-level with " + Num(model_.Count()) + " records left");
  }
  if (plan_.drain && !Failed()) Drain();
  if (!Failed()) FullCheck();
  if (!Failed()) Reopen(true);
  if (!Failed()) FullCheck();
  return failure_;
}

void DifferentialRun::GrowStep() {
  const int choice = Uniform(0, 99);
  if (choice < 30) return Insert(RandomKey());
  if (choice < 38) return Insert(model_.Count() > 0 ? ExistingKey() : RandomKey());
  if (choice < 40) return Insert(Chance(0.5) ? kMaxKey : kMinKey);
  if (choice < 46) return InsertRun();
  if (choice < 50) return DeleteCurrent();
  if (choice < 54) return DeleteAt(RandomRecordNumber());
  if (choice < 55) return DeleteFirstOfKey(ExistingKey());
  if (choice < 60) {
    return ChangeKeyAt(RandomRecordNumber(), Chance(0.3) ? ExistingKey() : RandomKey());
  }
  if (choice < 71) return Seek(SeekKey());
  if (choice < 78) return GoTo(Uniform(-1, model_.Count() + 2));
  if (choice < 86) {
    const bool forward = Chance(0.5);
    for (int i = Uniform(1, 20); i > 0 && !Failed(); --i) Step(forward);
    return;
  }
  if (choice < 88) {
    GoTo(Chance(0.5) ? 0 : model_.Count() + 1);
    if (!Failed()) Step(cursor_.number == 0);
    return;
  }
  if (choice < 91) return Undo();
  if (choice < 92 && Chance(0.1)) return Reopen(Chance(0.5));
  return Seek(SeekKey());
}

void DifferentialRun::ShrinkStep(bool fromTheEnd) {
  const int count = model_.Count();
  const int choice = Uniform(0, 99);
  if (choice < 40) {
    return DeleteAt(fromTheEnd ? Uniform(std::max(1, count - 20), std::max(1, count))
                               : RandomRecordNumber());
  }
  if (choice < 50) {
    const int n = fromTheEnd ? std::max(1, count - 40) : RandomRecordNumber();
    return DeleteRunAt(n, Uniform(2, 40));
  }
  if (choice < 58) return DeleteCurrent();
  if (choice < 60) return DeleteFirstOfKey(ExistingKey());
  if (choice < 66) return Insert(RandomKey());
  if (choice < 71) return ChangeKeyAt(RandomRecordNumber(), RandomKey());
  if (choice < 80) return Seek(SeekKey());
  if (choice < 87) return GoTo(Uniform(-1, count + 2));
  if (choice < 95) {
    const bool forward = Chance(0.5);
    for (int i = Uniform(1, 20); i > 0 && !Failed(); --i) Step(forward);
    return;
  }
  if (choice < 96) return Undo();
  if (choice < 97 && Chance(0.1)) return Reopen(Chance(0.5));
  return Seek(SeekKey());
}

// More deletions in a row than the journal holds: the undo brings back the
// last thousand only.
void DifferentialRun::OverflowTheJournal() {
  const int extra = 25;
  if (model_.Count() < ReferenceTable::kJournalCapacity + extra + 1) return;
  DeleteRunAt(Uniform(1, model_.Count() - ReferenceTable::kJournalCapacity - extra),
              ReferenceTable::kJournalCapacity + extra);
  if (!Failed()) Undo();
  if (!Failed()) FullCheck();
}

// Down to nothing, with the checks an empty table calls for, and up again.
void DifferentialRun::Drain() {
  while (!Failed() && model_.Count() > 0) DeleteAt(Uniform(1, model_.Count()));
  if (!Failed()) Seek(RandomKey());
  if (!Failed()) DeleteCurrent();
  if (!Failed()) GoTo(1);
  if (!Failed()) Step(false);
  if (!Failed()) FullCheck();
  if (!Failed()) Reopen(false);
  if (!Failed()) Undo();  // the journal went with the reopen: nothing comes back
  for (int i = 0; i < 40 && !Failed(); ++i) Insert(i % 3 == 0 ? kMaxKey : RandomKey());
}

// --- Random choices -------------------------------------------------------------------

std::int32_t DifferentialRun::RandomKey() {
  if (Chance(0.01)) return Chance(0.5) ? kMaxKey : kMinKey;
  if (Chance(0.02)) return static_cast<std::int32_t>(random_());
  return Uniform(-keyRange_, keyRange_);
}

std::int32_t DifferentialRun::ExistingKey() {
  if (model_.Count() == 0) return RandomKey();
  return model_.At(RandomRecordNumber()).key;
}

std::int32_t DifferentialRun::SeekKey() {
  switch (Uniform(0, 5)) {
    case 0:
      return ExistingKey();
    case 1: {
      const std::int32_t k = ExistingKey();
      return k == kMaxKey ? k : k + 1;
    }
    case 2: {
      const std::int32_t k = ExistingKey();
      return k == kMinKey ? k : k - 1;
    }
    case 3:
      return Chance(0.5) ? kMaxKey : kMinKey;
    default:
      return RandomKey();
  }
}

// --- Operations -------------------------------------------------------------------------

void DifferentialRun::Insert(std::int32_t k) {
  Begin("Insert(" + Num(k) + ")");
  table_->Insert(k);
  const std::uint64_t serial = nextSerial_++;
  const int number = model_.Insert(k, serial);
  ExpectStatus(kStatusOk);
  const ConstBytes record = std::as_const(*table_).Record();
  if (!Failed() && (record.size() != static_cast<std::size_t>(plan_.length) ||
                    std::any_of(record.begin(), record.end(), [](std::uint8_t b) { return b; }))) {
    Fail("the new record is not " + Num(plan_.length) + " zero bytes");
  }
  if (Failed()) return;
  FillPattern(table_->Record(), serial);
  if (Chance(0.5)) {
    table_->MarkModifiedAndFlush();
    ExpectStatus(kStatusOk);
  } else {
    // Written when the table moves to another page.
    table_->MarkModified();
  }
  cursor_ = {number, Cursor::Shows::Record, {k, serial}};
  ExpectCursor();
  ExpectTable();
  ExpectMessages();
}

// Ascending keys: at the end of the table they append pages, elsewhere they
// split them.
void DifferentialRun::InsertRun() {
  const bool atTheEnd = Chance(0.5) && model_.Count() > 0 && model_.LastKey() < kMaxKey - 100000;
  std::int32_t k = atTheEnd ? model_.LastKey() + Uniform(0, 2) : RandomKey();
  const int stride = Uniform(1, 3);
  for (int i = Uniform(5, 60); i > 0 && !Failed(); --i) {
    Insert(k);
    if (k > kMaxKey - stride) break;
    k += stride;
  }
}

void DifferentialRun::DeleteCurrent() {
  Begin("Delete() at record " + Num(cursor_.number));
  // What the engine shows was checked after the last step; a delete names the
  // record it shows, when the number is a record's.
  const bool shows = !std::as_const(*table_).Record().empty();
  const int count = model_.Count();
  const int n = cursor_.number;
  table_->Delete();
  if (!shows || n < 1 || n > count) {
    const int status = table_->Status();
    const bool refused =
        status == kStatusNoRecord ||
        (count == 0 && (status == kStatusTableEmpty || status == kStatusPageEmpty));
    if (!refused) Fail("status " + Num(status) + " for a delete with nothing to delete");
  } else {
    if (cursor_.shows == Cursor::Shows::Record && model_.At(n).serial != cursor_.record.serial) {
      Fail("model fault: the cursor shows a record other than number " + Num(n));
      return;
    }
    model_.Delete(n);
    ExpectStatus(kStatusOk);
    if (n <= model_.Count()) {
      cursor_ = {n, Cursor::Shows::RecordOrNothing, model_.At(n)};
    } else {
      cursor_ = {n, Cursor::Shows::Nothing, {}};
    }
  }
  ExpectCursor();
  ExpectTable();
  ExpectMessages();
}

void DifferentialRun::DeleteAt(int n) {
  GoTo(n);
  if (!Failed()) DeleteCurrent();
}

void DifferentialRun::DeleteRunAt(int n, int records) {
  for (int i = 0; i < records && !Failed() && model_.Count() > 0; ++i) {
    DeleteAt(std::min(n, model_.Count()));
  }
}

// The first few records of a key go, found by Seek each time: where equal
// keys straddle pages, the rest must still be found from the next page.
void DifferentialRun::DeleteFirstOfKey(std::int32_t k) {
  const int records = model_.UpTo(k) - model_.Below(k);
  for (int i = Uniform(1, std::max(1, records - 1)); i > 0 && !Failed() && model_.Contains(k);
       --i) {
    Seek(k);
    if (!Failed()) DeleteCurrent();
  }
  if (!Failed()) Seek(k);
}

void DifferentialRun::ChangeKeyAt(int n, std::int32_t k) {
  GoTo(n);
  if (Failed()) return;
  Begin("ChangeKey(" + Num(k) + ") at record " + Num(cursor_.number));
  const bool shows = !std::as_const(*table_).Record().empty();
  const int number = cursor_.number;
  table_->ChangeKey(k);
  if (!shows || number < 1 || number > model_.Count()) {
    ExpectStatus(kStatusNoRecord);
  } else {
    const std::uint64_t serial = model_.At(number).serial;
    const int moved = model_.ChangeKey(number, k);
    ExpectStatus(kStatusOk);
    cursor_ = {moved, Cursor::Shows::Record, {k, serial}};
  }
  ExpectCursor();
  ExpectTable();
  ExpectMessages();
}

void DifferentialRun::Seek(std::int32_t k) {
  Begin("Seek(" + Num(k) + ")");
  table_->Seek(k);
  const int status = table_->Status();
  const int below = model_.Below(k);
  if (model_.Count() == 0) {
    ExpectStatus(kStatusEmptyPage);
    cursor_ = {1, Cursor::Shows::Nothing, {}};
  } else if (model_.Contains(k)) {
    ExpectStatus(kStatusOk);
    cursor_ = {below + 1, Cursor::Shows::Record, model_.At(below + 1)};
  } else if (status == kStatusGreater && below < model_.Count()) {
    cursor_ = {below + 1, Cursor::Shows::Record, model_.At(below + 1)};
  } else if (status == kStatusBeyond && below > 0) {
    cursor_ = {below, Cursor::Shows::Record, model_.At(below)};
  } else {
    Fail("status " + Num(status) + " with " + Num(below) + " of " + Num(model_.Count()) +
         " records below the key");
  }
  ExpectCursor();
  ExpectTable();
  ExpectMessages();
}

void DifferentialRun::ModelGoTo(std::int32_t n) {
  if (n < 1) {
    cursor_.number = 0;
  } else if (n > model_.Count()) {
    cursor_.number = model_.Count() + 1;
  } else {
    cursor_ = {n, Cursor::Shows::Record, model_.At(n)};
  }
}

void DifferentialRun::GoTo(std::int32_t n) {
  Begin("GoTo(" + Num(n) + ")");
  table_->GoTo(n);
  ExpectStatus(GoToStatus(n, model_.Count()));
  ModelGoTo(n);
  ExpectCursor();
  ExpectTable();
  ExpectMessages();
}

void DifferentialRun::Step(bool forward) {
  Begin(std::string(forward ? "Next()" : "Prev()") + " from record " + Num(cursor_.number));
  const std::int32_t n = cursor_.number + (forward ? 1 : -1);
  const bool moved = forward ? table_->Next() : table_->Prev();
  const int expected = GoToStatus(n, model_.Count());
  if (moved != (expected == kStatusOk)) Fail(std::string("returned ") + (moved ? "true" : "false"));
  ExpectStatus(expected);
  ModelGoTo(n);
  ExpectCursor();
  ExpectTable();
  ExpectMessages();
}

void DifferentialRun::Undo() {
  Begin("UndoDeletions() with " + Num(model_.JournalSize()) + " journalled");
  file_->UndoDeletions();
  if (const std::optional<std::int32_t> key = model_.UndoDeletions()) {
    // The table is left on the first record of the oldest entry's key, found
    // or re-inserted.
    ExpectStatus(kStatusOk);
    const int n = model_.Below(*key) + 1;
    cursor_ = {n, Cursor::Shows::Record, model_.At(n)};
  }
  if (!Failed() && file_->JournalCount() != 0) {
    Fail("the journal holds " + Num(file_->JournalCount()) + " entries after the undo");
  }
  ExpectCursor();
  ExpectTable();
  ExpectMessages();
}

void DifferentialRun::Reopen(bool destroyObject) {
  Begin(destroyObject ? "reopen with a new file object" : "CloseFile() and OpenFile()");
  if (destroyObject) {
    file_.reset();
    file_ = std::make_unique<dbfClass>(ui_, files_, std::string(db::kModelExtension),
                                       std::string(db::kModelSignature));
    file_->SetFileName(kFileName);
  } else if (!file_->CloseFile()) {
    return Fail("CloseFile() returned false");
  }
  if (!file_->OpenFile()) return Fail("OpenFile() returned false");
  file_->SetJournalOn(true);
  table_ = file_->OpenTable(kTable, plan_.length);
  if (table_ == nullptr) return Fail("OpenTable() returned nullptr");
  model_.ClearJournal();
  ExpectStatus(kStatusOk);
  if (model_.Count() > 0) {
    cursor_ = {1, Cursor::Shows::Record, model_.At(1)};
  } else {
    cursor_ = {1, Cursor::Shows::Nothing, {}};
  }
  ExpectCursor();
  ExpectTable();
  ExpectMessages();
}

void DifferentialRun::FullCheck() {
  const bool forward = Chance(0.5);
  Begin(forward ? "full scan forward and file check" : "full scan backward and file check");
  ExpectScan(forward);
  ExpectFileMatches();
  ExpectCursor();
  ExpectMessages();
}

void DifferentialRun::FullCheckWhenDue() {
  if (Failed() || step_ < nextFullCheck_) return;
  FullCheck();
  nextFullCheck_ = step_ + kFullCheckEvery;
}

// --- Checks --------------------------------------------------------------------------------

void DifferentialRun::Begin(const std::string& operation) {
  ++step_;
  operation_ = operation;
}

void DifferentialRun::Fail(const std::string& what) {
  if (Failed()) return;
  failure_ = "length " + Num(plan_.length) + ", seed " + Num(plan_.seed) + ", step " + Num(step_) +
             ", " + operation_ + " with " + Num(model_.Count()) + " records: " + what;
}

void DifferentialRun::ExpectStatus(int expected) {
  if (!Failed() && table_->Status() != expected) {
    Fail("status " + Num(table_->Status()) + ", expected " + Num(expected));
  }
}

void DifferentialRun::ExpectCursor() {
  if (Failed()) return;
  if (table_->RecordNumber() != cursor_.number) {
    return Fail("record number " + Num(table_->RecordNumber()) + ", expected " +
                Num(cursor_.number));
  }
  const ConstBytes record = std::as_const(*table_).Record();
  if (record.empty()) {
    if (cursor_.shows == Cursor::Shows::Record) {
      return Fail("no current record, expected key " + Num(cursor_.record.key));
    }
    if (table_->Key() != 0) return Fail("key " + Num(table_->Key()) + " with no current record");
    cursor_.shows = Cursor::Shows::Nothing;
    return;
  }
  if (cursor_.shows == Cursor::Shows::Nothing) {
    return Fail("a current record with key " + Num(table_->Key()) + ", expected none");
  }
  if (table_->Key() != cursor_.record.key) {
    return Fail("key " + Num(table_->Key()) + ", expected " + Num(cursor_.record.key));
  }
  if (!HasPattern(record, cursor_.record.serial)) {
    return Fail("the data of the current record (key " + Num(cursor_.record.key) +
                ") is not the data written into it");
  }
  cursor_.shows = Cursor::Shows::Record;
}

void DifferentialRun::ExpectTable() {
  if (Failed()) return;
  if (table_->Count() != model_.Count()) {
    return Fail("Count() " + Num(table_->Count()) + ", expected " + Num(model_.Count()));
  }
  if (table_->LastKey() != model_.LastKey()) {
    return Fail("LastKey() " + Num(table_->LastKey()) + ", expected " + Num(model_.LastKey()));
  }
  // LastKey keeps the position.
  ExpectCursor();
  const bool twoLevel = table_->TwoLevel();
  everTwoLevel_ = everTwoLevel_ || twoLevel;
  // Checked with the messages of this step.
  if (twoLevel != twoLevel_) operation_ += twoLevel ? " [to two levels]" : " [to one level]";
}

// Index notes are the only messages of a sound run, and each level change
// comes with its own.
void DifferentialRun::ExpectMessages() {
  if (Failed()) return;
  const std::vector<testing::UiCall>& calls = ui_.Calls();
  bool toTwo = false;
  bool toOne = false;
  for (; uiCallsSeen_ < calls.size(); ++uiCallsSeen_) {
    const testing::UiCall& call = calls[uiCallsSeen_];
    const bool note = call.kind == "dialog" && call.caption == "БД" &&
                      (call.text == kToTwoLevels || call.text == kSecondLevelSplit ||
                       call.text == kSecondLevelRemoved || call.text == kToOneLevel);
    if (!note) return Fail("unexpected " + call.kind + " \"" + call.caption + "\": " + call.text);
    toTwo = toTwo || call.text == kToTwoLevels;
    toOne = toOne || call.text == kToOneLevel;
  }
  const bool twoLevel = table_->TwoLevel();
  if (twoLevel != twoLevel_ || toTwo || toOne) {
    if (twoLevel && !twoLevel_ && !toTwo) return Fail("two-level without the note");
    if (!twoLevel && twoLevel_ && !toOne) return Fail("one-level without the note");
    if (toTwo && !(twoLevel && !twoLevel_) && !toOne) return Fail("a two-level note, no change");
    if (toOne && !(!twoLevel && twoLevel_) && !toTwo) return Fail("a one-level note, no change");
  }
  twoLevel_ = twoLevel;
}

void DifferentialRun::ExpectScan(bool forward) {
  if (Failed()) return;
  const int count = model_.Count();
  table_->GoTo(forward ? 0 : count + 1);
  int n = forward ? 0 : count + 1;
  while (forward ? table_->Next() : table_->Prev()) {
    n += forward ? 1 : -1;
    if (n < 1 || n > count) return Fail("the scan goes on past record " + Num(n));
    const ReferenceRecord& expected = model_.At(n);
    if (table_->RecordNumber() != n || table_->Key() != expected.key ||
        !HasPattern(std::as_const(*table_).Record(), expected.serial)) {
      return Fail("scan record " + Num(n) + ": number " + Num(table_->RecordNumber()) + ", key " +
                  Num(table_->Key()) + ", expected key " + Num(expected.key) + " with its data");
    }
  }
  if (n != (forward ? count : 1) && count > 0) {
    return Fail("the scan stopped after record " + Num(n) + " of " + Num(count));
  }
  ExpectStatus(forward ? kStatusBeyond : kStatusGreater);
  if (count > 0) cursor_ = {0, Cursor::Shows::Record, model_.At(forward ? count : 1)};
  cursor_.number = forward ? count + 1 : 0;
}

// The bytes of the file, once flushed, pass the stand-alone check and hold
// the model's records.
void DifferentialRun::ExpectFileMatches() {
  if (Failed()) return;
  file_->FlushAll();
  const std::vector<std::uint8_t>* bytes = files_.Find(kFileName);
  if (bytes == nullptr) return Fail("the file is gone");
  MemoryFile image(*bytes);
  DbReader reader(image, db::FileKind::Model);
  const std::vector<DbProblem> problems = reader.Check();
  if (!problems.empty()) {
    std::string texts;
    for (std::size_t i = 0; i < problems.size() && i < 3; ++i) texts += "; " + problems[i].text;
    return Fail("the file check finds " + Num(static_cast<long long>(problems.size())) +
                " problem(s)" + texts);
  }
  const DbTableContents contents = reader.ReadTable(kTable);
  if (contents.records.size() != static_cast<std::size_t>(model_.Count())) {
    return Fail("the file holds " + Num(static_cast<long long>(contents.records.size())) +
                " records");
  }
  for (int n = 1; n <= model_.Count(); ++n) {
    const DbRecord& stored = contents.records[static_cast<std::size_t>(n - 1)];
    if (stored.key != model_.At(n).key || !HasPattern(stored.data, model_.At(n).serial)) {
      return Fail("record " + Num(n) + " in the file has key " + Num(stored.key) + ", expected " +
                  Num(model_.At(n).key) + " with its data");
    }
  }
}

void ExpectRunsAgree(std::vector<Plan> plans) {
  for (const Plan& plan : plans) {
    const std::string failure = DifferentialRun(plan).Run();
    EXPECT_TRUE(failure.empty()) << failure;
  }
}

TEST(EngineDifferential, FourByteRecordsAgreeWithTheModelOnOneLevel) {
  ExpectRunsAgree({{4, 11, false, 0.0, 15000, false},
                   {4, 12, false, 0.0, 15000, true},
                   {4, 13, false, 0.0, 4000, false, 300}});
}

// The second seed grows far enough to split second-level pages too; the last
// one piles up equal keys across pages and second-level pages.
TEST(EngineDifferential, ThirtyFourByteRecordsAgreeThroughTwoLevelsAndBack) {
  ExpectRunsAgree({{34, 21, true, 1.2, 0, false},
                   {34, 22, true, 2.3, 0, true},
                   {34, 23, true, 1.05, 0, false},
                   {34, 24, true, 1.3, 0, false, 200}});
}

TEST(EngineDifferential, HundredSixtyFourByteRecordsAgreeThroughSecondLevelSplits) {
  ExpectRunsAgree({{164, 31, true, 3.0, 0, true},
                   {164, 32, true, 2.5, 0, false},
                   {164, 33, true, 1.5, 0, false},
                   {164, 34, true, 2.5, 0, true, 60}});
}

TEST(EngineDifferential, ThousandByteRecordsAgreeWithOneOrTwoRecordsPerPage) {
  ExpectRunsAgree({{1000, 41, true, 4.0, 0, false},
                   {1000, 42, true, 6.0, 0, true},
                   {1000, 43, true, 2.0, 0, false},
                   {1000, 44, true, 3.0, 0, true},
                   {1000, 45, true, 4.0, 0, false, 25}});
}

// --- Limits -------------------------------------------------------------------------------

const std::string kTooLarge = "Превышен допустимый размер таблицы5";
const std::string kNoMoreRecords = "Добавление записей не возможно !";

// One table filled to a limit of the format, compared with the model after
// the insert that no longer fits.
class TableAtItsLimit : public ::testing::Test {
 protected:
  void Open(int dataLength) {
    file.SetFileName(kFileName);
    ASSERT_TRUE(file.CreateFile());
    ASSERT_TRUE(file.OpenFile());
    table = file.OpenTable(kTable, dataLength);
    ASSERT_NE(table, nullptr);
  }

  // Inserts keys first, first + 1, ... with their patterns until `records`
  // are in the table or an insert is refused; the number inserted.
  int FillAscending(std::int32_t first, int records) {
    int inserted = 0;
    for (std::int32_t k = first; inserted < records; ++k) {
      table->Insert(k);
      if (table->Status() == kStatusTableFull) break;
      EXPECT_EQ(table->Status(), kStatusOk) << "insert " << k;
      if (table->Status() != kStatusOk) break;
      const std::uint64_t serial = nextSerial++;
      FillPattern(table->Record(), serial);
      table->MarkModified();
      model.Insert(k, serial);
      ++inserted;
    }
    return inserted;
  }

  void InsertOne(std::int32_t k) {
    table->Insert(k);
    ASSERT_EQ(table->Status(), kStatusOk) << "insert " << k;
    const std::uint64_t serial = nextSerial++;
    FillPattern(table->Record(), serial);
    table->MarkModifiedAndFlush();
    model.Insert(k, serial);
  }

  // The insert is refused with the message, and nothing moves.
  void ExpectRefused(std::int32_t k, const std::string& limitText) {
    const std::size_t messages = ui.Messages().size();
    table->Insert(k);
    EXPECT_EQ(table->Status(), kStatusTableFull) << "insert " << k;
    ASSERT_EQ(ui.Messages().size(), messages + 1) << "insert " << k;
    const std::string message = ui.Messages().back();
    EXPECT_EQ(message.rfind("БД: " + kTooLarge, 0), 0u) << message;
    EXPECT_NE(message.find(limitText), std::string::npos) << message;
    EXPECT_EQ(message.substr(message.size() - kNoMoreRecords.size()), kNoMoreRecords);
    EXPECT_EQ(table->Count(), model.Count());
  }

  // Every record in order, through the engine and in the flushed file.
  void ExpectSameAsModel() {
    EXPECT_EQ(table->Count(), model.Count());
    EXPECT_EQ(table->LastKey(), model.LastKey());
    table->GoTo(0);
    int n = 0;
    while (table->Next()) {
      ++n;
      ASSERT_LE(n, model.Count());
      ASSERT_EQ(table->Key(), model.At(n).key) << "record " << n;
      ASSERT_TRUE(HasPattern(std::as_const(*table).Record(), model.At(n).serial)) << "record " << n;
    }
    EXPECT_EQ(n, model.Count());

    file.FlushAll();
    MemoryFile image(*files.Find(kFileName));
    DbReader reader(image, db::FileKind::Model);
    for (const DbProblem& problem : reader.Check()) ADD_FAILURE() << problem.text;
    const DbTableContents contents = reader.ReadTable(kTable);
    ASSERT_EQ(contents.records.size(), static_cast<std::size_t>(model.Count()));
    for (int i = 1; i <= model.Count(); ++i) {
      const DbRecord& stored = contents.records[static_cast<std::size_t>(i - 1)];
      ASSERT_EQ(stored.key, model.At(i).key) << "record " << i << " in the file";
      ASSERT_TRUE(HasPattern(stored.data, model.At(i).serial)) << "record " << i << " in the file";
    }
  }

  // Entries of the table's root page as the file holds it.
  int RootEntries() {
    file.FlushAll();
    const std::vector<std::uint8_t>& bytes = *files.Find(kFileName);
    const int root = db::RootPage(bytes, kTable);
    return db::IndexEntryCount(ConstBytes(bytes).subspan(db::PageOffset(root), db::kPageSize));
  }

  ScriptedUiHost ui;
  MemoryFileSystem files;
  dbfClass file{ui, files, std::string(db::kModelExtension), std::string(db::kModelSignature)};
  tbClass* table = nullptr;
  ReferenceTable model;
  std::uint64_t nextSerial = 1;
};

// A table of 32767 records takes no more, wherever the key would go; once a
// record is deleted there is room for one again, and re-keying works at the
// limit (it deletes before it inserts).
TEST_F(TableAtItsLimit, TheRecordAfterThe32767thIsRefusedAndNothingChanges) {
  for (const int dataLength : {4, 34}) {
    SCOPED_TRACE("record length " + std::to_string(dataLength));
    model = ReferenceTable();
    files.Remove(kFileName);
    ASSERT_NO_FATAL_FAILURE(Open(dataLength));
    ASSERT_EQ(FillAscending(-16000, db::kMaxRecords), db::kMaxRecords);
    EXPECT_EQ(table->TwoLevel(), dataLength == 34);

    ExpectRefused(0, "32767");
    ExpectRefused(kMaxKey, "32767");
    ExpectRefused(kMinKey, "32767");
    ASSERT_NO_FATAL_FAILURE(ExpectSameAsModel());

    table->GoTo(100);
    const std::uint64_t serial = model.At(100).serial;
    table->ChangeKey(kMaxKey);
    EXPECT_EQ(table->Status(), kStatusOk);
    EXPECT_EQ(table->RecordNumber(), db::kMaxRecords);
    model.ChangeKey(100, kMaxKey);
    EXPECT_TRUE(HasPattern(std::as_const(*table).Record(), serial));

    table->GoTo(5);
    table->Delete();
    ASSERT_EQ(table->Status(), kStatusOk);
    model.Delete(5);
    ASSERT_NO_FATAL_FAILURE(InsertOne(-20000));
    ExpectRefused(-20001, "32767");
    ASSERT_NO_FATAL_FAILURE(ExpectSameAsModel());
    file.SetAskToSave(false);
    ASSERT_TRUE(file.CloseFile());
  }
}

// With one record per page the root of a two-level index fills with 255
// second-level pages before the record limit: the insert that would need a
// 256th is refused, and the table still takes records where its pages have
// room, and gives them up.
TEST_F(TableAtItsLimit, ARootOf255SecondLevelPagesRefusesTheInsertThatNeedsOneMore) {
  ASSERT_NO_FATAL_FAILURE(Open(1500));
  const int inserted = FillAscending(1, db::kMaxRecords);
  ASSERT_LT(inserted, db::kMaxRecords);
  EXPECT_EQ(table->Status(), kStatusTableFull);
  EXPECT_EQ(ui.Messages().back(),
            "БД: " + kTooLarge + "число страниц превзошло 65536" + kNoMoreRecords);
  // That insert left the model as it was, like the ones below.
  EXPECT_EQ(RootEntries(), db::kMaxEntries);
  ExpectRefused(inserted + 1, "65536");
  ExpectRefused(kMaxKey, "65536");
  ASSERT_NO_FATAL_FAILURE(ExpectSameAsModel());

  // The first second-level page has room for more data pages.
  ASSERT_NO_FATAL_FAILURE(InsertOne(0));
  ASSERT_NO_FATAL_FAILURE(InsertOne(-1));
  table->Seek(inserted / 2);
  ASSERT_EQ(table->Status(), kStatusOk);
  table->Delete();
  ASSERT_EQ(table->Status(), kStatusOk);
  model.Delete(model.Below(inserted / 2) + 1);
  EXPECT_EQ(RootEntries(), db::kMaxEntries);
  ASSERT_NO_FATAL_FAILURE(ExpectSameAsModel());

  file.SetAskToSave(false);
  ASSERT_TRUE(file.CloseFile());
  ASSERT_TRUE(file.OpenFile());
  table = file.OpenTable(kTable, 1500);
  ASSERT_NE(table, nullptr);
  ASSERT_NO_FATAL_FAILURE(ExpectSameAsModel());
}

}  // namespace
}  // namespace kordavelt
