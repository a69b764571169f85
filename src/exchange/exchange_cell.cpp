#include "exchange/exchange_cell.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>

#include "base/number_format.h"
#include "base/paste_values.h"

namespace kordavelt {
namespace {

constexpr std::string_view kEmpty = "пустое значение";
constexpr std::string_view kNotNumber = "не число";
constexpr std::string_view kNotInteger = "не целое число";
constexpr std::string_view kBeyondDouble = "вне диапазона чисел";

bool IsNumberCharacter(char c) {
  return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E';
}

// A decimal number too large (or too small) for double: "1e309" is a number
// the engineer wrote, not a word, and is told so.
bool BeyondDouble(std::string_view text) {
  for (char c : text) {
    if (!IsNumberCharacter(c)) return false;
  }
  if (text.size() > 1 && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc::result_out_of_range && end == text.data() + text.size();
}

std::string OutOfRange(double value, std::int64_t min, std::int64_t max) {
  // Keys that may be 0 or negative (found by designation) have only a top.
  constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
  constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
  if (min == kInt32Min && max < kInt32Max && value > static_cast<double>(max))
    return "больше " + std::to_string(max);
  return "вне диапазона " + std::to_string(min) + "…" + std::to_string(max);
}

}  // namespace

std::string CheckNumberCell(std::string_view text, double& value) {
  const std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty()) return std::string(kEmpty);
  double parsed = 0;
  if (!ParseNumber(trimmed, parsed) || !std::isfinite(parsed))
    return std::string(BeyondDouble(trimmed) ? kBeyondDouble : kNotNumber);
  value = parsed;
  return {};
}

std::string CheckIntegerCell(std::string_view text, std::int64_t min, std::int64_t max,
                             std::int64_t& value) {
  double real = 0;
  std::string reason = CheckNumberCell(text, real);
  if (!reason.empty()) return reason;
  if (real != std::trunc(real)) return std::string(kNotInteger);
  if (real < static_cast<double>(min) || real > static_cast<double>(max))
    return OutOfRange(real, min, max);
  value = static_cast<std::int64_t>(real);
  return {};
}

std::string CheckFloatCell(std::string_view text) {
  double real = 0;
  std::string reason = CheckNumberCell(text, real);
  if (!reason.empty()) return reason;
  if (std::fabs(real) > static_cast<double>(FLT_MAX)) return "вне диапазона ±3.4E+38";
  return {};
}

std::string CheckCodeCell(std::string_view text, const CodeForm& form, std::int64_t& code) {
  const std::string_view trimmed = TrimBlanks(text);
  const std::size_t dot = trimmed.find('.');
  if (dot == std::string_view::npos) {
    const std::int64_t largest = (form.highMax << form.shift) + form.lowMax;
    return CheckIntegerCell(trimmed, std::numeric_limits<std::int32_t>::min(), largest, code);
  }
  std::int64_t high = 0;
  std::int64_t low = 0;
  std::string reason = CheckIntegerCell(trimmed.substr(0, dot), 0, form.highMax, high);
  if (!reason.empty()) return std::string(form.highName) + ": " + reason;
  reason = CheckIntegerCell(trimmed.substr(dot + 1), 0, form.lowMax, low);
  if (!reason.empty()) return std::string(form.lowName) + ": " + reason;
  code = (high << form.shift) + low;
  return {};
}

}  // namespace kordavelt
