#include "storage/dbf_class.h"

#include <algorithm>
#include <utility>

#include "storage/backup_copy.h"
#include "storage/db_reader.h"
#include "storage/file_errors.h"
#include "storage/file_path.h"
#include "storage/file_replace.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

bool AsksForName(const std::string& name) {
  return name.empty() || name.find('*') != std::string::npos;
}

}  // namespace

dbfClass::dbfClass(UiHost& ui, FileSystem& files, std::string extension, std::string signature)
    : ui_(ui), files_(files), extension_(std::move(extension)), signature_(std::move(signature)) {}

dbfClass::~dbfClass() { CloseQuietly(); }

void dbfClass::SetJournalOn(bool on) {
  if (!on) ClearJournal();
  journalOn_ = on;
}

std::string dbfClass::BackupName() const { return BackupPathOf(fileName_, extension_); }

std::string dbfClass::FileFilter() const {
  return "Базы данных (*." + extension_ + ")|*." + extension_;
}

void dbfClass::ShowFileError(const std::string& text) { ui_.ShowInfo(fileName_, text); }

// --- Creating, opening and closing ----------------------------------------------

bool dbfClass::CreateFile() {
  undoRunning_ = false;
  if (IsOpen() && !CloseFile()) return false;
  if (AsksForName(fileName_) || files_.Exists(fileName_)) {
    FileDialogRequest request{"Создание базы данных", FileFilter(), extension_, fileName_, true};
    const std::optional<std::string> chosen = ui_.AskSaveFileName(request);
    if (!chosen) return false;
    fileName_ = *chosen;
  }
  std::array<std::uint8_t, db::kPageSize> header{};
  db::PutSignature(header, signature_);
  journal_.clear();
  journalOn_ = false;
  // A file another program has open for writing is not made anew under it.
  WriterLock::Outcome outcome = WriterLock::Outcome::Failed;
  WriterInfo holder;
  const std::unique_ptr<WriterLock> lock = WriterLock::Acquire(files_, fileName_, outcome, &holder);
  if (lock == nullptr) {
    if (outcome == WriterLock::Outcome::Busy) ShowFileError(BusyText(holder));
    return false;
  }
  // Written whole under a temporary name and renamed: a failed write leaves
  // no file that only looks like a database.
  if (ReplaceFile(files_, fileName_, header) != 0) {
    lock->Release();
    return false;
  }
  lock->Release();
  return true;
}

bool dbfClass::OpenFile() {
  ok_ = false;
  askToSave_ = true;
  if (IsOpen() && !CloseFile()) return false;

  if (AsksForName(fileName_) || !files_.Exists(fileName_)) {
    FileDialogRequest request{"Выбор базы данных", FileFilter(), extension_, fileName_, false};
    const std::optional<std::string> chosen = ui_.AskOpenFileName(request);
    if (!chosen) return false;
    fileName_ = *chosen;
  }

  ioFailed_ = false;
  writeErrorShown_ = false;
  backupTaken_ = false;
  markedWriting_ = false;
  if (!readOnly_ && !PrepareForWriting()) return false;

  FreeAllTables();
  freedPages_.clear();
  header_.fill(0);
  file_ = files_.Open(fileName_, readOnly_ ? OpenMode::ReadOnly : OpenMode::ReadWrite);
  if (file_ == nullptr) {
    const int error =
        files_.AccessError(fileName_, readOnly_ ? OpenMode::ReadOnly : OpenMode::ReadWrite);
    ShowFileError("Файл не открывается: " + FileErrorText(error != 0 ? error : -EIO));
    EndWriting(!markedWriting_);
    return false;
  }
  const bool readable = ReadZeroFilled(*file_, 0, Bytes(header_).first(db::kPageSize)) == 0;
  if (!readable || !db::HasSignature(header_, signature_)) {
    file_.reset();
    ShowFileError("Ошибка формата файла базы данных");
    EndWriting(!markedWriting_);
    return false;
  }

  headerChanged_ = false;
  ok_ = true;
  const std::int32_t pageCount = db::PageCount(header_);
  if (pageCount < 0 || pageCount > db::kMaxPageNumber) {
    ShowFileError("Проблемы файла БД!#Попытка восстановления.");
    const std::int64_t size = file_->Size();
    const std::int64_t rebuilt = size < 0 ? 0 : size / db::kPageSize - 1;
    db::SetPageCount(header_, static_cast<std::int32_t>(
                                  std::clamp<std::int64_t>(rebuilt, 0, db::kMaxPageNumber)));
    headerChanged_ = true;
    if (rebuilt < 1) ok_ = false;
  }

  if (OnOpen) OnOpen(*this);
  if (!ok_) {
    // The owner lets go of the tables it opened before one failed.
    if (OnClose) OnClose(*this);
    CloseQuietly();
  }
  return ok_;
}

// --- Writing: lock, backup and mark --------------------------------------------------

std::string dbfClass::BusyText(const WriterInfo& holder) {
  const std::string who = DescribeWriter(holder);
  return "Файл уже открыт для записи другой программой" + (who.empty() ? "" : "#(" + who + ")") +
         ".#Изменять файл одновременно может только одна программа.";
}

bool dbfClass::PrepareForWriting() {
  keepBackup_ = false;
  backupPutBack_ = false;
  WriterLock::Outcome outcome = WriterLock::Outcome::Failed;
  WriterInfo holder;
  int error = 0;
  writerLock_ = WriterLock::Acquire(files_, fileName_, outcome, &holder, &error);
  if (writerLock_ == nullptr) {
    ShowFileError(outcome == WriterLock::Outcome::Busy
                      ? BusyText(holder)
                      : "Файл не открывается для записи: " + FileErrorText(error));
    return false;
  }
  if (writerLock_->FoundInterrupted() && !ResolveInterruptedWrite()) {
    writerLock_.reset();  // the mark of the interrupted write stays
    return false;
  }
  if (backupOnOpen_ && !TakeBackup(true)) {
    EndWriting(!writerLock_->FoundInterrupted());
    return false;
  }
  // A file whose writer died stays marked as changed until a backup of this
  // open stands for it; any other is only held until its first change.
  markedWriting_ = writerLock_->FoundInterrupted() && !backupTaken_ && !backupPutBack_;
  const int marked = markedWriting_ ? writerLock_->MarkWriting() : writerLock_->MarkHolding();
  if (marked != 0) {
    ShowFileError("Не удалось отметить начало записи файла: " + FileErrorText(marked));
    EndWriting(!writerLock_->FoundInterrupted());
    return false;
  }
  return true;
}

int dbfClass::BeforeFirstWrite() {
  if (markedWriting_ || writerLock_ == nullptr) return 0;
  // A file of nothing but its header (made a moment ago) has no state worth
  // going back to.
  const bool holdsData = files_.FileSize(fileName_) > db::kPageSize;
  if (!backupOnOpen_ && !keepBackup_ && !backupTaken_ && holdsData && !TakeBackup(false)) {
    return -EIO;
  }
  if (const int marked = writerLock_->MarkWriting(); marked != 0) {
    ReportWriteError("Не удалось отметить начало записи файла: " + FileErrorText(marked));
    return marked;
  }
  markedWriting_ = true;
  return 0;
}

bool dbfClass::ResolveInterruptedWrite() {
  // Lines short enough for the message window, which measures 80 letters.
  const std::string who = DescribeWriter(writerLock_->Previous());
  const std::string what = "Запись файла была прервана" + (who.empty() ? "" : " (" + who + ")") +
                           ":#файл может быть записан не полностью.";
  const std::string backup = BackupName();
  if (!FileIsSound(files_, backup)) {
    // Nothing to go back to: the file is opened as it is, and a backup of
    // it is taken only when it passes the structural check.
    ShowFileError(what + "#Целой копии файла нет: проверьте его.");
    return true;
  }
  const int answer = ui_.AskYesNoCancel(
      fileName_, what + "#Вернуть файл к копии, сделанной при его открытии?#Копия: " + backup +
                     "#Да — вернуть копию; прерванный файл сохранится как#" +
                     InterruptedPathOf(fileName_) + "#Нет — открыть файл как есть.");
  if (answer == kAnswerCancel) return false;
  if (answer == kAnswerNo) {
    keepBackup_ = true;
    return true;
  }
  return PutBackupInPlace();
}

bool dbfClass::PutBackupInPlace() {
  const int error = RestoreFromBackup(files_, fileName_, BackupName());
  if (error != 0) {
    ShowFileError("Не удалось вернуть файл к копии " + BackupName() + ": " + FileErrorText(error));
    return false;
  }
  backupPutBack_ = true;
  return true;
}

bool dbfClass::TakeBackup(bool atOpen) {
  const std::string backup = BackupName();
  if (keepBackup_) return true;
  if (backupPutBack_) {
    backupTaken_ = true;
    return true;
  }
  // The file is read once: checked in memory, and written from there.
  std::vector<std::uint8_t> contents;
  if (const int error = ReadWholeFile(files_, fileName_, contents); error != 0) {
    ShowFileError("Ошибка чтения файла#Возможно, что файл используется в сети#" +
                  FileErrorText(error));
    return false;
  }
  MemoryFile image(std::move(contents), true);
  DbReader reader(image, std::nullopt);
  const std::vector<DbProblem> problems = reader.Check();
  if (!problems.empty()) {
    ShowFileError("Файл повреждён: " + problems.front().text + "#Копия " + backup +
                  " не заменена: она остаётся последним целым состоянием.");
    keepBackup_ = true;
    return true;
  }
  if (const int error = ReplaceFile(files_, backup, image.Contents()); error != 0) {
    ShowFileError("Ошибка записи копии файла " + backup + ": " + FileErrorText(error) +
                  (atOpen ? "#Файл не открыт; прежняя копия не тронута."
                          : "#Изменение не записано; прежняя копия не тронута."));
    return false;
  }
  backupTaken_ = true;
  return true;
}

void dbfClass::EndWriting(bool clean) {
  if (writerLock_ == nullptr) return;
  if (clean) writerLock_->Release();
  writerLock_.reset();
}

void dbfClass::ReportWriteError(const std::string& text) {
  ioFailed_ = true;
  if (writeErrorShown_) return;
  writeErrorShown_ = true;
  ShowFileError(text);
}

bool dbfClass::CloseFile() {
  ClearJournal();
  if (!IsOpen()) return false;

  int answer = kAnswerYes;
  const std::string backup = BackupName();
  // A backup that cannot be looked at may still be there to go back to: the
  // question is asked unless the backup is known to be missing or empty.
  const std::int64_t backupSize = files_.FileSize(backup);
  const bool backupUsable = backupSize > db::kPageSize || (backupSize < 0 && backupSize != -ENOENT);
  // Without a backup of this open, No would go back further than the
  // engineer expects: the question is not asked and the changes stay.
  if (modified_ && backupOnOpen_ && askToSave_ && backupTaken_ && backupUsable) {
    answer = ui_.AskYesNoCancel(fileName_, "Cохранить изменения ?");
    if (answer == kAnswerCancel) return false;
  }

  // Keeping changes that cannot be written would report a loss as a save:
  // the file stays open so the user can free space and close again, or
  // answer No and go back to the backup.
  bool written = true;
  if (answer == kAnswerYes) {
    for (const auto& table : tables_) {
      if (table != nullptr && table->Flush() < 0) written = false;
    }
    if (!WriteHeaderIfChanged()) {
      ReportWriteError("Ошибка записи заголовка базы данных");
      written = false;
    }
    if (!readOnly_ && file_->Flush() != 0) {
      ReportWriteError("Ошибка записи файла на диск");
      written = false;
    }
    if (!written) return false;
  }

  if (OnClose) OnClose(*this);
  FreeAllTables();
  file_.reset();

  // Renaming over the file replaces it in one step: the model is never left
  // without either version. Should it fail, the file holds changes that
  // were never flushed, and its mark keeps saying so.
  bool clean = true;
  if (answer == kAnswerNo) {
    if (files_.Rename(backup, fileName_)) {
      files_.SyncFolder(fileName_);
    } else {
      ShowFileError("Не удалось вернуть файл к копии " + backup);
      clean = false;
    }
  }
  EndWriting(clean);
  return true;
}

void dbfClass::CloseQuietly() {
  if (!IsOpen()) return;
  bool written = true;
  for (const auto& table : tables_) {
    if (table != nullptr && table->Flush() < 0) written = false;
  }
  if (!WriteHeaderIfChanged()) written = false;
  if (!readOnly_ && file_->Flush() != 0) written = false;
  FreeAllTables();
  file_.reset();
  EndWriting(written);
}

void dbfClass::FreeAllTables() {
  for (auto& table : tables_) table.reset();
}

// --- Pages and the header --------------------------------------------------------

int dbfClass::AllocatePage() {
  const std::int32_t count = db::PageCount(header_);
  if (count >= db::kMaxPageNumber) return 0;
  db::SetPageCount(header_, count + 1);
  headerChanged_ = true;
  return count + 1;
}

int dbfClass::ReadPageAt(int page, Bytes buffer) {
  if (!IsOpen()) return -EBADF;
  const int read = ReadPage(*file_, static_cast<std::uint32_t>(page), buffer);
  if (read != 0) ioFailed_ = true;
  return read;
}

int dbfClass::WritePageAt(int page, ConstBytes buffer) {
  if (!IsOpen()) return -EBADF;
  if (const int ready = BeforeFirstWrite(); ready != 0) {
    ioFailed_ = true;
    return ready;
  }
  const std::int64_t written =
      file_->WriteAt(db::PageOffset(static_cast<std::uint32_t>(page)), buffer);
  modified_ = true;
  const int result = written < 0 ? static_cast<int>(written)
                     : written == static_cast<std::int64_t>(buffer.size()) ? 0
                                                                           : -EIO;
  if (result != 0) {
    ioFailed_ = true;
  } else {
    NoteWriteSucceeded();
  }
  return result;
}

bool dbfClass::WriteHeaderIfChanged() {
  if (!headerChanged_ || readOnly_ || !IsOpen()) return true;
  if (WritePageAt(0, ConstBytes(header_).first(db::kPageSize)) != 0) return false;
  headerChanged_ = false;
  return true;
}

void dbfClass::FlushAll() {
  for (const auto& table : tables_) {
    if (table != nullptr) table->Flush();
  }
  WriteHeaderIfChanged();
}

// --- Raw blocks ------------------------------------------------------------------

bool dbfClass::ReadBlock(int t, Bytes buffer) {
  buffer = buffer.first(std::min<std::size_t>(buffer.size(), db::kPageSize));
  if (t == 0) {
    ShowFileError("Таблицы N 0 нет");
    return false;
  }
  if (!db::IsTableNumber(t) || !IsOpen()) return false;
  const int page = db::RootPage(header_, t);
  std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
  if (page == 0) return true;
  if (page > PageCount()) {
    ShowFileError("Ошибка структуры таблицы №" + std::to_string(t));
    return false;
  }
  std::array<std::uint8_t, db::kPageSize> block{};
  if (ReadPageAt(page, block) != 0) {
    ShowFileError("Ошибка чтения данных №" + std::to_string(t));
    return false;
  }
  std::copy_n(block.begin(), buffer.size(), buffer.begin());
  return true;
}

bool dbfClass::WriteBlock(int t, ConstBytes data) {
  data = data.first(std::min<std::size_t>(data.size(), db::kPageSize));
  if (t == 0) {
    ShowFileError("Данных № 0 нет");
    return false;
  }
  if (!db::IsTableNumber(t) || !IsOpen() || readOnly_) return false;
  int page = db::RootPage(header_, t);
  if (page > PageCount() || db::SlotLength(header_, t) > db::kSlotRawBlock) {
    ShowFileError("Ошибка данных №" + std::to_string(t));
    return false;
  }
  if (page == 0) {
    page = AllocatePage();
    if (page == 0) {
      ShowFileError("Ошибка данных №" + std::to_string(t));
      return false;
    }
    db::SetRootPage(header_, t, static_cast<std::uint16_t>(page));
    headerChanged_ = true;
  }
  if (db::SlotLength(header_, t) == db::kSlotUnused) {
    db::SetSlotLength(header_, t, db::kSlotRawBlock);
    headerChanged_ = true;
  }
  // The block first, then the header that points at it.
  if (WritePageAt(page, data) != 0 || !WriteHeaderIfChanged()) {
    ReportWriteError("Ошибка записи данных №" + std::to_string(t));
    return false;
  }
  return true;
}

void dbfClass::ClearTable(int t) {
  if (!db::IsTableNumber(t)) return;
  db::SetSlotLength(header_, t, db::kSlotUnused);
  headerChanged_ = true;
}

// --- Deletion journal ----------------------------------------------------------

void dbfClass::Journal(tbClass& table) {
  if (!journalOn_) return;
  if (OnRecordDeleted) OnRecordDeleted(*this, table);
  if (static_cast<int>(journal_.size()) >= kJournalCapacity) journal_.pop_front();
  const ConstBytes data = std::as_const(table).Record();
  journal_.push_back({table.TableNumber(), table.Key(), {data.begin(), data.end()}});
}

void dbfClass::ClearJournal() {
  if (undoRunning_ || journal_.empty()) return;
  if (OnJournalChanged) OnJournalChanged(*this);
  journal_.clear();
}

void dbfClass::UndoDeletions() {
  if (journal_.empty()) return;
  std::deque<JournalEntry> entries;
  entries.swap(journal_);
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    tbClass* table = Table(entry->table);
    if (table == nullptr) continue;
    table->Seek(entry->key);
    if (table->Status() == kStatusOk) continue;  // the key is back already
    undoRunning_ = true;
    table->Insert(entry->key);
    if (table->Status() == kStatusOk) {
      const Bytes record = table->Record();
      std::copy_n(entry->data.begin(), std::min(record.size(), entry->data.size()), record.begin());
      table->MarkModifiedAndFlush();
    }
    undoRunning_ = false;
  }
  if (OnJournalChanged) OnJournalChanged(*this);
}

}  // namespace kordavelt
