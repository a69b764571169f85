#include "base/dial_list.h"

#include <algorithm>

#include "base/cp1251.h"

namespace kordavelt {

std::string ListItem(std::string_view list, int index) {
  if (index < 0) return {};
  std::size_t start = 0;
  for (int i = 0; i < index; ++i) {
    const std::size_t hash = list.find('#', start);
    if (hash == std::string_view::npos) return {};
    start = hash + 1;
  }
  const std::size_t end = list.find('#', start);
  return std::string(list.substr(start, end == std::string_view::npos ? list.npos : end - start));
}

int ListCount(std::string_view list) {
  return static_cast<int>(std::count(list.begin(), list.end(), '#')) + 1;
}

int ListMaxLength(std::string_view list) {
  std::size_t longest = 1;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = list.find('#', start);
    const std::string_view item = list.substr(start, end == list.npos ? list.npos : end - start);
    longest = std::max(longest, Utf8Length(item));
    if (end == list.npos) break;
    start = end + 1;
  }
  return static_cast<int>(longest);
}

std::string ListItemByFlag(bool flag, std::string_view list) {
  return ListItem(list, flag ? 0 : 1);
}

std::string AppendItemByFlag(bool flag, std::string_view list) {
  std::string cell = "#";
  cell += ListItemByFlag(flag, list);
  return cell;
}

}  // namespace kordavelt
