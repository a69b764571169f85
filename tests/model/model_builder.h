#pragma once

// Network models for tests: an open model file in a MemoryFileSystem with a
// scripted UI, built in a few readable lines:
//
//   ModelBuilder m;
//   const int n1 = m.Node();
//   const int n2 = m.Node();
//   const std::int32_t cable = m.Cable(n1, n2, 95, 120.0f);
//   const auto source = m.Source(n1, "Т1");
//   const auto motor = m.Receiver(n2, m.Group("Насос"), "М1");
//
// Every step goes through the model's own operations, so a built model keeps
// the invariants of its tables; raw records for damaged models are written
// through the table accessors directly.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/model_class.h"
#include "storage/file_layer.h"
#include "support/scripted_ui_host.h"

namespace kordavelt::testing {

class ModelBuilder {
 public:
  static constexpr const char* kModelPath = "/models/test.LVN";
  static constexpr const char* kProgramPath = "/program/Kordavelt";

  // A new empty model created and opened at `path`.
  explicit ModelBuilder(const std::string& path = kModelPath);
  ~ModelBuilder();
  ModelBuilder(const ModelBuilder&) = delete;
  ModelBuilder& operator=(const ModelBuilder&) = delete;

  modelClass* operator->() { return &model; }

  // A new node (AddNode); its number.
  int Node();
  // `count` nodes; the number of the last.
  int Nodes(int count);
  // A branch of any kind (ConnectObject); its key, 0 when refused.
  std::int32_t Branch(int kind, int start, int end = 0);
  // A cable line of the type code `type` and this length, m.
  std::int32_t Cable(int start, int end, std::int32_t type = 0, float lengthM = 0);
  std::int32_t Breaker(int start, int end, std::int32_t type = 0);

  struct Tied {
    int number = 0;           // source number or receiver key
    std::int32_t branch = 0;  // its branch key
  };
  // A source record with this designation, tied to a new source branch at `node`.
  Tied Source(int node, std::string_view marking = {});
  // A receiver group; its number.
  int Group(std::string_view name = "Электроприемник");
  // A receiver of `group` tied to a new receiver branch at `node`.
  Tied Receiver(int node, int group, std::string_view marking = {});

  // The branch record's Status, or -1 when there is no such branch.
  int StatusOf(std::int32_t branch);
  void SetStatus(std::int32_t branch, std::uint16_t status);
  // Closes (saving, without a question) and opens the model again.
  bool Reopen();
  // The model file as the disk holds it, every change flushed.
  std::vector<std::uint8_t> FileBytes();

  MemoryFileSystem files;
  ScriptedUiHost ui;
  modelClass model{ui, files, kProgramPath};
};

}  // namespace kordavelt::testing
