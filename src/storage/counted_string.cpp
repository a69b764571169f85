#include "storage/counted_string.h"

#include <algorithm>

#include "base/cp1251.h"

namespace kordavelt {

std::string ReadCountedString(ConstBytes record, std::size_t offset, std::size_t capacity) {
  if (!Fits(record.size(), offset, 1)) return {};
  std::size_t length = std::min<std::size_t>(record[offset], capacity);
  length = std::min(length, record.size() - offset - 1);
  const auto* text = reinterpret_cast<const char*>(record.data() + offset + 1);
  return Cp1251ToUtf8(std::string_view(text, length));
}

bool WriteCountedString(Bytes record, std::size_t offset, std::size_t capacity,
                        std::string_view utf8) {
  if (capacity > 255 || !Fits(record.size(), offset, capacity + 1)) return false;
  const std::string bytes = Utf8ToCp1251(utf8);
  const std::size_t length = std::min(bytes.size(), capacity);
  record[offset] = static_cast<std::uint8_t>(length);
  std::copy_n(bytes.begin(), length, record.begin() + static_cast<std::ptrdiff_t>(offset) + 1);
  return true;
}

}  // namespace kordavelt
