#include "base/cp1251.h"

#include <array>

namespace kordavelt {
namespace {

// Bytes 0x80 ... 0xBF; 0xC0 ... 0xFF are the Cyrillic letters U+0410 ... U+044F in order.
constexpr std::array<char16_t, 64> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  //
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  //
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  //
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  //
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  //
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

constexpr char32_t kMalformed = 0xFFFFFFFF;

// Decodes one character at `pos` and advances past it; a malformed byte is
// consumed alone and reported as kMalformed.
char32_t DecodeUtf8(std::string_view s, std::size_t& pos) {
  const auto lead = static_cast<std::uint8_t>(s[pos]);
  int extra;
  char32_t cp;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    cp = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    cp = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    ++pos;
    return kMalformed;
  }
  if (pos + static_cast<std::size_t>(extra) >= s.size()) {
    ++pos;
    return kMalformed;
  }
  for (int i = 1; i <= extra; ++i) {
    const auto next = static_cast<std::uint8_t>(s[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kMalformed;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  // Overlong forms and surrogates are not characters.
  static constexpr char32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kMalformed;
  }
  pos += extra + 1;
  return cp;
}

}  // namespace

char32_t Cp1251ToCodePoint(std::uint8_t byte) {
  if (byte < 0x80) return byte;
  if (byte >= 0xC0) return 0x0410 + (byte - 0xC0);
  return kHighHalf[byte - 0x80];
}

std::uint8_t CodePointToCp1251(char32_t cp) {
  if (cp < 0x80) return static_cast<std::uint8_t>(cp);
  if (cp >= 0x0410 && cp <= 0x044F) return static_cast<std::uint8_t>(0xC0 + (cp - 0x0410));
  for (std::size_t i = 0; i < kHighHalf.size(); ++i) {
    if (kHighHalf[i] == cp) return static_cast<std::uint8_t>(0x80 + i);
  }
  return '?';
}

std::string Cp1251ToUtf8(std::string_view cp1251) {
  std::string out;
  out.reserve(cp1251.size() * 2);
  for (char c : cp1251) AppendUtf8(out, Cp1251ToCodePoint(static_cast<std::uint8_t>(c)));
  return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const char32_t cp = DecodeUtf8(utf8, pos);
    out += static_cast<char>(cp == kMalformed ? '?' : CodePointToCp1251(cp));
  }
  return out;
}

std::size_t Utf8Length(std::string_view utf8) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < utf8.size(); ++count) DecodeUtf8(utf8, pos);
  return count;
}

std::string_view Utf8Prefix(std::string_view utf8, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < count && pos < utf8.size(); ++n) DecodeUtf8(utf8, pos);
  return utf8.substr(0, pos);
}

}  // namespace kordavelt
