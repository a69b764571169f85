#include "base/number_format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace kordavelt {

int Digits = 5;
float MinNull = 1.0e-6f;

namespace {

constexpr int kMaxPrecision = 11;
constexpr int kDecimalDigits = 17;  // enough to tell any two doubles apart

// Writes |x| with `precision` significant digits in the general format: plain
// notation for decimal exponents -5 ... precision - 1, scientific otherwise,
// trailing zeros and a trailing point removed. A tie in the digit after the
// last kept one rounds away from zero, as an engineer rounds by hand.
std::string FormatGeneral(double magnitude, int precision) {
  // to_chars, unlike printf, ignores the process locale: d.dddddddddddddddde[+-]xx
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                     std::chars_format::scientific, kDecimalDigits - 1);
  const std::string_view scientific(buffer, written.ptr - buffer);
  const std::size_t e = scientific.find('e');
  std::string digits;
  for (char c : scientific.substr(0, e)) {
    if (c != '.') digits += c;
  }
  int exponent = 0;
  std::string_view exponentText = scientific.substr(e + 1);
  if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

  if (digits[precision] >= '5') {
    int i = precision - 1;
    for (; i >= 0 && digits[i] == '9'; --i) digits[i] = '0';
    if (i >= 0) {
      ++digits[i];
    } else {
      digits.insert(digits.begin(), '1');
      ++exponent;
    }
  }
  digits.resize(precision);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const int kept = static_cast<int>(digits.size());

  std::string out;
  if (exponent >= -5 && exponent <= precision - 1) {
    if (exponent >= 0) {
      for (int i = 0; i <= exponent; ++i) out += i < kept ? digits[i] : '0';
      if (kept > exponent + 1) out += "." + digits.substr(exponent + 1);
    } else {
      out = "0." + std::string(-exponent - 1, '0') + digits;
    }
  } else {
    out += digits[0];
    if (kept > 1) out += "." + digits.substr(1);
    out += exponent < 0 ? "E-" : "E+";
    out += std::to_string(std::abs(exponent));
  }
  return out;
}

}  // namespace

std::string FormatNumber(double x) {
  if (std::isnan(x)) return "NAN";
  if (std::isinf(x)) return x > 0 ? "INF" : "-INF";
  const double magnitude = std::fabs(x);
  if (magnitude == 0.0 || magnitude < 0.999 * static_cast<double>(MinNull)) return "0";

  // Digits before the decimal point, estimated with the factor 0.4343 as the
  // program always has; nearbyint rounds half to even in the default mode.
  const int integerDigits = static_cast<int>(std::nearbyint(std::log(magnitude) * 0.4343 + 0.505));
  int precision = integerDigits < 0 ? 3 : std::max(integerDigits, Digits);
  precision = std::clamp(precision, 1, kMaxPrecision);

  const std::string text = FormatGeneral(magnitude, precision);
  return x < 0 ? "-" + text : text;
}

namespace {

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// from_chars takes no leading '+'; a sign followed by another sign is not a number.
std::string_view WithoutPlus(std::string_view text) {
  if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
    text.remove_prefix(1);
  return text;
}

}  // namespace

bool ParseNumber(std::string_view text, double& value) {
  text = WithoutPlus(Trimmed(text));
  if (text.empty()) return false;
  // Only decimal notation: no "inf", "nan" or hexadecimal forms.
  for (char c : text) {
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
          c == 'e' || c == 'E')) {
      return false;
    }
  }
  double parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

bool ParseInteger(std::string_view text, int& value) {
  text = WithoutPlus(Trimmed(text));
  int parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

std::string AppendNumber(double x) { return "#" + FormatNumber(x); }

std::string FormatSignedNumber(double x) {
  std::string text = FormatNumber(x);
  if (x > 0 && text != "0") text.insert(text.begin(), '+');
  return text;
}

std::string FormatCode(std::int32_t code, int shift) {
  if (code == 0) return {};
  // Keys are positive; a negative key (a branch walked against its direction)
  // shows its parts with a leading minus rather than as a bit pattern.
  const std::int64_t magnitude = std::abs(static_cast<std::int64_t>(code));
  const std::int64_t high = magnitude >> shift;
  const std::int64_t low = magnitude - (high << shift);
  const std::string text =
      FormatNumber(static_cast<double>(high)) + "." + FormatNumber(static_cast<double>(low));
  return code < 0 ? "-" + text : text;
}

std::string AppendCode(std::int32_t code, int shift) {
  return code == 0 ? "#" : "#" + FormatCode(code, shift);
}

}  // namespace kordavelt
