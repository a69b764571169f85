#pragma once

// Conversions between codes and text: hexadecimal dumps of record bytes (the
// hexadecimal table cells) and base-36 digits (picture strings, codes).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/le_bytes.h"

namespace kordavelt {

// Up to 128 bytes, each as two upper-case hexadecimal digits.
std::string BytesToHex(ConstBytes bytes);

// Consecutive digit pairs to bytes, at most 128 bytes; an odd last digit is ignored.
std::vector<std::uint8_t> HexToBytes(std::string_view text);

// 16 * value(first) + value(second).
std::uint8_t HexByte(char first, char second);

// Position in "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ", -1 for any other character.
int Base36Value(char c);

}  // namespace kordavelt
