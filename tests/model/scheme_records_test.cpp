// The views of the scheme geometry against their layouts and through a model
// file. A wrong offset here scrambles every drawing of the network.

#include "model/scheme_records.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/model_tables.h"
#include "record_probe.h"

namespace kordavelt {
namespace {

using testing::IndexedProbe;
using testing::Probe;
using testing::ViewProbe;

std::vector<ViewProbe> SchemeViewProbes() {
  using N = XYNodeRec;
  using B = XYBranchRec;
  using P = XYPageRec;
  ViewProbe branch{
      kXYBranchTable,
      "XYBranchRec",
      {Probe("TextDX", &B::TextDX, &B::SetTextDX), Probe("TextDY", &B::TextDY, &B::SetTextDY),
       Probe("ObjType", &B::ObjType, &B::SetObjType),
       Probe("ObjMirror", &B::ObjMirror, &B::SetObjMirror),
       Probe("ObjPos", &B::ObjPos, &B::SetObjPos), Probe("TextPos", &B::TextPos, &B::SetTextPos),
       Probe("Vertical", &B::Vertical, &B::SetVertical), Probe("Nxy", &B::Nxy, &B::SetNxy),
       Probe("TextDir", &B::TextDir, &B::SetTextDir), Probe("Page", &B::Page, &B::SetPage)}};
  static constexpr std::string_view kPathNames[B::kPathLength] = {"XY1", "XY2", "XY3", "XY4", "XY5",
                                                                  "XY6", "XY7", "XY8", "XY9", "XYA",
                                                                  "XYB", "XYC", "XYD", "XYE"};
  for (int i = 0; i < B::kPathLength; ++i) {
    branch.fields.push_back(IndexedProbe(kPathNames[i], i, &B::Xy, &B::SetXy));
  }
  return {
      {kXYNodeTable,
       "XYNodeRec",
       {Probe("X", &N::X, &N::SetX), Probe("Y", &N::Y, &N::SetY), Probe("L", &N::L, &N::SetL),
        Probe("TextDir", &N::TextDir, &N::SetTextDir),
        Probe("TextPos", &N::TextPos, &N::SetTextPos),
        Probe("Vertical", &N::Vertical, &N::SetVertical), Probe("Page", &N::Page, &N::SetPage)}},
      branch,
      {kXYPageTable,
       "XYPageRec",
       {Probe("Name", &P::Name, &P::SetName), Probe("X0", &P::X0, &P::SetX0),
        Probe("Y0", &P::Y0, &P::SetY0), Probe("St", &P::St, &P::SetSt),
        Probe("Scale", &P::Scale, &P::SetScale), Probe("StampX", &P::StampX, &P::SetStampX),
        Probe("StampY", &P::StampY, &P::SetStampY),
        Probe("StampSize", &P::StampSize, &P::SetStampSize)}},
  };
}

// Catches a view and its layout that disagree on a field's offset, width or
// sign, a view that writes outside its field, and a field left out of either.
TEST(SchemeRecords, ViewsAgreeWithTheirLayouts) {
  for (const ViewProbe& probe : SchemeViewProbes()) {
    testing::ExpectProbesCoverLayout(probe);
    testing::ExpectViewAgreesWithLayout(probe);
  }
}

// Catches geometry lost or shifted through the engine, a page name not cut at
// 39 characters, and the reserved bytes not carried unchanged.
TEST(SchemeRecords, EveryFieldSurvivesAModelFile) {
  testing::ExpectRoundTripThroughModelFile(SchemeViewProbes());
}

// Catches a path index outside the 14 values reaching into the text offsets
// and the symbol fields that follow the path.
TEST(SchemeRecords, APathIndexOutsideTheArrayReadsZeroAndWritesNothing) {
  std::vector<std::uint8_t> bytes(kXYBranchLength, 0x33);
  XYBranchRec branch(bytes);
  branch.SetXy(14, 1);
  branch.SetXy(-1, 1);
  EXPECT_TRUE(std::ranges::all_of(bytes, [](std::uint8_t b) { return b == 0x33; }));
  EXPECT_EQ(branch.Xy(14), 0);
  EXPECT_EQ(branch.Xy(-1), 0);
  EXPECT_EQ(branch.Xy(13), 0x3333);
}

}  // namespace
}  // namespace kordavelt
