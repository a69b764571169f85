// tbClass::Delete and ChangeKey: removing records, pages and index levels.

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "storage/dbf_class.h"
#include "storage/tb_class.h"
#include "table/ui_host.h"

namespace kordavelt {
namespace {

void MoveEntriesDown(Bytes index, int from, int last) {
  if (from > last) return;
  std::memmove(index.data() + db::EntryOffset(from - 1), index.data() + db::EntryOffset(from),
               static_cast<std::size_t>(last - from + 1) * db::kEntrySize);
}

}  // namespace

void tbClass::Delete() {
  if (!file_.IsOpen()) {
    status_ = kStatusNoFile;
    return;
  }
  if (file_.ReadOnly()) {
    status_ = kStatusReadOnly;
    return;
  }
  if (damaged_) {
    status_ = kStatusDamaged;
    return;
  }
  if (indexEntry_ == 0) {
    status_ = kStatusNoRecord;
    return;
  }
  if (Count() == 0) {
    status_ = kStatusTableEmpty;
    return;
  }
  if (pageRecords_ == 0) {
    status_ = kStatusPageEmpty;
    return;
  }
  // Before the first or after the last record there is nothing to delete,
  // even though a page is still loaded.
  if (recordNumber_ < 1 || recordNumber_ > Count() || recordSlot_ >= pageRecords_) {
    status_ = kStatusNoRecord;
    return;
  }

  file_.Journal(*this);
  const int n = pageRecords_;
  std::memmove(data_.data() + db::RecordOffset(slot_, recordSlot_),
               data_.data() + db::RecordOffset(slot_, recordSlot_ + 1),
               static_cast<std::size_t>(n - recordSlot_ - 1) * static_cast<std::size_t>(slot_));
  --pageRecords_;
  AddToCounts(-1);
  indexChanged_ = true;
  dataChanged_ = true;

  Bytes index = IndexPage();
  const bool lastOfSecondLevel =
      TwoLevel() && indexEntry_ == IndexCount() && rootEntry_ < RootCount();
  if (pageRecords_ > 0) {
    // Upper keys stay tight, so that Seek finds the first of equal keys.
    const std::int32_t newLast = KeyAt(pageRecords_ - 1);
    db::SetEntryUpperKey(index, indexEntry_, newLast);
    if (lastOfSecondLevel) db::SetEntryUpperKey(root_, rootEntry_, newLast);
  } else if (IndexCount() > 1) {
    RemoveCurrentEntry();
  }

  if (TwoLevel() && rootEntry_ > 0) {
    const int r = rootEntry_;
    const int covered =
        db::EntryCumulative(root_, r) - (r > 1 ? db::EntryCumulative(root_, r - 1) : 0);
    if (covered == 0 && RootCount() > 1) RemoveCurrentRootEntry();
  }

  // The last entries of the index hold the greatest key.
  db::SetEntryUpperKey(root_, RootCount(), db::kLastUpperKey);
  if (TwoLevel() && rootEntry_ > 0 && rootEntry_ == RootCount()) {
    db::SetEntryUpperKey(*secondLevel_, IndexCount(), db::kLastUpperKey);
  }
  Flush();
}

void tbClass::RemoveCurrentEntry() {
  Bytes index = IndexPage();
  const int count = IndexCount();
  const int removed = indexEntry_;
  const int page = db::EntryPage(index, removed);
  const bool wasLast = removed == count;
  MoveEntriesDown(index, removed + 1, count);
  db::SetIndexEntryCount(index, static_cast<std::uint16_t>(count - 1));
  // The freed page waits in the reusable slot for the next split of this page.
  db::SetEntry(index, count, 0, 0, static_cast<std::uint16_t>(page));
  DropDataPage();
  if (wasLast && TwoLevel() && rootEntry_ < RootCount()) {
    db::SetEntryUpperKey(root_, rootEntry_, db::EntryUpperKey(index, count - 1));
  }
  indexChanged_ = true;
}

void tbClass::RemoveCurrentRootEntry() {
  file_.Ui().ShowInfo("БД",
                      "Удаление страницы вторичного индекса таблицы №" + std::to_string(table_));
  const int count = RootCount();
  const int removed = rootEntry_;
  const int page = db::EntryPage(root_, removed);
  const bool wasLast = removed == count;
  MoveEntriesDown(root_, removed + 1, count);
  db::SetIndexEntryCount(root_, static_cast<std::uint16_t>(count - 1));
  db::SetEntry(root_, count, 0, 0, static_cast<std::uint16_t>(page));
  // The page in memory belongs to the removed entry: it is not written again.
  DropDataPage();
  rootEntry_ = 0;
  indexChanged_ = true;

  if (count - 1 == 1) {
    CollapseToOneLevel();
  } else if (wasLast) {
    CloseLastSecondLevelPage();
  }
}

// The second-level page that became the last one gets the greatest upper key
// on its last entry, as the last page of an index always has.
void tbClass::CloseLastSecondLevelPage() {
  db::SetEntryUpperKey(root_, RootCount(), db::kLastUpperKey);
  if (!LoadSecondLevel(RootCount(), "Ошибка ключа2 в таблице № ")) return;
  db::SetEntryUpperKey(*secondLevel_, IndexCount(), db::kLastUpperKey);
  indexChanged_ = true;
}

void tbClass::CollapseToOneLevel() {
  file_.Ui().ShowInfo(
      "БД", "Переход с двухуровневого на одноуровневый индекс таблицы №" + std::to_string(table_));
  const int remainingPage = db::EntryPage(root_, 1);
  Page remaining{};
  if (const int error = file_.ReadPageAt(remainingPage, remaining); error != 0) {
    // A two-level index of one entry is sound too: it stays as it is.
    ReportReadError("Ошибка ключа2 в таблице № ", error);
    return;
  }
  // The page may carry stale counts like any second-level page not in memory;
  // as the root it must count from the start of the table.
  db::CorrectStaleCounts(remaining, db::StaleCountDelta(remaining, db::EntryCumulative(root_, 1)));
  if (!SoundIndexPage(remaining, db::kLevelSecond, 0, Capacity())) {
    MarkDamaged();
    return;
  }
  root_ = remaining;
  db::SetIndexLevel(root_, db::kLevelOneLevelRoot);
  db::SetIndexTable(root_, static_cast<std::uint16_t>(table_));
  const int count = RootCount();
  if (count < db::kMaxEntries)
    db::SetEntryPage(root_, count + 1, static_cast<std::uint16_t>(remainingPage));
  secondLevel_.reset();
  rootEntry_ = 0;
  DropDataPage();
  indexChanged_ = true;
}

void tbClass::ChangeKey(std::int32_t k) {
  const ConstBytes current = std::as_const(*this).Record();
  if (current.empty()) {
    status_ = kStatusNoRecord;
    return;
  }
  const std::vector<std::uint8_t> data(current.begin(), current.end());
  const std::int32_t oldKey = Key();
  Delete();
  if (status_ != kStatusOk) return;
  Insert(k);
  int result = status_;
  if (result != kStatusOk) {
    // The record goes back under its old key rather than being lost.
    Insert(oldKey);
    if (status_ != kStatusOk) return;
  }
  const Bytes record = Record();
  std::copy_n(data.begin(), std::min(data.size(), record.size()), record.begin());
  MarkModifiedAndFlush();
  if (result != kStatusOk) status_ = result;
}

}  // namespace kordavelt
