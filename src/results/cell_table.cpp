#include "results/cell_table.h"

#include "base/number_format.h"
#include "calc/calc_class.h"
#include "model/element_rec.h"
#include "model/model_class.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/object_records.h"
#include "refbook/book_records.h"
#include "refbook/book_tables.h"
#include "refbook/kind_names.h"
#include "refbook/spr_class.h"
#include "results/network_names.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

// The reference-book type code of the object on branch `key`; 0 for kinds
// without a catalogue type.
std::int32_t ObjectType(modelClass& model, int kind, std::int32_t key) {
  tbClass* objects = model.OpenObjectTable(kind);
  if (!modelClass::SeekExact(objects, key)) return 0;
  const Bytes record = objects->Record();
  switch (kind) {
    case kKindCableLine:
      return CableLineRec(record).Type();
    case kKindWiring:
      return WiringRec(record).Type();
    case kKindOverheadLine:
      return OverheadLineRec(record).Type();
    case kKindTrunkingK:
      return TrunkingRec(record).Type();
    case kKindBreaker:
      return BreakerRec(record).Type();
    case kKindFuse:
      return FuseRec(record).Type();
    case kKindStarter:
      return StarterRec(record).Type();
    case kKindTransformer:
      return TransformerRec(record).Type();
    case kKindCapacitorBank:
      return CapacitorBankRec(record).Type();
    case kKindGenerator:
      return GeneratorRec(record).Type();
    case kKindCurrentRelay:
    case kKindSwitch:
    case kKindStabiliser:
    case kKindReactor:
    case kKindCurrentTransformer:
      return TypeOnlyRec(record).Type();
    default:
      return 0;
  }
}

// What a cell shows for the equipment on branch `key`: its type designation,
// else its type name; the own name of a protective device.
std::string EquipmentText(modelClass& model, int kind, std::int32_t key) {
  if (kind == kKindProtectiveDevice) {
    tbClass* objects = model.OpenObjectTable(kind);
    return modelClass::SeekExact(objects, key) ? ProtectiveDeviceRec(objects->Record()).Name()
                                               : std::string();
  }
  sprClass* book = model.Book();
  const std::int32_t type = ObjectType(model, kind, key);
  if (book == nullptr || type == 0 || !book->FindType(kind, type)) return {};
  std::string text = book->TypeDesignation(kind);
  if (text.empty() && book->FindType(kind, type)) {
    text = BookRecordName(kind, book->CurrentRecord(kind));
  }
  return text;
}

}  // namespace

bool CellTable::Build(TableForm& form) {
  UiHost& ui = Model().Ui();
  if (node_ <= 0) {
    ui.ShowError(kMessageCaption, "Следует выделить узел");
    return false;
  }
  kinds_ = TemplateKinds();
  if (kinds_.empty()) {
    ui.ShowError(kMessageCaption, "Для узла должен быть указан тип присоединения");
    return false;
  }
  form.caption = kCaption;
  form.name = "Cells";
  form.head1 = "Присоединение#P";
  form.head2 = "#кВт";
  form.fieldNames = "Name#P";
  for (const int kind : kinds_) {
    form.head1 += "#" + KindName(kind);
    form.head2 += "#";
    form.fieldNames += "#" + KindName(kind);
  }
  form.displayCodes = "LC" + std::string(kMaxTableColumns - 3, 'C');

  CalcClass& calc = Calc();
  if (!calc.TraceTree(Model().FeedingSourceOfNode(node_))) return true;
  for (int i = 2; i <= calc.Count() && !Full(); ++i) {
    if (EntryNode(i) == node_) AddRow(RowText(Connection(i)));
  }
  return true;
}

std::vector<int> CellTable::TemplateKinds() {
  modelClass& model = Model();
  sprClass* book = model.Book();
  if (!modelClass::SeekExact(model.Nodes(), node_)) return {};
  const int type = NodeRec(model.Nodes()->Record()).NodeType();
  if (type == 0 || book == nullptr || !book->FindType(book::kTemplateTable, type)) return {};
  const book::CompositionTemplateRec composition(book->CurrentRecord(book::kTemplateTable));
  std::vector<int> kinds;
  for (int slot = 0; slot < book::CompositionTemplateRec::kSlots; ++slot) {
    if (composition.Slot(slot) != 0) kinds.push_back(composition.Slot(slot));
  }
  return kinds;
}

int CellTable::EntryNode(int position) {
  const ElementRec& e = Calc().Element(position);
  if (e.signedKey > 0) return NodeOfKey(e.signedKey);
  tbClass* branches = Model().Branches();
  if (!modelClass::SeekExact(branches, -e.signedKey)) return 0;
  return NodeOfKey(BranchRec(branches->Record()).KeyEnd());
}

int CellTable::ExitNode(int position) {
  const ElementRec& e = Calc().Element(position);
  if (e.signedKey < 0) return NodeOfKey(-e.signedKey);
  tbClass* branches = Model().Branches();
  if (!modelClass::SeekExact(branches, e.signedKey)) return 0;
  return NodeOfKey(BranchRec(branches->Record()).KeyEnd());
}

// A connection runs along its series section until the section ends or
// branches, or until it reaches a designated node.
std::vector<int> CellTable::Connection(int first) {
  CalcClass& calc = Calc();
  const int level = calc.Element(first).level;
  std::vector<int> positions;
  for (int j = first; j <= calc.Count(); ++j) {
    positions.push_back(j);
    const ElementRec& e = calc.Element(j);
    if (e.endOfSection != 0 || j == calc.Count() || calc.Element(j + 1).level != level) break;
    if (!MarkingText(Model(), NodeMarkingCode(ExitNode(j))).empty()) break;
  }
  return positions;
}

std::string CellTable::RowText(const std::vector<int>& connection) {
  modelClass& model = Model();
  const ElementRec& first = Calc().Element(connection.front());
  std::string text = EndOfConnection(model, first).name + NumberCell(first.installedPower);
  std::vector<bool> used(connection.size(), false);
  for (const int kind : kinds_) {
    std::string cell;
    for (std::size_t c = 0; c < connection.size(); ++c) {
      const ElementRec& e = Calc().Element(connection[c]);
      if (used[c] || e.kind != kind) continue;
      used[c] = true;
      cell = EquipmentText(model, kind, BranchKeyOf(e));
      break;
    }
    text += Cell(cell);
  }
  return text;
}

}  // namespace kordavelt
