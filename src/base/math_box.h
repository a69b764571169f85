#pragma once

// Real-valued helpers of the calculation: sign, the power function, linear
// interpolation, and the 32-bit sets and bit fields used for regimes,
// violated conditions and equipment type codes.

#include <cstdint>

namespace kordavelt {

// +1 when x ≥ 0, otherwise −1.
constexpr int Sign(long double x) { return x >= 0 ? 1 : -1; }

// base raised to the real power exponent, computed as 2^(exponent·log2 base).
// A base that is not positive gives 0: the empirical formulas that use it
// (contact and joint resistances of a missing cross-section or current) then
// contribute nothing instead of spreading NaN through the calculation.
long double Power(long double exponent, long double base);

// The line through (x0, y0) and (x1, y1) at x; when x1 = x0 the larger of y1, y0.
constexpr long double Interpolate(long double y1, long double y0, long double x1, long double x0,
                                  long double x) {
  if (x1 != x0) return y0 + (y1 - y0) / (x1 - x0) * (x - x0);
  return y1 > y0 ? y1 : y0;
}

// Bit sets: bit n of a 32-bit value is member n. n is taken modulo 32, so
// −1 is bit 31.
constexpr std::uint32_t BitMask(int n) {
  return std::uint32_t{1} << (static_cast<std::uint32_t>(n) & 31u);
}
constexpr bool BitTest(std::uint32_t set, int n) { return (set & BitMask(n)) != 0; }
constexpr std::uint32_t BitSet(std::uint32_t set, int n) { return set | BitMask(n); }
constexpr std::uint32_t BitClear(std::uint32_t set, int n) { return set & ~BitMask(n); }
constexpr std::uint32_t BitToggle(std::uint32_t set, int n) { return set ^ BitMask(n); }

namespace bit_field_detail {

// Number of bits of a field at `from` that fit below bit `limit` (inclusive,
// at most 31); 0 for a field that is empty or starts outside.
constexpr int UsableWidth(int from, int width, int limit) {
  if (limit > 31) limit = 31;
  if (from < 0 || width <= 0 || from > limit) return 0;
  return width < limit - from + 1 ? width : limit - from + 1;
}

constexpr std::uint32_t FieldMask(int from, int width) {
  return static_cast<std::uint32_t>(((std::uint64_t{1} << width) - 1) << from);
}

}  // namespace bit_field_detail

// Writes the low `width` bits of field into value at bit `from`; the part of
// the field that would reach past bit `limit` is cut off.
constexpr std::uint32_t BitFieldInsert(std::uint32_t value, std::uint32_t field, int from,
                                       int width, int limit = 31) {
  const int usable = bit_field_detail::UsableWidth(from, width, limit);
  if (usable == 0) return value;
  const std::uint32_t mask = bit_field_detail::FieldMask(from, usable);
  return (value & ~mask) | ((field << from) & mask);
}

// Reads back what BitFieldInsert wrote; 0 when from is beyond limit.
constexpr std::uint32_t BitFieldExtract(std::uint32_t value, int from, int width, int limit = 31) {
  const int usable = bit_field_detail::UsableWidth(from, width, limit);
  if (usable == 0) return 0;
  return (value & bit_field_detail::FieldMask(from, usable)) >> from;
}

}  // namespace kordavelt
