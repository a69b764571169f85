#include "model/object_records.h"

// Offsets of the fields in the object records.

namespace kordavelt {

// --- AbstractBranchRec (36 bytes) --------------------------------------------

std::string AbstractBranchRec::Type() const { return Str(0, kTypeCapacity); }
void AbstractBranchRec::SetType(std::string_view value) { SetStr(0, kTypeCapacity, value); }
float AbstractBranchRec::R1() const { return F32(20); }
void AbstractBranchRec::SetR1(float value) { SetF32(20, value); }
float AbstractBranchRec::X1() const { return F32(24); }
void AbstractBranchRec::SetX1(float value) { SetF32(24, value); }
float AbstractBranchRec::R0() const { return F32(28); }
void AbstractBranchRec::SetR0(float value) { SetF32(28, value); }
float AbstractBranchRec::X0() const { return F32(32); }
void AbstractBranchRec::SetX0(float value) { SetF32(32, value); }

// --- CableLineRec (20 bytes) -------------------------------------------------

std::int32_t CableLineRec::Type() const { return I32(0); }
void CableLineRec::SetType(std::int32_t value) { SetI32(0, value); }
std::int32_t CableLineRec::Type2() const { return I32(4); }
void CableLineRec::SetType2(std::int32_t value) { SetI32(4, value); }
float CableLineRec::L() const { return F32(8); }
void CableLineRec::SetL(float value) { SetF32(8, value); }
float CableLineRec::Kpr() const { return F32(12); }
void CableLineRec::SetKpr(float value) { SetF32(12, value); }
std::uint8_t CableLineRec::Nk() const { return U8(16); }
void CableLineRec::SetNk(std::uint8_t value) { SetU8(16, value); }
std::uint8_t CableLineRec::Nk2() const { return U8(17); }
void CableLineRec::SetNk2(std::uint8_t value) { SetU8(17, value); }
std::uint8_t CableLineRec::Codepr() const { return U8(18); }
void CableLineRec::SetCodepr(std::uint8_t value) { SetU8(18, value); }
std::uint8_t CableLineRec::Kdk() const { return U8(19); }
void CableLineRec::SetKdk(std::uint8_t value) { SetU8(19, value); }

// --- WiringRec (23 bytes) ----------------------------------------------------

std::int32_t WiringRec::Type() const { return I32(0); }
void WiringRec::SetType(std::int32_t value) { SetI32(0, value); }
std::int32_t WiringRec::TypeN() const { return I32(4); }
void WiringRec::SetTypeN(std::int32_t value) { SetI32(4, value); }
float WiringRec::L() const { return F32(8); }
void WiringRec::SetL(float value) { SetF32(8, value); }
float WiringRec::Kpr() const { return F32(12); }
void WiringRec::SetKpr(float value) { SetF32(12, value); }
float WiringRec::WireSpacing() const { return F32(16); }
void WiringRec::SetWireSpacing(float value) { SetF32(16, value); }
std::uint8_t WiringRec::Ncond() const { return U8(20); }
void WiringRec::SetNcond(std::uint8_t value) { SetU8(20, value); }
std::uint8_t WiringRec::Cabining() const { return U8(21); }
void WiringRec::SetCabining(std::uint8_t value) { SetU8(21, value); }
std::uint8_t WiringRec::Kdp() const { return U8(22); }
void WiringRec::SetKdp(std::uint8_t value) { SetU8(22, value); }

// --- OverheadLineRec (22 bytes) ----------------------------------------------

std::int32_t OverheadLineRec::Type() const { return I32(0); }
void OverheadLineRec::SetType(std::int32_t value) { SetI32(0, value); }
std::int32_t OverheadLineRec::TypeN() const { return I32(4); }
void OverheadLineRec::SetTypeN(std::int32_t value) { SetI32(4, value); }
float OverheadLineRec::L() const { return F32(8); }
void OverheadLineRec::SetL(float value) { SetF32(8, value); }
float OverheadLineRec::Dsg() const { return F32(12); }
void OverheadLineRec::SetDsg(float value) { SetF32(12, value); }
float OverheadLineRec::Rzaz() const { return F32(16); }
void OverheadLineRec::SetRzaz(float value) { SetF32(16, value); }
std::uint8_t OverheadLineRec::Nzaz() const { return U8(20); }
void OverheadLineRec::SetNzaz(std::uint8_t value) { SetU8(20, value); }
std::uint8_t OverheadLineRec::WiresPerPhase() const { return U8(21); }
void OverheadLineRec::SetWiresPerPhase(std::uint8_t value) { SetU8(21, value); }

// --- TrunkingRec (10 bytes) --------------------------------------------------

std::int32_t TrunkingRec::Type() const { return I32(0); }
void TrunkingRec::SetType(std::int32_t value) { SetI32(0, value); }
float TrunkingRec::L() const { return F32(4); }
void TrunkingRec::SetL(float value) { SetF32(4, value); }
std::uint16_t TrunkingRec::N() const { return U16(8); }
void TrunkingRec::SetN(std::uint16_t value) { SetU16(8, value); }

// --- BusbarTrunkingRec (32 bytes) --------------------------------------------

std::uint8_t BusbarTrunkingRec::Material() const { return U8(0); }
void BusbarTrunkingRec::SetMaterial(std::uint8_t value) { SetU8(0, value); }
std::uint8_t BusbarTrunkingRec::Construction() const { return U8(1); }
void BusbarTrunkingRec::SetConstruction(std::uint8_t value) { SetU8(1, value); }
std::uint16_t BusbarTrunkingRec::Sections() const { return U16(2); }
void BusbarTrunkingRec::SetSections(std::uint16_t value) { SetU16(2, value); }
float BusbarTrunkingRec::L() const { return F32(4); }
void BusbarTrunkingRec::SetL(float value) { SetF32(4, value); }
float BusbarTrunkingRec::D() const { return F32(8); }
void BusbarTrunkingRec::SetD(float value) { SetF32(8, value); }
float BusbarTrunkingRec::B() const { return F32(12); }
void BusbarTrunkingRec::SetB(float value) { SetF32(12, value); }
float BusbarTrunkingRec::H() const { return F32(16); }
void BusbarTrunkingRec::SetH(float value) { SetF32(16, value); }
float BusbarTrunkingRec::BvOrD() const { return F32(20); }
void BusbarTrunkingRec::SetBvOrD(float value) { SetF32(20, value); }
float BusbarTrunkingRec::F() const { return F32(24); }
void BusbarTrunkingRec::SetF(float value) { SetF32(24, value); }
float BusbarTrunkingRec::G0() const { return F32(28); }
void BusbarTrunkingRec::SetG0(float value) { SetF32(28, value); }

// --- ProtectiveDeviceRec (157 bytes) -----------------------------------------

std::string ProtectiveDeviceRec::Name() const { return Str(0, kNameCapacity); }
void ProtectiveDeviceRec::SetName(std::string_view value) { SetStr(0, kNameCapacity, value); }
float ProtectiveDeviceRec::Ir() const { return F32(20); }
void ProtectiveDeviceRec::SetIr(float value) { SetF32(20, value); }
float ProtectiveDeviceRec::Tr() const { return F32(24); }
void ProtectiveDeviceRec::SetTr(float value) { SetF32(24, value); }
float ProtectiveDeviceRec::Im() const { return F32(28); }
void ProtectiveDeviceRec::SetIm(float value) { SetF32(28, value); }
float ProtectiveDeviceRec::Tm() const { return F32(32); }
void ProtectiveDeviceRec::SetTm(float value) { SetF32(32, value); }
float ProtectiveDeviceRec::Iots() const { return F32(36); }
void ProtectiveDeviceRec::SetIots(float value) { SetF32(36, value); }
float ProtectiveDeviceRec::Imax() const { return F32(40); }
void ProtectiveDeviceRec::SetImax(float value) { SetF32(40, value); }
Bytes ProtectiveDeviceRec::Vth() const { return Span(44, kVthSize); }
std::uint8_t ProtectiveDeviceRec::OnePhaseProtection() const { return U8(156); }
void ProtectiveDeviceRec::SetOnePhaseProtection(std::uint8_t value) { SetU8(156, value); }

// --- BreakerRec (34 bytes) ---------------------------------------------------

std::int32_t BreakerRec::Type() const { return I32(0); }
void BreakerRec::SetType(std::int32_t value) { SetI32(0, value); }
std::int32_t BreakerRec::TripUnitType() const { return I32(4); }
void BreakerRec::SetTripUnitType(std::int32_t value) { SetI32(4, value); }
float BreakerRec::Inom() const { return F32(8); }
void BreakerRec::SetInom(float value) { SetF32(8, value); }
float BreakerRec::Ir() const { return F32(12); }
void BreakerRec::SetIr(float value) { SetF32(12, value); }
float BreakerRec::Tr() const { return F32(16); }
void BreakerRec::SetTr(float value) { SetF32(16, value); }
float BreakerRec::Im() const { return F32(20); }
void BreakerRec::SetIm(float value) { SetF32(20, value); }
float BreakerRec::Tm() const { return F32(24); }
void BreakerRec::SetTm(float value) { SetF32(24, value); }
float BreakerRec::Iots() const { return F32(28); }
void BreakerRec::SetIots(float value) { SetF32(28, value); }
std::uint8_t BreakerRec::BtConst() const { return U8(32); }
void BreakerRec::SetBtConst(std::uint8_t value) { SetU8(32, value); }
std::uint8_t BreakerRec::OnePhaseProtection() const { return U8(33); }
void BreakerRec::SetOnePhaseProtection(std::uint8_t value) { SetU8(33, value); }

// --- FuseRec (12 bytes) ------------------------------------------------------

std::int32_t FuseRec::Type() const { return I32(0); }
void FuseRec::SetType(std::int32_t value) { SetI32(0, value); }
float FuseRec::Inom() const { return F32(4); }
void FuseRec::SetInom(float value) { SetF32(4, value); }
float FuseRec::Ipv() const { return F32(8); }
void FuseRec::SetIpv(float value) { SetF32(8, value); }

// --- TypeOnlyRec (4 bytes) ---------------------------------------------------

std::int32_t TypeOnlyRec::Type() const { return I32(0); }
void TypeOnlyRec::SetType(std::int32_t value) { SetI32(0, value); }

// --- StarterRec (12 bytes) (bytes 4 … 11 unused) -----------------------------

std::int32_t StarterRec::Type() const { return I32(0); }
void StarterRec::SetType(std::int32_t value) { SetI32(0, value); }

// --- TransformerRec (29 bytes) -----------------------------------------------

std::int32_t TransformerRec::Type() const { return I32(0); }
void TransformerRec::SetType(std::int32_t value) { SetI32(0, value); }
float TransformerRec::Pk() const { return F32(4); }
void TransformerRec::SetPk(float value) { SetF32(4, value); }
float TransformerRec::Uk() const { return F32(8); }
void TransformerRec::SetUk(float value) { SetF32(8, value); }
float TransformerRec::Ph() const { return F32(12); }
void TransformerRec::SetPh(float value) { SetF32(12, value); }
float TransformerRec::Ih() const { return F32(16); }
void TransformerRec::SetIh(float value) { SetF32(16, value); }
float TransformerRec::Uv() const { return F32(20); }
void TransformerRec::SetUv(float value) { SetF32(20, value); }
float TransformerRec::Un() const { return F32(24); }
void TransformerRec::SetUn(float value) { SetF32(24, value); }
std::int8_t TransformerRec::Nreg() const { return I8(28); }
void TransformerRec::SetNreg(std::int8_t value) { SetI8(28, value); }

// --- CapacitorBankRec (6 bytes) ----------------------------------------------

std::int32_t CapacitorBankRec::Type() const { return I32(0); }
void CapacitorBankRec::SetType(std::int32_t value) { SetI32(0, value); }
std::uint8_t CapacitorBankRec::Nbk() const { return U8(4); }
void CapacitorBankRec::SetNbk(std::uint8_t value) { SetU8(4, value); }
std::uint8_t CapacitorBankRec::PhaseIndex() const { return U8(5); }
void CapacitorBankRec::SetPhaseIndex(std::uint8_t value) { SetU8(5, value); }

// --- SocketsRec (20 bytes) (bytes 0 … 3 unused) ------------------------------

std::int32_t SocketsRec::N3() const { return I32(4); }
void SocketsRec::SetN3(std::int32_t value) { SetI32(4, value); }
std::int32_t SocketsRec::Na() const { return I32(8); }
void SocketsRec::SetNa(std::int32_t value) { SetI32(8, value); }
std::int32_t SocketsRec::Nb() const { return I32(12); }
void SocketsRec::SetNb(std::int32_t value) { SetI32(12, value); }
std::int32_t SocketsRec::Nc() const { return I32(16); }
void SocketsRec::SetNc(std::int32_t value) { SetI32(16, value); }

// --- GeneratorRec (46 bytes) (bytes 0 … 3, 8 … 27 and 42 … 45 unused) --------

std::int32_t GeneratorRec::Type() const { return I32(4); }
void GeneratorRec::SetType(std::int32_t value) { SetI32(4, value); }
std::int16_t GeneratorRec::X() const { return I16(28); }
void GeneratorRec::SetX(std::int16_t value) { SetI16(28, value); }
std::int16_t GeneratorRec::Y() const { return I16(30); }
void GeneratorRec::SetY(std::int16_t value) { SetI16(30, value); }
std::int16_t GeneratorRec::Z() const { return I16(32); }
void GeneratorRec::SetZ(std::int16_t value) { SetI16(32, value); }
float GeneratorRec::Pg() const { return F32(34); }
void GeneratorRec::SetPg(float value) { SetF32(34, value); }
float GeneratorRec::Qg() const { return F32(38); }
void GeneratorRec::SetQg(float value) { SetF32(38, value); }

// --- SourceObjectRec (132 bytes) (bytes 16 … 127 unused) ---------------------

float SourceObjectRec::Ur() const { return F32(0); }
void SourceObjectRec::SetUr(float value) { SetF32(0, value); }
float SourceObjectRec::Ik3() const { return F32(4); }
void SourceObjectRec::SetIk3(float value) { SetF32(4, value); }
float SourceObjectRec::Ik1() const { return F32(8); }
void SourceObjectRec::SetIk1(float value) { SetF32(8, value); }
float SourceObjectRec::Ta() const { return F32(12); }
void SourceObjectRec::SetTa(float value) { SetF32(12, value); }
std::int32_t SourceObjectRec::SourceNumber() const { return I32(128); }
void SourceObjectRec::SetSourceNumber(std::int32_t value) { SetI32(128, value); }

// --- ReceiverObjectRec (4 bytes) ---------------------------------------------

std::int32_t ReceiverObjectRec::ReceiverKey() const { return I32(0); }
void ReceiverObjectRec::SetReceiverKey(std::int32_t value) { SetI32(0, value); }

// --- EquivalentMotorRec (40 bytes) (bytes 12 … 15 and 39 unused) -------------

float EquivalentMotorRec::Pust() const { return F32(0); }
void EquivalentMotorRec::SetPust(float value) { SetF32(0, value); }
float EquivalentMotorRec::Q() const { return F32(4); }
void EquivalentMotorRec::SetQ(float value) { SetF32(4, value); }
float EquivalentMotorRec::Unom() const { return F32(8); }
void EquivalentMotorRec::SetUnom(float value) { SetF32(8, value); }
float EquivalentMotorRec::Psz() const { return F32(16); }
void EquivalentMotorRec::SetPsz(float value) { SetF32(16, value); }
float EquivalentMotorRec::Pnom1() const { return F32(20); }
void EquivalentMotorRec::SetPnom1(float value) { SetF32(20, value); }
float EquivalentMotorRec::Istart1() const { return F32(24); }
void EquivalentMotorRec::SetIstart1(float value) { SetF32(24, value); }
float EquivalentMotorRec::CosFstart() const { return F32(28); }
void EquivalentMotorRec::SetCosFstart(float value) { SetF32(28, value); }
float EquivalentMotorRec::Tstart() const { return F32(32); }
void EquivalentMotorRec::SetTstart(float value) { SetF32(32, value); }
std::uint16_t EquivalentMotorRec::MotorCount() const { return U16(36); }
void EquivalentMotorRec::SetMotorCount(std::uint16_t value) { SetU16(36, value); }
std::uint8_t EquivalentMotorRec::Kind() const { return U8(38); }
void EquivalentMotorRec::SetKind(std::uint8_t value) { SetU8(38, value); }

}  // namespace kordavelt
