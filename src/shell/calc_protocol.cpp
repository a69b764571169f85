#include "shell/calc_protocol.h"

#include <array>
#include <ctime>
#include <memory>
#include <vector>

#include "base/cp1251.h"
#include "shell/text_files.h"
#include "storage/file_layer.h"
#include "storage/file_replace.h"

namespace kordavelt {
namespace {

std::vector<std::uint8_t> Cp1251Bytes(std::string_view utf8) {
  const std::string text = Utf8ToCp1251(utf8);
  return {text.begin(), text.end()};
}

// The file holds the program's protocol (or nothing): it may be written over.
bool OursToReplace(FileSystem& files, const std::string& path) {
  const std::unique_ptr<RandomAccessFile> file = files.Open(path, OpenMode::ReadOnly);
  if (file == nullptr) return !files.Exists(path);
  const std::vector<std::uint8_t> heading = Cp1251Bytes(kProtocolTitle);
  std::vector<std::uint8_t> start(heading.size());
  const std::int64_t read = file->ReadAt(0, Bytes(start));
  if (read == 0) return true;
  return read == static_cast<std::int64_t>(start.size()) && start == heading;
}

}  // namespace

std::string CalcProtocolText(std::string_view modelPath, std::string_view when,
                             std::string_view statusLine) {
  constexpr std::string_view kEnd = "\r\n";
  std::string text(kProtocolTitle);
  text += kEnd;
  text += "Модель: " + std::string(modelPath) + std::string(kEnd);
  text += "Расчет: " + std::string(when) + std::string(kEnd);
  text += std::string(statusLine) + std::string(kEnd);
  return text;
}

bool WriteCalcProtocol(FileSystem& files, const std::string& modelPath, std::string_view when,
                       std::string_view statusLine) {
  const std::string path = ProtocolFilePath(modelPath);
  if (!OursToReplace(files, path)) return false;
  const std::vector<std::uint8_t> bytes =
      Cp1251Bytes(CalcProtocolText(modelPath, when, statusLine));
  if (ReplaceFile(files, path, bytes) == 0) return true;
  files.Remove(path);
  return false;
}

std::string LocalTimeText() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return {};
  std::array<char, 32> text{};
  const std::size_t length = std::strftime(text.data(), text.size(), "%d.%m.%Y %H:%M", &local);
  return std::string(text.data(), length);
}

}  // namespace kordavelt
