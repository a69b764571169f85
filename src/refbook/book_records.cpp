#include "refbook/book_records.h"

#include <algorithm>

#include "refbook/book_tables.h"
#include "storage/counted_string.h"

// Offsets of the fields in the reference-book records.

namespace kordavelt::book {

std::vector<float> NamedRec::Slots(int offset, int count) const {
  std::vector<float> values(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) values[static_cast<std::size_t>(i)] = F32(offset + 4 * i);
  return values;
}

void NamedRec::SetSlots(int offset, int count, const std::vector<float>& values) {
  for (int i = 0; i < count; ++i) {
    const std::size_t at = static_cast<std::size_t>(i);
    SetF32(offset + 4 * i, at < values.size() ? values[at] : 0.0f);
  }
}

namespace {

// Replaces the bits of `mask` (shifted to `shift`) in `flags` with `value`.
std::uint8_t WithBits(std::uint8_t flags, int shift, int mask, int value) {
  const int cleared = flags & ~(mask << shift);
  return static_cast<std::uint8_t>(cleared | ((value & mask) << shift));
}

}  // namespace

// --- CableBrandRec (93) --------------------------------------------------------

float CableBrandRec::Tpermiss() const { return F32(17); }
void CableBrandRec::SetTpermiss(float value) { SetF32(17, value); }
float CableBrandRec::Tterm() const { return F32(21); }
void CableBrandRec::SetTterm(float value) { SetF32(21, value); }
float CableBrandRec::Tignit() const { return F32(25); }
void CableBrandRec::SetTignit(float value) { SetF32(25, value); }
std::uint8_t CableBrandRec::Flags() const { return U8(29); }
void CableBrandRec::SetFlags(std::uint8_t value) { SetU8(29, value); }
int CableBrandRec::CondMat() const { return (Flags() >> 7) & 1; }
void CableBrandRec::SetCondMat(int value) { SetFlags(WithBits(Flags(), 7, 1, value)); }
int CableBrandRec::Insulation() const { return Flags() & 7; }
void CableBrandRec::SetInsulation(int value) { SetFlags(WithBits(Flags(), 0, 7, value)); }
int CableBrandRec::Armor() const { return (Flags() >> 3) & 1; }
void CableBrandRec::SetArmor(int value) { SetFlags(WithBits(Flags(), 3, 1, value)); }
int CableBrandRec::Sheath() const { return (Flags() >> 4) & 7; }
void CableBrandRec::SetSheath(int value) { SetFlags(WithBits(Flags(), 4, 7, value)); }

// --- CableRec (11) -------------------------------------------------------------

std::int32_t CableRec::Type() const { return I32(0); }
void CableRec::SetType(std::int32_t value) { SetI32(0, value); }
float CableRec::Unom() const { return F32(4); }
void CableRec::SetUnom(float value) { SetF32(4, value); }
float CableRec::IpermissEarch() const { return F32(8); }
void CableRec::SetIpermissEarch(float value) { SetF32(8, value); }
float CableRec::IpermissAir() const { return F32(12); }
void CableRec::SetIpermissAir(float value) { SetF32(12, value); }
float CableRec::CrossCectF() const { return F32(16); }
void CableRec::SetCrossCectF(float value) { SetF32(16, value); }
float CableRec::CrossCectN() const { return F32(20); }
void CableRec::SetCrossCectN(float value) { SetF32(20, value); }
float CableRec::Bc() const { return F32(24); }
void CableRec::SetBc(float value) { SetF32(24, value); }
float CableRec::Ic() const { return F32(28); }
void CableRec::SetIc(float value) { SetF32(28, value); }
float CableRec::R1() const { return F32(32); }
void CableRec::SetR1(float value) { SetF32(32, value); }
float CableRec::X1() const { return F32(36); }
void CableRec::SetX1(float value) { SetF32(36, value); }
float CableRec::R0() const { return F32(40); }
void CableRec::SetR0(float value) { SetF32(40, value); }
float CableRec::X0() const { return F32(44); }
void CableRec::SetX0(float value) { SetF32(44, value); }
std::uint8_t CableRec::CondCount() const { return U8(52); }
void CableRec::SetCondCount(std::uint8_t value) { SetU8(52, value); }

// --- InsulatedWireRec (12) -------------------------------------------------------

float InsulatedWireRec::IpermissAir() const { return F32(17); }
void InsulatedWireRec::SetIpermissAir(float value) { SetF32(17, value); }
float InsulatedWireRec::Tpermiss() const { return F32(21); }
void InsulatedWireRec::SetTpermiss(float value) { SetF32(21, value); }
float InsulatedWireRec::CrossCectF() const { return F32(33); }
void InsulatedWireRec::SetCrossCectF(float value) { SetF32(33, value); }
float InsulatedWireRec::Diameter() const { return F32(37); }
void InsulatedWireRec::SetDiameter(float value) { SetF32(37, value); }
float InsulatedWireRec::R1() const { return F32(45); }
void InsulatedWireRec::SetR1(float value) { SetF32(45, value); }
std::uint8_t InsulatedWireRec::CondCount() const { return U8(49); }
void InsulatedWireRec::SetCondCount(std::uint8_t value) { SetU8(49, value); }
std::uint8_t InsulatedWireRec::Flags() const { return U8(50); }
void InsulatedWireRec::SetFlags(std::uint8_t value) { SetU8(50, value); }
int InsulatedWireRec::CondMat() const { return (Flags() >> 7) & 1; }
void InsulatedWireRec::SetCondMat(int value) { SetFlags(WithBits(Flags(), 7, 1, value)); }

// --- BareWireRec (13) ------------------------------------------------------------

float BareWireRec::Ipermiss() const { return F32(17); }
void BareWireRec::SetIpermiss(float value) { SetF32(17, value); }
float BareWireRec::CrossCectF() const { return F32(21); }
void BareWireRec::SetCrossCectF(float value) { SetF32(21, value); }
float BareWireRec::Diameter() const { return F32(25); }
void BareWireRec::SetDiameter(float value) { SetF32(25, value); }
float BareWireRec::R1() const { return F32(29); }
void BareWireRec::SetR1(float value) { SetF32(29, value); }
std::uint8_t BareWireRec::Flags() const { return U8(33); }
void BareWireRec::SetFlags(std::uint8_t value) { SetU8(33, value); }
int BareWireRec::CondMat() const { return (Flags() >> 6) & 3; }
void BareWireRec::SetCondMat(int value) { SetFlags(WithBits(Flags(), 6, 3, value)); }
int BareWireRec::Construction() const { return (Flags() >> 2) & 7; }

// --- TrunkingRec (14) ------------------------------------------------------------

float TrunkingRec::Unom() const { return F32(17); }
void TrunkingRec::SetUnom(float value) { SetF32(17, value); }
float TrunkingRec::Inom() const { return F32(21); }
void TrunkingRec::SetInom(float value) { SetF32(21, value); }
float TrunkingRec::CrossCectF() const { return F32(25); }
void TrunkingRec::SetCrossCectF(float value) { SetF32(25, value); }
float TrunkingRec::R1() const { return F32(29); }
void TrunkingRec::SetR1(float value) { SetF32(29, value); }
float TrunkingRec::X1() const { return F32(33); }
void TrunkingRec::SetX1(float value) { SetF32(33, value); }
float TrunkingRec::R0() const { return F32(37); }
void TrunkingRec::SetR0(float value) { SetF32(37, value); }
float TrunkingRec::X0() const { return F32(41); }
void TrunkingRec::SetX0(float value) { SetF32(41, value); }

// --- FuseRec (22) ----------------------------------------------------------------

std::vector<float> FuseRec::SettingI() const { return Slots(17, kSettingSlots); }
void FuseRec::SetSettingI(const std::vector<float>& values) { SetSlots(17, kSettingSlots, values); }
float FuseRec::Unom() const { return F32(57); }
void FuseRec::SetUnom(float value) { SetF32(57, value); }
float FuseRec::Inom() const { return F32(61); }
void FuseRec::SetInom(float value) { SetF32(61, value); }
float FuseRec::Iswitch() const { return F32(65); }
void FuseRec::SetIswitch(float value) { SetF32(65, value); }
Bytes FuseRec::Vth() const { return Span(71, kVthBytes); }

// --- BreakerRec (21) -------------------------------------------------------------

float BreakerRec::Unom() const { return F32(17); }
void BreakerRec::SetUnom(float value) { SetF32(17, value); }
float BreakerRec::Inom() const { return F32(21); }
void BreakerRec::SetInom(float value) { SetF32(21, value); }
float BreakerRec::Iswitch() const { return F32(25); }
void BreakerRec::SetIswitch(float value) { SetF32(25, value); }
float BreakerRec::R1() const { return F32(29); }
void BreakerRec::SetR1(float value) { SetF32(29, value); }
float BreakerRec::X1() const { return F32(33); }
void BreakerRec::SetX1(float value) { SetF32(33, value); }
std::int32_t BreakerRec::TripUnit() const { return I32(37); }
void BreakerRec::SetTripUnit(std::int32_t value) { SetI32(37, value); }
std::uint8_t BreakerRec::TripType() const { return U8(41); }
void BreakerRec::SetTripType(std::uint8_t value) { SetU8(41, value); }
std::uint16_t BreakerRec::Seria() const { return U16(45); }
void BreakerRec::SetSeria(std::uint16_t value) { SetU16(45, value); }

// --- TripUnitRec (91) ------------------------------------------------------------

std::vector<float> TripUnitRec::Inom() const { return Slots(17, kInomSlots); }
void TripUnitRec::SetInom(const std::vector<float>& values) { SetSlots(17, kInomSlots, values); }
std::vector<float> TripUnitRec::SettingIr() const { return Slots(57, kSettingSlots); }
void TripUnitRec::SetSettingIr(const std::vector<float>& values) {
  SetSlots(57, kSettingSlots, values);
}
std::vector<float> TripUnitRec::SettingTr() const { return Slots(77, kSettingSlots); }
void TripUnitRec::SetSettingTr(const std::vector<float>& values) {
  SetSlots(77, kSettingSlots, values);
}
std::vector<float> TripUnitRec::SettingIm() const { return Slots(97, kSettingSlots); }
void TripUnitRec::SetSettingIm(const std::vector<float>& values) {
  SetSlots(97, kSettingSlots, values);
}
std::vector<float> TripUnitRec::SettingTm() const { return Slots(117, kSettingSlots); }
void TripUnitRec::SetSettingTm(const std::vector<float>& values) {
  SetSlots(117, kSettingSlots, values);
}
std::vector<float> TripUnitRec::SettingIc() const { return Slots(137, kSettingSlots); }
void TripUnitRec::SetSettingIc(const std::vector<float>& values) {
  SetSlots(137, kSettingSlots, values);
}
float TripUnitRec::Imax() const { return F32(157); }
void TripUnitRec::SetImax(float value) { SetF32(157, value); }
std::uint8_t TripUnitRec::IrUnit() const { return U8(161); }
void TripUnitRec::SetIrUnit(std::uint8_t value) { SetU8(161, value); }
std::uint8_t TripUnitRec::ImUnit() const { return U8(162); }
void TripUnitRec::SetImUnit(std::uint8_t value) { SetU8(162, value); }
std::uint8_t TripUnitRec::ImoUnit() const { return U8(163); }
void TripUnitRec::SetImoUnit(std::uint8_t value) { SetU8(163, value); }
std::uint8_t TripUnitRec::SinglePhaseProtection() const { return U8(164); }
void TripUnitRec::SetSinglePhaseProtection(std::uint8_t value) { SetU8(164, value); }
std::uint8_t TripUnitRec::Error() const { return U8(168); }
void TripUnitRec::SetError(std::uint8_t value) { SetU8(168, value); }
Bytes TripUnitRec::Vth() const { return Span(169, kVthBytes); }
std::uint16_t TripUnitRec::Seria() const { return U16(281); }
void TripUnitRec::SetSeria(std::uint16_t value) { SetU16(281, value); }

// --- BreakerSeriesRec (94) -------------------------------------------------------

std::string BreakerSeriesRec::Name() const { return Str(0, kNameCapacity); }
void BreakerSeriesRec::SetName(std::string_view value) { SetStr(0, kNameCapacity, value); }

// --- RelayRec (23) ---------------------------------------------------------------

float RelayRec::Unom() const { return F32(17); }
void RelayRec::SetUnom(float value) { SetF32(17, value); }
float RelayRec::Inom() const { return F32(21); }
void RelayRec::SetInom(float value) { SetF32(21, value); }
float RelayRec::R() const { return F32(25); }
void RelayRec::SetR(float value) { SetF32(25, value); }
float RelayRec::X() const { return F32(29); }
void RelayRec::SetX(float value) { SetF32(29, value); }

// --- SwitchRec (24) --------------------------------------------------------------

float SwitchRec::Unom() const { return F32(17); }
void SwitchRec::SetUnom(float value) { SetF32(17, value); }
float SwitchRec::Inom() const { return F32(21); }
void SwitchRec::SetInom(float value) { SetF32(21, value); }
float SwitchRec::Idin() const { return F32(25); }
void SwitchRec::SetIdin(float value) { SetF32(25, value); }
float SwitchRec::Iterm() const { return F32(29); }
void SwitchRec::SetIterm(float value) { SetF32(29, value); }
float SwitchRec::R1() const { return F32(33); }
void SwitchRec::SetR1(float value) { SetF32(33, value); }

// --- StarterRec (25) -------------------------------------------------------------

float StarterRec::Unom() const { return F32(17); }
void StarterRec::SetUnom(float value) { SetF32(17, value); }
float StarterRec::Inom() const { return F32(21); }
void StarterRec::SetInom(float value) { SetF32(21, value); }
float StarterRec::Pload() const { return F32(25); }
void StarterRec::SetPload(float value) { SetF32(25, value); }
float StarterRec::Rk() const { return F32(29); }
void StarterRec::SetRk(float value) { SetF32(29, value); }

// --- TransformerRec (31) ---------------------------------------------------------

float TransformerRec::Snom() const { return F32(17); }
void TransformerRec::SetSnom(float value) { SetF32(17, value); }
float TransformerRec::Uv() const { return F32(21); }
void TransformerRec::SetUv(float value) { SetF32(21, value); }
float TransformerRec::Un() const { return F32(25); }
void TransformerRec::SetUn(float value) { SetF32(25, value); }
float TransformerRec::Pk() const { return F32(29); }
void TransformerRec::SetPk(float value) { SetF32(29, value); }
float TransformerRec::Uk() const { return F32(33); }
void TransformerRec::SetUk(float value) { SetF32(33, value); }
float TransformerRec::Ph() const { return F32(37); }
void TransformerRec::SetPh(float value) { SetF32(37, value); }
float TransformerRec::Ih() const { return F32(41); }
void TransformerRec::SetIh(float value) { SetF32(41, value); }
float TransformerRec::DK() const { return F32(45); }
void TransformerRec::SetDK(float value) { SetF32(45, value); }
float TransformerRec::R0() const { return F32(49); }
void TransformerRec::SetR0(float value) { SetF32(49, value); }
float TransformerRec::X0() const { return F32(53); }
void TransformerRec::SetX0(float value) { SetF32(53, value); }
std::int8_t TransformerRec::Np() const { return I8(57); }
void TransformerRec::SetNp(std::int8_t value) { SetI8(57, value); }
std::uint8_t TransformerRec::Group() const { return U8(58); }
void TransformerRec::SetGroup(std::uint8_t value) { SetU8(58, value); }

// --- StabiliserRec (32) ----------------------------------------------------------

float StabiliserRec::Unom() const { return F32(17); }
void StabiliserRec::SetUnom(float value) { SetF32(17, value); }
float StabiliserRec::Snom() const { return F32(21); }
void StabiliserRec::SetSnom(float value) { SetF32(21, value); }
float StabiliserRec::Ustab() const { return F32(25); }
void StabiliserRec::SetUstab(float value) { SetF32(25, value); }
float StabiliserRec::DP() const { return F32(29); }
void StabiliserRec::SetDP(float value) { SetF32(29, value); }

// --- ReactorRec (33) -------------------------------------------------------------

float ReactorRec::Unom() const { return F32(17); }
void ReactorRec::SetUnom(float value) { SetF32(17, value); }
float ReactorRec::Inom() const { return F32(21); }
void ReactorRec::SetInom(float value) { SetF32(21, value); }
float ReactorRec::Idin() const { return F32(25); }
void ReactorRec::SetIdin(float value) { SetF32(25, value); }
float ReactorRec::Iterm() const { return F32(29); }
void ReactorRec::SetIterm(float value) { SetF32(29, value); }
float ReactorRec::Tterm() const { return F32(33); }
void ReactorRec::SetTterm(float value) { SetF32(33, value); }
float ReactorRec::Xnom() const { return F32(37); }
void ReactorRec::SetXnom(float value) { SetF32(37, value); }
float ReactorRec::DP() const { return F32(41); }
void ReactorRec::SetDP(float value) { SetF32(41, value); }

// --- CurrentTransformerRec (34) ----------------------------------------------------

float CurrentTransformerRec::Unom() const { return F32(17); }
void CurrentTransformerRec::SetUnom(float value) { SetF32(17, value); }
float CurrentTransformerRec::Inom() const { return F32(25); }
void CurrentTransformerRec::SetInom(float value) { SetF32(25, value); }
float CurrentTransformerRec::Inom2() const { return F32(29); }
void CurrentTransformerRec::SetInom2(float value) { SetF32(29, value); }
float CurrentTransformerRec::Iterm() const { return F32(33); }
void CurrentTransformerRec::SetIterm(float value) { SetF32(33, value); }
std::uint8_t CurrentTransformerRec::Class() const { return U8(37); }
void CurrentTransformerRec::SetClass(std::uint8_t value) { SetU8(37, value); }
float CurrentTransformerRec::R1() const { return F32(38); }
void CurrentTransformerRec::SetR1(float value) { SetF32(38, value); }
float CurrentTransformerRec::X1() const { return F32(42); }
void CurrentTransformerRec::SetX1(float value) { SetF32(42, value); }

// --- MachineRec (41, 42, 50) -------------------------------------------------------

float MachineRec::Unom() const { return F32(17); }
void MachineRec::SetUnom(float value) { SetF32(17, value); }
float MachineRec::Speed() const { return F32(21); }
void MachineRec::SetSpeed(float value) { SetF32(21, value); }
float MachineRec::Efficiency() const { return F32(25); }
void MachineRec::SetEfficiency(float value) { SetF32(25, value); }
float MachineRec::Pnom() const { return F32(29); }
void MachineRec::SetPnom(float value) { SetF32(29, value); }
float MachineRec::CosF() const { return F32(33); }
void MachineRec::SetCosF(float value) { SetF32(33, value); }

// --- SynchronousMachineRec (41) ----------------------------------------------------

float SynchronousMachineRec::Istart() const { return F32(37); }
void SynchronousMachineRec::SetIstart(float value) { SetF32(37, value); }
float SynchronousMachineRec::Mstart() const { return F32(41); }
void SynchronousMachineRec::SetMstart(float value) { SetF32(41, value); }
float SynchronousMachineRec::Mmax() const { return F32(45); }
void SynchronousMachineRec::SetMmax(float value) { SetF32(45, value); }
float SynchronousMachineRec::Rd() const { return F32(49); }
void SynchronousMachineRec::SetRd(float value) { SetF32(49, value); }
float SynchronousMachineRec::Xd() const { return F32(53); }
void SynchronousMachineRec::SetXd(float value) { SetF32(53, value); }
float SynchronousMachineRec::Xd1() const { return F32(57); }
void SynchronousMachineRec::SetXd1(float value) { SetF32(57, value); }
float SynchronousMachineRec::Xd2() const { return F32(61); }
void SynchronousMachineRec::SetXd2(float value) { SetF32(61, value); }
float SynchronousMachineRec::Ta() const { return F32(65); }
void SynchronousMachineRec::SetTa(float value) { SetF32(65, value); }
float SynchronousMachineRec::Jrotor() const { return F32(69); }
void SynchronousMachineRec::SetJrotor(float value) { SetF32(69, value); }

// --- AsyncMotorRec (42) ------------------------------------------------------------

float AsyncMotorRec::Istart() const { return F32(37); }
void AsyncMotorRec::SetIstart(float value) { SetF32(37, value); }
float AsyncMotorRec::Mstart() const { return F32(41); }
void AsyncMotorRec::SetMstart(float value) { SetF32(41, value); }
float AsyncMotorRec::Mmax() const { return F32(45); }
void AsyncMotorRec::SetMmax(float value) { SetF32(45, value); }
float AsyncMotorRec::Snom() const { return F32(49); }
void AsyncMotorRec::SetSnom(float value) { SetF32(49, value); }
float AsyncMotorRec::Rs() const { return F32(53); }
void AsyncMotorRec::SetRs(float value) { SetF32(53, value); }
float AsyncMotorRec::Rr() const { return F32(57); }
void AsyncMotorRec::SetRr(float value) { SetF32(57, value); }
float AsyncMotorRec::Xd2() const { return F32(61); }
void AsyncMotorRec::SetXd2(float value) { SetF32(61, value); }
float AsyncMotorRec::Ta() const { return F32(65); }
void AsyncMotorRec::SetTa(float value) { SetF32(65, value); }
float AsyncMotorRec::Tr() const { return F32(69); }
void AsyncMotorRec::SetTr(float value) { SetF32(69, value); }
float AsyncMotorRec::Jrotor() const { return F32(73); }
void AsyncMotorRec::SetJrotor(float value) { SetF32(73, value); }

// --- GeneratorRec (50) -------------------------------------------------------------

float GeneratorRec::Rd() const { return F32(37); }
void GeneratorRec::SetRd(float value) { SetF32(37, value); }
float GeneratorRec::Xd() const { return F32(41); }
void GeneratorRec::SetXd(float value) { SetF32(41, value); }
float GeneratorRec::Xd1() const { return F32(45); }
void GeneratorRec::SetXd1(float value) { SetF32(45, value); }
float GeneratorRec::Xd2() const { return F32(49); }
void GeneratorRec::SetXd2(float value) { SetF32(49, value); }
float GeneratorRec::Ta() const { return F32(53); }
void GeneratorRec::SetTa(float value) { SetF32(53, value); }
float GeneratorRec::Jrotor() const { return F32(57); }
void GeneratorRec::SetJrotor(float value) { SetF32(57, value); }

// --- CapacitorBankRec (43) ---------------------------------------------------------

float CapacitorBankRec::Unom() const { return F32(17); }
void CapacitorBankRec::SetUnom(float value) { SetF32(17, value); }
float CapacitorBankRec::Cnom() const { return F32(21); }
void CapacitorBankRec::SetCnom(float value) { SetF32(21, value); }
float CapacitorBankRec::DP() const { return F32(25); }
void CapacitorBankRec::SetDP(float value) { SetF32(25, value); }
double CapacitorBankRec::Qnom() const {
  const double unom = Unom();
  return unom * unom * 0.31416 * Cnom() * 1e-6;
}

// --- MechanismRec (92) -------------------------------------------------------------

std::string MechanismRec::MechType() const { return Str(0, kNameCapacity); }
void MechanismRec::SetMechType(std::string_view value) { SetStr(0, kNameCapacity, value); }
std::uint8_t MechanismRec::Speed_M_Chart() const { return U8(17); }
void MechanismRec::SetSpeed_M_Chart(std::uint8_t value) { SetU8(17, value); }
std::uint8_t MechanismRec::Class() const { return U8(18); }
void MechanismRec::SetClass(std::uint8_t value) { SetU8(18, value); }
std::int32_t MechanismRec::MotorType() const { return I32(19); }
void MechanismRec::SetMotorType(std::int32_t value) { SetI32(19, value); }
float MechanismRec::Speed() const { return F32(23); }
void MechanismRec::SetSpeed(float value) { SetF32(23, value); }
float MechanismRec::Nnom() const { return F32(27); }
void MechanismRec::SetNnom(float value) { SetF32(27, value); }
float MechanismRec::Jmech() const { return F32(31); }
void MechanismRec::SetJmech(float value) { SetF32(31, value); }
float MechanismRec::M0() const { return F32(35); }
void MechanismRec::SetM0(float value) { SetF32(35, value); }
float MechanismRec::N0() const { return F32(39); }
void MechanismRec::SetN0(float value) { SetF32(39, value); }
float MechanismRec::SpeedOtkl() const { return F32(43); }
void MechanismRec::SetSpeedOtkl(float value) { SetF32(43, value); }

// --- CompositionTemplateRec (2) ----------------------------------------------------

std::string CompositionTemplateRec::Name() const { return Str(0, kNameCapacity); }
void CompositionTemplateRec::SetName(std::string_view value) { SetStr(0, kNameCapacity, value); }
std::uint8_t CompositionTemplateRec::Slot(int i) const {
  return i >= 0 && i < kSlots ? U8(33 + i) : 0;
}
void CompositionTemplateRec::SetSlot(int i, std::uint8_t kind) {
  if (i >= 0 && i < kSlots) SetU8(33 + i, kind);
}

}  // namespace kordavelt::book

namespace kordavelt {

std::string BookRecordName(int table, ConstBytes record) {
  switch (table) {
    case book::kCableTable:
      return {};
    case book::kTemplateTable:
      return ReadCountedString(record, 0, book::CompositionTemplateRec::kNameCapacity);
    case book::kBreakerSeriesTable:
      return ReadCountedString(record, 0, book::BreakerSeriesRec::kNameCapacity);
    default:
      if (!IsBookTable(table)) return {};
      return ReadCountedString(record, 0, book::NamedRec::kNameCapacity);
  }
}

}  // namespace kordavelt
