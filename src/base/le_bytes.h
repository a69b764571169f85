#pragma once

// Little-endian field accessors over byte buffers.
//
// Every binary record of the model, the reference book and the exchange files
// is read and written through these functions, never by casting a packed
// struct onto the bytes. Each access checks its bounds: a read outside the
// buffer gives 0 and a write outside it does nothing, so a damaged length or
// offset taken from a file can never touch memory it does not own. Callers
// that must tell a short buffer from a zero value check Fits() first.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace kordavelt {

using Bytes = std::span<std::uint8_t>;
using ConstBytes = std::span<const std::uint8_t>;

// True when `size` bytes starting at `offset` lie inside a buffer of `length` bytes.
constexpr bool Fits(std::size_t length, std::size_t offset, std::size_t size) {
  return offset <= length && size <= length - offset;
}

inline std::uint8_t ReadU8(ConstBytes b, std::size_t offset) {
  return Fits(b.size(), offset, 1) ? b[offset] : 0;
}

inline std::uint16_t ReadU16(ConstBytes b, std::size_t offset) {
  if (!Fits(b.size(), offset, 2)) return 0;
  return static_cast<std::uint16_t>(b[offset] | (b[offset + 1] << 8));
}

inline std::int16_t ReadI16(ConstBytes b, std::size_t offset) {
  return static_cast<std::int16_t>(ReadU16(b, offset));
}

inline std::uint32_t ReadU32(ConstBytes b, std::size_t offset) {
  if (!Fits(b.size(), offset, 4)) return 0;
  return static_cast<std::uint32_t>(b[offset]) | (static_cast<std::uint32_t>(b[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(b[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(b[offset + 3]) << 24);
}

inline std::int32_t ReadI32(ConstBytes b, std::size_t offset) {
  return static_cast<std::int32_t>(ReadU32(b, offset));
}

inline float ReadF32(ConstBytes b, std::size_t offset) {
  const std::uint32_t bits = ReadU32(b, offset);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline double ReadF64(ConstBytes b, std::size_t offset) {
  if (!Fits(b.size(), offset, 8)) return 0.0;
  const std::uint64_t bits = static_cast<std::uint64_t>(ReadU32(b, offset)) |
                             (static_cast<std::uint64_t>(ReadU32(b, offset + 4)) << 32);
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

inline void WriteU8(Bytes b, std::size_t offset, std::uint8_t value) {
  if (Fits(b.size(), offset, 1)) b[offset] = value;
}

inline void WriteU16(Bytes b, std::size_t offset, std::uint16_t value) {
  if (!Fits(b.size(), offset, 2)) return;
  b[offset] = static_cast<std::uint8_t>(value);
  b[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteI16(Bytes b, std::size_t offset, std::int16_t value) {
  WriteU16(b, offset, static_cast<std::uint16_t>(value));
}

inline void WriteU32(Bytes b, std::size_t offset, std::uint32_t value) {
  if (!Fits(b.size(), offset, 4)) return;
  for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline void WriteI32(Bytes b, std::size_t offset, std::int32_t value) {
  WriteU32(b, offset, static_cast<std::uint32_t>(value));
}

inline void WriteF32(Bytes b, std::size_t offset, float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  WriteU32(b, offset, bits);
}

inline void WriteF64(Bytes b, std::size_t offset, double value) {
  if (!Fits(b.size(), offset, 8)) return;
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  WriteU32(b, offset, static_cast<std::uint32_t>(bits));
  WriteU32(b, offset + 4, static_cast<std::uint32_t>(bits >> 32));
}

}  // namespace kordavelt
