#include "scheme/scheme_geometry.h"

#include "model/scheme_records.h"

namespace kordavelt {

NodeGeometry NodeGeometryOf(std::int32_t key, const XYNodeRec& record) {
  NodeGeometry node;
  node.key = key;
  node.x = record.X();
  node.y = record.Y();
  node.length = record.L();
  node.textDir = record.TextDir();
  node.textPos = record.TextPos();
  node.vertical = record.Vertical() != 0;
  node.page = record.Page();
  return node;
}

void StoreNodeGeometry(const NodeGeometry& node, XYNodeRec& record) {
  record.SetX(node.x);
  record.SetY(node.y);
  record.SetL(static_cast<std::uint8_t>(node.length));
  record.SetTextDir(static_cast<std::uint8_t>(node.textDir));
  record.SetTextPos(static_cast<std::uint8_t>(node.textPos));
  record.SetVertical(node.vertical ? 1 : 0);
  record.SetPage(static_cast<std::uint8_t>(node.page));
}

BranchGeometry BranchGeometryOf(std::int32_t key, const XYBranchRec& record) {
  BranchGeometry branch;
  branch.key = key;
  for (int i = 0; i < BranchGeometry::kValues; ++i) branch.xy[i] = record.Xy(i);
  branch.textDx = record.TextDX();
  branch.textDy = record.TextDY();
  branch.objType = record.ObjType();
  branch.objMirror = record.ObjMirror();
  branch.objPos = record.ObjPos();
  branch.textPos = record.TextPos();
  branch.vertical = record.Vertical() != 0;
  branch.nxy = record.Nxy();
  branch.textDir = record.TextDir();
  branch.page = record.Page();
  return branch;
}

void StoreBranchGeometry(const BranchGeometry& branch, XYBranchRec& record) {
  for (int i = 0; i < BranchGeometry::kValues; ++i) record.SetXy(i, branch.xy[i]);
  record.SetTextDX(static_cast<std::int8_t>(branch.textDx));
  record.SetTextDY(static_cast<std::int8_t>(branch.textDy));
  record.SetObjType(static_cast<std::uint8_t>(branch.objType));
  record.SetObjMirror(static_cast<std::int8_t>(branch.objMirror));
  record.SetObjPos(static_cast<std::int16_t>(branch.objPos));
  record.SetTextPos(static_cast<std::int16_t>(branch.textPos));
  record.SetVertical(branch.vertical ? 1 : 0);
  record.SetNxy(static_cast<std::uint8_t>(branch.nxy));
  record.SetTextDir(static_cast<std::uint8_t>(branch.textDir));
  record.SetPage(static_cast<std::uint8_t>(branch.page));
}

}  // namespace kordavelt
