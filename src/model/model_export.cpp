#include "model/model_export.h"

#include <cmath>
#include <functional>

#include "base/number_format.h"
#include "exchange/put_class.h"
#include "model/model_class.h"
#include "model/model_exchange_format.h"
#include "model/model_keys.h"
#include "model/model_kinds.h"
#include "model/model_records.h"
#include "model/model_tables.h"
#include "model/object_records.h"
#include "model/scheme_records.h"
#include "ui/ui_host.h"

namespace kordavelt {
namespace {

// Object sections after the node section, in the order written.
struct ObjectSection {
  int section;  // its field list
  int kind;
  std::string_view name;
};

constexpr ObjectSection kObjectSections[] = {
    {kSectionBranch, kKindAbstractBranch, "Branch"},
    {kSectionCable, kKindCableLine, "Cable"},
    {kSectionWiring, kKindWiring, "Wiring"},
    {kSectionPowerLine, kKindOverheadLine, "PowerLine"},
    {kSectionBusway, kKindTrunkingK, "Busway"},
    {kSectionBuswayS, kKindTrunkingN, kBuswaySName},
    {kSectionFuse, kKindFuse, "Fuse"},
    {kSectionBreaker, kKindBreaker, "Breaker"},
    {kSectionSwitch, kKindSwitch, "Switch"},
    {kSectionStarter, kKindStarter, "Starter"},
    {kSectionTransf, kKindTransformer, "Transf"},
    {kSectionCTransf, kKindCurrentTransformer, kCTransfName},
    {kSectionStabilizer, kKindStabiliser, "Stabilizer"},
    {kSectionReaktor, kKindReactor, "Reaktor"},
    {kSectionCapacitor, kKindCapacitorBank, "Capacitor"},
    {kSectionSocket, kKindSockets, "Socket"},
};

class ModelWriter {
 public:
  ModelWriter(modelClass& model, PutClass& put) : model_(model), put_(put) {}

  bool Write() {
    WriteRooms();
    WriteConsumers();
    WriteSources();
    WriteNodes();
    for (const ObjectSection& section : kObjectSections) WriteObjects(section);
    WriteNodePositions();
    WriteBranchDrawings();
    WritePages();
    WriteNames();
    return ok_;
  }

 private:
  void Begin(int section, std::string_view name) { put_.BeginTable(name, SectionHeader(section)); }

  void Row(const std::string& row) {
    if (ok_) ok_ = put_.WriteRow(row);
  }

  // Visits every record of `table` in key order.
  static void ForEach(tbClass* table, const std::function<void(tbClass&)>& visit) {
    if (table == nullptr) return;
    for (int n = 1; n <= table->Count(); ++n) {
      table->GoTo(n);
      if (table->Status() != kStatusOk) break;
      visit(*table);
    }
  }

  // The marking of a node (node × 256) or a branch; empty when it has none.
  std::string Marking(std::int32_t code) {
    tbClass* markings = model_.Markings();
    if (!modelClass::SeekExact(markings, code)) return {};
    return MarkingRec(markings->Record()).Text();
  }

  std::string VoltageText(int index) { return FormL(voltages_, index); }

  void WriteRooms() {
    Begin(kSectionRoom, "Room");
    ForEach(model_.Rooms(), [this](tbClass& rooms) {
      const RoomRec room(rooms.Record());
      Row(BareText(room.Descript()) + FormN(rooms.Key()) + FormT(room.Name()) + FormN(room.Xmin()) +
          FormN(room.Ymin()) + FormN(room.Zmin()) + FormN(room.DX()) + FormN(room.DY()) +
          FormN(room.DZ()) + FormN(room.Angle()) + FormN(room.Tv()) + FormN(room.Qtv()) +
          FormN(room.Color()));
    });
  }

  // The branch's switching state as the tail of a source or receiver row:
  // K(key) and N(Status), or nothing when the branch is missing.
  std::string BranchTail(std::int32_t key) {
    if (key <= 0 || !modelClass::SeekExact(model_.Branches(), key)) return {};
    return FormK(key) + FormN(BranchRec(model_.Branches()->Record()).Status());
  }

  void WriteConsumers() {
    Begin(kSectionConsumer, "Consumer");
    tbClass* groups = model_.Groups();
    tbClass* receivers = model_.Receivers();
    std::vector<std::int32_t> groupKeys;
    std::vector<std::int32_t> receiverKeys;
    ForEach(groups, [&groupKeys](tbClass& table) { groupKeys.push_back(table.Key()); });
    ForEach(receivers, [&receiverKeys](tbClass& table) { receiverKeys.push_back(table.Key()); });
    std::size_t next = 0;  // both lists run in key order
    for (const std::int32_t group : groupKeys) {
      // A group number no receiver key can hold is damage, not a group.
      if (group < 1 || group > kMaxGroupNumber) continue;
      if (!modelClass::SeekExact(groups, group)) continue;
      const GroupRec data(groups->Record());
      const std::string groupData =
          FormT(data.Name()) + FormT(data.Type()) + FormN(data.KeyType()) + FormN(data.KeyMech()) +
          FormN(data.Unom()) + FormN(data.Nphase()) + FormL(kExchangeRegimeList, data.Regim()) +
          FormL(kExchangeKindList, data.Class()) + FormN(data.P()) + FormN(data.Q()) +
          FormN(data.Istart()) + FormN(data.CosFstart()) + FormN(data.Tstart()) + FormN(data.Kv()) +
          FormN(data.Kz()) + FormN(data.Kpv()) + FormN(data.Tc());

      // The group is named by the designation of its first receiver.
      std::string groupName;
      bool first = true;
      while (next < receiverKeys.size() && receiverKeys[next] < ReceiverKey(group, 1)) ++next;
      for (; next < receiverKeys.size() &&
             receiverKeys[next] <= ReceiverKey(group, kMaxReceiverInGroup);
           ++next) {
        const std::int32_t key = receiverKeys[next];
        if (!modelClass::SeekExact(receivers, key)) continue;
        const ReceiverRec receiver(receivers->Record());
        if (first) {
          groupName = receiver.Marking();
          first = false;
        }
        Row(BareText(receiver.Marking()) + FormT(groupName) + FormK10(key) +
            FormN(receiver.SourceNumber()) + FormN(receiver.Room()) + FormN(receiver.X()) +
            FormN(receiver.Y()) + FormN(receiver.Z()) +
            FormL(kPhaseConnectionList, receiver.PhaseIndex()) +
            FormYN(receiver.SwitchedOn() != 0) + groupData + BranchTail(receiver.BranchKey()));
      }
    }
  }

  void WriteSources() {
    Begin(kSectionPowerSupply, "PowerSupply");
    tbClass* objects = model_.OpenObjectTable(kKindPowerSource);
    ForEach(model_.Sources(), [this, objects](tbClass& sources) {
      const SourceRec source(sources.Record());
      const double p = source.DesignP();
      const double q = source.DesignQ();
      std::string row = BareText(source.Marking()) + FormN(sources.Key()) +
                        VoltageText(source.VoltageIndex()) + FormN(p) + FormN(q) +
                        FormN(std::sqrt(p * p + q * q)) + FormN(source.Colour());
      const std::string tail = BranchTail(source.BranchKey());
      if (!tail.empty()) {
        const bool found = modelClass::SeekExact(objects, source.BranchKey());
        const SourceObjectRec object(found ? objects->Record() : Bytes());
        row += tail + FormN(object.Ur()) + FormN(object.Ik3()) + FormN(object.Ik1()) +
               FormN(object.Ta());
      }
      Row(row);
    });
  }

  void WriteNodes() {
    Begin(kSectionNode, "Node");
    ForEach(model_.Nodes(), [this](tbClass& nodes) {
      const int n = nodes.Key();
      const NodeRec node(nodes.Record());
      Row(BareText(Marking(NodeMarkingCode(n))) + FormN(n) + FormN(node.CodRoom()) +
          FormN(node.X()) + FormN(node.Y()) + FormN(node.Z()) + "#" +
          FormatNumber(model_.Settings().NominalVoltage(node.Unom())) + FormN(node.Ko()) +
          FormN(node.KeyName()));
    });
  }

  // The values of an object from position 5 on.
  static std::string ObjectValues(int kind, Bytes record) {
    switch (kind) {
      case kKindAbstractBranch: {
        const AbstractBranchRec o(record);
        return FormT(o.Type()) + FormN(o.R1()) + FormN(o.X1()) + FormN(o.R0()) + FormN(o.X0());
      }
      case kKindCableLine: {
        const CableLineRec o(record);
        return FormI(o.Type()) + FormN(o.Nk()) + FormI(o.Type2()) + FormN(o.Nk2()) + FormN(o.L()) +
               FormN(o.Kpr()) + FormL(kLayingList, o.Codepr()) + FormN(o.Kdk());
      }
      case kKindWiring: {
        const WiringRec o(record);
        return FormI(o.Type()) + FormI(o.TypeN()) + FormN(o.Ncond()) + FormN(o.L()) +
               FormN(o.Kpr()) + FormL(kWiringLayingList, o.Cabining()) + FormN(o.Kdp());
      }
      case kKindOverheadLine: {
        const OverheadLineRec o(record);
        return FormI(o.Type()) + FormI(o.TypeN()) + FormN(o.L()) + FormN(o.Dsg()) +
               FormN(o.Rzaz()) + FormN(o.Nzaz());
      }
      case kKindTrunkingK: {
        const TrunkingRec o(record);
        return FormI(o.Type()) + FormN(o.L()) + FormN(o.N());
      }
      case kKindTrunkingN:
        return FormN(BusbarTrunkingRec(record).L());
      case kKindFuse: {
        const FuseRec o(record);
        return FormI(o.Type()) + FormN(o.Inom()) + FormN(o.Ipv());
      }
      case kKindBreaker: {
        const BreakerRec o(record);
        return FormI(o.Type()) + FormN(o.Ir());
      }
      case kKindTransformer: {
        const TransformerRec o(record);
        return FormI(o.Type()) + FormN(o.Uv()) + FormN(o.Un()) + FormN(o.Pk()) + FormN(o.Uk()) +
               FormN(o.Ph()) + FormN(o.Ih()) + FormN(o.Nreg());
      }
      case kKindCapacitorBank: {
        const CapacitorBankRec o(record);
        return FormI(o.Type()) + FormN(o.Nbk()) + FormL(kPhaseConnectionList, o.PhaseIndex());
      }
      case kKindSockets: {
        const SocketsRec o(record);
        return FormN(o.N3()) + FormN(o.Na()) + FormN(o.Nb()) + FormN(o.Nc());
      }
      case kKindStarter:
        return FormI(StarterRec(record).Type());
      default:  // switches, stabilisers, reactors, current transformers
        return FormI(TypeOnlyRec(record).Type());
    }
  }

  void WriteObjects(const ObjectSection& section) {
    tbClass* objects = model_.OpenObjectTable(section.kind);
    if (objects == nullptr || objects->Count() == 0) return;
    Begin(section.section, section.name);
    tbClass* branches = model_.Branches();
    ForEach(objects, [&](tbClass& table) {
      const std::int32_t key = table.Key();
      // An object whose branch is gone, or carries another kind, is a leftover
      // of a deletion (kept for an undo); its row would be wrong or
      // would retype the branch on import.
      if (!modelClass::SeekExact(branches, key)) return;
      const BranchRec branch(branches->Record());
      if (branch.Kind() != section.kind) return;
      const std::string common = BareText(Marking(key)) + FormK(key) + FormK(branch.KeyEnd()) +
                                 FormN(branch.Phase()) + FormN(branch.Status());
      Row(common + ObjectValues(section.kind, table.Record()));
    });
  }

  void WriteNodePositions() {
    Begin(kSectionXYNode, "XYNode");
    ForEach(model_.OpenSchemeTable(kXYNodeTable), [this](tbClass& table) {
      const int n = table.Key();
      const XYNodeRec xy(table.Record());
      Row(BareText(Marking(NodeMarkingCode(n))) + FormN(n) + FormYN(xy.Vertical() != 0) +
          FormN(xy.X()) + FormN(xy.Y()) + FormN(xy.L()) + FormN(xy.TextDir()) +
          FormN(xy.TextPos()) + FormN(xy.Page()));
    });
  }

  void WriteBranchDrawings() {
    Begin(kSectionXYBranch, "XYBranch");
    ForEach(model_.OpenSchemeTable(kXYBranchTable), [this](tbClass& table) {
      const std::int32_t key = table.Key();
      const XYBranchRec xy(table.Record());
      // A damaged count is cut to the path the record holds.
      const int segments = std::min<int>(xy.Nxy(), XYBranchRec::kMaxSegments);
      std::string row = BareText(Marking(key)) + FormK(key) +
                        FormT(SectionNameOfKind(xy.ObjType())) + FormYN(xy.Vertical() != 0) +
                        FormN(xy.ObjMirror()) + FormN(xy.ObjPos()) + FormN(xy.TextPos()) +
                        FormN(xy.TextDX()) + FormN(xy.TextDY()) + FormN(xy.TextDir()) +
                        FormN(xy.Page()) + FormN(segments);
      for (int i = 0; i < segments + 2; ++i) row += FormN(xy.Xy(i));
      Row(row);
    });
  }

  void WritePages() {
    Begin(kSectionXYPage, "XYPage");
    ForEach(model_.OpenSchemeTable(kXYPageTable), [this](tbClass& table) {
      const XYPageRec page(table.Record());
      Row(FormatNumber(table.Key()) + FormT(page.Name()) + FormN(page.X0()) + FormN(page.Y0()) +
          FormN(page.St()) + FormN(page.Scale()));
    });
  }

  void WriteNames() {
    Begin(kSectionName, "Name");
    ForEach(model_.Names(), [this](tbClass& names) {
      Row(FormatNumber(names.Key()) + FormT(NameRec(names.Record()).Text()));
    });
  }

  modelClass& model_;
  PutClass& put_;
  std::string voltages_ = VoltageList(model_.Settings());
  bool ok_ = true;
};

}  // namespace

bool WriteModel(modelClass& model, PutClass& put) {
  if (!model.Usable() || !put.IsOpen()) return false;
  return ModelWriter(model, put).Write();
}

bool ExportModel(modelClass& model, UiHost& ui, const CsvOptions& options) {
  if (!model.Usable()) return false;
  PutClass put(ui, model.Files(), options);
  if (!put.Open("Экспорт модели", model.FileName())) return false;
  const bool written = WriteModel(model, put);
  const bool closed = put.Close();
  if (!written || !closed) return false;
  ui.ShowInfo("Экспорт", "Вывод модели выполнен");
  return true;
}

}  // namespace kordavelt
