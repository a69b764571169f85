#include "shell/text_files.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "base/cp1251.h"
#include "exchange/export_variant.h"
#include "storage/file_layer.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

// The length of a UTF-8 sequence that starts with `lead`; 0 for a byte that
// cannot start one.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

// Whether the bytes after a lead byte continue a well-formed sequence
// (no overlong forms, no surrogates, nothing above U+10FFFF).
bool ValidSequence(std::string_view s) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  for (std::size_t i = 1; i < s.size(); ++i) {
    if ((byte(i) & 0xC0) != 0x80) return false;
  }
  if (s.size() < 2) return true;
  const unsigned char lead = byte(0);
  const unsigned char second = byte(1);
  if (lead == 0xE0) return second >= 0xA0;
  if (lead == 0xED) return second < 0xA0;
  if (lead == 0xF0) return second >= 0x90;
  if (lead == 0xF4) return second < 0x90;
  return true;
}

// The length of `text` without an incomplete last character when the rest
// is well-formed UTF-8 (`cut`: the text was cut off, so its last character
// may be incomplete); nothing when it is not UTF-8.
std::optional<std::size_t> WellFormedUtf8Length(std::string_view text, bool cut) {
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t length = SequenceLength(static_cast<unsigned char>(text[i]));
    if (length == 0) return std::nullopt;
    if (i + length > text.size()) {
      if (cut && ValidSequence(text.substr(i))) return i;
      return std::nullopt;
    }
    if (!ValidSequence(text.substr(i, length))) return std::nullopt;
    i += length;
  }
  return i;
}

std::string WithLineFeeds(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    result += text[i];
  }
  return result;
}

}  // namespace

std::string HelpFilePath(FileSystem& files, std::string_view programPath) {
  for (const std::string_view extension : {".hlp", ".htm", ".chp", ".doc"}) {
    std::string path = ChangeExtension(programPath, extension);
    if (files.Exists(path)) return path;
  }
  return {};
}

std::string ProtocolFilePath(std::string_view modelPath) {
  return ChangeExtension(modelPath, ".txt");
}

std::string NotesFilePath(std::string_view programPath) {
  return ChangeExtension(programPath, ".txt");
}

std::optional<std::string> ShowProtocolOrMessage(UiHost& ui, FileSystem& files,
                                                 std::string_view modelPath) {
  std::string path = ProtocolFilePath(modelPath);
  if (files.Exists(path)) return path;
  ui.ShowInfo("Просмотр протокола", "Протокол не создан!#Возможно, что расчет# не выполнялся");
  return std::nullopt;
}

std::optional<std::string> ShowHelpOrMessage(UiHost& ui, FileSystem& files,
                                             std::string_view programPath) {
  std::string path = HelpFilePath(files, programPath);
  if (!path.empty()) return path;
  ui.ShowInfo(kHelpTitle, "Файл справки " + ChangeExtension(programPath, ".htm") + " отсутствует");
  return std::nullopt;
}

std::optional<std::string> ShowNotesOrMessage(UiHost& ui, FileSystem& files,
                                              std::string_view programPath) {
  std::string path = NotesFilePath(programPath);
  if (files.Exists(path)) return path;
  ui.ShowInfo(kNotesTitle, "Файл " + path + " отсутствует" +
                               "#Он может содержать информацию об изменениях" +
                               "#в программе и/или замечания расчетчика ");
  return std::nullopt;
}

std::optional<std::string> ReadViewerText(FileSystem& files, const std::string& path) {
  const std::unique_ptr<RandomAccessFile> file = files.Open(path, OpenMode::ReadOnly);
  if (file == nullptr) return std::nullopt;
  const std::int64_t size = file->Size();
  if (size < 0) return std::nullopt;
  const bool cut = static_cast<std::uint64_t>(size) > kMaxViewerBytes;
  std::string bytes(cut ? kMaxViewerBytes : static_cast<std::size_t>(size), '\0');
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    const std::int64_t read = file->ReadAt(
        filled,
        Bytes(reinterpret_cast<std::uint8_t*>(bytes.data()) + filled, bytes.size() - filled));
    if (read < 0) return std::nullopt;
    if (read == 0) break;
    filled += static_cast<std::size_t>(read);
  }
  bytes.resize(filled);

  std::string_view text = bytes;
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  if (const std::optional<std::size_t> length = WellFormedUtf8Length(text, cut)) {
    return WithLineFeeds(text.substr(0, *length));
  }
  return WithLineFeeds(Cp1251ToUtf8(bytes));
}

}  // namespace kordavelt
