// Painting a subscheme. Guards against elements painted on the wrong page or
// not at all, texts and markers in the wrong place or colour, a symbol that
// does not turn with its segment, a redraw that crashes on damaged geometry
// or reports a repair more than once, and a model label that shows values
// nothing was calculated into.
//
// The reference drawings in tests/scheme/pictures/ were reviewed by eye;
// KORDAVELT_UPDATE_PICTURES=1 rewrites them from the current renderer.

#include "scheme/scheme_renderer.h"

#include <gtest/gtest.h>

#include "draw/picture_checks.h"
#include "draw/recording_canvas.h"
#include "draw/svg_canvas.h"
#include "model/model_builder.h"
#include "model/model_tables.h"
#include "model/scheme_records.h"
#include "scheme/model_scheme.h"
#include "scheme_test_geometry.h"
#include "storage/tb_class.h"

namespace kordavelt {
namespace {

using testing::Branch;
using testing::Node;

const std::string kPictures = KORDAVELT_PICTURES_DIR;

// A breaker-like box on a short line: first connection point (4, 0), the
// line going on 8 digits (two steps) further along.
constexpr std::string_view kBoxSymbol = "@l4042r2266l4648e#4048";

SchemeView ViewOf(int width, int height, GridPoint origin = {-2, -2}, int step = 16) {
  SchemeView view;
  view.transform = ViewTransform(origin, step, step);
  view.width = width;
  view.height = height;
  return view;
}

std::string Svg(std::span<const NodeGeometry> nodes, std::span<const BranchGeometry> branches,
                const SchemeView& view, const SchemeHooks& hooks = {}) {
  SvgCanvas canvas(view.width, view.height);
  RenderSchemePage(nodes, branches, view, hooks, canvas);
  return canvas.Document();
}

void ExpectReviewed(const std::string& name, const std::string& drawn) {
  testing::ExpectSameAsReviewed(kPictures + "/" + name + ".svg", drawn, name);
}

NodeGeometry Texted(NodeGeometry node, int textDir, int textPos = 0) {
  node.textDir = textDir;
  node.textPos = textPos;
  return node;
}

TEST(SchemeRendererTest, BusbarsAndPointNodesAsReviewed) {
  const std::vector<NodeGeometry> nodes = {
      Texted(Node(1, 0, 0, 6), 9, 1),
      Texted(Node(2, 10, 0, 6, true), 1, 3),
      Texted(Node(3, 0, 6, 0), 10),
      Texted(Node(4, 4, 6, 0, false, 2), 8),
  };
  SchemeHooks hooks;
  hooks.nodeText = [](int node) {
    return NodeLabel{"Н" + std::to_string(node) + "#U=400", Color{0, 0, 160}};
  };
  ExpectReviewed("busbars_and_point_node", Svg(nodes, {}, ViewOf(240, 200, {-2, -4}), hooks));
}

TEST(SchemeRendererTest, EveryTextPlacementAsReviewed) {
  std::vector<NodeGeometry> nodes;
  const int codes[] = {1, 2, 4, 5, 6, 8, 9, 10, 0, 3, 7};
  for (int i = 0; i < 11; ++i) {
    nodes.push_back(Texted(Node(codes[i], (i % 4) * 14 + 6, (i / 4) * 12 + 6, 2), codes[i], 1));
  }
  SchemeHooks hooks;
  hooks.nodeText = [](int node) {
    return NodeLabel{"Код " + std::to_string(node) + "#строка 2", kBlack};
  };
  ExpectReviewed("text_placements", Svg(nodes, {}, ViewOf(960, 560, {0, 0}), hooks));
}

// Four branches side by side, each with both markers, in one look.
std::vector<BranchGeometry> MarkerRow() {
  std::vector<BranchGeometry> branches;
  for (int i = 0; i < 4; ++i) {
    BranchGeometry b = Branch(257 + i, {0, i * 4, 8});
    b.textPos = 4;
    b.textDir = 9;
    branches.push_back(b);
  }
  return branches;
}

SchemeHooks MarkerHooks() {
  SchemeHooks hooks;
  // 257 on, 258 off, 259 an off cable, 260 an on cable.
  hooks.objectSymbol = [](int, std::int32_t key) { return ObjectDrawing{{}, {}, key >= 259}; };
  hooks.branchText = [](std::int32_t key, std::string_view) {
    const Color c = key % 2 == 1 ? kBlack : Color{128, 128, 128};
    return BranchLabel{"В" + std::to_string(key), {c, c}, key % 2 == 1, 1};
  };
  return hooks;
}

TEST(SchemeRendererTest, EveryMarkerKindAsReviewed) {
  std::vector<BranchGeometry> branches = MarkerRow();
  // The cables carry their kind (no picture), so the hook is asked.
  branches[2].objType = branches[3].objType = 11;
  branches[2].objPos = branches[3].objPos = 3;
  SchemeView view = ViewOf(200, 240);
  ExpectReviewed("markers_boxes_and_triangles", Svg({}, branches, view, MarkerHooks()));
  view.settings.switchMarkers = false;
  view.settings.cableMarks = false;
  ExpectReviewed("markers_gaps", Svg({}, branches, view, MarkerHooks()));
}

TEST(SchemeRendererTest, SymbolsTurnWithTheirSegmentAsReviewed) {
  BranchGeometry middle = Branch(257, {0, 0, 8});
  middle.objType = 21;
  middle.objPos = 3;
  BranchGeometry atEnd = Branch(513, {0, 4, 6, 10});  // right, then down
  atEnd.objType = 21;
  atEnd.objPos = BranchGeometry::kObjectAtEnd;
  BranchGeometry mirrored = Branch(769, {10, 0, 6}, true);  // down
  mirrored.objType = 21;
  mirrored.objPos = 2;
  mirrored.objMirror = -1;
  SchemeHooks hooks;
  hooks.objectSymbol = [](int, std::int32_t key) {
    return ObjectDrawing{std::string(kBoxSymbol), "QF" + std::to_string(key / 256), false};
  };
  hooks.branchText = [](std::int32_t, std::string_view label) {
    return BranchLabel{"#" + std::string(label), {Color{0, 0, 200}, Color{200, 0, 0}}, true, 1};
  };
  middle.textDir = atEnd.textDir = mirrored.textDir = 8;
  middle.textPos = 1;
  atEnd.textPos = 2;
  mirrored.textPos = 1;
  const std::vector<BranchGeometry> branches = {middle, atEnd, mirrored};
  const std::string drawn = Svg({}, branches, ViewOf(240, 240), hooks);
  ExpectReviewed("symbols_turned", drawn);
  EXPECT_EQ(drawn.find(">#"), std::string::npos) << "a leading '#' became an empty line";
}

TEST(SchemeRendererTest, StampAsReviewed) {
  SchemeView view = ViewOf(480, 160);
  view.stamp = {2, 2};
  view.stampSize = 1;
  SchemeHooks hooks;
  hooks.stampText = [] { return std::string("test - Kordavelt#Цех 3#05.03.2024 9:07"); };
  view.settings.dotGrid = true;
  ExpectReviewed("stamp_and_grid", Svg({}, {}, view, hooks));
}

TEST(SchemeRendererTest, OnlyTheFirstTextLineShowsAtSmallSteps) {
  const std::vector<NodeGeometry> nodes = {Texted(Node(1, 0, 0, 4), 8)};
  SchemeHooks hooks;
  hooks.nodeText = [](int) { return NodeLabel{"a#b#c", kBlack}; };
  RecordingCanvas canvas;
  const SchemeView small = ViewOf(200, 200, {-2, -2}, 5);
  EXPECT_EQ(RenderSchemePage(nodes, {}, small, hooks, canvas).textLines, 1);
  EXPECT_EQ(RenderSchemePage(nodes, {}, ViewOf(200, 200), hooks, canvas).textLines, 3);
}

TEST(SchemeRendererTest, OtherPagesAndFarElementsAreNotPainted) {
  const std::vector<NodeGeometry> nodes = {Node(1, 0, 0, 4), Node(2, 0, 0, 4, false, 2),
                                           Node(3, 3000, 3000, 4)};
  std::vector<BranchGeometry> branches = {Branch(257, {0, 0, 5}), Branch(513, {0, 0, 5})};
  branches[1].page = 3;
  RecordingCanvas canvas;
  const SchemePaintCount count = RenderSchemePage(nodes, branches, ViewOf(200, 200), {}, canvas);
  EXPECT_EQ(count.nodes, 1);
  EXPECT_EQ(count.branches, 1);
}

// --- A model's scheme --------------------------------------------------------

class ModelSchemeTest : public ::testing::Test {
 protected:
  tbClass* Table(int table) { return m->OpenSchemeTable(table); }
  void AddNode(int key, int x, int y, int length, int textDir = 9) {
    tbClass* t = Table(kXYNodeTable);
    t->Insert(key);
    XYNodeRec r(t->Record());
    r.SetX(static_cast<std::int16_t>(x));
    r.SetY(static_cast<std::int16_t>(y));
    r.SetL(static_cast<std::uint8_t>(length));
    r.SetTextDir(static_cast<std::uint8_t>(textDir));
    r.SetPage(1);
    t->MarkModifiedAndFlush();
  }
  // A vertical first segment through `values`, Nxy as given.
  void AddBranch(std::int32_t key, std::vector<std::int16_t> values, int nxy, int objType = 0,
                 int objPos = 0) {
    tbClass* t = Table(kXYBranchTable);
    t->Insert(key);
    XYBranchRec r(t->Record());
    for (std::size_t i = 0; i < values.size(); ++i) r.SetXy(static_cast<int>(i), values[i]);
    r.SetVertical(1);
    r.SetNxy(static_cast<std::uint8_t>(nxy));
    r.SetObjType(static_cast<std::uint8_t>(objType));
    r.SetObjPos(static_cast<std::int16_t>(objPos));
    r.SetObjMirror(1);
    r.SetTextPos(1);
    r.SetTextDir(8);
    r.SetPage(1);
    t->MarkModifiedAndFlush();
  }
  std::string Render(int colouring, RepairLog& log) {
    m->Settings().SetColouringMode(colouring);
    const SchemeExport page = PrepareSchemeExport(m.model, 1, log);
    SvgCanvas canvas(page.view.width, page.view.height);
    std::tm moment{};
    moment.tm_year = 124;
    moment.tm_mday = 5;
    moment.tm_mon = 2;
    RenderSchemePage(page.geometry.nodes, page.geometry.branches, page.view,
                     ModelSchemeHooks(m.model, SchemePalette{}, moment), canvas);
    return canvas.Document();
  }

  testing::ModelBuilder m;
};

TEST_F(ModelSchemeTest, ColouringModesAsReviewed) {
  const int n1 = m.Node();
  const int n2 = m.Node();
  const int n3 = m.Node();
  const auto source = m.Source(n1, "Т1");
  const std::int32_t cable = m.Cable(n1, n2);
  const auto motor = m.Receiver(n2, m.Group("Насос"), "М1");
  AddNode(n1, 0, 4, 8);
  AddNode(n2, 0, 12, 8);
  AddNode(n3, 12, 12, 0);  // fed by nothing: offline
  AddBranch(source.branch, {4, 2, 0}, 1, 51, BranchGeometry::kObjectAtEnd);
  AddBranch(cable, {4, 2, 12}, 1, 11, 4);
  AddBranch(motor.branch, {12, 2, 18}, 1, 52, BranchGeometry::kObjectAtEnd);
  RepairLog log;
  const std::string plain = Render(kColourNone, log);
  const std::string byVoltage = Render(kColourByVoltage, log);
  ExpectReviewed("model_colouring_none", plain);
  ExpectReviewed("model_colouring_voltage", byVoltage);
  EXPECT_NE(plain, byVoltage);
  EXPECT_FALSE(log.HasPending());
}

TEST_F(ModelSchemeTest, DamagedGeometryIsDrawnAndReportedOnce) {
  const int n1 = m.Node();
  const int n2 = m.Node();
  const std::int32_t first = m.Cable(n1, n2);
  const std::int32_t second = m.Cable(n1, n2);
  const std::int32_t third = m.Cable(n2, n1);
  AddNode(n1, -32767, -32767, 8);
  AddNode(n2, 32767, 32767, 0);
  // Nxy far above 12, a zero-length first segment, and a path across the
  // whole grid.
  AddBranch(first, {0, 0, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25}, 200);
  AddBranch(second, {5, 5, 5, 9}, 2);
  AddBranch(third, {-32767, -32767, 32767, 32767}, 2, 11, 32767);

  RepairLog log;
  const std::string drawn = Render(kColourNone, log);
  EXPECT_NE(drawn.find("</svg>"), std::string::npos);
  const std::vector<std::string> reports = log.TakePending();
  EXPECT_EQ(reports.size(), 2u);
  Render(kColourNone, log);
  EXPECT_FALSE(log.HasPending()) << "a repair was reported at every redraw";

  const SchemeExport page = PrepareSchemeExport(m.model, 1, log);
  EXPECT_LE(page.view.width, 70000);
  EXPECT_EQ(page.view.transform.StepX(), 1);
}

TEST_F(ModelSchemeTest, NodesOfAnUncalculatedModelShowNoValues) {
  const int n1 = m.Node();
  m.Source(n1, "Т1");
  AddNode(n1, 0, 0, 6);
  RepairLog log;
  const std::string drawn = Render(kColourNone, log);
  EXPECT_EQ(drawn.find("Uр="), std::string::npos);
}

}  // namespace
}  // namespace kordavelt
