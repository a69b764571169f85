// Tracing a source's tree and running one source's calculation over it, on
// synthetic networks with catalogue types: realistic trees of about 1200 and
// 12000 elements (12000 is the largest tree a source may feed) and a
// 12000-element series chain.

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <utility>

#include "bench_network.h"
#include "calc/calculation.h"

namespace kordavelt::bench {
namespace {

BenchNetwork& Cached(Shape shape, int elements) {
  static std::map<std::pair<Shape, int>, std::unique_ptr<BenchNetwork>> networks;
  auto& network = networks[{shape, elements}];
  if (network == nullptr) network = std::make_unique<BenchNetwork>(shape, elements);
  return *network;
}

// Runs CalcSource up to stage `last`.
void RunCalcSource(benchmark::State& state, Shape shape, CalcStage last) {
  BenchNetwork& network = Cached(shape, static_cast<int>(state.range(0)));
  CalcClass& calc = network.Calc();
  calc.StopAfter(last);
  for (auto _ : state) {
    if (!calc.CalcSource(network.Source())) state.SkipWithError("calculation failed");
  }
  calc.StopAfter(CalcStage::Checks);
  state.counters["elements"] = calc.Count();
  state.SetItemsProcessed(state.iterations() * calc.Count());
}

void BM_TraceTree(benchmark::State& state, Shape shape) {
  BenchNetwork& network = Cached(shape, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!network.Calc().TraceTree(network.Source())) state.SkipWithError("trace failed");
    benchmark::DoNotOptimize(network.Calc().Count());
  }
  state.counters["elements"] = network.Calc().Count();
  state.counters["levels"] = network.Calc().DeepestLevel();
  state.SetItemsProcessed(state.iterations() * network.Calc().Count());
}

// The pipeline's own work: the trace, the resets, both passes of the voltage
// levels and the connection bounds.
void BM_CalcSource(benchmark::State& state, Shape shape) {
  RunCalcSource(state, shape, CalcStage::Tree);
}

// Up to the forward sweep: element preparation, design loads, the minimum
// currents and the voltages.
void BM_LoadFlow(benchmark::State& state, Shape shape) {
  RunCalcSource(state, shape, CalcStage::ForwardSweep);
}

// Every step of the calculation: load flow, motor starting and self-start,
// minimum and maximum short circuits with motor feeding, protection times
// and heating, load envelopes and the checks.
void BM_FullCalculation(benchmark::State& state, Shape shape) {
  RunCalcSource(state, shape, CalcStage::Checks);
}

#define KORDAVELT_SIZES(bm)                          \
  BENCHMARK_CAPTURE(bm, realistic, Shape::Realistic) \
      ->Arg(1200)                                    \
      ->Arg(12000)                                   \
      ->Unit(benchmark::kMillisecond);               \
  BENCHMARK_CAPTURE(bm, chain, Shape::Chain)->Arg(12000)->Unit(benchmark::kMillisecond)

KORDAVELT_SIZES(BM_TraceTree);
KORDAVELT_SIZES(BM_CalcSource);
KORDAVELT_SIZES(BM_LoadFlow);
KORDAVELT_SIZES(BM_FullCalculation);

}  // namespace
}  // namespace kordavelt::bench
