#pragma once

// File dialog filters are written as the program has always written them:
// "description|pattern|description|pattern", several patterns of one entry
// separated by ';', for example "Базы данных (*.LVN)|*.LVN".

#include <string>
#include <string_view>
#include <vector>

namespace kordavelt {

struct FileFilterEntry {
  std::string description;
  std::vector<std::string> patterns;  // "*.LVN", "*.*"
};

// A description without its pair keeps an empty pattern list.
std::vector<FileFilterEntry> ParseFileFilter(std::string_view filter);

// The same entries in Qt's form: "Базы данных (*.LVN);;Все файлы (*.*)". A
// description that names no pattern in parentheses gets them appended.
std::string ToQtFileFilter(std::string_view filter);

}  // namespace kordavelt
