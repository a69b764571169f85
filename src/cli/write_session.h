#pragma once

// A command that changes a database file, all or nothing.
//
// The file is held with its writer lock from Begin to the end (a second
// writer is refused) and worked on in memory, over a ScratchFileSystem:
// nothing reaches the disk while the command runs. Commit then checks the
// new contents, keeps the old ones as the backup ("<name>.~EXT", the last
// good state), and writes the new file whole under a temporary name that
// is renamed over the old one. So the file on disk is always the old one or
// the new one, whatever fails or whoever kills the process, and a command
// that fails leaves it exactly as it was.
//
//   WriteSession session(context, path, "LVN");
//   if (!session.Begin(WriteSession::kMayCreate)) return session.ExitCode();
//   modelClass model(ui, session.Files(), ...);   // open, change, close
//   if (!session.Commit()) return session.ExitCode();

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_main.h"
#include "cli/scratch_file_system.h"
#include "storage/db_reader.h"
#include "storage/writer_mark.h"

namespace kordavelt {

class WriteSession {
 public:
  enum Options : unsigned {
    kMayCreate = 1,          // a missing file is made by the command
    kAcceptDamaged = 2,      // a file failing the structural check is worked on (restore)
    kAcceptInterrupted = 4,  // a file whose writer died is worked on (restore from backup)
  };

  // `extension`: the kind's extension ("LVN", "SPR"), which names the backup.
  WriteSession(const CliContext& context, std::string path, std::string_view extension);
  ~WriteSession();
  WriteSession(const WriteSession&) = delete;
  WriteSession& operator=(const WriteSession&) = delete;

  // Takes the writer lock and brings the file into memory. False after a
  // message, with the exit code in ExitCode().
  bool Begin(unsigned options = 0);

  // The files as the command must see them: the real ones, read only, and
  // this one in memory.
  ScratchFileSystem& Files() { return scratch_; }
  const std::string& Path() const { return path_; }
  const std::string& BackupPath() const { return backupPath_; }
  bool Existed() const { return existed_; }
  // The writer that died while it wrote the file (kAcceptInterrupted).
  bool FoundInterrupted() const;
  const std::vector<std::uint8_t>& OldContents() const { return old_; }

  // Replaces the file with the contents the command left in memory (or
  // `contents`). Nothing is written when they equal the old ones. False
  // after a message (the file as it was), with the exit code in ExitCode().
  bool Commit();
  bool Commit(const std::vector<std::uint8_t>& contents);

  int ExitCode() const { return exitCode_; }

 private:
  bool Fail(int exitCode, const std::string& text);
  bool CheckAccess(unsigned options);
  bool TakeLock(unsigned options);
  bool Load(unsigned options);

  const CliContext& context_;
  std::string path_;
  std::string backupPath_;
  ScratchFileSystem scratch_;
  std::unique_ptr<WriterLock> lock_;
  std::vector<std::uint8_t> old_;
  bool existed_ = false;
  int exitCode_ = kExitOk;
};

// Every problem `check` finds in a database image: the engine's, then the
// model's or the book's own (by its signature).
std::vector<DbProblem> ProblemsOfImage(const std::vector<std::uint8_t>& contents);

// The message that tells the engineer how to get the last good state of a
// file whose writer died.
std::string InterruptedWriteText(const std::string& path, const std::string& backupPath,
                                 const WriterInfo& writer);

}  // namespace kordavelt
