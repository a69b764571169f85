#pragma once

// Typed views of the reference-book records, one class per table. A view
// wraps the data bytes of one record (usually tbClass::Record() of the
// table's current record). Getters carry the field names, setters Set + name.
// Names are counted strings in code page 1251, cut to their capacity when
// stored. Reserved bytes are never touched.
//
// The views live in namespace `book` because the model's object records
// (model/object_records.h) use several of the same names.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "refbook/vth_block.h"
#include "storage/record_view.h"

namespace kordavelt::book {

// A record that begins with the type name, a counted string of 16 characters.
class NamedRec : public RecordView {
 public:
  using RecordView::RecordView;

  static constexpr int kNameCapacity = 16;

  std::string Type() const { return Str(0, kNameCapacity); }
  void SetType(std::string_view value) { SetStr(0, kNameCapacity, value); }

 protected:
  // `count` float slots from `offset`.
  std::vector<float> Slots(int offset, int count) const;
  // Writes `count` slots: extra values dropped, missing ones zero.
  void SetSlots(int offset, int count, const std::vector<float>& values);
};

// Table 93, cable brand (30 bytes).
class CableBrandRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 30;

  float Tpermiss() const;
  void SetTpermiss(float value);
  float Tterm() const;
  void SetTterm(float value);
  float Tignit() const;
  void SetTignit(float value);
  // The brand flags byte and its fields.
  std::uint8_t Flags() const;
  void SetFlags(std::uint8_t value);
  // 0 copper, 1 aluminium.
  int CondMat() const;
  void SetCondMat(int value);
  // 0 ... 5 of "ПВХ#СПЭ#ЭПК#ПЭ#БМ#БП".
  int Insulation() const;
  void SetInsulation(int value);
  // 0 none, 1 armoured.
  int Armor() const;
  void SetArmor(int value);
  // 0 ... 5 of "Нет#Aлюминий#Свинец#Сталь#ПВХ#Полиэтилен".
  int Sheath() const;
  void SetSheath(int value);
};

// Table 11, cable (53 bytes): a brand with sizes, no name of its own.
class CableRec : public RecordView {
 public:
  using RecordView::RecordView;
  static constexpr int kLength = 53;

  // Code of the brand in table 93.
  std::int32_t Type() const;
  void SetType(std::int32_t value);
  float Unom() const;
  void SetUnom(float value);
  float IpermissEarch() const;
  void SetIpermissEarch(float value);
  float IpermissAir() const;
  void SetIpermissAir(float value);
  float CrossCectF() const;
  void SetCrossCectF(float value);
  // 0 when the neutral is not reduced.
  float CrossCectN() const;
  void SetCrossCectN(float value);
  float Bc() const;
  void SetBc(float value);
  float Ic() const;
  void SetIc(float value);
  float R1() const;
  void SetR1(float value);
  float X1() const;
  void SetX1(float value);
  float R0() const;
  void SetR0(float value);
  float X0() const;
  void SetX0(float value);
  std::uint8_t CondCount() const;
  void SetCondCount(std::uint8_t value);
};

// Table 12, insulated wire (55 bytes).
class InsulatedWireRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 55;

  float IpermissAir() const;
  void SetIpermissAir(float value);
  float Tpermiss() const;
  void SetTpermiss(float value);
  float CrossCectF() const;
  void SetCrossCectF(float value);
  float Diameter() const;
  void SetDiameter(float value);
  float R1() const;
  void SetR1(float value);
  std::uint8_t CondCount() const;
  void SetCondCount(std::uint8_t value);
  // Wire flags: bit 7 the conductor material.
  std::uint8_t Flags() const;
  void SetFlags(std::uint8_t value);
  // 0 copper, 1 aluminium.
  int CondMat() const;
  void SetCondMat(int value);
};

// Table 13, bare wire (38 bytes).
class BareWireRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 38;

  float Ipermiss() const;
  void SetIpermiss(float value);
  float CrossCectF() const;
  void SetCrossCectF(float value);
  float Diameter() const;
  void SetDiameter(float value);
  float R1() const;
  void SetR1(float value);
  // Wire flags: material in bits 6-7, construction in bits 2-4.
  std::uint8_t Flags() const;
  void SetFlags(std::uint8_t value);
  // 0 ... 3 of "Медь#Алюминий#Бронза#Сталь".
  int CondMat() const;
  void SetCondMat(int value);
  int Construction() const;
};

// Table 14, busbar trunking (49 bytes).
class TrunkingRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 49;

  float Unom() const;
  void SetUnom(float value);
  float Inom() const;
  void SetInom(float value);
  float CrossCectF() const;
  void SetCrossCectF(float value);
  float R1() const;
  void SetR1(float value);
  float X1() const;
  void SetX1(float value);
  float R0() const;
  void SetR0(float value);
  float X0() const;
  void SetX0(float value);
};

// Table 22, fuse (183 bytes).
class FuseRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 183;
  static constexpr int kSettingSlots = 10;

  // Value list of the rated currents of the fuse links, A.
  std::vector<float> SettingI() const;
  void SetSettingI(const std::vector<float>& values);
  float Unom() const;
  void SetUnom(float value);
  float Inom() const;
  void SetInom(float value);
  float Iswitch() const;
  void SetIswitch(float value);
  // The characteristic, kVthBytes writable bytes (fewer only in a short record).
  Bytes Vth() const;
};

// Table 21, circuit breaker (47 bytes).
class BreakerRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 47;

  float Unom() const;
  void SetUnom(float value);
  float Inom() const;
  void SetInom(float value);
  float Iswitch() const;
  void SetIswitch(float value);
  float R1() const;
  void SetR1(float value);
  float X1() const;
  void SetX1(float value);
  // Code of the trip unit in table 91; 0 none.
  std::int32_t TripUnit() const;
  void SetTripUnit(std::int32_t value);
  std::uint8_t TripType() const;
  void SetTripType(std::uint8_t value);
  // Code of the series in table 94; 0 none.
  std::uint16_t Seria() const;
  void SetSeria(std::uint16_t value);
};

// Table 91, trip unit of a circuit breaker (283 bytes).
class TripUnitRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 283;
  static constexpr int kInomSlots = 10;
  static constexpr int kSettingSlots = 5;

  std::vector<float> Inom() const;
  void SetInom(const std::vector<float>& values);
  std::vector<float> SettingIr() const;
  void SetSettingIr(const std::vector<float>& values);
  std::vector<float> SettingTr() const;
  void SetSettingTr(const std::vector<float>& values);
  std::vector<float> SettingIm() const;
  void SetSettingIm(const std::vector<float>& values);
  std::vector<float> SettingTm() const;
  void SetSettingTm(const std::vector<float>& values);
  std::vector<float> SettingIc() const;
  void SetSettingIc(const std::vector<float>& values);
  float Imax() const;
  void SetImax(float value);
  // Units: index into "A#*In#*Ir" (Ir: 0 or 1).
  std::uint8_t IrUnit() const;
  void SetIrUnit(std::uint8_t value);
  std::uint8_t ImUnit() const;
  void SetImUnit(std::uint8_t value);
  std::uint8_t ImoUnit() const;
  void SetImoUnit(std::uint8_t value);
  // Non-zero: protection against single-phase short circuits.
  std::uint8_t SinglePhaseProtection() const;
  void SetSinglePhaseProtection(std::uint8_t value);
  // Tolerance of the characteristic, %.
  std::uint8_t Error() const;
  void SetError(std::uint8_t value);
  Bytes Vth() const;
  std::uint16_t Seria() const;
  void SetSeria(std::uint16_t value);
};

// Table 94, breaker series (9 bytes).
class BreakerSeriesRec : public RecordView {
 public:
  using RecordView::RecordView;
  static constexpr int kLength = 9;
  static constexpr int kNameCapacity = 8;

  std::string Name() const;
  void SetName(std::string_view value);
};

// Table 23, current relay (35 bytes).
class RelayRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 35;

  float Unom() const;
  void SetUnom(float value);
  float Inom() const;
  void SetInom(float value);
  float R() const;
  void SetR(float value);
  float X() const;
  void SetX(float value);
};

// Table 24, switch or disconnector (39 bytes).
class SwitchRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 39;

  float Unom() const;
  void SetUnom(float value);
  float Inom() const;
  void SetInom(float value);
  float Idin() const;
  void SetIdin(float value);
  float Iterm() const;
  void SetIterm(float value);
  float R1() const;
  void SetR1(float value);
};

// Table 25, magnetic starter or contactor (35 bytes).
class StarterRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 35;

  float Unom() const;
  void SetUnom(float value);
  float Inom() const;
  void SetInom(float value);
  float Pload() const;
  void SetPload(float value);
  float Rk() const;
  void SetRk(float value);
};

// Table 31, power transformer (61 bytes).
class TransformerRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 61;

  float Snom() const;
  void SetSnom(float value);
  float Uv() const;
  void SetUv(float value);
  float Un() const;
  void SetUn(float value);
  float Pk() const;
  void SetPk(float value);
  float Uk() const;
  void SetUk(float value);
  float Ph() const;
  void SetPh(float value);
  float Ih() const;
  void SetIh(float value);
  float DK() const;
  void SetDK(float value);
  float R0() const;
  void SetR0(float value);
  float X0() const;
  void SetX0(float value);
  std::int8_t Np() const;
  void SetNp(std::int8_t value);
  // 0 ... 5 of "Y0/Y0#D/Y0#Y/Y0#Y/Z#D/Z#D/Y".
  std::uint8_t Group() const;
  void SetGroup(std::uint8_t value);
};

// Table 32, voltage stabiliser (35 bytes).
class StabiliserRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 35;

  float Unom() const;
  void SetUnom(float value);
  float Snom() const;
  void SetSnom(float value);
  float Ustab() const;
  void SetUstab(float value);
  float DP() const;
  void SetDP(float value);
};

// Table 33, current-limiting reactor (47 bytes).
class ReactorRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 47;

  float Unom() const;
  void SetUnom(float value);
  float Inom() const;
  void SetInom(float value);
  float Idin() const;
  void SetIdin(float value);
  float Iterm() const;
  void SetIterm(float value);
  float Tterm() const;
  void SetTterm(float value);
  float Xnom() const;
  void SetXnom(float value);
  float DP() const;
  void SetDP(float value);
};

// Table 34, current transformer (48 bytes).
class CurrentTransformerRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 48;

  float Unom() const;
  void SetUnom(float value);
  float Inom() const;
  void SetInom(float value);
  float Inom2() const;
  void SetInom2(float value);
  float Iterm() const;
  void SetIterm(float value);
  std::uint8_t Class() const;
  void SetClass(std::uint8_t value);
  float R1() const;
  void SetR1(float value);
  float X1() const;
  void SetX1(float value);
};

// The five numbers tables 41, 42 and 50 share.
class MachineRec : public NamedRec {
 public:
  using NamedRec::NamedRec;

  float Unom() const;
  void SetUnom(float value);
  float Speed() const;
  void SetSpeed(float value);
  float Efficiency() const;
  void SetEfficiency(float value);
  float Pnom() const;
  void SetPnom(float value);
  float CosF() const;
  void SetCosF(float value);
};

// Table 41, synchronous machine (75 bytes).
class SynchronousMachineRec : public MachineRec {
 public:
  using MachineRec::MachineRec;
  static constexpr int kLength = 75;

  float Istart() const;
  void SetIstart(float value);
  float Mstart() const;
  void SetMstart(float value);
  float Mmax() const;
  void SetMmax(float value);
  float Rd() const;
  void SetRd(float value);
  float Xd() const;
  void SetXd(float value);
  float Xd1() const;
  void SetXd1(float value);
  float Xd2() const;
  void SetXd2(float value);
  float Ta() const;
  void SetTa(float value);
  float Jrotor() const;
  void SetJrotor(float value);
};

// Table 42, asynchronous motor (79 bytes).
class AsyncMotorRec : public MachineRec {
 public:
  using MachineRec::MachineRec;
  static constexpr int kLength = 79;

  float Istart() const;
  void SetIstart(float value);
  float Mstart() const;
  void SetMstart(float value);
  float Mmax() const;
  void SetMmax(float value);
  // Rated slip, %.
  float Snom() const;
  void SetSnom(float value);
  float Rs() const;
  void SetRs(float value);
  float Rr() const;
  void SetRr(float value);
  float Xd2() const;
  void SetXd2(float value);
  float Ta() const;
  void SetTa(float value);
  float Tr() const;
  void SetTr(float value);
  float Jrotor() const;
  void SetJrotor(float value);
};

// Table 50, generator (63 bytes).
class GeneratorRec : public MachineRec {
 public:
  using MachineRec::MachineRec;
  static constexpr int kLength = 63;

  float Rd() const;
  void SetRd(float value);
  float Xd() const;
  void SetXd(float value);
  float Xd1() const;
  void SetXd1(float value);
  float Xd2() const;
  void SetXd2(float value);
  float Ta() const;
  void SetTa(float value);
  float Jrotor() const;
  void SetJrotor(float value);
};

// Table 43, capacitor bank (31 bytes).
class CapacitorBankRec : public NamedRec {
 public:
  using NamedRec::NamedRec;
  static constexpr int kLength = 31;

  float Unom() const;
  void SetUnom(float value);
  // Capacitance, µF.
  float Cnom() const;
  void SetCnom(float value);
  float DP() const;
  void SetDP(float value);
  // Rated reactive power, kvar, not stored: Unom² · 0.31416 · Cnom · 10⁻⁶.
  double Qnom() const;
};

// Table 92, driven mechanism (49 bytes).
class MechanismRec : public RecordView {
 public:
  using RecordView::RecordView;
  static constexpr int kLength = 49;
  static constexpr int kNameCapacity = 16;

  std::string MechType() const;
  void SetMechType(std::string_view value);
  // 0 ... 4 of "Постоянная#Линейная#Квадратичная#Кубическая#Другая".
  std::uint8_t Speed_M_Chart() const;
  void SetSpeed_M_Chart(std::uint8_t value);
  // Driving motor: 0 none, 1 asynchronous (table 42), 2 synchronous (table 41).
  std::uint8_t Class() const;
  void SetClass(std::uint8_t value);
  std::int32_t MotorType() const;
  void SetMotorType(std::int32_t value);
  float Speed() const;
  void SetSpeed(float value);
  float Nnom() const;
  void SetNnom(float value);
  float Jmech() const;
  void SetJmech(float value);
  float M0() const;
  void SetM0(float value);
  float N0() const;
  void SetN0(float value);
  float SpeedOtkl() const;
  void SetSpeedOtkl(float value);
};

// Table 2, composition template of a node connection (49 bytes).
class CompositionTemplateRec : public RecordView {
 public:
  using RecordView::RecordView;
  static constexpr int kLength = 49;
  static constexpr int kNameCapacity = 32;
  static constexpr int kSlots = 16;

  std::string Name() const;
  void SetName(std::string_view value);
  // Object-kind code of element i (0 ... 15) from the node; 0 empty or outside.
  std::uint8_t Slot(int i) const;
  void SetSlot(int i, std::uint8_t kind);
};

}  // namespace kordavelt::book

namespace kordavelt {

// The name a record of `table` shows: its type name (table 2 and 94 their
// name, 92 the mechanism type); empty for table 11, whose types have none.
std::string BookRecordName(int table, ConstBytes record);

}  // namespace kordavelt
