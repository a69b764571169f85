// The calculation multiplies and divides complex values for every branch of
// every source tree, looks up standard series while coding and choosing
// equipment, and converts value lists of the reference book while preparing
// element parameters.

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "base/complex.h"
#include "base/number_list.h"

namespace kordavelt {
namespace {

constexpr std::string_view kCurrentSeries =
    "1#1.25#1.6#2#2.5#3.2#4#5#6.3#8#10#12.5#16#20#25#32#40#50#63#80#100#125#160#200#250#320#"
    "400#500#630#800#1000#1250#1600#2000#2500#3200#4000#5000#6300#8000#10000#16000#25000#"
    "40000#65000#100000#160000";

// Impedances summed along a feeder and the current they draw, as in a load flow.
void BM_ComplexMultiplyDivideChain(benchmark::State& state) {
  std::vector<Complex> impedances;
  for (int i = 0; i < 256; ++i) impedances.push_back({1.5f + 0.01f * i, 0.8f + 0.005f * i});
  const Complex voltage{230, 0};
  for (auto _ : state) {
    Complex total = kComplexZero;
    Complex current = kComplexZero;
    for (const Complex& z : impedances) {
      total += z;
      current += Divide(voltage, total) * kOperatorA;
    }
    benchmark::DoNotOptimize(current);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(impedances.size()));
}
BENCHMARK(BM_ComplexMultiplyDivideChain);

void BM_PhaseToSequence(benchmark::State& state) {
  PhaseValues phases{{220, 10}, {-100, -180}, {-120, 200}};
  for (auto _ : state) {
    benchmark::DoNotOptimize(phases);
    benchmark::DoNotOptimize(PhaseToSequence(phases));
  }
}
BENCHMARK(BM_PhaseToSequence);

const long double kLookups[] = {0.5L, 7.15L, 60, 333, 1234.5L, 99999, 2e5L};

void BM_NearestIndexOnSeriesText(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(NearestIndex(kCurrentSeries, kLookups[i++ % std::size(kLookups)]));
  }
}
BENCHMARK(BM_NearestIndexOnSeriesText);

void BM_NearestIndexOnConvertedSeries(benchmark::State& state) {
  const std::vector<float> series = ItemsAsReals(kCurrentSeries);
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(NearestIndex(series, kLookups[i++ % std::size(kLookups)]));
  }
}
BENCHMARK(BM_NearestIndexOnConvertedSeries);

void BM_ListToNumbers(benchmark::State& state) {
  const std::string_view texts[] = {"0.4-0.69", "1;2.5;4;6;10;16;25;35;50;70;95;120",
                                    "6.3#10#16#20#25#32#40#50#63#80#100#125#160#200#250"};
  std::array<float, kMaxListNumbers> numbers{};
  std::size_t i = 0;
  for (auto _ : state) {
    ListToNumbers(texts[i++ % std::size(texts)], numbers);
    benchmark::DoNotOptimize(numbers);
  }
}
BENCHMARK(BM_ListToNumbers);

}  // namespace
}  // namespace kordavelt
