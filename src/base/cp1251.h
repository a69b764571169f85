#pragma once

// Code page 1251 <-> UTF-8.
//
// The program keeps every text in UTF-8 in memory; the model, the reference
// book and the exchange files store code page 1251. These conversions are the
// only place where the two meet.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kordavelt {

// Byte 0x98 has no character in code page 1251; it maps to U+0098 and back,
// so that any byte string survives a round trip unchanged.
std::string Cp1251ToUtf8(std::string_view cp1251);

// Characters without a code page 1251 byte, and malformed UTF-8, become '?'.
std::string Utf8ToCp1251(std::string_view utf8);

// The code page 1251 byte of one Unicode code point, or '?' when it has none.
std::uint8_t CodePointToCp1251(char32_t codePoint);
char32_t Cp1251ToCodePoint(std::uint8_t byte);

// Number of characters (code points) of a UTF-8 text; malformed bytes count one each.
std::size_t Utf8Length(std::string_view utf8);

// The first `count` characters of a UTF-8 text, never cutting a character in two.
std::string_view Utf8Prefix(std::string_view utf8, std::size_t count);

}  // namespace kordavelt
