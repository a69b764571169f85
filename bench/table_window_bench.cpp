// The table window on a large table: a screen painted asks the owner for
// each visible row once, whatever the table's size, and fitting the columns
// to their contents reads every row once. Figures: run bench_table_window.

#include <benchmark/benchmark.h>

#include <string>

#include "bench_network.h"
#include "draw/picture_string.h"
#include "draw/svg_canvas.h"
#include "storage/file_layer.h"
#include "table/table_painter.h"
#include "table/table_window.h"

namespace kordavelt {
namespace {

// A cable journal of `rows` rows, built on demand as owners do from their
// records; it counts the rows asked for.
class JournalOwner : public TableOwner {
 public:
  explicit JournalOwner(int rows) { form.rowCount = rows; }

  void OnLine(TableForm& f) override {
    ++lines;
    const int row = f.lineNo;
    f.line = std::to_string(row) + "#ШР-" + std::to_string(row % 40) + "#М" + std::to_string(row) +
             "#ВВГнг(А)-LS 5x" + std::to_string(2 + row % 9) + "#" + std::to_string(row % 300) +
             "#" + (row % 2 == 0 ? std::string(kCheckedBox) : std::string(kUncheckedBox)) +
             "#0.4431";
  }

  TableForm form;
  long lines = 0;
};

struct Fixture {
  explicit Fixture(int rows) : owner(rows), window(owner, owner.form, env) {
    owner.form.head1 = " № #Откуда#Куда#Кабель# L #Есть#dU";
    owner.form.head2 = "   #      #    #      # м #    # % ";
    owner.form.displayCodes = "CCLLCDC";
    env.measure = &measure;
    env.Remeasure();
    window.Sync();
  }
  bench::SilentUi ui;
  MemoryFileSystem files;
  TableEnvironment env{ui, files};
  SvgCanvas measure{1, 1};
  JournalOwner owner;
  TableWindow window;
};

// One screen (40 rows) of a table, scrolled to its middle.
void BM_PaintScreen(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  const Size client{900, 40 * (f.env.RowHeight() + 1)};
  f.window.MoveTo(GridCell{static_cast<int>(state.range(0)) / 2, 1});
  f.window.ShowCurrent(client);
  for (auto _ : state) {
    SvgCanvas canvas(client.width, client.height);
    f.window.Redraw();
    PaintTable(f.window, canvas, client);
    benchmark::DoNotOptimize(canvas.Elements().size());
  }
  state.counters["lines_per_paint"] = benchmark::Counter(static_cast<double>(f.owner.lines) /
                                                         static_cast<double>(state.iterations()));
}
BENCHMARK(BM_PaintScreen)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Fitting every column to its widest cell.
void BM_FitToContent(benchmark::State& state) {
  Fixture f(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(f.window.FitToContent(0, 0, true, Size{1600, 1000}));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FitToContent)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kordavelt
