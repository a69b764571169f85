#pragma once

// CalcClass: the network calculation of an open model. It works one power
// source at a time: TraceTree puts every branch the source feeds in the
// current regime into the TreeList (depth-first preorder, positions
// 1 … Count()), and CalcSource runs the calculation steps over that list,
// leaving the results in the branches' element records.
//
// Section levels: a level grows only at a node with two or more children, so
// a series chain keeps one level and its last element carries the
// end-of-section flag. Every sweep walks the TreeList once with one
// accumulator per level (0 … 100); walking backwards, an element whose level
// is lower than that of the element walked before it, or that carries the
// end-of-section flag, closes the accumulators of the deeper levels.
//
// The trace walks the model's connections read into memory once
// (TopologyIndex: for a whole CalcNetwork run, else for each trace) and
// writes the tree into the element records only when it stands, so a tree
// beyond the limits is refused before anything is changed.
//
// The stages that prepare element parameters and compute loads, short
// circuits, motor starting, protection times and the checks run as plain
// calls in sequence (calc/calculation.h), so a calculation is always whole.
// Their working tables stay with the object for the next calculation.
//
//   CalcClass calc(model);
//   calc.CalcNetwork();

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/calculation.h"
#include "calc/topology_index.h"
#include "model/element_rec.h"
#include "model/model_class.h"

namespace kordavelt {

class CalcClass {
 public:
  // TreeList positions 1 … kTreeCapacity.
  static constexpr int kTreeCapacity = 12000;
  // Section levels 1 … kMaxLevel; a tree needing a deeper level is cut there.
  static constexpr int kMaxLevel = 99;
  // Entries of the trace's working key list.
  static constexpr int kKeyListSize = 32768;

  // Captions of the calculation's messages.
  static constexpr const char* kCaptionNetwork = "Расчет сети";
  static constexpr const char* kCaptionCalc = "Расчет";
  static constexpr const char* kCaptionNotDone = "Расчет не выполнен";
  static constexpr const char* kCaptionNotDoneBang = "Расчет не выполнен!";

  explicit CalcClass(modelClass& model);
  CalcClass(const CalcClass&) = delete;
  CalcClass& operator=(const CalcClass&) = delete;

  // --- Starting a calculation ---------------------------------------------------

  // The full calculation of every source (menu, toolbar). Does nothing
  // without an open model and reference book.
  void CalcNetwork(RefreshSender sender = RefreshSender::None);
  // The same with the automatic equipment choice after each calculated
  // source; only when the setting "Автовыбор оборудования" is on.
  void CalcNetworkWithChoice(RefreshSender sender = RefreshSender::None);
  // After an edit in a table: `table` 2 (rows keyed by node number) or a
  // table keyed by branch keys, `rowKey` the edited row's key. Recalculates
  // the source feeding that node when automatic calculation is on and a full
  // calculation has been made; otherwise only marks the results invalid.
  void AutoCalc(int table, std::int32_t rowKey, RefreshSender sender = RefreshSender::Objects);

  // --- One source -------------------------------------------------------------------

  // The pipeline for source `source`; true when it was calculated. The
  // status line shows the protocol afterwards in every case.
  bool CalcSource(int source);
  // Fills the TreeList with the tree of source `source`; false with its
  // message shown (or silently for an unconnected source).
  bool TraceTree(int source);
  // Nominal voltages of the traced tree from the source through the
  // transformers; false (with a message) when a transformer does not fit.
  bool AssignVoltageLevels();
  // Start and end nodes of the connection of every traced element.
  void AssignEndNodes();
  // Clears the results that a new calculation recomputes.
  static void ResetElementResults(ElementRec& element);

  // --- Commands -----------------------------------------------------------------------

  // Replaces line lengths (kinds 11 … 14) by orthogonal lengths on request.
  void OrthogonalLengths();

  // --- State --------------------------------------------------------------------------

  modelClass& Model() { return model_; }

  // The stage after which CalcSource stops (by default the last: the whole
  // calculation). For tests of one stage and benchmarks of a part of the
  // pipeline; the source still counts as calculated.
  void StopAfter(CalcStage last) { lastStage_ = last; }

  bool Invalid() const { return invalid_; }
  void SetInvalid(bool invalid) { invalid_ = invalid; }
  // Elements in the TreeList.
  int Count() const { return count_; }
  // Largest section level in the tree.
  int DeepestLevel() const { return deepest_; }
  // The source whose tree the TreeList holds; 0 = none.
  int TracedSource() const { return tracedSource_; }
  const std::string& Protocol() const { return protocol_; }
  void SetProtocol(std::string text) { protocol_ = std::move(text); }
  void AppendProtocol(std::string_view text) { protocol_ += text; }

  // TreeList[position], position 1 … Count(). The list names branch records,
  // so it holds until the next topology edit; retrace after one.
  ElementRec& Element(int position) const { return *model_.Element(tree_[position].record); }
  // The branch record number of TreeList[position] (for the model's
  // attachments and node feeders).
  int RecordNumber(int position) const { return tree_[position].record; }
  // The kind and far-end key of TreeList[position]'s branch record as the
  // trace read them; the element's own kind may since have been re-marked by
  // the preparation. Traced branches are switched on in the current regime.
  int BranchKind(int position) const { return tree_[position].kind; }
  std::int32_t BranchKeyEnd(int position) const { return tree_[position].keyEnd; }

  // "Узлов-… Ветвей-… Режим-… " + protocol, shown in the status line.
  void ShowProtocol();

  // The elements whose checks found a violation, over every source whose
  // results are current (its "calculated" flag set): the number the status
  // line adds to the protocol after a calculation, "Нарушений: N".
  int ViolationCount();

  // Locates a source that stops the calculation on the scheme and in the
  // power-source object table (branch key of the source).
  std::function<void(std::int32_t)> OnLocateSource;

 private:
  static constexpr std::int16_t kUnknownVoltage = -1;
  struct TreeEntry {
    int record = 0;    // 1 … 32767
    int fromNode = 0;  // the node the trace entered the branch from
    int toNode = 0;    // the node it left by; 0 when the branch leads nowhere
    int toRecord = 0;  // toNode's record number; 0 when it has none
    std::int32_t keyEnd = 0;
    std::int32_t signedKey = 0;
    std::uint16_t level = 0;
    std::uint8_t kind = 0;
    std::uint8_t flags = 0;
    std::uint8_t endOfSection = 0;
    // The voltage index the record of toNode holds, as read by the trace and
    // kept by AssignVoltageLevels; kUnknownVoltage when not read.
    std::int16_t toNodeVoltage = kUnknownVoltage;
  };
  // A branch met at a node while tracing.
  struct Child {
    std::int32_t signedKey = 0;
    int record = 0;
    std::int32_t keyEnd = 0;
    std::uint8_t kind = 0;
    std::uint8_t flags = 0;
  };

  // The trace's parts: the switched-on branches at `node` except `entered`,
  // appended to `keys`; taking one branch into the TreeList. The walk
  // writes nothing into the model: WriteTree does, once the tree stands (or
  // the walk stopped at a fault it reports).
  void CollectChildren(const TopologyIndex& topology, int node, std::int32_t entered,
                       std::vector<Child>& keys);
  enum class Taken { Continue, SectionEnd, Failed };
  Taken TakeBranch(const TopologyIndex& topology, const Child& child, int fromNode, int level,
                   int& nextNode);
  bool WalkTree(const TopologyIndex& topology);
  void WriteTree();
  bool RefuseTree(const std::string& why);
  // Sets the voltage index of TreeList[position]'s far node where it differs;
  // true when a node record was changed.
  bool StoreNodeVoltage(int position, int index);
  bool NamedNode(int node);
  // The designation of branch `key` for messages.
  std::string BranchDesignation(std::int32_t key);
  std::string SourceName(int source);
  bool CalcSourceSteps(int source);
  // Shared part of the two full calculations.
  void RunNetwork(bool withChoice, RefreshSender sender);
  bool EmfSettingsValid();
  // Every source in key order; the source table's position kept. False when
  // `stopAtFailure` and a source failed.
  bool CalcAllSources(bool withChoice, bool stopAtFailure);
  void ResetAllElements();
  void RefreshViews(RefreshSender sender);
  // Appends "Нарушений: N" to the protocol when any element violates a
  // condition, and shows it.
  void ShowViolationCount();

  modelClass& model_;
  CalcStage lastStage_ = CalcStage::Checks;
  // The stages' working tables, kept for the next calculation.
  StageStorage storage_;
  bool invalid_ = true;
  int count_ = 0;
  int deepest_ = 0;
  int tracedSource_ = 0;
  std::string protocol_;
  std::vector<TreeEntry> tree_;  // positions 0 … kTreeCapacity, 0 unused
  // The traced source: its branch key, name and voltage-level index.
  std::int32_t sourceBranch_ = 0;
  std::string sourceName_;
  int sourceVoltageIndex_ = 0;
  std::vector<std::uint8_t> visited_;  // by node record number
  int rootRecord_ = 0;                 // the source node's record number; 0 when none
  // The connections the trace walks: read for a whole run of CalcNetwork
  // (topologyHeld_), otherwise for each trace.
  TopologyIndex topology_;
  bool topologyHeld_ = false;
  // Elements with violations in each source's tree at its last calculation.
  std::array<int, 256> violationsBySource_{};
};

}  // namespace kordavelt
