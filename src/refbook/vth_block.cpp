#include "refbook/vth_block.h"

#include <algorithm>
#include <array>

#include "base/hex_text.h"

namespace kordavelt {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::size_t ValueOffset(int index) { return 4 * static_cast<std::size_t>(index - 1); }

}  // namespace

std::string VthToHex(ConstBytes block) {
  std::array<std::uint8_t, kVthBytes> bytes{};
  std::copy_n(block.begin(), std::min<std::size_t>(block.size(), kVthBytes), bytes.begin());
  return BytesToHex(bytes);
}

bool VthFromHex(std::string_view text, Bytes block) {
  if (block.size() < kVthBytes || text.size() < 2 * kVthBytes) return false;
  std::array<std::uint8_t, kVthBytes> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const int high = HexDigit(text[2 * i]);
    const int low = HexDigit(text[2 * i + 1]);
    if (high < 0 || low < 0) return false;
    bytes[i] = static_cast<std::uint8_t>(16 * high + low);
  }
  std::copy(bytes.begin(), bytes.end(), block.begin());
  return true;
}

bool VthIsEmpty(ConstBytes block) {
  const ConstBytes used = block.first(std::min<std::size_t>(block.size(), kVthBytes));
  return std::all_of(used.begin(), used.end(), [](std::uint8_t b) { return b == 0; });
}

float VthValue(ConstBytes block, int index) {
  if (index < 1 || index > kVthValues) return 0;
  return ReadF32(block, ValueOffset(index));
}

void SetVthValue(Bytes block, int index, float value) {
  if (index >= 1 && index <= kVthValues) WriteF32(block, ValueOffset(index), value);
}

namespace {

// Value numbers of the current and the time of a point.
int PointCurrentIndex(int point) { return point <= kVthPointsPerCurve ? point : point + 7; }
int TimeIndex(int point) { return PointCurrentIndex(point) + kVthPointsPerCurve; }

}  // namespace

VthPoint VthPointAt(ConstBytes block, int point) {
  if (point < 1 || point > kVthPoints) return {};
  return {VthValue(block, PointCurrentIndex(point)), VthValue(block, TimeIndex(point))};
}

void SetVthPoint(Bytes block, int point, VthPoint value) {
  if (point < 1 || point > kVthPoints) return;
  SetVthValue(block, PointCurrentIndex(point), value.lnCurrent);
  SetVthValue(block, TimeIndex(point), value.lnTime);
}

}  // namespace kordavelt
