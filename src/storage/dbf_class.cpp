#include "storage/dbf_class.h"

#include <algorithm>
#include <utility>

#include "storage/file_path.h"
#include "table/ui_host.h"

namespace kordavelt {
namespace {

// `path` with its extension (from the last dot of the file name) replaced.
std::string WithExtension(const std::string& path, const std::string& extension) {
  const std::size_t dot = path.rfind('.');
  const bool hasExtension = dot != std::string::npos && dot >= FileNameStart(path);
  return (hasExtension ? path.substr(0, dot) : path) + "." + extension;
}

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

std::string dbfClass::BackupName() const { return WithExtension(fileName_, "~" + extension_); }

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
  std::unique_ptr<RandomAccessFile> file = files_.Open(fileName_, OpenMode::Create);
  if (file == nullptr) return false;
  // A file that could not be written whole is not a database: never report it as created.
  if (file->WriteAt(0, header) != db::kPageSize || file->Flush() != 0) {
    file.reset();
    files_.Remove(fileName_);
    return false;
  }
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

  if (backupOnOpen_ && !readOnly_) {
    if (!files_.Copy(fileName_, BackupName())) {
      ShowFileError("Ошибка чтения файла#Возможно, что файл используется в сети");
      return false;
    }
  }

  FreeAllTables();
  freedPages_.clear();
  header_.fill(0);
  file_ = files_.Open(fileName_, readOnly_ ? OpenMode::ReadOnly : OpenMode::ReadWrite);
  const bool readable =
      file_ != nullptr && ReadZeroFilled(*file_, 0, Bytes(header_).first(db::kPageSize)) == 0;
  if (!readable || !db::HasSignature(header_, signature_)) {
    file_.reset();
    ShowFileError("Ошибка формата файла базы данных");
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

bool dbfClass::CloseFile() {
  ClearJournal();
  if (!IsOpen()) return false;

  int answer = kAnswerYes;
  const std::string backup = BackupName();
  // A backup that cannot be looked at may still be there to go back to: the
  // question is asked unless the backup is known to be missing or empty.
  const std::int64_t backupSize = files_.FileSize(backup);
  const bool backupUsable = backupSize > db::kPageSize || (backupSize < 0 && backupSize != -ENOENT);
  if (modified_ && backupOnOpen_ && askToSave_ && backupUsable) {
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
      ShowFileError("Ошибка записи заголовка базы данных");
      written = false;
    }
    if (file_->Flush() != 0) written = false;
    if (!written) return false;
  }

  if (OnClose) OnClose(*this);
  FreeAllTables();
  file_.reset();

  // Renaming over the file replaces it in one step: the model is never left
  // without either version.
  if (answer == kAnswerNo && !files_.Rename(backup, fileName_)) {
    ShowFileError("Не удалось вернуть файл к копии " + backup);
  }
  return true;
}

void dbfClass::CloseQuietly() {
  if (!IsOpen()) return;
  for (const auto& table : tables_) {
    if (table != nullptr) table->Flush();
  }
  WriteHeaderIfChanged();
  file_->Flush();
  FreeAllTables();
  file_.reset();
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
  return ReadPage(*file_, static_cast<std::uint32_t>(page), buffer);
}

int dbfClass::WritePageAt(int page, ConstBytes buffer) {
  if (!IsOpen()) return -EBADF;
  const std::int64_t written =
      file_->WriteAt(db::PageOffset(static_cast<std::uint32_t>(page)), buffer);
  modified_ = true;
  if (written < 0) return static_cast<int>(written);
  return written == static_cast<std::int64_t>(buffer.size()) ? 0 : -EIO;
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
    ShowFileError("Ошибка записи данных №" + std::to_string(t));
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
