// Tables format every visible cell on each repaint; the result tables of a
// large network format hundreds of thousands of numbers.

#include <benchmark/benchmark.h>

#include "base/dial_list.h"
#include "base/number_format.h"

namespace kordavelt {
namespace {

void BM_FormatNumber(benchmark::State& state) {
  const double values[] = {0.0, 1.0, 400.5, 3.14159265, -12.345, 0.001234567, 123456.7, 1e-7};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatNumber(values[i++ % std::size(values)]));
  }
}
BENCHMARK(BM_FormatNumber);

void BM_ListItemOfATableRow(benchmark::State& state) {
  std::string row;
  for (int i = 0; i < 40; ++i) row += AppendNumber(i * 1.5);
  int column = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ListItem(row, column));
    column = (column + 7) % 40;
  }
}
BENCHMARK(BM_ListItemOfATableRow);

}  // namespace
}  // namespace kordavelt
