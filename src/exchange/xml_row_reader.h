#pragma once

// Reads the rows of an XML exchange file with expat, a piece of the file at a
// time. The root element may have any name; every element under it is a
// row named by its tag, whose fields are its attributes and its child
// elements (name and text). Deeper elements are skipped.
//
// Files may declare Windows-1251 or UTF-8; names and values come out in
// UTF-8 with entities resolved. Damaged and hostile files end reading with
// an error text: document type declarations are refused (no entity
// expansion), and a value, a row, the nesting depth and the input held
// unparsed are bounded.

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "exchange/text_file.h"
#include "storage/file_layer.h"

namespace kordavelt {

struct XmlRow {
  std::string name;
  std::vector<std::pair<std::string, std::string>> fields;  // name, value, in file order
  int line = 0;                                             // where its start tag stands, from 1
};

class XmlRowReader {
 public:
  static constexpr std::size_t kMaxValueBytes = 64 * 1024;
  static constexpr std::size_t kMaxRowBytes = 1024 * 1024;
  static constexpr std::size_t kMaxRowFields = 4096;
  static constexpr int kMaxDepth = 256;
  // The most input held without the parser reporting anything.
  static constexpr std::size_t kMaxPendingBytes = 2 * kMaxRowBytes;

  enum class Status { Row, End, Error };

  XmlRowReader();
  ~XmlRowReader();
  XmlRowReader(const XmlRowReader&) = delete;
  XmlRowReader& operator=(const XmlRowReader&) = delete;

  // Opens the file and reads up to its root element. False, with ErrorText,
  // when it cannot be read or has no root element.
  bool Open(FileSystem& fileSystem, const std::string& path);
  // Reads from bytes in memory instead of a file.
  bool OpenBytes(std::string bytes);

  // The next row, without taking it (Row), the end of the file, or an error.
  Status Peek(const XmlRow** row);
  // Takes the row Peek gave.
  void Pop();

  // True when the XML declaration names a UTF encoding.
  bool Utf8() const;
  // The name of the root element ("Model" in a model exchange file).
  const std::string& RootName() const;
  const std::string& ErrorText() const;

 private:
  struct State;
  bool Feed();
  bool Start();

  std::unique_ptr<State> state_;
};

}  // namespace kordavelt
