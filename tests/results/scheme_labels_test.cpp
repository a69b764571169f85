// Node and branch labels of a small calculated network: a 400 V source, a
// 12 m cable to the distribution board ЩР-1 and a 20 kW load. They guard
// against values shown from records that are not current, lost identifiers,
// and the switch state, colours and arrow the scheme draws with a label.

#include "results/scheme_labels.h"

#include <gtest/gtest.h>

#include "base/number_format.h"
#include "calc/network_fixture.h"
#include "results/label_groups.h"

namespace kordavelt::testing {
namespace {

class SchemeLabels : public NetworkFixture {
 protected:
  SchemeLabels() {
    n1 = s.m.Node();
    n2 = s.m.Node();
    source = Source(n1, 400, 0);
    cable = Cable(n1, n2, 12);
    s.Name(n2, "ЩР-1");
    Load(n2, Group(20, 0.9, 400));
    s.calc.CalcNetwork();
    palette.standard = Color{200, 0, 0};
  }

  void Groups(std::initializer_list<int> groups) {
    LabelGroups set;
    for (int g : groups) set = set.With(g);
    s.m->Settings().SetSchemeParameterGroups(static_cast<std::int32_t>(set.Bits()));
  }
  std::string Working() { return FormatNumber(Of(cable).uWork); }

  int n1 = 0, n2 = 0;
  ModelBuilder::Tied source;
  std::int32_t cable = 0;
  SchemePalette palette;
};

TEST_F(SchemeLabels, NewModelShowsMarkingsTypesCurrentsVoltagesAndStartingCurrents) {
  const LabelGroups groups = SchemeGroups(s.m->Settings());
  for (int g = 0; g < kLabelGroupCount; ++g) {
    EXPECT_EQ(groups.Has(g), g == 1 || g == 3 || g == 6 || g == 7 || g == 9) << g;
  }
  // Group 0 is off: the marking's '#' goes once the values are reached.
  EXPECT_EQ(NodeText(s.m.model, n2, palette).text, "ЩР-1#Uр=" + Working());
}

TEST_F(SchemeLabels, NodeShowsNumberNameValuesThenCoordinates) {
  s.m->Names()->Insert(1);
  NameRec(s.m->Names()->Record()).SetText("Насосная");
  s.m->Names()->MarkModifiedAndFlush();
  ASSERT_TRUE(modelClass::SeekExact(s.m->Nodes(), n2));
  NodeRec(s.m->Nodes()->Record()).SetKeyName(1);
  s.m->Nodes()->MarkModifiedAndFlush();
  s.Place(n2, 10, 20, 3);
  Groups({0, 2, 5, 7});
  EXPECT_EQ(NodeText(s.m.model, n2, palette).text,
            std::to_string(n2) + "#Насосная#Uр=" + Working() + "#XYZ=10/20/3");
}

TEST_F(SchemeLabels, UnfedNodeKeepsItsNumberAndTheStandardColourWhateverTheGroups) {
  const int lone = s.m.Node();
  s.m->Settings().SetSchemeParameterGroups(-1);
  const NodeLabel label = NodeText(s.m.model, lone, palette);
  EXPECT_EQ(label.text, std::to_string(lone));
  EXPECT_EQ(label.colour, palette.standard);
}

// Would catch stale values of a source whose results an edit invalidated.
TEST_F(SchemeLabels, UncalculatedSourceShowsIdentifiersOnlyAndKeepsTheLeadingHash) {
  ASSERT_TRUE(modelClass::SeekExact(s.m->Sources(), source.number));
  SourceRec(s.m->Sources()->Record()).SetCalculated(0);
  Groups({1, 6, 7});
  EXPECT_EQ(NodeText(s.m.model, n2, palette).text, "#ЩР-1");
  EXPECT_EQ(BranchText(s.m.model, cable, "W1", palette).text, "W1");
}

TEST_F(SchemeLabels, CableMiddlePointIsTheSettingAtMostTheLineLength) {
  Groups({14});
  s.m->Settings().SetIgnitionFaultPositionBelow1kV(20);
  EXPECT_NE(BranchText(s.m.model, cable, "", palette).text.find("кА#I\"12="), std::string::npos);
  s.m->Settings().SetIgnitionFaultPositionBelow1kV(5);
  EXPECT_NE(BranchText(s.m.model, cable, "", palette).text.find("кА#I\"5="), std::string::npos);
}

TEST_F(SchemeLabels, BranchAppendsItsValuesToTheObjectLabelAndSourcesPointBackwards) {
  Groups({6});
  const BranchLabel line = BranchText(s.m.model, cable, "W1", palette);
  EXPECT_EQ(line.text, "W1#Iр=" + FormatNumber(Abs(Of(cable).iDesign)) + "A");
  EXPECT_TRUE(line.switchedOn);
  EXPECT_EQ(line.direction, 1);
  EXPECT_EQ(BranchText(s.m.model, source.branch, "", palette).direction, -1);
}

TEST_F(SchemeLabels, SwitchedOffBranchShowsOpenSwitchesTheOfflineColourAndNoValues) {
  s.m.SetStatus(cable, 0);
  const BranchLabel label = BranchText(s.m.model, cable, "W1", palette);
  EXPECT_EQ(label.text, "W1");
  EXPECT_FALSE(label.switchedOn);
  EXPECT_EQ(label.colours, (BranchEndColours{palette.offline, palette.offline}));
}

}  // namespace
}  // namespace kordavelt::testing
