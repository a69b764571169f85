#pragma once

// A stand-alone reader of database files (see db_format.h).
//
// It reads what the engine would read, without opening the engine: the table
// list, every table in key order, raw blocks, and a check of the whole file
// that names every damage it finds. It never writes, and it takes nothing in
// the file on trust: every count and page number read is bounded before use,
// every page is read at most once per walk, and a damaged file yields
// problems, never a crash or an endless loop.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/db_format.h"
#include "storage/file_layer.h"

namespace kordavelt {

// One damage found in a file. The text is in Russian and begins with the
// program's own message for that kind of damage where it has one.
struct DbProblem {
  int table = 0;  // 0: the file as a whole
  std::string text;
};

// More problems than this in one table are summed up in one line: past that
// point they are mostly echoes of the first.
inline constexpr std::size_t kMaxProblemsPerTable = 20;

// The problems of one table, appended to `out` up to kMaxProblemsPerTable and
// then closed by the one line `summary`.
class TableProblems {
 public:
  TableProblems(int table, std::string summary, std::vector<DbProblem>& out)
      : table_(table), summary_(std::move(summary)), out_(out) {}

  void Add(std::string text);
  bool Full() const { return full_; }

 private:
  int table_;
  std::string summary_;
  std::vector<DbProblem>& out_;
  std::size_t count_ = 0;
  bool full_ = false;
};

// One descriptor in use.
struct DbTableInfo {
  int number = 0;
  int slotLength = 0;   // as stored; a record has slotLength - 4 data bytes
  int recordCount = 0;  // from the descriptor
  int rootPage = 0;     // the root index page, or the raw block's page
  int levels = 0;       // 1 or 2; 0 for a raw block or a root that cannot tell
  bool rawBlock = false;
};

struct DbRecord {
  std::int32_t key = 0;
  std::vector<std::uint8_t> data;
};

struct DbTableContents {
  std::vector<DbRecord> records;  // in key order, as far as they could be read
  std::vector<DbProblem> problems;
};

struct DbRawBlock {
  std::vector<std::uint8_t> bytes;  // the whole page; never-written bytes are zero
  std::vector<DbProblem> problems;
};

// Which signature a file name calls for: LVN and ~LVN a model, SPR and ~SPR a
// reference book (in any letter case); nothing for any other extension.
std::optional<db::FileKind> FileKindFromPath(std::string_view path);

class DbReader {
 public:
  // Reads and checks the header. `expected` names the signature the file must
  // carry; without it either signature is accepted.
  DbReader(RandomAccessFile& file, std::optional<db::FileKind> expected);

  // False when the header is unreadable or carries the wrong signature; the
  // reader then lists no tables and reads nothing.
  bool Accepted() const { return accepted_; }
  // The kind the signature names, when it names one.
  std::optional<db::FileKind> Kind() const { return kind_; }
  // The page count the reader works with: the header's, or, when that is out
  // of range, the one the engine rebuilds from the file size.
  int PageCount() const { return pageCount_; }
  // Damage found in the header itself.
  const std::vector<DbProblem>& HeaderProblems() const { return headerProblems_; }

  // Every descriptor in use, by table number.
  std::vector<DbTableInfo> Tables();

  // The records of table t in key order, with the problems met on the way.
  DbTableContents ReadTable(int table);

  // The page of raw block t.
  DbRawBlock ReadRawBlock(int table);

  // Walks every table and raw block and returns every problem of the file,
  // the header's first.
  std::vector<DbProblem> Check();

 private:
  void ReadHeader(std::optional<db::FileKind> expected);

  RandomAccessFile& file_;
  std::array<std::uint8_t, db::kPageSize> header_{};
  bool accepted_ = false;
  std::optional<db::FileKind> kind_;
  int pageCount_ = 0;
  std::vector<DbProblem> headerProblems_;
};

}  // namespace kordavelt
