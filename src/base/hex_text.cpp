#include "base/hex_text.h"

#include <algorithm>

namespace kordavelt {
namespace {

constexpr std::size_t kMaxHexBytes = 128;
constexpr std::string_view kHexDigits = "0123456789ABCDEF";
constexpr std::string_view kBase36Digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// A lower-case digit counts as its upper-case form, and any other character as
// 0, so a mistyped cell never yields a byte built from a negative value.
int HexDigitValue(char c) {
  if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  const std::size_t pos = kHexDigits.find(c);
  return pos == std::string_view::npos ? 0 : static_cast<int>(pos);
}

}  // namespace

std::string BytesToHex(ConstBytes bytes) {
  const std::size_t count = std::min(bytes.size(), kMaxHexBytes);
  std::string text;
  text.reserve(count * 2);
  for (std::size_t i = 0; i < count; ++i) {
    text += kHexDigits[bytes[i] >> 4];
    text += kHexDigits[bytes[i] & 0x0F];
  }
  return text;
}

std::vector<std::uint8_t> HexToBytes(std::string_view text) {
  const std::size_t count = std::min(text.size() / 2, kMaxHexBytes);
  std::vector<std::uint8_t> bytes(count);
  for (std::size_t i = 0; i < count; ++i) bytes[i] = HexByte(text[2 * i], text[2 * i + 1]);
  return bytes;
}

std::uint8_t HexByte(char first, char second) {
  return static_cast<std::uint8_t>(16 * HexDigitValue(first) + HexDigitValue(second));
}

int Base36Value(char c) {
  const std::size_t pos = kBase36Digits.find(c);
  return pos == std::string_view::npos ? -1 : static_cast<int>(pos);
}

}  // namespace kordavelt
