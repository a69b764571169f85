#include "cli/write_session.h"

#include "cli/book_check.h"
#include "model/model_check.h"
#include "storage/backup_copy.h"
#include "storage/db_reader.h"
#include "storage/file_errors.h"
#include "storage/file_path.h"
#include "storage/file_replace.h"

namespace kordavelt {

std::vector<DbProblem> ProblemsOfImage(const std::vector<std::uint8_t>& contents) {
  MemoryFile file(contents, true);
  DbReader reader(file, std::nullopt);
  if (reader.Kind() == db::FileKind::Model) return CheckModelFile(file);
  if (reader.Kind() == db::FileKind::ReferenceBook) return CheckBookFile(file);
  return reader.Check();
}

namespace {

std::string FirstProblemOf(const std::vector<std::uint8_t>& contents) {
  const std::vector<DbProblem> problems = ProblemsOfImage(contents);
  return problems.empty() ? std::string() : problems.front().text;
}

std::string Holder(const WriterInfo& writer) {
  const std::string who = DescribeWriter(writer);
  return who.empty() ? std::string() : " (" + who + ")";
}

}  // namespace

std::string InterruptedWriteText(const std::string& path, const std::string& backupPath,
                                 const WriterInfo& writer) {
  return "Запись файла была прервана" + Holder(writer) +
         ": он может быть записан не полностью и не изменяется.#Последнее целое состояние — его "
         "копия " +
         backupPath + ".#Вернуть её: " + std::string(kCliName) + " restore " + path +
         " --from-backup";
}

WriteSession::WriteSession(const CliContext& context, std::string path, std::string_view extension)
    : context_(context),
      path_(std::move(path)),
      backupPath_(BackupPathOf(path_, extension)),
      scratch_(context.files) {
  scratch_.OnNote = [this](const std::string& file, const std::string& note) {
    context_.ui.ShowInfo(file, note);
  };
}

WriteSession::~WriteSession() {
  // Uncommitted: the file stays as it was, and so does its mark.
  if (lock_ != nullptr && !lock_->FoundInterrupted()) lock_->Release();
}

bool WriteSession::Fail(int exitCode, const std::string& text) {
  context_.ui.ShowError(path_, text);
  exitCode_ = exitCode;
  return false;
}

bool WriteSession::FoundInterrupted() const {
  return lock_ != nullptr && lock_->FoundInterrupted();
}

bool WriteSession::Begin(unsigned options) {
  exitCode_ = kExitOk;
  return CheckAccess(options) && TakeLock(options) && Load(options);
}

bool WriteSession::CheckAccess(unsigned options) {
  existed_ = context_.files.Exists(path_);
  if (!existed_) {
    const int missing = context_.files.AccessError(path_, OpenMode::ReadOnly);
    if (missing != -ENOENT || (options & kMayCreate) == 0) {
      return Fail(kExitUsage, FileErrorText(missing != 0 ? missing : -ENOENT));
    }
    const int error = context_.files.AccessError(path_, OpenMode::Create);
    return error == 0 || Fail(kExitUsage, "Файл не создаётся: " + FileErrorText(error));
  }
  const int error = context_.files.AccessError(path_, OpenMode::ReadWrite);
  return error == 0 || Fail(kExitUsage, "Файл не изменяется: " + FileErrorText(error));
}

bool WriteSession::TakeLock(unsigned options) {
  WriterLock::Outcome outcome = WriterLock::Outcome::Failed;
  WriterInfo holder;
  int error = 0;
  lock_ = WriterLock::Acquire(context_.files, path_, outcome, &holder, &error);
  if (lock_ == nullptr) {
    if (outcome == WriterLock::Outcome::Busy) {
      return Fail(kExitUsage, "Файл уже открыт для записи другой программой" + Holder(holder) +
                                  ".#Изменять файл одновременно может только одна программа.");
    }
    return Fail(kExitUsage, "Файл не открывается для записи: " + FileErrorText(error));
  }
  if (lock_->FoundInterrupted() && (options & kAcceptInterrupted) == 0) {
    const WriterInfo writer = lock_->Previous();
    lock_.reset();  // the mark stays: the file is still as its writer left it
    return Fail(kExitUsage, InterruptedWriteText(path_, backupPath_, writer));
  }
  if (!lock_->FoundInterrupted()) {
    // Readers may go on reading the file: it is only ever replaced whole.
    if (const int marked = lock_->MarkReplacing(); marked != 0) {
      return Fail(kExitUsage, "Файл не открывается для записи: " + FileErrorText(marked));
    }
  }
  return true;
}

bool WriteSession::Load(unsigned options) {
  old_.clear();
  if (!existed_) return true;
  if (const int error = ReadWholeFile(context_.files, path_, old_); error != 0) {
    return Fail(kExitUsage, "Файл не читается: " + FileErrorText(error));
  }
  if ((options & kAcceptDamaged) == 0) {
    const std::string problem = FirstProblemOf(old_);
    if (!problem.empty()) {
      return Fail(kExitProblems, "Файл повреждён: " + problem +
                                     "#Он не изменяется. Сначала восстановите его: " +
                                     std::string(kCliName) + " restore " + path_);
    }
  }
  scratch_.Put(path_, old_);
  return true;
}

bool WriteSession::Commit() {
  const std::vector<std::uint8_t>* contents = scratch_.Contents(path_);
  if (contents == nullptr) return Fail(kExitProblems, "Файл не записан: он не был создан");
  return Commit(*contents);
}

bool WriteSession::Commit(const std::vector<std::uint8_t>& contents) {
  if (lock_ == nullptr) return Fail(kExitProblems, "Файл не записан: он не был открыт для записи");
  const std::string problem = FirstProblemOf(contents);
  if (!problem.empty()) {
    return Fail(kExitProblems, "Результат не прошёл проверку: " + problem + "#Файл не изменён.");
  }
  if (existed_ && contents == old_ && !lock_->FoundInterrupted()) {
    lock_->Release();
    lock_.reset();
    return true;
  }
  // The state before the command stays at hand as the backup, unless it is
  // no sound state to go back to; a file whose writer died is kept aside
  // instead, and the backup stays the last good state.
  if (existed_) {
    const bool interrupted = lock_->FoundInterrupted();
    const std::string keptAs = interrupted ? InterruptedPathOf(path_) : backupPath_;
    if (interrupted || FirstProblemOf(old_).empty()) {
      if (const int error = ReplaceFile(context_.files, keptAs, old_); error != 0) {
        return Fail(kExitProblems, "Ошибка записи копии " + keptAs + ": " + FileErrorText(error) +
                                       "#Файл не изменён.");
      }
    }
  }
  if (const int error = ReplaceFile(context_.files, path_, contents); error != 0) {
    return Fail(kExitProblems,
                "Ошибка записи файла: " + FileErrorText(error) + "#Файл не изменён.");
  }
  lock_->Release();
  lock_.reset();
  return true;
}

}  // namespace kordavelt
