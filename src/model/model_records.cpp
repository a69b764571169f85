#include "model/model_records.h"

// Offsets of the fields in the records; bytes 4 … 19 and 27 … 28 of a node
// carry nothing.

namespace kordavelt {

// --- NodeRec (34 bytes) ---------------------------------------------------

float NodeRec::Ko() const { return F32(0); }
void NodeRec::SetKo(float value) { SetF32(0, value); }
std::int16_t NodeRec::X() const { return I16(20); }
void NodeRec::SetX(std::int16_t value) { SetI16(20, value); }
std::int16_t NodeRec::Y() const { return I16(22); }
void NodeRec::SetY(std::int16_t value) { SetI16(22, value); }
std::int16_t NodeRec::Z() const { return I16(24); }
void NodeRec::SetZ(std::int16_t value) { SetI16(24, value); }
std::uint8_t NodeRec::Unom() const { return U8(26); }
void NodeRec::SetUnom(std::uint8_t value) { SetU8(26, value); }
std::uint8_t NodeRec::NodeType() const { return U8(29); }
void NodeRec::SetNodeType(std::uint8_t value) { SetU8(29, value); }
std::uint16_t NodeRec::CodRoom() const { return U16(30); }
void NodeRec::SetCodRoom(std::uint16_t value) { SetU16(30, value); }
std::uint16_t NodeRec::KeyName() const { return U16(32); }
void NodeRec::SetKeyName(std::uint16_t value) { SetU16(32, value); }

// --- BranchRec (8 bytes) --------------------------------------------------

std::int32_t BranchRec::KeyEnd() const { return I32(0); }
void BranchRec::SetKeyEnd(std::int32_t value) { SetI32(0, value); }
std::uint8_t BranchRec::Kind() const { return U8(4); }
void BranchRec::SetKind(std::uint8_t value) { SetU8(4, value); }
std::uint8_t BranchRec::Phase() const { return U8(5); }
void BranchRec::SetPhase(std::uint8_t value) { SetU8(5, value); }
std::uint16_t BranchRec::Status() const { return U16(6); }
void BranchRec::SetStatus(std::uint16_t value) { SetU16(6, value); }

// --- FarEndRec (4 bytes) --------------------------------------------------

std::int32_t FarEndRec::BranchKey() const { return I32(0); }
void FarEndRec::SetBranchKey(std::int32_t value) { SetI32(0, value); }

// --- SourceRec (38 bytes) -------------------------------------------------

std::string SourceRec::Marking() const { return Str(0, kMarkingCapacity); }
void SourceRec::SetMarking(std::string_view value) { SetStr(0, kMarkingCapacity, value); }
std::uint8_t SourceRec::VoltageIndex() const { return U8(20); }
void SourceRec::SetVoltageIndex(std::uint8_t value) { SetU8(20, value); }
std::uint8_t SourceRec::Calculated() const { return U8(21); }
void SourceRec::SetCalculated(std::uint8_t value) { SetU8(21, value); }
float SourceRec::DesignP() const { return F32(22); }
void SourceRec::SetDesignP(float value) { SetF32(22, value); }
float SourceRec::DesignQ() const { return F32(26); }
void SourceRec::SetDesignQ(float value) { SetF32(26, value); }
std::int32_t SourceRec::BranchKey() const { return I32(30); }
void SourceRec::SetBranchKey(std::int32_t value) { SetI32(30, value); }
std::int32_t SourceRec::Colour() const { return I32(34); }
void SourceRec::SetColour(std::int32_t value) { SetI32(34, value); }

// --- ReceiverRec (35 bytes) -----------------------------------------------

std::int32_t ReceiverRec::BranchKey() const { return I32(0); }
void ReceiverRec::SetBranchKey(std::int32_t value) { SetI32(0, value); }
std::string ReceiverRec::Marking() const { return Str(4, kMarkingCapacity); }
void ReceiverRec::SetMarking(std::string_view value) { SetStr(4, kMarkingCapacity, value); }
std::int16_t ReceiverRec::X() const { return I16(24); }
void ReceiverRec::SetX(std::int16_t value) { SetI16(24, value); }
std::int16_t ReceiverRec::Y() const { return I16(26); }
void ReceiverRec::SetY(std::int16_t value) { SetI16(26, value); }
std::int16_t ReceiverRec::Z() const { return I16(28); }
void ReceiverRec::SetZ(std::int16_t value) { SetI16(28, value); }
std::uint8_t ReceiverRec::SourceNumber() const { return U8(30); }
void ReceiverRec::SetSourceNumber(std::uint8_t value) { SetU8(30, value); }
std::uint8_t ReceiverRec::PhaseIndex() const { return U8(31); }
void ReceiverRec::SetPhaseIndex(std::uint8_t value) { SetU8(31, value); }
std::uint8_t ReceiverRec::SwitchedOn() const { return U8(32); }
void ReceiverRec::SetSwitchedOn(std::uint8_t value) { SetU8(32, value); }
std::uint16_t ReceiverRec::Room() const { return U16(33); }
void ReceiverRec::SetRoom(std::uint16_t value) { SetU16(33, value); }

// --- GroupRec (164 bytes) -------------------------------------------------

std::string GroupRec::Name() const { return Str(0, kNameCapacity); }
void GroupRec::SetName(std::string_view value) { SetStr(0, kNameCapacity, value); }
float GroupRec::Kv() const { return F32(100); }
void GroupRec::SetKv(float value) { SetF32(100, value); }
float GroupRec::Kz() const { return F32(104); }
void GroupRec::SetKz(float value) { SetF32(104, value); }
float GroupRec::Kpv() const { return F32(108); }
void GroupRec::SetKpv(float value) { SetF32(108, value); }
float GroupRec::Tc() const { return F32(112); }
void GroupRec::SetTc(float value) { SetF32(112, value); }
std::uint8_t GroupRec::Nphase() const { return U8(116); }
void GroupRec::SetNphase(std::uint8_t value) { SetU8(116, value); }
std::uint8_t GroupRec::Regim() const { return U8(117); }
void GroupRec::SetRegim(std::uint8_t value) { SetU8(117, value); }
std::uint8_t GroupRec::Class() const { return U8(118); }
void GroupRec::SetClass(std::uint8_t value) { SetU8(118, value); }
std::uint8_t GroupRec::SelfStart() const { return U8(119); }
void GroupRec::SetSelfStart(std::uint8_t value) { SetU8(119, value); }
float GroupRec::P() const { return F32(120); }
void GroupRec::SetP(float value) { SetF32(120, value); }
float GroupRec::Q() const { return F32(124); }
void GroupRec::SetQ(float value) { SetF32(124, value); }
float GroupRec::Unom() const { return F32(128); }
void GroupRec::SetUnom(float value) { SetF32(128, value); }
float GroupRec::Istart() const { return F32(132); }
void GroupRec::SetIstart(float value) { SetF32(132, value); }
float GroupRec::CosFstart() const { return F32(136); }
void GroupRec::SetCosFstart(float value) { SetF32(136, value); }
float GroupRec::Tstart() const { return F32(140); }
void GroupRec::SetTstart(float value) { SetF32(140, value); }
std::uint16_t GroupRec::ReceiverCount() const { return U16(144); }
void GroupRec::SetReceiverCount(std::uint16_t value) { SetU16(144, value); }
std::uint16_t GroupRec::WorkingCount() const { return U16(146); }
void GroupRec::SetWorkingCount(std::uint16_t value) { SetU16(146, value); }
std::int32_t GroupRec::KeyType() const { return I32(148); }
void GroupRec::SetKeyType(std::int32_t value) { SetI32(148, value); }
std::int32_t GroupRec::KeyMech() const { return I32(152); }
void GroupRec::SetKeyMech(std::int32_t value) { SetI32(152, value); }
std::string GroupRec::Type() const { return Str(156, kTypeCapacity); }
void GroupRec::SetType(std::string_view value) { SetStr(156, kTypeCapacity, value); }

// --- RoomRec (112 bytes) --------------------------------------------------

std::string RoomRec::Descript() const { return Str(0, kDescriptCapacity); }
void RoomRec::SetDescript(std::string_view value) { SetStr(0, kDescriptCapacity, value); }
std::string RoomRec::Name() const { return Str(20, kNameCapacity); }
void RoomRec::SetName(std::string_view value) { SetStr(20, kNameCapacity, value); }
float RoomRec::Xmin() const { return F32(70); }
void RoomRec::SetXmin(float value) { SetF32(70, value); }
float RoomRec::Ymin() const { return F32(74); }
void RoomRec::SetYmin(float value) { SetF32(74, value); }
float RoomRec::Zmin() const { return F32(78); }
void RoomRec::SetZmin(float value) { SetF32(78, value); }
float RoomRec::DX() const { return F32(82); }
void RoomRec::SetDX(float value) { SetF32(82, value); }
float RoomRec::DY() const { return F32(86); }
void RoomRec::SetDY(float value) { SetF32(86, value); }
float RoomRec::DZ() const { return F32(90); }
void RoomRec::SetDZ(float value) { SetF32(90, value); }
float RoomRec::Angle() const { return F32(94); }
void RoomRec::SetAngle(float value) { SetF32(94, value); }
float RoomRec::Tv() const { return F32(98); }
void RoomRec::SetTv(float value) { SetF32(98, value); }
float RoomRec::Qtv() const { return F32(102); }
void RoomRec::SetQtv(float value) { SetF32(102, value); }
std::int32_t RoomRec::Color() const { return I32(106); }
void RoomRec::SetColor(std::int32_t value) { SetI32(106, value); }
std::uint8_t RoomRec::FireClass() const { return U8(110); }
void RoomRec::SetFireClass(std::uint8_t value) { SetU8(110, value); }
std::uint8_t RoomRec::ExplosionClass() const { return U8(111); }
void RoomRec::SetExplosionClass(std::uint8_t value) { SetU8(111, value); }

// --- MarkingRec (20 bytes), NameRec (128 bytes) ----------------------------

std::string MarkingRec::Text() const { return Str(0, kCapacity); }
void MarkingRec::SetText(std::string_view value) { SetStr(0, kCapacity, value); }
std::string NameRec::Text() const { return Str(0, kCapacity); }
void NameRec::SetText(std::string_view value) { SetStr(0, kCapacity, value); }

}  // namespace kordavelt
