#pragma once

// Synthetic networks for the calculation benchmarks: an open model in memory
// with a small catalogue (cables of six sections, a breaker with its trip
// unit, a fuse, a 630 kVA transformer, an asynchronous motor), fed by one
// 10 kV source.
//
// Realistic: two 10/0.4 kV transformers, each with a main breaker and a main
// board; boards have 3 … 10 outlets of a breaker or a fuse and a cable to a
// sub-board, a load or a motor; sub-boards nest up to 9 deep, so paths reach
// about 30 elements. Chain: cables in series, a breaker every tenth element,
// a load at the end.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "calc/calc_class.h"
#include "model/model_class.h"
#include "storage/file_layer.h"
#include "ui/ui_host.h"

namespace kordavelt::bench {

class SilentUi final : public UiHost {
 public:
  int ShowDialog(std::string_view, std::string_view, std::string_view, IconKind) override {
    return kAnswerCancel;
  }
  bool InputText(std::string_view, std::string_view, std::string&, int) override { return false; }
  int ChooseFromList(std::string_view, std::string_view, int initial) override { return initial; }
  bool ChooseColour(Color&) override { return false; }
  bool ChooseFont(FontChoice&) override { return false; }
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

enum class Shape { Realistic, Chain };

class BenchNetwork {
 public:
  // `sources` sources, each feeding a tree of about `elements` elements
  // (never more); Source() is source 1.
  BenchNetwork(Shape shape, int elements, int sources = 1);
  ~BenchNetwork();
  BenchNetwork(const BenchNetwork&) = delete;
  BenchNetwork& operator=(const BenchNetwork&) = delete;

  CalcClass& Calc() { return *calc_; }
  int Source() const { return source_; }
  // The file system the model lives in: the model at kModelPath and the book
  // at kBookPath, complete once the model is closed.
  MemoryFileSystem& Files() { return files_; }
  void Close();

  static constexpr const char* kModelPath = "/models/bench.LVN";
  static constexpr const char* kBookPath = "/program/Kordavelt.SPR";

 private:
  void FillCatalogue();
  void PlaceSource(int node, int number);
  void BuildRealistic(int elements);
  void BuildChain(int elements);
  // A branch of `kind` from `node` to a new node; the new node.
  int Connect(int kind, int node);
  int Transformer(int node);
  int Breaker(int node, int type);
  int Fuse(int node);
  int Cable(int node, int section, float lengthM);
  void Load(int node, bool motor);
  int NewGroup(bool motor);
  // A deterministic pseudo-random number in 0 … n − 1.
  int Random(int n);

  SilentUi ui_;
  MemoryFileSystem files_;
  modelClass model_{ui_, files_, "/program/Kordavelt"};
  std::unique_ptr<CalcClass> calc_;
  int source_ = 0;
  std::int32_t sourceBranch_ = 0;
  int root_ = 0;
  std::int32_t lastBranch_ = 0;  // the branch Connect made last
  int count_ = 0;
  std::uint32_t seed_ = 12345;
  int loadGroup_ = 0, loadCount_ = 0;
  int motorGroup_ = 0, motorCount_ = 0;
};

}  // namespace kordavelt::bench
