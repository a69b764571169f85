#pragma once

// A display colour. The model and the settings keep colours as Windows colour
// references, 0x00BBGGRR; ColorRef() and FromColorRef() convert.

#include <cstdint>

namespace kordavelt {

struct Color {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  static constexpr Color FromColorRef(std::uint32_t ref) {
    return Color{static_cast<std::uint8_t>(ref & 0xFF),
                 static_cast<std::uint8_t>((ref >> 8) & 0xFF),
                 static_cast<std::uint8_t>((ref >> 16) & 0xFF)};
  }
  constexpr std::uint32_t ColorRef() const {
    return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) |
           (static_cast<std::uint32_t>(b) << 16);
  }
  friend constexpr bool operator==(Color, Color) = default;
};

inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kWhite{255, 255, 255};

// A quarter of `colour` on white: a row background that keeps the colour
// recognisable while text in the standard colour stays readable on it.
constexpr Color LightTint(Color colour) {
  const auto mix = [](std::uint8_t c) { return static_cast<std::uint8_t>((c + 3 * 255 + 2) / 4); };
  return Color{mix(colour.r), mix(colour.g), mix(colour.b)};
}

}  // namespace kordavelt
