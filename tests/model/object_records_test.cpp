// The views of the object tables against their layouts and through a model
// file. The calculation takes every element's parameters from these records.

#include "model/object_records.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/model_tables.h"
#include "record_probe.h"

namespace kordavelt {
namespace {

using testing::Probe;
using testing::SpanProbe;
using testing::ViewProbe;

ViewProbe TypeOnly(int table) {
  return {table, "TypeOnlyRec", {Probe("Type", &TypeOnlyRec::Type, &TypeOnlyRec::SetType)}};
}

std::vector<ViewProbe> ObjectViewProbes() {
  using AB = AbstractBranchRec;
  using CL = CableLineRec;
  using WR = WiringRec;
  using OL = OverheadLineRec;
  using TR = TrunkingRec;
  using BT = BusbarTrunkingRec;
  using PD = ProtectiveDeviceRec;
  using BR = BreakerRec;
  using TF = TransformerRec;
  using EM = EquivalentMotorRec;
  return {
      {kAbstractBranchTable,
       "AbstractBranchRec",
       {Probe("Type", &AB::Type, &AB::SetType), Probe("r1", &AB::R1, &AB::SetR1),
        Probe("x1", &AB::X1, &AB::SetX1), Probe("r0", &AB::R0, &AB::SetR0),
        Probe("x0", &AB::X0, &AB::SetX0)}},
      {kCableLineTable,
       "CableLineRec",
       {Probe("Type", &CL::Type, &CL::SetType), Probe("Type2", &CL::Type2, &CL::SetType2),
        Probe("L", &CL::L, &CL::SetL), Probe("Kpr", &CL::Kpr, &CL::SetKpr),
        Probe("Nk", &CL::Nk, &CL::SetNk), Probe("Nk2", &CL::Nk2, &CL::SetNk2),
        Probe("Codepr", &CL::Codepr, &CL::SetCodepr), Probe("Kdk", &CL::Kdk, &CL::SetKdk)}},
      {kWiringTable,
       "WiringRec",
       {Probe("Type", &WR::Type, &WR::SetType), Probe("Type_N", &WR::TypeN, &WR::SetTypeN),
        Probe("L", &WR::L, &WR::SetL), Probe("Kpr", &WR::Kpr, &WR::SetKpr),
        Probe("WireSpacing", &WR::WireSpacing, &WR::SetWireSpacing),
        Probe("Ncond", &WR::Ncond, &WR::SetNcond),
        Probe("Cabining", &WR::Cabining, &WR::SetCabining), Probe("Kdp", &WR::Kdp, &WR::SetKdp)}},
      {kOverheadLineTable,
       "OverheadLineRec",
       {Probe("Type", &OL::Type, &OL::SetType), Probe("Type_N", &OL::TypeN, &OL::SetTypeN),
        Probe("L", &OL::L, &OL::SetL), Probe("Dsg", &OL::Dsg, &OL::SetDsg),
        Probe("Rzaz", &OL::Rzaz, &OL::SetRzaz), Probe("Nzaz", &OL::Nzaz, &OL::SetNzaz),
        Probe("WiresPerPhase", &OL::WiresPerPhase, &OL::SetWiresPerPhase)}},
      {kTrunkingTable,
       "TrunkingRec",
       {Probe("Type", &TR::Type, &TR::SetType), Probe("L", &TR::L, &TR::SetL),
        Probe("N", &TR::N, &TR::SetN)}},
      {kBusbarTrunkingTable,
       "BusbarTrunkingRec",
       {Probe("Material", &BT::Material, &BT::SetMaterial),
        Probe("Construction", &BT::Construction, &BT::SetConstruction),
        Probe("Sections", &BT::Sections, &BT::SetSections), Probe("L", &BT::L, &BT::SetL),
        Probe("D", &BT::D, &BT::SetD), Probe("B", &BT::B, &BT::SetB), Probe("H", &BT::H, &BT::SetH),
        Probe("BvOrD", &BT::BvOrD, &BT::SetBvOrD), Probe("F", &BT::F, &BT::SetF),
        Probe("G0", &BT::G0, &BT::SetG0)}},
      {kProtectiveDeviceTable,
       "ProtectiveDeviceRec",
       {Probe("Name", &PD::Name, &PD::SetName), Probe("Ir", &PD::Ir, &PD::SetIr),
        Probe("Tr", &PD::Tr, &PD::SetTr), Probe("Im", &PD::Im, &PD::SetIm),
        Probe("Tm", &PD::Tm, &PD::SetTm), Probe("Iots", &PD::Iots, &PD::SetIots),
        Probe("Imax", &PD::Imax, &PD::SetImax), SpanProbe("Vth", &PD::Vth),
        Probe("OnePhaseProtection", &PD::OnePhaseProtection, &PD::SetOnePhaseProtection)}},
      {kBreakerTable,
       "BreakerRec",
       {Probe("Type", &BR::Type, &BR::SetType),
        Probe("TripUnitType", &BR::TripUnitType, &BR::SetTripUnitType),
        Probe("Inom", &BR::Inom, &BR::SetInom), Probe("Ir", &BR::Ir, &BR::SetIr),
        Probe("Tr", &BR::Tr, &BR::SetTr), Probe("Im", &BR::Im, &BR::SetIm),
        Probe("Tm", &BR::Tm, &BR::SetTm), Probe("Iots", &BR::Iots, &BR::SetIots),
        Probe("BtConst", &BR::BtConst, &BR::SetBtConst),
        Probe("OnePhaseProtection", &BR::OnePhaseProtection, &BR::SetOnePhaseProtection)}},
      {kFuseTable,
       "FuseRec",
       {Probe("Type", &FuseRec::Type, &FuseRec::SetType),
        Probe("Inom", &FuseRec::Inom, &FuseRec::SetInom),
        Probe("Ipv", &FuseRec::Ipv, &FuseRec::SetIpv)}},
      TypeOnly(kCurrentRelayTable),
      TypeOnly(kSwitchTable),
      {kStarterTable, "StarterRec", {Probe("Type", &StarterRec::Type, &StarterRec::SetType)}},
      {kTransformerTable,
       "TransformerRec",
       {Probe("Type", &TF::Type, &TF::SetType), Probe("Pk", &TF::Pk, &TF::SetPk),
        Probe("Uk", &TF::Uk, &TF::SetUk), Probe("Ph", &TF::Ph, &TF::SetPh),
        Probe("Ih", &TF::Ih, &TF::SetIh), Probe("Uv", &TF::Uv, &TF::SetUv),
        Probe("Un", &TF::Un, &TF::SetUn), Probe("Nreg", &TF::Nreg, &TF::SetNreg)}},
      TypeOnly(kStabiliserTable),
      TypeOnly(kReactorTable),
      TypeOnly(kCurrentTransformerTable),
      {kCapacitorBankTable,
       "CapacitorBankRec",
       {Probe("Type", &CapacitorBankRec::Type, &CapacitorBankRec::SetType),
        Probe("nbk", &CapacitorBankRec::Nbk, &CapacitorBankRec::SetNbk),
        Probe("PhaseIndex", &CapacitorBankRec::PhaseIndex, &CapacitorBankRec::SetPhaseIndex)}},
      {kSocketsTable,
       "SocketsRec",
       {Probe("N_3", &SocketsRec::N3, &SocketsRec::SetN3),
        Probe("N_a", &SocketsRec::Na, &SocketsRec::SetNa),
        Probe("N_b", &SocketsRec::Nb, &SocketsRec::SetNb),
        Probe("N_c", &SocketsRec::Nc, &SocketsRec::SetNc)}},
      {kGeneratorTable,
       "GeneratorRec",
       {Probe("Type", &GeneratorRec::Type, &GeneratorRec::SetType),
        Probe("X", &GeneratorRec::X, &GeneratorRec::SetX),
        Probe("Y", &GeneratorRec::Y, &GeneratorRec::SetY),
        Probe("Z", &GeneratorRec::Z, &GeneratorRec::SetZ),
        Probe("Pg", &GeneratorRec::Pg, &GeneratorRec::SetPg),
        Probe("Qg", &GeneratorRec::Qg, &GeneratorRec::SetQg)}},
      {kSourceObjectTable,
       "SourceObjectRec",
       {Probe("Ur", &SourceObjectRec::Ur, &SourceObjectRec::SetUr),
        Probe("Ik3", &SourceObjectRec::Ik3, &SourceObjectRec::SetIk3),
        Probe("Ik1", &SourceObjectRec::Ik1, &SourceObjectRec::SetIk1),
        Probe("Ta", &SourceObjectRec::Ta, &SourceObjectRec::SetTa),
        Probe("SourceNumber", &SourceObjectRec::SourceNumber, &SourceObjectRec::SetSourceNumber)}},
      {kReceiverObjectTable,
       "ReceiverObjectRec",
       {Probe("ReceiverKey", &ReceiverObjectRec::ReceiverKey, &ReceiverObjectRec::SetReceiverKey)}},
      {kEquivalentMotorTable,
       "EquivalentMotorRec",
       {Probe("Pust", &EM::Pust, &EM::SetPust), Probe("Q", &EM::Q, &EM::SetQ),
        Probe("Unom", &EM::Unom, &EM::SetUnom), Probe("Psz", &EM::Psz, &EM::SetPsz),
        Probe("Pnom1", &EM::Pnom1, &EM::SetPnom1), Probe("Istart1", &EM::Istart1, &EM::SetIstart1),
        Probe("CosFstart", &EM::CosFstart, &EM::SetCosFstart),
        Probe("Tstart", &EM::Tstart, &EM::SetTstart),
        Probe("MotorCount", &EM::MotorCount, &EM::SetMotorCount),
        Probe("Kind", &EM::Kind, &EM::SetKind)}},
  };
}

// Catches a view and its layout that disagree on a field's offset, width or
// sign, a view that writes outside its field, and a field left out of either.
TEST(ObjectRecords, ViewsAgreeWithTheirLayouts) {
  for (const ViewProbe& probe : ObjectViewProbes()) {
    testing::ExpectProbesCoverLayout(probe);
    testing::ExpectViewAgreesWithLayout(probe);
  }
}

// Catches an object record that comes back from the file other than it was
// written: a field lost or shifted, the device name not cut, the VTH block or
// the unused spans not carried unchanged, a new record not all zero.
TEST(ObjectRecords, EveryFieldSurvivesAModelFile) {
  testing::ExpectRoundTripThroughModelFile(ObjectViewProbes());
}

// Catches a characteristic block handed out whole over a short (damaged)
// record, which would let the curve editor write past it.
TEST(ObjectRecords, TheDeviceCharacteristicOfAShortRecordIsCutAtItsEnd) {
  std::vector<std::uint8_t> bytes(100);
  const Bytes vth = ProtectiveDeviceRec(bytes).Vth();
  EXPECT_EQ(vth.data(), bytes.data() + 44);
  EXPECT_EQ(vth.size(), 56u);
  EXPECT_TRUE(ProtectiveDeviceRec(Bytes(bytes).first(30)).Vth().empty());
}

}  // namespace
}  // namespace kordavelt
