#include "base/number_list.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "base/dial_list.h"
#include "base/math_box.h"
#include "base/number_format.h"

namespace kordavelt {

namespace {

constexpr int kMaxIndex = 255;

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Calls visit(item) for the items of a '#'-list in order until it returns false.
template <typename Visit>
void ForEachItem(std::string_view list, Visit visit) {
  while (true) {
    const std::size_t hash = list.find('#');
    if (!visit(list.substr(0, hash)) || hash == std::string_view::npos) return;
    list.remove_prefix(hash + 1);
  }
}

// A double narrowed to float, out-of-range values becoming ±infinity
// (the plain conversion of such a value is undefined).
float ToFloat(double value) {
  constexpr double kMax = std::numeric_limits<float>::max();
  if (value > kMax) return std::numeric_limits<float>::infinity();
  if (value < -kMax) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// The standard decimal conversion; 0 for anything that is not a number.
float ItemValue(std::string_view item) {
  double value = 0;
  return ParseNumber(item, value) ? ToFloat(value) : 0.0f;
}

// Brings a typed list to '#'-list form: trimmed, one trailing separator
// dropped, and either every separator turned into a single '#' or, when the
// text holds a '-', the first '-' turned into "#0#" (a range a-b reads as a, 0, b).
std::string NormalisedList(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && std::string_view(";,#-_").find(text.back()) != std::string_view::npos) {
    text.remove_suffix(1);
  }
  std::string list;
  const std::size_t dash = text.find('-');
  if (dash == std::string_view::npos) {
    for (char c : text) {
      const char mapped = (c == ';' || c == ',' || c == '_') ? '#' : c;
      if (mapped == '#' && !list.empty() && list.back() == '#') continue;
      list += mapped;
    }
  } else {
    list.append(text.substr(0, dash)).append("#0#").append(text.substr(dash + 1));
  }
  if (!list.empty() && list.front() == '#') list.erase(0, 1);
  return list;
}

// Position of the first value not below x, or the last position when x
// exceeds all values; values must not be empty.
std::size_t CeilingPosition(std::span<const float> values, long double x) {
  const auto found = std::lower_bound(values.begin(), values.end(), x,
                                      [](float value, long double key) { return value < key; });
  return std::min(static_cast<std::size_t>(found - values.begin()), values.size() - 1);
}

}  // namespace

void ListToNumbers(std::string_view text, std::span<float> numbers) {
  std::fill(numbers.begin(), numbers.end(), 0.0f);
  const std::size_t wanted = std::min<std::size_t>(numbers.size(), kMaxListNumbers);
  std::size_t i = 0;
  ForEachItem(NormalisedList(text), [&](std::string_view item) {
    if (i >= wanted) return false;
    numbers[i++] = ItemValue(item);
    return true;
  });
}

std::string NumbersToList(std::span<const float> numbers, char separator) {
  const std::size_t count = std::min<std::size_t>(numbers.size(), kMaxListNumbers);
  const auto at = [&](std::size_t i) -> long double { return i < count ? numbers[i] : 0.0f; };
  if (at(0) + at(1) == 0) return {};
  if (at(2) > 0 && at(1) == 0) {
    return FormatNumber(static_cast<double>(at(0))) + "-" +
           FormatNumber(static_cast<double>(at(2)));
  }
  std::string list = FormatNumber(numbers[0]);
  for (std::size_t i = 1; i < count && numbers[i] > 0; ++i) {
    list += separator;
    list += FormatNumber(numbers[i]);
  }
  return list;
}

std::string NumbersToHashList(std::span<const float> numbers) {
  return "#" + NumbersToList(numbers, '#');
}

double ItemAsReal(std::string_view list, int index) {
  if (index <= 0) return 0;
  double value = 0;
  return ParseNumber(ListItem(list, index - 1), value) ? value : 0.0;
}

int ItemAsInteger(std::string_view list, int index) {
  if (index <= 0) return 0;
  int value = 0;
  return ParseInteger(ListItem(list, index - 1), value) ? value : 0;
}

std::vector<float> ItemsAsReals(std::string_view list) {
  std::vector<float> values;
  values.reserve(static_cast<std::size_t>(ListCount(list)));
  ForEachItem(list, [&](std::string_view item) {
    values.push_back(ItemValue(item));
    return true;
  });
  return values;
}

int NearestIndex(std::span<const float> values, long double x) {
  if (values.empty()) return 0;
  std::size_t position = CeilingPosition(values, x);
  if (position > 0 && x - values[position - 1] < std::fabs(values[position] - x)) --position;
  return static_cast<int>(std::min<std::size_t>(position + 1, kMaxIndex));
}

int NearestIndex(std::string_view list, long double x) {
  return NearestIndex(ItemsAsReals(list), x);
}

int CeilingIndex(std::span<const float> values, long double x) {
  if (values.empty()) return 0;
  return static_cast<int>(CeilingPosition(values, x) + 1);
}

int CeilingIndex(std::string_view list, long double x) {
  return CeilingIndex(ItemsAsReals(list), x);
}

long double InterpolateInLists(std::span<const float> xs, std::span<const float> ys,
                               long double x) {
  const std::size_t count = std::min(xs.size(), ys.size());
  if (count == 0) return 0;
  if (count == 1) return ys[0];
  std::size_t i = 0;
  while (i < count && xs[i] < x) ++i;
  // Below the first point the first segment is extended, above the last the last one.
  i = std::clamp<std::size_t>(i, 1, count - 1);
  return Interpolate(ys[i], ys[i - 1], xs[i], xs[i - 1], x);
}

long double InterpolateInLists(std::string_view xs, std::string_view ys, long double x) {
  return InterpolateInLists(ItemsAsReals(xs), ItemsAsReals(ys), x);
}

int IndexOfText(std::string_view text, std::string_view list) {
  int index = 0;
  int found = kTextAbsent;
  ForEachItem(list, [&](std::string_view item) {
    if (item == text) {
      found = index;
      return false;
    }
    ++index;
    return true;
  });
  return found;
}

}  // namespace kordavelt
