#pragma once

// Picture strings: the program's small vector symbols written as text.
//
// A picture string starts with '@', then drawing commands (a lowercase
// letter and its argument characters), then 'e', then optionally a trailing
// text drawn after the picture; object symbols may end with '#' and one or
// two connection points (two base-36 digits each, x then y). Coordinates are
// base-36 digits on a 16-step grid (0 … 16 is one symbol cell, larger values
// reach beyond it).
//
//   @s0r22DDp6B35447BC2e      the checked check box
//   @s2r22GDxxr02DDe          the colour swatch
//
// A string is parsed once into a Picture (a small vector form) and drawn by
// any renderer: the table and printer renderer below places digit d at
// origin + d × H div 16 pixels, the scaled one at origin + d × a real digit
// size on a canvas of any transform; the scheme and the exchange renderers
// map the same commands onto their own coordinates.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "draw/canvas.h"

namespace kordavelt {

// The pictures the table window draws itself.
inline constexpr std::string_view kCheckedBox = "@s0r22DDp6B35447BC2e";
inline constexpr std::string_view kUncheckedBox = "@s0r22DDe";
// Both, as a '#'-list chosen by a boolean (first item = true).
inline constexpr std::string_view kCheckBoxes = "@s0r22DDp6B35447BC2e#@s0r22DDe";
// A swatch drawn in the row's colour.
inline constexpr std::string_view kColourSwatch = "@s2r22GDxxr02DDe";

// The value a check-box cell stands for, as copies and file exports write
// it: "Да" for the checked box, "Нет" for the unchecked one, the words that
// pastes and imports read back as yes and no (GetBool). nullopt for any
// other text; blanks around the box are ignored.
std::optional<std::string_view> CheckBoxValue(std::string_view cell);
// A row ('#'-list) with every check box replaced by its value.
std::string WithCheckBoxValues(std::string_view line);

// A point in picture digits (0 … 35 on each axis).
struct PicturePoint {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(PicturePoint, PicturePoint) = default;
};

// One drawing command in parsed form.
struct PictureCommand {
  enum class Kind {
    Style,     // 's': style digit in `style`
    Rect,      // 'r': points[0], points[1] are the box corners
    Ellipse,   // 'c': the ellipse inscribed in the same box
    Polyline,  // 'l', 'p': points in order (at least one)
    Arc,       // 'a': box in points[0], points[1]; arcFrom / arcTo are the
               // fifth and sixth argument characters
  };
  Kind kind = Kind::Style;
  char style = 0;  // the style digit of 's' ('0' … '3' act, others do nothing)
  std::vector<PicturePoint> points;
  char arcEndChar = 0;    // fifth argument of 'a': the point the arc ends at
  char arcStartChar = 0;  // sixth argument of 'a': the point the arc starts at
  friend bool operator==(const PictureCommand&, const PictureCommand&) = default;
};

class Picture {
 public:
  // True for a text that is a picture string (starts with '@').
  static bool IsPicture(std::string_view text);

  // Parses `text` (which should start with '@'; anything else parses as an
  // empty picture whose trailing text is the whole text). Never fails:
  // commands cut short by the end of the drawing, or whose coordinates meet
  // a character that is no digit, are dropped and reading goes on at that
  // character; unknown characters are skipped; a string without 'e' is read
  // to its end. The first 'e' always ends the drawing, even where a command
  // would have taken it as an argument.
  static Picture Parse(std::string_view text);

  const std::vector<PictureCommand>& Commands() const { return commands_; }
  // Text after the terminating 'e' (up to a '#' of connection points,
  // which tables do not show).
  const std::string& TrailingText() const { return trailing_; }
  // Connection points after the '#' of an object symbol: none, one (upper)
  // or two (upper, lower).
  const std::vector<PicturePoint>& ConnectionPoints() const { return connections_; }

  // Screen measuring: the largest x and y digit values found when every
  // lowercase letter starts a command whose digits alternate x, y, x, y.
  int MaxX() const { return maxX_; }
  int MaxY() const { return maxY_; }
  // The number of 'x' characters in the drawing (each widens the picture by
  // half a line on paper).
  int WideningCount() const { return widening_; }

 private:
  std::vector<PictureCommand> commands_;
  std::string trailing_;
  std::vector<PicturePoint> connections_;
  int maxX_ = 0;
  int maxY_ = 0;
  int widening_ = 0;
};

// The table and printer renderer. Digit d lies at origin.x + d × lineHeight
// div 16 and origin.y + d × lineHeight div 16. The picture starts with a
// hollow brush and a solid pen in `inkColour` of width
// abs(fontHeight) div 20 + 1; afterwards the canvas's brush and pen style are
// restored (pen colour and width are left as the picture set them). Returns
// the x where trailing text starts: the largest x reached, but at least
// origin.x + 16.
int DrawPicture(Canvas& canvas, const Picture& picture, Point origin, int lineHeight,
                int fontHeight, Color inkColour);

// The same picture at any scale, in real coordinates: digit d lies at
// origin.x + d × digit and origin.y + d × digit user units, without
// rounding, and a box's first corner moves one device unit inwards (one
// pixel of the table renderer, whatever the transform). The picture starts
// with a hollow brush and a solid pen in `inkColour`, `penWidth` device
// units wide, which is also the width style '1' sets; style '3' draws the
// thinnest dotted line. Brush and pen style are restored as by DrawPicture.
// Returns the x where trailing text starts: the largest x reached, but at
// least one symbol cell (16 digits) right of the origin.
double DrawPictureScaled(Canvas& canvas, const Picture& picture, PointF origin, double digit,
                         double penWidth, Color inkColour);

// The width of a picture cell on screen: lineHeight × MaxX div 16 plus the
// width of the trailing text.
int PictureCellWidth(Canvas& canvas, const Picture& picture, int lineHeight);

// The width of a picture on paper: one line height, half a line height for
// every 'x', plus the trailing text.
int PicturePaperWidth(Canvas& canvas, const Picture& picture, int lineHeight);

// The vertical offset that centres a picture in a cell of height
// lineHeight: (H - H × MaxY div 16) div 2, not below 0.
int PictureCentringOffset(const Picture& picture, int lineHeight);

}  // namespace kordavelt
