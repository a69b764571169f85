#pragma once

// Who writes a database file, and whether a writer died while it wrote.
//
// A program that opens a model or a reference book for writing holds the
// lock of its companion "<file>.lock" (FileSystem::AcquireLock) until the
// file is closed: a second writer is refused, in this process or another.
// The companion also says who holds it, and — from the moment the file may
// be changed in place until it has been closed cleanly — that it is being
// written:
//
//   Kordavelt
//   pid 4711
//   host plant-office
//   writing
//
// Until its first change a program that holds the file says "holding"
// instead, and readers read the file itself. A writer that changes nothing
// in place, but writes a new file and renames it over the old one, says
// "replacing": readers may read the file all the while, since they see the
// old file or the new one, whole.
//
// Only a clean close removes the companion. So a companion that says
// "writing" while nobody holds its lock is the mark of a writer that died:
// the file may be half written, and its backup (taken before the first
// change) is the last good state. Readers never read such a file, nor one
// that a live writer is changing; they read the backup or refuse.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "storage/file_layer.h"

namespace kordavelt {

// "<file>.lock".
std::string WriterLockPath(std::string_view databasePath);

struct WriterInfo {
  bool writing = false;    // the file may have been changed in place
  bool holding = false;    // open for writing, nothing changed yet
  bool replacing = false;  // the file is only ever replaced whole
  long long processId = 0;
  std::string host;
};

WriterInfo ParseWriterMark(std::string_view text);
enum class WriterMode { Opening, Holding, Writing, Replacing };

// This process's mark.
std::string WriterMarkText(WriterMode mode);
// "процесс 4711, компьютер plant-office", as far as it is known.
std::string DescribeWriter(const WriterInfo& writer);

enum class WriterState {
  None,         // nobody writes the file, nor died writing it
  Live,         // a writer holds the lock
  Interrupted,  // nobody holds the lock, but the mark says "writing"
};

struct WriterStatus {
  WriterState state = WriterState::None;
  WriterInfo writer;
};

// A look that takes nothing and writes nothing (it works in read-only
// folders).
WriterStatus ProbeWriter(FileSystem& files, std::string_view databasePath);

// The lock a writer holds while its database file is open for writing.
// Destroying it lets the lock go and leaves the mark as it is, which is
// what a writer that could not close cleanly must do.
class WriterLock {
 public:
  enum class Outcome { Acquired, Busy, Failed };

  // Takes the lock of `databasePath`. nullptr with Busy (and the holder in
  // *holder) or Failed (and the error code in *error). The mark of a
  // previous writer is kept until the new one says what it does.
  static std::unique_ptr<WriterLock> Acquire(FileSystem& files, const std::string& databasePath,
                                             Outcome& outcome, WriterInfo* holder = nullptr,
                                             int* error = nullptr);

  // The mark found when the lock was taken said "writing": the writer
  // before died while it wrote.
  bool FoundInterrupted() const { return previous_.writing; }
  const WriterInfo& Previous() const { return previous_; }

  // The file is open for writing; nothing is changed yet.
  int MarkHolding();
  // From now on the file may be changed in place. 0, or a negative error code.
  int MarkWriting();
  // From now on the file is only replaced whole.
  int MarkReplacing();
  // This writer's mark without either: the file is as the last clean writer
  // left it (or as restored from its backup), and about to be written.
  int MarkOpening();
  // A clean end: the mark is removed and the lock let go.
  int Release();

 private:
  explicit WriterLock(std::unique_ptr<FileLock> lock);

  std::unique_ptr<FileLock> lock_;
  WriterInfo previous_;
};

// --- Reading as a reader may -------------------------------------------------------

struct ReaderSnapshot {
  int error = 0;                    // 0, or why nothing could be read
  std::vector<std::uint8_t> bytes;  // the contents read
  std::string note;                 // what was read instead of the file, and why
};

// The contents of a database file as a command that only reads may take
// them: the file itself while nobody changes it in place (read again when
// a writer came meanwhile); the backup `backupPath` (when it passes the
// structural check) while a writer changes the file or after one died;
// otherwise an error (-EBUSY) and a note saying why.
ReaderSnapshot ReadForReading(FileSystem& files, const std::string& path,
                              const std::string& backupPath);

}  // namespace kordavelt
