#pragma once

// Plain text files of the exchange formats, through a FileSystem: a buffered
// writer of CR LF ended lines and a reader of bounded lines and raw chunks.
// Both take and give bytes as they are in the file; encoding is the
// caller's business.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "storage/file_layer.h"
#include "storage/file_replace.h"

namespace kordavelt {

class TextFileWriter {
 public:
  ~TextFileWriter();

  // Opens `path` empty, or, with `append`, after its end (an absent file is
  // created). A new file is written under a temporary name and takes its
  // place only when Close succeeds: a failed or abandoned write leaves the
  // old file (or none) and no partial one. False when it cannot be opened.
  bool Open(FileSystem& fileSystem, const std::string& path, bool append);
  bool IsOpen() const { return file_ != nullptr; }
  // The negative error code of the last failure (opening or writing), 0 if none.
  int Error() const { return error_; }

  // Writes `bytes` and CR LF.
  void WriteLine(std::string_view bytes);
  // True once a write failed.
  bool Failed() const { return failed_; }

  // Writes what is buffered and closes; false when any write failed.
  bool Close();

 private:
  void FlushBuffer();
  void Fail(int error);

  std::unique_ptr<RandomAccessFile> appended_;
  std::unique_ptr<ReplacementFile> replacement_;
  RandomAccessFile* file_ = nullptr;  // one of the two above
  int error_ = 0;
  std::uint64_t offset_ = 0;
  std::string buffer_;
  bool failed_ = false;
};

class TextFileReader {
 public:
  enum class Status { Line, End, TooLong, Error };

  bool Open(FileSystem& fileSystem, const std::string& path);
  bool IsOpen() const { return file_ != nullptr; }
  void Close();

  // The next line without its line end (LF, CR LF, or a lone CR). A line
  // longer than `maxBytes` is not kept: TooLong, and reading should stop.
  Status ReadLine(std::string& line, std::size_t maxBytes);
  // The next piece of the file, at most `maxBytes`; empty at the end.
  Status ReadChunk(std::string& chunk, std::size_t maxBytes);

  // The number of the last line read, from 1.
  int LineNumber() const { return lineNumber_; }

 private:
  bool Fill();

  std::unique_ptr<RandomAccessFile> file_;
  std::uint64_t offset_ = 0;
  std::string buffer_;
  std::size_t position_ = 0;
  bool ended_ = false;
  bool failed_ = false;
  int lineNumber_ = 0;
};

}  // namespace kordavelt
