#include "refbook/value_list.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/number_format.h"

namespace kordavelt {
namespace {

// The most slots ParseValueList fills.
constexpr int kMaxSlots = 21;

bool IsSeparator(char c) { return c == ';' || c == ',' || c == '#' || c == '_'; }

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A slot value: a decimal number that fits a float, else 0.
float SlotValue(std::string_view item) {
  double value = 0;
  if (!ParseNumber(item, value) || !std::isfinite(value) ||
      std::fabs(value) > std::numeric_limits<float>::max()) {
    return 0.0f;
  }
  return static_cast<float>(value);
}

}  // namespace

bool IsValueRange(const std::vector<float>& slots) {
  return slots.size() >= 3 && slots[1] == 0 && slots[2] > 0;
}

std::vector<float> ValueListValues(const std::vector<float>& slots) {
  if (IsValueRange(slots)) return {slots[0], slots[2]};
  std::vector<float> values;
  for (float slot : slots) {
    if (!(slot > 0)) break;
    values.push_back(slot);
  }
  return values;
}

std::string FormatValueList(const std::vector<float>& slots, std::string_view sep) {
  if (IsValueRange(slots)) return FormatNumber(slots[0]) + "-" + FormatNumber(slots[2]);
  std::string text;
  for (float value : ValueListValues(slots)) {
    if (!text.empty()) text += sep;
    text += FormatNumber(value);
  }
  return text;
}

std::vector<float> ParseValueList(std::string_view text, int slotCount) {
  std::vector<float> slots(static_cast<std::size_t>(std::clamp(slotCount, 0, kMaxSlots)), 0.0f);
  if (slots.empty()) return slots;
  text = Trimmed(text);
  if (!text.empty() && IsSeparator(text.back())) text.remove_suffix(1);

  const std::size_t dash = text.find('-');
  if (dash != std::string_view::npos) {
    slots[0] = SlotValue(text.substr(0, dash));
    if (slots.size() >= 3) slots[2] = SlotValue(text.substr(dash + 1));
    return slots;
  }

  // Repeated separators count as one; an item that is no number reads 0.
  std::size_t filled = 0;
  while (!text.empty() && filled < slots.size()) {
    std::size_t end = 0;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    const std::string_view item = text.substr(0, end);
    if (!Trimmed(item).empty()) slots[filled++] = SlotValue(item);
    text.remove_prefix(std::min(end + 1, text.size()));
  }
  return slots;
}

}  // namespace kordavelt
