#include "scheme/text_placement.h"

namespace kordavelt {
namespace {

constexpr int kVerticalDirIfUpright = 16;

bool LeftOfAnchor(int textDir) { return textDir >= 4 && textDir <= 6; }

// Line i's origin for the horizontal codes 4 … 6 and 8 … 10.
DevicePoint HorizontalOrigin(int textDir, DevicePoint a, int i, int n, int h,
                             const ModuleSizes& s) {
  const double x = LeftOfAnchor(textDir) ? a.x - s.tx : a.x + s.tx;
  switch (textDir % 4) {
    case 0:  // 4, 8: the first line just above the anchor's level
      return {x, a.y + (i - 1) * h - 1};
    case 1:  // 5, 9: the block above
      return {x, a.y - s.ty - 2 - (n - i) * h};
    default:  // 6, 10: the block below
      return {x, a.y + s.ty + i * h};
  }
}

}  // namespace

TextFont TextFontOf(int fontFactor, int stepY) {
  const int size = (fontFactor + 2) * stepY;
  if (size <= 23) return {8, true};
  return {size / 4, false};
}

bool BranchTextsShown(int fontFactor, int stepY) { return (fontFactor + 2) * stepY >= 24; }

bool TextShown(int textDir) {
  return textDir == 1 || textDir == 2 || LeftOfAnchor(textDir) || (textDir >= 8 && textDir <= 10);
}

int BranchTextDir(int textDir, bool verticalSegment) {
  return textDir == kVerticalDirIfUpright && verticalSegment ? 1 : textDir;
}

std::vector<TextLine> PlaceText(int textDir, DevicePoint anchor, int lineCount, int lineHeight,
                                const ModuleSizes& sizes) {
  std::vector<TextLine> lines;
  if (!TextShown(textDir) || lineCount <= 0) return lines;
  lines.reserve(lineCount);
  const int h = lineHeight;
  for (int i = 0; i < lineCount; ++i) {
    TextLine line;
    if (textDir == 1 || textDir == 2) {
      line.upward = true;
      const double x = anchor.x + (i - 1) * h - 1;
      line.origin = textDir == 1 ? DevicePoint{x, anchor.y - sizes.ty - 1}
                                 : DevicePoint{x, anchor.y + sizes.ty};
      line.align = textDir == 1 ? TextAlign::Start : TextAlign::End;
    } else {
      line.origin = HorizontalOrigin(textDir, anchor, i, lineCount, h, sizes);
      line.align = LeftOfAnchor(textDir) ? TextAlign::End : TextAlign::Start;
    }
    lines.push_back(line);
  }
  return lines;
}

DevicePoint TextCorner(const TextLine& line, double width) {
  if (line.align == TextAlign::Start) return line.origin;
  // The text runs to the right, or upwards: its start lies back along that way.
  return line.upward ? DevicePoint{line.origin.x, line.origin.y + width}
                     : DevicePoint{line.origin.x - width, line.origin.y};
}

DeviceRect TextLineRect(const TextLine& line, double width, int lineHeight) {
  const DevicePoint c = TextCorner(line, width);
  // A turned cell's top edge lies on its left, and the text runs up from the corner.
  if (line.upward) return {c.x, c.y - width, c.x + lineHeight, c.y};
  return {c.x, c.y, c.x + width, c.y + lineHeight};
}

}  // namespace kordavelt
