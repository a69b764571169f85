#include "storage/file_errors.h"

#include <cerrno>

namespace kordavelt {

std::string FileErrorText(int error) {
  switch (-error) {
    case ENOENT:
      return "Файл не найден";
    case EISDIR:
      return "Это папка, а не файл";
    case ENOTDIR:
      return "Часть пути не является папкой";
    case EACCES:
    case EPERM:
      return "Нет доступа к файлу или его папке";
    case EROFS:
      return "Диск только для чтения";
    case EBADF:
      return "Файл открыт только для чтения";
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return "Нет места на диске";
    case EFBIG:
      return "Файл слишком велик";
    case EBUSY:
      return "Файл открыт для записи другой программой";
    case EIO:
      return "Ошибка ввода-вывода";
    case ENAMETOOLONG:
      return "Слишком длинное имя файла";
    case EINVAL:
      return "Это не обычный файл";
    default:
      return "Ошибка файла, код " + std::to_string(-error);
  }
}

}  // namespace kordavelt
