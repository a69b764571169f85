#include "model/scheme_records.h"

// Offsets of the fields in the scheme records.

namespace kordavelt {
namespace {

bool InPath(int index) { return index >= 0 && index < XYBranchRec::kPathLength; }

}  // namespace

// --- XYNodeRec (10 bytes; byte 9 reserved) ---------------------------------

std::int16_t XYNodeRec::X() const { return I16(0); }
void XYNodeRec::SetX(std::int16_t value) { SetI16(0, value); }
std::int16_t XYNodeRec::Y() const { return I16(2); }
void XYNodeRec::SetY(std::int16_t value) { SetI16(2, value); }
std::uint8_t XYNodeRec::L() const { return U8(4); }
void XYNodeRec::SetL(std::uint8_t value) { SetU8(4, value); }
std::uint8_t XYNodeRec::TextDir() const { return U8(5); }
void XYNodeRec::SetTextDir(std::uint8_t value) { SetU8(5, value); }
std::uint8_t XYNodeRec::TextPos() const { return U8(6); }
void XYNodeRec::SetTextPos(std::uint8_t value) { SetU8(6, value); }
std::uint8_t XYNodeRec::Vertical() const { return U8(7); }
void XYNodeRec::SetVertical(std::uint8_t value) { SetU8(7, value); }
std::uint8_t XYNodeRec::Page() const { return U8(8); }
void XYNodeRec::SetPage(std::uint8_t value) { SetU8(8, value); }

// --- XYBranchRec (40 bytes) ------------------------------------------------

std::int16_t XYBranchRec::Xy(int index) const { return InPath(index) ? I16(2 * index) : 0; }
void XYBranchRec::SetXy(int index, std::int16_t value) {
  if (InPath(index)) SetI16(2 * index, value);
}
std::int8_t XYBranchRec::TextDX() const { return I8(28); }
void XYBranchRec::SetTextDX(std::int8_t value) { SetI8(28, value); }
std::int8_t XYBranchRec::TextDY() const { return I8(29); }
void XYBranchRec::SetTextDY(std::int8_t value) { SetI8(29, value); }
std::uint8_t XYBranchRec::ObjType() const { return U8(30); }
void XYBranchRec::SetObjType(std::uint8_t value) { SetU8(30, value); }
std::int8_t XYBranchRec::ObjMirror() const { return I8(31); }
void XYBranchRec::SetObjMirror(std::int8_t value) { SetI8(31, value); }
std::int16_t XYBranchRec::ObjPos() const { return I16(32); }
void XYBranchRec::SetObjPos(std::int16_t value) { SetI16(32, value); }
std::int16_t XYBranchRec::TextPos() const { return I16(34); }
void XYBranchRec::SetTextPos(std::int16_t value) { SetI16(34, value); }
std::uint8_t XYBranchRec::Vertical() const { return U8(36); }
void XYBranchRec::SetVertical(std::uint8_t value) { SetU8(36, value); }
std::uint8_t XYBranchRec::Nxy() const { return U8(37); }
void XYBranchRec::SetNxy(std::uint8_t value) { SetU8(37, value); }
std::uint8_t XYBranchRec::TextDir() const { return U8(38); }
void XYBranchRec::SetTextDir(std::uint8_t value) { SetU8(38, value); }
std::uint8_t XYBranchRec::Page() const { return U8(39); }
void XYBranchRec::SetPage(std::uint8_t value) { SetU8(39, value); }

// --- XYPageRec (56 bytes; bytes 53 … 55 reserved) --------------------------

std::string XYPageRec::Name() const { return Str(0, kNameCapacity); }
void XYPageRec::SetName(std::string_view value) { SetStr(0, kNameCapacity, value); }
std::int16_t XYPageRec::X0() const { return I16(40); }
void XYPageRec::SetX0(std::int16_t value) { SetI16(40, value); }
std::int16_t XYPageRec::Y0() const { return I16(42); }
void XYPageRec::SetY0(std::int16_t value) { SetI16(42, value); }
std::int16_t XYPageRec::St() const { return I16(44); }
void XYPageRec::SetSt(std::int16_t value) { SetI16(44, value); }
std::int16_t XYPageRec::Scale() const { return I16(46); }
void XYPageRec::SetScale(std::int16_t value) { SetI16(46, value); }
std::int16_t XYPageRec::StampX() const { return I16(48); }
void XYPageRec::SetStampX(std::int16_t value) { SetI16(48, value); }
std::int16_t XYPageRec::StampY() const { return I16(50); }
void XYPageRec::SetStampY(std::int16_t value) { SetI16(50, value); }
std::uint8_t XYPageRec::StampSize() const { return U8(52); }
void XYPageRec::SetStampSize(std::uint8_t value) { SetU8(52, value); }

}  // namespace kordavelt
