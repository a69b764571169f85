// Opening a model and calculating the whole network from the command line,
// as `kordavelt-cli calc MODEL.LVN` does it: a synthetic model of four
// sources, each feeding a realistic typed tree of 8000 elements (32000
// branches and about as many nodes), kept in memory so that the figure is
// the program's own work, not the disk's.

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include "bench_network.h"
#include "cli/cli_main.h"

namespace kordavelt::bench {
namespace {

BenchNetwork& LargeModel() {
  static const std::unique_ptr<BenchNetwork> network = [] {
    auto built = std::make_unique<BenchNetwork>(Shape::Realistic, 8000, 4);
    built->Close();
    return built;
  }();
  return *network;
}

void BM_CommandLineCalc(benchmark::State& state) {
  BenchNetwork& network = LargeModel();
  std::string status;
  for (auto _ : state) {
    std::ostringstream out, err;
    const int code = RunCli({"calc", BenchNetwork::kModelPath, "--book", BenchNetwork::kBookPath},
                            out, err, network.Files());
    if (code > 1) state.SkipWithError("the calculation did not run");
    status = out.str().substr(0, out.str().find('\n'));
  }
  state.SetLabel(status.substr(0, status.find("  Режим")));
}
BENCHMARK(BM_CommandLineCalc)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kordavelt::bench
