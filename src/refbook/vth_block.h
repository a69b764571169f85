#pragma once

// The stored time-current characteristic of a fuse or trip-unit type: 28
// float32 natural logarithms. Values 1-7 are ln current (multiples of the
// rated current) of points 1-7, values 8-14 ln time (s) of points 1-7,
// values 15-21 and 22-28 the same for points 8-14. Points 1-7 and 8-14 are
// the two boundary curves. 112 zero bytes: no characteristic.

#include <string>
#include <string_view>

#include "base/le_bytes.h"

namespace kordavelt {

inline constexpr int kVthBytes = 112;
inline constexpr int kVthValues = 28;
inline constexpr int kVthPoints = 14;
inline constexpr int kVthPointsPerCurve = 7;

// 224 upper-case hexadecimal digits, two per byte in byte order; a shorter
// block reads as if padded with zeros.
std::string VthToHex(ConstBytes block);

// Fills the 112-byte block from the first 224 characters of `text`, which
// must all be hexadecimal digits (either case). False, block unchanged, when
// the text is shorter, holds anything else there, or the block is too small.
bool VthFromHex(std::string_view text, Bytes block);

// True when all 112 bytes (those the block has) are zero.
bool VthIsEmpty(ConstBytes block);

// Value `index` (1 ... 28); 0 outside.
float VthValue(ConstBytes block, int index);
void SetVthValue(Bytes block, int index, float value);

// One point of a boundary curve, as stored (natural logarithms).
struct VthPoint {
  float lnCurrent = 0;
  float lnTime = 0;
};

// Point 1 ... 14 (1-7 the first curve, 8-14 the second); zeros outside.
VthPoint VthPointAt(ConstBytes block, int point);
void SetVthPoint(Bytes block, int point, VthPoint value);

}  // namespace kordavelt
