#pragma once

// Typed views of the object records: the electric data of the object each
// branch carries, one table per object kind (table 100 + kind, keyed by the
// branch key). A new object record is all zeros: no type (type code 0),
// length 0, counts 0. Type codes are keys of the reference book's table of
// the object's kind. Bytes outside the fields are never touched.

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/record_view.h"

namespace kordavelt {

// Abstract branch, table 103: given impedances.
class AbstractBranchRec : public RecordView {
 public:
  using RecordView::RecordView;

  static constexpr int kTypeCapacity = 19;

  // Free type name.
  std::string Type() const;
  void SetType(std::string_view value);
  // R1, X1, R0, X0, mΩ.
  float R1() const;
  void SetR1(float value);
  float X1() const;
  void SetX1(float value);
  float R0() const;
  void SetR0(float value);
  float X0() const;
  void SetX0(float value);
};

// Cable line, table 111.
class CableLineRec : public RecordView {
 public:
  using RecordView::RecordView;

  std::int32_t Type() const;
  void SetType(std::int32_t value);
  // Cables of a second type laid in parallel with those of the first.
  std::int32_t Type2() const;
  void SetType2(std::int32_t value);
  // Length, m.
  float L() const;
  void SetL(float value);
  // Correction factor Кп.
  float Kpr() const;
  void SetKpr(float value);
  // Parallel cables of the first and of the second type.
  std::uint8_t Nk() const;
  void SetNk(std::uint8_t value);
  std::uint8_t Nk2() const;
  void SetNk2(std::uint8_t value);
  // Laying, index into "Откр#Трнш#Блок".
  std::uint8_t Codepr() const;
  void SetCodepr(std::uint8_t value);
  // Protection factor Кзащ, %.
  std::uint8_t Kdk() const;
  void SetKdk(std::uint8_t value);
};

// Wiring section, table 112.
class WiringRec : public RecordView {
 public:
  using RecordView::RecordView;

  // Phase wire.
  std::int32_t Type() const;
  void SetType(std::int32_t value);
  // A second wire, shown after "+" on the scheme.
  std::int32_t TypeN() const;
  void SetTypeN(std::int32_t value);
  // Length, m.
  float L() const;
  void SetL(float value);
  // Correction factor Кп.
  float Kpr() const;
  void SetKpr(float value);
  // Distance between wires "a пр", mm.
  float WireSpacing() const;
  void SetWireSpacing(float value);
  // Parallel wires "Nпр".
  std::uint8_t Ncond() const;
  void SetNcond(std::uint8_t value);
  // Laying, index into "Без труб и шлангов#В токопроводящей трубе#В диэлектрическом шланге".
  std::uint8_t Cabining() const;
  void SetCabining(std::uint8_t value);
  // Protection factor Кзащ.
  std::uint8_t Kdp() const;
  void SetKdp(std::uint8_t value);
};

// Overhead line, table 113.
class OverheadLineRec : public RecordView {
 public:
  using RecordView::RecordView;

  // Phase wire and neutral wire.
  std::int32_t Type() const;
  void SetType(std::int32_t value);
  std::int32_t TypeN() const;
  void SetTypeN(std::int32_t value);
  // Length, m.
  float L() const;
  void SetL(float value);
  // Mean geometric distance Dсг, m.
  float Dsg() const;
  void SetDsg(float value);
  // Earthing resistance Rзаз, Ω.
  float Rzaz() const;
  void SetRzaz(float value);
  // Number of earthings.
  std::uint8_t Nzaz() const;
  void SetNzaz(std::uint8_t value);
  // Wires per phase ("Кол-во").
  std::uint8_t WiresPerPhase() const;
  void SetWiresPerPhase(std::uint8_t value);
};

// Busbar trunking of a catalogue type (К), table 114.
class TrunkingRec : public RecordView {
 public:
  using RecordView::RecordView;

  std::int32_t Type() const;
  void SetType(std::int32_t value);
  // Length, m.
  float L() const;
  void SetL(float value);
  // Number of sections.
  std::uint16_t N() const;
  void SetN(std::uint16_t value);
};

// Busbar trunking given by its construction (Н), table 115.
class BusbarTrunkingRec : public RecordView {
 public:
  using RecordView::RecordView;

  // Index into "Медь#Алюминий".
  std::uint8_t Material() const;
  void SetMaterial(std::uint8_t value);
  // Index into " - #Полоса#Труба кв.#Пакет 2п.#Пакет 3п".
  std::uint8_t Construction() const;
  void SetConstruction(std::uint8_t value);
  // Number of sections N.
  std::uint16_t Sections() const;
  void SetSections(std::uint16_t value);
  // Length, m.
  float L() const;
  void SetL(float value);
  // Dimensions D, B, H, mm.
  float D() const;
  void SetD(float value);
  float B() const;
  void SetB(float value);
  float H() const;
  void SetH(float value);
  // bв/b for construction 2, d in mm for constructions 3 and 4.
  float BvOrD() const;
  void SetBvOrD(float value);
  // Conductor cross-section F, mm².
  float F() const;
  void SetF(float value);
  // g0, mm.
  float G0() const;
  void SetG0(float value);
};

// Protective device with settings of its own, table 120.
class ProtectiveDeviceRec : public RecordView {
 public:
  using RecordView::RecordView;

  static constexpr int kNameCapacity = 19;
  static constexpr int kVthSize = 112;

  std::string Name() const;
  void SetName(std::string_view value);
  // Setting Ir, A.
  float Ir() const;
  void SetIr(float value);
  // "Кратн." tr.
  float Tr() const;
  void SetTr(float value);
  // Setting Im, A.
  float Im() const;
  void SetIm(float value);
  // Setting Tm, s.
  float Tm() const;
  void SetTm(float value);
  // Setting Iотс, A.
  float Iots() const;
  void SetIots(float value);
  // Imax (Bт=c).
  float Imax() const;
  void SetImax(float value);
  // The device's own time-current characteristic (a VTH block), in place.
  Bytes Vth() const;
  // 1 = protects against single-phase faults ("От1фКЗ").
  std::uint8_t OnePhaseProtection() const;
  void SetOnePhaseProtection(std::uint8_t value);
};

// Circuit breaker, table 121.
class BreakerRec : public RecordView {
 public:
  using RecordView::RecordView;

  std::int32_t Type() const;
  void SetType(std::int32_t value);
  std::int32_t TripUnitType() const;
  void SetTripUnitType(std::int32_t value);
  // Rated current of the trip unit, A.
  float Inom() const;
  void SetInom(float value);
  // Settings Ir, tr (s), Im, tm (s), Iотс in the units of the trip unit.
  float Ir() const;
  void SetIr(float value);
  float Tr() const;
  void SetTr(float value);
  float Im() const;
  void SetIm(float value);
  float Tm() const;
  void SetTm(float value);
  float Iots() const;
  void SetIots(float value);
  // Check mark of the column "Bт=" / "const".
  std::uint8_t BtConst() const;
  void SetBtConst(std::uint8_t value);
  // 1 = protects against single-phase faults.
  std::uint8_t OnePhaseProtection() const;
  void SetOnePhaseProtection(std::uint8_t value);
};

// Fuse, table 122.
class FuseRec : public RecordView {
 public:
  using RecordView::RecordView;

  std::int32_t Type() const;
  void SetType(std::int32_t value);
  // Exchanged only.
  float Inom() const;
  void SetInom(float value);
  // Rated current of the fuse link "Iпв", A.
  float Ipv() const;
  void SetIpv(float value);
};

// Current relay (123), switch (124), stabiliser (132), reactor (133) and
// current transformer (134): a type code and nothing else.
class TypeOnlyRec : public RecordView {
 public:
  using RecordView::RecordView;

  std::int32_t Type() const;
  void SetType(std::int32_t value);
};

// Starter or contactor, table 125.
class StarterRec : public RecordView {
 public:
  using RecordView::RecordView;

  std::int32_t Type() const;
  void SetType(std::int32_t value);
};

// Power transformer, table 131.
class TransformerRec : public RecordView {
 public:
  using RecordView::RecordView;

  std::int32_t Type() const;
  void SetType(std::int32_t value);
  // Short-circuit losses Pкз, kW.
  float Pk() const;
  void SetPk(float value);
  // Short-circuit voltage Uкз, %.
  float Uk() const;
  void SetUk(float value);
  // No-load losses Pхх, kW.
  float Ph() const;
  void SetPh(float value);
  // No-load current Iхх, %.
  float Ih() const;
  void SetIh(float value);
  // High and low voltage, kV.
  float Uv() const;
  void SetUv(float value);
  float Un() const;
  void SetUn(float value);
  // Tap position "№р".
  std::int8_t Nreg() const;
  void SetNreg(std::int8_t value);
};

// Capacitor bank, table 143.
class CapacitorBankRec : public RecordView {
 public:
  using RecordView::RecordView;

  std::int32_t Type() const;
  void SetType(std::int32_t value);
  // Number of banks ("Количество").
  std::uint8_t Nbk() const;
  void SetNbk(std::uint8_t value);
  // Index into "ABC0#ABC#A0#B0#C0#AB#BC#CA".
  std::uint8_t PhaseIndex() const;
  void SetPhaseIndex(std::uint8_t value);
};

// Sockets, table 145.
class SocketsRec : public RecordView {
 public:
  using RecordView::RecordView;

  // Three-phase sockets, and sockets on phases A, B and C.
  std::int32_t N3() const;
  void SetN3(std::int32_t value);
  std::int32_t Na() const;
  void SetNa(std::int32_t value);
  std::int32_t Nb() const;
  void SetNb(std::int32_t value);
  std::int32_t Nc() const;
  void SetNc(std::int32_t value);
};

// Generator, table 150.
class GeneratorRec : public RecordView {
 public:
  using RecordView::RecordView;

  std::int32_t Type() const;
  void SetType(std::int32_t value);
  // Position, m.
  std::int16_t X() const;
  void SetX(std::int16_t value);
  std::int16_t Y() const;
  void SetY(std::int16_t value);
  std::int16_t Z() const;
  void SetZ(std::int16_t value);
  // Active power Pг, kW, and reactive power Qг, kvar.
  float Pg() const;
  void SetPg(float value);
  float Qg() const;
  void SetQg(float value);
};

// Power source object, table 151: the electric data of a source's branch.
class SourceObjectRec : public RecordView {
 public:
  using RecordView::RecordView;

  // Working voltage Uр, V.
  float Ur() const;
  void SetUr(float value);
  // Three- and single-phase short-circuit currents, kA.
  float Ik3() const;
  void SetIk3(float value);
  float Ik1() const;
  void SetIk1(float value);
  // Time constant Ta, s.
  float Ta() const;
  void SetTa(float value);
  // The tied source record (key in the source table); 0 = none.
  std::int32_t SourceNumber() const;
  void SetSourceNumber(std::int32_t value);
};

// Electric receiver object, table 152: ties the branch to its receiver;
// the electric data come from the receiver's group.
class ReceiverObjectRec : public RecordView {
 public:
  using RecordView::RecordView;

  // Key of the tied receiver record; 0 = none.
  std::int32_t ReceiverKey() const;
  void SetReceiverKey(std::int32_t value);
};

// Equivalent motor, table 153.
class EquivalentMotorRec : public RecordView {
 public:
  using RecordView::RecordView;

  // Installed power Pуст, kW.
  float Pust() const;
  void SetPust(float value);
  // Reactive power Q, kvar.
  float Q() const;
  void SetQ(float value);
  // Nominal voltage Uном, V.
  float Unom() const;
  void SetUnom(float value);
  // Self-starting power Pсз, kW.
  float Psz() const;
  void SetPsz(float value);
  // Rated power Pном1 of the starting motor, kW, its starting current
  // Iпуск1, A, power factor at start CosФп and starting time Tпуск, s.
  float Pnom1() const;
  void SetPnom1(float value);
  float Istart1() const;
  void SetIstart1(float value);
  float CosFstart() const;
  void SetCosFstart(float value);
  float Tstart() const;
  void SetTstart(float value);
  // Number of motors, not shown; the Pном1 edit sets it to 2 · Pуст / Pном1 while it is 0.
  std::uint16_t MotorCount() const;
  void SetMotorCount(std::uint16_t value);
  // Index into "-#Экв.АД#Экв.СД".
  std::uint8_t Kind() const;
  void SetKind(std::uint8_t value);
};

}  // namespace kordavelt
