// tbClass::Insert: placing a record, splitting data pages and the index.

#include <algorithm>
#include <cstring>
#include <limits>

#include "base/invariant.h"
#include "storage/dbf_class.h"
#include "storage/tb_class.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

constexpr std::int32_t kLastKey = db::kLastUpperKey;
// An insert needs at most one index split and one data-page split; more
// rounds would mean the index is not what it should be.
constexpr int kMaxInsertRounds = 4;

// Moves `count` index entries starting at entry `from` by `by` places.
void MoveEntries(Bytes index, int from, int count, int by) {
  if (count <= 0) return;
  std::memmove(index.data() + db::EntryOffset(from + by), index.data() + db::EntryOffset(from),
               static_cast<std::size_t>(count) * db::kEntrySize);
}

// Entries past the last one are cleared, so that no moved-away entry can pass
// for a free page in the reusable slot.
void ClearEntriesAfter(Bytes index, int last) {
  for (int i = last + 1; i <= db::kMaxEntries; ++i) db::SetEntry(index, i, 0, 0, 0);
}

}  // namespace

void tbClass::Insert(std::int32_t k) {
  if (!file_.undoRunning_) file_.ClearJournal();
  if (!Writable()) return;
  // A page that cannot be written must not be left behind for the next one.
  if (Flush() != kStatusOk) return;

  for (int round = 0; round < kMaxInsertRounds; ++round) {
    SeekInsertPosition(k);
    if (status_ < 0 || status_ == kStatusDamaged || indexEntry_ == 0) return;
    if (round == 0 && !InsertFits()) return;
    int slot = 0;
    if (status_ == kStatusGreater) slot = recordSlot_;
    if (status_ == kStatusBeyond) slot = recordSlot_ + 1;
    if (pageRecords_ < Capacity()) {
      PutRecord(k, slot);
      return;
    }
    if (IndexCount() >= db::kMaxEntries) {
      if (!SplitIndex()) return;
      continue;  // the index changed under the position: look again
    }
    if (k >= KeyAt(pageRecords_ - 1) && indexEntry_ == IndexCount()) {
      AppendDataPage(k);
    } else {
      SplitDataPage(k, slot);
    }
    return;
  }
  MarkDamaged();
  status_ = kStatusDamaged;
}

void tbClass::SeekInsertPosition(std::int32_t k) {
  Seek(k);
  if (status_ != kStatusOk) return;
  if (k < kLastKey) {
    Seek(k + 1);
    if (status_ == kStatusOk) status_ = kStatusGreater;
    return;
  }
  // Nothing sorts after the largest key: the new record goes last.
  GoTo(Count());
  if (status_ == kStatusOk) status_ = kStatusBeyond;
}

bool tbClass::InsertFits() {
  if (Count() >= db::kMaxRecords) {
    RefuseInsert("число записей превзошло 32767");
    return false;
  }
  int pagesNeeded = 0;
  if (pageRecords_ >= Capacity()) {
    pagesNeeded = 1;
    if (IndexCount() >= db::kMaxEntries) {
      if (TwoLevel() && RootCount() >= db::kMaxEntries) {
        RefuseInsert("число страниц превзошло 65536");
        return false;
      }
      pagesNeeded += TwoLevel() ? 1 : 2;
    }
  }
  if (file_.PageCount() + pagesNeeded > db::kMaxPageNumber) {
    RefuseInsert("число страниц превзошло 65536");
    return false;
  }
  return true;
}

// The table keeps all it has; the program goes on.
void tbClass::RefuseInsert(const std::string& limit) {
  file_.Ui().ShowInfo("БД", "Превышен допустимый размер таблицы" + std::to_string(table_) + limit +
                                "Добавление записей не возможно !");
  status_ = kStatusTableFull;
}

void tbClass::PutRecord(std::int32_t k, int slot) {
  const int n = pageRecords_;
  KORDAVELT_INVARIANT(n < Capacity() && slot >= 0 && slot <= n,
                      "a record is put into a page with room, next to its records");
  std::memmove(data_.data() + db::RecordOffset(slot_, slot + 1),
               data_.data() + db::RecordOffset(slot_, slot),
               static_cast<std::size_t>(n - slot) * static_cast<std::size_t>(slot_));
  ++pageRecords_;
  AddToCounts(+1);

  // Upper keys stay true bounds of the keys under them.
  Bytes index = IndexPage();
  if (k > db::EntryUpperKey(index, indexEntry_)) db::SetEntryUpperKey(index, indexEntry_, k);
  if (TwoLevel() && k > db::EntryUpperKey(root_, rootEntry_)) {
    db::SetEntryUpperKey(root_, rootEntry_, k);
  }

  std::memset(data_.data() + db::RecordOffset(slot_, slot), 0, static_cast<std::size_t>(slot_));
  db::SetRecordKey(data_, slot_, slot, k);
  recordSlot_ = slot;
  recordNumber_ = CountBefore() + slot + 1;
  indexChanged_ = true;
  dataChanged_ = true;
  file_.headerChanged_ = true;
  status_ = kStatusOk;
  RunOnPosition();
  Flush();
}

void tbClass::AddToCounts(int delta) {
  KORDAVELT_INVARIANT(indexEntry_ >= 1 && indexEntry_ <= IndexCount(),
                      "counts change from the entry of the loaded page on");
  KORDAVELT_INVARIANT(Count() + delta >= 0, "a table never counts fewer than no records");
  Bytes index = IndexPage();
  for (int i = indexEntry_; i <= IndexCount(); ++i) {
    db::SetEntryCumulative(index, i,
                           static_cast<std::int16_t>(db::EntryCumulative(index, i) + delta));
  }
  if (TwoLevel()) {
    for (int r = rootEntry_; r <= RootCount(); ++r) {
      db::SetEntryCumulative(root_, r,
                             static_cast<std::int16_t>(db::EntryCumulative(root_, r) + delta));
    }
  }
  db::SetDescriptorCount(file_.header_, table_, static_cast<std::uint16_t>(Count() + delta));
  file_.headerChanged_ = true;
}

// --- New pages -----------------------------------------------------------------------

int tbClass::TakePage(ConstBytes index) {
  const int count = db::IndexEntryCount(index);
  const int reusable = count < db::kMaxEntries ? db::EntryPage(index, count + 1) : 0;
  // Only a page this session freed is known to be free: a slot read from a
  // file may name a page that a split of an older writer handed on.
  if (reusable > 0 && file_.freedPages_.erase(reusable) > 0) return reusable;
  return file_.AllocatePage();
}

void tbClass::AppendDataPage(std::int32_t k) {
  Bytes index = IndexPage();
  const int last = IndexCount();
  const int page = TakePage(index);
  const std::int32_t lastKey = KeyAt(pageRecords_ - 1);
  db::SetEntryUpperKey(index, last, lastKey);
  // Under a root entry that is not the last, the new page's bound is its one key.
  const std::int32_t upper = TwoLevel() && rootEntry_ < RootCount() ? k : kLastKey;
  db::SetEntry(index, last + 1, upper,
               static_cast<std::int16_t>(db::EntryCumulative(index, last) + 1),
               static_cast<std::uint16_t>(page));
  db::SetIndexEntryCount(index, static_cast<std::uint16_t>(last + 1));
  if (TwoLevel()) {
    for (int r = rootEntry_; r <= RootCount(); ++r) {
      db::SetEntryCumulative(root_, r,
                             static_cast<std::int16_t>(db::EntryCumulative(root_, r) + 1));
    }
  }
  db::SetDescriptorCount(file_.header_, table_, static_cast<std::uint16_t>(Count() + 1));

  data_.fill(0);
  db::SetRecordKey(data_, slot_, 0, k);
  indexEntry_ = last + 1;
  pageRecords_ = 1;
  recordSlot_ = 0;
  recordNumber_ = db::EntryCumulative(index, last + 1);
  indexChanged_ = true;
  dataChanged_ = true;
  file_.headerChanged_ = true;
  status_ = kStatusOk;
  // The pages are written with the next flush, as a sequential load wants.
  RunOnPosition();
}

void tbClass::SplitDataPage(std::int32_t k, int slot) {
  Bytes index = IndexPage();
  const int count = IndexCount();
  const int current = indexEntry_;
  const int n = pageRecords_;
  // n div 2 + 1 records stay; at least one moves, so that the split makes room
  // even when a page holds only one or two records.
  int half = n / 2 + 1;
  if (half >= n) half = n - 1;
  if (n == 1) half = slot;
  // The new record joins the kept records when it sorts among them, or when
  // the moved ones fill the new page (one record a page).
  const bool intoKept = slot < half || n - half >= Capacity();

  const int page = TakePage(index);
  const std::int32_t oldUpper = db::EntryUpperKey(index, current);
  const std::int16_t oldCumulative = db::EntryCumulative(index, current);
  const int before = CountBefore();
  MoveEntries(index, current + 1, count - current, 1);
  db::SetIndexEntryCount(index, static_cast<std::uint16_t>(count + 1));
  db::SetEntry(index, current, half > 0 ? KeyAt(half - 1) : k,
               static_cast<std::int16_t>(before + half), db::EntryPage(index, current));
  db::SetEntry(index, current + 1, oldUpper, oldCumulative, static_cast<std::uint16_t>(page));

  // The kept records stay where they are on disk; the buffer becomes the new page.
  std::memmove(data_.data(), data_.data() + db::RecordOffset(slot_, half),
               static_cast<std::size_t>(n - half) * static_cast<std::size_t>(slot_));
  indexEntry_ = current + 1;
  pageRecords_ = n - half;
  recordSlot_ = 0;
  indexChanged_ = true;
  dataChanged_ = true;
  file_.headerChanged_ = true;

  if (!intoKept) {
    PutRecord(k, slot - half);
    return;
  }
  // The new page is written before the kept one comes back from the file.
  if (Flush() != kStatusOk) return;
  if (!LoadDataPage(current, "Ошибка ключа в таблице № ")) return;
  PutRecord(k, slot);
}

// --- Index splits ----------------------------------------------------------------------

bool tbClass::SplitIndex() { return TwoLevel() ? SplitSecondLevel() : SplitRootIntoTwoLevels(); }

bool tbClass::SplitRootIntoTwoLevels() {
  file_.Ui().ShowInfo("БД", "Переход на двухуровневый индекс таблицы №" + std::to_string(table_));
  const int half = db::kMaxEntries / 2;  // 127 entries stay in the first page
  const int pageA = file_.AllocatePage();
  const int pageB = file_.AllocatePage();
  Page first{};
  Page second{};
  db::InitIndexPage(first, db::kLevelSecond, static_cast<std::uint16_t>(table_));
  db::InitIndexPage(second, db::kLevelSecond, static_cast<std::uint16_t>(table_));
  std::memcpy(first.data() + db::EntryOffset(1), root_.data() + db::EntryOffset(1),
              half * db::kEntrySize);
  std::memcpy(second.data() + db::EntryOffset(1), root_.data() + db::EntryOffset(half + 1),
              (db::kMaxEntries - half) * db::kEntrySize);
  db::SetIndexEntryCount(first, half);
  db::SetIndexEntryCount(second, db::kMaxEntries - half);

  const Page oldRoot = root_;
  db::InitIndexPage(root_, db::kLevelTwoLevelRoot, static_cast<std::uint16_t>(table_));
  db::SetIndexEntryCount(root_, 2);
  db::SetEntry(root_, 1, db::EntryUpperKey(first, half), db::EntryCumulative(first, half),
               static_cast<std::uint16_t>(pageA));
  db::SetEntry(root_, 2, db::EntryUpperKey(second, db::kMaxEntries - half),
               db::EntryCumulative(second, db::kMaxEntries - half),
               static_cast<std::uint16_t>(pageB));

  // The new pages first: until the root is written they are not referenced.
  int error = file_.WritePageAt(pageA, first);
  if (error == 0) error = file_.WritePageAt(pageB, second);
  if (error == 0) error = file_.WritePageAt(db::RootPage(file_.header_, table_), root_);
  if (error == 0 && !file_.WriteHeaderIfChanged()) error = -EIO;
  DropDataPage();
  rootEntry_ = 0;
  if (error != 0) {
    root_ = oldRoot;
    file_.ReportWriteError("Ошибка Save Таблицы " + std::to_string(table_));
    status_ = error;
    return false;
  }
  secondLevel_ = std::make_unique<Page>();
  indexChanged_ = false;
  return true;
}

bool tbClass::SplitSecondLevel() {
  file_.Ui().ShowInfo("БД", "Деление вторичного индекса таблицы №" + std::to_string(table_));
  const int half = db::kMaxEntries / 2;
  const int r = rootEntry_;
  const int rootCount = RootCount();
  const int page = TakePage(root_);

  Page moved{};
  db::InitIndexPage(moved, db::kLevelSecond, static_cast<std::uint16_t>(table_));
  std::memcpy(moved.data() + db::EntryOffset(1), secondLevel_->data() + db::EntryOffset(half + 1),
              (db::kMaxEntries - half) * db::kEntrySize);
  db::SetIndexEntryCount(moved, db::kMaxEntries - half);

  const Page oldRoot = root_;
  const Page oldSecond = *secondLevel_;
  db::SetIndexEntryCount(*secondLevel_, half);
  ClearEntriesAfter(*secondLevel_, half);
  MoveEntries(root_, r + 1, rootCount - r, 1);
  db::SetIndexEntryCount(root_, static_cast<std::uint16_t>(rootCount + 1));
  db::SetEntry(root_, r, db::EntryUpperKey(*secondLevel_, half),
               db::EntryCumulative(*secondLevel_, half), db::EntryPage(root_, r));
  db::SetEntry(root_, r + 1, db::EntryUpperKey(moved, db::kMaxEntries - half),
               db::EntryCumulative(moved, db::kMaxEntries - half),
               static_cast<std::uint16_t>(page));
  ClearEntriesAfter(root_, rootCount + 1);

  int error = file_.WritePageAt(page, moved);
  if (error == 0) error = file_.WritePageAt(db::EntryPage(root_, r), *secondLevel_);
  if (error == 0) error = file_.WritePageAt(db::RootPage(file_.header_, table_), root_);
  if (error == 0 && !file_.WriteHeaderIfChanged()) error = -EIO;
  DropDataPage();
  rootEntry_ = 0;
  if (error != 0) {
    root_ = oldRoot;
    *secondLevel_ = oldSecond;
    file_.ReportWriteError("Ошибка Save Таблицы " + std::to_string(table_));
    status_ = error;
    return false;
  }
  indexChanged_ = false;
  return true;
}

}  // namespace kordavelt
