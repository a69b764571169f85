#pragma once

// Typed views of the scheme geometry records: where each node's busbar lies
// (XYNode), along which orthogonal path each branch runs and where its symbol
// and text sit (XYBranch), and the subschemes (XYPage). Coordinates are in
// grid steps.

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/record_view.h"

namespace kordavelt {

// The position of a node on one subscheme, table 201 (key: node number; a
// node drawn on two subschemes has two records).
class XYNodeRec : public RecordView {
 public:
  using RecordView::RecordView;

  // Start of the busbar (its left or top end).
  std::int16_t X() const;
  void SetX(std::int16_t value);
  std::int16_t Y() const;
  void SetY(std::int16_t value);
  // Busbar length; 0 = a point node.
  std::uint8_t L() const;
  void SetL(std::uint8_t value);
  // Placement code of the node's text; 0 = none.
  std::uint8_t TextDir() const;
  void SetTextDir(std::uint8_t value);
  // Text anchor: steps from the start along the busbar.
  std::uint8_t TextPos() const;
  void SetTextPos(std::uint8_t value);
  // 1 = the busbar runs downwards, 0 = to the right.
  std::uint8_t Vertical() const;
  void SetVertical(std::uint8_t value);
  // Subscheme number.
  std::uint8_t Page() const;
  void SetPage(std::uint8_t value);
};

// The drawing of a branch, table 202 (key: branch key).
class XYBranchRec : public RecordView {
 public:
  using RecordView::RecordView;

  // Path coordinates XY1 … XYE: the first two give the first point, each
  // further one the coordinate its segment changes; Nxy + 2 are in use.
  static constexpr int kPathLength = 14;
  static constexpr int kMaxSegments = kPathLength - 2;

  // Path value `index` (0 … 13); 0 outside the array, where writes do nothing.
  std::int16_t Xy(int index) const;
  void SetXy(int index, std::int16_t value);
  // Text offset, steps.
  std::int8_t TextDX() const;
  void SetTextDX(std::int8_t value);
  std::int8_t TextDY() const;
  void SetTextDY(std::int8_t value);
  // Object kind code of the symbol drawn on the branch; 0 = none.
  std::uint8_t ObjType() const;
  void SetObjType(std::uint8_t value);
  // +1 or -1: direction of the symbol along the branch.
  std::int8_t ObjMirror() const;
  void SetObjMirror(std::int8_t value);
  // Symbol position: steps along the path; 32767 = at its end, 0 or less = no symbol.
  std::int16_t ObjPos() const;
  void SetObjPos(std::int16_t value);
  // Text anchor: steps along the path.
  std::int16_t TextPos() const;
  void SetTextPos(std::int16_t value);
  // 1 = the first segment is vertical.
  std::uint8_t Vertical() const;
  void SetVertical(std::uint8_t value);
  // Segments after the first point (at most 12).
  std::uint8_t Nxy() const;
  void SetNxy(std::uint8_t value);
  // Placement code of the branch's text.
  std::uint8_t TextDir() const;
  void SetTextDir(std::uint8_t value);
  // Subscheme number.
  std::uint8_t Page() const;
  void SetPage(std::uint8_t value);
};

// A subscheme, table 203 (key: its number 1 … 255).
class XYPageRec : public RecordView {
 public:
  using RecordView::RecordView;

  static constexpr int kNameCapacity = 39;

  std::string Name() const;
  void SetName(std::string_view value);
  // Grid point shown at the window's left and top edges.
  std::int16_t X0() const;
  void SetX0(std::int16_t value);
  std::int16_t Y0() const;
  void SetY0(std::int16_t value);
  // Zoom: pixels per grid step; 0 = the font height.
  std::int16_t St() const;
  void SetSt(std::int16_t value);
  // Index of the scale choice.
  std::int16_t Scale() const;
  void SetScale(std::int16_t value);
  // Stamp position.
  std::int16_t StampX() const;
  void SetStampX(std::int16_t value);
  std::int16_t StampY() const;
  void SetStampY(std::int16_t value);
  // Stamp text size: 0 none, 1 100 %, 2 200 %, 3 300 %.
  std::uint8_t StampSize() const;
  void SetStampSize(std::uint8_t value);
};

}  // namespace kordavelt
