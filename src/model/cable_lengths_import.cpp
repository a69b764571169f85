#include "model/cable_lengths_import.h"

#include "exchange/get_class.h"
#include "model/marka_class.h"
#include "model/model_class.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

// The branch item 4 names: its key "node.slot", else a branch designation.
std::int32_t BranchOfRow(modelClass& model, const GetClass& get) {
  tbClass* branches = model.Branches();
  const std::int32_t key = get.GetCode(4, 8);
  if (key > 0 && modelClass::SeekExact(branches, key)) return key;
  // A designation that reads as a number ("12") names a branch too.
  const std::string text = get.GetStr(4);
  const std::int32_t named = model.Designations().KeyOf(text);
  if (named <= 0 || !modelClass::SeekExact(model.Markings(), named) ||
      FoldDesignation(MarkingRec(model.Markings()->Record()).Text()) != FoldDesignation(text)) {
    return 0;
  }
  return modelClass::SeekExact(branches, named) ? named : 0;
}

bool SetLength(Bytes record, int kind, float lengthM) {
  switch (kind) {
    case kKindCableLine:
      CableLineRec(record).SetL(lengthM);
      return true;
    case kKindWiring:
      WiringRec(record).SetL(lengthM);
      return true;
    case kKindOverheadLine:
      OverheadLineRec(record).SetL(lengthM);
      return true;
    default:
      return false;
  }
}

}  // namespace

int ReadCableLengths(modelClass& model, GetClass& get, std::string_view fieldNames) {
  if (!model.Usable()) return 0;
  get.SetFieldNames(fieldNames);
  int set = 0;
  while (get.ReadRecord()) {
    if (get.IsTableStart()) {
      if (get.Record() != kCableJournalName) break;
      continue;
    }
    const std::int32_t key = BranchOfRow(model, get);
    if (key <= 0) continue;
    const int kind = BranchRec(model.Branches()->Record()).Kind();
    if (kind != kKindCableLine && kind != kKindWiring && kind != kKindOverheadLine) continue;
    tbClass* objects = model.OpenObjectTable(kind);
    if (!modelClass::SeekExact(objects, key)) continue;
    if (SetLength(objects->Record(), kind, static_cast<float>(get.GetReal(10)))) {
      objects->MarkModifiedAndFlush();
      ++set;
    }
  }
  model.Refresh(RefreshSender::None, 2);
  return set;
}

bool ImportCableLengths(modelClass& model, UiHost& ui, char separator, std::string_view defaultName,
                        std::string_view caption, std::string_view fieldNames,
                        const std::function<void()>& refreshWindow) {
  if (!model.Usable()) return false;
  GetClass get(ui, model.Files(), separator);
  if (!get.Open("Импорт длин кабелей", defaultName)) return false;
  ReadCableLengths(model, get, fieldNames);
  if (refreshWindow) refreshWindow();
  if (get.Failed()) return false;
  ui.ShowInfo(caption, "Импорт длин кабелей выполнен");
  return true;
}

}  // namespace kordavelt
