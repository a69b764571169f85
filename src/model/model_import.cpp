#include "model/model_import.h"

#include <algorithm>
#include <functional>
#include <limits>

#include "base/cp1251.h"
#include "base/paste_values.h"
#include "exchange/get_class.h"
#include "model/marka_class.h"
#include "model/model_class.h"
#include "model/model_exchange_format.h"
#include "model/model_import_check.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/model_tables.h"
#include "model/object_records.h"
#include "model/scheme_records.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

bool SameDesignation(std::string_view a, std::string_view b) {
  return FoldDesignation(a) == FoldDesignation(b);
}

std::string CutDesignation(std::string_view text) {
  return std::string(Utf8Prefix(text, MarkaClass::kTextLength));
}

template <typename T>
T Narrow(std::int64_t value) {
  return static_cast<T>(value);
}

bool ValidNode(std::int64_t node) { return node >= 1 && node <= kMaxNodeNumber; }

// The key after the table's last; 0 when the last is the largest the table
// may hold already (a damaged table may hold any key).
std::int32_t KeyAfterLast(tbClass* table, std::int32_t largest) {
  const std::int32_t last = table->LastKey();
  return last < 0 || last >= largest ? 0 : last + 1;
}

class ModelReader {
 public:
  ModelReader(modelClass& model, GetClass& get)
      : model_(model), get_(get), index_(model.Designations()) {}

  ModelImportCounts Read() {
    // A file of bare receiver rows imports as receivers.
    section_ = kSectionConsumer;
    get_.SetFieldNames(SectionHeader(section_));
    while (get_.ReadRecord()) {
      if (get_.IsTableStart()) {
        StartSection(get_.Record());
        continue;
      }
      if (ApplyRow()) {
        ++counts_.applied;
      } else {
        ++counts_.skipped;
      }
    }
    return counts_;
  }

 private:
  void StartSection(const std::string& name) {
    section_ = SectionOfName(name);
    get_.SetFieldNames(SectionHeader(section_));
    const int kind = ObjectKindOfSection(section_);
    if (kind != 0) model_.OpenObjectTable(kind);
  }

  bool ApplyRow() {
    switch (section_) {
      case kSectionRoom:
        return ApplyRoom();
      case kSectionConsumer:
        return ApplyConsumer();
      case kSectionPowerSupply:
        return ApplySource();
      case kSectionNode:
        return ApplyNode();
      case kSectionXYNode:
        return ApplyNodePosition();
      case kSectionXYBranch:
        return ApplyBranchDrawing();
      case kSectionXYPage:
        return ApplyPage();
      case kSectionName:
        return ApplyName();
      default: {
        // An unknown section's rows belong to no table, and never to the previous one.
        const int kind = ObjectKindOfSection(section_);
        return kind != 0 && ApplyObject(kind);
      }
    }
  }

  // --- Designations ----------------------------------------------------------------

  // The key `text` has in the designation index when `fits` accepts it as a
  // record of the table at hand; 0 otherwise (the index holds the
  // designations of every table under one name space).
  std::int32_t KeyOfDesignation(const std::string& text,
                                const std::function<bool(std::int32_t)>& fits) const {
    if (text.empty()) return 0;
    const std::int32_t key = index_.KeyOf(text);
    return key != 0 && fits(key) ? key : 0;
  }

  // The designation a room, source or receiver keeps after a row gave it `d`:
  // a text another record holds is refused (the old one stays), the index
  // follows every change.
  std::string NewDesignation(const std::string& old, const std::string& d, std::int32_t key) {
    const std::string text = CutDesignation(d);
    if (!old.empty() && SameDesignation(old, text)) return text;
    if (!text.empty() && index_.Find(text).found) return old;
    if (!old.empty() && index_.KeyOf(old) == key) index_.Remove(old);
    if (!text.empty()) index_.Add(text, key);
    return text;
  }

  // The marking of a node (node × 256) or branch: a new one is inserted,
  // an existing one renamed; a text taken by another record changes nothing.
  void StoreMarking(std::int32_t code, const std::string& d) {
    const std::string text = CutDesignation(d);
    if (text.empty()) return;
    tbClass* markings = model_.Markings();
    if (!modelClass::SeekExact(markings, code)) {
      index_.AddMarking(text, code, *markings);
      return;
    }
    const std::string old = MarkingRec(markings->Record()).Text();
    if (old == text) return;
    if (!SameDesignation(old, text)) {
      if (index_.Find(text).found) return;
      if (!old.empty() && index_.KeyOf(old) == code) index_.Remove(old);
      index_.Add(text, code);
    }
    MarkingRec(markings->Record()).SetText(text);
    markings->MarkModifiedAndFlush();
  }

  bool MarkingIs(std::int32_t code, const std::string& text) {
    tbClass* markings = model_.Markings();
    return modelClass::SeekExact(markings, code) &&
           SameDesignation(MarkingRec(markings->Record()).Text(), text);
  }

  // --- Topology helpers --------------------------------------------------------------

  bool EnsureNode(int node) {
    return ValidNode(node) && modelClass::PositionOrInsert(model_.Nodes(), node);
  }

  // Branch `key` exists to carry an object of `kind`: inserted with its start
  // node when missing (never on a slot a far end holds); an object of another
  // kind it carried before is deleted. The branch table stands on it.
  bool PlaceBranch(std::int32_t key, int kind) {
    tbClass* branches = model_.Branches();
    if (!modelClass::SeekExact(branches, key)) {
      if (modelClass::SeekExact(model_.FarEnds(), key)) return false;
      if (!EnsureNode(NodeOfKey(key))) return false;
      branches->Insert(key);
      if (branches->Status() != kStatusOk || branches->Record().empty()) return false;
      return true;
    }
    const int oldKind = BranchRec(branches->Record()).Kind();
    if (oldKind != kind && oldKind != 0 && ObjectTableOfKind(oldKind) != 0) {
      tbClass* old = model_.OpenObjectTable(oldKind);
      if (modelClass::SeekExact(old, key)) old->Delete();
    }
    return modelClass::SeekExact(branches, key);
  }

  // The far-end record that `keyEnd` asks for, holding branch `key`; an
  // invalid key or a slot another branch end holds is replaced by a free slot
  // of the end node. Returns the key of the far end in use (0 for none). A
  // far end the branch had before is dropped.
  std::int32_t PlaceFarEnd(std::int32_t key, std::int32_t oldKeyEnd, std::int32_t keyEnd) {
    tbClass* farEnds = model_.FarEnds();
    const int endNode = NodeOfKey(keyEnd);
    if (keyEnd != 0 &&
        (!ValidNode(endNode) || endNode == NodeOfKey(key) || SlotOfKey(keyEnd) == 0)) {
      keyEnd = 0;
    }
    if (keyEnd != 0) {
      bool usable = false;
      if (modelClass::SeekExact(farEnds, keyEnd)) {
        usable = FarEndRec(farEnds->Record()).BranchKey() == key;
        if (usable) EnsureNode(endNode);
      } else if (!modelClass::SeekExact(model_.Branches(), keyEnd)) {
        usable = InsertFarEnd(keyEnd, key);
      }
      if (!usable) {
        keyEnd = EnsureNode(endNode) ? model_.FreeSlotKey(endNode) : 0;
        if (keyEnd != 0 && !InsertFarEnd(keyEnd, key)) keyEnd = 0;
      }
    }
    if (oldKeyEnd != 0 && oldKeyEnd != keyEnd && modelClass::SeekExact(farEnds, oldKeyEnd) &&
        FarEndRec(farEnds->Record()).BranchKey() == key) {
      farEnds->Delete();
    }
    return keyEnd;
  }

  bool InsertFarEnd(std::int32_t keyEnd, std::int32_t key) {
    if (!EnsureNode(NodeOfKey(keyEnd))) return false;
    tbClass* farEnds = model_.FarEnds();
    farEnds->Insert(keyEnd);
    if (farEnds->Status() != kStatusOk || farEnds->Record().empty()) return false;
    FarEndRec(farEnds->Record()).SetBranchKey(key);
    farEnds->MarkModifiedAndFlush();
    return true;
  }

  // Writes the branch record's own fields; `flags` < 0 keeps the flags byte.
  void WriteBranch(std::int32_t key, std::int32_t keyEnd, int flags, int status, int kind) {
    tbClass* branches = model_.Branches();
    if (!modelClass::SeekExact(branches, key)) return;
    BranchRec branch(branches->Record());
    branch.SetKeyEnd(keyEnd);
    if (flags >= 0) branch.SetPhase(Narrow<std::uint8_t>(flags));
    branch.SetStatus(Narrow<std::uint16_t>(status));
    branch.SetKind(Narrow<std::uint8_t>(kind));
    branches->MarkModifiedAndFlush();
  }

  std::int32_t KeyEndOf(std::int32_t key) {
    tbClass* branches = model_.Branches();
    return modelClass::SeekExact(branches, key) ? BranchRec(branches->Record()).KeyEnd() : 0;
  }

  // A one-ended branch of a source or receiver: placed, its object record
  // positioned (inserted when missing); false when either cannot be had.
  tbClass* PlaceOneEndedBranch(std::int32_t key, int kind) {
    const int slot = SlotOfKey(key);
    if (!ValidNode(NodeOfKey(key)) || (slot == 0 && kind != kKindPowerSource)) return nullptr;
    if (!PlaceBranch(key, kind)) return nullptr;
    tbClass* objects = model_.OpenObjectTable(kind);
    if (!modelClass::PositionOrInsert(objects, key)) return nullptr;
    return objects;
  }

  // --- Sections --------------------------------------------------------------------------

  bool ApplyRoom() {
    tbClass* rooms = model_.Rooms();
    const std::string d = get_.GetStr(0);
    std::int32_t k = get_.GetInt(1);
    if (k > 0) {
      if (!modelClass::PositionOrInsert(rooms, k)) return false;
    } else {
      k = KeyOfDesignation(d, [&](std::int32_t key) {
        return modelClass::SeekExact(rooms, key) &&
               SameDesignation(RoomRec(rooms->Record()).Descript(), d);
      });
      if (k == 0) {
        if (d.empty() || index_.Find(d).found) return false;
        k = KeyAfterLast(rooms, std::numeric_limits<std::int32_t>::max());
        if (k == 0) return false;
      }
      if (!modelClass::PositionOrInsert(rooms, k)) return false;
    }
    RoomRec room(rooms->Record());
    room.SetDescript(NewDesignation(room.Descript(), d, k));
    room.SetName(get_.GetStr(2));
    // Rooms are measured in metres with fractions; integers would cut them.
    room.SetXmin(static_cast<float>(get_.GetReal(3)));
    room.SetYmin(static_cast<float>(get_.GetReal(4)));
    room.SetZmin(static_cast<float>(get_.GetReal(5)));
    room.SetDX(static_cast<float>(get_.GetReal(6)));
    room.SetDY(static_cast<float>(get_.GetReal(7)));
    room.SetDZ(static_cast<float>(get_.GetReal(8)));
    room.SetAngle(static_cast<float>(get_.GetReal(9)));
    room.SetTv(static_cast<float>(get_.GetReal(10)));
    room.SetQtv(static_cast<float>(get_.GetReal(11)));
    room.SetColor(get_.GetInt(12));
    rooms->MarkModifiedAndFlush();
    return true;
  }

  bool ApplySource() {
    tbClass* sources = model_.Sources();
    const std::string d = get_.GetStr(0);
    std::int32_t k = get_.GetInt(1);
    if (k == 0 || k > kMaxSourceNumber) return false;
    if (k < 0) {
      k = KeyOfDesignation(d, [&](std::int32_t key) {
        return modelClass::SeekExact(sources, key) &&
               SameDesignation(SourceRec(sources->Record()).Marking(), d);
      });
      if (k == 0) {
        if (d.empty() || index_.Find(d).found) return false;
        k = KeyAfterLast(sources, kMaxSourceNumber);
        if (k == 0) return false;
      }
    }
    if (!modelClass::PositionOrInsert(sources, k)) return false;
    {
      SourceRec source(sources->Record());
      source.SetMarking(NewDesignation(source.Marking(), d, k));
      const int voltage = VoltageIndexOf(model_.Settings(), get_.GetStr(2));
      if (voltage != kNoIndex) source.SetVoltageIndex(Narrow<std::uint8_t>(voltage));
      // The design load as exported, until the next calculation computes it.
      source.SetDesignP(static_cast<float>(get_.GetReal(3)));
      source.SetDesignQ(static_cast<float>(get_.GetReal(4)));
      source.SetColour(get_.GetInt(6));
      sources->MarkModifiedAndFlush();
    }

    const std::int32_t b = get_.GetCode(7, 8);
    if (b <= 0) return true;
    const std::int32_t oldKeyEnd = KeyEndOf(b);
    tbClass* objects = PlaceOneEndedBranch(b, kKindPowerSource);
    if (objects == nullptr) return true;
    SourceObjectRec object(objects->Record());
    object.SetUr(static_cast<float>(get_.GetReal(9)));
    object.SetIk3(static_cast<float>(get_.GetReal(10)));
    object.SetIk1(static_cast<float>(get_.GetReal(11)));
    object.SetTa(static_cast<float>(get_.GetReal(12)));
    object.SetSourceNumber(k);
    objects->MarkModifiedAndFlush();
    PlaceFarEnd(b, oldKeyEnd, 0);
    WriteBranch(b, 0, -1, get_.GetInt(8), kKindPowerSource);
    if (modelClass::SeekExact(sources, k)) {
      SourceRec(sources->Record()).SetBranchKey(b);
      sources->MarkModifiedAndFlush();
    }
    return true;
  }

  bool ApplyConsumer();

  bool ApplyNode() {
    tbClass* nodes = model_.Nodes();
    const std::string d = get_.GetStr(0);
    std::int32_t n = get_.GetInt(1);
    if (n == 0 || n > kMaxNodeNumber) return false;
    if (n < 0) {
      const std::int32_t code = KeyOfDesignation(d, [&](std::int32_t key) {
        return SlotOfKey(key) == 0 && modelClass::SeekExact(nodes, NodeOfKey(key));
      });
      if (code == 0) return false;
      n = NodeOfKey(code);
    }
    StoreMarking(NodeMarkingCode(n), d);
    if (!modelClass::PositionOrInsert(nodes, n)) return false;
    NodeRec node(nodes->Record());
    node.SetCodRoom(Narrow<std::uint16_t>(get_.GetInt(2)));
    node.SetX(Narrow<std::int16_t>(get_.GetInt(3)));
    node.SetY(Narrow<std::int16_t>(get_.GetInt(4)));
    node.SetZ(Narrow<std::int16_t>(get_.GetInt(5)));
    const int voltage = VoltageIndexOf(model_.Settings(), get_.GetStr(6));
    if (voltage != kNoIndex) node.SetUnom(Narrow<std::uint8_t>(voltage));
    node.SetKo(static_cast<float>(get_.GetReal(7)));
    node.SetKeyName(Narrow<std::uint16_t>(get_.GetInt(8)));
    nodes->MarkModifiedAndFlush();
    return true;
  }

  // The key of a branch row (item 1): by key, else by its marking.
  std::int32_t BranchKeyOfRow(const std::string& d) {
    const std::int32_t k = get_.GetCode(1, 8);
    if (k > 0) return k;
    if (k == 0) return 0;
    return KeyOfDesignation(d, [&](std::int32_t key) {
      return modelClass::SeekExact(model_.Branches(), key) && MarkingIs(key, d);
    });
  }

  bool ApplyObject(int kind) {
    const std::string d = get_.GetStr(0);
    const std::int32_t k = BranchKeyOfRow(d);
    // Slot 0 belongs to a power source's branch alone.
    if (k <= 0 || !ValidNode(NodeOfKey(k)) || SlotOfKey(k) == 0) return false;
    const std::int32_t oldKeyEnd = KeyEndOf(k);
    if (!PlaceBranch(k, kind)) return false;
    StoreMarking(k, d);
    tbClass* objects = model_.OpenObjectTable(kind);
    if (!modelClass::PositionOrInsert(objects, k)) return false;
    ReadObjectValues(kind, objects->Record());
    objects->MarkModifiedAndFlush();
    const std::int32_t keyEnd = PlaceFarEnd(k, oldKeyEnd, get_.GetCode(2, 8));
    WriteBranch(k, keyEnd, get_.GetInt(3), get_.GetInt(4), kind);
    return true;
  }

  void ReadObjectValues(int kind, Bytes record) {
    const auto real = [this](int i) { return static_cast<float>(get_.GetReal(i)); };
    const auto u8 = [this](int i) { return Narrow<std::uint8_t>(get_.GetInt(i)); };
    switch (kind) {
      case kKindAbstractBranch: {
        AbstractBranchRec o(record);
        o.SetType(get_.GetStr(5));
        o.SetR1(real(6));
        o.SetX1(real(7));
        o.SetR0(real(8));
        o.SetX0(real(9));
        break;
      }
      case kKindCableLine: {
        CableLineRec o(record);
        o.SetType(get_.GetInt(5));
        o.SetNk(u8(6));
        o.SetType2(get_.GetInt(7));
        o.SetNk2(u8(8));
        o.SetL(real(9));
        o.SetKpr(real(10));
        const int laying = get_.GetIndex(11, kLayingList);
        if (laying != kNoIndex) o.SetCodepr(Narrow<std::uint8_t>(laying));
        o.SetKdk(u8(12));
        break;
      }
      case kKindWiring: {
        WiringRec o(record);
        o.SetType(get_.GetInt(5));
        o.SetTypeN(get_.GetInt(6));
        o.SetNcond(u8(7));
        o.SetL(real(8));
        o.SetKpr(real(9));
        const int laying = get_.GetIndex(10, kWiringLayingList);
        if (laying != kNoIndex) o.SetCabining(Narrow<std::uint8_t>(laying));
        o.SetKdp(u8(11));
        break;
      }
      case kKindOverheadLine: {
        OverheadLineRec o(record);
        o.SetType(get_.GetInt(5));
        o.SetTypeN(get_.GetInt(6));
        o.SetL(real(7));
        o.SetDsg(real(8));
        o.SetRzaz(real(9));
        o.SetNzaz(u8(10));
        break;
      }
      case kKindTrunkingK: {
        TrunkingRec o(record);
        o.SetType(get_.GetInt(5));
        o.SetL(real(6));
        o.SetN(Narrow<std::uint16_t>(get_.GetInt(7)));
        break;
      }
      case kKindTrunkingN:
        BusbarTrunkingRec(record).SetL(real(5));
        break;
      case kKindFuse: {
        FuseRec o(record);
        o.SetType(get_.GetInt(5));
        o.SetInom(real(6));
        o.SetIpv(real(7));
        break;
      }
      case kKindBreaker: {
        BreakerRec o(record);
        o.SetType(get_.GetInt(5));
        o.SetIr(real(6));
        break;
      }
      case kKindTransformer: {
        TransformerRec o(record);
        o.SetType(get_.GetInt(5));
        o.SetUv(real(6));
        o.SetUn(real(7));
        o.SetPk(real(8));
        o.SetUk(real(9));
        o.SetPh(real(10));
        o.SetIh(real(11));
        o.SetNreg(Narrow<std::int8_t>(get_.GetInt(12)));
        break;
      }
      case kKindCapacitorBank: {
        CapacitorBankRec o(record);
        o.SetType(get_.GetInt(5));
        o.SetNbk(u8(6));
        const int phase = get_.GetIndex(7, kPhaseConnectionList);
        if (phase != kNoIndex) o.SetPhaseIndex(Narrow<std::uint8_t>(phase));
        break;
      }
      case kKindSockets: {
        SocketsRec o(record);
        o.SetN3(get_.GetInt(5));
        o.SetNa(get_.GetInt(6));
        o.SetNb(get_.GetInt(7));
        o.SetNc(get_.GetInt(8));
        break;
      }
      case kKindStarter:
        StarterRec(record).SetType(get_.GetInt(5));
        break;
      default:  // switches, stabilisers, reactors, current transformers
        TypeOnlyRec(record).SetType(get_.GetInt(5));
        break;
    }
  }

  bool ApplyNodePosition() {
    tbClass* positions = model_.OpenSchemeTable(kXYNodeTable);
    if (positions == nullptr) return false;
    const std::string d = get_.GetStr(0);
    std::int32_t n = get_.GetInt(1);
    if (n > kMaxNodeNumber) return false;
    if (n <= 0) {
      const std::int32_t code = KeyOfDesignation(
          d, [](std::int32_t key) { return SlotOfKey(key) == 0 && ValidNode(NodeOfKey(key)); });
      if (code == 0 || !MarkingIs(code, d)) return false;
      n = NodeOfKey(code);
    }
    // A node drawn on several subschemes has one record per subscheme.
    const int page = get_.GetInt(8);
    bool found = false;
    positions->Seek(n);
    while (positions->Status() == kStatusOk && !positions->Record().empty() &&
           positions->Key() == n) {
      if (XYNodeRec(positions->Record()).Page() == page) {
        found = true;
        break;
      }
      if (!positions->Next()) break;
    }
    if (!found) {
      positions->Insert(n);
      if (positions->Status() != kStatusOk || positions->Record().empty()) return false;
    }
    XYNodeRec xy(positions->Record());
    xy.SetVertical(get_.GetBool(2) ? 1 : 0);
    xy.SetX(Narrow<std::int16_t>(get_.GetInt(3)));
    xy.SetY(Narrow<std::int16_t>(get_.GetInt(4)));
    xy.SetL(Narrow<std::uint8_t>(get_.GetInt(5)));
    xy.SetTextDir(Narrow<std::uint8_t>(get_.GetInt(6)));
    xy.SetTextPos(Narrow<std::uint8_t>(get_.GetInt(7)));
    xy.SetPage(Narrow<std::uint8_t>(page));
    positions->MarkModifiedAndFlush();
    return true;
  }

  // The kind a drawing's ObjType names: the kind table's, a code written as
  // a number, or, for an empty name, the branch's own kind when the table has
  // no name for it (generators, protective devices, lighting, motors).
  int DrawingKind(std::int32_t key) {
    const std::string text = get_.GetStr(2);
    const int position = get_.GetIndex(2, kImportSectionNames);
    if (position != kNoIndex && KindOfSection(position) != 0) return KindOfSection(position);
    if (!text.empty()) {
      const int code = get_.GetInt(2);
      return code > 0 && code <= 255 ? code : 0;
    }
    tbClass* branches = model_.Branches();
    if (!modelClass::SeekExact(branches, key)) return 0;
    const int kind = BranchRec(branches->Record()).Kind();
    return SectionNameOfKind(kind).empty() ? kind : 0;
  }

  bool ApplyBranchDrawing() {
    tbClass* drawings = model_.OpenSchemeTable(kXYBranchTable);
    const std::string d = get_.GetStr(0);
    const std::int32_t k = BranchKeyOfRow(d);
    if (k <= 0 || drawings == nullptr) return false;
    const int kind = DrawingKind(k);
    if (!modelClass::PositionOrInsert(drawings, k)) return false;
    XYBranchRec xy(drawings->Record());
    xy.SetObjType(Narrow<std::uint8_t>(kind));
    xy.SetVertical(get_.GetBool(3) ? 1 : 0);
    xy.SetObjMirror(Narrow<std::int8_t>(get_.GetInt(4)));
    xy.SetObjPos(Narrow<std::int16_t>(get_.GetInt(5)));
    xy.SetTextPos(Narrow<std::int16_t>(get_.GetInt(6)));
    xy.SetTextDX(Narrow<std::int8_t>(get_.GetInt(7)));
    xy.SetTextDY(Narrow<std::int8_t>(get_.GetInt(8)));
    xy.SetTextDir(Narrow<std::uint8_t>(get_.GetInt(9)));
    xy.SetPage(Narrow<std::uint8_t>(get_.GetInt(10)));
    const int segments = std::clamp(get_.GetInt(11), 0, XYBranchRec::kMaxSegments);
    xy.SetNxy(Narrow<std::uint8_t>(segments));
    for (int i = 0; i < segments + 2; ++i) xy.SetXy(i, Narrow<std::int16_t>(get_.GetInt(12 + i)));
    drawings->MarkModifiedAndFlush();
    return true;
  }

  bool ApplyPage() {
    tbClass* pages = model_.OpenSchemeTable(kXYPageTable);
    const std::int32_t p = get_.GetInt(0);
    if (p <= 0 || !modelClass::PositionOrInsert(pages, p)) return false;
    XYPageRec page(pages->Record());
    page.SetName(get_.GetStr(1));
    page.SetX0(Narrow<std::int16_t>(get_.GetInt(2)));
    page.SetY0(Narrow<std::int16_t>(get_.GetInt(3)));
    page.SetSt(Narrow<std::int16_t>(get_.GetInt(4)));
    page.SetScale(Narrow<std::int16_t>(get_.GetInt(5)));
    pages->MarkModifiedAndFlush();
    return true;
  }

  bool ApplyName() {
    tbClass* names = model_.Names();
    const std::int32_t k = get_.GetInt(0);
    if (k <= 0 || !modelClass::PositionOrInsert(names, k)) return false;
    NameRec(names->Record()).SetText(get_.GetStr(1));
    names->MarkModifiedAndFlush();
    return true;
  }

  modelClass& model_;
  GetClass& get_;
  MarkaClass& index_;
  int section_ = kSectionConsumer;
  ModelImportCounts counts_;
};

// The phase connection of a receiver whose phase text is not in the list:
// from the number of phases (and, for three phases, whether it is a motor).
int PhaseFromPhaseCount(int phases, int groupKind) {
  switch (phases) {
    case 0:
    case 3:
      return groupKind >= 1 && groupKind <= 4 ? 1 : 0;  // АД, СД, АД2, ЭД: "ABC"
    case 1:
      return 2;  // "A0"
    case 2:
      return 5;  // "AB"
    default:
      return 0;
  }
}

bool ModelReader::ApplyConsumer() {
  tbClass* receivers = model_.Receivers();
  tbClass* groups = model_.Groups();
  const std::string d = get_.GetStr(0);
  std::string e = get_.GetStr(1);
  const auto isReceiverOf = [&](const std::string& text) {
    return [&, text](std::int32_t key) {
      return modelClass::SeekExact(receivers, key) &&
             SameDesignation(ReceiverRec(receivers->Record()).Marking(), text);
    };
  };

  // 1. The receiver by its key (a valid group and number) or its designation.
  std::int32_t key = get_.GetCode(2, 10);
  if (key <= 0 || GroupOfKey(key) < 1 || NumberInGroup(key) < 1) key = 0;
  bool inserted = false;
  if (key == 0) key = KeyOfDesignation(d, isReceiverOf(d));
  if (key != 0) {
    inserted = !modelClass::SeekExact(receivers, key);
    if (!modelClass::PositionOrInsert(groups, GroupOfKey(key))) return false;
    if (!modelClass::PositionOrInsert(receivers, key)) return false;
  } else {
    // 2. A new receiver in the group its group designation names, or a new group.
    if (d.empty() || index_.Find(d).found) return false;
    if (e.empty()) e = d;
    int group = 0;
    if (index_.Find(e).found) {
      const std::int32_t named = KeyOfDesignation(e, isReceiverOf(e));
      if (named == 0) return false;
      group = GroupOfKey(named);
      if (!modelClass::SeekExact(groups, group)) return false;
    } else {
      group = KeyAfterLast(groups, kMaxGroupNumber);
      if (group == 0 || !modelClass::PositionOrInsert(groups, group)) return false;
    }
    int number = 1;
    for (; number <= kMaxReceiverInGroup; ++number) {
      if (!modelClass::SeekExact(receivers, ReceiverKey(group, number))) break;
    }
    if (number > kMaxReceiverInGroup) return false;
    key = ReceiverKey(group, number);
    receivers->Insert(key);
    if (receivers->Status() != kStatusOk || receivers->Record().empty()) return false;
    inserted = true;
  }

  // 3. The group's data (every receiver row of a group carries them).
  const int groupKey = GroupOfKey(key);
  int groupKind = 0;
  if (modelClass::SeekExact(groups, groupKey)) {
    GroupRec group(groups->Record());
    group.SetName(get_.GetStr(10));
    group.SetType(get_.GetStr(11));
    group.SetKeyType(get_.GetInt(12));
    group.SetKeyMech(get_.GetInt(13));
    group.SetUnom(static_cast<float>(get_.GetReal(14)));
    const int phases = get_.GetInt(15);
    group.SetNphase(Narrow<std::uint8_t>(phases == 0 ? 3 : phases));
    const int regime = get_.GetIndex(16, kExchangeRegimeList);
    group.SetRegim(Narrow<std::uint8_t>(regime == kNoIndex ? 0 : regime));
    groupKind = get_.GetIndex(17, kExchangeKindList);
    if (groupKind == kNoIndex) groupKind = 0;
    group.SetClass(Narrow<std::uint8_t>(groupKind));
    group.SetP(static_cast<float>(get_.GetReal(18)));
    group.SetQ(static_cast<float>(get_.GetReal(19)));
    group.SetIstart(static_cast<float>(get_.GetReal(20)));
    group.SetCosFstart(static_cast<float>(get_.GetReal(21)));
    group.SetTstart(static_cast<float>(get_.GetReal(22)));
    group.SetKv(static_cast<float>(get_.GetReal(23)));
    group.SetKz(static_cast<float>(get_.GetReal(24)));
    group.SetKpv(static_cast<float>(get_.GetReal(25)));
    group.SetTc(static_cast<float>(get_.GetReal(26)));
    // The group's count of receivers follows the receivers it holds.
    if (inserted) group.SetReceiverCount(Narrow<std::uint16_t>(group.ReceiverCount() + 1));
    groups->MarkModifiedAndFlush();
  }

  // 4. The receiver's own data.
  if (!modelClass::SeekExact(receivers, key)) return false;
  {
    ReceiverRec receiver(receivers->Record());
    receiver.SetMarking(NewDesignation(receiver.Marking(), d, key));
    receiver.SetSourceNumber(Narrow<std::uint8_t>(get_.GetInt(3)));
    receiver.SetRoom(Narrow<std::uint16_t>(get_.GetInt(4)));
    receiver.SetX(Narrow<std::int16_t>(get_.GetInt(5)));
    receiver.SetY(Narrow<std::int16_t>(get_.GetInt(6)));
    receiver.SetZ(Narrow<std::int16_t>(get_.GetInt(7)));
    int phase = get_.GetIndex(8, kPhaseConnectionList);
    if (phase == kNoIndex) phase = PhaseFromPhaseCount(get_.GetInt(15), groupKind);
    receiver.SetPhaseIndex(Narrow<std::uint8_t>(phase));
    receiver.SetSwitchedOn(get_.GetBool(9) ? 1 : 0);
    receivers->MarkModifiedAndFlush();
  }

  // 5. The receiver's branch.
  const std::int32_t b = get_.GetCode(27, 8);
  if (b <= 0) return true;
  const std::int32_t oldKeyEnd = KeyEndOf(b);
  tbClass* objects = PlaceOneEndedBranch(b, kKindReceiver);
  if (objects == nullptr) return true;
  ReceiverObjectRec(objects->Record()).SetReceiverKey(key);
  objects->MarkModifiedAndFlush();
  PlaceFarEnd(b, oldKeyEnd, 0);
  WriteBranch(b, 0, -1, get_.GetInt(28), kKindReceiver);
  if (modelClass::SeekExact(receivers, key)) {
    ReceiverRec(receivers->Record()).SetBranchKey(b);
    receivers->MarkModifiedAndFlush();
  }
  return true;
}

// The error box of a refused file: what happened, then its first problems,
// one per line.
std::string RefusalText(const ModelImportCounts& counts) {
  constexpr int kShown = 10;
  std::string text =
      "Файл не принят, модель не изменена. Ошибок: " + std::to_string(counts.problemCount);
  const int shown = std::min(kShown, static_cast<int>(counts.problems.size()));
  for (int i = 0; i < shown; ++i) text += "#" + counts.problems[static_cast<std::size_t>(i)];
  if (counts.problemCount > shown) text += "#…";
  return text;
}

}  // namespace

ModelImportCounts ReadModel(modelClass& model, GetClass& get) {
  if (!model.Usable() || !get.IsOpen()) return {};
  ModelImportReport report = CheckModelFile(get, model.Settings());
  if (report.problemCount == 0 && !get.Reopen()) report.Add("файл не открывается повторно");
  if (report.problemCount > 0) {
    ModelImportCounts refused;
    refused.problems = std::move(report.problems);
    refused.problemCount = report.problemCount;
    refused.refused = true;
    return refused;
  }
  const ModelImportCounts counts = ModelReader(model, get).Read();
  model.Refresh(RefreshSender::None, 2);
  return counts;
}

bool ImportModel(modelClass& model, UiHost& ui, char separator) {
  if (!model.Usable()) return false;
  GetClass get(ui, model.Files(), separator);
  if (!get.Open("Импорт модели", model.FileName())) return false;
  const ModelImportCounts counts = ReadModel(model, get);
  if (get.Failed()) return false;  // GetClass has shown why
  if (counts.refused) {
    ui.ShowError("Импорт", RefusalText(counts));
    return false;
  }
  ui.ShowInfo("Импорт", "Ввод модели выполнен");
  return true;
}

}  // namespace kordavelt
