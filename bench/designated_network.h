#pragma once

// A large plant network in which every node and branch carries a
// designation, for the benchmarks of opening a model: one 10 kV source with
// its busbar, 10/0.4 kV transformers of 630 kVA, and below each a main board
// feeding a few levels of sub-boards and, over a cable of its own, loads of
// 4 kW. The nodes, transformers and cables are designated in the marking
// table, the source and the loads in their own records (a source's branch
// takes slot 0 of its node: the node's marking is its designation). The
// model and its book live in memory, complete once the constructor returns.

#include <cstdint>
#include <string>

#include "model/model_class.h"
#include "storage/file_layer.h"

namespace kordavelt::bench {

struct PlantSize {
  int transformers, loads, subBoards;
};
// 6506 cables, 5484 loads: 12051 branches, 18618 designations; one tree of
// more elements than the calculation takes (it refuses it).
inline constexpr PlantSize kPlant60{60, 5484, 1022};
// The same, with 52 loads fewer: 11947 branches, a tree the calculation takes.
inline constexpr PlantSize kPlant60Calculable{60, 5432, 1022};
// 20169 designations.
inline constexpr PlantSize kPlant65{65, 5941, 1107};

class DesignatedNetwork {
 public:
  explicit DesignatedNetwork(PlantSize size);
  DesignatedNetwork(const DesignatedNetwork&) = delete;
  DesignatedNetwork& operator=(const DesignatedNetwork&) = delete;

  MemoryFileSystem& Files() { return files_; }
  int Designations() const { return designations_; }

  static constexpr const char* kModelPath = "/models/plant.LVN";
  static constexpr const char* kBookPath = "/program/Kordavelt.SPR";

 private:
  void FillCatalogue(modelClass& model);
  void PlaceSource(modelClass& model, int node);
  void BuildTransformer(modelClass& model, int root, int number, int loads, int subBoards);
  // A branch of `kind` from `node` to a new node, both designated; the new node.
  int Connect(modelClass& model, int kind, int node, const std::string& branchText,
              const std::string& nodeText);
  int Cable(modelClass& model, int node, bool feeder, const std::string& nodeText);
  void Load(modelClass& model, int node);
  void Mark(modelClass& model, std::int32_t code, const std::string& text);
  int Random(int n);

  MemoryFileSystem files_;
  std::int32_t lastBranch_ = 0;  // the branch Connect made last
  int cables_ = 0;
  int loads_ = 0;
  int designations_ = 0;
  int group_ = 0, groupCount_ = 0;
  std::uint32_t seed_ = 2024;
};

}  // namespace kordavelt::bench
