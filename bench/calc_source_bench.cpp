// Tracing a source's tree and running one source's calculation over it, on
// synthetic radial networks: branched feeders of about 1200 and 12000
// elements (12000 is the largest tree a source may feed) and a
// 12000-element series chain.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <utility>

#include "calc/calc_class.h"
#include "calc/load_flow.h"
#include "model/model_class.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_connect.h"
#include "model/object_records.h"
#include "storage/file_layer.h"
#include "table/ui_host.h"

namespace kordavelt {
namespace {

class SilentUi final : public UiHost {
 public:
  int ShowDialog(std::string_view, std::string_view, std::string_view, IconKind) override {
    return kAnswerCancel;
  }
  bool InputText(std::string_view, std::string_view, std::string&, int) override { return false; }
  int ChooseFromList(std::string_view, std::string_view, int initial) override { return initial; }
  bool ChooseColour(Color&) override { return false; }
  int ChooseSymbol(std::string_view, int, const SymbolPainter&) override { return 0; }
  std::optional<std::string> AskOpenFileName(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> AskSaveFileName(const FileDialogRequest&) override { return {}; }
  std::string ClipboardText() override { return {}; }
  void SetClipboardText(std::string_view) override {}
  std::unique_ptr<ProgressWindow> OpenProgress(std::string_view, std::string_view) override {
    return nullptr;
  }
  void Beep() override {}
  bool ShowTableDialog(TableOwner&, TableForm&, std::string_view) override { return false; }
};

enum class Shape { Branched, Chain };

// A model in memory with one source feeding a tree of about `elements` elements.
struct Network {
  SilentUi ui;
  MemoryFileSystem files;
  modelClass model{ui, files, "/program/Kordavelt"};
  std::unique_ptr<CalcClass> calc;
  int source = 0;

  Network(Shape shape, int elements) {
    model.SetFileName("/models/bench.LVN");
    if (!model.CreateFile() || !model.OpenFile() || !model.Usable()) {
      throw std::runtime_error("cannot open the model");
    }
    model.Settings().SetMaxNodeNumber(65535);
    model.SuppressRefresh();
    const int root = model.AddNode();
    PlaceSource(root);
    int count = 1;
    if (shape == Shape::Chain) {
      for (int last = root; count < elements; ++count) last = Connect(kKindCableLine, last);
    } else {
      // Feeders from the source's busbar to distribution boards, each board
      // with outlets of a breaker, a cable and a receiver.
      constexpr int kOutlets = 49;
      constexpr int kFeederSize = 2 + 3 * kOutlets;
      while (count + kFeederSize <= elements) {
        const int board = Connect(kKindCableLine, Connect(kKindBreaker, root));
        for (int i = 0; i < kOutlets; ++i) {
          const int far = Connect(kKindCableLine, Connect(kKindBreaker, board));
          if (ConnectObject(model, kKindReceiver, far) == 0)
            throw std::runtime_error("no receiver");
        }
        count += kFeederSize;
      }
    }
    model.ResumeRefresh();
    model.AssignFeedingSources();
    calc = std::make_unique<CalcClass>(model);
  }
  ~Network() {
    model.SetAskToSave(false);
    model.CloseFile();
  }

  // A branch of `kind` from `node` to a new node; the new node.
  int Connect(int kind, int node) {
    const int next = model.AddNode();
    if (next == 0 || ConnectObject(model, kind, node, next) == 0) {
      throw std::runtime_error("cannot connect");
    }
    return next;
  }

  void PlaceSource(int node) {
    tbClass* sources = model.Sources();
    source = 1;
    sources->Insert(source);
    const std::int32_t branch = ConnectObject(model, kKindPowerSource, node);
    if (!modelClass::SeekExact(sources, source)) throw std::runtime_error("no source");
    SourceRec(sources->Record()).SetBranchKey(branch);
    sources->MarkModifiedAndFlush();
    tbClass* objects = model.OpenObjectTable(kKindPowerSource);
    if (!modelClass::SeekExact(objects, branch)) throw std::runtime_error("no source object");
    SourceObjectRec object(objects->Record());
    object.SetSourceNumber(source);
    object.SetIk3(10);
    object.SetIk1(8);
    object.SetUr(400);
    objects->MarkModifiedAndFlush();
  }
};

Network& Cached(Shape shape, int elements) {
  static std::map<std::pair<Shape, int>, std::unique_ptr<Network>> networks;
  auto& network = networks[{shape, elements}];
  if (network == nullptr) network = std::make_unique<Network>(shape, elements);
  return *network;
}

void BM_TraceTree(benchmark::State& state, Shape shape) {
  Network& network = Cached(shape, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!network.calc->TraceTree(network.source)) state.SkipWithError("trace failed");
    benchmark::DoNotOptimize(network.calc->Count());
  }
  state.counters["elements"] = network.calc->Count();
  state.SetItemsProcessed(state.iterations() * network.calc->Count());
}
BENCHMARK_CAPTURE(BM_TraceTree, branched, Shape::Branched)
    ->Arg(1200)
    ->Arg(12000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TraceTree, chain, Shape::Chain)->Arg(12000)->Unit(benchmark::kMillisecond);

// The whole pipeline of one source: the trace, the resets, both passes of
// the voltage levels and the connection bounds (the steps other units add
// are left unbound here).
void BM_CalcSource(benchmark::State& state, Shape shape) {
  Network& network = Cached(shape, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!network.calc->CalcSource(network.source)) state.SkipWithError("calculation failed");
  }
  state.counters["elements"] = network.calc->Count();
  state.SetItemsProcessed(state.iterations() * network.calc->Count());
}
BENCHMARK_CAPTURE(BM_CalcSource, branched, Shape::Branched)
    ->Arg(1200)
    ->Arg(12000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_CalcSource, chain, Shape::Chain)->Arg(12000)->Unit(benchmark::kMillisecond);

// The same with the load flow bound: element preparation, design loads and
// the forward sweep over every element (the synthetic lines carry no
// catalogue types, so preparation finds little to compute per element).
void BM_LoadFlow(benchmark::State& state, Shape shape) {
  Network& network = Cached(shape, static_cast<int>(state.range(0)));
  BindLoadFlow(*network.calc);
  for (auto _ : state) {
    if (!network.calc->CalcSource(network.source)) state.SkipWithError("calculation failed");
  }
  network.calc->Steps() = CalcSteps{};
  state.counters["elements"] = network.calc->Count();
  state.SetItemsProcessed(state.iterations() * network.calc->Count());
}
BENCHMARK_CAPTURE(BM_LoadFlow, branched, Shape::Branched)
    ->Arg(1200)
    ->Arg(12000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadFlow, chain, Shape::Chain)->Arg(12000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kordavelt
