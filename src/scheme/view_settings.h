#pragma once

// The view settings of the scheme windows ("Настройка вида схемы"), the
// same for every scheme window until the program ends, and the 8 bytes in
// which a model keeps them (settings block, offset 287): taken from the
// scheme at every close of the model, given back to it at every open.
//
// The 8 bytes, little-endian:
//
//   offset  size    field
//   0       uint8   text size factor f: 1 (75 %), 2 (100 %), 4 (150 %), 6 (200 %)
//   1       uint8   line width t: 0 … 5 (pen width = t × step div 15 + 1)
//   2       uint16  flags: bit 0 coloured text, 1 dot grid, 2 switch markers,
//                   3 point nodes as circles, 4 wide busbars, 5 cable marks,
//                   6 direction arrows, 7 automatic synchronisation,
//                   8 automatic scrolling, 9 cross-hair; bits 10 … 14 are 0;
//                   bit 15 is set whenever the bytes hold settings
//   4       float32 external scale, millimetres per grid step (DXF and the
//                   transfer to a drawing program); 0 = not set yet
//
// INVARIANTS
//  - Decoding never fails: bytes without bit 15 (a model that never kept
//    settings holds zeros there) decode as the defaults, and a field out of
//    its bounds (a factor other than 1, 2, 4, 6, a width above 5, a scale
//    that is negative, above 1000 or not a number) decodes as its default.
//  - Encoding a decoded value gives back the same settings; encoding always
//    writes bit 15 and zeros in bits 10 … 14.

#include <array>
#include <cstdint>
#include <string_view>

#include "base/le_bytes.h"

namespace kordavelt {

inline constexpr int kViewSettingsLength = 8;
inline constexpr int kMaxLineWidth = 5;
inline constexpr double kMaxExternalScale = 1000;
inline constexpr std::string_view kFontFactorList = "75%#100%#150%#200%";

struct ViewSettings {
  int fontFactor = 2;
  int lineWidth = 0;
  bool colouredText = true;  // texts take their element's colour
  bool dotGrid = false;
  bool switchMarkers = true;
  bool roundNodes = true;   // point nodes drawn as circles
  bool wideBusbars = true;  // busbars drawn at full width
  bool cableMarks = true;
  bool branchArrows = true;
  bool autoSync = true;  // selecting an element selects its table row
  bool autoScroll = true;
  bool crossHair = true;
  float externalScale = 0;  // mm per grid step

  friend bool operator==(const ViewSettings&, const ViewSettings&) = default;
};

std::array<std::uint8_t, kViewSettingsLength> EncodeViewSettings(const ViewSettings& settings);
// Bytes shorter than 8 decode as the defaults.
ViewSettings DecodeViewSettings(ConstBytes bytes);

// The factor's place in kFontFactorList and back (a damaged factor reads as 100 %).
int FontFactorIndex(int fontFactor);
int FontFactorOfIndex(int index);

// Pen widths in device units: the drawing's, and the wide one under a
// selected branch.
int PenWidth(const ViewSettings& settings, int stepX);
int SelectedPenWidth(int stepY);

}  // namespace kordavelt
