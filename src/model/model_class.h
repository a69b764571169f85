#pragma once

// modelClass: the one network model of the program, a database file (*.LVN)
// with its settings block, its open tables 2 … 10, the reference book it
// uses, the designation index and the in-memory companions of the
// calculation (one element record per branch record, the feeding source of
// every node).
//
// The object lives for the whole run and is reopened for each model file:
//   modelClass model(ui, files, "/opt/kordavelt/Kordavelt");
//   model.SetFileName("/data/plant.LVN");
//   if (model.OpenFile()) { ... model.AddNode() ... }
//   model.CloseFile();
// OpenModel and CloseModel run inside the engine's OpenFile and CloseFile.
// Whatever changes is told to the listeners (model_events.h):
//   ModelSubscription views = model.Subscribe(schemeView);
//
// Every topology edit (nodes, branches, far ends) goes through the
// operations below, which keep the invariants of the tables:
//  - a branch's start node exists; a non-zero KeyEnd has exactly one far-end
//    record holding the branch key, and its end node exists;
//  - per node the slots of the branch table and the far-end table are
//    distinct (at most 255 branch ends meet at one node);
//  - sources and receivers are tied to branches of kind 51 and 52.
// Each tells its listeners what it changed (NodeAdded, BranchMoved,
// BranchDeleted, ...) as it changes it, then asks the views to redraw once
// (Refresh).
//
// The model never reaches a window: the views (scheme, object tables, data
// tables, chart, main window) subscribe to its change notifications, and the
// session that owns them arranges the windows and runs the calculation. The
// few hooks at the end of the class ask a view for a service; an unbound one
// does nothing. Messages and questions go through the UiHost.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/element_rec.h"
#include "model/marka_class.h"
#include "model/model_events.h"
#include "model/model_settings.h"
#include "storage/dbf_class.h"

namespace kordavelt {

class sprClass;

// Something the calculation hangs on an element record (the characteristic
// object of a protective device); freed with the record.
class ElementAttachment {
 public:
  virtual ~ElementAttachment() = default;
};

// Where a branch runs, as SelectBranch gives it to the scheme.
struct BranchEnds {
  bool found = false;
  int startNode = 0;
  int endNode = 0;  // 0 for a branch without a far node
};

class modelClass : public dbfClass {
 public:
  // Records per table, so branch and node record numbers run 1 … 32767.
  static constexpr int kMaxRecords = 32767;
  static constexpr int kRegimeCount = 8;
  static constexpr const char* kProgramTitle = "Kordavelt";

  // `programPath`: the program file (folder and name); the reference book is
  // looked for beside it when not beside the model, and its base name is the
  // main window caption while no model is open.
  modelClass(UiHost& ui, FileSystem& files, std::string programPath = {});
  ~modelClass() override;

  // --- Lifecycle (bound to OnOpen and OnClose of the file) ---------------------

  // Reads or defaults the settings, opens the reference book, tables 2 … 10
  // and the designation index, assigns the feeding sources, clears the
  // calculated flags and corrects the window layouts of the settings; then
  // tells Opened. A book that cannot be opened leaves the model open without
  // tables (Usable() false) and tells nothing but the caption.
  void OpenModel();
  // Frees the element records, writes the settings block, tells Closing
  // (views let go of the tables), closes the book and tells Closed.
  void CloseModel();
  // True while a model is open with its tables.
  bool Usable() const { return usable_; }

  // "Модель не открыта", or the counts, the regime name and `text`, told
  // as a Status event.
  void ShowStatus(const std::string& text = {});
  std::string StatusText(const std::string& text = {});

  // --- The tables, the settings and the book -----------------------------------

  ModelSettings& Settings() { return settings_; }
  const ModelSettings& Settings() const { return settings_; }
  bool WriteSettings() { return settings_.Write(*this); }
  // The reference book, nullptr while none is open.
  sprClass* Book() const { return book_.get(); }
  // The book file the model opens: the settings' book name beside the model,
  // else beside the program, else the default name beside the program.
  std::string FindBookPath() const;
  MarkaClass& Designations() { return designations_; }
  // Rebuilds the designation index from rooms, sources, receivers, markings.
  void BuildDesignations();

  tbClass* Nodes() const { return Table(2); }
  tbClass* Branches() const { return Table(3); }
  tbClass* FarEnds() const { return Table(4); }
  tbClass* Sources() const { return Table(5); }
  tbClass* Receivers() const { return Table(6); }
  tbClass* Groups() const { return Table(7); }
  tbClass* Rooms() const { return Table(8); }
  tbClass* Markings() const { return Table(9); }
  tbClass* Names() const { return Table(10); }
  // The object table of a kind (100 + kind), opened with the kind's record
  // length on first use; nullptr for a kind without objects or no model.
  tbClass* OpenObjectTable(int kind);
  // Scheme tables 201, 202, 203, opened on first use; nullptr otherwise.
  tbClass* OpenSchemeTable(int table);

  // True when `table` stands on a record with exactly this key.
  static bool SeekExact(tbClass* table, std::int32_t key);
  // Positions `table` on the record with this key, inserting a zeroed one
  // when there is none; false when it could do neither.
  static bool PositionOrInsert(tbClass* table, std::int32_t key);

  // --- Nodes and branches --------------------------------------------------------

  // A new zeroed node after the last one (at least the minimum number; above
  // the maximum the user is asked for a new maximum). 0 when none was made.
  int AddNode();
  int LastAddedNode() const { return lastAddedNode_; }
  // Deletes a node without branches with its marking and scheme positions;
  // a node with branches gives a message and stays.
  void DeleteNode(int node);
  bool NodeHasBranches(int node);
  // The lowest key node × 256 + j (j = 1 … 255) used neither by a branch nor
  // by a far end; 0 when all 255 slots are taken. The branch table keeps its
  // position.
  std::int32_t FreeSlotKey(int node);
  // Moves the start of branch `key` to node m (the object, source or
  // receiver record and the scheme drawing follow); the branch's new key,
  // `key` itself when nothing moved.
  std::int32_t SwitchBranchStart(std::int32_t key, int node);
  // Moves the far end of branch `key` to node m.
  void SwitchBranchEnd(std::int32_t key, int node);
  // The far end of branch `key` goes to node m; an old end node left without
  // branches is deleted. False (nothing changed) when m has no free slot.
  bool MoveFarEnd(std::int32_t key, int node);
  // Deletes the branch, its far end and drawing, and its nodes left without
  // branches (except `keepNode`); the object record stays for an undo.
  void DeleteBranch(std::int32_t key, int keepNode = 0);
  // Restores the records deleted since the last insert (the engine's
  // journal), then rebuilds the designation index and refreshes.
  void UndoDeletion();

  // The frame copy of the scheme: a copy of node `node` numbered after the
  // last node (0 when none was made) ...
  int CopyNode(int node);
  // ... and a copy of branch `key` from node `start` to node `end`, with a
  // copy of its object; the copy's key, 0 when none was made.
  std::int32_t CopyBranch(std::int32_t key, int start, int end);
  // Switches branch `key` in the current regime; the new state (true = on).
  bool ToggleBranch(std::int32_t key);
  // The ends of branch `key`, or a message when the model has no such branch.
  BranchEnds SelectBranch(std::int32_t key);
  // Repairs tables that disagree (menu "Восстановить БД").
  void Restore();

  // --- Feeding sources and regimes ------------------------------------------------

  // Works out which source feeds each node and receiver in the current regime.
  void AssignFeedingSources();
  // The source feeding node record `recordNumber` (1 … 32767), 0 = none.
  std::uint8_t FeedingSource(int recordNumber) const;
  // The same by node number (positions the node table); 0 for no such node.
  std::uint8_t FeedingSourceOfNode(int node);
  // Tells the views to redraw (a Refresh event), unless refreshing is
  // suppressed; with depth > 1 the feeding sources are assigned first.
  void Refresh(RefreshSender sender, int depth);
  // While the depth is above 0 topology changes refresh nothing. A view
  // that rebuilds itself from the tables (the scheme) holds it meanwhile.
  int RefreshSuppression() const { return refreshSuppression_; }
  void SuppressRefresh() { ++refreshSuppression_; }
  void ResumeRefresh() { --refreshSuppression_; }

  int Regime() const { return regime_; }
  void SetRegime(int regime);
  std::string RegimeName(int regime) const;
  // The table of regimes: choose one, name an empty one, clear a name.
  // The session calculates after it.
  void ChooseRegime();

  // --- Calculation records ---------------------------------------------------------

  // The element record of branch record `recordNumber`, created fresh on
  // first use; nullptr outside 1 … 32767.
  ElementRec* Element(int recordNumber);
  bool HasElement(int recordNumber) const;
  void FreeElement(int recordNumber);
  void FreeAllElements();
  ElementAttachment* Attachment(int recordNumber) const;
  void SetAttachment(int recordNumber, std::unique_ptr<ElementAttachment> attachment);
  // The branch record number whose element record feeds node record
  // `nodeRecord`; 0 = none. Set by the calculation, cleared at close.
  int NodeFeeder(int nodeRecord) const;
  void SetNodeFeeder(int nodeRecord, int branchRecord);

  // --- Window layouts (the session arranges the windows by them) -----------------

  // The choice "Схема расположения окон" sets the current layout; a cancel keeps it.
  void ChooseWindowLayout();
  // The standard layout becomes current.
  void DefaultWindowLayout();

  // --- Change notifications --------------------------------------------------------

  // The listener hears every event from now until the subscription ends.
  [[nodiscard]] ModelSubscription Subscribe(ModelListener& listener) {
    return events_.Subscribe(listener);
  }
  [[nodiscard]] ModelSubscription Subscribe(std::function<void(const ModelEvent&)> listener) {
    return events_.Subscribe(std::move(listener));
  }
  // Tells every listener; the model's own operations tell what they change,
  // an editor outside it (the object tables, the calculation's host) what
  // it changed.
  void Notify(const ModelEvent& event) { events_.Notify(event); }

  // --- Services asked of a view ------------------------------------------------------

  // The dialog "Общие свойства модели сети", shown for a new model before its
  // tables open (the command line fills the settings instead).
  std::function<void(modelClass&)> OnGeneralProperties;
  // Show branch `key` selected on the scheme (the calculation points at the
  // source it could not calculate).
  std::function<void(std::int32_t key)> OnSelectSchemeBranch;
  // The scheme's display options (8 bytes), asked at close to be stored and
  // for the defaults of a new model; an open model's views read them from
  // the settings.
  std::function<std::vector<std::uint8_t>()> SchemeOptions;

 private:
  void BindTables();
  bool OpenBookForModel();
  void ClearCalculatedFlags();
  // Removes every scheme position of a node / the drawing of a branch.
  void RemoveNodePositions(int node);
  void RemoveBranchDrawing(std::int32_t key);
  bool NodeHasSchemePosition(int node);
  void RemoveMarking(std::int32_t code);
  // Deletes a node record that exists and has no branches; no marking touched.
  void DropNodeIfBare(int node);
  void ShowNoFreeSlot(const char* caption, int node);
  bool NodeExists(int node);
  // Turns off following far ends for the lifetime of an operation, which
  // then positions the branch table itself.
  class FarEndsQuiet {
   public:
    explicit FarEndsQuiet(modelClass& model) : model_(model), was_(model.followFarEnds_) {
      model.followFarEnds_ = false;
    }
    ~FarEndsQuiet() { model_.followFarEnds_ = was_; }
    FarEndsQuiet(const FarEndsQuiet&) = delete;
    FarEndsQuiet& operator=(const FarEndsQuiet&) = delete;

   private:
    modelClass& model_;
    bool was_;
  };
  struct ElementSlot {
    ElementRec data;
    std::unique_ptr<ElementAttachment> attachment;
  };

  std::string programPath_;
  ModelNotifier events_;
  ModelSettings settings_;
  std::unique_ptr<sprClass> book_;
  MarkaClass designations_;
  bool usable_ = false;
  // False when the file could not give its settings: they are not written over it.
  bool settingsWritable_ = false;
  int regime_ = 0;
  int refreshSuppression_ = 0;
  int lastAddedNode_ = 0;
  // Off while an operation walks the far ends itself.
  bool followFarEnds_ = true;
  std::vector<std::uint8_t> feedingSources_;            // by node record number
  std::vector<int> nodeFeeders_;                        // by node record number
  std::vector<std::unique_ptr<ElementSlot>> elements_;  // by branch record number
};

}  // namespace kordavelt
