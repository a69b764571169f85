#pragma once

// Where the texts of nodes and branches go: each text is a '#'-list of
// lines placed around an anchor point by its placement code (TextDir).
//
//   code     place                                       line i of n (H the line height)
//   0, 3, 7  no text
//   1        turned 90°, reading upwards, above the anchor  starts at (x + (i-1)H - 1, y - ty - 1)
//   2        turned 90°, reading upwards, below it          ends at   (x + (i-1)H - 1, y + ty)
//   4        left, first line just above the anchor's level ends at   (x - tx, y + (i-1)H - 1)
//   5        left, the block above the anchor               ends at   (x - tx, y - ty - 2 - (n-i)H)
//   6        left, the block below the anchor               ends at   (x - tx, y + ty + iH)
//   8        right, first line just above the level         starts at (x + tx, y + (i-1)H - 1)
//   9        right, the block above                         starts at (x + tx, y - ty - 2 - (n-i)H)
//   10       right, the block below                         starts at (x + tx, y + ty + iH)
//
// A line's origin is the top-left corner of its text cell, in the text's
// own direction, when it starts there, and the point its cell's top edge
// reaches at the end of the text when it ends there: so lines left of the
// anchor are right-aligned tx before it, lines right of it left-aligned tx
// after it. Any other code draws no text.

#include <string_view>
#include <vector>

#include "scheme/grid.h"
#include "scheme/view_transform.h"

namespace kordavelt {

enum class TextAlign {
  Start,  // the text starts at its origin
  End,    // the text ends at its origin
};

struct TextLine {
  DevicePoint origin;
  bool upward = false;  // turned by 90° counter-clockwise: reads upwards
  TextAlign align = TextAlign::Start;
  friend constexpr bool operator==(const TextLine&, const TextLine&) = default;
};

// The text font: the character height in device units and whether only the
// first line of each text is drawn.
struct TextFont {
  int height = 8;
  bool firstLineOnly = false;
};

// H = (f + 2) × stepY div 4 (at 100 % one grid step); when (f + 2) × stepY
// is 23 or less only the first line is drawn, 8 units high.
TextFont TextFontOf(int fontFactor, int stepY);
// Branch texts are left out altogether while (f + 2) × stepY is below 24.
bool BranchTextsShown(int fontFactor, int stepY);

// True for the codes that place a text.
bool TextShown(int textDir);
// The code a branch text is drawn with: 16 found on a vertical segment is 1.
int BranchTextDir(int textDir, bool verticalSegment);

// The lines of a text of `lineCount` lines placed by `textDir` at `anchor`;
// empty for a code without text.
std::vector<TextLine> PlaceText(int textDir, DevicePoint anchor, int lineCount, int lineHeight,
                                const ModuleSizes& sizes);

// The top-left corner of a line's text cell, in the text's own direction,
// for a text `width` units long.
DevicePoint TextCorner(const TextLine& line, double width);
// The device rectangle the line covers.
DeviceRect TextLineRect(const TextLine& line, double width, int lineHeight);

}  // namespace kordavelt
