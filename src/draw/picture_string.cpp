#include "draw/picture_string.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <limits>

#include "base/paste_values.h"

namespace kordavelt {
namespace {

constexpr char kPictureMark = '@';
constexpr char kEndOfDrawing = 'e';
constexpr char kPointsMark = '#';

// The value of a base-36 coordinate digit ('0' … '9', 'A' … 'Z'), or -1.
// Lowercase letters are commands, never digits.
int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return -1;
}

bool IsDigit(char c) { return DigitValue(c) >= 0; }
bool IsCommandLetter(char c) { return c >= 'a' && c <= 'z'; }

// Reads the commands of a drawing (the text between '@' and 'e'). A command
// whose coordinate arguments are cut short by the end of the drawing or
// broken by a non-digit is dropped; reading goes on at the character that
// broke it, so a stray letter there still counts as a command.
class DrawingReader {
 public:
  explicit DrawingReader(std::string_view drawing) : text_(drawing) {}

  std::vector<PictureCommand> ReadAll() {
    std::vector<PictureCommand> commands;
    while (pos_ < text_.size()) {
      const char letter = text_[pos_++];
      switch (letter) {
        case 's':
          if (pos_ < text_.size()) {
            PictureCommand style;
            style.kind = PictureCommand::Kind::Style;
            style.style = text_[pos_++];
            commands.push_back(std::move(style));
          }
          break;
        case 'r':
        case 'c': {
          PictureCommand box;
          box.kind = letter == 'r' ? PictureCommand::Kind::Rect : PictureCommand::Kind::Ellipse;
          if (ReadPoints(2, box.points)) commands.push_back(std::move(box));
          break;
        }
        case 'l':
        case 'p': {
          PictureCommand line;
          line.kind = PictureCommand::Kind::Polyline;
          if (!ReadPoints(1, line.points)) break;
          // Further pairs while the next character is a digit; a lone digit
          // at the end of the list is dropped with the pair it started.
          while (pos_ < text_.size() && IsDigit(text_[pos_])) {
            if (!ReadPoints(1, line.points)) break;
          }
          commands.push_back(std::move(line));
          break;
        }
        case 'a': {
          PictureCommand arc;
          arc.kind = PictureCommand::Kind::Arc;
          if (!ReadPoints(2, arc.points)) break;
          if (pos_ + 2 > text_.size()) {
            pos_ = text_.size();
            break;
          }
          arc.arcEndChar = text_[pos_++];
          arc.arcStartChar = text_[pos_++];
          commands.push_back(std::move(arc));
          break;
        }
        case 'w':
          if (pos_ < text_.size()) ++pos_;
          break;
        default:
          break;
      }
    }
    return commands;
  }

 private:
  // Appends `count` coordinate pairs; false (position left at the offending
  // character) when one is missing or not a digit.
  bool ReadPoints(int count, std::vector<PicturePoint>& points) {
    for (int i = 0; i < count; ++i) {
      if (pos_ + 2 > text_.size()) {
        pos_ = text_.size();
        return false;
      }
      const int x = DigitValue(text_[pos_]);
      if (x < 0) return false;
      ++pos_;
      const int y = DigitValue(text_[pos_]);
      if (y < 0) return false;
      ++pos_;
      points.push_back(PicturePoint{x, y});
    }
    return true;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

// Device coordinates are computed wide and clamped, so that no line height a
// caller can pass overflows.
int Clamped(long long value) {
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

int PenWidthFor(int fontHeight) {
  return Clamped(std::llabs(static_cast<long long>(fontHeight)) / 20 + 1);
}

// The table and printer renderer's mapping: picture digits into whole
// pixels, computed wide and clamped; remembers the rightmost x used.
class PixelMapper {
 public:
  PixelMapper(Point origin, int lineHeight) : origin_(origin), lineHeight_(lineHeight) {}

  int X(int digit) {
    const int x = Clamped(origin_.x + static_cast<long long>(digit) * lineHeight_ / 16);
    maxX_ = std::max(maxX_, x);
    return x;
  }
  int Y(int digit) const {
    return Clamped(origin_.y + static_cast<long long>(digit) * lineHeight_ / 16);
  }
  Point At(PicturePoint p) { return Point{X(p.x), Y(p.y)}; }
  // The box of 'r', 'c' and 'a': the first corner moves one pixel inwards.
  Rect Box(PicturePoint first, PicturePoint second) {
    return Rect{Clamped(X(first.x) + 1LL), Clamped(Y(first.y) + 1LL), X(second.x), Y(second.y)};
  }
  // One of the four points an arc can start or end at: '0' top, '1' right,
  // '2' bottom, '3' left, each a quarter of the box's mean size from a corner.
  static std::optional<Point> ArcPoint(const Rect& box, char which) {
    const int l = Clamped(((static_cast<long long>(box.right) - box.left) +
                           (static_cast<long long>(box.bottom) - box.top)) /
                          4);
    switch (which) {
      case '0':
        return Point{Clamped(static_cast<long long>(box.right) - l), box.top};
      case '1':
        return Point{box.right, Clamped(static_cast<long long>(box.bottom) - l)};
      case '2':
        return Point{Clamped(static_cast<long long>(box.right) - l), box.bottom};
      case '3':
        return Point{box.left, Clamped(static_cast<long long>(box.bottom) - l)};
      default:
        return std::nullopt;
    }
  }
  int RightmostX() const { return maxX_; }

 private:
  Point origin_;
  int lineHeight_;
  int maxX_ = INT_MIN;
};

// The same mapping in real coordinates, without rounding: digit d lies d ×
// digit user units from the origin, and the inset of a box is one device
// unit as it measures in user units.
class RealMapper {
 public:
  RealMapper(PointF origin, double digit, SizeF deviceUnit)
      : origin_(origin), digit_(digit), deviceUnit_(deviceUnit) {}

  double X(int d) {
    const double x = origin_.x + d * digit_;
    maxX_ = std::max(maxX_, x);
    return x;
  }
  double Y(int d) const { return origin_.y + d * digit_; }
  PointF At(PicturePoint p) { return PointF{X(p.x), Y(p.y)}; }
  RectF Box(PicturePoint first, PicturePoint second) {
    return RectF{X(first.x) + deviceUnit_.width, Y(first.y) + deviceUnit_.height, X(second.x),
                 Y(second.y)};
  }
  static std::optional<PointF> ArcPoint(const RectF& box, char which) {
    const double l = (box.Width() + box.Height()) / 4;
    switch (which) {
      case '0':
        return PointF{box.right - l, box.top};
      case '1':
        return PointF{box.right, box.bottom - l};
      case '2':
        return PointF{box.right - l, box.bottom};
      case '3':
        return PointF{box.left, box.bottom - l};
      default:
        return std::nullopt;
    }
  }
  double RightmostX() const { return maxX_; }

 private:
  PointF origin_;
  double digit_;
  SizeF deviceUnit_;
  double maxX_ = -std::numeric_limits<double>::infinity();
};

// `thickPen` is the width of style '1' in device units.
void ApplyStyle(Canvas& canvas, char style, double thickPen) {
  switch (style) {
    case '0':
      canvas.brush.style = BrushStyle::Clear;
      break;
    case '1':
      canvas.pen.style = PenStyle::Solid;
      canvas.pen.width = thickPen;
      break;
    case '2':
      canvas.brush.style = BrushStyle::Solid;
      canvas.brush.color = canvas.pen.color;
      break;
    case '3':
      canvas.pen.style = PenStyle::Dot;
      canvas.pen.width = 1;
      break;
    default:
      break;
  }
}

// Draws the commands through `map`, starting with a hollow brush and a solid
// pen of `thickPen` in `inkColour`; afterwards the brush and the pen style
// before the picture are restored.
template <class Mapper>
void DrawCommands(Canvas& canvas, const Picture& picture, Mapper& map, double thickPen,
                  Color inkColour) {
  const BrushStyle savedBrushStyle = canvas.brush.style;
  const Color savedBrushColour = canvas.brush.color;
  const PenStyle savedPenStyle = canvas.pen.style;

  canvas.brush.style = BrushStyle::Clear;
  canvas.pen = Pen{inkColour, thickPen, PenStyle::Solid};

  using PointType = decltype(map.At(PicturePoint{}));
  std::vector<PointType> points;
  for (const PictureCommand& command : picture.Commands()) {
    switch (command.kind) {
      case PictureCommand::Kind::Style:
        ApplyStyle(canvas, command.style, thickPen);
        break;
      case PictureCommand::Kind::Rect:
        canvas.Rectangle(map.Box(command.points.at(0), command.points.at(1)));
        break;
      case PictureCommand::Kind::Ellipse:
        canvas.Ellipse(map.Box(command.points.at(0), command.points.at(1)));
        break;
      case PictureCommand::Kind::Polyline:
        points.clear();
        for (const PicturePoint& p : command.points) points.push_back(map.At(p));
        // A single point is only a move: nothing to draw.
        if (points.size() >= 2) canvas.Polyline(points);
        break;
      case PictureCommand::Kind::Arc: {
        const auto box = map.Box(command.points.at(0), command.points.at(1));
        const char startChar = command.arcStartChar == '4' ? '0' : command.arcStartChar;
        const auto start = Mapper::ArcPoint(box, startChar);
        const auto end = Mapper::ArcPoint(box, command.arcEndChar);
        if (start && end) canvas.Arc(box, *start, *end);
        break;
      }
    }
  }

  canvas.brush.style = savedBrushStyle;
  canvas.brush.color = savedBrushColour;
  canvas.pen.style = savedPenStyle;
}

}  // namespace

std::optional<std::string_view> CheckBoxValue(std::string_view cell) {
  cell = TrimBlanks(cell);
  if (cell == kCheckedBox) return "Да";
  if (cell == kUncheckedBox) return "Нет";
  return std::nullopt;
}

std::string WithCheckBoxValues(std::string_view line) {
  std::string text;
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = line.find('#', start);
    const std::string_view item =
        line.substr(start, end == std::string_view::npos ? end : end - start);
    const std::optional<std::string_view> value = CheckBoxValue(item);
    text += value ? *value : item;
    if (end == std::string_view::npos) return text;
    text += '#';
    start = end + 1;
  }
}

bool Picture::IsPicture(std::string_view text) {
  return !text.empty() && text.front() == kPictureMark;
}

Picture Picture::Parse(std::string_view text) {
  Picture picture;
  if (!IsPicture(text)) {
    picture.trailing_ = std::string(text);
    return picture;
  }
  text.remove_prefix(1);
  const std::size_t end = text.find(kEndOfDrawing);
  const std::string_view drawing = text.substr(0, end);

  picture.commands_ = DrawingReader(drawing).ReadAll();

  // Measuring sees every lowercase letter as a command and the digits after
  // it as x, y, x, y, whatever the command really takes.
  bool inCommand = false;
  bool nextIsX = true;
  for (char c : drawing) {
    if (c == 'x') ++picture.widening_;
    if (IsCommandLetter(c)) {
      inCommand = true;
      nextIsX = true;
      continue;
    }
    const int value = DigitValue(c);
    if (value < 0) {
      inCommand = false;
      continue;
    }
    if (!inCommand) continue;
    int& largest = nextIsX ? picture.maxX_ : picture.maxY_;
    largest = std::max(largest, value);
    nextIsX = !nextIsX;
  }

  if (end == std::string_view::npos) return picture;
  std::string_view rest = text.substr(end + 1);
  const std::size_t mark = rest.find(kPointsMark);
  picture.trailing_ = std::string(rest.substr(0, mark));
  if (mark != std::string_view::npos) {
    std::string_view points = rest.substr(mark + 1);
    while (picture.connections_.size() < 2 && points.size() >= 2 && IsDigit(points[0]) &&
           IsDigit(points[1])) {
      picture.connections_.push_back(PicturePoint{DigitValue(points[0]), DigitValue(points[1])});
      points.remove_prefix(2);
    }
  }
  return picture;
}

int DrawPicture(Canvas& canvas, const Picture& picture, Point origin, int lineHeight,
                int fontHeight, Color inkColour) {
  PixelMapper map(origin, lineHeight);
  DrawCommands(canvas, picture, map, PenWidthFor(fontHeight), inkColour);
  return std::max(map.RightmostX(), Clamped(origin.x + 16LL));
}

double DrawPictureScaled(Canvas& canvas, const Picture& picture, PointF origin, double digit,
                         double penWidth, Color inkColour) {
  RealMapper map(origin, digit, canvas.DeviceUnitInUserUnits());
  DrawCommands(canvas, picture, map, penWidth, inkColour);
  return std::max(map.RightmostX(), origin.x + 16 * digit);
}

int PictureCellWidth(Canvas& canvas, const Picture& picture, int lineHeight) {
  int width = Clamped(static_cast<long long>(lineHeight) * picture.MaxX() / 16);
  if (!picture.TrailingText().empty()) width += canvas.TextExtent(picture.TrailingText()).width;
  return width;
}

int PicturePaperWidth(Canvas& canvas, const Picture& picture, int lineHeight) {
  // Two 'x' widen the picture by exactly one line height, even when it is odd.
  int width =
      Clamped(lineHeight + static_cast<long long>(picture.WideningCount()) * lineHeight / 2);
  if (!picture.TrailingText().empty()) width += canvas.TextExtent(picture.TrailingText()).width;
  return width;
}

int PictureCentringOffset(const Picture& picture, int lineHeight) {
  const long long drawn = static_cast<long long>(lineHeight) * picture.MaxY() / 16;
  return Clamped(std::max(0LL, (lineHeight - drawn) / 2));
}

}  // namespace kordavelt
