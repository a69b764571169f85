#include "exchange/text_file.h"

#include <algorithm>
#include <cerrno>

namespace kordavelt {
namespace {

constexpr std::size_t kWriteBuffer = 64 * 1024;
constexpr std::size_t kReadBuffer = 64 * 1024;

}  // namespace

TextFileWriter::~TextFileWriter() {
  // Never closed: the temporary file goes, the target stays as it was.
  replacement_.reset();
}

bool TextFileWriter::Open(FileSystem& fileSystem, const std::string& path, bool append) {
  Close();
  failed_ = false;
  error_ = 0;
  offset_ = 0;
  if (append && fileSystem.Exists(path)) {
    appended_ = fileSystem.Open(path, OpenMode::ReadWrite);
    if (appended_ == nullptr) {
      const int error = fileSystem.AccessError(path, OpenMode::ReadWrite);
      Fail(error != 0 ? error : -EIO);
      return false;
    }
    const std::int64_t size = appended_->Size();
    if (size < 0) {
      appended_.reset();
      Fail(static_cast<int>(size));
      return false;
    }
    offset_ = static_cast<std::uint64_t>(size);
    file_ = appended_.get();
    return true;
  }
  replacement_ = std::make_unique<ReplacementFile>(fileSystem, path);
  if (const int error = replacement_->Open(); error != 0) {
    replacement_.reset();
    Fail(error);
    return false;
  }
  file_ = replacement_->File();
  return true;
}

void TextFileWriter::Fail(int error) {
  failed_ = true;
  if (error_ == 0) error_ = error;
}

void TextFileWriter::WriteLine(std::string_view bytes) {
  if (file_ == nullptr || failed_) return;
  buffer_.append(bytes);
  buffer_.append("\r\n");
  if (buffer_.size() >= kWriteBuffer) FlushBuffer();
}

void TextFileWriter::FlushBuffer() {
  if (file_ == nullptr || buffer_.empty()) return;
  if (!failed_) {
    const ConstBytes data(reinterpret_cast<const std::uint8_t*>(buffer_.data()), buffer_.size());
    const std::int64_t written = file_->WriteAt(offset_, data);
    if (written != static_cast<std::int64_t>(buffer_.size())) {
      Fail(written < 0 ? static_cast<int>(written) : -EIO);
    } else {
      offset_ += buffer_.size();
    }
  }
  buffer_.clear();
}

bool TextFileWriter::Close() {
  if (file_ == nullptr) return !failed_;
  FlushBuffer();
  file_ = nullptr;
  if (appended_ != nullptr) {
    if (!failed_) {
      if (const int error = appended_->Flush(); error != 0) Fail(error);
    }
    appended_.reset();
  } else if (replacement_ != nullptr) {
    if (!failed_) {
      if (const int error = replacement_->Commit(); error != 0) Fail(error);
    }
    replacement_.reset();
  }
  return !failed_;
}

bool TextFileReader::Open(FileSystem& fileSystem, const std::string& path) {
  Close();
  file_ = fileSystem.Open(path, OpenMode::ReadOnly);
  return file_ != nullptr;
}

void TextFileReader::Close() {
  file_.reset();
  offset_ = 0;
  buffer_.clear();
  position_ = 0;
  ended_ = false;
  failed_ = false;
  lineNumber_ = 0;
}

// Reads the next piece of the file into the buffer, dropping what was used.
bool TextFileReader::Fill() {
  if (file_ == nullptr || ended_ || failed_) return false;
  buffer_.erase(0, position_);
  position_ = 0;
  const std::size_t old = buffer_.size();
  buffer_.resize(old + kReadBuffer);
  const std::int64_t read = file_->ReadAt(
      offset_, Bytes(reinterpret_cast<std::uint8_t*>(buffer_.data()) + old, kReadBuffer));
  if (read < 0) {
    failed_ = true;
    buffer_.resize(old);
    return false;
  }
  buffer_.resize(old + static_cast<std::size_t>(read));
  offset_ += static_cast<std::uint64_t>(read);
  if (read == 0) ended_ = true;
  return read > 0;
}

TextFileReader::Status TextFileReader::ReadLine(std::string& line, std::size_t maxBytes) {
  line.clear();
  std::size_t scanned = position_;
  for (;;) {
    const std::size_t end = buffer_.find_first_of("\r\n", scanned);
    if (end != std::string::npos) {
      if (end - position_ > maxBytes) return Status::TooLong;
      // A CR at the end of the buffer may be the first half of CR LF.
      if (buffer_[end] == '\r' && end + 1 == buffer_.size() && !ended_) {
        const std::size_t start = position_;
        Fill();
        if (failed_) return Status::Error;
        scanned = end - start;
        continue;
      }
      line.assign(buffer_, position_, end - position_);
      position_ = end + 1;
      if (buffer_[end] == '\r' && position_ < buffer_.size() && buffer_[position_] == '\n') {
        ++position_;
      }
      ++lineNumber_;
      return Status::Line;
    }
    if (buffer_.size() - position_ > maxBytes) return Status::TooLong;
    scanned = buffer_.size() - position_;
    if (!Fill()) {
      if (failed_) return Status::Error;
      if (position_ >= buffer_.size()) return Status::End;
      // The last line has no line end.
      line.assign(buffer_, position_, std::string::npos);
      position_ = buffer_.size();
      ++lineNumber_;
      return Status::Line;
    }
    // Fill moved the unread text to the buffer's start.
  }
}

TextFileReader::Status TextFileReader::ReadChunk(std::string& chunk, std::size_t maxBytes) {
  chunk.clear();
  if (position_ >= buffer_.size() && !Fill()) return failed_ ? Status::Error : Status::End;
  const std::size_t take = std::min(maxBytes, buffer_.size() - position_);
  chunk.assign(buffer_, position_, take);
  position_ += take;
  return Status::Line;
}

}  // namespace kordavelt
