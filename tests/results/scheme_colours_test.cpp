// Colours of nodes and branches by the colouring mode, on a 400 V source
// feeding the board n2 through a 12 m cable with a load there. They guard
// the offline cases, the band lookups (with the phase value of a
// single-phase feeder) and which node colours each half of a branch.

#include "results/scheme_colours.h"

#include <gtest/gtest.h>

#include "calc/element_checks.h"
#include "calc/network_fixture.h"

namespace kordavelt::testing {
namespace {

class SchemeColours : public NetworkFixture {
 protected:
  SchemeColours() {
    n1 = s.m.Node();
    n2 = s.m.Node();
    source = Source(n1, 400, 0);
    cable = Cable(n1, n2, 12);
    load = Load(n2, Group(20, 0.9, 400));
    s.calc.CalcNetwork();
  }

  ModelSettings& Settings() { return s.m->Settings(); }
  Color Node(int node) { return NodeColour(s.m.model, node, palette); }
  BranchEndColours Branch(std::int32_t key) { return BranchColours(s.m.model, key, palette); }
  static Color Ref(std::uint32_t ref) { return Color::FromColorRef(ref); }

  // Node n2 stands in room 1 of colour 0x778899.
  void RoomForN2() {
    s.m->Rooms()->Insert(1);
    RoomRec(s.m->Rooms()->Record()).SetColor(0x778899);
    s.m->Rooms()->MarkModifiedAndFlush();
    ASSERT_TRUE(modelClass::SeekExact(s.m->Nodes(), n2));
    NodeRec(s.m->Nodes()->Record()).SetCodRoom(1);
    s.m->Nodes()->MarkModifiedAndFlush();
  }

  int n1 = 0, n2 = 0;
  ModelBuilder::Tied source;
  std::int32_t cable = 0, load = 0;
  SchemePalette palette;
};

TEST_F(SchemeColours, UnfedNodesAndSwitchedOffBranchesTakeTheOfflineColour) {
  EXPECT_EQ(Node(s.m.Node()), palette.offline);
  EXPECT_EQ(Node(n2), palette.standard);
  s.m.SetStatus(cable, 0);
  EXPECT_EQ(Branch(cable), (BranchEndColours{palette.offline, palette.offline}));
}

TEST_F(SchemeColours, NodesTakeTheColourOfTheirVoltageSourceOrRoom) {
  ASSERT_TRUE(modelClass::SeekExact(s.m->Nodes(), n2));
  Settings().SetVoltageBandColour(NodeRec(s.m->Nodes()->Record()).Unom(), 0x112233);
  Settings().SetColouringMode(kColourByVoltage);
  EXPECT_EQ(Node(n2), Ref(0x112233));

  ASSERT_TRUE(modelClass::SeekExact(s.m->Sources(), source.number));
  SourceRec(s.m->Sources()->Record()).SetColour(0x445566);
  Settings().SetColouringMode(kColourBySource);
  EXPECT_EQ(Node(n2), Ref(0x445566));

  RoomForN2();
  Settings().SetColouringMode(kColourByRoom);
  EXPECT_EQ(Node(n2), Ref(0x778899));
  EXPECT_EQ(Node(n1), palette.standard);
}

// Would catch a single-phase feeder's phase voltage measured against the
// line voltage, which puts every such node in the lowest band.
TEST_F(SchemeColours, DeviationBandMeasuresTheWorkingVoltageAgainstItsOwnKindOfNominal) {
  for (int band = 0; band < ModelSettings::kBandCount; ++band) {
    Settings().SetDeviationBandColour(band, 0x10 + band);
  }
  Settings().SetColouringMode(kColourByDeviation);
  Of(cable).uWork = 360;
  EXPECT_EQ(Node(n2), Ref(0x12));  // 0.9 Uн: band 3
  Of(cable).phaseSet = kPhaseA;
  Of(cable).uWork = static_cast<float>(360 * 0.57735);
  EXPECT_EQ(Node(n2), Ref(0x12));
  ASSERT_TRUE(modelClass::SeekExact(s.m->Sources(), source.number));
  SourceRec(s.m->Sources()->Record()).SetCalculated(0);
  EXPECT_EQ(Node(n2), palette.standard);
}

TEST_F(SchemeColours, LoadAndConditionModesColourTheWholeBranch) {
  Settings().SetLoadBandColour(6, 0x0A0B0C);
  Settings().SetColouringMode(kColourByLoad);
  Of(cable).loadFactor = 1.2f;  // nearer 1.25 than 1.1: band 7
  EXPECT_EQ(Branch(cable), (BranchEndColours{Ref(0x0A0B0C), Ref(0x0A0B0C)}));

  Settings().SetColouringMode(kColourByConditions);
  Of(cable).violations = 0;
  EXPECT_EQ(Branch(cable), (BranchEndColours{palette.standard, palette.standard}));
  Of(cable).violations = 1u << kViolationPermissible;
  EXPECT_EQ(Branch(cable), (BranchEndColours{palette.highlight, palette.highlight}));
}

TEST_F(SchemeColours, OtherModesColourEachHalfByItsNodeAndABranchWithoutFarNodeByItsStart) {
  RoomForN2();
  Settings().SetColouringMode(kColourByRoom);
  EXPECT_EQ(Branch(cable), (BranchEndColours{palette.standard, Ref(0x778899)}));
  EXPECT_EQ(Branch(load), (BranchEndColours{Ref(0x778899), Ref(0x778899)}));
}

}  // namespace
}  // namespace kordavelt::testing
