#include "storage/writer_mark.h"

#include <cerrno>
#include <charconv>
#include <chrono>
#include <thread>

#include "storage/backup_copy.h"
#include "storage/file_path.h"
#include "storage/file_replace.h"

namespace kordavelt {
namespace {

constexpr std::string_view kMarkTitle = "Kordavelt";
constexpr std::string_view kWritingLine = "writing";
constexpr std::string_view kReplacingLine = "replacing";
constexpr std::string_view kHoldingLine = "holding";

// A writer that came while a reader copied the file is seen on the second
// look, and one that is opening the file is waited for; the reader starts
// over at most this many times, pausing in between.
constexpr int kReadAttempts = 20;
constexpr auto kReadPause = std::chrono::milliseconds(50);

std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

std::string WriterLockPath(std::string_view databasePath) {
  return std::string(databasePath) + ".lock";
}

WriterInfo ParseWriterMark(std::string_view text) {
  WriterInfo info;
  while (!text.empty()) {
    const std::string_view line = NextLine(text);
    if (line == kWritingLine) {
      info.writing = true;
    } else if (line == kReplacingLine) {
      info.replacing = true;
    } else if (line == kHoldingLine) {
      info.holding = true;
    } else if (line.starts_with("pid ")) {
      const std::string_view number = line.substr(4);
      std::from_chars(number.data(), number.data() + number.size(), info.processId);
    } else if (line.starts_with("host ")) {
      info.host = std::string(line.substr(5));
    }
  }
  return info;
}

std::string WriterMarkText(WriterMode mode) {
  std::string text = std::string(kMarkTitle) + "\npid " + std::to_string(CurrentProcessId()) +
                     "\nhost " + CurrentHostName() + "\n";
  if (mode == WriterMode::Writing) text += std::string(kWritingLine) + "\n";
  if (mode == WriterMode::Replacing) text += std::string(kReplacingLine) + "\n";
  if (mode == WriterMode::Holding) text += std::string(kHoldingLine) + "\n";
  return text;
}

std::string DescribeWriter(const WriterInfo& writer) {
  std::string text;
  if (writer.processId > 0) text = "процесс " + std::to_string(writer.processId);
  if (!writer.host.empty()) text += (text.empty() ? "" : ", ") + ("компьютер " + writer.host);
  return text;
}

WriterStatus ProbeWriter(FileSystem& files, std::string_view databasePath) {
  const LockProbe probe = files.ProbeLock(WriterLockPath(databasePath));
  WriterStatus status;
  if (!probe.exists) return status;
  status.writer = ParseWriterMark(probe.contents);
  if (probe.held) {
    status.state = WriterState::Live;
  } else if (status.writer.writing) {
    status.state = WriterState::Interrupted;
  }
  return status;
}

// --- WriterLock -----------------------------------------------------------------------

WriterLock::WriterLock(std::unique_ptr<FileLock> lock)
    : lock_(std::move(lock)), previous_(ParseWriterMark(lock_->PreviousContents())) {}

std::unique_ptr<WriterLock> WriterLock::Acquire(FileSystem& files, const std::string& databasePath,
                                                Outcome& outcome, WriterInfo* holder, int* error) {
  LockResult result = LockResult::Failed;
  int failure = 0;
  const std::string lockPath = WriterLockPath(databasePath);
  std::unique_ptr<FileLock> lock = files.AcquireLock(lockPath, result, &failure);
  if (error != nullptr) *error = failure;
  if (lock == nullptr) {
    outcome = result == LockResult::Busy ? Outcome::Busy : Outcome::Failed;
    if (holder != nullptr) *holder = ProbeWriter(files, databasePath).writer;
    return nullptr;
  }
  std::unique_ptr<WriterLock> writer(new WriterLock(std::move(lock)));
  // An interrupted writer's mark stays until the new writer has decided
  // what becomes of the file; any other is replaced by ours at once, so
  // that a writer refused meanwhile learns who holds the file.
  if (!writer->FoundInterrupted()) {
    if (const int written = writer->MarkOpening(); written != 0) {
      outcome = Outcome::Failed;
      if (error != nullptr) *error = written;
      return nullptr;
    }
  }
  outcome = Outcome::Acquired;
  return writer;
}

int WriterLock::MarkWriting() { return lock_->WriteContents(WriterMarkText(WriterMode::Writing)); }

int WriterLock::MarkHolding() { return lock_->WriteContents(WriterMarkText(WriterMode::Holding)); }

int WriterLock::MarkReplacing() {
  return lock_->WriteContents(WriterMarkText(WriterMode::Replacing));
}

int WriterLock::MarkOpening() { return lock_->WriteContents(WriterMarkText(WriterMode::Opening)); }

int WriterLock::Release() { return lock_->Remove(); }

// --- Reading ------------------------------------------------------------------------

namespace {

// The file is being changed in place, or was when its writer died.
bool Changing(const WriterStatus& status) {
  return status.state == WriterState::Interrupted ||
         (status.state == WriterState::Live && status.writer.writing);
}

// A writer holds the file but has not yet said how it writes it.
bool Opening(const WriterStatus& status) {
  const WriterInfo& writer = status.writer;
  return status.state == WriterState::Live && !writer.writing && !writer.holding &&
         !writer.replacing;
}

ReaderSnapshot ReadBackupInstead(FileSystem& files, const WriterStatus& status,
                                 const std::string& backupPath) {
  ReaderSnapshot snapshot;
  const std::string who = DescribeWriter(status.writer);
  const std::string why =
      (status.state == WriterState::Live ? "Файл открыт для записи другой программой"
                                         : "Запись файла была прервана") +
      (who.empty() ? "" : " (" + who + ")");
  if (backupPath.empty() || !FileIsSound(files, backupPath)) {
    snapshot.error = -EBUSY;
    snapshot.note = why + ", а его целой копии нет; " +
                    (status.state == WriterState::Live ? "повторите позже" : "восстановите файл");
    return snapshot;
  }
  snapshot.error = ReadWholeFile(files, backupPath, snapshot.bytes);
  snapshot.note = why + "; прочитана его копия " + backupPath;
  return snapshot;
}

}  // namespace

ReaderSnapshot ReadForReading(FileSystem& files, const std::string& path,
                              const std::string& backupPath) {
  ReaderSnapshot snapshot;
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(kReadPause);
    const WriterStatus before = ProbeWriter(files, path);
    if (Changing(before)) return ReadBackupInstead(files, before, backupPath);
    snapshot.error = -EBUSY;
    snapshot.note = "Файл открывается для записи другой программой; повторите позже";
    if (Opening(before)) continue;
    snapshot.error = ReadWholeFile(files, path, snapshot.bytes);
    snapshot.note.clear();
    if (snapshot.error != 0) return snapshot;
    const WriterStatus after = ProbeWriter(files, path);
    if (!Changing(after) && !Opening(after)) return snapshot;
    snapshot.error = -EBUSY;
    snapshot.note = "Файл изменялся другой программой, пока его читали; повторите позже";
  }
  snapshot.bytes.clear();
  return snapshot;
}

}  // namespace kordavelt
