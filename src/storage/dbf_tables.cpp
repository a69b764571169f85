// Opening, creating, copying and re-sizing tables, and packing a file.

#include <algorithm>
#include <utility>

#include "storage/dbf_class.h"
#include "storage/file_path.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

std::string Num(int value) { return std::to_string(value); }

// Pages an ascending copy of `records` records of slot length `slot` needs at
// most: full data pages, their second-level pages and a root.
int PagesForCopy(int records, int slot) {
  const int dataPages = records / std::max(1, db::RecordsPerPage(slot)) + 1;
  return dataPages + dataPages / db::kMaxEntries + 2;
}

}  // namespace

tbClass* dbfClass::Table(int t) const { return db::IsTableNumber(t) ? tables_[t].get() : nullptr; }

void dbfClass::FreeTable(tbClass* table) {
  for (auto& slot : tables_) {
    if (slot.get() == table) slot.reset();
  }
}

tbClass* dbfClass::OpenTable(int t, int dataLength, tbClass::PositionHook onPosition) {
  openStatus_ = kStatusStructure;
  if (!ok_) return nullptr;
  ClearJournal();
  if (t == 0 || !db::IsTableNumber(t)) {
    ShowFileError("Таблицы № " + Num(t) + " нет");
    ok_ = false;
    return nullptr;
  }
  if (!IsOpen()) return nullptr;
  if (!db::IsTableSlotLength(dataLength + db::kKeySize)) {
    ShowFileError("Ошибка структуры таблицы № " + Num(t));
    ok_ = false;
    return nullptr;
  }

  // A table number is opened once by its owner; a second open replaces the
  // first object. What that object still holds in memory reaches the file
  // first, so the new one (or a length change) reads every record.
  if (tables_[t] != nullptr) {
    if (tables_[t]->Flush() < 0) {
      openStatus_ = tables_[t]->Status();
      return nullptr;
    }
    tables_[t].reset();
  }

  const int slot = db::SlotLength(header_, t);
  if (db::IsTableSlotLength(slot) && slot != dataLength + db::kKeySize) {
    const bool refused =
        readOnly_ || ui_.AskNoYes(fileName_, "Изменить длину таблицы № " + Num(t)) != kAnswerYes;
    if (refused || !ChangeTableLength(t, slot - db::kKeySize, dataLength)) {
      openStatus_ = kStatusRefused;
      ok_ = false;
      return nullptr;
    }
  }

  std::unique_ptr<tbClass> table = OpenTableObject(t, dataLength);
  if (table == nullptr) {
    ok_ = false;
    return nullptr;
  }
  table->OnPosition = std::move(onPosition);
  openStatus_ = table->Status();
  if (openStatus_ != kStatusOk) ok_ = false;
  tables_[t] = std::move(table);
  return tables_[t].get();
}

std::unique_ptr<tbClass> dbfClass::OpenTableObject(int t, int dataLength) {
  std::unique_ptr<tbClass> table(new tbClass(*this, t, dataLength + db::kKeySize));
  tbClass& tb = *table;
  const std::string number = Num(t);
  // A table that cannot be created leaves its descriptor as it found it.
  const std::int16_t oldSlot = db::SlotLength(header_, t);
  const std::uint16_t oldRoot = db::RootPage(header_, t);
  const std::uint16_t oldCount = db::DescriptorCount(header_, t);
  const auto restoreDescriptor = [&] {
    db::SetSlotLength(header_, t, oldSlot);
    db::SetRootPage(header_, t, oldRoot);
    db::SetDescriptorCount(header_, t, oldCount);
  };

  int root = db::RootPage(header_, t);
  // A new or cleared table, or one whose root was never stored (the scratch
  // table after a reopen), starts anew.
  bool fresh = db::SlotLength(header_, t) == db::kSlotUnused;
  if (root == 0) {
    root = AllocatePage();
    if (root == 0) {
      ShowFileError("Ошибка БД Стр2 таблицы № " + number);
      openStatus_ = 2;
      return nullptr;
    }
    db::SetRootPage(header_, t, static_cast<std::uint16_t>(root));
    fresh = true;
  } else if (root > PageCount()) {
    ShowFileError("Ошибка структуры таблицы № " + number);
    openStatus_ = kStatusStructure;
    return nullptr;
  } else if (const int error = ReadPageAt(root, tb.root_); error != 0) {
    tb.root_.fill(0);
    // What the root of a table in use held is unknown: the table opens, empty
    // and never written. A cleared table starts anew anyway.
    if (!fresh) {
      ShowFileError("Ошибка диска Init Код № " + Num(-error));
      tb.damaged_ = true;
    }
  }

  const bool rootIsIndex = db::IndexMark(tb.root_) == db::kIndexMark;
  if (fresh || (!rootIsIndex && !tb.damaged_)) {
    // A root page that survived a clearing of this table keeps its first data
    // page; anything else on the page (a cleared raw block, say) names no page.
    const bool ownRoot = rootIsIndex && db::IndexTable(tb.root_) == t &&
                         db::IndexLevel(tb.root_) <= db::kLevelTwoLevelRoot;
    int firstData = ownRoot ? db::EntryPage(tb.root_, 1) : 0;
    if (firstData == root || firstData > PageCount()) firstData = 0;
    if (firstData == 0) firstData = AllocatePage();
    if (firstData == 0) {
      restoreDescriptor();
      ShowFileError("Ошибка БД Стр3 таблицы № " + number);
      openStatus_ = 3;
      return nullptr;
    }
    db::SetSlotLength(header_, t, static_cast<std::int16_t>(dataLength + db::kKeySize));
    db::InitIndexPage(tb.root_, db::kLevelOneLevelRoot, static_cast<std::uint16_t>(t));
    db::SetIndexEntryCount(tb.root_, 1);
    db::SetEntry(tb.root_, 1, db::kLastUpperKey, 0, static_cast<std::uint16_t>(firstData));
    db::SetDescriptorCount(header_, t, 0);
    headerChanged_ = true;
    if (!readOnly_) {
      const std::array<std::uint8_t, db::kPageSize> empty{};
      if (WritePageAt(firstData, empty) != 0 || WritePageAt(root, tb.root_) != 0 ||
          !WriteHeaderIfChanged()) {
        restoreDescriptor();
        ReportWriteError("Ошибка Save Таблицы " + number);
        openStatus_ = 2;
        return nullptr;
      }
    }
  }

  // Beyond what the format allows, the table opens damaged: readable as far
  // as it goes, never written.
  const int level = db::IndexLevel(tb.root_);
  const int count = db::IndexEntryCount(tb.root_);
  const int step =
      level == db::kLevelTwoLevelRoot ? db::kMaxEntries * tb.Capacity() : tb.Capacity();
  if (!tb.damaged_ && !tb.SoundIndexPage(tb.root_, level, 0, step)) tb.MarkDamaged();
  if (!tb.damaged_ && level == db::kLevelTwoLevelRoot) {
    tb.secondLevel_ = std::make_unique<tbClass::Page>();
  }
  const int indexed = tb.damaged_ ? 0 : db::EntryCumulative(tb.root_, count);
  db::SetDescriptorCount(header_, t, static_cast<std::uint16_t>(std::max(0, indexed)));

  tb.GoTo(1);
  tb.status_ = tb.damaged_ ? kStatusStructure : kStatusOk;
  return table;
}

bool dbfClass::ChangeTableLength(int t, int oldLength, int newLength) {
  const int records = db::DescriptorCount(header_, t);
  const int needed = PagesForCopy(records, oldLength + db::kKeySize) +
                     PagesForCopy(records, newLength + db::kKeySize);
  if (PageCount() + needed > db::kMaxPageNumber) {
    ShowFileError("Ошибка БД Стр2 таблицы № " + Num(t));
    return false;
  }

  // The records wait in the scratch table while t is made anew.
  ClearTable(db::kScratchTable);
  {
    std::unique_ptr<tbClass> source = OpenTableObject(t, oldLength);
    if (source == nullptr || source->Damaged() ||
        CopyTable(*source, *this, db::kScratchTable) != kStatusOk) {
      return false;
    }
  }
  std::unique_ptr<tbClass> scratch = OpenTableObject(db::kScratchTable, oldLength);
  if (scratch == nullptr) return false;

  ClearTable(t);
  std::unique_ptr<tbClass> target = OpenTableObject(t, newLength);
  if (target == nullptr) return false;
  const int common = std::min(oldLength, newLength);
  for (int n = 1; n <= scratch->Count(); ++n) {
    scratch->GoTo(n);
    if (scratch->Status() != kStatusOk) return false;
    target->Insert(scratch->Key());
    if (target->Status() != kStatusOk) return false;
    std::copy_n(std::as_const(*scratch).Record().begin(), common, target->Record().begin());
    target->MarkModified();
  }
  const bool written = target->Flush() == kStatusOk;
  ClearTable(db::kScratchTable);
  return written && WriteHeaderIfChanged();
}

int dbfClass::CopyTable(tbClass& source, dbfClass& target, int t) {
  if (target.readOnly_) return kStatusReadOnly;
  if (!db::IsTableNumber(t) || db::SlotLength(target.header_, t) != db::kSlotUnused) return 2;
  const int length = source.RecordLength();
  if (length <= 0) return kStatusOk;
  target.ClearTable(t);
  std::unique_ptr<tbClass> copy = target.OpenTableObject(t, length);
  if (copy == nullptr) return kStatusStructure;
  for (int n = 1; n <= source.Count(); ++n) {
    source.GoTo(n);
    if (source.Status() != kStatusOk) return source.Status();
    copy->Insert(source.Key());
    if (copy->Status() != kStatusOk) return copy->Status();
    std::copy_n(std::as_const(source).Record().begin(), length, copy->Record().begin());
    copy->MarkModified();
  }
  const int flushed = copy->Flush();
  if (flushed != kStatusOk) return flushed;
  return target.WriteHeaderIfChanged() ? kStatusOk : -EIO;
}

std::string dbfClass::PackedNameOf(const std::string& path, std::string_view extension) {
  const std::size_t dot = path.find('.', FileNameStart(path));
  return (dot == std::string::npos ? path : path.substr(0, dot)) + "!." + std::string(extension);
}

bool dbfClass::PackFile() {
  if (!IsOpen()) return false;
  FileDialogRequest request{"Сохранение базы данных с упаковкой", FileFilter(), extension_,
                            PackedNameOf(fileName_, extension_), true};
  const std::optional<std::string> chosen = ui_.AskSaveFileName(request);
  if (!chosen) return false;
  if (*chosen == fileName_ || *chosen == BackupName()) {
    ShowFileError("Упакованную копию нельзя записать поверх " + *chosen);
    return false;
  }

  // The packed copy replaces a file of that name, unless another program
  // has it open for writing.
  if (const WriterStatus status = ProbeWriter(files_, *chosen); status.state == WriterState::Live) {
    ShowFileError(BusyText(status.writer));
    return false;
  }
  if (files_.Exists(*chosen)) files_.Remove(*chosen);
  FlushAll();
  bool copied = false;
  {
    dbfClass packed(ui_, files_, extension_, signature_);
    packed.SetFileName(*chosen);
    if (packed.CreateFile() && packed.OpenFile()) {
      copied = true;
      for (int t = 1; t < db::kScratchTable && copied; ++t) {
        const int slot = db::SlotLength(header_, t);
        if (slot == db::kSlotRawBlock) {
          std::array<std::uint8_t, db::kPageSize> block{};
          copied = ReadBlock(t, block) && packed.WriteBlock(t, block);
        } else if (db::IsTableSlotLength(slot)) {
          std::unique_ptr<tbClass> opened;
          tbClass* source = Table(t);
          if (source == nullptr || source->RecordLength() + db::kKeySize != slot) {
            opened = OpenTableObject(t, slot - db::kKeySize);
            source = opened.get();
          }
          copied = source != nullptr && CopyTable(*source, packed, t) == kStatusOk;
        }
      }
      packed.SetAskToSave(false);
      copied = packed.CloseFile() && copied;
    }
  }
  if (!copied) {
    files_.Remove(*chosen);
    ShowFileError("Ошибка Save Таблицы упакованной копии " + *chosen);
    return false;
  }

  if (!CloseFile()) return false;
  fileName_ = *chosen;
  return OpenFile();
}

}  // namespace kordavelt
