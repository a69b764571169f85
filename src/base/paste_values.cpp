#include "base/paste_values.h"

#include <cmath>
#include <limits>

#include "base/dial_list.h"
#include "base/number_format.h"

namespace kordavelt {
namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

// A decimal integer, or a decimal number cut to its integer part.
bool ToInt(std::string_view text, std::int32_t& value) {
  int integer = 0;
  if (ParseInteger(text, integer)) {
    value = integer;
    return true;
  }
  double real = 0;
  if (!ParseNumber(text, real) || !std::isfinite(real)) return false;
  real = std::trunc(real);
  if (real < std::numeric_limits<std::int32_t>::min() ||
      real > std::numeric_limits<std::int32_t>::max()) {
    return false;
  }
  value = static_cast<std::int32_t>(real);
  return true;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::int32_t GetInt(std::string_view record, int i) {
  std::int32_t value = 0;
  return ToInt(TrimBlanks(ListItem(record, i)), value) ? value : 0;
}

double GetReal(std::string_view record, int i) {
  double value = 0;
  return ParseNumber(TrimBlanks(ListItem(record, i)), value) && std::isfinite(value) ? value : 0;
}

bool GetBool(std::string_view record, int i) {
  // Trimmed, so that a quoted field read back as " Да " still counts.
  const std::string item(TrimBlanks(ListItem(record, i)));
  if (item.empty()) return false;
  for (std::string_view yes : {"Y", "D", "T", "Д", "И"}) {
    if (item.starts_with(yes)) return true;
  }
  return false;
}

std::string GetStr(std::string_view record, int i) {
  return std::string(TrimBlanks(ListItem(record, i)));
}

std::int32_t GetCode(std::string_view record, int i, int shift) {
  const std::string item = ListItem(record, i);
  const std::string_view text = TrimBlanks(item);
  const std::size_t dot = text.find('.');
  if (dot == std::string_view::npos) {
    std::int32_t value = 0;
    return ToInt(text, value) ? value : 0;
  }
  std::int32_t high = 0;
  std::int32_t low = 0;
  if (!ToInt(text.substr(0, dot), high)) high = 0;
  if (!ToInt(text.substr(dot + 1), low)) low = 0;
  if (shift < 0 || shift > 31) shift = 0;
  // In unsigned arithmetic: a damaged key wraps instead of overflowing.
  const std::uint32_t code =
      (static_cast<std::uint32_t>(high) << shift) + static_cast<std::uint32_t>(low);
  return static_cast<std::int32_t>(code);
}

int GetIndex(std::string_view record, int i, std::string_view choices) {
  const std::string item(TrimBlanks(ListItem(record, i)));
  const int count = ListCount(choices);
  for (int k = 0; k < count; ++k) {
    if (ListItem(choices, k) == item) return k;
  }
  return kNoIndex;
}

}  // namespace kordavelt
