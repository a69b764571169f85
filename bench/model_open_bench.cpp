// Opening a large model in which every node and branch carries a
// designation, and calculating it from the command line as
// `kordavelt-cli calc MODEL.LVN` does. The models are kept in memory so that
// the figures are the program's own work, not the disk's. Besides: filling
// the designation index at open, and one later insert and removal in it.
//
//   bench_model_open --write-model=DIR   writes the plants of 60 transformers
//                                        (DIR/Plant.LVN, DIR/PlantCalculable.LVN
//                                        and their book DIR/Kordavelt.SPR) for
//                                        timing kordavelt-cli by hand

#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench_network.h"
#include "cli/cli_main.h"
#include "designated_network.h"
#include "model/marka_class.h"

namespace kordavelt::bench {
namespace {

// The plants by their loads: 5484 the large one, 5432 the one calculated,
// 5941 the one of more than 20000 designations.
DesignatedNetwork& Plant(int loads) {
  static std::map<int, std::unique_ptr<DesignatedNetwork>> built;
  std::unique_ptr<DesignatedNetwork>& network = built[loads];
  if (network != nullptr) return *network;
  for (const PlantSize& size : {kPlant60, kPlant60Calculable, kPlant65}) {
    if (size.loads == loads) network = std::make_unique<DesignatedNetwork>(size);
  }
  return *network;
}

void BM_OpenDesignatedModel(benchmark::State& state) {
  DesignatedNetwork& network = Plant(static_cast<int>(state.range(0)));
  SilentUi ui;
  int count = 0;
  for (auto _ : state) {
    modelClass model(ui, network.Files(), "/program/Kordavelt");
    model.SetFileName(DesignatedNetwork::kModelPath);
    if (!model.OpenFile() || !model.Usable()) state.SkipWithError("the model did not open");
    count = model.Designations().Count();
    model.SetAskToSave(false);
    model.CloseFile();
  }
  if (count != network.Designations()) state.SkipWithError("designations lost at the open");
  state.SetLabel(std::to_string(count) + " designations");
}
BENCHMARK(BM_OpenDesignatedModel)
    ->Arg(kPlant60.loads)
    ->Arg(kPlant65.loads)
    ->Unit(benchmark::kMillisecond);

void BM_CommandLineCalcDesignated(benchmark::State& state) {
  DesignatedNetwork& network = Plant(static_cast<int>(state.range(0)));
  std::string status;
  for (auto _ : state) {
    std::ostringstream out, err;
    const int code =
        RunCli({"calc", DesignatedNetwork::kModelPath, "--book", DesignatedNetwork::kBookPath}, out,
               err, network.Files());
    if (code > 1) state.SkipWithError("the calculation did not run");
    status = out.str().substr(0, out.str().find('\n'));
  }
  state.SetLabel(status.substr(0, status.find("  Режим")));
}
BENCHMARK(BM_CommandLineCalcDesignated)
    ->Arg(kPlant60Calculable.loads)
    ->Unit(benchmark::kMillisecond);

std::vector<std::pair<std::string, std::int32_t>> Designations(int count) {
  std::vector<std::pair<std::string, std::int32_t>> texts;
  std::uint32_t seed = 99;
  for (int i = 0; i < count; ++i) {
    seed = seed * 1103515245u + 12345u;
    // Numbers in a scattered order, as the marking table's keys give them.
    texts.emplace_back("КЛ-" + std::to_string((seed >> 8) % 1000000), i + 1);
  }
  return texts;
}

void BM_DesignationIndexAssign(benchmark::State& state) {
  const auto texts = Designations(static_cast<int>(state.range(0)));
  MarkaClass index;
  for (auto _ : state) {
    index.Assign(texts);
    benchmark::DoNotOptimize(index.Count());
  }
}
BENCHMARK(BM_DesignationIndexAssign)->Arg(20000)->Unit(benchmark::kMillisecond);

// An edit in a large model: a designation taken and given up again.
void BM_DesignationIndexAddRemove(benchmark::State& state) {
  MarkaClass index;
  index.Assign(Designations(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    index.Add("КЛ-5000000", 1);
    index.Remove("кл-5000000");
  }
}
BENCHMARK(BM_DesignationIndexAddRemove)->Arg(20000)->Unit(benchmark::kMicrosecond);

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>* bytes) {
  if (bytes == nullptr) return false;
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes->data()),
             static_cast<std::streamsize>(bytes->size()));
  return static_cast<bool>(file);
}

int WriteModels(const std::string& folder) {
  for (const auto& [size, name] :
       {std::pair{kPlant60, "Plant.LVN"}, std::pair{kPlant60Calculable, "PlantCalculable.LVN"}}) {
    DesignatedNetwork network(size);
    MemoryFileSystem& files = network.Files();
    const std::string path = folder + "/" + name;
    if (!WriteFile(path, files.Find(DesignatedNetwork::kModelPath)) ||
        !WriteFile(folder + "/Kordavelt.SPR", files.Find(DesignatedNetwork::kBookPath))) {
      std::cerr << "cannot write into " << folder << "\n";
      return 1;
    }
    std::cout << path << ": " << network.Designations() << " designations\n";
  }
  return 0;
}

}  // namespace
}  // namespace kordavelt::bench

int main(int argc, char** argv) {
  constexpr std::string_view kWrite = "--write-model=";
  if (argc == 2 && std::string_view(argv[1]).starts_with(kWrite)) {
    return kordavelt::bench::WriteModels(
        std::string(std::string_view(argv[1]).substr(kWrite.size())));
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
