#pragma once

// kordavelt-cli: what a user or a test needs to see inside a database file.
//
//   kordavelt-cli dump FILE              the tables of the file
//   kordavelt-cli dump FILE --table T    the records of table T (decoded by field in a
//                                        model, hexadecimal with --hex), or raw block T
//   kordavelt-cli check FILE             every damage of the file
//   kordavelt-cli import-book BOOK FILE  the types of an exchange file added to a book
//   kordavelt-cli export-book BOOK OUT   every category of a book to an exchange file
//   kordavelt-cli calc MODEL [...]       the network calculation: status line, a table
//   kordavelt-cli elements MODEL [...]   the calculation, then every element as JSON
//
// The signature a file must carry follows its extension (LVN and ~LVN a
// model, SPR and ~SPR a reference book); any other name accepts either.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "storage/file_layer.h"
#include "ui/ui_host.h"

namespace kordavelt {

inline constexpr int kExitOk = 0;
inline constexpr int kExitProblems = 1;  // the file is damaged
inline constexpr int kExitUsage = 2;     // bad arguments, or a file that cannot be opened

inline constexpr std::string_view kCliName = "kordavelt-cli";

// What a command works with: its output, the files, and the host that shows
// messages ("caption: text" on the error stream).
struct CliContext {
  std::ostream& out;
  std::ostream& err;
  FileSystem& files;
  UiHost& ui;
};

// Runs the command in `args` (the program name left out); returns the exit code.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& files);

// True when `path` names a file that can be read; otherwise false after a
// message that says why ("Файл не найден", "Это папка, а не файл", "Нет
// доступа к файлу или его папке" ...).
bool CheckReadable(const std::string& path, const CliContext& context);

// The file opened for reading, or nullptr after a message when it is missing
// or cannot be opened.
std::unique_ptr<RandomAccessFile> OpenDatabaseFile(const std::string& path,
                                                   const CliContext& context);

// Reports bad arguments and shows the usage; returns kExitUsage.
int UsageError(const CliContext& context, const std::string& what);
// Reports a bad value whose message says all there is to know (it names
// what would have been right) without the usage; returns kExitUsage.
int ArgumentError(const CliContext& context, const std::string& what);

}  // namespace kordavelt
