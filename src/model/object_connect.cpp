#include "model/object_connect.h"

#include <algorithm>
#include <string>

#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

constexpr const char* kCaption = "Подключение объекта";

// Every regime: a new element takes part in the network until switched off.
constexpr std::uint16_t kOnInEveryRegime = 0xFF;

std::int32_t Refuse(modelClass& model, const std::string& text) {
  model.Ui().ShowError(kCaption, text);
  return 0;
}

std::string Num(long long value) { return std::to_string(value); }

}  // namespace

bool KindHasFarEnd(int kind) {
  return !((kind >= 41 && kind <= 45) || (kind >= 50 && kind <= 53) || kind == kKindNode);
}

std::int32_t ConnectObject(modelClass& model, int kind, int startNode, int endNode) {
  if (!model.IsOpen() || !model.Usable()) return 0;
  const ObjectKind* found = KindOfCode(kind);
  if (found == nullptr || kind == kKindNode) {
    return Refuse(model, "Неизвестный вид объекта " + Num(kind));
  }
  if (!modelClass::SeekExact(model.Nodes(), startNode)) {
    return Refuse(model, "Узел № " + Num(startNode) + " не найден в модели");
  }
  if (endNode != 0) {
    if (endNode == startNode) {
      model.Ui().ShowInfo("Переключение", "Нельзя замыкать ветвь на себя");
      return 0;
    }
    if (!modelClass::SeekExact(model.Nodes(), endNode)) {
      return Refuse(model, "Узел № " + Num(endNode) + " не найден в модели");
    }
  }

  tbClass* branches = model.Branches();
  tbClass* farEnds = model.FarEnds();
  // A source takes slot 0 of its node; a second source there takes a free slot.
  std::int32_t key = 0;
  if (kind == kKindPowerSource && !modelClass::SeekExact(branches, BranchKey(startNode, 0))) {
    key = BranchKey(startNode, 0);
  } else {
    key = model.FreeSlotKey(startNode);
  }
  const auto noSlot = [&](int node) {
    return Refuse(model, "К узлу № " + Num(node) + " присоединено 255 ветвей!" +
                             "#Свободного присоединения нет.");
  };
  if (key == 0) return noSlot(startNode);
  std::int32_t far = 0;
  if (endNode != 0) {
    far = model.FreeSlotKey(endNode);
    if (far == 0) return noSlot(endNode);
  }

  tbClass* objects = model.OpenObjectTable(kind);
  if (found->table > 0 && objects == nullptr) {
    return Refuse(model, "Таблица объектов № " + Num(found->table) + " не открывается");
  }
  branches->Insert(key);
  if (branches->Status() != kStatusOk) return 0;
  BranchRec branch(branches->Record());
  branch.SetKind(static_cast<std::uint8_t>(kind));
  branch.SetStatus(kOnInEveryRegime);
  branch.SetKeyEnd(far);
  branches->MarkModifiedAndFlush();

  const auto undo = [&]() {
    if (modelClass::SeekExact(branches, key)) branches->Delete();
    return std::int32_t{0};
  };
  if (far != 0) {
    farEnds->Insert(far);
    if (farEnds->Status() != kStatusOk) return undo();
    FarEndRec(farEnds->Record()).SetBranchKey(key);
    farEnds->MarkModifiedAndFlush();
  }
  if (objects != nullptr) {
    // An object left at this key by a deleted branch is cleared and reused.
    if (!modelClass::PositionOrInsert(objects, key)) {
      if (far != 0 && modelClass::SeekExact(farEnds, far)) farEnds->Delete();
      return undo();
    }
    const Bytes record = objects->Record();
    std::fill(record.begin(), record.end(), std::uint8_t{0});
    objects->MarkModifiedAndFlush();
  }
  model.Notify({.kind = ModelEventKind::BranchAdded, .branch = key, .objectKind = kind});
  return key;
}

}  // namespace kordavelt
