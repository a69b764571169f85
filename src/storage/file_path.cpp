#include "storage/file_path.h"

namespace kordavelt {

std::size_t FileNameStart(std::string_view path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? 0 : slash + 1;
}

std::string FolderOf(std::string_view path) {
  return std::string(path.substr(0, FileNameStart(path)));
}

std::string FileNameOf(std::string_view path) {
  return std::string(path.substr(FileNameStart(path)));
}

std::string WithExtension(std::string_view path, std::string_view extension) {
  const std::size_t dot = path.rfind('.');
  const bool hasExtension = dot != std::string_view::npos && dot >= FileNameStart(path);
  return std::string(hasExtension ? path.substr(0, dot) : path) + "." + std::string(extension);
}

std::string BackupPathOf(std::string_view path, std::string_view extension) {
  return WithExtension(path, "~" + std::string(extension));
}

}  // namespace kordavelt
