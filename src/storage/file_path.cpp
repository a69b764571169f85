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

}  // namespace kordavelt
