// The scheme of a large page: what a full redraw works out before it paints
// anything — the drawing lists and extents, every branch's path, markers,
// symbol, text and arrow, every node's shape and text lines. The page holds
// 12000 branches (and 32000, the most a model's table can hold) in a grid of
// feeders, a third of them carrying a symbol. Then the same page painted
// whole, and the labels a calculated model of 12000 elements gives its
// scheme. Figures: run bench_scheme.

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <utility>
#include <vector>

#include "bench_network.h"
#include "draw/print_target.h"
#include "draw/recording_canvas.h"
#include "model/model_records.h"
#include "scheme/branch_layout.h"
#include "scheme/drawing_lists.h"
#include "scheme/model_scheme.h"
#include "scheme/node_shape.h"
#include "scheme/scheme_renderer.h"
#include "scheme/text_placement.h"
#include "scheme/view_transform.h"

namespace kordavelt {
namespace {

struct Page {
  std::vector<NodeGeometry> nodes;
  std::vector<BranchGeometry> branches;
};

// Busbars in rows of 40, each feeding its branch down and across to the
// busbar below, with a turn in the middle.
Page MakePage(int branchCount) {
  Page page;
  for (int i = 0; i < branchCount; ++i) {
    const int x = (i % 40) * 12;
    const int y = (i / 40) * 10;
    NodeGeometry node;
    node.key = i + 1;
    node.x = static_cast<std::int16_t>(x);
    node.y = static_cast<std::int16_t>(y);
    node.length = 6;
    node.textDir = 9;
    page.nodes.push_back(node);

    BranchGeometry branch;
    branch.key = 256 * (i + 1) + 1;
    branch.vertical = true;
    branch.xy = {static_cast<std::int16_t>(y), static_cast<std::int16_t>(x + 2),
                 static_cast<std::int16_t>(y + 4), static_cast<std::int16_t>(x + 8),
                 static_cast<std::int16_t>(y + 10)};
    branch.nxy = 3;
    branch.textPos = 5;
    branch.textDir = 8;
    if (i % 3 == 0) {
      branch.objType = 21;
      branch.objPos = i % 2 == 0 ? 2 : BranchGeometry::kObjectAtEnd;
    }
    page.branches.push_back(branch);
  }
  return page;
}

void BM_PageLayout(benchmark::State& state) {
  const Page page = MakePage(static_cast<int>(state.range(0)));
  const ViewTransform transform({-6, -6}, 4, 4);
  const ViewSettings settings;
  const GridRect all{kGridMin, kGridMin, kGridMax, kGridMax};
  BranchLook look;
  look.symbolReach = 8;
  for (auto _ : state) {
    const DrawingLists lists = BuildDrawingLists(page.nodes, page.branches, 1, all);
    double sum = lists.extents.right;
    for (const std::size_t i : lists.nodes) {
      const NodeShape shape = ShapeNode(page.nodes[i], transform, settings, false);
      const std::vector<TextLine> lines =
          PlaceText(page.nodes[i].textDir, shape.textAnchor, 2, 8, transform.Sizes());
      sum += shape.busbar.right + lines.back().origin.y;
    }
    for (const std::size_t i : lists.branches) {
      const BranchLayout layout = LayoutBranch(page.branches[i], transform, settings, look, all);
      const std::vector<TextLine> lines =
          PlaceText(layout.text.textDir, layout.text.anchor, 2, 8, transform.Sizes());
      sum += layout.second.size() + layout.text.chevron[0].x + lines.size();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PageLayout)->Arg(12000)->Arg(32000)->Unit(benchmark::kMillisecond);

void BM_DrawingListsOfAScreen(benchmark::State& state) {
  const Page page = MakePage(static_cast<int>(state.range(0)));
  const ViewTransform transform({100, 200}, 16, 16);
  const GridRect visible = transform.VisibleArea(1600, 1000, 8);
  for (auto _ : state) {
    const DrawingLists lists = BuildDrawingLists(page.nodes, page.branches, 1, visible);
    benchmark::DoNotOptimize(lists.branches.size());
  }
}
BENCHMARK(BM_DrawingListsOfAScreen)->Arg(12000)->Arg(32000)->Unit(benchmark::kMillisecond);

// The whole page in view at 4 units a step.
SchemeView WholePage(const Page& page) {
  SchemeView view;
  view.transform = ViewTransform({-6, -6}, 4, 4);
  const GridRect extents = BuildDrawingLists(page.nodes, page.branches, 1, {}).extents;
  view.width = (extents.right + 12) * 4;
  view.height = (extents.bottom + 12) * 4;
  return view;
}

// Fixed texts and a symbol on every third branch, as a model would give them.
SchemeHooks FixedHooks() {
  SchemeHooks hooks;
  hooks.nodeText = [](int node) {
    return NodeLabel{"ЩР-" + std::to_string(node) + "#Uр=398", kBlack};
  };
  hooks.objectSymbol = [](int, std::int32_t) {
    return ObjectDrawing{"@l4042r2266l4648e#4048", "QF1#Iуст=100А", false};
  };
  hooks.branchText = [](std::int32_t, std::string_view label) {
    return BranchLabel{std::string(label) + "#Iр=52", {kBlack, kBlack}, true, 1};
  };
  return hooks;
}

// Everything a full redraw paints, to a canvas that records nothing and to
// one that writes every call down.
void BM_RenderPage(benchmark::State& state) {
  const Page page = MakePage(static_cast<int>(state.range(0)));
  const SchemeView view = WholePage(page);
  const SchemeHooks hooks = FixedHooks();
  for (auto _ : state) {
    // A canvas that draws nothing: what the renderer costs on its own.
    const std::unique_ptr<Canvas> canvas = MakeDiscardingCanvas(kScreenDotsPerMm);
    const SchemePaintCount count =
        RenderSchemePage(page.nodes, page.branches, view, hooks, *canvas);
    benchmark::DoNotOptimize(count.textLines);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RenderPage)->Arg(12000)->Unit(benchmark::kMillisecond);

void BM_RenderPageRecorded(benchmark::State& state) {
  const Page page = MakePage(static_cast<int>(state.range(0)));
  const SchemeView view = WholePage(page);
  const SchemeHooks hooks = FixedHooks();
  for (auto _ : state) {
    RecordingCanvas canvas;
    RenderSchemePage(page.nodes, page.branches, view, hooks, canvas);
    benchmark::DoNotOptimize(canvas.Lines().size());
  }
}
BENCHMARK(BM_RenderPageRecorded)->Arg(12000)->Unit(benchmark::kMillisecond);

// The labels of a calculated model of about 12000 elements, every node and
// branch asked once as a redraw asks them.
void BM_ModelLabels(benchmark::State& state) {
  bench::BenchNetwork network(bench::Shape::Realistic, static_cast<int>(state.range(0)));
  network.Calc().CalcNetwork();
  modelClass& model = network.Calc().Model();
  const SchemeHooks hooks = ModelSchemeHooks(model, SchemePalette{}, std::tm{});
  std::vector<int> nodes;
  std::vector<std::pair<std::int32_t, int>> branches;  // key, kind
  model.Nodes()->GoTo(0);
  while (model.Nodes()->Next()) nodes.push_back(model.Nodes()->Key());
  model.Branches()->GoTo(0);
  while (model.Branches()->Next()) {
    branches.emplace_back(model.Branches()->Key(), BranchRec(model.Branches()->Record()).Kind());
  }
  for (auto _ : state) {
    std::size_t length = 0;
    for (const int node : nodes) length += hooks.nodeText(node).text.size();
    for (const auto& [key, kind] : branches) {
      const ObjectDrawing object = hooks.objectSymbol(kind, key);
      length += hooks.branchText(key, object.label).text.size() + object.symbol.size();
    }
    benchmark::DoNotOptimize(length);
  }
  state.counters["nodes"] = static_cast<double>(nodes.size());
  state.counters["branches"] = static_cast<double>(branches.size());
}
BENCHMARK(BM_ModelLabels)->Arg(12000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kordavelt
