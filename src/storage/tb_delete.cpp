// tbClass::Delete and ChangeKey: removing records, pages and index levels.

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "base/invariant.h"
#include "storage/dbf_class.h"
#include "storage/tb_class.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

void MoveEntriesDown(Bytes index, int from, int last) {
  if (from > last) return;
  std::memmove(index.data() + db::EntryOffset(from - 1), index.data() + db::EntryOffset(from),
               static_cast<std::size_t>(last - from + 1) * db::kEntrySize);
}

}  // namespace

void tbClass::Delete() {
  if (!Writable()) return;
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

  KORDAVELT_INVARIANT(pageRecords_ <= Capacity(), "a loaded page holds at most its capacity");
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

  int failure = kStatusOk;
  if (TwoLevel() && rootEntry_ > 0) {
    const int r = rootEntry_;
    const int covered =
        db::EntryCumulative(root_, r) - (r > 1 ? db::EntryCumulative(root_, r - 1) : 0);
    // A second-level page left without records goes; when the page that
    // should take its place cannot be read, it stays, empty but sound.
    if (covered == 0 && RootCount() > 1 && !RemoveCurrentRootEntry()) failure = status_;
  }

  // The last entries of the index hold the greatest key.
  db::SetEntryUpperKey(root_, RootCount(), db::kLastUpperKey);
  if (TwoLevel() && rootEntry_ > 0 && rootEntry_ == RootCount()) {
    db::SetEntryUpperKey(*secondLevel_, IndexCount(), db::kLastUpperKey);
  }
  Flush();
  if (failure != kStatusOk && status_ == kStatusOk) status_ = failure;
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
  file_.freedPages_.insert(page);
  DropDataPage();
  if (wasLast && TwoLevel() && rootEntry_ < RootCount()) {
    db::SetEntryUpperKey(root_, rootEntry_, db::EntryUpperKey(index, count - 1));
  }
  indexChanged_ = true;
}

bool tbClass::ReadSecondLevelCopy(int r, Page& page) {
  if (const int error = file_.ReadPageAt(db::EntryPage(root_, r), page); error != 0) {
    ReportReadError("Ошибка ключа2 в таблице № ", error);
    return false;
  }
  // Counts of a page not in memory may be stale; the root holds the truth.
  db::CorrectStaleCounts(page, db::StaleCountDelta(page, db::EntryCumulative(root_, r)));
  const int before = r > 1 ? db::EntryCumulative(root_, r - 1) : 0;
  if (!SoundIndexPage(page, db::kLevelSecond, before, Capacity())) {
    MarkDamaged();
    status_ = kStatusDamaged;
    return false;
  }
  return true;
}

bool tbClass::RemoveCurrentRootEntry() {
  const int count = RootCount();
  const int removed = rootEntry_;
  const bool wasLast = removed == count;
  const bool collapses = count - 1 == 1;
  // The page that becomes the only one, or the last one, changes too: it is
  // read before anything else changes.
  Page remaining{};
  const int remainingEntry = collapses ? (removed == 1 ? 2 : 1) : removed - 1;
  if ((collapses || wasLast) && !ReadSecondLevelCopy(remainingEntry, remaining)) return false;

  file_.Ui().ShowInfo("БД",
                      "Удаление страницы вторичного индекса таблицы №" + std::to_string(table_));
  const int page = db::EntryPage(root_, removed);
  const int remainingPage = db::EntryPage(root_, remainingEntry);
  MoveEntriesDown(root_, removed + 1, count);
  db::SetIndexEntryCount(root_, static_cast<std::uint16_t>(count - 1));
  db::SetEntry(root_, count, 0, 0, static_cast<std::uint16_t>(page));
  file_.freedPages_.insert(page);
  // The page in memory belongs to the removed entry: it is not written again.
  DropDataPage();
  rootEntry_ = 0;
  indexChanged_ = true;

  if (collapses) {
    file_.Ui().ShowInfo("БД", "Переход с двухуровневого на одноуровневый индекс таблицы №" +
                                  std::to_string(table_));
    root_ = remaining;
    db::SetIndexLevel(root_, db::kLevelOneLevelRoot);
    db::SetIndexTable(root_, static_cast<std::uint16_t>(table_));
    const int entries = RootCount();
    if (entries < db::kMaxEntries) {
      db::SetEntryPage(root_, entries + 1, static_cast<std::uint16_t>(remainingPage));
      file_.freedPages_.insert(remainingPage);
    }
    secondLevel_.reset();
  } else if (wasLast) {
    // The page that became the last one ends with the greatest upper key, as
    // the last page of an index always does.
    *secondLevel_ = remaining;
    rootEntry_ = RootCount();
    db::SetEntryUpperKey(*secondLevel_, IndexCount(), db::kLastUpperKey);
  }
  return true;
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
