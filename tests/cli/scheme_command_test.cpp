// The scheme from the command line, on a feeder with its drawing: a 0.4 kV
// busbar, a cable of 100 m to a second busbar, a 20 kW heater. What would go
// wrong: a picture whose labels carry no values because nothing was
// calculated, a command that writes the model (the repairs of its geometry,
// the colouring asked for), a damaged drawing that stops the picture or is
// reported more than once, options taken wrongly.

#include "cli/scheme_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calc/network_fixture.h"
#include "cli/cli_run.h"
#include "model/model_kinds.h"
#include "model/model_tables.h"
#include "model/scheme_records.h"
#include "scheme/scheme_geometry.h"
#include "storage/tb_class.h"

namespace kordavelt::testing {
namespace {

class SchemeCommandTest : public NetworkFixture {
 protected:
  static constexpr const char* kBook = "/program/Kordavelt.SPR";
  static constexpr const char* kSvg = "/out/scheme.svg";

  SchemeCommandTest() {
    const int n1 = s.m.Node(), n2 = s.m.Node();
    s.Name(n1, "ШР-1");
    const auto source = Source(n1, 400, 0);
    const std::int32_t cable = Cable(n1, n2, 100);
    Load(n2, Group(20, 1, 400));
    DrawNode(n1, 0, 4);
    DrawNode(n2, 0, 12);
    DrawBranch(source.branch, {4, 2, 0}, 1, kKindPowerSource, BranchGeometry::kObjectAtEnd);
    DrawBranch(cable, {4, 2, 12}, 1, kKindCableLine, 4);
  }

  void DrawNode(int key, int x, int y) {
    tbClass* t = s.m->OpenSchemeTable(kXYNodeTable);
    t->Insert(key);
    XYNodeRec r(t->Record());
    r.SetX(static_cast<std::int16_t>(x));
    r.SetY(static_cast<std::int16_t>(y));
    r.SetL(8);
    r.SetTextDir(5);
    r.SetPage(1);
    t->MarkModifiedAndFlush();
  }
  // A path whose first segment runs down from its first point.
  void DrawBranch(std::int32_t key, std::vector<std::int16_t> values, int nxy, int kind, int pos) {
    tbClass* t = s.m->OpenSchemeTable(kXYBranchTable);
    t->Insert(key);
    XYBranchRec r(t->Record());
    for (std::size_t i = 0; i < values.size(); ++i) r.SetXy(static_cast<int>(i), values[i]);
    r.SetVertical(1);
    r.SetNxy(static_cast<std::uint8_t>(nxy));
    r.SetObjType(static_cast<std::uint8_t>(kind));
    r.SetObjPos(static_cast<std::int16_t>(pos));
    r.SetObjMirror(1);
    r.SetTextPos(1);
    r.SetTextDir(8);
    r.SetPage(1);
    t->MarkModifiedAndFlush();
  }

  CliRun Run(std::vector<std::string> args) {
    s.m->SetAskToSave(false);
    if (s.m->IsOpen()) s.m->CloseFile();
    args.insert(args.begin(), {"scheme", ModelBuilder::kModelPath});
    args.insert(args.end(), {"--book", kBook});
    return RunTool(s.m.files, args);
  }
  std::string Picture() {
    const std::vector<std::uint8_t>* bytes = s.m.files.Find(kSvg);
    return bytes == nullptr ? std::string() : std::string(bytes->begin(), bytes->end());
  }
  std::vector<std::uint8_t> Model() { return *s.m.files.Find(ModelBuilder::kModelPath); }
};

TEST_F(SchemeCommandTest, PictureCarriesCalculatedValuesAndTheModelStaysAsItWas) {
  s.m->SetAskToSave(false);
  s.m->CloseFile();
  const std::vector<std::uint8_t> before = Model();
  const CliRun run = Run({"--svg", kSvg, "--colouring", "4"});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::string svg = Picture();
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("ШР-1"), std::string::npos);
  EXPECT_NE(svg.find("Iр="), std::string::npos) << "labels without calculated values";
  EXPECT_EQ(Model(), before);
}

TEST_F(SchemeCommandTest, DamagedDrawingIsPaintedAndReportedOnce) {
  tbClass* t = s.m->OpenSchemeTable(kXYBranchTable);
  t->GoTo(0);
  while (t->Next()) {
    XYBranchRec r(t->Record());
    if (r.ObjType() == kKindCableLine) r.SetNxy(200);
  }
  t->MarkModifiedAndFlush();
  const CliRun run = Run({"--svg", kSvg});
  ASSERT_EQ(run.code, 0) << run.err;
  const std::string report = "нарисована плохо";
  const std::size_t first = run.err.find(report);
  EXPECT_NE(first, std::string::npos) << run.err;
  EXPECT_EQ(run.err.find(report, first + 1), std::string::npos) << run.err;
  EXPECT_NE(Picture().find("</svg>"), std::string::npos);
}

TEST_F(SchemeCommandTest, BadOptionsAreRefusedWithoutAPicture) {
  EXPECT_EQ(Run({}).code, kExitUsage);
  EXPECT_EQ(Run({"--svg", kSvg, "--page", "0"}).code, kExitUsage);
  EXPECT_EQ(Run({"--svg", kSvg, "--colouring", "7"}).code, kExitUsage);
  EXPECT_EQ(Run({"--png", "/out/scheme.png"}).code, kExitUsage);
  EXPECT_TRUE(Picture().empty());
}

}  // namespace
}  // namespace kordavelt::testing
