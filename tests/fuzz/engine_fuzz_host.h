#pragma once

// What the engine's fuzz target puts around the engine: a UiHost that closes
// every window (the closing answer of every question) and keeps nothing, and
// an in-memory file system that fails reads and writes on request.

#include <cerrno>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "storage/file_layer.h"
#include "ui/ui_host.h"

namespace kordavelt::fuzz {

class NoProgress final : public ProgressWindow {
 public:
  void SetText(std::string_view) override {}
  void SetProgress(int, int) override {}
  bool Cancelled() override { return false; }
};

class QuietUi final : public UiHost {
 public:
  // The next question with two or more buttons gets its second button.
  void PressSecondButtonNext() { secondButton_ = true; }
  void ForgetAnswers() { secondButton_ = false; }
  int Dialogs() const { return dialogs_; }

  int ShowDialog(std::string_view, std::string_view, std::string_view buttons, IconKind) override {
    ++dialogs_;
    if (secondButton_ && buttons.find('#') != std::string_view::npos) {
      secondButton_ = false;
      return kFirstButton + 1;
    }
    return kAnswerCancel;  // the window closed without a button
  }
  bool InputText(std::string_view, std::string_view, std::string&, int) override { return false; }
  int ChooseFromList(std::string_view, std::string_view, int initial) override { return initial; }
  bool ChooseColour(Color&) override { return false; }
  bool ChooseFont(FontChoice&) override { return false; }
  int ChooseSymbol(std::string_view, int, const SymbolPainter&) override { return 0; }
  std::optional<std::string> AskOpenFileName(const FileDialogRequest&) override {
    return std::nullopt;
  }
  // Packing asks where to write the copy: a new fixed name each time.
  std::optional<std::string> AskSaveFileName(const FileDialogRequest& request) override {
    return "packed" + std::to_string(++saves_) + "." + request.defaultExtension;
  }
  std::string ClipboardText() override { return {}; }
  void SetClipboardText(std::string_view) override {}
  std::unique_ptr<ProgressWindow> OpenProgress(std::string_view, std::string_view) override {
    return std::make_unique<NoProgress>();
  }
  void Beep() override {}
  bool ShowTableDialog(TableOwner&, TableForm&, std::string_view) override { return false; }

 private:
  bool secondButton_ = false;
  int dialogs_ = 0;
  int saves_ = 0;
};

// Files in memory that fail on request, and past a size limit as on a full
// disk; every failure is noted.

struct Faults {
  int failReads = 0;
  int failWrites = 0;
  bool happened = false;  // some call failed since the run began
};

class FaultyFile final : public RandomAccessFile {
 public:
  // Writes past this offset fail: it keeps every run of the fuzzer small.
  static constexpr std::uint64_t kMaxBytes = 4u << 20;

  FaultyFile(std::unique_ptr<RandomAccessFile> file, Faults& faults)
      : file_(std::move(file)), faults_(faults) {}

  std::int64_t Size() override { return file_->Size(); }
  std::int64_t ReadAt(std::uint64_t offset, Bytes buffer) override {
    if (faults_.failReads > 0) {
      --faults_.failReads;
      faults_.happened = true;
      return -EIO;
    }
    return file_->ReadAt(offset, buffer);
  }
  std::int64_t WriteAt(std::uint64_t offset, ConstBytes data) override {
    if (faults_.failWrites > 0 || offset + data.size() > kMaxBytes) {
      if (faults_.failWrites > 0) --faults_.failWrites;
      faults_.happened = true;
      return -ENOSPC;
    }
    return file_->WriteAt(offset, data);
  }
  int Flush() override { return file_->Flush(); }

 private:
  std::unique_ptr<RandomAccessFile> file_;
  Faults& faults_;
};

class FaultyFileSystem final : public FileSystem {
 public:
  MemoryFileSystem& Memory() { return memory_; }
  Faults& Fault() { return faults_; }
  const Faults& Fault() const { return faults_; }

  std::unique_ptr<RandomAccessFile> Open(const std::string& path, OpenMode mode) override {
    std::unique_ptr<RandomAccessFile> file = memory_.Open(path, mode);
    if (file == nullptr) return nullptr;
    return std::make_unique<FaultyFile>(std::move(file), faults_);
  }
  bool Exists(const std::string& path) override { return memory_.Exists(path); }
  std::int64_t FileSize(const std::string& path) override { return memory_.FileSize(path); }
  bool Remove(const std::string& path) override { return memory_.Remove(path); }
  bool Rename(const std::string& from, const std::string& to) override {
    return memory_.Rename(from, to);
  }
  bool Copy(const std::string& from, const std::string& to) override {
    return memory_.Copy(from, to);
  }

 private:
  MemoryFileSystem memory_;
  Faults faults_;
};

}  // namespace kordavelt::fuzz
