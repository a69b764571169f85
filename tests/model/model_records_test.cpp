// The views of the model's own tables against their layouts and through a
// model file. A wrong offset here misplaces every node, branch and source of
// every model the program opens.

#include "model/model_records.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "model/model_tables.h"
#include "record_probe.h"

namespace kordavelt {
namespace {

using testing::Probe;
using testing::ViewProbe;

std::vector<ViewProbe> ModelViewProbes() {
  return {
      {kNodeTable,
       "NodeRec",
       {Probe("Ko", &NodeRec::Ko, &NodeRec::SetKo), Probe("x", &NodeRec::X, &NodeRec::SetX),
        Probe("y", &NodeRec::Y, &NodeRec::SetY), Probe("z", &NodeRec::Z, &NodeRec::SetZ),
        Probe("Unom", &NodeRec::Unom, &NodeRec::SetUnom),
        Probe("NodeType", &NodeRec::NodeType, &NodeRec::SetNodeType),
        Probe("codRoom", &NodeRec::CodRoom, &NodeRec::SetCodRoom),
        Probe("KeyName", &NodeRec::KeyName, &NodeRec::SetKeyName)}},
      {kBranchTable,
       "BranchRec",
       {Probe("KeyEnd", &BranchRec::KeyEnd, &BranchRec::SetKeyEnd),
        Probe("Kind", &BranchRec::Kind, &BranchRec::SetKind),
        Probe("Phase", &BranchRec::Phase, &BranchRec::SetPhase),
        Probe("Status", &BranchRec::Status, &BranchRec::SetStatus)}},
      {kFarEndTable,
       "FarEndRec",
       {Probe("KeyBeg", &FarEndRec::BranchKey, &FarEndRec::SetBranchKey)}},
      {kSourceTable,
       "SourceRec",
       {Probe("Descript", &SourceRec::Marking, &SourceRec::SetMarking),
        Probe("Unom", &SourceRec::VoltageIndex, &SourceRec::SetVoltageIndex),
        Probe("Calculated", &SourceRec::Calculated, &SourceRec::SetCalculated),
        Probe("Pr", &SourceRec::DesignP, &SourceRec::SetDesignP),
        Probe("Qr", &SourceRec::DesignQ, &SourceRec::SetDesignQ),
        Probe("KeyBranch", &SourceRec::BranchKey, &SourceRec::SetBranchKey),
        Probe("Color", &SourceRec::Colour, &SourceRec::SetColour)}},
      {kReceiverTable,
       "ReceiverRec",
       {Probe("KeyBranch", &ReceiverRec::BranchKey, &ReceiverRec::SetBranchKey),
        Probe("Descript", &ReceiverRec::Marking, &ReceiverRec::SetMarking),
        Probe("x", &ReceiverRec::X, &ReceiverRec::SetX),
        Probe("y", &ReceiverRec::Y, &ReceiverRec::SetY),
        Probe("z", &ReceiverRec::Z, &ReceiverRec::SetZ),
        Probe("PowerSupply", &ReceiverRec::SourceNumber, &ReceiverRec::SetSourceNumber),
        Probe("phase", &ReceiverRec::PhaseIndex, &ReceiverRec::SetPhaseIndex),
        Probe("is_rab", &ReceiverRec::SwitchedOn, &ReceiverRec::SetSwitchedOn),
        Probe("room", &ReceiverRec::Room, &ReceiverRec::SetRoom)}},
      {kGroupTable,
       "GroupRec",
       {Probe("name", &GroupRec::Name, &GroupRec::SetName),
        Probe("Kv", &GroupRec::Kv, &GroupRec::SetKv),
        Probe("Kz", &GroupRec::Kz, &GroupRec::SetKz),
        Probe("Kpv", &GroupRec::Kpv, &GroupRec::SetKpv),
        Probe("tc", &GroupRec::Tc, &GroupRec::SetTc),
        Probe("Nphase", &GroupRec::Nphase, &GroupRec::SetNphase),
        Probe("Regim", &GroupRec::Regim, &GroupRec::SetRegim),
        Probe("Class", &GroupRec::Class, &GroupRec::SetClass),
        Probe("SelfStart", &GroupRec::SelfStart, &GroupRec::SetSelfStart),
        Probe("P", &GroupRec::P, &GroupRec::SetP),
        Probe("Q", &GroupRec::Q, &GroupRec::SetQ),
        Probe("Unom", &GroupRec::Unom, &GroupRec::SetUnom),
        Probe("Istart", &GroupRec::Istart, &GroupRec::SetIstart),
        Probe("CosFstart", &GroupRec::CosFstart, &GroupRec::SetCosFstart),
        Probe("Tstart", &GroupRec::Tstart, &GroupRec::SetTstart),
        Probe("ReceiverCount", &GroupRec::ReceiverCount, &GroupRec::SetReceiverCount),
        Probe("WorkingCount", &GroupRec::WorkingCount, &GroupRec::SetWorkingCount),
        Probe("key_type", &GroupRec::KeyType, &GroupRec::SetKeyType),
        Probe("key_mech", &GroupRec::KeyMech, &GroupRec::SetKeyMech),
        Probe("type", &GroupRec::Type, &GroupRec::SetType)}},
      {kRoomTable,
       "RoomRec",
       {Probe("Descript", &RoomRec::Descript, &RoomRec::SetDescript),
        Probe("Name", &RoomRec::Name, &RoomRec::SetName),
        Probe("Xmin", &RoomRec::Xmin, &RoomRec::SetXmin),
        Probe("Ymin", &RoomRec::Ymin, &RoomRec::SetYmin),
        Probe("Zmin", &RoomRec::Zmin, &RoomRec::SetZmin),
        Probe("dX", &RoomRec::DX, &RoomRec::SetDX), Probe("dY", &RoomRec::DY, &RoomRec::SetDY),
        Probe("dZ", &RoomRec::DZ, &RoomRec::SetDZ),
        Probe("Angle", &RoomRec::Angle, &RoomRec::SetAngle),
        Probe("Tv", &RoomRec::Tv, &RoomRec::SetTv), Probe("Qtv", &RoomRec::Qtv, &RoomRec::SetQtv),
        Probe("Color", &RoomRec::Color, &RoomRec::SetColor),
        Probe("FireClass", &RoomRec::FireClass, &RoomRec::SetFireClass),
        Probe("ExplosionClass", &RoomRec::ExplosionClass, &RoomRec::SetExplosionClass)}},
      {kMarkingTable, "MarkingRec", {Probe("Descript", &MarkingRec::Text, &MarkingRec::SetText)}},
      {kNameTable, "NameRec", {Probe("Name", &NameRec::Text, &NameRec::SetText)}},
  };
}

// Catches a view and its layout that disagree on a field's offset, width or
// sign, a view that writes outside its field, and a field left out of either.
TEST(ModelRecords, ViewsAgreeWithTheirLayouts) {
  for (const ViewProbe& probe : ModelViewProbes()) {
    testing::ExpectProbesCoverLayout(probe);
    testing::ExpectViewAgreesWithLayout(probe);
  }
}

// Catches a field lost, cut or shifted on its way through the engine, text
// stored past its capacity, and unused bytes not carried unchanged.
TEST(ModelRecords, EveryFieldSurvivesAModelFile) {
  testing::ExpectRoundTripThroughModelFile(ModelViewProbes());
}

// Catches a view that reads or writes past a record shorter than its layout
// (a damaged or foreign table): it must read zeros and write nothing.
TEST(ModelRecords, AViewOverAShortSpanStaysInside) {
  std::vector<std::uint8_t> storage(kNodeLength, 0x55);
  NodeRec node(Bytes(storage).first(31));
  EXPECT_EQ(node.KeyName(), 0);
  EXPECT_EQ(node.CodRoom(), 0) << "a field cut by the end reads as 0";
  node.SetKeyName(7);
  node.SetCodRoom(7);
  EXPECT_TRUE(std::ranges::all_of(storage, [](std::uint8_t b) { return b == 0x55; }));

  RoomRec room(Bytes(storage).first(10));
  room.SetName("Цех");
  EXPECT_EQ(room.Name(), "");
  EXPECT_TRUE(std::ranges::all_of(storage, [](std::uint8_t b) { return b == 0x55; }));
}

}  // namespace
}  // namespace kordavelt
