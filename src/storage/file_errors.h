#pragma once

// What the error codes of the file layer (negated errno values) mean to the
// engineer, in the program's words: "Нет места на диске" rather than a
// read error that might be the network's fault.

#include <string>

namespace kordavelt {

// The text of a negative error code ("Файл не найден", "Это папка, а не
// файл", "Нет доступа к файлу" ...); a code it does not know is named by
// its number.
std::string FileErrorText(int error);

}  // namespace kordavelt
