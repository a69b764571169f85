#pragma once

// Typed views of the records of the model's own tables (nodes, branches, far
// ends, sources, receivers, groups, rooms, markings, names):
//
//   NodeRec node(nodes->Record());
//   node.SetKo(0.8f);
//   nodes->MarkModifiedAndFlush();
//
// Counted strings are read and written as UTF-8 and stored cut at their
// capacity in characters. Bytes outside the fields are never touched.

#include <cstdint>
#include <string>
#include <string_view>

#include "storage/record_view.h"

namespace kordavelt {

// A node (busbar), table 2.
class NodeRec : public RecordView {
 public:
  using RecordView::RecordView;

  // Coefficient "ko" of the load method "Кз и Ко".
  float Ko() const;
  void SetKo(float value);
  // Position in the building plan, m.
  std::int16_t X() const;
  void SetX(std::int16_t value);
  std::int16_t Y() const;
  void SetY(std::int16_t value);
  std::int16_t Z() const;
  void SetZ(std::int16_t value);
  // Index 0 … 5 into the settings' nominal voltages.
  std::uint8_t Unom() const;
  void SetUnom(std::uint8_t value);
  // Code of a composition template of the reference book; 0 = none.
  std::uint8_t NodeType() const;
  void SetNodeType(std::uint8_t value);
  // Room number (key in the room table); 0 = none.
  std::uint16_t CodRoom() const;
  void SetCodRoom(std::uint16_t value);
  // Name number (key in the name table); 0 = no name.
  std::uint16_t KeyName() const;
  void SetKeyName(std::uint16_t value);
};

// A branch, table 3; its own key is the branch key.
class BranchRec : public RecordView {
 public:
  using RecordView::RecordView;

  // Far-end key of the branch; 0 for a branch without a far node.
  std::int32_t KeyEnd() const;
  void SetKeyEnd(std::int32_t value);
  // Object kind code of the object the branch carries.
  std::uint8_t Kind() const;
  void SetKind(std::uint8_t value);
  // Flags; bit 1: excluded from the automatic choice of equipment.
  std::uint8_t Phase() const;
  void SetPhase(std::uint8_t value);
  // Bit r set: switched on in regime r.
  std::uint16_t Status() const;
  void SetStatus(std::uint16_t value);
};

// A far end of a branch, table 4.
class FarEndRec : public RecordView {
 public:
  using RecordView::RecordView;

  // Key of the branch that ends here.
  std::int32_t BranchKey() const;
  void SetBranchKey(std::int32_t value);
};

// A power source, table 5.
class SourceRec : public RecordView {
 public:
  using RecordView::RecordView;

  static constexpr int kMarkingCapacity = 19;

  std::string Marking() const;
  void SetMarking(std::string_view value);
  // Index 0 … 5 into the settings' nominal voltages.
  std::uint8_t VoltageIndex() const;
  void SetVoltageIndex(std::uint8_t value);
  // 1 while the source's tree holds current results.
  std::uint8_t Calculated() const;
  void SetCalculated(std::uint8_t value);
  // Design active power Pр, kW.
  float DesignP() const;
  void SetDesignP(float value);
  // Design reactive power Qр, kvar.
  float DesignQ() const;
  void SetDesignQ(float value);
  // Key of the source's branch; 0 = not placed in the network.
  std::int32_t BranchKey() const;
  void SetBranchKey(std::int32_t value);
  // RGB colour of the source's tree on a scheme coloured by sources.
  std::int32_t Colour() const;
  void SetColour(std::int32_t value);
};

// An electric receiver, table 6; key = group × 1024 + n.
class ReceiverRec : public RecordView {
 public:
  using RecordView::RecordView;

  static constexpr int kMarkingCapacity = 19;

  // Key of the receiver's branch; 0 = not connected.
  std::int32_t BranchKey() const;
  void SetBranchKey(std::int32_t value);
  std::string Marking() const;
  void SetMarking(std::string_view value);
  // Position, m.
  std::int16_t X() const;
  void SetX(std::int16_t value);
  std::int16_t Y() const;
  void SetY(std::int16_t value);
  std::int16_t Z() const;
  void SetZ(std::int16_t value);
  // Source feeding the receiver in the current regime; 0 = none.
  std::uint8_t SourceNumber() const;
  void SetSourceNumber(std::uint8_t value);
  // Index into "ABC0#ABC#A0#B0#C0#AB#BC#CA".
  std::uint8_t PhaseIndex() const;
  void SetPhaseIndex(std::uint8_t value);
  // 1 = switched on.
  std::uint8_t SwitchedOn() const;
  void SetSwitchedOn(std::uint8_t value);
  // Room number; 0 = none.
  std::uint16_t Room() const;
  void SetRoom(std::uint16_t value);
};

// A receiver group, table 7: the electric data common to its receivers.
class GroupRec : public RecordView {
 public:
  using RecordView::RecordView;

  static constexpr int kNameCapacity = 99;
  static constexpr int kTypeCapacity = 7;

  // "Наименование электроприемника".
  std::string Name() const;
  void SetName(std::string_view value);
  float Kv() const;
  void SetKv(float value);
  // Load factor Кз.
  float Kz() const;
  void SetKz(float value);
  float Kpv() const;
  void SetKpv(float value);
  // Cycle time tц, min.
  float Tc() const;
  void SetTc(float value);
  // Number of phases 1 … 3.
  std::uint8_t Nphase() const;
  void SetNphase(std::uint8_t value);
  // Index into "Длит.#Период.#Эпизод.".
  std::uint8_t Regim() const;
  void SetRegim(std::uint8_t value);
  // Index into " - #АД#СД#АД2#ЭД#Освещение#Нагреватель#Сварка".
  std::uint8_t Class() const;
  void SetClass(std::uint8_t value);
  // 1 = takes part in self-start.
  std::uint8_t SelfStart() const;
  void SetSelfStart(std::uint8_t value);
  // Pном, kW.
  float P() const;
  void SetP(float value);
  // Qном, kvar.
  float Q() const;
  void SetQ(float value);
  // Nominal voltage, V.
  float Unom() const;
  void SetUnom(float value);
  // Iпуск, A.
  float Istart() const;
  void SetIstart(float value);
  float CosFstart() const;
  void SetCosFstart(float value);
  // Start time tп, s.
  float Tstart() const;
  void SetTstart(float value);
  // Nэп: receivers in the group.
  std::uint16_t ReceiverCount() const;
  void SetReceiverCount(std::uint16_t value);
  // Nраб: receivers of the group fed in the current regime.
  std::uint16_t WorkingCount() const;
  void SetWorkingCount(std::uint16_t value);
  // Type code of the motor; 0 = none.
  std::int32_t KeyType() const;
  void SetKeyType(std::int32_t value);
  // Type code of the driven mechanism; 0 = none.
  std::int32_t KeyMech() const;
  void SetKeyMech(std::int32_t value);
  std::string Type() const;
  void SetType(std::string_view value);
};

// A building or room, table 8.
class RoomRec : public RecordView {
 public:
  using RecordView::RecordView;

  static constexpr int kDescriptCapacity = 19;
  static constexpr int kNameCapacity = 49;

  std::string Descript() const;
  void SetDescript(std::string_view value);
  std::string Name() const;
  void SetName(std::string_view value);
  // Origin, m.
  float Xmin() const;
  void SetXmin(float value);
  float Ymin() const;
  void SetYmin(float value);
  float Zmin() const;
  void SetZmin(float value);
  // Length, width and height, m.
  float DX() const;
  void SetDX(float value);
  float DY() const;
  void SetDY(float value);
  float DZ() const;
  void SetDZ(float value);
  // Degrees.
  float Angle() const;
  void SetAngle(float value);
  // Air temperature, °C.
  float Tv() const;
  void SetTv(float value);
  // Heat release of the room's equipment, Gcal/h.
  float Qtv() const;
  void SetQtv(float value);
  // RGB.
  std::int32_t Color() const;
  void SetColor(std::int32_t value);
  // Index into "-#П-I#П-II#П-IIа#П-III".
  std::uint8_t FireClass() const;
  void SetFireClass(std::uint8_t value);
  // Index into "-#В-I#В-Ia#В-Iб#В-Iг#В-II#В-IIа".
  std::uint8_t ExplosionClass() const;
  void SetExplosionClass(std::uint8_t value);
};

// The marking (short designation) of a node or a branch, table 9.
class MarkingRec : public RecordView {
 public:
  using RecordView::RecordView;

  static constexpr int kCapacity = 19;

  std::string Text() const;
  void SetText(std::string_view value);
};

// A long name, table 10.
class NameRec : public RecordView {
 public:
  using RecordView::RecordView;

  static constexpr int kCapacity = 127;

  std::string Text() const;
  void SetText(std::string_view value);
};

}  // namespace kordavelt
