// tbClass: positioning, page loading and writing.

#include "storage/tb_class.h"

#include <algorithm>
#include <cstring>

#include "base/invariant.h"
#include "storage/dbf_class.h"
#include "ui/ui_host.h"

namespace kordavelt {

tbClass::tbClass(dbfClass& file, int table, int slotLength)
    : file_(file), table_(table), slot_(slotLength) {}

tbClass::~tbClass() = default;

// --- Shapes of the index -----------------------------------------------------------

bool tbClass::TwoLevel() const {
  return db::IndexLevel(root_) == db::kLevelTwoLevelRoot && secondLevel_ != nullptr;
}

Bytes tbClass::IndexPage() { return TwoLevel() ? Bytes(*secondLevel_) : Bytes(root_); }

ConstBytes tbClass::IndexPage() const {
  return TwoLevel() ? ConstBytes(*secondLevel_) : ConstBytes(root_);
}

int tbClass::IndexCount() const {
  return std::clamp<int>(db::IndexEntryCount(IndexPage()), 0, db::kMaxEntries);
}

int tbClass::RootCount() const {
  return std::clamp<int>(db::IndexEntryCount(root_), 0, db::kMaxEntries);
}

int tbClass::Capacity() const { return db::RecordsPerPage(slot_); }

std::uint16_t tbClass::RecordLength() const {
  return static_cast<std::uint16_t>(slot_ - db::kKeySize);
}

std::uint16_t tbClass::Count() const { return db::DescriptorCount(file_.header_, table_); }

int tbClass::CountBefore() const {
  if (indexEntry_ > 1) return db::EntryCumulative(IndexPage(), indexEntry_ - 1);
  if (TwoLevel() && rootEntry_ > 1) return db::EntryCumulative(root_, rootEntry_ - 1);
  return 0;
}

bool tbClass::KeyInLoadedPage(std::int32_t k) const {
  if (indexEntry_ == 0) return false;
  const ConstBytes index = IndexPage();
  if (k > db::EntryUpperKey(index, indexEntry_)) return false;
  if (indexEntry_ > 1) return k > db::EntryUpperKey(index, indexEntry_ - 1);
  if (TwoLevel() && rootEntry_ > 1) return k > db::EntryUpperKey(root_, rootEntry_ - 1);
  return true;
}

std::int32_t tbClass::KeyAt(int slot) const {
  KORDAVELT_INVARIANT(slot >= 0 && slot < Capacity(), "a record slot lies within its data page");
  return db::RecordKey(data_, slot_, slot);
}

// --- The current record ---------------------------------------------------------

std::int32_t tbClass::Key() const {
  if (indexEntry_ == 0 || recordSlot_ >= pageRecords_) return 0;
  return KeyAt(recordSlot_);
}

Bytes tbClass::Record() {
  if (indexEntry_ == 0 || recordSlot_ >= pageRecords_) return {};
  KORDAVELT_INVARIANT(recordSlot_ >= 0 && pageRecords_ <= Capacity(),
                      "the current record lies within its data page");
  return db::MutableRecordData(data_, slot_, recordSlot_);
}

ConstBytes tbClass::Record() const {
  if (indexEntry_ == 0 || recordSlot_ >= pageRecords_) return {};
  return db::RecordData(data_, slot_, recordSlot_);
}

void tbClass::RunOnPosition() {
  if (OnPosition) OnPosition(*this);
}

void tbClass::MarkModified() {
  dataChanged_ = true;
  file_.modified_ = true;
}

void tbClass::MarkModifiedAndFlush() {
  MarkModified();
  Flush();
}

void tbClass::Free() { file_.FreeTable(this); }

// --- Soundness ------------------------------------------------------------------

void tbClass::MarkDamaged() {
  DropDataPage();
  indexChanged_ = false;
  if (damaged_) return;
  damaged_ = true;
  file_.ShowFileError("Ошибка структуры таблицы № " + std::to_string(table_));
}

bool tbClass::SoundIndexPage(ConstBytes page, int level, int before, int step) const {
  if (db::IndexMark(page) != db::kIndexMark || db::IndexLevel(page) != level) return false;
  const int count = db::IndexEntryCount(page);
  if (count < 1 || count > db::kMaxEntries) return false;
  int previous = before;
  for (int i = 1; i <= count; ++i) {
    const int cumulative = db::EntryCumulative(page, i);
    const int pageNumber = db::EntryPage(page, i);
    if (cumulative < previous || cumulative - previous > step) return false;
    if (pageNumber == 0 || pageNumber > file_.PageCount()) return false;
    previous = cumulative;
  }
  return true;
}

// --- Loading pages ----------------------------------------------------------------

void tbClass::DropDataPage() {
  indexEntry_ = 0;
  pageRecords_ = 0;
  recordSlot_ = 0;
  dataChanged_ = false;
}

void tbClass::ReportReadError(const char* readErrorText, int error) {
  file_.ShowFileError(readErrorText + std::to_string(table_));
  status_ = error;
}

bool tbClass::LoadSecondLevel(int r, const char* readErrorText) {
  // A changed page that cannot be written stays loaded, to be written later;
  // the table does not move.
  KORDAVELT_INVARIANT(r >= 1 && r <= db::kMaxEntries, "a root entry lies within the root page");
  if (Flush() < 0) return false;
  DropDataPage();
  rootEntry_ = 0;
  const int page = db::EntryPage(root_, r);
  if (const int error = file_.ReadPageAt(page, *secondLevel_); error != 0) {
    // Nothing stale may stay behind to be written over the page later.
    secondLevel_->fill(0);
    ReportReadError(readErrorText, error);
    return false;
  }
  // Counts of a page that was not in memory at the last insert or delete are
  // off by one amount; the root holds the truth and the page is written back
  // corrected with the next flush.
  const int delta = db::StaleCountDelta(*secondLevel_, db::EntryCumulative(root_, r));
  if (delta != 0) {
    db::CorrectStaleCounts(*secondLevel_, delta);
    indexChanged_ = true;
  }
  const int before = r > 1 ? db::EntryCumulative(root_, r - 1) : 0;
  if (!SoundIndexPage(*secondLevel_, db::kLevelSecond, before, Capacity())) {
    secondLevel_->fill(0);
    MarkDamaged();
    status_ = kStatusDamaged;
    return false;
  }
  rootEntry_ = r;
  return true;
}

bool tbClass::LoadDataPage(int i, const char* readErrorText) {
  KORDAVELT_INVARIANT(i >= 1 && i <= db::kMaxEntries, "an index entry lies within its index page");
  if (Flush() < 0) return false;
  DropDataPage();
  const int page = db::EntryPage(IndexPage(), i);
  if (const int error = file_.ReadPageAt(page, data_); error != 0) {
    data_.fill(0);
    ReportReadError(readErrorText, error);
    return false;
  }
  const int before =
      i > 1 ? db::EntryCumulative(IndexPage(), i - 1)
            : (TwoLevel() && rootEntry_ > 1 ? db::EntryCumulative(root_, rootEntry_ - 1) : 0);
  indexEntry_ = i;
  pageRecords_ = std::clamp(db::EntryCumulative(IndexPage(), i) - before, 0, Capacity());
  return true;
}

int tbClass::SearchUpperKey(ConstBytes index, int count, std::int32_t k) {
  int low = 1;
  int high = std::max(count, 1);
  while (low < high) {
    const int mid = (low + high) / 2;
    if (db::EntryUpperKey(index, mid) < k) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return low;
}

int tbClass::SearchCumulative(ConstBytes index, int count, std::int32_t n) {
  int low = 1;
  int high = std::max(count, 1);
  while (low < high) {
    const int mid = (low + high) / 2;
    if (db::EntryCumulative(index, mid) < n) {
      low = mid + 1;
    } else {
      high = mid;
    }
  }
  return low;
}

// --- Positioning ------------------------------------------------------------------

void tbClass::Seek(std::int32_t k) {
  if (!file_.IsOpen()) {
    status_ = kStatusNoFile;
    return;
  }
  if (!KeyInLoadedPage(k)) {
    if (TwoLevel()) {
      const int r = SearchUpperKey(root_, RootCount(), k);
      if (r != rootEntry_ && !LoadSecondLevel(r, "Ошибка ключа2 в таблице № ")) return;
    }
    if (!LoadDataPage(SearchUpperKey(IndexPage(), IndexCount(), k), "Ошибка ключа в таблице № ")) {
      return;
    }
  }

  const int n = pageRecords_;
  int slot = 0;
  if (n > 0) {
    int low = 0;
    int high = n - 1;
    while (low < high) {
      const int mid = (low + high) / 2;
      if (KeyAt(mid) < k) {
        low = mid + 1;
      } else {
        high = mid;
      }
    }
    slot = low;
    while (slot > 0 && KeyAt(slot - 1) == k) --slot;
  }
  if (n == 0) {
    status_ = kStatusEmptyPage;
  } else if (KeyAt(slot) == k) {
    status_ = kStatusOk;
  } else {
    status_ = KeyAt(slot) > k ? kStatusGreater : kStatusBeyond;
  }
  recordSlot_ = slot;
  recordNumber_ = slot + 1 + CountBefore();
  if (status_ == kStatusBeyond && recordNumber_ < Count()) {
    // Every key of the page is below k, yet the index sent k here: the page's
    // bound is looser than its keys (as files of older writers may have
    // them). The first record not below k is then the next one, and it may
    // hold k itself.
    GoTo(recordNumber_ + 1);
    if (status_ == kStatusOk) status_ = Key() == k ? kStatusOk : kStatusGreater;
    return;
  }
  RunOnPosition();
}

void tbClass::GoTo(std::int32_t n) {
  if (!file_.IsOpen()) {
    file_.Ui().ShowInfo("Поиск по номеру", "Таблица не открыта");
    status_ = kStatusNoFile;
    return;
  }
  if (n < 1) {
    recordNumber_ = 0;
    status_ = kStatusGreater;
    return;
  }
  if (RootCount() == 0 || damaged_) {
    recordNumber_ = 0;
    status_ = damaged_ ? kStatusDamaged : kStatusBeyond;
    return;
  }
  if (n > db::EntryCumulative(root_, RootCount())) {
    recordNumber_ = Count() + 1;
    status_ = kStatusBeyond;
    return;
  }

  const bool onLoadedPage =
      indexEntry_ > 0 && n > CountBefore() && n <= db::EntryCumulative(IndexPage(), indexEntry_);
  if (!onLoadedPage) {
    if (TwoLevel()) {
      const int r = SearchCumulative(root_, RootCount(), n);
      if (r != rootEntry_ && !LoadSecondLevel(r, "Ошибка номера 2 в таблице № ")) return;
    }
    if (!LoadDataPage(SearchCumulative(IndexPage(), IndexCount(), n),
                      "Ошибка номера записи в таблице № ")) {
      return;
    }
  }
  recordSlot_ = std::clamp(n - CountBefore() - 1, 0, std::max(pageRecords_ - 1, 0));
  recordNumber_ = n;
  status_ = kStatusOk;
  RunOnPosition();
}

bool tbClass::Next() {
  GoTo(recordNumber_ + 1);
  return status_ == kStatusOk;
}

bool tbClass::Prev() {
  GoTo(recordNumber_ - 1);
  return status_ == kStatusOk;
}

std::int32_t tbClass::LastKey() {
  if (Count() == 0 || RootCount() == 0 || damaged_) return 0;
  std::int32_t key = 0;
  const int error = LastKeyFromFile(key);
  if (error < 0) {
    ReportReadError("Ошибка ключа в таблице № ", error);
    return 0;
  }
  if (error > 0) {
    MarkDamaged();
    status_ = kStatusDamaged;
    return 0;
  }
  return key;
}

// The last record is read from the pages in memory where they are current,
// from the file otherwise, without moving the position. 0, a negative read
// error, or kStatusDamaged for an index that does not hold together.
int tbClass::LastKeyFromFile(std::int32_t& key) {
  const int rootLast = RootCount();
  Page secondCopy{};
  ConstBytes index = root_;
  int before = 0;
  if (TwoLevel()) {
    before = rootLast > 1 ? db::EntryCumulative(root_, rootLast - 1) : 0;
    if (rootEntry_ == rootLast) {
      index = *secondLevel_;
    } else {
      if (const int error = file_.ReadPageAt(db::EntryPage(root_, rootLast), secondCopy);
          error != 0) {
        return error;
      }
      const int delta = db::StaleCountDelta(secondCopy, db::EntryCumulative(root_, rootLast));
      db::CorrectStaleCounts(secondCopy, delta);
      if (!SoundIndexPage(secondCopy, db::kLevelSecond, before, Capacity())) return kStatusDamaged;
      index = secondCopy;
    }
  }
  // The last entry holds records: an empty page stands only alone in its index page.
  const int last = std::clamp<int>(db::IndexEntryCount(index), 1, db::kMaxEntries);
  const int records =
      db::EntryCumulative(index, last) - (last > 1 ? db::EntryCumulative(index, last - 1) : before);
  if (records <= 0 || records > Capacity()) return kStatusDamaged;
  if (indexEntry_ == last && index.data() == IndexPage().data()) {
    key = KeyAt(records - 1);
    return 0;
  }
  Page data{};
  if (const int error = file_.ReadPageAt(db::EntryPage(index, last), data); error != 0) {
    return error;
  }
  key = db::RecordKey(data, slot_, records - 1);
  return 0;
}

// --- Writing ------------------------------------------------------------------------

bool tbClass::Writable() {
  if (!file_.IsOpen()) {
    status_ = kStatusNoFile;
  } else if (file_.ReadOnly()) {
    status_ = kStatusReadOnly;
  } else if (damaged_) {
    status_ = kStatusDamaged;
  } else {
    return true;
  }
  return false;
}

int tbClass::Flush() {
  if (!file_.IsOpen()) return status_ = kStatusNoFile;
  if (file_.ReadOnly()) return status_ = kStatusReadOnly;
  if (damaged_) return status_ = kStatusDamaged;

  // The data page first, then the index that counts its records, then the
  // header: a write that fails part-way leaves the file as the last flush did
  // as far as the index can see.
  int error = 0;
  if (dataChanged_ && indexEntry_ > 0) {
    int page = db::EntryPage(IndexPage(), indexEntry_);
    if (page == 0 || page > file_.PageCount()) {
      page = file_.AllocatePage();
      db::SetEntryPage(IndexPage(), indexEntry_, static_cast<std::uint16_t>(page));
      indexChanged_ = true;
    }
    error = page == 0 ? -ENOSPC : file_.WritePageAt(page, data_);
    if (error == 0) dataChanged_ = false;
  }
  if (error == 0 && indexChanged_) {
    int root = db::RootPage(file_.header_, table_);
    if (root == 0 || root > file_.PageCount()) {
      root = file_.AllocatePage();
      db::SetRootPage(file_.header_, table_, static_cast<std::uint16_t>(root));
      file_.headerChanged_ = true;
    }
    if (root == 0) error = -ENOSPC;
    if (error == 0 && TwoLevel() && rootEntry_ > 0) {
      error = file_.WritePageAt(db::EntryPage(root_, rootEntry_), *secondLevel_);
    }
    if (error == 0) error = file_.WritePageAt(root, root_);
    if (error == 0) indexChanged_ = false;
  }
  if (error == 0 && !file_.WriteHeaderIfChanged()) error = -EIO;

  if (error != 0) {
    file_.ReportWriteError("Ошибка Save Таблицы " + std::to_string(table_));
    return status_ = error;
  }
  return status_ = kStatusOk;
}

}  // namespace kordavelt
