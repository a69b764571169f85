#pragma once

// dbfClass: one database file, the model or the reference book, with its
// open tables (tbClass), raw blocks, backup, packing and deletion journal.
//
// Every error is reported where it happens, in a message box of the UiHost
// with the file name as caption, and recorded as the file's ok flag or a
// table's status; nothing is thrown. Discarding the changes made since the
// file was opened is done with the backup copy "<name>.~EXT" taken at the
// open and put back when the user answers No to the save question at close.
//
// A file opened for writing is held with the writer lock of writer_mark.h:
// a second writer is refused. The backup is written whole and synced before
// the file is marked as being written and changed (at the open, or before
// the first change of a file that takes no backup at the open, the
// reference book); a file that fails the structural check never replaces
// the backup, which stays the last good state. A file whose writer died
// while it wrote is recognised at the next open, which offers the backup
// back.

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "storage/db_format.h"
#include "storage/file_layer.h"
#include "storage/tb_class.h"
#include "storage/writer_mark.h"

namespace kordavelt {

class UiHost;

class dbfClass {
 public:
  using FileHook = std::function<void(dbfClass&)>;
  using RecordHook = std::function<void(dbfClass&, tbClass&)>;

  // The deletion journal keeps at most this many records.
  static constexpr int kJournalCapacity = 1000;

  // `extension` (without the dot) and `signature` name the kind of file:
  // db::kModelExtension / db::kModelSignature or the reference book's.
  dbfClass(UiHost& ui, FileSystem& files, std::string extension, std::string signature);
  // Closes an open file without the save question and without OnClose.
  virtual ~dbfClass();
  dbfClass(const dbfClass&) = delete;
  dbfClass& operator=(const dbfClass&) = delete;

  // --- Settings ------------------------------------------------------------

  const std::string& FileName() const { return fileName_; }
  // A name that is empty or contains "*" makes OpenFile and CreateFile ask.
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  const std::string& Extension() const { return extension_; }
  const std::string& Signature() const { return signature_; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  void SetBackupOnOpen(bool backup) { backupOnOpen_ = backup; }
  bool BackupOnOpen() const { return backupOnOpen_; }
  // The owner clears it to skip the save question at the next close.
  void SetAskToSave(bool ask) { askToSave_ = ask; }
  // The journal is off (count -1) until the owner turns it on.
  void SetJournalOn(bool on);
  int JournalCount() const { return journalOn_ ? static_cast<int>(journal_.size()) : -1; }

  // "<name>.~EXT": the backup taken at open.
  std::string BackupName() const;
  // "Базы данных (*.EXT)|*.EXT".
  std::string FileFilter() const;
  // The name PackFile proposes: "plant.LVN" → "plant!.LVN".
  static std::string PackedNameOf(const std::string& path, std::string_view extension);

  // --- The file ------------------------------------------------------------

  bool CreateFile();
  bool OpenFile();
  bool CloseFile();
  bool PackFile();

  bool IsOpen() const { return file_ != nullptr; }
  bool Ok() const { return ok_; }
  bool Modified() const { return modified_; }
  // A read or write of the file failed since it was opened: what is in
  // memory and what is on the disk may differ.
  bool IoFailed() const { return ioFailed_; }
  // The backup was taken at this open: the save question may put it back.
  bool BackupTaken() const { return backupTaken_; }
  int PageCount() const { return db::PageCount(header_); }
  UiHost& Ui() const { return ui_; }
  FileSystem& Files() const { return files_; }

  // --- Tables and raw blocks -----------------------------------------------

  // Opens table t with record data length L, creating it when its descriptor
  // is empty and changing its length (after asking) when it differs. The
  // table is registered under t; nullptr when it cannot be opened, with the
  // reason in OpenStatus().
  tbClass* OpenTable(int t, int dataLength, tbClass::PositionHook onPosition = {});
  int OpenStatus() const { return openStatus_; }
  // The table registered under t, or nullptr.
  tbClass* Table(int t) const;
  // Discards table t: its slot length becomes 0, its root page is kept.
  void ClearTable(int t);
  // Copies every record of `source`, in key order, into a new table t of
  // `target`. 0, kStatusReadOnly, or 2 when t is in use in the target.
  int CopyTable(tbClass& source, dbfClass& target, int t);
  bool ReadBlock(int t, Bytes buffer);
  bool WriteBlock(int t, ConstBytes data);
  void FlushAll();
  // Unregisters and destroys a table object.
  void FreeTable(tbClass* table);

  // --- Deletion journal ----------------------------------------------------

  // Restores the records deleted since the last insert or table opening.
  void UndoDeletions();
  void ClearJournal();

  // --- Owner's hooks -------------------------------------------------------

  FileHook OnOpen;
  FileHook OnClose;
  FileHook OnJournalChanged;
  RecordHook OnRecordDeleted;

 private:
  friend class tbClass;

  struct JournalEntry {
    int table;
    std::int32_t key;
    std::vector<std::uint8_t> data;
  };

  // Allocates page count + 1; 0 when the file has no page number left.
  int AllocatePage();
  // Pages of the open file; a failed call reports nothing (the caller does).
  int ReadPageAt(int page, Bytes buffer);
  int WritePageAt(int page, ConstBytes buffer);
  // Writes the header image when it changed; false after a failed write.
  bool WriteHeaderIfChanged();
  void Journal(tbClass& table);
  void CloseQuietly();
  void FreeAllTables();
  // Writing: the lock, the question about a writer that died, the backup
  // and the mark that the file is being written. False after a message
  // (nothing changed, the lock let go).
  bool PrepareForWriting();
  bool ResolveInterruptedWrite();
  bool PutBackupInPlace();
  // `atOpen`: the backup the open takes; otherwise the one a file without
  // it takes before its first change.
  bool TakeBackup(bool atOpen);
  // Before the first page write of this open: the backup of a file that has
  // none yet, then the mark that the file is being changed. 0, or the
  // negative error code that refuses the write.
  int BeforeFirstWrite();
  // Ends the writer lock: a clean end removes the mark; otherwise it stays
  // and says that the file was being written.
  void EndWriting(bool clean);
  // A failed write of the file: the message only when the write before
  // succeeded, so that a full disk is not reported once per page.
  void ReportWriteError(const std::string& text);
  void NoteWriteSucceeded() { writeErrorShown_ = false; }
  // Opens table t for `OpenTable` or, unregistered, for copying and packing.
  std::unique_ptr<tbClass> OpenTableObject(int t, int dataLength);
  bool ChangeTableLength(int t, int oldLength, int newLength);
  void ShowFileError(const std::string& text);
  // "Файл уже открыт для записи другой программой (процесс …)".
  static std::string BusyText(const WriterInfo& holder);

  UiHost& ui_;
  FileSystem& files_;
  std::string fileName_;
  std::string extension_;
  std::string signature_;
  bool readOnly_ = false;
  bool backupOnOpen_ = false;
  bool modified_ = false;
  bool headerChanged_ = false;
  bool askToSave_ = false;
  bool ok_ = false;
  bool journalOn_ = false;
  bool undoRunning_ = false;
  bool ioFailed_ = false;
  bool writeErrorShown_ = false;
  bool backupTaken_ = false;
  // The open keeps the backup as it is (the file is damaged, or the user
  // chose to go on with a file whose writer died).
  bool keepBackup_ = false;
  // The file was just put back from its backup: they are equal.
  bool backupPutBack_ = false;
  // The mark says the file is being changed in place.
  bool markedWriting_ = false;
  std::unique_ptr<WriterLock> writerLock_;
  int openStatus_ = kStatusOk;
  std::unique_ptr<RandomAccessFile> file_;
  std::array<std::unique_ptr<tbClass>, db::kMaxTables + 1> tables_;
  std::deque<JournalEntry> journal_;
  // Pages an index let go of since the file was opened; a split may take
  // them back through the reusable slot where they wait.
  std::set<int> freedPages_;
  std::array<std::uint8_t, db::kHeaderImageSize> header_{};
};

}  // namespace kordavelt
