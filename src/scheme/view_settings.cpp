#include "scheme/view_settings.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace kordavelt {
namespace {

constexpr int kFactorOffset = 0;
constexpr int kWidthOffset = 1;
constexpr int kFlagsOffset = 2;
constexpr int kScaleOffset = 4;
constexpr std::uint16_t kWrittenBit = 0x8000;
constexpr int kFontFactors[] = {1, 2, 4, 6};

// The flag bits, in bit order.
constexpr bool ViewSettings::*kFlags[] = {
    &ViewSettings::colouredText, &ViewSettings::dotGrid,     &ViewSettings::switchMarkers,
    &ViewSettings::roundNodes,   &ViewSettings::wideBusbars, &ViewSettings::cableMarks,
    &ViewSettings::branchArrows, &ViewSettings::autoSync,    &ViewSettings::autoScroll,
    &ViewSettings::crossHair,
};

bool ValidScale(double scale) {
  return std::isfinite(scale) && scale >= 0 && scale <= kMaxExternalScale;
}

}  // namespace

std::array<std::uint8_t, kViewSettingsLength> EncodeViewSettings(const ViewSettings& settings) {
  std::array<std::uint8_t, kViewSettingsLength> bytes{};
  std::uint16_t flags = kWrittenBit;
  for (std::size_t bit = 0; bit < std::size(kFlags); ++bit) {
    if (settings.*kFlags[bit]) flags |= static_cast<std::uint16_t>(1u << bit);
  }
  WriteU8(bytes, kFactorOffset,
          static_cast<std::uint8_t>(FontFactorOfIndex(FontFactorIndex(settings.fontFactor))));
  WriteU8(bytes, kWidthOffset,
          static_cast<std::uint8_t>(std::clamp(settings.lineWidth, 0, kMaxLineWidth)));
  WriteU16(bytes, kFlagsOffset, flags);
  WriteF32(bytes, kScaleOffset, ValidScale(settings.externalScale) ? settings.externalScale : 0.0f);
  return bytes;
}

ViewSettings DecodeViewSettings(ConstBytes bytes) {
  ViewSettings settings;
  if (bytes.size() < kViewSettingsLength) return settings;
  const std::uint16_t flags = ReadU16(bytes, kFlagsOffset);
  if ((flags & kWrittenBit) == 0) return settings;
  for (std::size_t bit = 0; bit < std::size(kFlags); ++bit) {
    settings.*kFlags[bit] = (flags & (1u << bit)) != 0;
  }
  const int factor = ReadU8(bytes, kFactorOffset);
  if (FontFactorOfIndex(FontFactorIndex(factor)) == factor) settings.fontFactor = factor;
  const int width = ReadU8(bytes, kWidthOffset);
  if (width <= kMaxLineWidth) settings.lineWidth = width;
  const float scale = ReadF32(bytes, kScaleOffset);
  if (ValidScale(scale)) settings.externalScale = scale;
  return settings;
}

int FontFactorIndex(int fontFactor) {
  for (int i = 0; i < static_cast<int>(std::size(kFontFactors)); ++i) {
    if (kFontFactors[i] == fontFactor) return i;
  }
  return 1;
}

int FontFactorOfIndex(int index) {
  return index >= 0 && index < static_cast<int>(std::size(kFontFactors)) ? kFontFactors[index] : 2;
}

int PenWidth(const ViewSettings& settings, int stepX) {
  return std::clamp(settings.lineWidth, 0, kMaxLineWidth) * stepX / 15 + 1;
}

int SelectedPenWidth(int stepY) { return stepY / 15 + 3; }

}  // namespace kordavelt
