// modelClass: topology edits — nodes, branch ends, deletion, the frame copy,
// switching and selection.

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/model_tables.h"
#include "model/object_records.h"
#include "model/scheme_records.h"
#include "model/topology_invariants.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

std::string Num(long long value) { return std::to_string(value); }

// True when the table holds a record with a key in [from, to].
bool AnyKeyIn(tbClass* table, std::int32_t from, std::int32_t to) {
  if (table == nullptr) return false;
  table->Seek(from);
  const int status = table->Status();
  if (status != kStatusOk && status != kStatusGreater) return false;
  return !table->Record().empty() && table->Key() >= from && table->Key() <= to;
}

// Deletes every record of `table` keyed `key`.
void DeleteAllKeyed(tbClass* table, std::int32_t key) {
  while (modelClass::SeekExact(table, key)) {
    table->Delete();
    if (table->Status() != kStatusOk) return;
  }
}

}  // namespace

bool modelClass::NodeExists(int node) { return usable_ && SeekExact(Nodes(), node); }

void modelClass::ShowNoFreeSlot(const char* caption, int node) {
  Ui().ShowError(caption, "К узлу № " + Num(node) + " присоединено 255 ветвей!" +
                              "#Свободного присоединения нет.");
}

// --- Nodes --------------------------------------------------------------------------------

int modelClass::AddNode() {
  if (!usable_) return 0;
  tbClass* nodes = Nodes();
  const std::int32_t last = nodes->LastKey();
  int n = last + 1;
  if (n < settings_.MinNodeNumber()) n = settings_.MinNodeNumber();
  if (n > settings_.MaxNodeNumber()) {
    int entered = n;
    Ui().InputInteger("Добавление узла",
                      "Номер узла превысил заданное Вами ограничение " +
                          Num(settings_.MaxNodeNumber()) +
                          ".#Введите новое значение верхней границы",
                      entered);
    settings_.SetMaxNodeNumber(entered > n ? entered : n);
  }
  lastAddedNode_ = n;
  while (n <= kLargestKeyedNode && SeekExact(nodes, n)) {
    Ui().ShowInfo("Новый узел", "Странная ошибка");
    ++n;
  }
  if (n < 1 || n > kLargestKeyedNode) return 0;
  nodes->Insert(n);
  if (nodes->Status() != kStatusOk) return 0;
  nodes->MarkModifiedAndFlush();
  lastAddedNode_ = n;
  Notify({.kind = ModelEventKind::NodeAdded, .node = n});
  return n;
}

bool modelClass::NodeHasBranches(int node) {
  if (!usable_) return false;
  FarEndsQuiet quiet(*this);
  const std::int32_t first = BranchKey(node, 0);
  const std::int32_t last = BranchKey(node, kMaxSlot);
  return AnyKeyIn(Branches(), first, last) || AnyKeyIn(FarEnds(), first, last);
}

void modelClass::DeleteNode(int node) {
  if (!usable_) return;
  if (NodeHasBranches(node)) {
    Ui().ShowInfo("Удаление УЗЛА", "Узел № " + Num(node) + " имеет присоединенные ветви!" +
                                       "#Необходимо сначала удалить эти ветви.");
    return;
  }
  DeleteAllKeyed(Nodes(), node);
  RemoveMarking(NodeMarkingCode(node));
  RemoveNodePositions(node);
  Notify({.kind = ModelEventKind::NodeDeleted, .node = node});
  Refresh(RefreshSender::None, 2);
}

void modelClass::DropNodeIfBare(int node) {
  if (node <= 0 || !SeekExact(Nodes(), node) || NodeHasBranches(node)) return;
  DeleteAllKeyed(Nodes(), node);
  RemoveNodePositions(node);
  Notify({.kind = ModelEventKind::NodeDeleted, .node = node});
}

void modelClass::RemoveMarking(std::int32_t code) {
  tbClass* markings = Markings();
  if (!SeekExact(markings, code)) return;
  const std::string text = MarkingRec(markings->Record()).Text();
  if (designations_.KeyOf(text) == code) designations_.Remove(text);
  markings->Delete();
}

void modelClass::RemoveNodePositions(int node) {
  DeleteAllKeyed(OpenSchemeTable(kXYNodeTable), node);
}

void modelClass::RemoveBranchDrawing(std::int32_t key) {
  DeleteAllKeyed(OpenSchemeTable(kXYBranchTable), key);
}

bool modelClass::NodeHasSchemePosition(int node) {
  return SeekExact(OpenSchemeTable(kXYNodeTable), node);
}

// --- Slots and branch ends ---------------------------------------------------------------

std::int32_t modelClass::FreeSlotKey(int node) {
  if (!usable_ || node <= 0 || node > kLargestKeyedNode) return 0;
  FarEndsQuiet quiet(*this);
  tbClass* branches = Branches();
  const bool positioned = branches->Status() == kStatusOk && !branches->Record().empty();
  const std::int32_t remembered = positioned ? branches->Key() : 0;
  std::int32_t found = 0;
  for (int slot = 1; slot <= kMaxSlot && found == 0; ++slot) {
    const std::int32_t key = BranchKey(node, slot);
    if (!SeekExact(branches, key) && !SeekExact(FarEnds(), key)) found = key;
  }
  if (positioned) branches->Seek(remembered);
  return found;
}

bool modelClass::MoveFarEnd(std::int32_t key, int node) {
  if (!usable_) return false;
  FarEndsQuiet quiet(*this);
  if (!SeekExact(Branches(), key) || !NodeExists(node)) return false;
  const std::int32_t c = FreeSlotKey(node);
  if (c == 0) {
    ShowNoFreeSlot("Переключение", node);
    return false;
  }
  ExpectSlotFree(*this, c);
  SeekExact(Branches(), key);
  const std::int32_t old = BranchRec(Branches()->Record()).KeyEnd();

  tbClass* farEnds = FarEnds();
  if (old != 0 && SeekExact(farEnds, old) && FarEndRec(farEnds->Record()).BranchKey() == key) {
    farEnds->Delete();
  }
  farEnds->Insert(c);
  if (farEnds->Status() != kStatusOk) return false;
  FarEndRec(farEnds->Record()).SetBranchKey(key);
  farEnds->MarkModifiedAndFlush();
  if (SeekExact(Branches(), key)) {
    BranchRec(Branches()->Record()).SetKeyEnd(c);
    Branches()->MarkModifiedAndFlush();
  }
  ExpectFarEndTied(*this, key);
  Notify({.kind = ModelEventKind::BranchMoved, .node = node, .branch = key, .previousBranch = key});
  const int oldNode = NodeOfKey(old);
  if (old != 0 && oldNode != node && NodeExists(oldNode) && !NodeHasBranches(oldNode)) {
    DeleteNode(oldNode);
  }
  return true;
}

void modelClass::SwitchBranchEnd(std::int32_t key, int node) {
  if (!usable_) return;
  FarEndsQuiet quiet(*this);
  if (!SeekExact(Branches(), key)) return;
  const BranchRec branch(Branches()->Record());
  const std::int32_t end = branch.KeyEnd();
  // Sources and receivers have no far node to move.
  if (end == 0) return;
  if (node == NodeOfKey(end)) return;
  if (node == NodeOfKey(key)) {
    Ui().ShowInfo("Переключение", "Нельзя замыкать ветвь на себя");
    return;
  }
  if (!NodeExists(node)) {
    Ui().ShowError("Переключение", "Узел № " + Num(node) + " не найден в модели");
    return;
  }
  if (!MoveFarEnd(key, node)) return;
  if (!NodeHasSchemePosition(node)) RemoveBranchDrawing(key);
  Refresh(RefreshSender::None, 2);
}

std::int32_t modelClass::SwitchBranchStart(std::int32_t key, int node) {
  if (!usable_) return key;
  FarEndsQuiet quiet(*this);
  if (!SeekExact(Branches(), key)) return key;
  const BranchRec branch(Branches()->Record());
  const std::int32_t end = branch.KeyEnd();
  const int kind = branch.Kind();
  if (node == NodeOfKey(key)) return key;
  if (end != 0 && node == NodeOfKey(end)) {
    Ui().ShowInfo("Переключение", "Нельзя замыкать ветвь на себя");
    return key;
  }
  if (!NodeExists(node)) {
    Ui().ShowError("Переключение", "Узел № " + Num(node) + " не найден в модели");
    return key;
  }
  const std::int32_t c = FreeSlotKey(node);
  if (c == 0) {
    ShowNoFreeSlot("Переключение", node);
    return key;
  }

  tbClass* farEnds = FarEnds();
  if (end != 0 && SeekExact(farEnds, end)) {
    FarEndRec(farEnds->Record()).SetBranchKey(c);
    farEnds->MarkModifiedAndFlush();
  }
  tbClass* objects = OpenObjectTable(kind);
  if (SeekExact(objects, key)) {
    if (kind == kKindPowerSource) {
      const std::int32_t number = SourceObjectRec(objects->Record()).SourceNumber();
      if (number > 0 && SeekExact(Sources(), number)) {
        SourceRec(Sources()->Record()).SetBranchKey(c);
        Sources()->MarkModifiedAndFlush();
      }
    } else if (kind == kKindReceiver) {
      const std::int32_t receiver = ReceiverObjectRec(objects->Record()).ReceiverKey();
      if (receiver > 0 && SeekExact(Receivers(), receiver)) {
        ReceiverRec(Receivers()->Record()).SetBranchKey(c);
        Receivers()->MarkModifiedAndFlush();
      }
    }
    // An object left behind by a deleted branch at the new key would shadow this one.
    DeleteAllKeyed(objects, c);
    if (SeekExact(objects, key)) objects->ChangeKey(c);
  }
  if (SeekExact(Branches(), key)) Branches()->ChangeKey(c);

  tbClass* drawings = OpenSchemeTable(kXYBranchTable);
  DeleteAllKeyed(drawings, c);
  if (SeekExact(drawings, key)) {
    if (NodeHasSchemePosition(node)) {
      SeekExact(drawings, key);
      drawings->ChangeKey(c);
    } else {
      RemoveBranchDrawing(key);
    }
  }
  // The marking is keyed by the branch key: it follows the branch, so that
  // the designation stays with its object and no later branch inherits it.
  tbClass* markings = Markings();
  if (SeekExact(markings, key) && !SeekExact(markings, c) && SeekExact(markings, key)) {
    const std::string text = MarkingRec(markings->Record()).Text();
    markings->ChangeKey(c);
    if (designations_.KeyOf(text) == key) {
      designations_.Remove(text);
      designations_.Add(text, c);
    }
  }
  Notify({.kind = ModelEventKind::BranchMoved, .node = node, .branch = c, .previousBranch = key});
  Refresh(RefreshSender::None, 2);
  return c;
}

// --- Deletion ---------------------------------------------------------------------------

void modelClass::DeleteBranch(std::int32_t key, int keepNode) {
  if (!usable_) return;
  FarEndsQuiet quiet(*this);
  if (SeekExact(Branches(), key)) {
    const std::int32_t end = BranchRec(Branches()->Record()).KeyEnd();
    ++refreshSuppression_;
    FreeElement(Branches()->RecordNumber());
    Branches()->Delete();
    if (end != 0 && SeekExact(FarEnds(), end) &&
        FarEndRec(FarEnds()->Record()).BranchKey() == key) {
      FarEnds()->Delete();
    }
    RemoveBranchDrawing(key);
    Notify({.kind = ModelEventKind::BranchDeleted, .branch = key});
    const int start = NodeOfKey(key);
    if (start != keepNode) DropNodeIfBare(start);
    const int endNode = NodeOfKey(end);
    if (end != 0 && endNode != keepNode) DropNodeIfBare(endNode);
    --refreshSuppression_;
  }
  RemoveMarking(key);
  ShowStatus("Удалена ветвь");
  Refresh(RefreshSender::None, 2);
}

void modelClass::UndoDeletion() {
  if (!usable_) return;
  UndoDeletions();
  BuildDesignations();
  Notify({.kind = ModelEventKind::DeletionsUndone});
  Refresh(RefreshSender::None, 2);
}

// --- Frame copy -------------------------------------------------------------------------

int modelClass::CopyNode(int node) {
  if (!usable_ || !SeekExact(Nodes(), node)) return 0;
  const ConstBytes found = std::as_const(*Nodes()).Record();
  const std::vector<std::uint8_t> record(found.begin(), found.end());
  const std::int32_t last = Nodes()->LastKey();
  if (last >= kMaxRecords) return 0;
  Nodes()->Insert(last + 1);
  if (Nodes()->Status() != kStatusOk) return 0;
  const Bytes copy = Nodes()->Record();
  std::copy_n(record.begin(), std::min(record.size(), copy.size()), copy.begin());
  Nodes()->MarkModifiedAndFlush();
  Notify({.kind = ModelEventKind::NodeAdded, .node = last + 1});
  return last + 1;
}

std::int32_t modelClass::CopyBranch(std::int32_t key, int start, int end) {
  if (!usable_) return 0;
  FarEndsQuiet quiet(*this);
  if (!SeekExact(Branches(), key)) return 0;
  const ConstBytes found = std::as_const(*Branches()).Record();
  const std::vector<std::uint8_t> record(found.begin(), found.end());
  const BranchRec original(Branches()->Record());
  const std::int32_t farEnd = original.KeyEnd();
  const int kind = original.Kind();
  if (!NodeExists(start)) return 0;
  if (farEnd > 0 && (start == end || !NodeExists(end))) return 0;

  const auto taken = [this](std::int32_t k) {
    return SeekExact(Branches(), k) || SeekExact(FarEnds(), k);
  };
  std::int32_t c = BranchKey(start, SlotOfKey(key));
  if (taken(c)) c = FreeSlotKey(start);
  if (c == 0) {
    ShowNoFreeSlot("Копирование", start);
    return 0;
  }
  std::int32_t d = 0;
  if (farEnd > 0) {
    d = BranchKey(end, SlotOfKey(farEnd));
    if (taken(d)) d = FreeSlotKey(end);
    if (d == 0) {
      ShowNoFreeSlot("Копирование", end);
      return 0;
    }
  }

  ExpectSlotFree(*this, c);
  if (d != 0) ExpectSlotFree(*this, d);
  Branches()->Insert(c);
  if (Branches()->Status() != kStatusOk) return 0;
  const Bytes copy = Branches()->Record();
  std::copy_n(record.begin(), std::min(record.size(), copy.size()), copy.begin());
  BranchRec(copy).SetKeyEnd(d);
  Branches()->MarkModifiedAndFlush();
  if (d != 0) {
    FarEnds()->Insert(d);
    if (FarEnds()->Status() == kStatusOk) {
      FarEndRec(FarEnds()->Record()).SetBranchKey(c);
      FarEnds()->MarkModifiedAndFlush();
      ExpectFarEndTied(*this, c);
    }
  }

  tbClass* objects = kind != 0 ? OpenObjectTable(kind) : nullptr;
  if (SeekExact(objects, key)) {
    const ConstBytes object = std::as_const(*objects).Record();
    const std::vector<std::uint8_t> data(object.begin(), object.end());
    if (PositionOrInsert(objects, c)) {
      const Bytes target = objects->Record();
      std::copy_n(data.begin(), std::min(data.size(), target.size()), target.begin());
      // The copies belong to no source or receiver record.
      if (kind == kKindPowerSource) SourceObjectRec(target).SetSourceNumber(0);
      if (kind == kKindReceiver) ReceiverObjectRec(target).SetReceiverKey(0);
      objects->MarkModifiedAndFlush();
    }
  }
  Notify({.kind = ModelEventKind::BranchAdded, .branch = c, .objectKind = kind});
  return c;
}

// --- Switching and selection -------------------------------------------------------------

bool modelClass::ToggleBranch(std::int32_t key) {
  if (!usable_) return false;
  FarEndsQuiet quiet(*this);
  if (!SeekExact(Branches(), key)) return false;
  BranchRec branch(Branches()->Record());
  const std::uint16_t bit = static_cast<std::uint16_t>(1u << regime_);
  branch.SetStatus(static_cast<std::uint16_t>(branch.Status() ^ bit));
  const bool on = (branch.Status() & bit) != 0;
  Branches()->MarkModifiedAndFlush();
  AssignFeedingSources();
  ShowStatus();
  // The scheme redraws the branch; the session recalculates its source when
  // automatic calculation is on.
  Notify({.kind = ModelEventKind::BranchSwitched, .branch = key, .on = on});
  return on;
}

BranchEnds modelClass::SelectBranch(std::int32_t key) {
  BranchEnds ends;
  if (!usable_ || key == 0) return ends;
  FarEndsQuiet quiet(*this);
  if (!SeekExact(Branches(), key)) {
    Ui().ShowInfo("Не соответствие",
                  "В модели не найдена ветвь " + Num(NodeOfKey(key)) + "." + Num(SlotOfKey(key)));
    return ends;
  }
  ends.found = true;
  ends.startNode = NodeOfKey(key);
  ends.endNode = NodeOfKey(BranchRec(Branches()->Record()).KeyEnd());
  return ends;
}

}  // namespace kordavelt
