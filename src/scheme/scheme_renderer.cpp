#include "scheme/scheme_renderer.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/dial_list.h"
#include "draw/picture_string.h"
#include "scheme/branch_layout.h"
#include "scheme/drawing_lists.h"
#include "scheme/node_shape.h"
#include "scheme/text_placement.h"

namespace kordavelt {
namespace {

// Grid steps by which the drawing lists reach beyond the drawing area, so
// that a text or symbol whose element lies just outside still shows.
constexpr int kListMargin = 10;

PointF P(DevicePoint p) { return {p.x, p.y}; }

std::vector<PointF> Points(std::span<const DevicePoint> points) {
  std::vector<PointF> result;
  result.reserve(points.size());
  for (const DevicePoint p : points) result.push_back(P(p));
  return result;
}

class PagePainter {
 public:
  PagePainter(const SchemeView& view, const SchemeHooks& hooks, Canvas& canvas)
      : view_(view),
        hooks_(hooks),
        canvas_(canvas),
        sizes_(view.transform.Sizes()),
        penWidth_(PenWidth(view.settings, view.transform.StepX())),
        font_(TextFontOf(view.settings.fontFactor, view.transform.StepY())),
        visible_(view.transform.VisibleArea(view.width, view.height)) {}

  void Background() {
    canvas_.FillRect({0, 0, static_cast<double>(view_.width), static_cast<double>(view_.height)},
                     view_.colours.background);
  }
  void Node(const NodeGeometry& node);
  void Branch(const BranchGeometry& branch);
  void Stamp();
  void DotGrid();

  const SchemePaintCount& Count() const { return count_; }

 private:
  Color TextColour(Color element) const {
    return view_.settings.colouredText ? element : view_.colours.text;
  }
  void Outline(Color colour, double width = 0) {
    canvas_.pen = Pen{colour, width > 0 ? width : penWidth_, PenStyle::Solid};
    canvas_.brush = Brush{view_.colours.background, BrushStyle::Clear};
  }
  void Circle(DevicePoint centre, double radius) {
    canvas_.Ellipse({centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius});
  }
  // The lines of '#'-list `text` placed by `textDir` at `anchor`.
  void Text(std::string_view text, int textDir, DevicePoint anchor, const TextFont& font,
            Color colour);
  void Marker(const EndMarker& marker, Color colour);
  // The symbol with its first connection point where `place` puts it.
  void Symbol(const Picture& picture, const SymbolPlacement& place, Color colour);

  const SchemeView& view_;
  const SchemeHooks& hooks_;
  Canvas& canvas_;
  ModuleSizes sizes_;
  int penWidth_;
  TextFont font_;
  GridRect visible_;
  SchemePaintCount count_;
};

void PagePainter::Text(std::string_view text, int textDir, DevicePoint anchor, const TextFont& font,
                       Color colour) {
  if (text.empty() || !TextShown(textDir)) return;
  const int count = font.firstLineOnly ? 1 : ListCount(text);
  const std::vector<TextLine> lines = PlaceText(textDir, anchor, count, font.height, sizes_);
  canvas_.font.height = font.height;
  canvas_.font.color = colour;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string line = ListItem(text, static_cast<int>(i));
    if (line.empty()) continue;
    const TextLine& place = lines[i];
    canvas_.Text(P(place.origin), line, place.upward ? 90 : 0,
                 place.align == TextAlign::End ? HAlign::Right : HAlign::Left, VAlign::Top);
    ++count_.textLines;
  }
}

void PagePainter::Node(const NodeGeometry& node) {
  NodeLabel label{std::to_string(node.key), view_.colours.standard};
  if (hooks_.nodeText) label = hooks_.nodeText(node.key);
  const NodeShape shape = ShapeNode(node, view_.transform, view_.settings, view_.editMode);
  Outline(label.colour);
  if (!shape.point) {
    const DeviceRect& b = shape.busbar;
    canvas_.Rectangle({b.left, b.top, b.right, b.bottom});
  } else if (shape.shown) {
    Circle(shape.centre, shape.radius);
  }
  Text(label.text, node.textDir, shape.textAnchor, font_, TextColour(label.colour));
  ++count_.nodes;
}

void PagePainter::Marker(const EndMarker& marker, Color colour) {
  Outline(colour);
  Circle(marker.point, marker.circleRadius);
  canvas_.Line(P(marker.stubFrom), P(marker.stubTo));
  switch (marker.kind) {
    case MarkerKind::Triangle:
    case MarkerKind::Box:
      canvas_.brush = Brush{marker.filled ? colour : view_.colours.background, BrushStyle::Solid};
      canvas_.Polygon(Points(marker.outline));
      break;
    case MarkerKind::Gap:
      Outline(colour, marker.barThickness);
      canvas_.Line(P(marker.barFrom), P(marker.barTo));
      break;
    case MarkerKind::None:
      break;
  }
}

void PagePainter::Symbol(const Picture& picture, const SymbolPlacement& place, Color colour) {
  const std::vector<PicturePoint>& joints = picture.ConnectionPoints();
  const PicturePoint first = joints.empty() ? PicturePoint{} : joints.front();
  // One picture digit is a quarter step; x runs across the segment, y along it.
  const double across = place.stepAcross / 4.0;
  const double along = place.stepAlong / 4.0;
  const Transform turn{place.axisX.x * across, place.axisY.x * along, place.axisX.y * across,
                       place.axisY.y * along,  place.origin.x,        place.origin.y};
  SavedCanvasState saved(canvas_);
  canvas_.SetTransform(canvas_.CurrentTransform().After(turn));
  DrawPictureScaled(canvas_, picture, PointF(-first.x, -first.y), 1.0, penWidth_, colour);
  ++count_.symbols;
}

void PagePainter::Branch(const BranchGeometry& branch) {
  ObjectDrawing object;
  if (branch.HasSymbol() && hooks_.objectSymbol) {
    object = hooks_.objectSymbol(branch.objType, branch.key);
  }
  BranchLabel label{object.label, {view_.colours.standard, view_.colours.standard}, true, 1};
  if (hooks_.branchText) label = hooks_.branchText(branch.key, object.label);
  if (!label.text.empty() && label.text.front() == '#') label.text.erase(0, 1);

  // Without a picture the line runs straight through the symbol's place:
  // the symbol reaches nowhere and nothing is drawn there.
  const Picture picture = Picture::Parse(object.symbol);
  const std::vector<PicturePoint>& joints = picture.ConnectionPoints();
  BranchLook look;
  look.switchedOn = label.switchedOn;
  look.directionSign = label.direction;
  look.cableLine = object.cable;
  look.hasText = !label.text.empty();
  look.symbolReach = joints.size() >= 2 ? joints[1].y - joints[0].y : 0;
  const BranchLayout layout = LayoutBranch(branch, view_.transform, view_.settings, look, visible_);
  const Color c1 = label.colours.start;
  const Color c2 = label.colours.end;

  Outline(c1);
  if (layout.first.size() >= 2) canvas_.Polyline(Points(layout.first));
  Outline(c2);
  if (layout.second.size() >= 2) canvas_.Polyline(Points(layout.second));
  if (layout.startMarker) Marker(*layout.startMarker, layout.StartsInFirstColour() ? c1 : c2);
  if (layout.endMarker) Marker(*layout.endMarker, c2);
  if (layout.symbol && !object.symbol.empty()) Symbol(picture, *layout.symbol, c1);

  const Color part = layout.text.beforeSymbol ? c1 : c2;
  if (layout.text.text) {
    Text(label.text, layout.text.textDir, layout.text.anchor, font_, TextColour(part));
  }
  if (layout.text.arrow && layout.text.segment >= 0) {
    Outline(part);
    canvas_.Polyline(Points(layout.text.chevron));
  }
  ++count_.branches;
}

void PagePainter::Stamp() {
  if (view_.stampSize < 1 || view_.stampSize > 3 || !hooks_.stampText) return;
  const std::string text = hooks_.stampText();
  if (text.empty()) return;
  const int factor = (view_.settings.fontFactor + 2) * view_.stampSize - 2;
  const TextFont font = TextFontOf(factor, view_.transform.StepY());
  const int count = font.firstLineOnly ? 1 : ListCount(text);
  const DevicePoint at = view_.transform.ToDevice(view_.stamp);
  const int stepX = view_.transform.StepX();
  const int stepY = view_.transform.StepY();

  canvas_.font.height = font.height;
  canvas_.font.color = view_.colours.text;
  double width = 0;
  for (int i = 0; i < count; ++i) {
    const std::string line = ListItem(text, i);
    width = std::max(width, canvas_.MeasureText(line).width);
    canvas_.Text({at.x + stepX / 2.0, at.y + stepY / 2.0 + i * font.height}, line);
    ++count_.textLines;
  }
  // The frame: the text in whole steps, plus one step of margin.
  const double frameX = (std::ceil(width / stepX) + 1) * stepX;
  const double frameY = (std::ceil(static_cast<double>(count) * font.height / stepY) + 1) * stepY;
  Outline(view_.colours.text);
  canvas_.Rectangle({at.x, at.y, at.x + frameX, at.y + frameY});
}

void PagePainter::DotGrid() {
  if (!view_.settings.dotGrid || view_.transform.StepX() < 4 || visible_.Empty()) return;
  for (int y = visible_.top; y <= visible_.bottom; ++y) {
    for (int x = visible_.left; x <= visible_.right; ++x) {
      const DevicePoint p = view_.transform.ToDevice({x, y});
      if (p.x < 0 || p.y < 0 || p.x >= view_.width || p.y >= view_.height) continue;
      canvas_.FillRect({p.x, p.y, p.x + 1, p.y + 1}, kBlack);
    }
  }
}

}  // namespace

SchemePaintCount RenderSchemePage(std::span<const NodeGeometry> nodes,
                                  std::span<const BranchGeometry> branches, const SchemeView& view,
                                  const SchemeHooks& hooks, Canvas& canvas) {
  SavedCanvasState saved(canvas);
  PagePainter painter(view, hooks, canvas);
  painter.Background();
  const GridRect area = view.transform.VisibleArea(view.width, view.height, kListMargin);
  const DrawingLists lists = BuildDrawingLists(nodes, branches, view.page, area);
  for (const std::size_t i : lists.nodes) painter.Node(nodes[i]);
  for (const std::size_t i : lists.branches) painter.Branch(branches[i]);
  painter.Stamp();
  painter.DotGrid();
  return painter.Count();
}

}  // namespace kordavelt
